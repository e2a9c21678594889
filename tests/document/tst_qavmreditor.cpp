// The editor widget: its layout, the tree it builds from a document, the viewer it shows
// for each node kind and the modified state it reports.

#include "document/qavmreditor.h"

#include "document/qavmreditortree.h"
#include "documenttestutil.h"
#include "testutil.h"
#include "viewers/qaisviewer.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrviewer.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QProcess>
#include <QSplitter>
#include <QTranslator>
#include <QtTest>

using DocTest::outline;

namespace {

QByteArray vmr(const QByteArray &body, const QByteArray &rootAttributes = "Name=\"port\"")
{
    return "<?xml version=\"1.0\"?>\n<VMR " + rootAttributes + " type=\"CCPP\">" + body
        + "</VMR>";
}

} // namespace

class TestQAVmrEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layout();
    void referencePage();
    void refusesForeignRoot();
    void sectionOrder_data();
    void sectionOrder();
    void nodeShapes_data();
    void nodeShapes();
    void unknownElementsStayInDocument();
    void viewerPerKind();
    void orbNodeEditsItsFirstChild();
    void modifiedFolding();
    void leavingRootStoresName();
    void renameAcceptedWhenCurrentChanges();
    void settingsEditAcceptedWhenCurrentChanges();
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

void TestQAVmrEditor::layout()
{
    QAVmrEditor editor(m_dir.path(), nullptr, "central");
    QCOMPARE(editor.objectName(), QStringLiteral("central"));
    QCOMPARE(editor.layout()->objectName(), QStringLiteral("qavmreditor"));
    QCOMPARE(editor.layout()->contentsMargins(), QMargins(0, 0, 0, 0));

    auto *horizontal = editor.findChild<QSplitter *>(QStringLiteral("Horizontal splitter"));
    auto *vertical = editor.findChild<QSplitter *>(QStringLiteral("Vertical splitter"));
    QVERIFY(horizontal && vertical);
    QCOMPARE(horizontal->orientation(), Qt::Horizontal);
    QCOMPARE(vertical->orientation(), Qt::Vertical);
    QCOMPARE(horizontal->count(), 2);
    QCOMPARE(horizontal->widget(0), editor.tree());
    QCOMPARE(horizontal->widget(1), vertical);

    QWidget *docArea = vertical->widget(0);
    QCOMPARE(docArea->objectName(), QStringLiteral("doc Area"));
    QCOMPARE(vertical->widget(1), editor.editionArea());
    QCOMPARE(editor.editionArea()->objectName(), QStringLiteral("Edition Area"));

    auto *genArea = docArea->findChild<QWidget *>(QStringLiteral("gen area"));
    QVERIFY(genArea);
    auto *label = genArea->findChild<QLabel *>();
    auto *field = genArea->findChild<QLineEdit *>();
    QVERIFY(label && field);
    QCOMPARE(label->text(), QStringLiteral("Generate in:"));
    QVERIFY(field->isReadOnly());
    editor.setGenerateIn(QStringLiteral("/ports/target"));
    QCOMPARE(field->text(), QStringLiteral("/ports/target"));
    QCOMPARE(editor.generateIn(), QStringLiteral("/ports/target"));

    QCOMPARE(editor.docBrowser()->objectName(), QStringLiteral("VMR Doc"));
    QCOMPARE(editor.docBrowser()->parentWidget(), docArea);

    QAVmrEditorTree *tree = editor.tree();
    QCOMPARE(tree->objectName(), QStringLiteral("Editor Tree"));
    QCOMPARE(tree->columnCount(), 1);
    QCOMPARE(tree->headerItem()->text(0), QStringLiteral("Names"));
    QVERIFY(tree->isHeaderHidden());
    QVERIFY(!tree->isSortingEnabled());
    QVERIFY(tree->rootIsDecorated());
}

void TestQAVmrEditor::referencePage()
{
    QTemporaryDir docDir;
    QVERIFY(QDir(docDir.path()).mkpath(QStringLiteral("xml")));
    QFile page(docDir.filePath(QStringLiteral("xml/Reference.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><body><a name=\"IS\">Settings</a></body></html>");
    page.close();

    QAVmrEditor editor(docDir.path());
    QCOMPARE(editor.docBrowser()->source(), QUrl::fromLocalFile(page.fileName()));
    QVERIFY(editor.docBrowser()->toPlainText().contains(QStringLiteral("Settings")));
}

void TestQAVmrEditor::refusesForeignRoot()
{
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir, vmr("<IS Label=\"Settings\"/>")));
    QCOMPARE(editor.tree()->topLevelItemCount(), 1);

    editor.clear();
    QDomDocument doc;
    QVERIFY(doc.setContent(QByteArray("<VMRX Name=\"x\"><IS Label=\"Settings\"/></VMRX>")));
    QDomElement root = doc.documentElement();
    QVERIFY(!editor.buildTree(root));
    QCOMPARE(editor.tree()->topLevelItemCount(), 0);
}

void TestQAVmrEditor::sectionOrder_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("expected");

    const QStringList all = {
        QStringLiteral("QARootNode port"),         QStringLiteral("  QAIsNode S"),
        QStringLiteral("  QABuildNode B"),          QStringLiteral("  QALibConfNode L"),
        QStringLiteral("  QAParserNode P"),
    };
    QTest::newRow("document order")
        << QByteArray("<IS Label=\"S\"/><BUILD Label=\"B\"/><LIBCONF Label=\"L\"/>"
                      "<PARSERCONF Label=\"P\"/>")
        << all;
    QTest::newRow("reverse order")
        << QByteArray("<PARSERCONF Label=\"P\"/><LIBCONF Label=\"L\"/><BUILD Label=\"B\"/>"
                      "<IS Label=\"S\"/>")
        << all;
    QTest::newRow("shuffled, with strangers")
        << QByteArray("<COMMENT>c</COMMENT><LIBCONF Label=\"L\"/><FOO/><IS Label=\"S\"/>"
                      "<PARSERCONF Label=\"P\"/><BUILD Label=\"B\"/>")
        << all;
    // Without a build section the library configuration still follows the settings.
    QTest::newRow("no build section")
        << QByteArray("<IS Label=\"S\"/><LIBCONF Label=\"L\"/>")
        << QStringList{QStringLiteral("QARootNode port"), QStringLiteral("  QAIsNode S"),
                       QStringLiteral("  QALibConfNode L")};
    QTest::newRow("parser before settings, nothing between")
        << QByteArray("<PARSERCONF Label=\"P\"/><IS Label=\"S\"/>")
        << QStringList{QStringLiteral("QARootNode port"), QStringLiteral("  QAIsNode S"),
                       QStringLiteral("  QAParserNode P")};
    QTest::newRow("empty root") << QByteArray() << QStringList{QStringLiteral("QARootNode port")};
}

void TestQAVmrEditor::sectionOrder()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, expected);
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir, vmr(body)));
    QCOMPARE(outline(editor.tree()), expected);
}

void TestQAVmrEditor::nodeShapes_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("settings tables, no leading comment")
        << QByteArray("<IS Label=\"S\"><IS_C Label=\"C\"/><IS_WHAT Label=\"x\"/>"
                      "<COMMENT>c</COMMENT><IS_CPP Label=\"C++\"/><IS_ALL Label=\"All\"/></IS>")
        << QStringList{QStringLiteral("QARootNode port"), QStringLiteral("  QAIsNode S"),
                       QStringLiteral("    QAIsSettingsNode C"),
                       QStringLiteral("    QAIsSettingsNode C++"),
                       QStringLiteral("    QAIsSettingsNode All")};

    QTest::newRow("build steps and files in document order")
        << QByteArray("<BUILD Label=\"B\"><COMMENT/><LINK Label=\"Link\"/>"
                      "<NEWCMDFILE Name=\"run.sh\"><COMMENT/><VALUE/></NEWCMDFILE>"
                      "<ASSEMBLER Label=\"Asm\"/><NEWBINFILE Name=\"lib.a\"><COMMENT/>"
                      "</NEWBINFILE><UNKNOWN Label=\"u\"/><VMRPERLFUNC Label=\"Perl\"/></BUILD>")
        << QStringList{QStringLiteral("QARootNode port"), QStringLiteral("  QABuildNode B"),
                       QStringLiteral("    QAPerlNode Link"),
                       QStringLiteral("    QACmdFileNode run.sh"),
                       QStringLiteral("    QAPerlNode Asm"),
                       QStringLiteral("    QABinFileNode lib.a"),
                       QStringLiteral("    QAPerlNode Perl")};

    QTest::newRow("C configuration wins over Ada")
        << QByteArray("<LIBCONF Label=\"L\"><LIBCONFA><TYPES Label=\"Ada types\"/></LIBCONFA>"
                      "<LIBCONFC><TYPES Label=\"C types\"/></LIBCONFC></LIBCONF>")
        << QStringList{QStringLiteral("QARootNode port"), QStringLiteral("  QALibConfNode L"),
                       QStringLiteral("    QALCItemNode C types")};

    QTest::newRow("Ada configuration before Java")
        << QByteArray("<LIBCONF Label=\"L\"><LIBCONFJAVA><HEAP Label=\"J\"/></LIBCONFJAVA>"
                      "<LIBCONFA><HEAP Label=\"A\"/></LIBCONFA></LIBCONF>")
        << QStringList{QStringLiteral("QARootNode port"), QStringLiteral("  QALibConfNode L"),
                       QStringLiteral("    QALCCommentNode A")};

    QTest::newRow("every widget type and the section lists")
        << QByteArray(
               "<LIBCONF Label=\"L\"><LIBCONFC>"
               "<FREE_TEXT_BEFORE_FOR_VMR Label=\"Before\"/>"
               "<MEMCPY Label=\"direct memcpy\"/>"
               "<CLOCK Label=\"Clock\"/>"
               "<IO Label=\"IO\"><COMMENT/>"
               "<SYSTEM_TESTING Label=\"Sys\"><MEMCPY Label=\"Memcpy\"/><DYNTRACK Label=\"Dyn\"/>"
               "<PRIV_OPEN Label=\"not here\"/></SYSTEM_TESTING>"
               "<CLOCK Label=\"Inner clock\"/><SPRINTF Label=\"Sprintf\"/>"
               "<PRIV_OPEN Label=\"Open\"/><FREE_TEXT_ADD_PRIV_IO_ADB Label=\"Adb\"/>"
               "<RESTRICTIONS Label=\"not here\"/></IO>"
               "<RESTRICTIONS Label=\"Restr\"/>"
               "</LIBCONFC></LIBCONF>")
        << QStringList{QStringLiteral("QARootNode port"),
                       QStringLiteral("  QALibConfNode L"),
                       QStringLiteral("    QALCFreeTextNode Before"),
                       QStringLiteral("    QALCChoiceNode Clock"),
                       QStringLiteral("    QALCCommentNode IO"),
                       QStringLiteral("      QALCComment2Node Sys"),
                       QStringLiteral("        QALCChoiceNode Memcpy"),
                       QStringLiteral("        QALCItemNode Dyn"),
                       QStringLiteral("      QALCChoiceNode Inner clock"),
                       QStringLiteral("      QALCItemNode Sprintf"),
                       QStringLiteral("      QALCFctNode Open"),
                       QStringLiteral("      QALCFreeTextNode Adb"),
                       QStringLiteral("    QALCItemNode Restr")};

    QTest::newRow("Java configuration with its custom sections")
        << QByteArray("<LIBCONF Label=\"L\"><LIBCONFJAVA>"
                      "<CUSTOMJAVA Label=\"Java\"><JAVA_IMPORTS Label=\"Imports\"/>"
                      "<JAVA_CLOCK Label=\"JClock\"/><JVMPI_IO Label=\"not here\"/></CUSTOMJAVA>"
                      "<CUSTOMJVMPI Label=\"Jvmpi\"><BUILD_JVMPI Label=\"Build\"/>"
                      "<JVMPI_SOCKET Label=\"Socket\"/><JAVA_IMPORTS Label=\"not here\"/>"
                      "</CUSTOMJVMPI></LIBCONFJAVA></LIBCONF>")
        << QStringList{QStringLiteral("QARootNode port"),
                       QStringLiteral("  QALibConfNode L"),
                       QStringLiteral("    QAJavaCustom Java"),
                       QStringLiteral("      QALCFreeTextNode Imports"),
                       QStringLiteral("      QALCChoiceNode JClock"),
                       QStringLiteral("    QAJvmpiCustom Jvmpi"),
                       QStringLiteral("      QALCFreeTextNode Build"),
                       QStringLiteral("      QALCChoiceNode Socket")};

    QTest::newRow("library section without configuration")
        << QByteArray("<LIBCONF Label=\"L\"><TYPES Label=\"loose\"/></LIBCONF>")
        << QStringList{QStringLiteral("QARootNode port"), QStringLiteral("  QALibConfNode L")};

    QTest::newRow("parser with one child shows nothing")
        << QByteArray("<PARSERCONF Label=\"P\"><PCONTAINER><PCOPP Label=\"x\"/></PCONTAINER>"
                      "</PARSERCONF>")
        << QStringList{QStringLiteral("QARootNode port"), QStringLiteral("  QAParserNode P")};

    // The first child is skipped whatever it is, here a text node.
    QTest::newRow("parser settings")
        << QByteArray("<PARSERCONF Label=\"P\">text<ANY>"
                      "<PC_ORB><ORBFILE Label=\"Orb\"/></PC_ORB>"
                      "<PC_ORB>text<ORBFILE Label=\"hidden\"/></PC_ORB>"
                      "<PC_EDG Label=\"Edg\"><PCOPP Label=\"Opp\"/><PCHPP Label=\"Hpp\"/>"
                      "<STANDARDA83 Label=\"not here\"/></PC_EDG>"
                      "<PCOPP Label=\"Top opp\"/><JTESTXML Label=\"Jtest\"/><PCHPP Label=\"no\"/>"
                      "</ANY></PARSERCONF>")
        << QStringList{QStringLiteral("QARootNode port"),
                       QStringLiteral("  QAParserNode P"),
                       QStringLiteral("    QAPcOrbNode Orb"),
                       QStringLiteral("    QAPcOrbNode "),
                       QStringLiteral("    QAPcEdgNode Edg"),
                       QStringLiteral("      QAPcOtNode Opp"),
                       QStringLiteral("      QAPcOtNode Hpp"),
                       QStringLiteral("    QAPcAdaNode Top opp"),
                       QStringLiteral("    QAPcAdaNode Jtest")};

    QTest::newRow("missing label and name")
        << QByteArray("<IS><IS_C/></IS>")
        << QStringList{QStringLiteral("QARootNode port"), QStringLiteral("  QAIsNode "),
                       QStringLiteral("    QAIsSettingsNode ")};
}

void TestQAVmrEditor::nodeShapes()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, expected);
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir, vmr(body)));
    QCOMPARE(outline(editor.tree()), expected);
    // Every node is open from the start.
    for (QTreeWidgetItem *item : DocTest::allItems(editor.tree())) {
        if (item->childCount() > 0)
            QVERIFY2(item->isExpanded(), qPrintable(item->text(0)));
    }
}

void TestQAVmrEditor::unknownElementsStayInDocument()
{
    QAVmrEditor editor(m_dir.path());
    const QByteArray body = "<FOREIGN a=\"1\"><X/></FOREIGN>"
                            "<BUILD Label=\"B\"><STRANGE>keep</STRANGE>"
                            "<LINK Label=\"Link\"/></BUILD>";
    QVERIFY(DocTest::load(editor, m_dir, vmr(body)));
    // Walking every node and its viewer leaves the document as it was read.
    const QString before = editor.document().toString();
    for (QTreeWidgetItem *item : DocTest::allItems(editor.tree()))
        editor.tree()->setCurrentItem(item);
    editor.tree()->setCurrentItem(editor.tree()->topLevelItem(0));
    const QDomElement root = editor.rootElement();
    QCOMPARE(root.firstChildElement(QStringLiteral("FOREIGN")).attribute(QStringLiteral("a")),
             QStringLiteral("1"));
    QCOMPARE(root.firstChildElement(QStringLiteral("BUILD"))
                 .firstChildElement(QStringLiteral("STRANGE"))
                 .text(),
             QStringLiteral("keep"));
    QCOMPARE(editor.document().toString(), before);
}

void TestQAVmrEditor::viewerPerKind()
{
    const QByteArray body =
        "<IS Label=\"S\"><IS_C Label=\"C\"/></IS>"
        "<BUILD Label=\"B\"><LINK Label=\"Link\"/><NEWCMDFILE Name=\"a.txt\"><COMMENT/><VALUE/>"
        "</NEWCMDFILE><NEWBINFILE Name=\"b.bin\"><COMMENT/><DATA/></NEWBINFILE></BUILD>"
        "<LIBCONF Label=\"L\"><LIBCONFC><FREE_TEXT_AFTER_FOR_VMR Label=\"Free\"/>"
        "<HEAP Label=\"Heap\"><OBSERVATIONS Label=\"Obs\"/><PRIV_INIT Label=\"Init\"/></HEAP>"
        "<TYPES Label=\"Types\"/><THREADS Label=\"Threads\"/><CUSTOMJAVA Label=\"Java\"/>"
        "<CUSTOMJVMPI Label=\"Jvmpi\"/></LIBCONFC></LIBCONF>"
        "<PARSERCONF Label=\"P\"><COMMENT/><C><PC_ORB><F Label=\"Orb\"/></PC_ORB>"
        "<PC_EDG Label=\"Edg\"><PCHPP Label=\"Hpp\"/></PC_EDG><SYSTEMADA95 Label=\"Ada\"/></C>"
        "</PARSERCONF>";
    const QHash<QString, QString> expected = {
        {QStringLiteral("port"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("S"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("C"), QStringLiteral("QAIsViewer")},
        {QStringLiteral("B"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("Link"), QStringLiteral("QAFctViewer")},
        {QStringLiteral("a.txt"), QStringLiteral("QAFreeText")},
        {QStringLiteral("b.bin"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("L"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("Free"), QStringLiteral("QAFreeText")},
        {QStringLiteral("Heap"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("Obs"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("Init"), QStringLiteral("QAFctViewer")},
        {QStringLiteral("Types"), QStringLiteral("QAItemViewer")},
        {QStringLiteral("Threads"), QStringLiteral("QAChoiceViewer")},
        {QStringLiteral("Java"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("Jvmpi"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("P"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("Orb"), QStringLiteral("QAFreeText")},
        {QStringLiteral("Edg"), QStringLiteral("QACommentViewer")},
        {QStringLiteral("Hpp"), QStringLiteral("QAFreeText")},
        {QStringLiteral("Ada"), QStringLiteral("QAFreeText")},
    };

    QAVmrEditor editor(m_dir.path());
    editor.resize(900, 700);
    editor.show();
    QVERIFY(DocTest::load(editor, m_dir, vmr(body)));
    const QList<QTreeWidgetItem *> items = DocTest::allItems(editor.tree());
    QCOMPARE(items.size(), expected.size());
    // Each node, reached by a click as the user would, shows its own kind of viewer in
    // the edition area, and only that one.
    for (QTreeWidgetItem *item : items) {
        const QRect rect = editor.tree()->visualItemRect(item);
        QVERIFY2(rect.isValid(), qPrintable(item->text(0)));
        QTest::mouseClick(editor.tree()->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(editor.tree()->currentItem(), item);
        QCOMPARE(editor.currentNode(), dynamic_cast<QAVmrEditorNode *>(item));
        QVERIFY2(editor.viewer(), qPrintable(item->text(0)));
        QCOMPARE(QString::fromLatin1(editor.viewer()->metaObject()->className()),
                 expected.value(item->text(0)));
        QCOMPARE(editor.viewer()->parentWidget(), editor.editionArea());
        QVERIFY(editor.viewer()->isVisible());
        QCOMPARE(editor.editionArea()->findChildren<QAVmrViewer *>(QString(),
                                                                      Qt::FindDirectChildrenOnly)
                     .size(),
                 1);
    }
}

void TestQAVmrEditor::orbNodeEditsItsFirstChild()
{
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir,
                          vmr("<PARSERCONF Label=\"P\"><COMMENT/><C>"
                              "<PC_ORB><ORBFILE Label=\"Orb\"><VALUE>v</VALUE></ORBFILE></PC_ORB>"
                              "<PC_ORB><!-- none --><ORBFILE Label=\"x\"/></PC_ORB>"
                              "</C></PARSERCONF>")));
    auto *orb =
        dynamic_cast<QAPcOrbNode *>(DocTest::findItem(editor.tree(), QStringLiteral("Orb")));
    QVERIFY(orb);
    QCOMPARE(orb->data().tagName(), QStringLiteral("ORBFILE"));
    editor.tree()->setCurrentItem(orb);
    QVERIFY(editor.viewer());

    // A "PC_ORB" that starts with a comment has no element to edit: no text, no viewer,
    // and the edition area is simply empty.
    QTreeWidgetItem *parser = DocTest::findItem(editor.tree(), QStringLiteral("P"));
    QCOMPARE(parser->childCount(), 2);
    auto *empty = dynamic_cast<QAPcOrbNode *>(parser->child(1));
    QVERIFY(empty);
    QVERIFY(empty->text(0).isEmpty());
    QVERIFY(empty->data().isNull());
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
    QVERIFY(editor.viewer());
    editor.viewer()->modified = true;
    editor.tree()->setCurrentItem(DocTest::findItem(editor.tree(), QStringLiteral("B")));
    QVERIFY(!editor.viewer()->modified);
    QVERIFY(editor.isModified());

    editor.setModified(false);
    QVERIFY(!editor.isModified());
    QVERIFY(!editor.tree()->modified);

    // The editor's own flag is sticky: resetting the tree's flag alone does not clear it.
    editor.tree()->modified = true;
    QVERIFY(editor.isModified());
    editor.tree()->modified = false;
    QVERIFY(editor.isModified());

    editor.setModified(true);
    QVERIFY(editor.tree()->modified);
    QVERIFY(editor.viewer()->modified);
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
    QVERIFY(!root.hasAttribute(QStringLiteral("Name")));
    editor.tree()->setCurrentItem(DocTest::findItem(editor.tree(), QStringLiteral("B")));
    QVERIFY(root.hasAttribute(QStringLiteral("Name")));
    QCOMPARE(root.attribute(QStringLiteral("Name")), QString());
}

void TestQAVmrEditor::renameAcceptedWhenCurrentChanges()
{
    QAVmrEditor editor(m_dir.path());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QVERIFY(DocTest::load(editor, m_dir,
                          vmr("<BUILD Label=\"B\"><LINK Label=\"Link\"/>"
                              "<NEWCMDFILE Name=\"old.txt\">"
                              "<COMMENT/><VALUE/></NEWCMDFILE></BUILD>")));
    QAVmrEditorTree *tree = editor.tree();
    QTreeWidgetItem *file = DocTest::findItem(tree, QStringLiteral("old.txt"));
    tree->setCurrentItem(file);
    editor.setModified(false);
    tree->startEdit();
    QVERIFY(tree->isEditing(file));
    QVERIFY(editor.isModified());

    auto *line = qobject_cast<QLineEdit *>(tree->viewport()->focusWidget());
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("new.txt"));
    // Still being typed: nothing stored yet.
    QCOMPARE(dynamic_cast<QAVmrEditorNode *>(file)->data().attribute(QStringLiteral("Name")),
             QStringLiteral("old.txt"));

    tree->setCurrentItem(DocTest::findItem(tree, QStringLiteral("Link")));
    QVERIFY(!tree->isEditing(file));
    QCOMPARE(file->text(0), QStringLiteral("new.txt"));
    QCOMPARE(dynamic_cast<QAVmrEditorNode *>(file)->data().attribute(QStringLiteral("Name")),
             QStringLiteral("new.txt"));

    // commitEdit, as a save calls it, stores a rename still open on the current node.
    tree->setCurrentItem(file);
    tree->startEdit();
    line = qobject_cast<QLineEdit *>(tree->viewport()->focusWidget());
    QVERIFY(line);
    line->setText(QStringLiteral("saved.txt"));
    editor.commitEdit(dynamic_cast<QAXmlEditorNode *>(tree->currentItem()));
    QVERIFY(!tree->isEditing(file));
    QCOMPARE(dynamic_cast<QAVmrEditorNode *>(file)->data().attribute(QStringLiteral("Name")),
             QStringLiteral("saved.txt"));
}

void TestQAVmrEditor::settingsEditAcceptedWhenCurrentChanges()
{
    QAVmrEditor editor(m_dir.path());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QVERIFY(DocTest::load(editor, m_dir,
                          vmr("<IS Label=\"S\"><IS_C Label=\"C\"><LIST>"
                              "<SRCEXT Doc=\"SRCEXT\"><VALUE>.c</VALUE><COMMENT/></SRCEXT>"
                              "</LIST></IS_C></IS><BUILD Label=\"B\"/>")));
    editor.tree()->setCurrentItem(DocTest::findItem(editor.tree(), QStringLiteral("C")));
    auto *settings = qobject_cast<QAIsViewer *>(editor.viewer());
    QVERIFY(settings);
    auto *row = QAIsViewerItem::fromItem(settings->table()->topLevelItem(0));
    QVERIFY(row);
    settings->table()->setCurrentItem(row);
    row->startRename(1);
    auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral(".cc"));

    // Leaving the node stores the value still being typed in the table.
    editor.tree()->setCurrentItem(DocTest::findItem(editor.tree(), QStringLiteral("B")));
    const QDomElement srcext = editor.rootElement()
                                   .firstChildElement(QStringLiteral("IS"))
                                   .firstChildElement(QStringLiteral("IS_C"))
                                   .firstChildElement()
                                   .firstChildElement(QStringLiteral("SRCEXT"));
    QCOMPARE(srcext.firstChildElement(QStringLiteral("VALUE")).text(), QStringLiteral(".cc"));
    QVERIFY(editor.isModified());
}

void TestQAVmrEditor::labelsAreTranslatedOrShownAsWritten()
{
    QTemporaryDir dir;
    // A translation of one label in the labels' context.
    const QString ts = dir.filePath(QStringLiteral("labels.ts"));
    QFile source(ts);
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
                 "<TS version=\"2.1\" language=\"fr\"><context><name>XVM Labels</name>"
                 "<message><source>Build</source><translation>Construction</translation>"
                 "</message></context></TS>\n");
    source.close();
    const QString lrelease = QLibraryInfo::path(QLibraryInfo::BinariesPath)
        + QStringLiteral("/lrelease");
    const QString qm = dir.filePath(QStringLiteral("labels.qm"));
    if (QProcess::execute(lrelease, {QStringLiteral("-silent"), ts, QStringLiteral("-qm"), qm})
        != 0)
        QSKIP("lrelease is not available");
    QTranslator translator;
    QVERIFY(translator.load(qm));
    QCoreApplication::installTranslator(&translator);

    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir,
                          vmr("<IS Label=\"Settings\"/><BUILD Label=\"Build\"/>"
                              "<LIBCONF Label=\"R\xc3\xa9glages\"/>")));
    QCoreApplication::removeTranslator(&translator);
    // A label outside ASCII shows as written too.
    QVERIFY(DocTest::findItem(editor.tree(), QStringLiteral("R\u00e9glages")));
    QVERIFY(DocTest::findItem(editor.tree(), QStringLiteral("Construction")));
    QVERIFY(DocTest::findItem(editor.tree(), QStringLiteral("Settings")));
    // The element keeps the untranslated label.
    QCOMPARE(editor.rootElement()
                 .firstChildElement(QStringLiteral("BUILD"))
                 .attribute(QStringLiteral("Label")),
             QStringLiteral("Build"));
}

void TestQAVmrEditor::contextMenuRequests()
{
    QAVmrEditor editor(m_dir.path());
    editor.resize(800, 600);
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    QVERIFY(DocTest::load(editor, m_dir,
                          vmr("<IS Label=\"S\"/>"
                              "<BUILD Label=\"B\"><LINK Label=\"Link\"/></BUILD>")));
    QAVmrEditorTree *tree = editor.tree();
    auto request = [tree](const QPoint &pos) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos,
                                tree->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(tree->viewport(), &event);
    };

    // Empty space below the nodes: no menu.
    request(QPoint(5, tree->viewport()->height() - 5));
    QVERIFY(!editor.popupMenu());

    // A node kind without a menu: nothing either, but the node becomes current.
    QTreeWidgetItem *settings = DocTest::findItem(tree, QStringLiteral("S"));
    request(tree->visualItemRect(settings).center());
    QVERIFY(!editor.popupMenu());
    QCOMPARE(tree->currentItem(), settings);

    QTreeWidgetItem *link = DocTest::findItem(tree, QStringLiteral("Link"));
    request(tree->visualItemRect(link).center());
    QPointer<QMenu> menu = editor.popupMenu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->parentWidget(), tree);
    QCOMPARE(tree->currentItem(), link);
    QCOMPARE(DocTest::describeMenu(menu), QStringLiteral("A&ppend>(Ascii File|Binary File)"));

    // A menu is used once: closed, it goes away.
    menu->close();
    QTRY_VERIFY(!menu);

    // "&Rename" chosen with the mouse leaves the name field open for typing.
    QTreeWidgetItem *root = tree->topLevelItem(0);
    request(tree->visualItemRect(root).center());
    menu = editor.popupMenu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QAction *rename = DocTest::menuAction(menu, {QStringLiteral("&Rename")});
    QVERIFY(rename);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(rename).center());
    QTRY_VERIFY(!menu);
    QVERIFY(tree->isEditing(root));
    // The window's focus stays in the name field (the offscreen platform does not give
    // the window its activation back after a popup, so ask the window, not the app).
    auto *line = qobject_cast<QLineEdit *>(editor.focusWidget());
    QVERIFY(line);
    QCOMPARE(line->text(), QStringLiteral("port"));
    line->end(false);
    QTest::keyClicks(line, QStringLiteral("-2"));
    QTest::keyClick(line, Qt::Key_Return);
    QTRY_COMPARE(editor.rootElement().attribute(QStringLiteral("Name")), QStringLiteral("port-2"));
}

void TestQAVmrEditor::clearEmptiesEverything()
{
    QAVmrEditor editor(m_dir.path());
    QVERIFY(DocTest::load(editor, m_dir, vmr("<IS Label=\"S\"/>")));
    QPointer<QAVmrViewer> viewer = editor.viewer();
    QVERIFY(viewer);
    editor.tree()->modified = true;
    editor.clear();
    QVERIFY(!viewer);
    QVERIFY(!editor.viewer());
    QVERIFY(!editor.currentNode());
    QCOMPARE(editor.tree()->topLevelItemCount(), 0);
    QVERIFY(!editor.tree()->modified);
    QVERIFY(editor.document().isNull());
    QVERIFY(editor.rootElement().isNull());
    // A click on a node after a new load works as before.
    QVERIFY(DocTest::load(editor, m_dir, vmr("<IS Label=\"S2\"/><BUILD Label=\"B\"/>")));
    QCOMPARE(editor.tree()->topLevelItem(0)->child(0)->text(0), QStringLiteral("S2"));

    // Emptying the tree by itself also lets go of the nodes and the viewer.
    editor.tree()->setCurrentItem(DocTest::findItem(editor.tree(), QStringLiteral("B")));
    QVERIFY(editor.currentNode());
    editor.tree()->clearTree();
    QVERIFY(!editor.currentNode());
    QVERIFY(!editor.viewer());
    QDomElement root = editor.rootElement();
    QVERIFY(editor.buildTree(root));
    editor.tree()->setCurrentItem(DocTest::findItem(editor.tree(), QStringLiteral("S2")));
    QVERIFY(editor.viewer());
}

void TestQAVmrEditor::areaSizes()
{
    QAVmrEditor editor(m_dir.path());
    editor.resize(800, 620);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setAreaSizes(150, 450);
    const int doc = editor.docAreaSize();
    const int edition = editor.editionAreaSize();
    QVERIFY(doc > 0 && edition > 0);
    QVERIFY2(edition > 2 * doc, qPrintable(QStringLiteral("%1 %2").arg(doc).arg(edition)));
    editor.setAreaSizes(450, 150);
    QVERIFY(editor.docAreaSize() > 2 * editor.editionAreaSize());
}

QTEST_MAIN(TestQAVmrEditor)
#include "tst_qavmreditor.moc"
