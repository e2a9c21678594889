// The shipped templates: each loads into a full tree whose every node can be selected
// and shows the viewer of its kind.

#include "document/qavmreditor.h"

#include "document/qavmreditortree.h"
#include "documenttestutil.h"
#include "testutil.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrviewer.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestTemplates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyNodeShowsItsViewer_data();
    void everyNodeShowsItsViewer();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestTemplates::initTestCase()
{
    m_home = VmrTest::privateHome();
}

void TestTemplates::everyNodeShowsItsViewer_data()
{
    QTest::addColumn<QString>("path");
    const QDir xml(VmrTest::orbiskDir() + u"/targets/xml"_s);
    const QStringList templates = xml.entryList({u"template*.xvm"_s}, QDir::Files);
    if (templates.isEmpty()) QSKIP("The installation has no templates");
    for (const QString &name : templates) QTest::newRow(qPrintable(name)) << xml.filePath(name);
}

void TestTemplates::everyNodeShowsItsViewer()
{
    QFETCH(QString, path);
    QAVmrEditor editor(VmrTest::orbiskDir() + u"/targets"_s);
    editor.resize(1000, 800);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QDomElement root = editor.getRootElement(path);
    QVERIFY2(!root.isNull(), qPrintable(editor.lastError()));
    QVERIFY(editor.buildTree(root));
    QAVmrEditorTree *tree = editor.tree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    // A template fills every section of its language family.
    const QList<QTreeWidgetItem *> items = DocTest::allItems(tree);
    QVERIFY2(items.size() > 10, qPrintable(QString::number(items.size())));
    QVERIFY(tree->topLevelItem(0)->childCount() >= 3);

    QFile page(VmrTest::orbiskDir() + u"/targets/xml/Reference.html"_s);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString reference = QString::fromUtf8(page.readAll());
    const QString before = editor.document().toString();
    for (QTreeWidgetItem *item : items) {
        auto *node = dynamic_cast<QAVmrEditorNode *>(item);
        // Every node's documentation anchor exists on the reference page.
        const QString anchor = node->data().attribute(u"Doc"_s);
        QVERIFY2(anchor.isEmpty() ||
                     reference.contains(u"name=\""_s + anchor + QLatin1Char('"')) ||
                     reference.contains(u"id=\""_s + anchor + QLatin1Char('"')),
                 qPrintable(anchor));
        const QString kind = DocTest::kindOf(item);
        QVERIFY2(kind != QLatin1String("?"), qPrintable(item->text(0)));
        tree->setCurrentItem(item);
        tree->scrollToItem(item);
        QCOMPARE(editor.currentNode(), node);
        if (node->data().isNull()) {
            QVERIFY(!editor.viewer());
            continue;
        }
        QVERIFY2(editor.viewer(), qPrintable(item->text(0)));
        QCOMPARE(QString::fromLatin1(editor.viewer()->metaObject()->className()),
                 DocTest::viewerOfKind(kind));
        editor.nodeClicked();
        // Section and label nodes have a readable text in the tree.
        QVERIFY2(!item->text(0).isEmpty() || kind == QLatin1String("QARootNode") ||
                     kind == QLatin1String("QAPcOrbNode"),
                 qPrintable(kind));
    }
    // Looking is not editing: no viewer wrote into the document.
    QCOMPARE(editor.document().toString(), before);
    QVERIFY(!editor.isModified());
}

QTEST_MAIN(TestTemplates)
#include "tst_templates.moc"
