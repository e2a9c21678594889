// Nodes far larger than the shipped ports have. Free texts of megabytes: the viewer
// shows at once and takes the rest of the text in parts, writing nothing meanwhile;
// afterwards every edit, however small, leaves VALUE exactly equal to the editor's text,
// as if the whole text had been written each time. Settings tables of thousands of rows
// show every row, in order, bound to its element.

#include "viewers/qafreetext.h"
#include "viewers/qaisviewer.h"
#include "viewers/qavmrtextedit.h"

#include "testutil.h"

#include <QDomDocument>
#include <QPointer>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QtTest>

namespace {

QString longText(int bytes, int seed)
{
    QRandomGenerator random(seed);
    QString text;
    text.reserve(bytes + 100);
    int line = 0;
    while (text.size() < bytes) {
        text += QStringLiteral("    usr_call_%1(&context, \"%2 < %3\");").arg(line).arg(
            random.bounded(1000)).arg(random.bounded(1000));
        // Now and then a long line, an empty one, a tab.
        if (line % 97 == 0)
            text += QString(3000, QLatin1Char('w'));
        if (line % 13 == 0)
            text += QLatin1Char('\n');
        if (line % 7 == 0)
            text += QLatin1Char('\t');
        text += QLatin1Char('\n');
        ++line;
    }
    return text;
}

struct Document
{
    QDomDocument dom;
    QDomElement element;

    explicit Document(const QString &value)
    {
        dom.setContent(QByteArray("<NEWCMDFILE Name=\"large.txt\"><COMMENT/><VALUE/>"
                                  "</NEWCMDFILE>"));
        element = dom.documentElement();
        element.firstChildElement(QStringLiteral("VALUE"))
            .appendChild(dom.createTextNode(value));
    }
    QString value() const { return element.firstChildElement(QStringLiteral("VALUE")).text(); }
};

} // namespace

class TestLargeNodes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void shortTextIsEditableAtOnce();
    void longTextArrivesInPartsWritingNothing();
    void editsKeepValueEqualToTheText();
    void untouchedCharactersStayAsTheyWere();
    void valueChangedBehindTheViewer();
    void deletedWhileLoading();
    void settingsTableOfThousandsOfRows();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestLargeNodes::shortTextIsEditableAtOnce()
{
    Document doc(QStringLiteral("short\ntext"));
    QAFreeText viewer(doc.element, nullptr, nullptr);
    QVERIFY(viewer.isLoaded());
    QVERIFY(!viewer.textEditor()->isReadOnly());
    QCOMPARE(viewer.textEditor()->toPlainText(), QStringLiteral("short\ntext"));
}

void TestLargeNodes::longTextArrivesInPartsWritingNothing()
{
    const QString value = longText(2 * 1024 * 1024, 1);
    Document doc(value);
    QAFreeText viewer(doc.element, nullptr, nullptr);
    viewer.show();
    QAVmrTextEdit *edit = viewer.textEditor();
    // Shown with its first lines, not yet editable.
    QVERIFY(!viewer.isLoaded());
    QVERIFY(edit->isReadOnly());
    QVERIFY(edit->toPlainText().size() < value.size());
    QVERIFY(value.startsWith(edit->toPlainText()));
    QTest::keyClicks(edit, QStringLiteral("lost"));

    QTRY_VERIFY_WITH_TIMEOUT(viewer.isLoaded(), 60000);
    QVERIFY(!edit->isReadOnly());
    QCOMPARE(edit->toPlainText(), value);
    // Loading is no edit: nothing written, nothing to undo, the cursor at the top.
    QCOMPARE(doc.value(), value);
    QVERIFY(!viewer.modified);
    QVERIFY(!edit->document()->isUndoAvailable());
    QCOMPARE(edit->textCursor().position(), 0);
}

void TestLargeNodes::editsKeepValueEqualToTheText()
{
    Document doc(longText(300 * 1024, 2));
    QAFreeText viewer(doc.element, nullptr, nullptr);
    viewer.show();
    QTRY_VERIFY_WITH_TIMEOUT(viewer.isLoaded(), 60000);
    QAVmrTextEdit *edit = viewer.textEditor();
    edit->setFocus();

    QRandomGenerator random(3);
    for (int step = 0; step < 300; ++step) {
        const int length = int(edit->toPlainText().size());
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(random.bounded(length + 1));
        edit->setTextCursor(cursor);
        QString what;
        switch (random.bounded(9)) {
        case 0:
            what = QStringLiteral("type");
            QTest::keyClicks(edit, QStringLiteral("ab<&>"));
            break;
        case 1:
            what = QStringLiteral("backspace");
            QTest::keyClick(edit, Qt::Key_Backspace);
            break;
        case 2:
            what = QStringLiteral("delete");
            QTest::keyClick(edit, Qt::Key_Delete);
            break;
        case 3:
            what = QStringLiteral("new line");
            QTest::keyClick(edit, Qt::Key_Return);
            break;
        case 4:
            what = QStringLiteral("paste lines");
            edit->insertPlainText(QStringLiteral("first\nsecond\n\nfourth"));
            break;
        case 5: {
            what = QStringLiteral("replace a selection");
            cursor.setPosition(qMin(length, cursor.position() + random.bounded(5000)),
                               QTextCursor::KeepAnchor);
            edit->setTextCursor(cursor);
            QTest::keyClicks(edit, QStringLiteral("Z"));
            break;
        }
        case 6:
            what = QStringLiteral("undo");
            edit->undo();
            break;
        case 7:
            what = QStringLiteral("redo");
            edit->redo();
            break;
        default:
            what = QStringLiteral("line separator");
            QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
            break;
        }
        const QString shown = edit->toPlainText();
        if (doc.value() != shown) {
            QFAIL(qPrintable(QStringLiteral("step %1 (%2): VALUE has %3 characters, the "
                                            "editor %4")
                                 .arg(step)
                                 .arg(what)
                                 .arg(doc.value().size())
                                 .arg(shown.size())));
        }
    }
    QVERIFY(viewer.modified);
}

void TestLargeNodes::untouchedCharactersStayAsTheyWere()
{
    // Non-breaking spaces far from the edit are not turned into blanks.
    const QString nbsp(QChar(0x00A0));
    QString value = longText(200 * 1024, 4);
    value.replace(10, 1, nbsp);
    value += nbsp + QStringLiteral("end");
    Document doc(value);
    QAFreeText viewer(doc.element, nullptr, nullptr);
    viewer.show();
    QTRY_VERIFY_WITH_TIMEOUT(viewer.isLoaded(), 60000);
    QAVmrTextEdit *edit = viewer.textEditor();
    edit->setFocus();
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(100 * 1024);
    edit->setTextCursor(cursor);
    QTest::keyClicks(edit, QStringLiteral("x"));
    QCOMPARE(doc.value(), value.left(100 * 1024) + QLatin1Char('x') + value.mid(100 * 1024));
    QCOMPARE(doc.value().count(nbsp), 2);
}

void TestLargeNodes::valueChangedBehindTheViewer()
{
    Document doc(longText(100 * 1024, 5));
    QAFreeText viewer(doc.element, nullptr, nullptr);
    viewer.show();
    QTRY_VERIFY_WITH_TIMEOUT(viewer.isLoaded(), 60000);
    // Something else rewrote VALUE (another node kind sharing the element, a script):
    // the next edit writes the editor's whole text, not a patch at a wrong place.
    doc.element.firstChildElement(QStringLiteral("VALUE")).firstChild().toText().setData(
        QStringLiteral("other"));
    QAVmrTextEdit *edit = viewer.textEditor();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("y"));
    QCOMPARE(doc.value(), edit->toPlainText());

    // And without a text node at all, one is made.
    QDomElement value = doc.element.firstChildElement(QStringLiteral("VALUE"));
    value.removeChild(value.firstChild());
    QTest::keyClicks(edit, QStringLiteral("z"));
    QCOMPARE(doc.value(), edit->toPlainText());
}

void TestLargeNodes::deletedWhileLoading()
{
    Document doc(longText(3 * 1024 * 1024, 6));
    QPointer<QAFreeText> viewer = new QAFreeText(doc.element, nullptr, nullptr);
    viewer->show();
    QCoreApplication::processEvents();
    QVERIFY(!viewer->isLoaded());
    delete viewer;
    // The parts still due must not arrive anywhere.
    QTest::qWait(50);
    QVERIFY(!viewer);
    QCOMPARE(doc.value().size(), qsizetype(longText(3 * 1024 * 1024, 6).size()));
}

void TestLargeNodes::settingsTableOfThousandsOfRows()
{
    const int keys = 6000;
    QString xml = QStringLiteral("<IS_ALL Label=\"Common settings\"><SETTINGS><COMMENT>c</COMMENT>"
                                 "<SRCEXT><VALUE>.c</VALUE></SRCEXT>");
    for (int i = 0; i < keys; ++i)
        xml += QStringLiteral("<INIFIELD Doc=\"ISOTHERS\"><KEY>KEY_%1</KEY><VALUE>value %1</VALUE>"
                              "<COMMENT/></INIFIELD>")
                   .arg(i);
    xml += QStringLiteral("</SETTINGS></IS_ALL>");
    QDomDocument dom;
    QVERIFY(dom.setContent(xml));
    QDomElement element = dom.documentElement();
    QAIsViewer viewer(element, nullptr, nullptr);
    QTreeWidget *table = viewer.table();
    QCOMPARE(table->topLevelItemCount(), keys + 1);
    QCOMPARE(table->topLevelItem(0)->text(0), QStringLiteral("SRCEXT"));
    // Each row in document order, bound to its own element.
    QDomElement row = element.firstChildElement().firstChildElement(QStringLiteral("SRCEXT"));
    for (int i = 0; i <= keys; ++i, row = row.nextSiblingElement()) {
        auto *item = QAIsViewerItem::fromItem(table->topLevelItem(i));
        QVERIFY(item);
        QCOMPARE(item->element(), row);
        if (i > 0) {
            QCOMPARE(item->text(0), QStringLiteral("KEY_%1").arg(i - 1));
            QCOMPARE(item->text(1), QStringLiteral("value %1").arg(i - 1));
        }
    }
}

QTEST_MAIN(TestLargeNodes)
#include "tst_largenodes.moc"

