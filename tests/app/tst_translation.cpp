// The French user interface: the translation source is complete and well formed, the
// compiled file that the installation ships says the same, the main window, the dialogs,
// the document tree and every viewer of the shipped documents speak French with it, and
// the real program picks its language from the locale it is started in.

#include "app/qamainwindoweditor.h"
#include "app/qanewvmrdlg.h"
#include "app/qavmraboutdialog.h"
#include "app/qavmrerrordialog.h"
#include "app/qavmrprefdialog.h"
#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"
#include "support/qaedition.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrfinddialog.h"
#include "viewers/qavmrtextedit.h"
#include "viewers/qavmrviewer.h"

#include "testutil.h"

#include <QAbstractButton>
#include <QAction>
#include <QDirIterator>
#include <QDomDocument>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QTabWidget>
#include <QTranslator>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct Message
{
    QString context, source, comment, translation, type;
    qint64 line = 0;

    QString where() const
    {
        return QStringLiteral("line %1 [%2] \"%3\"").arg(line).arg(context, source);
    }
};

struct TsFile
{
    QString language;
    QList<Message> messages;
    QString error;
};

TsFile readTs(const QString &path)
{
    TsFile ts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ts.error = path + QStringLiteral(": ") + file.errorString();
        return ts;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QStringView name = xml.name();
        if (name == QLatin1String("TS")) {
            ts.language = xml.attributes().value(QLatin1String("language")).toString();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            current = Message();
            current.context = context;
            current.line = xml.lineNumber();
        } else if (name == QLatin1String("source")) {
            current.source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name == QLatin1String("comment")) {
            current.comment = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name == QLatin1String("translation")) {
            current.type = xml.attributes().value(QLatin1String("type")).toString();
            current.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            ts.messages.append(current);
        }
    }
    if (xml.hasError())
        ts.error =
            QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
    return ts;
}

QString key(const QString &context, const QString &source, const QString &comment = QString())
{
    return context + QChar(0x1f) + source + QChar(0x1f) + comment;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%L?\\d+"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();) found << it.next().captured();
    std::sort(found.begin(), found.end());
    return found;
}

QStringList htmlTags(const QString &text)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]+>"));
    QStringList found;
    for (auto it = tag.globalMatch(text); it.hasNext();) found << it.next().captured();
    return found;
}

// Menu texts: "&x" marks the accelerator x, "&&" stands for a plain ampersand.
struct Ampersands
{
    QList<QChar> accelerators;
    int literal = 0;
};

Ampersands ampersands(const QString &text)
{
    Ampersands found;
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&')) continue;
        const QChar next = text.at(i + 1);
        if (next == QLatin1Char('&')) {
            ++found.literal;
            ++i;
        } else if (next.isLetterOrNumber()) {
            found.accelerators << next.toLower();
        }
    }
    return found;
}

QString blanks(const QString &text, bool leading)
{
    static const QRegularExpression lead(u"^\\s*"_s), trail(u"\\s*$"_s);
    return (leading ? lead : trail).match(text).captured();
}

QString lupdateProgram()
{
    const QString fromEnv = QString::fromLocal8Bit(qgetenv("LUPDATE"));
    if (!fromEnv.isEmpty()) return fromEnv;
    for (QLibraryInfo::LibraryPath where :
         {QLibraryInfo::BinariesPath, QLibraryInfo::LibraryExecutablesPath}) {
        const QString candidate = QLibraryInfo::path(where) + QStringLiteral("/lupdate");
        if (QFileInfo(candidate).isExecutable()) return candidate;
    }
    return QStandardPaths::findExecutable(QStringLiteral("lupdate"));
}

QStringList shippedDocuments()
{
    QStringList documents;
    for (const QString &dir :
         {QStringLiteral("/targets/xml"), QStringLiteral("/targets/examples")}) {
        QDirIterator it(VmrTest::sourceDir() + dir, {QStringLiteral("*.xvm")}, QDir::Files);
        while (it.hasNext()) documents << it.next();
    }
    documents.sort();
    return documents;
}

QList<QTreeWidgetItem *> allItems(QTreeWidget *tree)
{
    QList<QTreeWidgetItem *> items;
    QList<QTreeWidgetItem *> pending;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) pending << tree->topLevelItem(i);
    while (!pending.isEmpty()) {
        QTreeWidgetItem *item = pending.takeFirst();
        items << item;
        for (int i = 0; i < item->childCount(); ++i) pending << item->child(i);
    }
    return items;
}

}  // namespace

class TstTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void everyMessageIsTranslatedFaithfully();
    void everySourceTextIsInTheFile();
    void everyDocumentLabelIsInTheFile();

    void mainWindowSpeaksFrench();
    void openDocumentSpeaksFrench();
    void dialogsSpeakFrench();
    void documentTreeAndViewersSpeakFrench_data();
    void documentTreeAndViewersSpeakFrench();

    void programFollowsTheLocale_data();
    void programFollowsTheLocale();
    void programStartsQuietlyInAnyLocale_data();
    void programStartsQuietlyInAnyLocale();

private:
    /** Texts of the widget and its children that are still the English of a message. */
    QStringList englishLeftovers(QWidget *root) const;
    QProcessEnvironment programEnvironment(const QString &locale, const QString &orbiskDir) const;

    std::unique_ptr<QTemporaryDir> m_home;
    QString m_tsPath;
    TsFile m_ts;
    QHash<QString, Message> m_byKey;
    /** English texts that the French file changes, with the contexts they come from. */
    QHash<QString, QString> m_englishOnly;
    std::unique_ptr<QTranslator> m_translator;
};

void TstTranslation::initTestCase()
{
    m_home = VmrTest::privateHome();
    m_tsPath = VmrTest::sourceDir() + QStringLiteral("/translations/vmreditor_fr.ts");
    m_ts = readTs(m_tsPath);
    QVERIFY2(m_ts.error.isEmpty(), qPrintable(m_ts.error));
    QVERIFY(m_ts.messages.size() > 100);

    QSet<QString> frenchTexts;
    for (const Message &m : std::as_const(m_ts.messages)) {
        m_byKey.insert(key(m.context, m.source, m.comment), m);
        frenchTexts.insert(m.translation);
    }
    for (const Message &m : std::as_const(m_ts.messages)) {
        // A word that is English in one place and French in another ("Date") is no sign.
        if (m.translation != m.source && !frenchTexts.contains(m.source))
            m_englishOnly.insert(m.source, m.context);
    }

    m_translator = std::make_unique<QTranslator>();
    const QString qm = VmrTest::orbiskDir() + QStringLiteral("/lib/locale/vmreditor_fr.qm");
    QVERIFY2(m_translator->load(qm), qPrintable(qm));
    QVERIFY(QCoreApplication::installTranslator(m_translator.get()));
}

void TstTranslation::cleanupTestCase()
{
    QCoreApplication::removeTranslator(m_translator.get());
}

// The source file is complete and faithful, and the installation's compiled file, which
// is what the program reads, says the same.
void TstTranslation::everyMessageIsTranslatedFaithfully()
{
    QCOMPARE(m_ts.language, u"fr_FR"_s);
    QStringList faults;
    QSet<QString> seen;
    for (const Message &m : std::as_const(m_ts.messages)) {
        auto fault = [&](const QString &what) { faults << m.where() + u": "_s + what; };
        if (!m.type.isEmpty()) fault(m.type);
        if (m.translation.trimmed().isEmpty()) fault(u"no translation"_s);
        const QString k = key(m.context, m.source, m.comment);
        if (seen.contains(k)) fault(u"appears twice"_s);
        seen.insert(k);
        if (placeholders(m.source) != placeholders(m.translation))
            fault(u"placeholders "_s + placeholders(m.translation).join(u','));
        if (m.source.count(u'\n') != m.translation.count(u'\n')) fault(u"line breaks differ"_s);
        // The program glues these texts to names: "Exit " + title, name + "\nalready...".
        if (!blanks(m.translation, true).startsWith(blanks(m.source, true)))
            fault(u"leading blank lost"_s);
        if (!blanks(m.translation, false).endsWith(blanks(m.source, false)))
            fault(u"trailing blank lost"_s);
        const Ampersands english = ampersands(m.source), translated = ampersands(m.translation);
        if (english.accelerators.size() != translated.accelerators.size())
            fault(u"accelerator lost or doubled"_s);
        if (english.literal != translated.literal) fault(u"\"&&\" lost or added"_s);
        if (htmlTags(m.source) != htmlTags(m.translation)) fault(u"markup differs"_s);
        const QByteArray context = m.context.toUtf8(), source = m.source.toUtf8(),
                         comment = m.comment.toUtf8();
        const QString shown =
            QCoreApplication::translate(context.constData(), source.constData(),
                                        m.comment.isEmpty() ? nullptr : comment.constData());
        if (shown != m.translation) fault(u"compiled file shows \""_s + shown + u'"');
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

void TstTranslation::everySourceTextIsInTheFile()
{
    const QString lupdate = lupdateProgram();
    if (lupdate.isEmpty()) QSKIP("lupdate is not installed");
    QTemporaryDir scratch;
    const QString fresh = scratch.filePath(QStringLiteral("fresh.ts"));
    const QString source = VmrTest::sourceDir();
    QProcess run;
    run.start(lupdate, {QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                        QStringLiteral("none"), QStringLiteral("-I"), source,
                        source + QStringLiteral("/app"), source + QStringLiteral("/support"),
                        source + QStringLiteral("/document"), source + QStringLiteral("/viewers"),
                        QStringLiteral("-ts"), fresh});
    QVERIFY(run.waitForFinished(120000));
    QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());

    const TsFile extracted = readTs(fresh);
    QVERIFY2(extracted.error.isEmpty(), qPrintable(extracted.error));
    QVERIFY(extracted.messages.size() > 100);
    QStringList missing;
    for (const Message &m : extracted.messages) {
        if (!m_byKey.contains(key(m.context, m.source, m.comment)))
            missing << QStringLiteral("[%1] \"%2\"").arg(m.context, m.source);
    }
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("not in translations/vmreditor_fr.ts (run "
                                       "tools/update-translations and translate them):\n") +
                        missing.join(QLatin1Char('\n'))));
}

void TstTranslation::everyDocumentLabelIsInTheFile()
{
    // The contexts in which the editor translates what the documents carry: every label,
    // and the names of the fields.
    const QHash<QString, QString> nameContexts = {
        {u"TEXT_MACRO"_s, u"QATextMacro"_s},         {u"TYPEADA"_s, u"QATextMacro"_s},
        {u"CONSTANTADA"_s, u"QATextMacro"_s},        {u"CONSTANTSTRINGADA"_s, u"QATextMacro"_s},
        {u"BINARY_MACRO"_s, u"QABinaryMacro"_s},     {u"RENAMEADA"_s, u"QABinaryMacro"_s},
        {u"OPTIONAL_MACRO"_s, u"QAOptionnalMacro"_s}};
    const QStringList documents = shippedDocuments();
    QVERIFY(documents.size() >= 4);
    QStringList missing;
    int labels = 0;
    for (const QString &path : documents) {
        QFile file(path);
        QDomDocument document;
        QVERIFY2(file.open(QIODevice::ReadOnly) && document.setContent(&file), qPrintable(path));
        QList<QDomElement> pending{document.documentElement()};
        while (!pending.isEmpty()) {
            const QDomElement e = pending.takeFirst();
            for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
                pending << c;
            const QString label = e.attribute(u"Label"_s), name = e.attribute(u"Name"_s);
            const QString context = nameContexts.value(e.tagName());
            labels += !label.isEmpty();
            if (!label.isEmpty() && !m_byKey.contains(key(u"XVM Labels"_s, label)))
                missing << QFileInfo(path).fileName() + u": label \""_s + label + u'"';
            if (!context.isEmpty() && !name.isEmpty() && !m_byKey.contains(key(context, name)))
                missing << QFileInfo(path).fileName() + u": %1 \"%2\""_s.arg(context, name);
        }
    }
    QVERIFY(labels > 100);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));
}

QStringList TstTranslation::englishLeftovers(QWidget *root) const
{
    QStringList texts;
    auto collect = [&texts](QWidget *w) {
        texts << w->windowTitle() << w->toolTip();
        if (auto *label = qobject_cast<QLabel *>(w)) texts << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(w)) texts << button->text();
        if (auto *group = qobject_cast<QGroupBox *>(w)) texts << group->title();
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
        }
        if (auto *menu = qobject_cast<QMenu *>(w)) texts << menu->title();
        if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
            texts << tree->headerItem()->text(0);
            for (QTreeWidgetItem *item : allItems(tree)) texts << item->text(0);
        }
        for (QAction *action : w->actions())
            texts << action->text() << action->toolTip() << action->iconText();
    };
    collect(root);
    for (QWidget *child : root->findChildren<QWidget *>()) collect(child);
    for (QAction *action : root->findChildren<QAction *>())
        texts << action->text() << action->toolTip();

    QStringList leftovers;
    for (const QString &text : std::as_const(texts)) {
        if (m_englishOnly.contains(text) && !leftovers.contains(text))
            leftovers << QStringLiteral("[%1] \"%2\"").arg(m_englishOnly.value(text), text);
    }
    return leftovers;
}

#define VERIFY_FRENCH(widget)                                             \
    do {                                                                  \
        const QStringList leftovers = englishLeftovers(widget);           \
        QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(u'\n'))); \
    } while (false)

// The window, its menus with unique accelerators, and the document tree's context menus.
void TstTranslation::mainWindowSpeaksFrench()
{
    QByteArray program = VmrTest::program().toLocal8Bit();
    char *argv[] = {program.data(), nullptr};
    QAMainWindowEditor window(1, argv);

    QStringList titles;
    for (QAction *entry : window.menuBar()->actions())
        if (entry->menu()) titles << entry->menu()->title();
    QCOMPARE(titles, (QStringList{u"&Fichier"_s, u"É&dition"_s, u"&Aide"_s}));
    VERIFY_FRENCH(&window);
    VERIFY_FRENCH(window.preferencesDialog());

    // Texts that the program completes with the application's or product's name.
    QAction *exit = window.findChild<QAction *>(u"fileExitAction"_s);
    QAction *about = window.findChild<QAction *>(u"helpAboutAction"_s);
    QVERIFY(exit && about);
    QCOMPARE(exit->toolTip(), u"Quitter "_s + QAEdition::applicationTitle());
    QCOMPARE(about->text(), u"À &propos de "_s + QAEdition::applicationTitle() + u"..."_s);
    auto *web = window.findChild<QMenu *>(u"web menu"_s);
    QVERIFY(web);
    QCOMPARE(web->title(), QAEdition::productName() + u" sur le Web"_s);

    // Each menu with its submenus, the menu bar included.
    QStringList faults;
    std::function<void(const QString &, const QList<QAction *> &)> check =
        [&](const QString &where, const QList<QAction *> &actions) {
            QHash<QChar, QString> taken;
            for (QAction *a : actions) {
                const QString text = a->menu() ? a->menu()->title() : a->text();
                const QList<QChar> keys = ampersands(text).accelerators;
                if (keys.size() > 1) faults << where + u": \""_s + text + u"\" has two"_s;
                for (QChar k : keys) {
                    if (taken.contains(k))
                        faults << u"%1: \"%2\" and \"%3\" share &%4"_s.arg(where, text, taken[k],
                                                                           k);
                    taken.insert(k, text);
                }
                if (a->menu()) check(where + u" > "_s + a->menu()->title(), a->menu()->actions());
            }
        };
    check(u"menu bar"_s, window.menuBar()->actions());

    // The context menus of the document tree: the root, the build section and a file in it.
    QAVmrEditor editor(VmrTest::orbiskDir() + u"/targets"_s);
    QDomElement root = editor.getRootElement(VmrTest::templatePath(u"templatec.xvm"_s));
    QVERIFY(!root.isNull());
    QDomElement file = root.ownerDocument().createElement(u"NEWCMDFILE"_s);
    file.setAttribute(u"Name"_s, u"notes.txt"_s);
    root.firstChildElement(u"BUILD"_s).appendChild(file);
    QVERIFY(editor.buildTree(root));
    QSet<QString> checked;
    for (QTreeWidgetItem *item : allItems(editor.tree())) {
        auto *node = dynamic_cast<QAVmrEditorNode *>(item);
        const QString tag = node ? node->data().tagName() : QString();
        if (tag != u"BUILD"_s && tag != u"NEWCMDFILE"_s && tag != u"VMR"_s) continue;
        std::unique_ptr<QMenu> menu(node->createPopupMenu());
        QVERIFY2(menu, qPrintable(tag));
        checked << tag;
        VERIFY_FRENCH(menu.get());
        check(tag, menu->actions());
    }
    QCOMPARE(checked, (QSet<QString>{u"BUILD"_s, u"NEWCMDFILE"_s, u"VMR"_s}));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

void TstTranslation::openDocumentSpeaksFrench()
{
    // A read-only port opened from the command line, as a user starts the editor on one.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"port.xvm"_s);
    QVERIFY(QFile::copy(VmrTest::templatePath(u"templatec.xvm"_s), path));
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    QByteArray program = VmrTest::program().toLocal8Bit(), document = path.toLocal8Bit();
    char *argv[] = {program.data(), document.data(), nullptr};
    QAMainWindowEditor window(2, argv);
    QCOMPARE(window.currentDocumentPath(), path);
    QCOMPARE(window.windowTitle(),
             u"port.xvm (Lecture seule) - "_s + QAEdition::applicationTitle());
    // The start-up load is reported before the status bar is set up; a later one shows.
    window.load(path, false);
    QCOMPARE(window.statusBar()->currentMessage(), u"Fichier chargé."_s);

    // Closing a changed document asks in French; Cancel keeps the window open.
    window.show();
    window.editor()->setModified(true);
    QString question;
    VmrTest::answerMessageBox(QMessageBox::Cancel, &question);
    QVERIFY(!window.close());
    QCOMPARE(question, u"Enregistrer les modifications de port.xvm?"_s);
    window.editor()->setModified(false);
}

void TstTranslation::dialogsSpeakFrench()
{
    QANewVmrDlg newDialog;
    VERIFY_FRENCH(&newDialog);
    QAvmrFindDialog find;
    VERIFY_FRENCH(&find);
    QAVmrAboutDialog about(VmrTest::program());
    QCOMPARE(about.windowTitle(), u"À propos de "_s + QAEdition::applicationTitle());
    VERIFY_FRENCH(&about);
    // The script's own words stay as they are.
    QAVmrErrorDialog error(u"vmrgen.pl: no port"_s);
    QCOMPARE(error.windowTitle(), u"Erreur "_s + QAEdition::applicationTitle());
    QCOMPARE(error.message(), u"vmrgen.pl: no port"_s);
    VERIFY_FRENCH(&error);

    // The editor's own entries of the text and documentation context menus; the
    // standard editing entries beside them belong to the toolkit.
    QAVmrTextEdit text;
    QAVmrDocBrowser browser;
    std::unique_ptr<QMenu> textMenu(text.createPopupMenu(QPoint()));
    std::unique_ptr<QMenu> browserMenu(browser.createPopupMenu(QPoint()));
    QVERIFY(textMenu && browserMenu);
    auto entries = [](QMenu *menu) {
        QStringList texts;
        for (QAction *a : menu->actions()) texts << a->text().section(u'\t', 0, 0);
        return texts;
    };
    const QString findNext = u"Rechercher l'occurrence suivante"_s;
    QVERIFY2(entries(textMenu.get()).contains(findNext) &&
                 entries(textMenu.get()).contains(u"Aller à la ligne"_s),
             qPrintable(entries(textMenu.get()).join(u'|')));
    QVERIFY2(entries(browserMenu.get()).contains(findNext),
             qPrintable(entries(browserMenu.get()).join(u'|')));
}

void TstTranslation::documentTreeAndViewersSpeakFrench_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &path : shippedDocuments())
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void TstTranslation::documentTreeAndViewersSpeakFrench()
{
    QFETCH(QString, path);
    QAVmrEditor editor(VmrTest::orbiskDir() + u"/targets"_s);
    editor.resize(1000, 700);
    QDomElement root = editor.getRootElement(path);
    QVERIFY2(!root.isNull(), qPrintable(editor.lastError()));
    QVERIFY(editor.buildTree(root));
    auto label = [this](const QString &english) {
        return m_byKey.value(key(u"XVM Labels"_s, english)).translation;
    };

    // Every node shows its label in French, and most labels do change.
    QStringList faults;
    int labelled = 0, changed = 0;
    const QList<QTreeWidgetItem *> items = allItems(editor.tree());
    for (QTreeWidgetItem *item : items) {
        auto *node = dynamic_cast<QAVmrEditorNode *>(item);
        QVERIFY(node);
        const QString english = node->data().attribute(u"Label"_s);
        if (english.isEmpty()) continue;
        ++labelled;
        changed += label(english) != english;
        if (item->text(0) != label(english))
            faults << u"\"%1\" shows \"%2\""_s.arg(english, item->text(0));
    }
    QVERIFY(labelled > 10 && changed > labelled / 2);

    // The root's comment page names its subject in French.
    editor.tree()->setCurrentItem(editor.tree()->topLevelItem(0));
    QVERIFY(editor.viewer());
    QStringList rootTitles;
    for (QLabel *l : editor.viewer()->findChildren<QLabel *>()) rootTitles << l->text();
    QVERIFY2(rootTitles.contains(u"Commentaire pour le nœud racine"_s),
             qPrintable(rootTitles.join(u'|')));

    // Every page of the document, with the tabs of its choices and the captions of its
    // fields: nothing that the French file translates may still show in English.
    int tabbed = 0;
    for (QTreeWidgetItem *item : items) {
        editor.tree()->setCurrentItem(item);
        QAVmrViewer *viewer = editor.viewer();
        if (!viewer) continue;
        for (const QString &text : englishLeftovers(viewer))
            faults << item->text(0) + u": "_s + text;
        auto *tabs = viewer->findChild<QTabWidget *>();
        const QDomElement choice =
            static_cast<QAVmrEditorNode *>(item)->data().firstChildElement(u"CHOICE"_s);
        QStringList expected, shown;
        for (QDomElement o = choice.firstChildElement(u"ONGLET"_s); !o.isNull();
             o = o.nextSiblingElement(u"ONGLET"_s))
            expected << label(o.attribute(u"Label"_s));
        for (int i = 0; tabs && i < tabs->count(); ++i) shown << tabs->tabText(i);
        if (expected.isEmpty() || !tabs) continue;
        ++tabbed;
        if (shown != expected) faults << item->text(0) + u": tabs "_s + shown.join(u'|');
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    if (QFileInfo(path).fileName() == u"templatec.xvm"_s) QVERIFY(tabbed > 0);
}

QProcessEnvironment TstTranslation::programEnvironment(const QString &locale,
                                                       const QString &orbiskDir) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A home of its own for each run: the user-library check must meet an empty one.
    const QString home = m_home->path() + u"/run-"_s + locale;
    QDir(home).removeRecursively();
    QDir().mkpath(home + u"/runtime"_s);
    QFile::setPermissions(home + u"/runtime"_s,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(u"HOME"_s, home);
    for (const QString &dir : {u"config"_s, u"data"_s, u"cache"_s})
        env.insert(u"XDG_"_s + dir.toUpper() + u"_HOME"_s, home + u'/' + dir);
    env.insert(u"XDG_RUNTIME_DIR"_s, home + u"/runtime"_s);
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"ORBISKDIR"_s, orbiskDir);
    env.insert(u"LANG"_s, locale);
    env.insert(u"LC_ALL"_s, locale);
    for (const QString &name : {u"LC_MESSAGES"_s, u"LANGUAGE"_s, u"VMREDITOR_AUTOQUIT_MS"_s})
        env.remove(name);
    return env;
}

void TstTranslation::programFollowsTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    const QString french = u"L'installation ne contient pas de répertoire"_s;
    const QString english = u"The installation has no directory"_s;
    QTest::newRow("fr_FR") << u"fr_FR.UTF-8"_s << french;
    QTest::newRow("fr_BE") << u"fr_BE.UTF-8"_s << french;
    QTest::newRow("de_DE") << u"de_DE.UTF-8"_s << english;
    QTest::newRow("C") << u"C.UTF-8"_s << english;
}

void TstTranslation::programFollowsTheLocale()
{
    // An installation without its templates makes the real program report, in the
    // user's language, on its standard error and in a warning box that waits for the
    // user; the report is all this run needs.
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QTemporaryDir install;
    QVERIFY(QDir().mkpath(install.filePath(u"lib/locale"_s)));
    QVERIFY(QFile::copy(VmrTest::orbiskDir() + u"/lib/locale/vmreditor_fr.qm"_s,
                        install.filePath(u"lib/locale/vmreditor_fr.qm"_s)));
    QProcess process;
    process.setProcessEnvironment(programEnvironment(locale, install.path()));
    process.setReadChannel(QProcess::StandardError);
    process.start(VmrTest::program(), QStringList());
    QVERIFY2(process.waitForStarted(30000), "VMREDITOR must name the built program");
    QByteArray err;
    while (!err.contains("targets") && process.state() == QProcess::Running &&
           process.waitForReadyRead(60000))
        err += process.readAllStandardError();
    err += process.readAllStandardError();
    if (process.state() == QProcess::Running) {
        process.kill();
        process.waitForFinished(10000);
    }
    const QString text = QString::fromLocal8Bit(err);
    QVERIFY2(text.contains(expected + u' ' + install.path()), qPrintable(text));
}

void TstTranslation::programStartsQuietlyInAnyLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("fr_FR") << u"fr_FR.UTF-8"_s;
    QTest::newRow("de_DE, no translation") << u"de_DE.UTF-8"_s;
}

void TstTranslation::programStartsQuietlyInAnyLocale()
{
    QFETCH(QString, locale);
    QProcessEnvironment env = programEnvironment(locale, VmrTest::orbiskDir());
    env.insert(u"VMREDITOR_AUTOQUIT_MS"_s, u"200"_s);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(VmrTest::program(), QStringList());
    QVERIFY2(process.waitForStarted(30000), "VMREDITOR must name the built program");
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(10000);
        QFAIL("the program did not close");
    }
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(err));
    // Only the headless platform's own remark may appear; the program says nothing.
    QStringList said = err.split(u'\n', Qt::SkipEmptyParts);
    said.removeIf([](const QString &line) {
        return line.trimmed().isEmpty() || line.startsWith(u"This plugin does not support"_s);
    });
    QVERIFY2(said.isEmpty(), qPrintable(said.join(u'\n')));
}

QTEST_MAIN(TstTranslation)
#include "tst_translation.moc"
