// The editor widget: the tree it builds from a document, the viewer it shows for each
// node kind, the modified state it reports and its areas.

#include "document/qavmreditor.h"

#include "document/qavmreditortree.h"
#include "documenttestutil.h"
#include "testutil.h"
#include "viewers/qaisviewer.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrviewer.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTranslator>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray vmr(const QByteArray &body, const QByteArray &rootAttributes = "Name=\"port\"")
{
    return "<?xml version=\"1.0\"?>\n<VMR " + rootAttributes + " type=\"CCPP\">" + body + "</VMR>";
}

QDomElement path(QDomElement e, const QStringList &tags)
{
    for (const QString &tag : tags) e = e.firstChildElement(tag);
    return e;
}

}  // namespace

class TestQAVmrEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void generateInAndReferencePage();
    void refusesForeignRoot();
    void treeShape_data();
    void treeShape();
    void viewerPerKindLeavesDocumentAlone();
    void orbNodeEditsItsFirstChild();
    void modifiedFolding();
    void leavingRootStoresName();
    void pendingEditsStoredWhenCurrentChanges();
    void labelsAreTranslatedOrShownAsWritten();
    void contextMenuRequests();
    void clearEmptiesEverything();
    void areaSizes();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    QTemporaryDir m_dir;
};

void TestQAVmrEditor::initTestCase()
{
    m_home = VmrTest::privateHome();
    QVERIFY(m_dir.isValid());
}

void TestQAVmrEditor::generateInAndReferencePage()
{
    QTemporaryDir docDir;
    QVERIFY(QDir(docDir.path()).mkpath(u"xml"_s));
    QFile page(docDir.filePath(u"xml/Reference.html"_s));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><body><a name=\"IS\">Settings</a></body></html>");
    page.close();

    QAVmrEditor editor(docDir.path());
    QCOMPARE(editor.docBrowser()->source(), QUrl::fromLocalFile(page.fileName()));
    // The page is read once the pane has first been drawn.
    editor.show();
    QTRY_VERIFY(editor.docBrowser()->toPlainText().contains(u"Settings"_s));

    auto *genArea = editor.findChild<QWidget *>(u"gen area"_s);
    QVERIFY(genArea);
    auto *label = genArea->findChild<QLabel *>();
    auto *field = genArea->findChild<QLineEdit *>();
    QVERIFY(label && field);
    QCOMPARE(label->text(), u"Generate in:"_s);
    QVERIFY(field->isReadOnly());
    editor.setGenerateIn(u"/ports/target"_s);
    QCOMPARE(field->text(), u"/ports/target"_s);
}

void TestQAVmrEditor::refusesForeignRoot()
{
    QAVmrEditor editor(m_dir.path());
    QDomDocument doc;
    QVERIFY(doc.setContent(QByteArray("<VMRX Name=\"x\"><IS Label=\"Settings\"/></VMRX>")));
    QDomElement root = doc.documentElement();
    QVERIFY(!editor.buildTree(root));
    QCOMPARE(editor.tree()->topLevelItemCount(), 0);
}

// Outlines are "kind text" lines joined by "|", indented two spaces per level; the root
// line "QARootNode port" is implied.
void TestQAVmrEditor::treeShape_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *body, const char *expected) {
        QTest::newRow(name) << QByteArray(body) << QString::fromLatin1(expected);
    };
    const char *all = "  QAIsNode S|  QABuildNode B|  QALibConfNode L|  QAParserNode P";
    row("reverse order",
        "<PARSERCONF Label=\"P\"/><LIBCONF Label=\"L\"/>"
        "<BUILD Label=\"B\"/><IS Label=\"S\"/>",
        all);
    row("shuffled, with strangers",
        "<COMMENT>c</COMMENT><LIBCONF Label=\"L\"/><FOO/><IS Label=\"S\"/>"
        "<PARSERCONF Label=\"P\"/><BUILD Label=\"B\"/>",
        all);
    row("no build section", "<IS Label=\"S\"/><LIBCONF Label=\"L\"/>",
        "  QAIsNode S|  QALibConfNode L");
    row("parser before settings", "<PARSERCONF Label=\"P\"/><IS Label=\"S\"/>",
        "  QAIsNode S|  QAParserNode P");
    row("empty root", "", "");
    row("settings tables, no leading comment",
        "<IS Label=\"S\"><IS_C Label=\"C\"/><IS_WHAT Label=\"x\"/>"
        "<COMMENT>c</COMMENT><IS_CPP Label=\"C++\"/><IS_ALL Label=\"All\"/></IS>",
        "  QAIsNode S|    QAIsSettingsNode C|    QAIsSettingsNode C++|"
        "    QAIsSettingsNode All");
    row("build steps and files in document order",
        "<BUILD Label=\"B\"><COMMENT/><LINK Label=\"Link\"/>"
        "<NEWCMDFILE Name=\"run.sh\"><COMMENT/><VALUE/></NEWCMDFILE>"
        "<ASSEMBLER Label=\"Asm\"/><NEWBINFILE Name=\"lib.a\"><COMMENT/>"
        "</NEWBINFILE><UNKNOWN Label=\"u\"/><VMRPERLFUNC Label=\"Perl\"/></BUILD>",
        "  QABuildNode B|    QAPerlNode Link|    QACmdFileNode run.sh|"
        "    QAPerlNode Asm|    QABinFileNode lib.a|    QAPerlNode Perl");
    row("C configuration wins over Ada",
        "<LIBCONF Label=\"L\"><LIBCONFA><TYPES Label=\"Ada types\"/></LIBCONFA>"
        "<LIBCONFC><TYPES Label=\"C types\"/></LIBCONFC></LIBCONF>",
        "  QALibConfNode L|    QALCItemNode C types");
    row("Ada configuration before Java",
        "<LIBCONF Label=\"L\"><LIBCONFJAVA><HEAP Label=\"J\"/></LIBCONFJAVA>"
        "<LIBCONFA><HEAP Label=\"A\"/></LIBCONFA></LIBCONF>",
        "  QALibConfNode L|    QALCCommentNode A");
    row("every widget type and the section lists",
        "<LIBCONF Label=\"L\"><LIBCONFC><FREE_TEXT_BEFORE_FOR_VMR Label=\"Before\"/>"
        "<MEMCPY Label=\"direct memcpy\"/><CLOCK Label=\"Clock\"/>"
        "<IO Label=\"IO\"><COMMENT/><SYSTEM_TESTING Label=\"Sys\">"
        "<MEMCPY Label=\"Memcpy\"/><DYNTRACK Label=\"Dyn\"/>"
        "<PRIV_OPEN Label=\"not here\"/></SYSTEM_TESTING>"
        "<CLOCK Label=\"Inner clock\"/><SPRINTF Label=\"Sprintf\"/>"
        "<PRIV_OPEN Label=\"Open\"/><FREE_TEXT_ADD_PRIV_IO_ADB Label=\"Adb\"/>"
        "<RESTRICTIONS Label=\"not here\"/></IO><RESTRICTIONS Label=\"Restr\"/>"
        "</LIBCONFC></LIBCONF>",
        "  QALibConfNode L|    QALCFreeTextNode Before|    QALCChoiceNode Clock|"
        "    QALCCommentNode IO|      QALCComment2Node Sys|"
        "        QALCChoiceNode Memcpy|        QALCItemNode Dyn|"
        "      QALCChoiceNode Inner clock|      QALCItemNode Sprintf|"
        "      QALCFctNode Open|      QALCFreeTextNode Adb|"
        "    QALCItemNode Restr");
    row("Java configuration with its custom sections",
        "<LIBCONF Label=\"L\"><LIBCONFJAVA>"
        "<CUSTOMJAVA Label=\"Java\"><JAVA_IMPORTS Label=\"Imports\"/>"
        "<JAVA_CLOCK Label=\"JClock\"/><JVMPI_IO Label=\"not here\"/></CUSTOMJAVA>"
        "<CUSTOMJVMPI Label=\"Jvmpi\"><BUILD_JVMPI Label=\"Build\"/>"
        "<JVMPI_SOCKET Label=\"Socket\"/><JAVA_IMPORTS Label=\"not here\"/>"
        "</CUSTOMJVMPI></LIBCONFJAVA></LIBCONF>",
        "  QALibConfNode L|    QAJavaCustom Java|      QALCFreeTextNode Imports|"
        "      QALCChoiceNode JClock|    QAJvmpiCustom Jvmpi|"
        "      QALCFreeTextNode Build|      QALCChoiceNode Socket");
    row("library section without configuration",
        "<LIBCONF Label=\"L\"><TYPES Label=\"loose\"/></LIBCONF>", "  QALibConfNode L");
    row("parser with one child shows nothing",
        "<PARSERCONF Label=\"P\"><PCONTAINER><PCOPP Label=\"x\"/></PCONTAINER>"
        "</PARSERCONF>",
        "  QAParserNode P");
    // The first child is skipped whatever it is, here a text node.
    row("parser settings",
        "<PARSERCONF Label=\"P\">text<ANY><PC_ORB><ORBFILE Label=\"Orb\"/></PC_ORB>"
        "<PC_ORB>text<ORBFILE Label=\"hidden\"/></PC_ORB>"
        "<PC_EDG Label=\"Edg\"><PCOPP Label=\"Opp\"/><PCHPP Label=\"Hpp\"/>"
        "<STANDARDA83 Label=\"not here\"/></PC_EDG><PCOPP Label=\"Top opp\"/>"
        "<JTESTXML Label=\"Jtest\"/><PCHPP Label=\"no\"/></ANY></PARSERCONF>",
        "  QAParserNode P|    QAPcOrbNode Orb|    QAPcOrbNode |"
        "    QAPcEdgNode Edg|      QAPcOtNode Opp|      QAPcOtNode Hpp|"
        "    QAPcAdaNode Top opp|    QAPcAdaNode Jtest");
    row("missing label and name", "<IS><IS_C/></IS>", "  QAIsNode |    QAIsSettingsNode ");
}

void TestQAVmrEditor::treeShape()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, expected);
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir, vmr(body)));
    QCOMPARE(DocTest::outline(editor.tree()).join(QLatin1Char('|')),
             u"QARootNode port"_s + (expected.isEmpty() ? QString() : u"|"_s + expected));
    // Every node is open from the start.
    for (QTreeWidgetItem *item : DocTest::allItems(editor.tree()))
        QVERIFY2(item->childCount() == 0 || item->isExpanded(), qPrintable(item->text(0)));
}

void TestQAVmrEditor::viewerPerKindLeavesDocumentAlone()
{
    const QByteArray body =
        "<FOREIGN a=\"1\"><X/></FOREIGN><IS Label=\"S\"><IS_C Label=\"C\"/></IS>"
        "<BUILD Label=\"B\"><STRANGE>keep</STRANGE><LINK Label=\"Link\"/>"
        "<NEWCMDFILE Name=\"a.txt\"><COMMENT/><VALUE/></NEWCMDFILE>"
        "<NEWBINFILE Name=\"b.bin\"><COMMENT/><DATA/></NEWBINFILE></BUILD>"
        "<LIBCONF Label=\"L\"><LIBCONFC><FREE_TEXT_AFTER_FOR_VMR Label=\"Free\"/>"
        "<HEAP Label=\"Heap\"><OBSERVATIONS Label=\"Obs\"/><PRIV_INIT Label=\"Init\"/></HEAP>"
        "<TYPES Label=\"Types\"/><THREADS Label=\"Threads\"/><CUSTOMJAVA Label=\"Java\"/>"
        "<CUSTOMJVMPI Label=\"Jvmpi\"/></LIBCONFC></LIBCONF>"
        "<PARSERCONF Label=\"P\"><COMMENT/><C><PC_ORB><F Label=\"Orb\"/></PC_ORB>"
        "<PC_EDG Label=\"Edg\"><PCHPP Label=\"Hpp\"/></PC_EDG><SYSTEMADA95 Label=\"Ada\"/></C>"
        "</PARSERCONF>";
    QAVmrEditor editor(m_dir.path());
    editor.resize(900, 700);
    editor.show();
    QVERIFY(DocTest::load(editor, m_dir, vmr(body)));
    const QString before = editor.document().toString();
    QVERIFY(before.contains(u"<FOREIGN a=\"1\">"_s));
    QVERIFY(before.contains(u"<STRANGE>keep</STRANGE>"_s));
    const QList<QTreeWidgetItem *> items = DocTest::allItems(editor.tree());
    QCOMPARE(items.size(), 21);
    // Each node, clicked as the user would, shows its own kind of viewer in the edition
    // area, and only that one.
    for (QTreeWidgetItem *item : items) {
        const QRect rect = editor.tree()->visualItemRect(item);
        QVERIFY2(rect.isValid(), qPrintable(item->text(0)));
        QTest::mouseClick(editor.tree()->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(editor.currentNode(), dynamic_cast<QAVmrEditorNode *>(item));
        QVERIFY2(editor.viewer(), qPrintable(item->text(0)));
        QCOMPARE(QString::fromLatin1(editor.viewer()->metaObject()->className()),
                 DocTest::viewerOfKind(DocTest::kindOf(item)));
        QVERIFY(editor.viewer()->isVisible());
        QCOMPARE(editor.editionArea()->findChildren<QAVmrViewer *>(QString(),
                                                                   Qt::FindDirectChildrenOnly),
                 QList<QAVmrViewer *>{editor.viewer()});
    }
    editor.tree()->setCurrentItem(editor.tree()->topLevelItem(0));
    // Walking every node and its viewer leaves the document as it was read.
    QCOMPARE(editor.document().toString(), before);
}

void TestQAVmrEditor::orbNodeEditsItsFirstChild()
{
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir,
                          vmr("<PARSERCONF Label=\"P\"><COMMENT/><C>"
                              "<PC_ORB><ORBFILE Label=\"Orb\"><VALUE>v</VALUE></ORBFILE></PC_ORB>"
                              "<PC_ORB><!-- none --><ORBFILE Label=\"x\"/></PC_ORB>"
                              "</C></PARSERCONF>")));
    QTreeWidgetItem *parser = DocTest::findItem(editor.tree(), u"P"_s);
    QCOMPARE(parser->childCount(), 2);
    auto *orb = dynamic_cast<QAPcOrbNode *>(parser->child(0));
    QVERIFY(orb);
    QCOMPARE(orb->data().tagName(), u"ORBFILE"_s);
    editor.tree()->setCurrentItem(orb);
    QVERIFY(editor.viewer());
    // A "PC_ORB" that starts with a comment has no element to edit: no text, no viewer.
    auto *empty = dynamic_cast<QAPcOrbNode *>(parser->child(1));
    QVERIFY(empty && empty->text(0).isEmpty() && empty->data().isNull());
    editor.tree()->setCurrentItem(empty);
    QVERIFY(!editor.viewer());
    QVERIFY(!editor.isModified());
}

void TestQAVmrEditor::modifiedFolding()
{
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir,
                          vmr("<IS Label=\"S\"><IS_C Label=\"C\"/></IS><BUILD Label=\"B\"/>")));
    QVERIFY(!editor.isModified());
    // A viewer that wrote and is then replaced still counts.
    editor.viewer()->modified = true;
    editor.tree()->setCurrentItem(DocTest::findItem(editor.tree(), u"B"_s));
    QVERIFY(!editor.viewer()->modified);
    QVERIFY(editor.isModified());
    editor.setModified(false);
    QVERIFY(!editor.isModified());
    // The editor's own flag is sticky: resetting the tree's flag alone does not clear it.
    editor.tree()->modified = true;
    QVERIFY(editor.isModified());
    editor.tree()->modified = false;
    QVERIFY(editor.isModified());
    editor.setModified(true);
    QVERIFY(editor.tree()->modified && editor.viewer()->modified);
    editor.setModified(false);
    QVERIFY(!editor.viewer()->modified);
    QVERIFY(!editor.isModified());
}

void TestQAVmrEditor::leavingRootStoresName()
{
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir, vmr("<BUILD Label=\"B\"/>", "Version=\"V2009\"")));
    const QDomElement root = editor.rootElement();
    QCOMPARE(editor.tree()->topLevelItem(0)->text(0), QString());
    // Building the tree adds nothing to the document.
    QVERIFY(!root.hasAttribute(u"Name"_s));
    editor.tree()->setCurrentItem(DocTest::findItem(editor.tree(), u"B"_s));
    QVERIFY(root.hasAttribute(u"Name"_s));
    QCOMPARE(root.attribute(u"Name"_s), QString());
}

void TestQAVmrEditor::pendingEditsStoredWhenCurrentChanges()
{
    QAVmrEditor editor(m_dir.path());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QVERIFY(DocTest::load(editor, m_dir,
                          vmr("<IS Label=\"S\"><IS_C Label=\"C\"><LIST>"
                              "<SRCEXT Doc=\"SRCEXT\"><VALUE>.c</VALUE><COMMENT/></SRCEXT>"
                              "</LIST></IS_C></IS><BUILD Label=\"B\"><LINK Label=\"Link\"/>"
                              "<NEWCMDFILE Name=\"old.txt\"><COMMENT/><VALUE/></NEWCMDFILE>"
                              "</BUILD>")));
    QAVmrEditorTree *tree = editor.tree();
    const auto nameOf = [](QTreeWidgetItem *item) {
        return dynamic_cast<QAVmrEditorNode *>(item)->data().attribute(u"Name"_s);
    };
    // A rename still being typed is stored when another node becomes current.
    QTreeWidgetItem *file = DocTest::findItem(tree, u"old.txt"_s);
    tree->setCurrentItem(file);
    tree->startEdit();
    auto *line = qobject_cast<QLineEdit *>(tree->viewport()->focusWidget());
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, u"new.txt"_s);
    QCOMPARE(nameOf(file), u"old.txt"_s);
    tree->setCurrentItem(DocTest::findItem(tree, u"Link"_s));
    QVERIFY(!tree->isEditing(file));
    QCOMPARE(file->text(0), u"new.txt"_s);
    QCOMPARE(nameOf(file), u"new.txt"_s);

    // So is a value still being typed in the settings table.
    tree->setCurrentItem(DocTest::findItem(tree, u"C"_s));
    editor.setModified(false);
    auto *settings = qobject_cast<QAIsViewer *>(editor.viewer());
    QVERIFY(settings);
    auto *row = QAIsViewerItem::fromItem(settings->table()->topLevelItem(0));
    QVERIFY(row);
    settings->table()->setCurrentItem(row);
    row->startRename(1);
    line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, u".cc"_s);
    tree->setCurrentItem(DocTest::findItem(tree, u"B"_s));
    QCOMPARE(path(editor.rootElement(), {u"IS"_s, u"IS_C"_s, QString(), u"SRCEXT"_s, u"VALUE"_s})
                 .text(),
             u".cc"_s);
    QVERIFY(editor.isModified());
}

void TestQAVmrEditor::labelsAreTranslatedOrShownAsWritten()
{
    QTemporaryDir dir;
    const QString ts = dir.filePath(u"labels.ts"_s);
    QFile source(ts);
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
        "<TS version=\"2.1\" language=\"fr\"><context><name>XVM Labels</name>"
        "<message><source>Build</source><translation>Construction</translation>"
        "</message></context></TS>\n");
    source.close();
    const QString qm = dir.filePath(u"labels.qm"_s);
    if (QProcess::execute(QLibraryInfo::path(QLibraryInfo::BinariesPath) + u"/lrelease"_s,
                          {u"-silent"_s, ts, u"-qm"_s, qm}) != 0)
        QSKIP("lrelease is not available");
    QTranslator translator;
    QVERIFY(translator.load(qm));
    QCoreApplication::installTranslator(&translator);
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir,
                          vmr("<IS Label=\"Settings\"/><BUILD Label=\"Build\"/>"
                              "<LIBCONF Label=\"R\xc3\xa9glages\"/>")));
    QCoreApplication::removeTranslator(&translator);
    // Labels without a translation, outside ASCII too, show as written.
    QVERIFY(DocTest::findItem(editor.tree(), u"R\u00e9glages"_s));
    QVERIFY(DocTest::findItem(editor.tree(), u"Construction"_s));
    QVERIFY(DocTest::findItem(editor.tree(), u"Settings"_s));
    // The element keeps the untranslated label.
    QCOMPARE(editor.rootElement().firstChildElement(u"BUILD"_s).attribute(u"Label"_s), u"Build"_s);
}

void TestQAVmrEditor::contextMenuRequests()
{
    QAVmrEditor editor(m_dir.path());
    editor.resize(800, 600);
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    QVERIFY(DocTest::load(
        editor, m_dir, vmr("<IS Label=\"S\"/><BUILD Label=\"B\"><LINK Label=\"Link\"/></BUILD>")));
    QAVmrEditorTree *tree = editor.tree();
    const auto request = [tree](QTreeWidgetItem *item) {
        const QPoint pos =
            item ? tree->visualItemRect(item).center() : QPoint(5, tree->viewport()->height() - 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, tree->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(tree->viewport(), &event);
    };
    // Empty space below the nodes: no menu.
    request(nullptr);
    QVERIFY(!editor.popupMenu());
    // A node kind without a menu: nothing either, but the node becomes current.
    QTreeWidgetItem *settings = DocTest::findItem(tree, u"S"_s);
    request(settings);
    QVERIFY(!editor.popupMenu());
    QCOMPARE(tree->currentItem(), settings);

    QTreeWidgetItem *link = DocTest::findItem(tree, u"Link"_s);
    request(link);
    QPointer<QMenu> menu = editor.popupMenu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(tree->currentItem(), link);
    // A menu is used once: closed, it goes away.
    menu->close();
    QTRY_VERIFY(!menu);

    // "&Rename" chosen with the mouse leaves the name field open for typing.
    QTreeWidgetItem *root = tree->topLevelItem(0);
    request(root);
    menu = editor.popupMenu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QAction *rename = DocTest::menuAction(menu, {u"&Rename"_s});
    QVERIFY(rename);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(rename).center());
    QTRY_VERIFY(!menu);
    QVERIFY(tree->isEditing(root));
    // The window's focus stays in the name field (the offscreen platform does not give
    // the window its activation back after a popup, so ask the window, not the app).
    auto *line = qobject_cast<QLineEdit *>(editor.focusWidget());
    QVERIFY(line);
    QCOMPARE(line->text(), u"port"_s);
    line->end(false);
    QTest::keyClicks(line, u"-2"_s);
    QTest::keyClick(line, Qt::Key_Return);
    QTRY_COMPARE(editor.rootElement().attribute(u"Name"_s), u"port-2"_s);
}

void TestQAVmrEditor::clearEmptiesEverything()
{
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir, vmr("<IS Label=\"S\"/>")));
    QPointer<QAVmrViewer> viewer = editor.viewer();
    QVERIFY(viewer);
    editor.tree()->modified = true;
    editor.clear();
    QVERIFY(!viewer && !editor.viewer() && !editor.currentNode());
    QCOMPARE(editor.tree()->topLevelItemCount(), 0);
    QVERIFY(!editor.tree()->modified);
    QVERIFY(editor.document().isNull() && editor.rootElement().isNull());
    // A click on a node after a new load works as before.
    QVERIFY(DocTest::load(editor, m_dir, vmr("<IS Label=\"S2\"/><BUILD Label=\"B\"/>")));
    QCOMPARE(editor.tree()->topLevelItem(0)->child(0)->text(0), u"S2"_s);

    // Emptying the tree by itself also lets go of the nodes and the viewer.
    editor.tree()->setCurrentItem(DocTest::findItem(editor.tree(), u"B"_s));
    QVERIFY(editor.currentNode());
    editor.tree()->clearTree();
    QVERIFY(!editor.currentNode() && !editor.viewer());
    QDomElement root = editor.rootElement();
    QVERIFY(editor.buildTree(root));
    editor.tree()->setCurrentItem(DocTest::findItem(editor.tree(), u"S2"_s));
    QVERIFY(editor.viewer());
}

void TestQAVmrEditor::areaSizes()
{
    QAVmrEditor editor(m_dir.path());
    editor.resize(800, 620);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setAreaSizes(150, 450);
    QVERIFY(editor.docAreaSize() > 0);
    QVERIFY(editor.editionAreaSize() > 2 * editor.docAreaSize());
    editor.setAreaSizes(450, 150);
    QVERIFY(editor.editionAreaSize() > 0);
    QVERIFY(editor.docAreaSize() > 2 * editor.editionAreaSize());
}

QTEST_MAIN(TestQAVmrEditor)
#include "tst_qavmreditor.moc"
