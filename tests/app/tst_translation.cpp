// The French user interface: the translation source is complete and well formed, the
// compiled file that the installation ships says the same, and the main window, the
// dialogs, the document tree and every viewer of the shipped documents speak French.

#include "app/qanewvmrdlg.h"
#include "app/qavmraboutdialog.h"
#include "app/qavmrprefdialog.h"
#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrfinddialog.h"
#include "viewers/qavmrtextedit.h"
#include "viewers/qavmrviewer.h"

#include "mainwindowdriver.h"

#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

using namespace VmrDrive;

namespace {

struct Message
{
    QString context, source, comment, translation, unfinished;
};

// The messages of a .ts file, keyed by context, source and comment.
QHash<QString, Message> readTs(const QString &path, QString *error)
{
    QDomDocument ts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !ts.setContent(&file, error))
        *error = path + u": "_s + file.errorString() + *error;
    QHash<QString, Message> messages;
    for (QDomElement c = ts.documentElement().firstChildElement(u"context"_s); !c.isNull();
         c = c.nextSiblingElement(u"context"_s)) {
        for (QDomElement m = c.firstChildElement(u"message"_s); !m.isNull();
             m = m.nextSiblingElement(u"message"_s)) {
            const auto text = [&m](const char *tag) { return m.firstChildElement(QLatin1String(tag)).text(); };
            const Message message{c.firstChildElement(u"name"_s).text(), text("source"), text("comment"),
                                  text("translation"),
                                  m.firstChildElement(u"translation"_s).attribute(u"type"_s)};
            const QString key = message.context + u'\x1f' + message.source + u'\x1f' + message.comment;
            messages.insert(messages.contains(key) ? key + u"(twice)"_s : key, message);
        }
    }
    return messages;
}

QString key(const QString &context, const QString &source) { return context + u'\x1f' + source + u'\x1f'; }

// What a translation must keep of its source: placeholders, markup, line breaks, how
// many accelerators and "&&".
QString shape(const QString &text)
{
    static const QRegularExpression kept(u"%L?\\d+|<[^>]+>|\\n|&&|&[\\p{L}\\p{N}]"_s);
    QStringList found;
    for (auto it = kept.globalMatch(text); it.hasNext();) {
        const QString piece = it.next().captured();
        found << (piece.size() == 2 && piece[0] == u'&' && piece[1] != u'&' ? u"&x"_s : piece);
    }
    std::sort(found.begin(), found.end());
    return found.join(u' ');
}

QList<QTreeWidgetItem *> allItems(QTreeWidget *tree)
{
    QList<QTreeWidgetItem *> items;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        items << tree->topLevelItem(i);
    for (int i = 0; i < items.size(); ++i) {
        for (int c = 0; c < items[i]->childCount(); ++c)
            items << items[i]->child(c);
    }
    return items;
}

QStringList shippedDocuments()
{
    QStringList documents;
    for (const QString &dir : {u"/targets/xml/"_s, u"/targets/examples/"_s}) {
        for (const QString &name : QDir(VmrTest::sourceDir() + dir).entryList({u"*.xvm"_s}))
            documents << VmrTest::sourceDir() + dir + name;
    }
    return documents;
}

} // namespace

class TstTranslation : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    QHash<QString, Message> m_messages;
    QHash<QString, QString> m_englishOnly; // English texts the French file changes, by context
    QTranslator m_translator;

    // Texts of the widget and its children that are still the English of a message.
    QStringList englishLeftovers(QWidget *root) const
    {
        QStringList texts;
        QList<QWidget *> widgets = root->findChildren<QWidget *>();
        for (QWidget *w : widgets << root) {
            texts << w->windowTitle() << w->toolTip();
            if (auto *label = qobject_cast<QLabel *>(w))
                texts << label->text();
            if (auto *button = qobject_cast<QAbstractButton *>(w))
                texts << button->text();
            if (auto *group = qobject_cast<QGroupBox *>(w))
                texts << group->title();
            if (auto *menu = qobject_cast<QMenu *>(w))
                texts << menu->title();
            if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
                for (int i = 0; i < tabs->count(); ++i)
                    texts << tabs->tabText(i);
            }
            for (QAction *a : w->actions())
                texts << a->text() << a->toolTip();
        }
        for (QAction *a : root->findChildren<QAction *>())
            texts << a->text() << a->toolTip();
        QStringList leftovers;
        for (const QString &text : std::as_const(texts)) {
            if (m_englishOnly.contains(text) && !leftovers.contains(text))
                leftovers << u"[%1] \"%2\""_s.arg(m_englishOnly.value(text), text);
        }
        return leftovers;
    }
    QString label(const QString &english) const
    {
        return m_messages.value(key(u"XVM Labels"_s, english)).translation;
    }

private slots:
    void initTestCase()
    {
        m_home = VmrTest::privateHome();
        QString error;
        m_messages = readTs(VmrTest::sourceDir() + u"/translations/vmreditor_fr.ts"_s, &error);
        QVERIFY2(error.isEmpty() && m_messages.size() > 100, qPrintable(error));
        QSet<QString> french;
        for (const Message &m : std::as_const(m_messages))
            french << m.translation;
        // A word that is English in one place and French in another ("Date") is no sign.
        for (const Message &m : std::as_const(m_messages)) {
            if (m.translation != m.source && !french.contains(m.source))
                m_englishOnly.insert(m.source, m.context);
        }
        const QString qm = VmrTest::orbiskDir() + u"/lib/locale/vmreditor_fr.qm"_s;
        QVERIFY2(m_translator.load(qm), qPrintable(qm));
        QCoreApplication::installTranslator(&m_translator);
    }

    // Complete and faithful, and the installation's compiled file, which is what the
    // program reads, says the same.
    void everyMessageIsTranslatedFaithfully()
    {
        QStringList faults;
        for (auto it = m_messages.cbegin(); it != m_messages.cend(); ++it) {
            const Message &m = it.value();
            const QString where = u"[%1] \"%2\": "_s.arg(m.context, m.source);
            if (!m.unfinished.isEmpty() || m.translation.trimmed().isEmpty() || it.key().endsWith(u"(twice)"_s))
                faults << where + u"unfinished, empty or twice"_s;
            if (shape(m.source) != shape(m.translation))
                faults << where + u"keeps not "_s + shape(m.source);
            // The program glues names to the blanks at either end.
            static const QRegularExpression ends(u"^(\\s*).*?(\\s*)$"_s, QRegularExpression::DotMatchesEverythingOption);
            const auto blanks = ends.match(m.source);
            if (!m.translation.startsWith(blanks.captured(1)) || !m.translation.endsWith(blanks.captured(2)))
                faults << where + u"blank at an end lost"_s;
            const QByteArray context = m.context.toUtf8(), source = m.source.toUtf8(), comment = m.comment.toUtf8();
            const QString shown = QCoreApplication::translate(context.constData(), source.constData(),
                                                              m.comment.isEmpty() ? nullptr : comment.constData());
            if (shown != m.translation)
                faults << where + u"compiled file shows \""_s + shown + u'"';
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void everySourceTextIsInTheFile()
    {
        QString lupdate = QLibraryInfo::path(QLibraryInfo::BinariesPath) + u"/lupdate"_s;
        if (!QFileInfo(lupdate).isExecutable())
            lupdate = QStandardPaths::findExecutable(u"lupdate"_s);
        if (lupdate.isEmpty())
            QSKIP("lupdate is not installed");
        QTemporaryDir scratch;
        const QString fresh = scratch.filePath(u"fresh.ts"_s), source = VmrTest::sourceDir();
        QProcess run;
        run.start(lupdate, {u"-no-obsolete"_s, u"-locations"_s, u"none"_s, u"-I"_s, source, source + u"/app"_s,
                            source + u"/support"_s, source + u"/document"_s, source + u"/viewers"_s,
                            u"-ts"_s, fresh});
        QVERIFY(run.waitForFinished(120000));
        QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
        QString error;
        const QHash<QString, Message> extracted = readTs(fresh, &error);
        QVERIFY2(error.isEmpty() && extracted.size() > 100, qPrintable(error));
        QStringList missing;
        for (auto it = extracted.cbegin(); it != extracted.cend(); ++it) {
            if (!m_messages.contains(it.key()))
                missing << u"[%1] \"%2\""_s.arg(it->context, it->source);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(u"not in translations/vmreditor_fr.ts (run "
                                               "tools/update-translations and translate them):\n"_s
                                               + missing.join(u'\n')));
    }

    void everyDocumentLabelIsInTheFile()
    {
        // The contexts in which the editor translates the names of the fields.
        const QHash<QString, QString> nameContexts = {
            {u"TEXT_MACRO"_s, u"QATextMacro"_s}, {u"TYPEADA"_s, u"QATextMacro"_s},
            {u"CONSTANTADA"_s, u"QATextMacro"_s}, {u"CONSTANTSTRINGADA"_s, u"QATextMacro"_s},
            {u"BINARY_MACRO"_s, u"QABinaryMacro"_s}, {u"RENAMEADA"_s, u"QABinaryMacro"_s},
            {u"OPTIONAL_MACRO"_s, u"QAOptionnalMacro"_s}};
        QStringList missing;
        int labels = 0;
        for (const QString &path : shippedDocuments()) {
            QList<QDomElement> pending{rootOf(readFile(path))};
            QVERIFY2(!pending.first().isNull(), qPrintable(path));
            while (!pending.isEmpty()) {
                const QDomElement e = pending.takeFirst();
                for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
                    pending << c;
                const QString text = e.attribute(u"Label"_s), name = e.attribute(u"Name"_s);
                const QString context = nameContexts.value(e.tagName());
                labels += !text.isEmpty();
                if (!text.isEmpty() && !m_messages.contains(key(u"XVM Labels"_s, text)))
                    missing << QFileInfo(path).fileName() + u": label \""_s + text + u'"';
                if (!context.isEmpty() && !name.isEmpty() && !m_messages.contains(key(context, name)))
                    missing << QFileInfo(path).fileName() + u": %1 \"%2\""_s.arg(context, name);
            }
        }
        QVERIFY(labels > 100);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));
    }

    // The window, its menus with unique accelerators, the dialogs, and the texts that the
    // program composes at run time.
    void windowAndDialogsSpeakFrench()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"port.xvm"_s), title = QAEdition::applicationTitle();
        QVERIFY(writeFile(path, readFile(VmrTest::templatePath(u"templatec.xvm"_s))));
        auto window = openWindow(path);
        QStringList titles, faults = englishLeftovers(window.get());
        for (QAction *entry : window->menuBar()->actions())
            titles << (entry->menu() ? entry->menu()->title() : QString());
        QCOMPARE(titles, QStringList({u"&Fichier"_s, u"É&dition"_s, QString(), u"&Aide"_s}));
        QCOMPARE(action(window.get(), "fileExitAction")->toolTip(), u"Quitter "_s + title);
        QCOMPARE(action(window.get(), "helpAboutAction")->text(),
                 u"À &propos de "_s + title + u"..."_s);
        QCOMPARE(window->findChild<QMenu *>(u"web menu"_s)->title(),
                 QAEdition::productName() + u" sur le Web"_s);
        QCOMPARE(window->windowTitle(), u"port.xvm (Lecture seule) - "_s + title);
        // The start-up load is reported before the status bar is set up; a later one shows.
        window->load(path, false);
        QCOMPARE(status(window.get()), u"Fichier chargé."_s);
        window->show();
        window->editor()->setModified(true);
        ModalScript close({[](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); }});
        QVERIFY(!window->close());
        VMR_ANSWERED(close);
        QCOMPARE(close.texts(), QStringList{u"Enregistrer les modifications de port.xvm?"_s});
        window->editor()->setModified(false);

        // Each menu of the bar and the context menus of the root, the build section and a
        // file, with their submenus.
        std::function<void(const QString &, QWidget *)> accelerators = [&](const QString &where,
                                                                            QWidget *menu) {
            QHash<QChar, QString> taken;
            for (QAction *a : menu->actions()) {
                const QString text = a->menu() ? a->menu()->title() : a->text();
                static const QRegularExpression marked(u"&([\\p{L}\\p{N}])"_s);
                for (auto it = marked.globalMatch(QString(text).remove(u"&&"_s)); it.hasNext();) {
                    const QChar k = it.next().captured(1).at(0).toLower();
                    if (taken.contains(k))
                        faults << u"%1: \"%2\" and \"%3\" share &%4"_s.arg(where, text, taken[k], k);
                    taken.insert(k, text);
                }
                if (a->menu())
                    accelerators(where + u" > "_s + a->menu()->title(), a->menu());
            }
        };
        accelerators(u"menu bar"_s, window->menuBar());
        QStringList tags;
        for (QTreeWidgetItem *item : allItems(window->editor()->tree())) {
            const QString tag = static_cast<QAVmrEditorNode *>(item)->data().tagName();
            if (tags.contains(tag) || !QStringList({u"VMR"_s, u"BUILD"_s, u"NEWCMDFILE"_s}).contains(tag))
                continue;
            std::unique_ptr<QMenu> menu(static_cast<QAVmrEditorNode *>(item)->createPopupMenu());
            tags << tag;
            faults << englishLeftovers(menu.get());
            accelerators(tag, menu.get());
        }
        QCOMPARE(tags.size(), 3);

        // The dialogs, and the editor's own entries of the text and reference page menus.
        QANewVmrDlg newDialog;
        QAvmrFindDialog find;
        QAVmrAboutDialog about(VmrTest::program());
        QAVmrErrorDialog error(u"vmrgen.pl: no port"_s);
        QAVmrTextEdit text;
        QAVmrDocBrowser browser;
        std::unique_ptr<QMenu> textMenu(text.createPopupMenu(QPoint()));
        std::unique_ptr<QMenu> browserMenu(browser.createPopupMenu(QPoint()));
        for (QWidget *w : {static_cast<QWidget *>(window->preferencesDialog()), &newDialog,
                           static_cast<QWidget *>(&find), &about, &error, textMenu.get(),
                           browserMenu.get()})
            faults << englishLeftovers(w);
        QCOMPARE(about.windowTitle(), u"À propos de "_s + title);
        QCOMPARE(error.windowTitle(), u"Erreur "_s + title);
        // The script's own words stay as they are.
        QCOMPARE(error.message(), u"vmrgen.pl: no port"_s);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void documentTreeAndViewersSpeakFrench_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &path : shippedDocuments())
            QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
    }
    void documentTreeAndViewersSpeakFrench()
    {
        QFETCH(QString, path);
        QAVmrEditor editor(VmrTest::orbiskDir() + u"/targets"_s);
        editor.resize(1000, 700);
        QDomElement root = editor.getRootElement(path);
        QVERIFY2(!root.isNull() && editor.buildTree(root), qPrintable(editor.lastError()));
        editor.tree()->setCurrentItem(editor.tree()->topLevelItem(0));
        QStringList rootTitles;
        for (QLabel *l : editor.viewer()->findChildren<QLabel *>())
            rootTitles << l->text();
        QVERIFY2(rootTitles.contains(u"Commentaire pour le nœud racine"_s), qPrintable(rootTitles.join(u'|')));

        // Every node shows its label in French, and most labels do change. Every page,
        // with the tabs of its choices: nothing that the French file translates may still
        // show in English.
        QStringList faults;
        int labelled = 0, changed = 0, tabbed = 0;
        for (QTreeWidgetItem *item : allItems(editor.tree())) {
            const QDomElement element = static_cast<QAVmrEditorNode *>(item)->data();
            const QString english = element.attribute(u"Label"_s);
            labelled += !english.isEmpty();
            changed += !english.isEmpty() && label(english) != english;
            if (!english.isEmpty() && item->text(0) != label(english))
                faults << u"\"%1\" shows \"%2\""_s.arg(english, item->text(0));
            editor.tree()->setCurrentItem(item);
            if (!editor.viewer())
                continue;
            for (const QString &text : englishLeftovers(editor.viewer()))
                faults << item->text(0) + u": "_s + text;
            QStringList expected, shown;
            for (QDomElement o = element.firstChildElement(u"CHOICE"_s).firstChildElement(u"ONGLET"_s);
                 !o.isNull(); o = o.nextSiblingElement(u"ONGLET"_s))
                expected << label(o.attribute(u"Label"_s));
            auto *tabs = editor.viewer()->findChild<QTabWidget *>();
            for (int i = 0; tabs && i < tabs->count(); ++i)
                shown << tabs->tabText(i);
            tabbed += !expected.isEmpty();
            if (!expected.isEmpty() && shown != expected)
                faults << item->text(0) + u": tabs "_s + shown.join(u'|');
        }
        QVERIFY(labelled > 10 && changed > labelled / 2);
        QVERIFY(tabbed > 0 || !path.endsWith(u"templatec.xvm"_s));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
};

QTEST_MAIN(TstTranslation)
#include "tst_translation.moc"
