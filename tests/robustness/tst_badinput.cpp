// Documents the editor must survive: random and truncated bytes, huge attribute values,
// deep nesting, and every known tag in places where it does not belong. Each is opened
// through the main window as the Open command does; it either opens, showing what it
// can, and then saves into a file that opens again with the same content, or it is
// refused with "ERROR: cannot load the file." and nothing of it stays behind.

#include "robustnessutil.h"

#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"
#include "support/qaedition.h"
#include "support/qaxmleditor.h"
#include "viewers/qavmrviewer.h"

#include <QDomDocument>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeWidgetItemIterator>
#include <QtTest>

using namespace VmrRobust;

namespace {

// The content of a document, attributes sorted, without the two root attributes that a
// save writes and without empty names: what must survive a load and a save unchanged. Iterative, for documents
// nested far deeper than the stack would allow.
QString content(const QDomElement &root)
{
    QString out;
    QDomNode node = root;
    while (!node.isNull()) {
        if (node.isElement()) {
            const QDomElement element = node.toElement();
            QStringList attributes;
            const QDomNamedNodeMap map = element.attributes();
            for (int i = 0; i < map.count(); ++i) {
                const QDomAttr a = map.item(i).toAttr();
                if (element == root
                    && (a.name() == QLatin1String("read_only")
                        || a.name() == QLatin1String("generate_in")))
                    continue;
                // Leaving a file node stores its name, an empty one included.
                if (a.name() == QLatin1String("Name") && a.value().isEmpty())
                    continue;
                attributes << a.name() + QLatin1Char('=') + a.value();
            }
            attributes.sort();
            out += QLatin1Char('<') + element.tagName() + QLatin1Char(' ')
                + attributes.join(QLatin1Char(' ')) + QLatin1Char('>');
        } else if (node.isCharacterData()) {
            out += QLatin1Char('[') + node.nodeValue() + QLatin1Char(']');
        }
        if (node.isElement() && node.hasChildNodes()) {
            node = node.firstChild();
            continue;
        }
        // Close the elements that end here, then go on with the next sibling.
        while (!node.isNull()) {
            if (node.isElement())
                out += QStringLiteral("</>");
            if (node == root)
                return out;
            if (!node.nextSibling().isNull()) {
                node = node.nextSibling();
                break;
            }
            node = node.parentNode();
        }
    }
    return out;
}

QString contentOfFile(const QString &path)
{
    QFile file(path);
    QDomDocument document;
    QString error;
    if (!file.open(QIODevice::ReadOnly) || !QAXmlEditor::parseDocument(&file, &document, &error))
        return QStringLiteral("(does not open: ") + error + QLatin1Char(')');
    return content(document.documentElement());
}

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void refusedDocuments_data();
    void refusedDocuments();
    void namesThatWouldNotReopen_data();
    void namesThatWouldNotReopen();
    void mutatedDocuments();
    void truncatedEverywhere();
    void hugeAttributeValues();
    void deepNesting_data();
    void deepNesting();
    void tagsInWrongPlaces();

private:
    /**
     * Opens path in the window after a good document, then checks that the window is
     * either showing the document, every node's viewer included, or back to no document.
     * Returns whether it opened.
     */
    bool openAndCheck(const QString &path);
    /** Saves the open document to a new file and checks that it opens the same. */
    void saveAndReopen(const QString &original);

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QAMainWindowEditor> m_window;
    QString m_good;
    int m_saves = 0;
};

void TestBadInput::initTestCase()
{
    m_home = VmrTest::privateHome();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_window = openWindow();
    m_good = m_dir->filePath(QStringLiteral("good.xvm"));
    QVERIFY(writeFile(m_good, smallDocument(m_dir->path())));
}

void TestBadInput::cleanupTestCase()
{
    m_window.reset();
}

bool TestBadInput::openAndCheck(const QString &path)
{
    Dialogs dialogs;
    m_window->load(m_good, false);
    if (m_window->rootElement().isNull()) {
        qWarning("the good document did not open");
        return false;
    }
    m_window->load(path, false);
    QAVmrEditor *editor = m_window->editor();
    QAVmrEditorTree *tree = editor->tree();

    if (m_window->rootElement().isNull()) {
        // Refused: the previous document is gone and nothing of the new one shows.
        [&]() {
            QCOMPARE(status(m_window.get()), QStringLiteral("ERROR: cannot load the file."));
            QCOMPARE(m_window->windowTitle(), QAEdition::applicationTitle());
            QVERIFY(!saveActionEnabled(m_window.get()));
            QCOMPARE(tree->topLevelItemCount(), 0);
            QVERIFY(!editor->viewer());
            QVERIFY(editor->rootElement().isNull());
        }();
        return false;
    }
    // Opened: every node shows a viewer without trouble.
    [&]() {
        QVERIFY(saveActionEnabled(m_window.get()));
        QCOMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(status(m_window.get()), QStringLiteral("File loaded."));
        int nodes = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            tree->setCurrentItem(*it);
            QCOMPARE(editor->currentNode(), dynamic_cast<QAVmrEditorNode *>(*it));
            if (editor->viewer())
                editor->viewer()->showPage();
            ++nodes;
        }
        QVERIFY(nodes >= 1);
    }();
    return true;
}

void TestBadInput::saveAndReopen(const QString &original)
{
    const QString saved =
        m_dir->filePath(QStringLiteral("saved-%1.xvm").arg(++m_saves));
    Dialogs dialogs(QMessageBox::Yes);
    QVERIFY(m_window->save(saved));
    QVERIFY2(dialogs.seen().isEmpty(), qPrintable(dialogs.texts().join(QLatin1Char('|'))));
    const QString after = contentOfFile(saved);
    const QString before = contentOfFile(original);
    if (after != before) {
        int at = 0;
        while (at < after.size() && at < before.size() && after.at(at) == before.at(at))
            ++at;
        QFAIL(qPrintable(QStringLiteral("the saved document differs at %1:\n saved: %2\n  read: %3")
                             .arg(at)
                             .arg(after.mid(qMax(0, at - 60), 160), before.mid(qMax(0, at - 60), 160))));
    }
}

void TestBadInput::refusedDocuments_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QRandomGenerator random(6);
    for (int i = 0; i < 4; ++i) {
        QByteArray noise(1 + random.bounded(20000), Qt::Uninitialized);
        for (char &c : noise)
            c = char(random.bounded(256));
        QTest::newRow(qPrintable(QStringLiteral("random bytes %1").arg(i))) << noise;
    }
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("only blanks") << QByteArray(4096, ' ');
    QTest::newRow("nul bytes in markup") << QByteArray("<VMR Version=\"V2009\">\0</VMR>", 28);
    QTest::newRow("text only") << QByteArray("This is not XML at all.\n");
    QTest::newRow("two roots") << QByteArray("<VMR Version=\"V2009\"/><VMR/>");
    QTest::newRow("another root") << QByteArray("<PORT Version=\"V2009\"><IS/></PORT>");
    QTest::newRow("entity expansion")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE VMR [<!ENTITY a \"aaaaaaaaaa\">"
                      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
                      "<VMR Version=\"V2009\"><COMMENT>&c;</COMMENT></VMR>");
    QTest::newRow("external entity")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE VMR [<!ENTITY x SYSTEM "
                      "\"file:///etc/passwd\">]><VMR Version=\"V2009\"><COMMENT>&x;"
                      "</COMMENT></VMR>");
    QTest::newRow("undeclared entity")
        << QByteArray("<VMR Version=\"V2009\"><COMMENT>&x;</COMMENT></VMR>");
    // With an external document type the reader keeps such a reference in a value as
    // text; saved, it would become the text "&x;".
    QTest::newRow("undeclared entity in a value")
        << QByteArray("<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n<VMR Version=\"V2009\" Name=\"a&x;b\"/>");
    QTest::newRow("control characters in an entity's name")
        << QByteArray("<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n<VMR Version=\"V2009\" Name=\"a&a\x0b;b\"/>");
    QTest::newRow("document type inside the content")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
                      "<VMR Version=\"V2009\"><BUILD>x<!DOCTYPE VMR SYSTEM \"vmr.dtd\">"
                      "</BUILD></VMR>");
    QTest::newRow("unknown version") << QByteArray("<VMR Version=\"V1999\"/>");
    QTest::newRow("newer version") << QByteArray("<VMR Version=\"V2099\"/>");
}

void TestBadInput::refusedDocuments()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir->filePath(QStringLiteral("refused.xvm"));
    QVERIFY(writeFile(path, bytes));
    QVERIFY(!openAndCheck(path));
}

void TestBadInput::namesThatWouldNotReopen_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // The reader lets these through although XML forbids them, and an instruction it
    // lets through it refuses once the document is saved and read again.
    QTest::newRow("instruction")
        << QByteArray("<VMR Version=\"V2009\"><?p\x16q?><COMMENT>c</COMMENT></VMR>");
    QTest::newRow("attribute") << QByteArray("<VMR Version=\"V2009\" Na\x7fme=\"n\"/>");
}

void TestBadInput::namesThatWouldNotReopen()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir->filePath(QStringLiteral("control.xvm"));
    QVERIFY(writeFile(path, bytes));
    QVERIFY(!openAndCheck(path));
    QVERIFY2(m_window->editor()->lastError().contains(QLatin1String("control character")),
             qPrintable(m_window->editor()->lastError()));
}

void TestBadInput::mutatedDocuments()
{
    // The example port with a few bytes changed, inserted or removed, many times over:
    // whatever comes of it opens or is refused, and what opens saves whole.
    const QByteArray example =
        readFile(VmrTest::orbiskDir() + QStringLiteral("/targets/examples/linux_gcc.xvm"));
    QVERIFY(!example.isEmpty());
    static const char alphabet[] = "<>/=\"'&;![]?- \nVMRx\0\xC3\xA9\xFF";
    QRandomGenerator random(2009);
    int opened = 0;
    int refused = 0;
    for (int round = 0; round < 40; ++round) {
        QByteArray bytes = example;
        const int edits = 1 + random.bounded(4);
        for (int e = 0; e < edits; ++e) {
            const int at = random.bounded(bytes.size());
            const char c = alphabet[random.bounded(int(sizeof alphabet) - 1)];
            switch (random.bounded(3)) {
            case 0:
                bytes[at] = c;
                break;
            case 1:
                bytes.insert(at, c);
                break;
            default:
                bytes.remove(at, 1 + random.bounded(40));
                break;
            }
        }
        const QString path = m_dir->filePath(QStringLiteral("mutant.xvm"));
        QVERIFY(writeFile(path, bytes));
        if (openAndCheck(path)) {
            ++opened;
            saveAndReopen(path);
        } else {
            ++refused;
        }
        if (QTest::currentTestFailed())
            qWarning("round %d failed", round);
        QVERIFY(!QTest::currentTestFailed());
    }
    QCOMPARE(opened + refused, 40);
}

void TestBadInput::truncatedEverywhere()
{
    // A template cut after any number of bytes short of its end is refused, however much
    // of it was well formed.
    const QByteArray whole = readFile(VmrTest::templatePath(QStringLiteral("templatej2se.xvm")));
    QVERIFY(whole.size() > 1000);
    const int size = int(whole.size());
    const int end = int(whole.lastIndexOf('>'));
    for (const int cut : {0, 1, 39, 100, size / 3, size / 2, end - 1, end}) {
        const QString path = m_dir->filePath(QStringLiteral("truncated.xvm"));
        QVERIFY(writeFile(path, whole.left(cut)));
        QVERIFY2(!openAndCheck(path), qPrintable(QStringLiteral("cut at %1").arg(cut)));
    }
}

void TestBadInput::hugeAttributeValues()
{
    // A port name, a label and a documentation anchor of megabytes: shown, edited and
    // saved like short ones.
    const QString hugeName = QString(8 * 1024 * 1024, QLatin1Char('N'));
    const QString hugeLabel = QString(2 * 1024 * 1024, QLatin1Char('L'));
    QByteArray bytes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<VMR Name=\"" + hugeName.toLatin1() + "\" type=\"CCPP\" Version=\"V2009\">"
                       "<COMMENT>c</COMMENT><BUILD Label=\"" + hugeLabel.toLatin1() + "\" Doc=\""
                       + hugeLabel.toLatin1() + "\"><COMMENT/><NEWCMDFILE Name=\""
                       + hugeLabel.toLatin1() + "\"><COMMENT/><VALUE>v</VALUE></NEWCMDFILE>"
                       "</BUILD></VMR>\n";
    const QString path = m_dir->filePath(QStringLiteral("huge.xvm"));
    QVERIFY(writeFile(path, bytes));
    bytes.clear();
    QVERIFY(openAndCheck(path));
    QAVmrEditorTree *tree = m_window->editor()->tree();
    QCOMPARE(tree->topLevelItem(0)->text(0).size(), hugeName.size());
    QCOMPARE(tree->topLevelItem(0)->child(0)->text(0).size(), hugeLabel.size());
    saveAndReopen(path);
}

void TestBadInput::deepNesting_data()
{
    QTest::addColumn<QString>("inside");
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("opens");
    // Four levels lie above the nested elements: VMR, LIBCONF, LIBCONFC, the section.
    const int limit = QAXmlEditor::maxDepth() - 4;
    // Under the root comment no node looks; under a library section the tree does.
    QTest::newRow("unknown tags, 100000 levels") << QStringLiteral("COMMENT") << 100000 << false;
    QTest::newRow("sub-sections, 100000 levels") << QStringLiteral("COMMENT_PAGE") << 100000
                                                 << false;
    QTest::newRow("sub-sections, one level too many") << QStringLiteral("COMMENT_PAGE")
                                                      << limit + 1 << false;
    QTest::newRow("sub-sections, as deep as accepted") << QStringLiteral("COMMENT_PAGE")
                                                       << limit << true;
    QTest::newRow("items, as deep as accepted") << QStringLiteral("ITEM_PAGE") << limit << true;
}

void TestBadInput::deepNesting()
{
    QFETCH(QString, inside);
    QFETCH(int, depth);
    QFETCH(bool, opens);
    QByteArray bytes = "<?xml version=\"1.0\"?>\n<VMR Name=\"deep\" Version=\"V2009\">"
                       "<LIBCONF Label=\"L\"><LIBCONFC><COMPILER_SPECIFICS Label=\"S\">";
    const QByteArray open = "<" + inside.toLatin1() + " Label=\"n\">";
    const QByteArray close = "</" + inside.toLatin1() + ">";
    bytes.reserve(bytes.size() + depth * (open.size() + close.size()) + 100);
    for (int i = 0; i < depth; ++i)
        bytes += open;
    bytes += "deepest";
    for (int i = 0; i < depth; ++i)
        bytes += close;
    bytes += "</COMPILER_SPECIFICS></LIBCONFC></LIBCONF></VMR>\n";
    const QString path = m_dir->filePath(QStringLiteral("deep.xvm"));
    QVERIFY(writeFile(path, bytes));
    QCOMPARE(openAndCheck(path), opens);
    if (opens) {
        saveAndReopen(path);
    } else {
        QVERIFY2(m_window->editor()->lastError().contains(QLatin1String("nested deeper")),
                 qPrintable(m_window->editor()->lastError()));
    }
}

void TestBadInput::tagsInWrongPlaces()
{
    // Every tag of the format, under every kind of element that makes a node or a field:
    // the tree takes what its tables name, the rest stays in the document unchanged.
    QStringList tags;
    {
        const QByteArray example =
            readFile(VmrTest::templatePath(QStringLiteral("templatec.xvm")))
            + readFile(VmrTest::templatePath(QStringLiteral("templatea.xvm")))
            + readFile(VmrTest::templatePath(QStringLiteral("templatej2se.xvm")))
            + readFile(VmrTest::templatePath(QStringLiteral("templatej2me.xvm")));
        const QRegularExpression tag(QStringLiteral("<([A-Z][A-Z0-9_]*)"));
        auto it = tag.globalMatch(QString::fromUtf8(example));
        while (it.hasNext())
            tags << it.next().captured(1);
        tags.removeDuplicates();
        tags.sort();
    }
    QVERIFY(tags.size() > 100);
    QString everyTag;
    for (const QString &t : tags) {
        everyTag += QStringLiteral("<%1 Label=\"%1 label\" Name=\"%1\" Value=\"1\" Defined=\"1\""
                                   " Doc=\"%1\">%1 text</%1><%1/>")
                        .arg(t);
    }
    // The containers: a path of elements, each opened inside the one before.
    const QStringList containers = {
        QString(),
        QStringLiteral("IS"),
        QStringLiteral("IS IS_C"),
        QStringLiteral("IS IS_ALL SETTINGS"),
        QStringLiteral("BUILD"),
        QStringLiteral("BUILD COMPILATION"),
        QStringLiteral("BUILD NEWCMDFILE"),
        QStringLiteral("LIBCONF"),
        QStringLiteral("LIBCONF LIBCONFC"),
        QStringLiteral("LIBCONF LIBCONFC IO"),
        QStringLiteral("LIBCONF LIBCONFC IO SYSTEM_TESTING"),
        QStringLiteral("LIBCONF LIBCONFC IO ITEM_PAGE"),
        QStringLiteral("LIBCONF LIBCONFC IO ITEM_PAGE ITEM"),
        QStringLiteral("LIBCONF LIBCONFC CLOCK"),
        QStringLiteral("LIBCONF LIBCONFC CLOCK CHOICE"),
        QStringLiteral("LIBCONF LIBCONFC CLOCK CHOICE ONGLET"),
        QStringLiteral("LIBCONF LIBCONFC CUSTOMJAVA"),
        QStringLiteral("LIBCONF LIBCONFC CUSTOMJVMPI"),
        QStringLiteral("PARSERCONF"),
        QStringLiteral("PARSERCONF SETTINGS"),
        QStringLiteral("PARSERCONF SETTINGS PC_EDG"),
        QStringLiteral("PARSERCONF SETTINGS PC_ORB"),
    };
    QString body;
    for (const QString &container : containers) {
        const QStringList path = container.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &p : path)
            body += QStringLiteral("<%1 Label=\"%1\">").arg(p);
        if (container.startsWith(QLatin1String("PARSERCONF")) && path.size() == 1)
            body += QStringLiteral("<COMMENT/>");
        body += everyTag;
        for (auto it = path.crbegin(); it != path.crend(); ++it)
            body += QStringLiteral("</%1>").arg(*it);
    }
    const QByteArray bytes = "<?xml version=\"1.0\"?>\n<VMR Name=\"misplaced\" Version=\"V2009\">"
        + body.toUtf8() + "</VMR>\n";
    const QString path = m_dir->filePath(QStringLiteral("misplaced.xvm"));
    QVERIFY(writeFile(path, bytes));
    QVERIFY(openAndCheck(path));
    // Every section was found wherever the document put it.
    QTreeWidgetItem *root = m_window->editor()->tree()->topLevelItem(0);
    QVERIFY(root->childCount() >= 4);
    saveAndReopen(path);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
