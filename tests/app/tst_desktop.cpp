// The main window as a desktop user meets it: the share of the window the form gets, the
// splitters that stay where they are, the reference page that keeps showing the current
// node's section, the usual shortcuts, the theme's icons and the About box on a dark theme.

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

#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidgetItemIterator>
#include <QtTest>

using namespace VmrDrive;

namespace {

// The node at the end of a path of labels below the root.
QTreeWidgetItem *nodeAt(QTreeWidget *tree, const QStringList &path)
{
    QTreeWidgetItem *item = tree->topLevelItem(0);
    for (const QString &label : path) {
        QTreeWidgetItem *next = nullptr;
        for (QTreeWidgetItemIterator it(item); *it && !next; ++it) {
            if (*it != item && (*it)->text(0) == label)
                next = *it;
        }
        if (!(item = next))
            return nullptr;
    }
    return item;
}

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

class TstDesktop : public QObject
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
        auto window = openWindow(m_example);
        QVERIFY(shown(window.get()));
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
        // on OK.
        QAHelp *help = window->editor()->help();
        const QString url = help->getHelpURL();
        QString label;
        const auto typeUrl = [&label](const QString &typed, const QString &button) {
            return [&label, typed, button](QWidget *dialog) {
                for (QLabel *text : dialog->findChildren<QLabel *>())
                    label += text->text();
                auto *field = dialog->findChild<QLineEdit *>(u"help url"_s);
                field->selectAll();
                QTest::keyClicks(field, typed);
                answer(button)(dialog);
            };
        };
        QMenuBar *bar = window->menuBar();
        QAction *settings = nullptr;
        for (QAction *entry : bar->actions())
            settings = entry->text() == u"&Settings"_s ? entry : settings;
        QVERIFY(settings);
        for (const QString &button : {u"Cancel"_s, u"OK"_s}) {
            ModalScript preferences({typeUrl(u"http://help.example/"_s + button, button)});
            auto menu = VmrTest::chooseFromNextMenu(u"&Configure Velmor Editor..."_s);
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(settings).center());
            QTRY_VERIFY(menu->opened);
            // The dialog opens without the menu waiting for it.
            QTRY_COMPARE(preferences.texts().size(), 1);
            VMR_ANSWERED(preferences);
            QTRY_VERIFY(!window->preferencesDialog()->isVisible());
            QCOMPARE(help->getHelpURL(),
                     button == u"OK"_s ? u"http://help.example/OK"_s : url);
        }
        QVERIFY(label.contains(QAEdition::productName()));
        QVERIFY(!label.contains(u"__"_s));

        // Ctrl+Q quits.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(!window->isVisible());
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

QTEST_MAIN(TstDesktop)
#include "tst_desktop.moc"
