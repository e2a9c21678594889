// The viewer base's child-text helpers, the field widgets and the macro widgets of item
// and choice pages, driven through real widgets on small documents.

#include "testutil.h"
#include "viewers/qafieldwidgets.h"
#include "viewers/qamacrowidgets.h"
#include "viewers/qavmrviewer.h"

#include <QDomDocument>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

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

// Lays the widgets out in the window, shows it and waits until it is active.
bool showActive(QWidget *window, const QList<QWidget *> &widgets)
{
    auto *layout = new QVBoxLayout(window);
    for (QWidget *w : widgets)
        layout->addWidget(w);
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

QString textOf(const char *tag, const QDomElement &e)
{
    return QAVmrViewer::childText(QLatin1String(tag), e);
}

} // namespace

class TestFields : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }

    void childText_data();
    void childText();
    void labelsKeepNonLatinText();

    void fieldsReportEntry();

    void textMacroWritesValue_data();
    void textMacroWritesValue();
    void enteringTextMacroReportsElement();
    void binaryMacroState_data();
    void binaryMacroState();
    void optionalMacro_data();
    void optionalMacro();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestFields::childText_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("depth");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("after"); // once "first", then "new" is written
    QTest::newRow("plain") << "<E><COMMENT>hello</COMMENT></E>" << "COMMENT" << 1 << "hello"
                           << "<E><COMMENT>new</COMMENT></E>";
    QTest::newRow("empty element") << "<E><COMMENT/><VALUE>v</VALUE></E>" << "COMMENT" << 1
                                   << "" << "<E><COMMENT>new</COMMENT><VALUE>v</VALUE></E>";
    QTest::newRow("missing") << "<E><COMMENT>c</COMMENT></E>" << "VALUE" << 1 << ""
                             << "<E><COMMENT>c</COMMENT><VALUE>new</VALUE></E>";
    QTest::newRow("first of two") << "<E><VALUE>one</VALUE><VALUE>two</VALUE></E>" << "VALUE"
                                  << 1 << "one" << "<E><VALUE>new</VALUE><VALUE>two</VALUE></E>";
    QTest::newRow("first child not text") << "<E><VALUE><B>x</B>tail</VALUE></E>" << "VALUE" << 1
                                          << "" << "<E><VALUE>new<B>x</B>tail</VALUE></E>";
    QTest::newRow("after other nodes") << "<E>lead<!--c--><X/><VALUE>v</VALUE></E>" << "VALUE"
                                       << 1 << "v" << "<E>lead<!--c--><X/><VALUE>new</VALUE></E>";
    QTest::newRow("depth 2") << "<E><C><VALUE>deep</VALUE></C><VALUE>top</VALUE></E>" << "VALUE"
                             << 2 << "deep"
                             << "<E><C><VALUE>new</VALUE></C><VALUE>top</VALUE></E>";
    QTest::newRow("depth 2 only first child")
        << "<E><C/><D><VALUE>second</VALUE></D></E>" << "VALUE" << 2 << ""
        << "<E><C><VALUE>new</VALUE></C><D><VALUE>second</VALUE></D></E>";
    // There is no element to write below, so nothing is created anywhere.
    QTest::newRow("depth 2 text first") << "<E>text<C><VALUE>deep</VALUE></C></E>" << "VALUE"
                                        << 2 << "" << "<E>text<C><VALUE>deep</VALUE></C></E>";
    QTest::newRow("cdata") << "<E><VALUE><![CDATA[a < b]]></VALUE></E>" << "VALUE" << 1
                           << "a < b" << "<E><VALUE><![CDATA[new]]></VALUE></E>";
}

void TestFields::childText()
{
    QFETCH(QString, xml);
    QFETCH(QString, tag);
    QFETCH(int, depth);
    QFETCH(QString, read);
    QFETCH(QString, after);
    QDomDocument doc = parse(xml);
    QDomElement e = doc.documentElement();
    const QString text = QAVmrViewer::childText(tag, e, depth);
    QCOMPARE(text, read);
    QVERIFY(!text.isNull());
    QAVmrViewer::setChildText(QStringLiteral("first"), tag, e, depth);
    if (xml != after)
        QCOMPARE(QAVmrViewer::childText(tag, e, depth), QStringLiteral("first"));
    QAVmrViewer::setChildText(QStringLiteral("new"), tag, e, depth);
    QCOMPARE(serialised(e).remove(QLatin1Char('\n')), after); // QDom breaks after comments
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

void TestFields::fieldsReportEntry()
{
    QWidget window;
    auto *first = new QALineEdit(&window);
    auto *line = new QALineEdit(&window);
    auto *box = new QACheckBox(QStringLiteral("box"), &window);
    auto *text = new QATextEdit(&window);
    QVERIFY(showActive(&window, {first, line, box, text}));
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());

    QSignalSpy lineSpy(line, &QALineEdit::linePressed);
    QSignalSpy boxSpy(box, &QACheckBox::checkBoxPressed);
    QSignalSpy textSpy(text, &QATextEdit::isPressed);
    QTest::keyClick(first, Qt::Key_Tab);
    QVERIFY(line->hasFocus());
    QCOMPARE(lineSpy.count(), 1);
    QTest::keyClick(line, Qt::Key_Tab);
    QVERIFY(box->hasFocus());
    QCOMPARE(boxSpy.count(), 1);
    QTest::keyClick(box, Qt::Key_Backtab);
    QCOMPARE(lineSpy.count(), 2);
    // A click into the field that has the focus still reports it once.
    QTest::mouseClick(line, Qt::LeftButton);
    QCOMPARE(lineSpy.count(), 3);
    // A click that brings the focus reports it once, not twice.
    QTest::mouseClick(first, Qt::LeftButton);
    QTest::mouseClick(line, Qt::LeftButton);
    QVERIFY(line->hasFocus());
    QCOMPARE(lineSpy.count(), 4);
    for (int clicks = 1; clicks <= 2; ++clicks) {
        QTest::mouseClick(text->viewport(), Qt::LeftButton);
        QVERIFY(text->hasFocus());
        QCOMPARE(textSpy.count(), clicks);
    }

    // Focus given by the program counts, also when asked again while focused.
    line->setFocus();
    QCOMPARE(lineSpy.count(), 5);
    line->setFocus();
    QCOMPARE(lineSpy.count(), 6);
    // Coming back from another window is not an entry.
    QFocusEvent activation(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(line, &activation);
    QCOMPARE(lineSpy.count(), 6);
}

void TestFields::textMacroWritesValue_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("shown");
    QTest::newRow("value") << "<TEXT_MACRO Name=\"Size\"><COMMENT>c</COMMENT><VALUE>12</VALUE>"
                              "</TEXT_MACRO>" << "12";
    QTest::newRow("no value") << "<TEXT_MACRO Name=\"Size\"><COMMENT>c</COMMENT></TEXT_MACRO>"
                              << "";
}

void TestFields::textMacroWritesValue()
{
    QFETCH(QString, xml);
    QFETCH(QString, shown);
    QDomDocument doc = parse(xml);
    QDomElement e = doc.documentElement();
    QATextMacro macro(nullptr, e);
    QCOMPARE(macro.lineEdit()->text(), shown);
    QCOMPARE(macro.findChild<QLabel *>()->text(), QStringLiteral("Size"));

    MacroLog log;
    watch(&macro, &log);
    QTest::keyClick(macro.lineEdit(), Qt::Key_End);
    QTest::keyClicks(macro.lineEdit(), QStringLiteral("3"));
    QCOMPARE(log.events, QStringList{QStringLiteral("itemModified")});
    QCOMPARE(textOf("VALUE", e), shown + QLatin1Char('3'));
    QCOMPARE(textOf("COMMENT", e), QStringLiteral("c"));

    macro.lineEdit()->clear();
    QCOMPARE(textOf("VALUE", e), QString());
    QCOMPARE(e.elementsByTagName(QStringLiteral("VALUE")).count(), 1);
}

void TestFields::enteringTextMacroReportsElement()
{
    QDomDocument doc = parse(QStringLiteral(
        "<ITEM><TEXT_MACRO Name=\"A\"><COMMENT/><VALUE>a</VALUE></TEXT_MACRO>"
        "<TEXT_MACRO Name=\"B\"><COMMENT/><VALUE>b</VALUE></TEXT_MACRO></ITEM>"));
    QDomElement a = doc.documentElement().firstChildElement();
    QDomElement b = a.nextSiblingElement();
    QWidget window;
    auto *first = new QATextMacro(&window, a);
    auto *second = new QATextMacro(&window, b);
    QVERIFY(showActive(&window, {first, second}));
    first->lineEdit()->setFocus();

    MacroLog firstLog, secondLog;
    watch(first, &firstLog);
    watch(second, &secondLog);
    QSignalSpy lineSpy(second->lineEdit(), &QALineEdit::linePressed);
    QTest::keyClick(first->lineEdit(), Qt::Key_Tab);
    QVERIFY(second->lineEdit()->hasFocus());
    QCOMPARE(secondLog.pressed, QList<QDomElement>{b});
    QCOMPARE(lineSpy.count(), 1);
    QVERIFY(firstLog.events.isEmpty());
    // A click on the caption selects the macro too.
    QTest::mouseClick(first->findChild<QLabel *>(), Qt::LeftButton);
    QCOMPARE(firstLog.events, QStringList{QStringLiteral("isPressed")});
    QCOMPARE(firstLog.pressed, QList<QDomElement>{a});
    // Entering a field writes nothing.
    QVERIFY(!secondLog.events.contains(QStringLiteral("itemModified")));
    QCOMPARE(serialised(doc.documentElement()),
             QStringLiteral("<ITEM><TEXT_MACRO Name=\"A\"><COMMENT/><VALUE>a</VALUE></TEXT_MACRO>"
                            "<TEXT_MACRO Name=\"B\"><COMMENT/><VALUE>b</VALUE></TEXT_MACRO>"
                            "</ITEM>"));
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

    macro.show();
    MacroLog log;
    watch(&macro, &log);
    QTest::mouseClick(macro.checkBox(), Qt::LeftButton);
    QCOMPARE(e.attribute(QStringLiteral("Value")), QLatin1String(checked ? "0" : "1"));
    QCOMPARE(log.events.last(), QStringLiteral("itemModified"));
    QCOMPARE(log.events.count(QStringLiteral("itemModified")), 1);
    QCOMPARE(log.pressed.last(), e);
    QTest::keyClick(macro.checkBox(), Qt::Key_Space);
    QCOMPARE(e.attribute(QStringLiteral("Value")), QLatin1String(checked ? "1" : "0"));
    QCOMPARE(log.events.count(QStringLiteral("itemModified")), 2);
}

void TestFields::optionalMacro_data()
{
    QTest::addColumn<QString>("defined");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("editable");
    QTest::newRow("not defined") << "Defined=\"0\"" << false << false;
    QTest::newRow("defined") << "Defined=\"1\"" << true << true;
    QTest::newRow("unknown") << "" << false << true;
}

void TestFields::optionalMacro()
{
    QFETCH(QString, defined);
    QFETCH(bool, checked);
    QFETCH(bool, editable);
    QDomDocument doc =
        parse(QStringLiteral("<OPTIONAL_MACRO Name=\"Opt\" %1 Value=\"keep\"/>").arg(defined));
    QDomElement e = doc.documentElement();
    const QString before = serialised(e);
    QAOptionnalMacro macro(nullptr, e);
    macro.show();
    QCOMPARE(macro.checkBox()->isChecked(), checked);
    QCOMPARE(macro.lineEdit()->isEnabled(), editable);
    QCOMPARE(macro.lineEdit()->text(), QStringLiteral("keep"));
    QCOMPARE(serialised(e), before);

    MacroLog log;
    watch(&macro, &log);
    if (editable) {
        QTest::keyClick(macro.lineEdit(), Qt::Key_End);
        QTest::keyClicks(macro.lineEdit(), QStringLiteral("yz"));
        QCOMPARE(e.attribute(QStringLiteral("Value")), QStringLiteral("keepyz"));
        QCOMPARE(log.events.count(QStringLiteral("itemModified")), 2);
        // Typing leaves the definition as it was, even an unknown one.
        QCOMPARE(serialised(e), QString(before).replace(u"keep"_s, u"keepyz"_s));
    }
    if (defined.isEmpty())
        return;
    const QString value = e.attribute(QStringLiteral("Value"));
    for (const bool on : {!checked, checked}) {
        QTest::mouseClick(macro.checkBox(), Qt::LeftButton);
        QCOMPARE(macro.lineEdit()->isEnabled(), on);
        QCOMPARE(e.attribute(QStringLiteral("Defined")), QLatin1String(on ? "1" : "0"));
        QCOMPARE(e.attribute(QStringLiteral("Value")), value);
        QCOMPARE(log.events.last(), QStringLiteral("itemModified"));
    }
}

QTEST_MAIN(TestFields)
#include "tst_fields.moc"
