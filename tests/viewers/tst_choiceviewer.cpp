// Choice pages: the chosen variant, the tabs it makes usable, the function and item
// sheets, and the comment pane that follows what the user pressed.

#include "testutil.h"

#include "viewers/qachoiceviewer.h"
#include "viewers/qafieldwidgets.h"
#include "viewers/qamacrowidgets.h"
#include "viewers/qavmrdocbrowser.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDomDocument>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const char page[] =
    "<INIT Label=\"Initialisation\" Doc=\"INITDOC\">"
    "<CHOICE Name=\"Initialisation:\" Value=\"Constructor function\">"
    "<CHOICEDATA Sensitive=\"0\">At the first call</CHOICEDATA>"
    "<CHOICEDATA Sensitive=\"1\">Constructor function</CHOICEDATA>"
    "<CHOICEDATA Sensitive=\"0\">Explicit call</CHOICEDATA>"
    "<ONGLET Label=\"Constructor\"><VALUEFCTC Doc=\"CTORDOC\">"
    "<PROTO>static void usr_init(void)\n{</PROTO><VALUE>    priv_init();</VALUE><TAIL>}</TAIL>"
    "<COMMENT>constructor comment</COMMENT></VALUEFCTC></ONGLET>"
    "<ONGLET Label=\"Ada body\"><VALUEFCTADA><PROTO/><VALUE/><TAIL/></VALUEFCTADA></ONGLET>"
    "<ONGLET Label=\"Settings\"><ITEM>"
    "<OPTIONAL_MACRO Name=\"USR_PRIORITY\" Doc=\"PRIODOC\" Value=\"101\" Defined=\"1\">"
    "<COMMENT>priority comment</COMMENT></OPTIONAL_MACRO></ITEM>"
    "<ITEM><TEXT_MACRO Name=\"USR_NAME\"><COMMENT>name comment</COMMENT><VALUE>init</VALUE>"
    "</TEXT_MACRO></ITEM>"
    "<ITEM><TYPEADA Name=\"NOT_IN_A_SHEET\"><VALUE>x</VALUE></TYPEADA></ITEM>"
    "<ITEM><BINARY_MACRO Name=\"USR_EARLY\" Value=\"0\"><COMMENT/></BINARY_MACRO></ITEM>"
    "</ONGLET>"
    "</CHOICE>"
    "<COMMENT>page comment</COMMENT>"
    "</INIT>";

} // namespace

class TestChoiceViewer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void variantsAndTabsFollowTheDocument();
    void choosingAVariantRewritesTheChoice();
    void sensitivity_data();
    void sensitivity();
    void sheetFieldsWriteThrough();
    void commentFollowsPress_data();
    void commentFollowsPress();

private:
    void load(const char *xml);
    QComboBox *choice() const { return m_viewer->choiceBox(); }
    QTabWidget *tabs() const { return m_viewer->tabs(); }
    QTextEdit *comment() const { return m_viewer->findChild<QTextEdit *>(u"comment"_s); }
    QLabel *title() const { return m_viewer->findChild<QLabel *>(u"comment title"_s); }
    QDomElement first(const char *tag) const;
    QString commentOf(const char *tag) const
    {
        return QAVmrViewer::childText(QStringLiteral("COMMENT"), first(tag));
    }
    void choose(int index);

    std::unique_ptr<QTemporaryDir> m_home;
    QDomDocument m_doc;
    QDomElement m_page;
    std::unique_ptr<QWidget> m_window;
    QAVmrDocBrowser *m_browser = nullptr;
    QAChoiceViewer *m_viewer = nullptr;
};

void TestChoiceViewer::initTestCase() { m_home = VmrTest::privateHome(); }
void TestChoiceViewer::init() { load(page); }
void TestChoiceViewer::cleanup() { m_window.reset(); }

void TestChoiceViewer::load(const char *xml)
{
    m_window.reset();
    m_doc = QDomDocument();
    QVERIFY(m_doc.setContent(QByteArray(xml)));
    m_page = m_doc.documentElement();
    m_window = std::make_unique<QWidget>();
    m_window->resize(700, 700);
    auto *layout = new QVBoxLayout(m_window.get());
    m_browser = new QAVmrDocBrowser(m_window.get());
    layout->addWidget(m_browser);
    m_viewer = new QAChoiceViewer(m_page, m_window.get(), m_browser);
    layout->addWidget(m_viewer);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_viewer->showPage();
}

QDomElement TestChoiceViewer::first(const char *tag) const
{
    return m_doc.elementsByTagName(QLatin1String(tag)).item(0).toElement();
}

// Chooses an entry the way a user does: open the list, go to the entry, press Return.
void TestChoiceViewer::choose(int index)
{
    choice()->showPopup();
    QAbstractItemView *list = choice()->view();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(choice()->model()->index(index, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(choice()->currentIndex(), index);
}

void TestChoiceViewer::variantsAndTabsFollowTheDocument()
{
    QCOMPARE(choice()->count(), 3);
    QCOMPARE(choice()->itemText(0), QStringLiteral("At the first call"));
    QLabel *label = nullptr;
    for (QLabel *candidate : m_viewer->findChildren<QLabel *>()) {
        if (candidate->buddy() == choice())
            label = candidate;
    }
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Initialisation:"));

    // The VALUEFCTADA sheet is of no known kind and gets no tab.
    QCOMPARE(tabs()->count(), 2);
    QCOMPARE(tabs()->tabText(0), QStringLiteral("Constructor"));
    QCOMPARE(tabs()->tabText(1), QStringLiteral("Settings"));
    auto *fct = qobject_cast<QAFctOnglet *>(tabs()->widget(0));
    QVERIFY(fct);
    auto *items = qobject_cast<QAItemOnglet *>(tabs()->widget(1));
    QVERIFY(items);
    // An item sheet takes text, on/off and optional fields only.
    QCOMPARE(items->findChildren<QAOptionnalMacro *>().size(), 1);
    QCOMPARE(items->findChildren<QATextMacro *>().size(), 1);
    QCOMPARE(items->findChildren<QABinaryMacro *>().size(), 1);
    QCOMPARE(fct->findChild<QLabel *>(QStringLiteral("proto"))->text(),
             QStringLiteral("static void usr_init(void)\n{"));
    QCOMPARE(fct->valueEdit()->toPlainText(), QStringLiteral("    priv_init();"));
    QCOMPARE(fct->findChild<QLabel *>(QStringLiteral("tail"))->text(), QStringLiteral("}"));
}

void TestChoiceViewer::choosingAVariantRewritesTheChoice()
{
    QDomElement box = first("CHOICE");
    choose(2);
    QCOMPARE(box.attribute(QStringLiteral("Value")), QStringLiteral("Explicit call"));
    QVERIFY(!tabs()->isEnabled());
    QVERIFY(tabs()->isVisible()); // still shown, only unusable
    QCOMPARE(tabs()->count(), 2);
    QVERIFY(m_viewer->modified);

    // Choosing the current entry again writes again.
    choose(1);
    box.setAttribute(QStringLiteral("Value"), QStringLiteral("stale"));
    m_viewer->modified = false;
    choose(1);
    QCOMPARE(box.attribute(QStringLiteral("Value")), QStringLiteral("Constructor function"));
    QVERIFY(m_viewer->modified);
}

void TestChoiceViewer::sensitivity_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("steps"); // entry chosen, then whether the tabs are usable
    QTest::newRow("page") << QByteArray(page) << 1 << "1+ 2- 0- 1+";
    // Two entries match the chosen text: the last one is current. Only "1" is sensitive.
    QTest::newRow("odd values")
        << QByteArray("<EXIT Label=\"Exit\"><COMMENT/><CHOICE Name=\"End:\" Value=\"Loop\">"
                      "<CHOICEDATA Sensitive=\"1\">Exit</CHOICEDATA><CHOICEDATA>Loop</CHOICEDATA>"
                      "<CHOICEDATA Sensitive=\"1\">Loop</CHOICEDATA>"
                      "<CHOICEDATA Sensitive=\"yes\">Odd</CHOICEDATA><ONGLET Label=\"F\">"
                      "<VALUEFCTPERL><PROTO/><VALUE/><TAIL/></VALUEFCTPERL></ONGLET>"
                      "</CHOICE></EXIT>")
        << 2 << "2+ 3- 0+ 1-";
    // A variant without text gets no entry but still takes a place in the sensitivity count,
    // so entry 1 ("B") looks at the second CHOICEDATA.
    QTest::newRow("variant without text")
        << QByteArray("<P Label=\"P\"><COMMENT/><CHOICE Name=\"n\" Value=\"B\">"
                      "<CHOICEDATA Sensitive=\"0\">A</CHOICEDATA><CHOICEDATA Sensitive=\"1\"/>"
                      "<CHOICEDATA Sensitive=\"0\">B</CHOICEDATA><ONGLET Label=\"F\">"
                      "<VALUEFCT><PROTO/><VALUE/><TAIL/></VALUEFCT></ONGLET></CHOICE></P>")
        << 1 << "1+ 0-";
    QTest::newRow("no choice") << QByteArray("<P Label=\"Bare\"><COMMENT>c</COMMENT></P>") << -1
                               << "";
}

void TestChoiceViewer::sensitivity()
{
    QFETCH(QByteArray, xml);
    QFETCH(int, current);
    QFETCH(QString, steps);
    load(xml.constData());
    const QString before = m_doc.toString();
    QCOMPARE(choice()->currentIndex(), current);
    if (steps.isEmpty()) {
        // Nothing can be chosen, and asking for a tab writes nothing.
        QCOMPARE(choice()->count(), 0);
        QCOMPARE(tabs()->count(), 0);
        QVERIFY(!tabs()->isEnabled());
        m_viewer->enableTab(0);
    }
    QCOMPARE(m_doc.toString(), before);
    QVERIFY(!m_viewer->modified);
    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int index = step.left(1).toInt();
        if (index != current)
            choose(index);
        QCOMPARE(tabs()->isEnabled(), step.endsWith(QLatin1Char('+')));
        QCOMPARE(first("CHOICE").attribute(QStringLiteral("Value")), choice()->itemText(index));
        current = -1;
    }
}

void TestChoiceViewer::sheetFieldsWriteThrough()
{
    auto *fct = qobject_cast<QAFctOnglet *>(tabs()->widget(0));
    QTest::mouseClick(fct->valueEdit()->viewport(), Qt::LeftButton);
    fct->valueEdit()->moveCursor(QTextCursor::End);
    QTest::keyClicks(fct->valueEdit(), QStringLiteral(" /* a < b */"));
    QCOMPARE(first("VALUEFCTC").toElement().text(),
             QStringLiteral("static void usr_init(void)\n{    priv_init(); /* a < b */}"
                            "constructor comment"));
    QVERIFY(m_viewer->modified);

    tabs()->setCurrentIndex(1);
    auto *items = qobject_cast<QAItemOnglet *>(tabs()->widget(1));
    m_viewer->modified = false;
    QTest::mouseClick(items->findChild<QABinaryMacro *>()->checkBox(), Qt::LeftButton);
    QCOMPARE(first("BINARY_MACRO").attribute(QStringLiteral("Value")), QStringLiteral("1"));
    QVERIFY(m_viewer->modified);
    QCOMPARE(title()->text(), QStringLiteral("Comment for \"USR_EARLY\" item "));

    m_viewer->modified = false;
    QLineEdit *name = items->findChild<QATextMacro *>()->lineEdit();
    QTest::mouseClick(name, Qt::LeftButton);
    name->end(false);
    QTest::keyClicks(name, QStringLiteral("_all"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("VALUE"), first("TEXT_MACRO")),
             QStringLiteral("init_all"));
    QVERIFY(m_viewer->modified);
}

void TestChoiceViewer::commentFollowsPress_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("owner"); // whose COMMENT the pane then writes
    // A function has no Name: the tab's label names it.
    QTest::newRow("function editor") << "editor" << "Comment for \"Constructor\" item "
                                     << "constructor comment" << "VALUEFCTC";
    QTest::newRow("function sheet margin") << "margin" << "Comment for \"Constructor\" item "
                                           << "constructor comment" << "VALUEFCTC";
    QTest::newRow("optional field") << "optional" << "Comment for \"USR_PRIORITY\" item "
                                    << "priority comment" << "OPTIONAL_MACRO";
    // An item sheet without a COMMENT gains one.
    QTest::newRow("item tab") << "tab" << "Comment for \"Settings\" item " << "" << "ITEM";
    QTest::newRow("tab and back") << "tab back" << "Comment for \"Constructor\" item "
                                  << "constructor comment" << "VALUEFCTC";
    QTest::newRow("page again") << "page" << "Comment for \"Initialisation\" node "
                                << "page comment" << "INIT";
}

void TestChoiceViewer::commentFollowsPress()
{
    QFETCH(QString, press);
    QFETCH(QString, heading);
    QFETCH(QString, shown);
    QFETCH(QString, owner);
    const QString before = m_doc.toString();
    auto *fct = qobject_cast<QAFctOnglet *>(tabs()->widget(0));
    QTabBar *bar = tabs()->tabBar();
    QTest::mouseClick(fct->valueEdit()->viewport(), Qt::LeftButton);
    if (press == QLatin1String("margin")) {
        m_viewer->showPage();
        QTest::mouseClick(fct, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    } else if (press == QLatin1String("optional")) {
        tabs()->setCurrentIndex(1);
        QTest::mouseClick(tabs()->widget(1)->findChild<QAOptionnalMacro *>()->lineEdit(),
                          Qt::LeftButton);
    } else if (press.startsWith(QLatin1String("tab"))) {
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
        QCOMPARE(tabs()->currentIndex(), 1);
        if (press.endsWith(QLatin1String("back")))
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(0).center());
    } else if (press == QLatin1String("page")) {
        m_viewer->showPage();
    }
    QCOMPARE(title()->text(), heading);
    QCOMPARE(comment()->toPlainText(), shown);
    // Pressing writes nothing.
    QCOMPARE(m_doc.toString(), before);
    QVERIFY(!m_viewer->modified);

    comment()->moveCursor(QTextCursor::End);
    QTest::keyClicks(comment(), QStringLiteral("!"));
    QVERIFY(m_viewer->modified);
    const QByteArray tag = owner.toLatin1();
    QCOMPARE(commentOf(tag.constData()), shown + QLatin1Char('!'));
    // Every other comment is left alone.
    const QList<std::pair<const char *, const char *>> others = {
        {"INIT", "page comment"}, {"VALUEFCTC", "constructor comment"},
        {"OPTIONAL_MACRO", "priority comment"}, {"TEXT_MACRO", "name comment"}};
    for (const auto &[other, words] : others) {
        if (tag != other)
            QCOMPARE(commentOf(other), QString::fromLatin1(words));
    }
}

QTEST_MAIN(TestChoiceViewer)
#include "tst_choiceviewer.moc"
