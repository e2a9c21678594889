// The main window as a desktop user meets it: the Edit commands on the focused field,
// closing, New, the preferences through the Settings menu, the web pages, the share of the
// window the form gets, the splitters that stay where they are, the reference page that
// keeps showing the current node's section, the usual shortcuts, the theme's icons and the
// About box on a dark theme.

#include "app/qanewvmrdlg.h"
#include "app/qavmrprefdialog.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qapixmaps.h"
#include "viewers/qachoiceviewer.h"
#include "viewers/qafieldwidgets.h"
#include "viewers/qamacrowidgets.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrtextedit.h"

#include "mainwindowdriver.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressDialog>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>
#include <QtTest>

using namespace VmrDrive;

namespace {

// Where the reference page's section of an anchor starts, in the pane's viewport: 0 when
// it is at the top; the pane may not scroll that far near the end of the page.
int sectionTop(QAVmrDocBrowser *pane, const QString &anchor)
{
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(anchor)) {
                QTextCursor cursor(pane->document());
                cursor.setPosition(it.fragment().position());
                return pane->cursorRect(cursor).top();
            }
        }
    }
    return -1;
}

bool showsSection(QAVmrDocBrowser *pane, const QString &anchor)
{
    const int top = sectionTop(pane, anchor);
    const QScrollBar *bar = pane->verticalScrollBar();
    return top >= 0 && (top < 8 || (bar->value() == bar->maximum() && top < pane->height()));
}

QList<int> splitterSizes(QAMainWindowEditor *window)
{
    QList<int> sizes;
    for (const char *name : {"Horizontal splitter", "Vertical splitter"})
        sizes += window->editor()->findChild<QSplitter *>(QLatin1String(name))->sizes();
    return sizes;
}

// Pixels that stand out from the colour of a widget's top-left corner: its text.
int inkOn(QWidget *widget, QColor *ground)
{
    const QImage image = widget->grab().toImage();
    *ground = image.pixelColor(0, 0);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ink += std::abs(qGray(image.pixel(x, y)) - qGray(ground->rgb())) > 128;
    }
    return ink;
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home, m_work;
    QString m_example;

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void init()
    {
        clearSettings();
        m_work = std::make_unique<QTemporaryDir>();
        m_example = copyOfExample(*m_work);
        QVERIFY(QFile::exists(m_example));
    }

    void editCommandsGoToTheFocusedField_data()
    {
        QTest::addColumn<int>("focused"); // 0: text edit, 1: line edit, 2: the tree
        QTest::newRow("text edit") << 0;
        QTest::newRow("line edit") << 1;
        // The tree takes none of them: its texts and the clipboard stay.
        QTest::newRow("tree") << 2;
    }
    void editCommandsGoToTheFocusedField()
    {
        QFETCH(int, focused);
        auto window = openWindow(m_example);
        auto *text = new QTextEdit(window->statusBar());
        auto *line = new QLineEdit(window->statusBar());
        window->statusBar()->addWidget(text);
        window->statusBar()->addWidget(line);
        QVERIFY(shown(window.get()));
        QTest::keyClicks(text, u"first"_s);
        QTest::keyClicks(line, u"first"_s);
        QAVmrEditorTree *tree = window->editor()->tree();
        QWidget *const fields[] = {text, line, tree};
        fields[focused]->setFocus();
        QTRY_VERIFY(fields[focused]->hasFocus());
        QApplication::clipboard()->setText(u"sentinel"_s);
        QStringList seen, expected;
        // Undo and Redo are the document's: a field's own history is not theirs.
        for (const QString &after : {u"first"_s, u"first"_s, QString(), u"first"_s,
                                     u"firstfirst"_s, u"firstfirst"_s, u"firstfirst"_s}) {
            expected << (focused == 0 ? after : u"first"_s) + u'|'
                    + (focused == 1 ? after : u"first"_s);
        }
        for (const char *name : {"editSelectAllAction", "editCopyAction", "editCutAction",
                                 "editPasteAction", "editPasteAction", "editUndoAction",
                                 "editRedoAction"}) {
            action(window.get(), name)->trigger();
            seen << text->toPlainText() + u'|' + line->text();
        }
        QCOMPARE(seen, expected);
        QCOMPARE(QApplication::clipboard()->text(), focused == 2 ? u"sentinel"_s : u"first"_s);
        QCOMPARE(tree->topLevelItem(0)->text(0), u"LinuxGcc"_s);
        QVERIFY(!window->editor()->isModified());
    }

    void closeWithChanges_data()
    {
        QTest::addColumn<QString>("answer"); // empty: Escape
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("stop"); // the generation stopped while the window waits
        QTest::newRow("Cancel") << u"Cancel"_s << false << false << false;
        QTest::newRow("Escape") << QString() << false << false << false;
        QTest::newRow("No") << u"No"_s << false << true << false;
        // Yes goes through Save As for a read-only document; cancelling it must not lose
        // the changes by closing anyway.
        QTest::newRow("Yes, Save As cancelled") << u"Yes"_s << true << false << false;
        QTest::newRow("Yes") << u"Yes"_s << false << true << false;
        QTest::newRow("Yes, generation stopped") << u"Yes"_s << false << true << true;
    }
    void closeWithChanges()
    {
        QFETCH(QString, answer);
        QFETCH(bool, readOnly);
        QFETCH(bool, closes);
        QFETCH(bool, stop);
        // A generation that takes a while: it must run to its end, not be cut off at exit,
        // unless the user stops it; a stopped one is asked to end, as a terminal would.
        Install install;
        install.writeScript(u"vmrgen.pl"_s,
                            "$SIG{TERM} = sub { open(my $s, '>', \"$ARGV[1]/stopped\"); exit 1; };\n"
                            "select(undef, undef, undef, $ARGV[1] =~ /./ ? 1 : 0);\n"
                            "open(my $o, '>', \"$ARGV[1]/done\") or die;");
        QByteArray before = readFile(m_example);
        if (readOnly)
            QVERIFY(writeFile(m_example, before.replace("\"no\"", "\"yes\"")));
        auto window = openWindow(m_example);
        QCOMPARE(window->windowTitle(),
                 titled(readOnly ? u"linux_gcc.xvm (Read only)"_s : u"linux_gcc.xvm"_s));
        QVERIFY(shown(window.get()));
        window->editor()->setModified(true);
        // While the window waits for the generation it keeps painting itself.
        int paintsWhileWaiting = 0;
        const auto waiting = [&paintsWhileWaiting, &window, stop](QWidget *dialog) {
            window->update();
            QTimer::singleShot(200, dialog, [&paintsWhileWaiting, dialog, stop]() {
                paintsWhileWaiting = dialog->isVisible();
                if (stop)
                    VmrDrive::answer(u"Cancel"_s)(dialog);
            });
        };
        const bool saved = closes && answer == u"Yes"_s;
        ModalScript dialogs({answer.isEmpty() ? pressKey(Qt::Key_Escape)
                                              : VmrDrive::answer(answer),
                             readOnly ? choosePath(QString()) : Handler(waiting)});
        QCOMPARE(window->close(), closes);
        QCOMPARE(dialogs.texts().value(0), u"Save changes to linux_gcc.xvm?"_s);
        QCOMPARE(dialogs.texts().size(), readOnly || saved ? 2 : 1);
        QCOMPARE(window->isVisible(), !closes);
        if (saved) {
            const auto *wait = window->findChild<QProgressDialog *>(u"script wait"_s);
            QVERIFY(!wait && paintsWhileWaiting);
            QCOMPARE(dialogs.texts().value(1), QAEdition::applicationTitle());
        }
        QCOMPARE(window->editor()->isModified(), !saved);
        QCOMPARE(readFile(m_example) == before, !saved);
        const QString target = window->document()->targetDirectory();
        QCOMPARE(QFile::exists(target + u"/done"_s), saved && !stop);
        QCOMPARE(QFile::exists(target + u"/stopped"_s), stop);
        QCOMPARE(status(window.get()),
                 !saved ? status(window.get()) : stop ? u"vmrgen.pl was stopped."_s : u"VMR Files saved."_s);
        window->editor()->setModified(false);
    }

    void fileNew()
    {
        auto window = openWindow(m_example);
        window->editor()->setModified(true);
        // Cancel ends the command; No goes on to the language dialog, rejected here.
        // Either way the document stays.
        ModalScript dialogs({answer(u"Cancel"_s), answer(u"No"_s), answer(u"Cancel"_s)});
        window->fileNew();
        window->fileNew();
        VMR_ANSWERED(dialogs);
        const QString question = u"Save changes to linux_gcc.xvm?"_s;
        QCOMPARE(dialogs.texts(),
                 QStringList({question, question, u"Velmor Language Selection"_s}));
        QCOMPARE(window->document()->path(), m_example);
        QVERIFY(window->editor()->isModified());

        window->editor()->setModified(false);
        ModalScript choose({[](QWidget *w) {
            qobject_cast<QANewVmrDlg *>(w)->j2seButton()->click();
            answer(u"Open"_s)(w);
        }});
        action(window.get(), "fileNewAction")->trigger();
        VMR_ANSWERED(choose);
        QCOMPARE(window->document()->path(),
                 window->document()->xmlDirectory() + QDir::separator() + u"document.xvm"_s);
        QCOMPARE(canonical(window->document()->root()),
                 canonicalDocument(readFile(window->document()->xmlDirectory() + u"/templatej2se.xvm"_s)));
        QVERIFY(action(window.get(), "fileSaveAction")->isEnabled());
    }

    void webPages()
    {
        // Without its file the web addresses stay empty after one message; without one
        // entry only that page opens nothing.
        Install install;
        const QString properties = install.file(u"doc/orbk_web.properties"_s);
        QVERIFY(QFile::remove(properties));
        ModalScript dialogs({answer(u"OK"_s)});
        QCOMPARE(openWindow()->webAddresses(), QStringList(4, QString()));
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts(), QStringList{u"Impossible to find the file orbk_web.properties "
                                              "in the install directory."_s});
        QVERIFY(writeFile(properties, "url.home=http://h.example/\nurl.orbisk=http://o.example/"
                                      "\nurl.targetpackage=http://t.example/\n"));
        auto window = openWindow();
        window->editor()->help()->setCommand(u"/bin/true"_s);
        QStringList launched;
        for (const char *page : {"Quintar Software Home Page", "Technical Support",
                                 "Tarvex Quintar Orbisk", "Velmors"}) {
            action(window.get(), page)->trigger();
            launched << window->editor()->help()->lastLaunch().value(1);
        }
        QCOMPARE(launched, QStringList({u"http://h.example/"_s, u"http://h.example/"_s,
                                        u"http://o.example/"_s, u"http://t.example/"_s}));
    }

    void layoutFollowsTheUser()
    {
        // A first start fills most of the screen, and the form gets most of the window.
        QByteArray port = readFile(m_example);
        port.replace("<NEWCMDFILE Name=\"env.sh\">",
                     "<NEWBINFILE Name=\"b.bin\"><COMMENT/><ENCODED_FILE Name=\"b.bin\" Size=\"3\">"
                     "<DATA>QUJD</DATA></ENCODED_FILE></NEWBINFILE><NEWCMDFILE Name=\"env.sh\">");
        QVERIFY(writeFile(m_example, port));
        auto window = openWindow(m_example);
        QVERIFY(shown(window.get()));
        const QRect screen = window->screen()->availableGeometry();
        QVERIFY(screen.contains(window->frameGeometry()));
        QVERIFY(window->width() * window->height() * 2 > screen.width() * screen.height());
        QAVmrEditor *editor = window->editor();
        QAVmrDocBrowser *pane = editor->docBrowser();
        const auto area = [](const QWidget *w) { return w->width() * w->height(); };
        QVERIFY(area(editor->editionArea()) * 5 > area(window.get()) * 2);
        QVERIFY(editor->editionArea()->height() > 2 * pane->height());
        QVERIFY(editor->tree()->width() * 5 < window->width() * 2);

        // Every kind of viewer in turn: the splitters stay, the pane shows the node's section.
        const QList<int> sizes = splitterSizes(window.get());
        const struct
        {
            QStringList path;
            const char *anchor;
        } nodes[] = {
            {{u"Settings"_s, u"C settings"_s}, "IS_C"},
            {{u"Build"_s, u"Preprocessing"_s}, "PREPROCESSING"},
            {{u"Build"_s, u"Compilation"_s}, "COMPILATION"},
            {{u"Build"_s, u"env.sh"_s}, "NEWCMDFILE"},
            {{u"Build"_s, u"b.bin"_s}, "NEWBINFILE"},
            {{u"Runtime library"_s, u"Linkage"_s}, "LINKAGE"},
            {{u"Runtime library"_s, u"Exit"_s}, "EXIT"},
            {{u"Runtime library"_s, u"Before instrumented code"_s}, "FREE_TEXT_BEFORE_FOR_INSTR"},
            {{u"Runtime library"_s, u"Data types"_s}, "DATA_TYPES"},
            {{}, "VMR"},
        };
        QAVmrEditorTree *tree = editor->tree();
        QSet<QString> codeFonts;
        for (const auto &node : nodes) {
            const QString anchor = QLatin1String(node.anchor);
            QTreeWidgetItem *item = nodeAt(tree, node.path);
            QVERIFY2(item, node.anchor);
            tree->scrollToItem(item);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->visualItemRect(item).center());
            QCOMPARE(tree->currentItem(), item);
            QVERIFY2(pane->hasAnchor(anchor), node.anchor);
            QTRY_VERIFY2(showsSection(pane, anchor), node.anchor);
            QCOMPARE(splitterSizes(window.get()), sizes);
            // Code reads in one fixed-width font, whatever the viewer.
            QList<QWidget *> code;
            for (QAVmrTextEdit *text : editor->viewer()->findChildren<QAVmrTextEdit *>())
                code << text;
            for (QATextMacro *macro : editor->viewer()->findChildren<QATextMacro *>())
                code << macro->lineEdit();
            for (QAFctOnglet *function : editor->viewer()->findChildren<QAFctOnglet *>())
                code << function->valueEdit();
            for (QWidget *field : std::as_const(code)) {
                const QFontMetrics metrics(field->font());
                QVERIFY2(metrics.horizontalAdvance(u'i') == metrics.horizontalAdvance(u'W'),
                         node.anchor);
                codeFonts.insert(field->font().family());
            }
        }
        QCOMPARE(codeFonts.size(), 1);

        // A resize reflows the page; the section comes back to the top, and the page and
        // the form both grow with the window while the tree keeps its width.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(nodeAt(tree, {u"Build"_s, u"Link"_s})).center());
        const int paneHeight = pane->height(), formHeight = editor->editionArea()->height();
        const int treeWidth = tree->width();
        for (const QSize size : {window->size() * 4 / 5, window->size()}) {
            window->resize(size);
            QTRY_COMPARE(window->size(), size);
            QTRY_VERIFY(showsSection(pane, u"LINK"_s));
        }
        QCOMPARE(pane->height(), paneHeight);
        QCOMPARE(editor->editionArea()->height(), formHeight);
        QCOMPARE(tree->width(), treeWidth);
        window->resize(window->width() - 100, window->height() - 100);
        QTRY_VERIFY(editor->editionArea()->height() < formHeight);
        QVERIFY(pane->height() < paneHeight);
        QCOMPARE(tree->width(), treeWidth);
        QTRY_VERIFY(showsSection(pane, u"LINK"_s));

        // Once the user scrolls the page, it stays where the user put it.
        VmrTest::turnWheel(pane->viewport(), -3);
        const int scrolled = pane->verticalScrollBar()->value();
        QVERIFY(!showsSection(pane, u"LINK"_s));
        window->resize(window->width() + 50, window->height());
        QTest::qWait(50);
        QCOMPARE(pane->verticalScrollBar()->value(), scrolled);

        // A form that needs more room than the panes leave scrolls; its fields are never
        // drawn over each other.
        window->resize(800, 520);
        QTRY_COMPARE(window->size(), QSize(800, 520));
        QTreeWidgetItem *exit = nodeAt(tree, {u"Runtime library"_s, u"Exit"_s});
        tree->scrollToItem(exit);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(exit).center());
        QAVmrViewer *form = editor->viewer();
        QVERIFY(form);
        QTRY_VERIFY(form->height() >= form->minimumSizeHint().height());
        QVERIFY(form->width() >= form->minimumSizeHint().width());
        QVERIFY(editor->findChild<QScrollArea *>(u"viewer scroll"_s)->verticalScrollBar()->isVisible());
    }

    void shortcutsAndPreferences()
    {
        // A stored list of help browsers without the current command is ignored.
        const QString group = u"/VMREditorPreferenceDialog/"_s;
        clearSettings().setValue(group + u"HelpBrowserlist"_s, QStringList{u"firefox"_s});
        const auto applied = [](QAMainWindowEditor *window) {
            QAHelp *help = window->editor()->help();
            return QStringList{help->getCommand(), help->getHelpURL(),
                               help->getStartLocalServer() ? u"local"_s : u"remote"_s};
        };
        auto window = openWindow(m_example);
        QVERIFY(shown(window.get()));
        const QStringList before = applied(window.get());
        QCOMPARE(before.value(0), u"xdg-open"_s);
        QCOMPARE(before.value(2), u"remote"_s);
        QAVmrEditorTree *tree = window->editor()->tree();
        tree->setFocus();
        QTRY_VERIFY(tree->hasFocus());
        // Ctrl+Shift+S is Save As.
        QStringList started;
        ModalScript saveAs({choosePath(QString(), &started)});
        QTest::keyClick(tree, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        VMR_ANSWERED(saveAs);
        QCOMPARE(saveAs.texts().size(), 1);

        // The preferences open from the Settings menu, name the product, and apply only
        // on OK: the help browser typed, the address typed, the local server switched on.
        const QString command = u"lynx -force_html"_s, url = u"http://ic.example:8081/help"_s;
        QString label;
        const auto fill = [&label, command, url](const QString &button) {
            return [&label, command, url, button](QWidget *w) {
                auto *dialog = qobject_cast<QAvmrPrefDialog *>(w);
                for (QLabel *text : dialog->findChildren<QLabel *>())
                    label += text->text();
                dialog->helpUrlField()->selectAll();
                QTest::keyClicks(dialog->helpUrlField(), url + button);
                if (button == u"OK"_s) {
                    dialog->browserBox()->lineEdit()->selectAll();
                    QTest::keyClicks(dialog->browserBox()->lineEdit(), command);
                    dialog->localServerBox()->click();
                    QVERIFY(dialog->classPathField()->isEnabled());
                }
                answer(button)(dialog);
            };
        };
        QMenuBar *bar = window->menuBar();
        QAction *settings = nullptr;
        for (QAction *entry : bar->actions())
            settings = entry->text() == u"&Settings"_s ? entry : settings;
        QVERIFY(settings);
        for (const QString &button : {u"Cancel"_s, u"OK"_s}) {
            ModalScript preferences({fill(button)});
            auto menu = VmrTest::chooseFromNextMenu(u"&Configure Velmor Editor..."_s);
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(settings).center());
            QTRY_VERIFY(menu->opened);
            // The dialog opens without the menu waiting for it.
            QTRY_COMPARE(preferences.texts().size(), 1);
            VMR_ANSWERED(preferences);
            QTRY_VERIFY(!window->preferencesDialog()->isVisible());
            QCOMPARE(applied(window.get()),
                     button == u"OK"_s ? QStringList({command, url + button, u"local"_s}) : before);
        }
        QVERIFY(label.contains(QAEdition::productName()));
        QVERIFY(!label.contains(u"__"_s));

        // Ctrl+Q quits.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(!window->isVisible());

        // A typed command goes first in the stored list; the index is of the last current
        // entry. The next start uses what was stored; a stale index changes nothing.
        QSettings store(u"Quintar Software"_s, u"vmreditor"_s);
        store.beginGroup(group);
        QCOMPARE(store.value(u"HelpBrowserlist"_s).toStringList(),
                 QStringList({command, u"xdg-open"_s}));
        QCOMPARE(store.value(u"HelpBrowserItem"_s).toInt(), 0);
        store.setValue(u"HelpBrowserItem"_s, 7);
        store.sync();
        auto again = openWindow();
        QCOMPARE(applied(again.get()), QStringList({command, url + u"OK"_s, u"local"_s}));
        QVERIFY(again->preferencesDialog()->classPathField()->isEnabled());
    }

    void iconsAndAboutBox()
    {
        // The window carries the menu entry's picture.
        auto window = openWindow(m_example);
        const QImage entry =
            QImage(VmrTest::sourceDir() + u"/packaging/icons/hicolor/48x48/apps/vmreditor.png"_s)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY(!entry.isNull());
        QCOMPARE(window->windowIcon().pixmap(48, 48).toImage().convertToFormat(entry.format()),
                 entry);

        // A desktop theme's icon wins over the built-in picture; what it lacks stays built in.
        QTemporaryDir themes;
        QImage red(16, 16, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(writeFile(themes.filePath(u"test/index.theme"_s),
                          "[Icon Theme]\nName=test\nDirectories=16x16/actions\n"
                          "[16x16/actions]\nSize=16\nType=Fixed\n"));
        QVERIFY(QDir().mkpath(themes.filePath(u"test/16x16/actions"_s)));
        QVERIFY(red.save(themes.filePath(u"test/16x16/actions/document-new.png"_s)));
        const QStringList paths = QIcon::themeSearchPaths();
        const QString theme = QIcon::themeName();
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setThemeName(u"test"_s);
        const QImage themed = qaIcon("new_xpm").pixmap(16, 16).toImage();
        const QImage builtin = qaIcon("undo_xpm").pixmap(16, 16).toImage();
        QIcon::setThemeSearchPaths(paths);
        QIcon::setThemeName(theme);
        QCOMPARE(themed.pixelColor(8, 8), QColor(Qt::red));
        QCOMPARE(builtin, QIcon(GETPIX("undo_xpm")).pixmap(16, 16).toImage());

        // On a dark theme the About box still shows dark text on its white ground.
        const QPalette before = QApplication::palette();
        QPalette dark = before;
        for (const auto &[role, colour] : {std::pair(QPalette::Window, QColor(0x20, 0x20, 0x20)),
                                           {QPalette::Base, QColor(0x10, 0x10, 0x10)},
                                           {QPalette::WindowText, QColor(0xf0, 0xf0, 0xf0)},
                                           {QPalette::Text, QColor(0xf0, 0xf0, 0xf0)}})
            dark.setColor(role, colour);
        QApplication::setPalette(dark);
        QStringList unreadable;
        ModalScript about({[&unreadable](QWidget *box) {
            auto *notice = box->findChild<QTextBrowser *>(u"legal notice"_s);
            QList<QWidget *> texts{notice->viewport()};
            for (int i = 0; i < 4; ++i)
                texts << box->findChild<QLabel *>(u"about text %1"_s.arg(i));
            for (QWidget *text : texts) {
                QColor ground;
                if (inkOn(text, &ground) < 20 || ground.lightness() < 200)
                    unreadable << text->objectName();
            }
            answer(u"OK"_s)(box);
        }});
        action(window.get(), "helpAboutAction")->trigger();
        QApplication::setPalette(before);
        VMR_ANSWERED(about);
        QCOMPARE(unreadable, QStringList());
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
