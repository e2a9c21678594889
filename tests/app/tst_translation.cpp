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
#include <QCheckBox>
#include <QDirIterator>
#include <QDomDocument>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTranslator>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

struct Message
{
    QString context;
    QString source;
    QString comment;
    QString translation;
    QString type;
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

QString leadingBlanks(const QString &text)
{
    int n = 0;
    while (n < text.size() && text.at(n).isSpace()) ++n;
    return text.left(n);
}

QString trailingBlanks(const QString &text)
{
    int n = 0;
    while (n < text.size() && text.at(text.size() - 1 - n).isSpace()) ++n;
    return text.right(n);
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

    void everyMessageIsTranslated();
    void translationsKeepPlaceholdersAndMarkup();
    void everySourceTextIsInTheFile();
    void everyDocumentLabelIsInTheFile();
    void compiledFileSaysWhatTheSourceSays();

    void mainWindowSpeaksFrench();
    void openDocumentSpeaksFrench();
    void menuAcceleratorsAreUnique();
    void dialogsSpeakFrench();
    void documentTreeAndViewersSpeakFrench_data();
    void documentTreeAndViewersSpeakFrench();

    void programFollowsTheLocale_data();
    void programFollowsTheLocale();
    void programStartsQuietlyInAnyLocale_data();
    void programStartsQuietlyInAnyLocale();

private:
    QString french(const char *context, const char *source) const;
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

QString TstTranslation::french(const char *context, const char *source) const
{
    return m_byKey.value(key(QLatin1String(context), QString::fromUtf8(source))).translation;
}

void TstTranslation::everyMessageIsTranslated()
{
    QCOMPARE(m_ts.language, QStringLiteral("fr_FR"));
    QStringList faults;
    QSet<QString> seen;
    for (const Message &m : std::as_const(m_ts.messages)) {
        if (!m.type.isEmpty()) faults << m.where() + QStringLiteral(" is ") + m.type;
        if (m.translation.trimmed().isEmpty())
            faults << m.where() + QStringLiteral(" has no translation");
        const QString k = key(m.context, m.source, m.comment);
        if (seen.contains(k)) faults << m.where() + QStringLiteral(" appears twice");
        seen.insert(k);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TstTranslation::translationsKeepPlaceholdersAndMarkup()
{
    QStringList faults;
    for (const Message &m : std::as_const(m_ts.messages)) {
        if (placeholders(m.source) != placeholders(m.translation))
            faults << m.where() + QStringLiteral(": placeholders ") +
                          placeholders(m.translation).join(QLatin1Char(','));
        if (m.source.count(QLatin1Char('\n')) != m.translation.count(QLatin1Char('\n')))
            faults << m.where() + QStringLiteral(": line breaks differ");
        // The program glues these texts to names: "Exit " + title, name + "\nalready...".
        if (!leadingBlanks(m.translation).startsWith(leadingBlanks(m.source)))
            faults << m.where() + QStringLiteral(": leading blank lost");
        if (!trailingBlanks(m.translation).endsWith(trailingBlanks(m.source)))
            faults << m.where() + QStringLiteral(": trailing blank lost");
        const Ampersands english = ampersands(m.source);
        const Ampersands translated = ampersands(m.translation);
        if (english.accelerators.size() != translated.accelerators.size())
            faults << m.where() + QStringLiteral(": accelerator lost or doubled");
        if (english.literal != translated.literal)
            faults << m.where() + QStringLiteral(": \"&&\" lost or added");
        if (htmlTags(m.source) != htmlTags(m.translation))
            faults << m.where() + QStringLiteral(": markup differs");
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
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
    // The contexts in which the editor translates what the documents carry.
    const QList<QPair<QString, QStringList>> macroContexts = {
        {QStringLiteral("QATextMacro"),
         {QStringLiteral("TEXT_MACRO"), QStringLiteral("TYPEADA"), QStringLiteral("CONSTANTADA"),
          QStringLiteral("CONSTANTSTRINGADA")}},
        {QStringLiteral("QABinaryMacro"),
         {QStringLiteral("BINARY_MACRO"), QStringLiteral("RENAMEADA")}},
        {QStringLiteral("QAOptionnalMacro"), {QStringLiteral("OPTIONAL_MACRO")}},
    };
    const QStringList documents = shippedDocuments();
    QVERIFY(documents.size() >= 4);
    QStringList missing;
    int labels = 0;
    for (const QString &path : documents) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        QDomDocument document;
        QVERIFY2(document.setContent(&file), qPrintable(path));
        QList<QDomElement> pending{document.documentElement()};
        while (!pending.isEmpty()) {
            const QDomElement e = pending.takeFirst();
            for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
                pending << c;
            const QString label = e.attribute(QStringLiteral("Label"));
            if (!label.isEmpty()) {
                ++labels;
                if (!m_byKey.contains(key(QStringLiteral("XVM Labels"), label)))
                    missing << QFileInfo(path).fileName() + QStringLiteral(": label \"") + label +
                                   QLatin1Char('"');
            }
            const QString name = e.attribute(QStringLiteral("Name"));
            for (const auto &context : macroContexts) {
                if (!name.isEmpty() && context.second.contains(e.tagName()) &&
                    !m_byKey.contains(key(context.first, name)))
                    missing << QFileInfo(path).fileName() + QStringLiteral(": ") + context.first +
                                   QStringLiteral(" \"") + name + QLatin1Char('"');
            }
        }
    }
    QVERIFY(labels > 100);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
}

void TstTranslation::compiledFileSaysWhatTheSourceSays()
{
    // The installation's file, not the source, is what the program reads.
    QStringList stale;
    for (const Message &m : std::as_const(m_ts.messages)) {
        const QByteArray context = m.context.toUtf8();
        const QByteArray source = m.source.toUtf8();
        const QByteArray comment = m.comment.toUtf8();
        const QString shown =
            QCoreApplication::translate(context.constData(), source.constData(),
                                        m.comment.isEmpty() ? nullptr : comment.constData());
        if (shown != m.translation)
            stale << m.where() + QStringLiteral(" shows \"") + shown + QLatin1Char('"');
    }
    QVERIFY2(stale.isEmpty(), qPrintable(stale.join(QLatin1Char('\n'))));
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

void TstTranslation::mainWindowSpeaksFrench()
{
    QByteArray program = VmrTest::program().toLocal8Bit();
    char *argv[] = {program.data(), nullptr};
    QAMainWindowEditor window(1, argv);

    QStringList titles;
    for (QAction *entry : window.menuBar()->actions()) {
        if (entry->menu()) titles << entry->menu()->title();
    }
    QCOMPARE(titles, (QStringList{QStringLiteral("&Fichier"), QStringLiteral("É&dition"),
                                  QStringLiteral("&Aide")}));

    auto action = [&window](const char *name) {
        return window.findChild<QAction *>(QLatin1String(name));
    };
    QVERIFY(action("fileNewAction") && action("fileExitAction") && action("helpAboutAction"));
    QCOMPARE(action("fileNewAction")->text(), french("QAMainWindowEditor", "&New"));
    QCOMPARE(action("fileNewAction")->toolTip(), QStringLiteral("Créer un nouveau fichier"));
    QCOMPARE(action("fileSaveAction")->text(), QStringLiteral("&Enregistrer && générer"));
    QCOMPARE(action("editCopyAction")->text(), QStringLiteral("&Copier"));
    // Texts that the program completes with the application title.
    QCOMPARE(action("fileExitAction")->toolTip(),
             QStringLiteral("Quitter ") + QAEdition::applicationTitle());
    QCOMPARE(
        action("helpAboutAction")->text(),
        QStringLiteral("À &propos de ") + QAEdition::applicationTitle() + QStringLiteral("..."));
    auto *web = window.findChild<QMenu *>(QStringLiteral("web menu"));
    QVERIFY(web);
    QCOMPARE(web->title(), QAEdition::productName() + QStringLiteral(" sur le Web"));

    QStringList toolBars;
    for (QToolBar *bar : window.findChildren<QToolBar *>()) toolBars << bar->windowTitle();
    toolBars.sort();
    QCOMPARE(toolBars, (QStringList{QStringLiteral("Outils"), QStringLiteral("Rechercher")}));

    QStringList statusLabels;
    for (QLabel *label : window.statusBar()->findChildren<QLabel *>())
        statusLabels << label->text();
    QVERIFY2(statusLabels.contains(QStringLiteral("Prêt")),
             qPrintable(statusLabels.join(QLatin1Char(','))));

    const QStringList leftovers = englishLeftovers(&window);
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(QLatin1Char('\n'))));

    QAvmrPrefDialog *preferences = window.preferencesDialog();
    QVERIFY(preferences);
    QCOMPARE(preferences->windowTitle(), QStringLiteral("Préférences"));
    const QStringList prefLeftovers = englishLeftovers(preferences);
    QVERIFY2(prefLeftovers.isEmpty(), qPrintable(prefLeftovers.join(QLatin1Char('\n'))));
}

void TstTranslation::openDocumentSpeaksFrench()
{
    // A read-only port opened from the command line, as a user starts the editor on one.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("port.xvm"));
    QVERIFY(QFile::copy(VmrTest::templatePath(QStringLiteral("templatec.xvm")), path));
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    QByteArray program = VmrTest::program().toLocal8Bit();
    QByteArray document = path.toLocal8Bit();
    char *argv[] = {program.data(), document.data(), nullptr};
    QAMainWindowEditor window(2, argv);
    QCOMPARE(window.currentDocumentPath(), path);
    QCOMPARE(window.windowTitle(),
             QStringLiteral("port.xvm (Lecture seule) - ") + QAEdition::applicationTitle());
    // The start-up load is reported before the status bar is set up; a later one shows.
    window.load(path, false);
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Fichier chargé."));

    // Closing a changed document asks in French; Cancel keeps the window open.
    window.show();
    window.editor()->setModified(true);
    QString question;
    VmrTest::answerMessageBox(QMessageBox::Cancel, &question);
    QVERIFY(!window.close());
    QCOMPARE(question, QStringLiteral("Enregistrer les modifications de port.xvm?"));
    window.editor()->setModified(false);
}

void TstTranslation::menuAcceleratorsAreUnique()
{
    QByteArray program = VmrTest::program().toLocal8Bit();
    char *argv[] = {program.data(), nullptr};
    QAMainWindowEditor window(1, argv);

    auto clashes = [](const QString &where, const QList<QAction *> &actions) {
        QStringList faults;
        QHash<QChar, QString> taken;
        for (QAction *a : actions) {
            if (a->isSeparator()) continue;
            const QString text = a->menu() ? a->menu()->title() : a->text();
            const QList<QChar> keys = ampersands(text).accelerators;
            if (keys.size() > 1)
                faults << where + QStringLiteral(": \"") + text + QStringLiteral("\" has two");
            for (QChar k : keys) {
                if (taken.contains(k))
                    faults << where + QStringLiteral(": \"") + text + QStringLiteral("\" and \"") +
                                  taken.value(k) + QStringLiteral("\" share &") + k;
                taken.insert(k, text);
            }
        }
        return faults;
    };

    QStringList faults = clashes(QStringLiteral("menu bar"), window.menuBar()->actions());
    QList<QMenu *> menus;
    for (QAction *entry : window.menuBar()->actions()) {
        if (entry->menu()) menus << entry->menu();
    }
    QVERIFY(menus.size() >= 3);
    while (!menus.isEmpty()) {
        QMenu *menu = menus.takeFirst();
        faults << clashes(menu->title(), menu->actions());
        for (QAction *a : menu->actions()) {
            if (a->menu()) menus << a->menu();
        }
    }

    // The context menus of the document tree: the build section and a file in it.
    QAVmrEditor editor(VmrTest::orbiskDir() + QStringLiteral("/targets"));
    QDomElement root =
        editor.getRootElement(VmrTest::templatePath(QStringLiteral("templatec.xvm")));
    QVERIFY(!root.isNull());
    QDomElement file = root.ownerDocument().createElement(QStringLiteral("NEWCMDFILE"));
    file.setAttribute(QStringLiteral("Name"), QStringLiteral("notes.txt"));
    root.firstChildElement(QStringLiteral("BUILD")).appendChild(file);
    QVERIFY(editor.buildTree(root));
    QStringList checkedMenus;
    for (QTreeWidgetItem *item : allItems(editor.tree())) {
        auto *node = dynamic_cast<QAVmrEditorNode *>(item);
        if (!node) continue;
        const QString tag = node->data().tagName();
        if (tag != QLatin1String("BUILD") && tag != QLatin1String("NEWCMDFILE") &&
            tag != QLatin1String("VMR"))
            continue;
        std::unique_ptr<QMenu> menu(node->createPopupMenu());
        QVERIFY2(menu, qPrintable(tag));
        checkedMenus << tag;
        const QStringList leftovers = englishLeftovers(menu.get());
        QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(QLatin1Char('\n'))));
        faults << clashes(tag, menu->actions());
        for (QAction *a : menu->actions()) {
            if (a->menu())
                faults << clashes(tag + QStringLiteral(" submenu"), a->menu()->actions());
        }
    }
    checkedMenus.removeDuplicates();
    checkedMenus.sort();
    QCOMPARE(checkedMenus, (QStringList{QStringLiteral("BUILD"), QStringLiteral("NEWCMDFILE"),
                                        QStringLiteral("VMR")}));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TstTranslation::dialogsSpeakFrench()
{
    QANewVmrDlg newDialog;
    QCOMPARE(newDialog.windowTitle(), QStringLiteral("Choix du langage du Velmor"));
    QStringList leftovers = englishLeftovers(&newDialog);
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(QLatin1Char('\n'))));

    QAvmrFindDialog find;
    QCOMPARE(find.windowTitle(), QStringLiteral("Rechercher"));
    QCOMPARE(find.caseSensitiveBox()->text(), QStringLiteral("Respecter la &casse"));
    QCOMPARE(find.nextButton()->text(), QStringLiteral("Suivant"));
    leftovers = englishLeftovers(&find);
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(QLatin1Char('\n'))));

    // The editor's own entries of the text and documentation context menus; the
    // standard editing entries beside them belong to the toolkit.
    QAVmrTextEdit text;
    std::unique_ptr<QMenu> textMenu(text.createPopupMenu(QPoint()));
    QVERIFY(textMenu);
    QStringList entries;
    for (QAction *a : textMenu->actions()) entries << a->text();
    QVERIFY2(entries.contains(QStringLiteral("Rechercher l'occurrence suivante")) &&
                 entries.contains(QStringLiteral("Aller à la ligne")),
             qPrintable(entries.join(QLatin1Char('|'))));
    QAVmrDocBrowser browser;
    std::unique_ptr<QMenu> browserMenu(browser.createPopupMenu(QPoint()));
    QVERIFY(browserMenu);
    entries.clear();
    for (QAction *a : browserMenu->actions())
        entries << a->text().section(QLatin1Char('\t'), 0, 0);
    QVERIFY2(entries.contains(QStringLiteral("Rechercher l'occurrence suivante")),
             qPrintable(entries.join(QLatin1Char('|'))));

    QAVmrAboutDialog about(VmrTest::program());
    QCOMPARE(about.windowTitle(), QStringLiteral("À propos de ") + QAEdition::applicationTitle());
    leftovers = englishLeftovers(&about);
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(QLatin1Char('\n'))));

    QAVmrErrorDialog error(QStringLiteral("vmrgen.pl: no port"));
    QCOMPARE(error.windowTitle(), QStringLiteral("Erreur ") + QAEdition::applicationTitle());
    QCOMPARE(error.message(), QStringLiteral("vmrgen.pl: no port"));
    leftovers = englishLeftovers(&error);
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(QLatin1Char('\n'))));
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
    QAVmrEditor editor(VmrTest::orbiskDir() + QStringLiteral("/targets"));
    editor.resize(1000, 700);
    QDomElement root = editor.getRootElement(path);
    QVERIFY2(!root.isNull(), qPrintable(editor.lastError()));
    QVERIFY(editor.buildTree(root));

    QStringList faults;
    int labelled = 0;
    int changed = 0;
    const QList<QTreeWidgetItem *> items = allItems(editor.tree());
    for (QTreeWidgetItem *item : items) {
        auto *node = dynamic_cast<QAVmrEditorNode *>(item);
        QVERIFY(node);
        const QString label = node->data().attribute(QStringLiteral("Label"));
        if (label.isEmpty()) continue;
        ++labelled;
        const QString expected =
            m_byKey.value(key(QStringLiteral("XVM Labels"), label)).translation;
        if (expected != label) ++changed;
        if (item->text(0) != expected)
            faults << QStringLiteral("\"%1\" shows \"%2\"").arg(label, item->text(0));
    }
    QVERIFY(labelled > 10);
    QVERIFY(changed > labelled / 2);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

    // The root's comment page names its subject in French.
    editor.tree()->setCurrentItem(editor.tree()->topLevelItem(0));
    QVERIFY(editor.viewer());
    QStringList rootTitles;
    for (QLabel *label : editor.viewer()->findChildren<QLabel *>()) rootTitles << label->text();
    QVERIFY2(rootTitles.contains(QStringLiteral("Commentaire pour le nœud racine")),
             qPrintable(rootTitles.join(QLatin1Char('|'))));

    // Every page of the document, with the tabs of its choices and the captions of its
    // fields: nothing that the French file translates may still show in English.
    QStringList leftovers;
    int tabbed = 0;
    for (QTreeWidgetItem *item : items) {
        editor.tree()->setCurrentItem(item);
        QAVmrViewer *viewer = editor.viewer();
        if (!viewer) continue;
        for (const QString &text : englishLeftovers(viewer)) {
            if (!leftovers.contains(text))
                leftovers << item->text(0) + QStringLiteral(": ") + text;
        }
        if (auto *tabs = viewer->findChild<QTabWidget *>()) {
            const QDomElement choice =
                static_cast<QAVmrEditorNode *>(item)->data().firstChildElement(
                    QStringLiteral("CHOICE"));
            QStringList expected;
            for (QDomElement o = choice.firstChildElement(QStringLiteral("ONGLET")); !o.isNull();
                 o = o.nextSiblingElement(QStringLiteral("ONGLET")))
                expected << m_byKey
                                .value(key(QStringLiteral("XVM Labels"),
                                           o.attribute(QStringLiteral("Label"))))
                                .translation;
            QStringList shown;
            for (int i = 0; i < tabs->count(); ++i) shown << tabs->tabText(i);
            if (!expected.isEmpty()) {
                ++tabbed;
                if (shown != expected)
                    leftovers << item->text(0) + QStringLiteral(": tabs ") +
                                     shown.join(QLatin1Char('|'));
            }
        }
    }
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(QLatin1Char('\n'))));
    if (QFileInfo(path).fileName() == QLatin1String("templatec.xvm")) QVERIFY(tabbed > 0);
}

QProcessEnvironment TstTranslation::programEnvironment(const QString &locale,
                                                       const QString &orbiskDir) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A home of its own for each run: the user-library check must meet an empty one.
    const QString home = m_home->path() + QStringLiteral("/run-") + locale;
    QDir(home).removeRecursively();
    QDir().mkpath(home + QStringLiteral("/runtime"));
    QFile::setPermissions(home + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ORBISKDIR"), orbiskDir);
    env.insert(QStringLiteral("LANG"), locale);
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.remove(QStringLiteral("LC_MESSAGES"));
    env.remove(QStringLiteral("LANGUAGE"));
    env.remove(QStringLiteral("VMREDITOR_AUTOQUIT_MS"));
    return env;
}

void TstTranslation::programFollowsTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    const QString french = QStringLiteral("L'installation ne contient pas de répertoire");
    const QString english = QStringLiteral("The installation has no directory");
    QTest::newRow("fr_FR") << QStringLiteral("fr_FR.UTF-8") << french;
    QTest::newRow("fr_BE") << QStringLiteral("fr_BE.UTF-8") << french;
    QTest::newRow("de_DE") << QStringLiteral("de_DE.UTF-8") << english;
    QTest::newRow("C") << QStringLiteral("C.UTF-8") << english;
}

void TstTranslation::programFollowsTheLocale()
{
    // An installation without its templates makes the real program report, in the
    // user's language, on its standard error and in a warning box that waits for the
    // user; the report is all this run needs.
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    const QString program = VmrTest::program();
    QVERIFY2(QFileInfo(program).isExecutable(), "VMREDITOR must name the built program");
    QTemporaryDir install;
    QVERIFY(QDir().mkpath(install.filePath(QStringLiteral("lib/locale"))));
    QVERIFY(QFile::copy(VmrTest::orbiskDir() + QStringLiteral("/lib/locale/vmreditor_fr.qm"),
                        install.filePath(QStringLiteral("lib/locale/vmreditor_fr.qm"))));

    QProcess process;
    process.setProcessEnvironment(programEnvironment(locale, install.path()));
    process.setReadChannel(QProcess::StandardError);
    process.start(program, QStringList());
    QVERIFY(process.waitForStarted(30000));
    QByteArray err;
    const QByteArray marker = "targets";
    while (!err.contains(marker) && process.state() == QProcess::Running &&
           process.waitForReadyRead(60000))
        err += process.readAllStandardError();
    err += process.readAllStandardError();
    if (process.state() == QProcess::Running) {
        process.kill();
        process.waitForFinished(10000);
    }
    const QString text = QString::fromLocal8Bit(err);
    QVERIFY2(text.contains(expected + QLatin1Char(' ') + install.path()), qPrintable(text));
}

void TstTranslation::programStartsQuietlyInAnyLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("fr_FR") << QStringLiteral("fr_FR.UTF-8");
    QTest::newRow("de_DE, no translation") << QStringLiteral("de_DE.UTF-8");
}

void TstTranslation::programStartsQuietlyInAnyLocale()
{
    QFETCH(QString, locale);
    const QString program = VmrTest::program();
    QVERIFY2(QFileInfo(program).isExecutable(), "VMREDITOR must name the built program");
    QProcessEnvironment env = programEnvironment(locale, VmrTest::orbiskDir());
    env.insert(QStringLiteral("VMREDITOR_AUTOQUIT_MS"), QStringLiteral("200"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, QStringList());
    QVERIFY(process.waitForStarted(30000));
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(10000);
        QFAIL("the program did not close");
    }
    const QByteArray err = process.readAllStandardError();
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == 0, err.constData());
    // Only the headless platform's own remark may appear; the program says nothing.
    QStringList said;
    for (const QString &line : QString::fromLocal8Bit(err).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty() &&
            !line.startsWith(QLatin1String("This plugin does not support")))
            said << line;
    }
    QVERIFY2(said.isEmpty(), qPrintable(said.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TstTranslation)
#include "tst_translation.moc"
