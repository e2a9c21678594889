// The viewer base's child-text helpers, the field widgets and the macro widgets of item
// and choice pages, driven through real widgets on small documents.

#include "testutil.h"
#include "viewers/qafieldwidgets.h"
#include "viewers/qamacrowidgets.h"
#include "viewers/qavmrviewer.h"

#include <QDomDocument>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QDomDocument parse(const QString &xml)
{
    QDomDocument doc;
    QString error;
    if (!doc.setContent(xml, &error))
        qFatal("bad test document: %s", qPrintable(error));
    return doc;
}

QString serialised(const QDomNode &node)
{
    QString out;
    QTextStream stream(&out);
    node.save(stream, -1);
    return out;
}

// Everything a test records from a macro, in the order it happened.
struct MacroLog
{
    QStringList events;
    QList<QDomElement> pressed;
};

template<typename Macro>
void watch(Macro *macro, MacroLog *log)
{
    QObject::connect(macro, &Macro::isPressed, macro, [log](QDomElement &e) {
        log->events << QStringLiteral("isPressed");
        log->pressed << e;
    });
    QObject::connect(macro, &Macro::itemModified, macro,
                     [log]() { log->events << QStringLiteral("itemModified"); });
}

} // namespace

class TestFields : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }

    void childTextReadsFirstMatchingText_data();
    void childTextReadsFirstMatchingText();
    void setChildTextAddsThenReplacesTextNode();
    void setChildTextWritesOnlyFirstOfTwo();
    void setChildTextCreatesMissingChild();
    void depthTwoNeedsElementFirstChild();
    void labelsKeepNonLatinText();

    void tabAndClickReportEntry();
    void programFocusReportsOnce();
    void textEditReportsEntry();

    void textMacroShowsAndWritesValue();
    void textMacroWithoutValueKeepsTyping();
    void textMacroClickOnCaptionSelects();
    void tabIntoTextMacroReportsElement();
    void binaryMacroState_data();
    void binaryMacroState();
    void binaryMacroToggleWrites();
    void optionalMacroDisabledUntilDefined();
    void optionalMacroTextAndUnknownDefined();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestFields::childTextReadsFirstMatchingText_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("depth");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << "<E><COMMENT>hello</COMMENT></E>"
                           << "COMMENT" << 1 << "hello";
    QTest::newRow("empty element") << "<E><COMMENT/></E>"
                                   << "COMMENT" << 1 << "";
    QTest::newRow("missing") << "<E><VALUE>v</VALUE></E>"
                             << "COMMENT" << 1 << "";
    QTest::newRow("first of two") << "<E><VALUE>one</VALUE><VALUE>two</VALUE></E>"
                                  << "VALUE" << 1 << "one";
    QTest::newRow("first child not text") << "<E><VALUE><B>x</B>tail</VALUE></E>"
                                          << "VALUE" << 1 << "";
    QTest::newRow("after other nodes") << "<E>lead<!--c--><X/><VALUE>v</VALUE></E>"
                                       << "VALUE" << 1 << "v";
    QTest::newRow("depth 2") << "<E><C><VALUE>deep</VALUE></C><VALUE>top</VALUE></E>"
                             << "VALUE" << 2 << "deep";
    QTest::newRow("depth 2 only first child")
        << "<E><C/><D><VALUE>second</VALUE></D></E>"
        << "VALUE" << 2 << "";
    QTest::newRow("depth 2 text first") << "<E>text<C><VALUE>deep</VALUE></C></E>"
                                        << "VALUE" << 2 << "";
    QTest::newRow("cdata") << "<E><VALUE><![CDATA[a < b]]></VALUE></E>"
                           << "VALUE" << 1 << "a < b";
}

void TestFields::childTextReadsFirstMatchingText()
{
    QFETCH(QString, xml);
    QFETCH(QString, tag);
    QFETCH(int, depth);
    QFETCH(QString, expected);
    const QDomDocument doc = parse(xml);
    const QString text = QAVmrViewer::childText(tag, doc.documentElement(), depth);
    QCOMPARE(text, expected);
    QVERIFY(!text.isNull());
}

void TestFields::setChildTextAddsThenReplacesTextNode()
{
    QDomDocument doc = parse(QStringLiteral("<E><COMMENT/><VALUE>v</VALUE></E>"));
    QDomElement e = doc.documentElement();
    QAVmrViewer::setChildText(QStringLiteral("first"), QStringLiteral("COMMENT"), e);
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e), QStringLiteral("first"));
    QAVmrViewer::setChildText(QStringLiteral("second"), QStringLiteral("COMMENT"), e);
    QCOMPARE(serialised(e),
             QStringLiteral("<E><COMMENT>second</COMMENT><VALUE>v</VALUE></E>"));

    // A comment whose first child is markup gains a text that reads back.
    QDomDocument marked = parse(QStringLiteral("<E><COMMENT><B/></COMMENT></E>"));
    QDomElement m = marked.documentElement();
    QAVmrViewer::setChildText(QStringLiteral("note"), QStringLiteral("COMMENT"), m);
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), m), QStringLiteral("note"));
    QCOMPARE(m.firstChildElement().childNodes().count(), 2);
}

void TestFields::setChildTextWritesOnlyFirstOfTwo()
{
    QDomDocument doc = parse(QStringLiteral("<E><VALUE>one</VALUE><VALUE>two</VALUE></E>"));
    QDomElement e = doc.documentElement();
    QAVmrViewer::setChildText(QStringLiteral("new"), QStringLiteral("VALUE"), e);
    QCOMPARE(serialised(e), QStringLiteral("<E><VALUE>new</VALUE><VALUE>two</VALUE></E>"));
}

void TestFields::setChildTextCreatesMissingChild()
{
    QDomDocument doc = parse(QStringLiteral("<E><COMMENT>c</COMMENT></E>"));
    QDomElement e = doc.documentElement();
    QAVmrViewer::setChildText(QStringLiteral("typed"), QStringLiteral("VALUE"), e);
    QCOMPARE(serialised(e),
             QStringLiteral("<E><COMMENT>c</COMMENT><VALUE>typed</VALUE></E>"));
    QAVmrViewer::setChildText(QStringLiteral("again"), QStringLiteral("VALUE"), e);
    QCOMPARE(e.elementsByTagName(QStringLiteral("VALUE")).count(), 1);
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("VALUE"), e), QStringLiteral("again"));
}

void TestFields::depthTwoNeedsElementFirstChild()
{
    QDomDocument doc = parse(QStringLiteral("<E>text<C><VALUE>deep</VALUE></C></E>"));
    QDomElement e = doc.documentElement();
    const QString before = serialised(e);
    // There is no element to write below, so nothing is created anywhere.
    QAVmrViewer::setChildText(QStringLiteral("x"), QStringLiteral("VALUE"), e, 2);
    QCOMPARE(serialised(e), before);

    QDomDocument good = parse(QStringLiteral("<E><C><VALUE>deep</VALUE></C></E>"));
    QDomElement g = good.documentElement();
    QAVmrViewer::setChildText(QStringLiteral("x"), QStringLiteral("VALUE"), g, 2);
    QCOMPARE(serialised(g), QStringLiteral("<E><C><VALUE>x</VALUE></C></E>"));
}

void TestFields::labelsKeepNonLatinText()
{
    // Untranslated labels are shown as written, accents and all.
    const QString label = QStringLiteral("Donn\u00e9es \u2013 \u65e5\u672c");
    QCOMPARE(QAVmrViewer::translatedLabel(label), label);

    QDomDocument doc = parse(QStringLiteral("<M Name=\"Caract\u00e8re\" Value=\"1\"/>"));
    QDomElement e = doc.documentElement();
    QABinaryMacro macro(nullptr, e);
    QCOMPARE(macro.checkBox()->text(), QStringLiteral("Caract\u00e8re"));
}

void TestFields::tabAndClickReportEntry()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new QALineEdit(&window);
    auto *line = new QALineEdit(&window);
    auto *box = new QACheckBox(QStringLiteral("box"), &window);
    layout->addWidget(first);
    layout->addWidget(line);
    layout->addWidget(box);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());

    QSignalSpy lineSpy(line, &QALineEdit::linePressed);
    QSignalSpy boxSpy(box, &QACheckBox::checkBoxPressed);
    QTest::keyClick(first, Qt::Key_Tab);
    QVERIFY(line->hasFocus());
    QCOMPARE(lineSpy.count(), 1);
    QTest::keyClick(line, Qt::Key_Tab);
    QVERIFY(box->hasFocus());
    QCOMPARE(boxSpy.count(), 1);
    QTest::keyClick(box, Qt::Key_Backtab);
    QVERIFY(line->hasFocus());
    QCOMPARE(lineSpy.count(), 2);

    // A click into the field that has the focus still reports it once.
    QTest::mouseClick(line, Qt::LeftButton);
    QCOMPARE(lineSpy.count(), 3);
    // A click that brings the focus reports it once, not twice.
    QTest::mouseClick(first, Qt::LeftButton);
    QVERIFY(first->hasFocus());
    QTest::mouseClick(line, Qt::LeftButton);
    QVERIFY(line->hasFocus());
    QCOMPARE(lineSpy.count(), 4);
}

void TestFields::programFocusReportsOnce()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *other = new QALineEdit(&window);
    auto *line = new QALineEdit(&window);
    layout->addWidget(other);
    layout->addWidget(line);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();

    QSignalSpy spy(line, &QALineEdit::linePressed);
    line->setFocus();
    QVERIFY(line->hasFocus());
    QCOMPARE(spy.count(), 1);
    // Asking again while focused still reports it.
    line->setFocus();
    QCOMPARE(spy.count(), 2);
    // Coming back from another window is not an entry.
    QFocusEvent activation(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(line, &activation);
    QCOMPARE(spy.count(), 2);
}

void TestFields::textEditReportsEntry()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *line = new QALineEdit(&window);
    auto *text = new QATextEdit(&window);
    layout->addWidget(line);
    layout->addWidget(text);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    line->setFocus();

    QSignalSpy spy(text, &QATextEdit::isPressed);
    QTest::mouseClick(text->viewport(), Qt::LeftButton);
    QVERIFY(text->hasFocus());
    QCOMPARE(spy.count(), 1);
    QTest::mouseClick(text->viewport(), Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
}

void TestFields::textMacroShowsAndWritesValue()
{
    QDomDocument doc = parse(QStringLiteral(
        "<ITEM><TEXT_MACRO Name=\"Size\"><COMMENT>c</COMMENT><VALUE>12</VALUE>"
        "</TEXT_MACRO></ITEM>"));
    QDomElement e = doc.documentElement().firstChildElement();
    QATextMacro macro(nullptr, e);
    QCOMPARE(macro.lineEdit()->text(), QStringLiteral("12"));
    QCOMPARE(macro.findChild<QLabel *>()->text(), QStringLiteral("Size"));

    MacroLog log;
    watch(&macro, &log);
    QTest::keyClick(macro.lineEdit(), Qt::Key_End);
    QTest::keyClicks(macro.lineEdit(), QStringLiteral("3"));
    QCOMPARE(log.events, QStringList{QStringLiteral("itemModified")});
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("VALUE"), e), QStringLiteral("123"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e), QStringLiteral("c"));

    macro.lineEdit()->clear();
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("VALUE"), e), QString());
    QCOMPARE(e.elementsByTagName(QStringLiteral("VALUE")).count(), 1);
}

void TestFields::textMacroWithoutValueKeepsTyping()
{
    QDomDocument doc = parse(
        QStringLiteral("<TEXT_MACRO Name=\"N\"><COMMENT>not the value</COMMENT></TEXT_MACRO>"));
    QDomElement e = doc.documentElement();
    QATextMacro macro(nullptr, e);
    QCOMPARE(macro.lineEdit()->text(), QString());
    QTest::keyClicks(macro.lineEdit(), QStringLiteral("ab"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("VALUE"), e), QStringLiteral("ab"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e),
             QStringLiteral("not the value"));
}

void TestFields::textMacroClickOnCaptionSelects()
{
    QDomDocument doc = parse(QStringLiteral(
        "<TEXT_MACRO Name=\"Caption\"><COMMENT/><VALUE>v</VALUE></TEXT_MACRO>"));
    QDomElement e = doc.documentElement();
    QATextMacro macro(nullptr, e);
    macro.show();
    MacroLog log;
    watch(&macro, &log);
    auto *label = macro.findChild<QLabel *>();
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(log.events, QStringList{QStringLiteral("isPressed")});
    QCOMPARE(log.pressed.first(), e);
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("VALUE"), e), QStringLiteral("v"));
}

void TestFields::tabIntoTextMacroReportsElement()
{
    QDomDocument doc = parse(QStringLiteral(
        "<ITEM><TEXT_MACRO Name=\"A\"><COMMENT/><VALUE>a</VALUE></TEXT_MACRO>"
        "<TEXT_MACRO Name=\"B\"><COMMENT/><VALUE>b</VALUE></TEXT_MACRO></ITEM>"));
    QDomElement a = doc.documentElement().firstChildElement();
    QDomElement b = a.nextSiblingElement();
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new QATextMacro(&window, a);
    auto *second = new QATextMacro(&window, b);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    first->lineEdit()->setFocus();

    QSignalSpy lineSpy(second->lineEdit(), &QALineEdit::linePressed);
    QSignalSpy firstSpy(first, &QATextMacro::isPressed);
    QList<QDomElement> pressed;
    connect(second, &QATextMacro::isPressed, this, [&pressed](QDomElement &e) { pressed << e; });
    QTest::keyClick(first->lineEdit(), Qt::Key_Tab);
    QVERIFY(second->lineEdit()->hasFocus());
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.first(), b);
    QCOMPARE(lineSpy.count(), 1);
    QCOMPARE(firstSpy.count(), 0);
    // Entering a field writes nothing.
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("VALUE"), b), QStringLiteral("b"));
}

void TestFields::binaryMacroState_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<bool>("checked");
    QTest::newRow("on") << "Value=\"1\"" << true;
    QTest::newRow("off") << "Value=\"0\"" << false;
    QTest::newRow("absent") << "" << false;
    QTest::newRow("empty") << "Value=\"\"" << false;
    QTest::newRow("word") << "Value=\"yes\"" << false;
}

void TestFields::binaryMacroState()
{
    QFETCH(QString, attributes);
    QFETCH(bool, checked);
    QDomDocument doc =
        parse(QStringLiteral("<BINARY_MACRO Name=\"Flag\" ") + attributes + QStringLiteral("/>"));
    QDomElement e = doc.documentElement();
    const QString before = serialised(e);
    QABinaryMacro macro(nullptr, e);
    QCOMPARE(macro.checkBox()->isChecked(), checked);
    QCOMPARE(macro.checkBox()->text(), QStringLiteral("Flag"));
    // Showing the macro writes nothing.
    QCOMPARE(serialised(e), before);
}

void TestFields::binaryMacroToggleWrites()
{
    QDomDocument doc = parse(QStringLiteral("<BINARY_MACRO Name=\"Flag\" Value=\"maybe\"/>"));
    QDomElement e = doc.documentElement();
    QABinaryMacro macro(nullptr, e);
    macro.show();
    MacroLog log;
    watch(&macro, &log);
    QTest::mouseClick(macro.checkBox(), Qt::LeftButton);
    QVERIFY(macro.checkBox()->isChecked());
    QCOMPARE(e.attribute(QStringLiteral("Value")), QStringLiteral("1"));
    QVERIFY(log.events.contains(QStringLiteral("itemModified")));
    QCOMPARE(log.events.last(), QStringLiteral("itemModified"));
    QCOMPARE(log.pressed.last(), e);

    log.events.clear();
    QTest::keyClick(macro.checkBox(), Qt::Key_Space);
    QCOMPARE(e.attribute(QStringLiteral("Value")), QStringLiteral("0"));
    QCOMPARE(log.events.count(QStringLiteral("itemModified")), 1);
}

void TestFields::optionalMacroDisabledUntilDefined()
{
    QDomDocument doc = parse(
        QStringLiteral("<OPTIONAL_MACRO Name=\"Opt\" Defined=\"0\" Value=\"keep me\"/>"));
    QDomElement e = doc.documentElement();
    QAOptionnalMacro macro(nullptr, e);
    macro.show();
    QVERIFY(!macro.checkBox()->isChecked());
    QVERIFY(!macro.lineEdit()->isEnabled());
    QCOMPARE(macro.lineEdit()->text(), QStringLiteral("keep me"));

    MacroLog log;
    watch(&macro, &log);
    QTest::mouseClick(macro.checkBox(), Qt::LeftButton);
    QVERIFY(macro.lineEdit()->isEnabled());
    QCOMPARE(e.attribute(QStringLiteral("Defined")), QStringLiteral("1"));
    QCOMPARE(e.attribute(QStringLiteral("Value")), QStringLiteral("keep me"));
    QCOMPARE(log.events.last(), QStringLiteral("itemModified"));

    QTest::mouseClick(macro.checkBox(), Qt::LeftButton);
    QVERIFY(!macro.lineEdit()->isEnabled());
    QCOMPARE(e.attribute(QStringLiteral("Defined")), QStringLiteral("0"));
    QCOMPARE(e.attribute(QStringLiteral("Value")), QStringLiteral("keep me"));
}

void TestFields::optionalMacroTextAndUnknownDefined()
{
    QDomDocument doc = parse(QStringLiteral("<OPTIONAL_MACRO Name=\"Opt\" Value=\"x\"/>"));
    QDomElement e = doc.documentElement();
    QAOptionnalMacro macro(nullptr, e);
    QVERIFY(!macro.checkBox()->isChecked());
    QVERIFY(macro.lineEdit()->isEnabled());
    QVERIFY(!e.hasAttribute(QStringLiteral("Defined")));

    MacroLog log;
    watch(&macro, &log);
    QTest::keyClick(macro.lineEdit(), Qt::Key_End);
    QTest::keyClicks(macro.lineEdit(), QStringLiteral("yz"));
    QCOMPARE(e.attribute(QStringLiteral("Value")), QStringLiteral("xyz"));
    QCOMPARE(log.events.count(QStringLiteral("itemModified")), 2);
    QVERIFY(!e.hasAttribute(QStringLiteral("Defined")));
}

QTEST_MAIN(TestFields)
#include "tst_fields.moc"
