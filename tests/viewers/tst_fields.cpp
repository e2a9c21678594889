// The child-text helpers, the field and macro widgets, and the library configuration pages
// built of them: item pages, and choice pages whose variant makes their tabs usable. Every
// edit is written straight into the document; the comment pane follows what was pressed.

#include "viewertest.h"
#include "viewers/qachoiceviewer.h"
#include "viewers/qafieldwidgets.h"
#include "viewers/qaitemviewer.h"
#include "viewers/qamacrowidgets.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

using namespace Qt::StringLiterals;
using namespace VmrView;

namespace {
const char itemPage[] =
    "<RESTRICTIONS Label=\"Restrictions\" Doc=\"PAGEDOC\"><COMMENT>page comment</COMMENT><ITEM>"
    "<TEXT_MACRO Name=\"USR_SIZE\" Doc=\"FIELDDOC\"><COMMENT>size</COMMENT><VALUE>4</VALUE>"
    "</TEXT_MACRO></ITEM><ITEM><OPTIONAL_MACRO Name=\"USR_LONG\" Doc=\"LONGDOC\" Value=\"l\" "
    "Defined=\"0\"><COMMENT>long</COMMENT></OPTIONAL_MACRO></ITEM>"
    "<ITEM><BINARY_MACRO Name=\"USR_BARE\" Value=\"1\"/></ITEM></RESTRICTIONS>";
const char choicePage[] =
    "<INIT Label=\"Initialisation\" Doc=\"PAGEDOC\"><CHOICE Name=\"Start:\" Value=\"Ctor\">"
    "<CHOICEDATA Sensitive=\"0\">First call</CHOICEDATA><CHOICEDATA Sensitive=\"1\">Ctor"
    "</CHOICEDATA><CHOICEDATA>Explicit call</CHOICEDATA><ONGLET Label=\"Ctor\"><VALUEFCTC "
    "Doc=\"FIELDDOC\"><PROTO>void f()\n{</PROTO><VALUE>  go();</VALUE><TAIL>}</TAIL><COMMENT>"
    "ctor</COMMENT></VALUEFCTC></ONGLET><ONGLET Label=\"Ada\"><VALUEFCTADA/></ONGLET><ONGLET "
    "Label=\"Settings\"><ITEM><OPTIONAL_MACRO Name=\"P\" Value=\"101\" Defined=\"1\">"
    "<COMMENT>prio</COMMENT></OPTIONAL_MACRO></ITEM><ITEM><TEXT_MACRO Name=\"N\"/></ITEM>"
    "<ITEM><TYPEADA Name=\"T\"/></ITEM><ITEM><BINARY_MACRO Name=\"E\"/></ITEM></ONGLET>"
    "</CHOICE><COMMENT>page comment</COMMENT></INIT>";

QWidgetList fieldsIn(const QWidget *box)
{
    QWidgetList fields;
    for (int i = 0; box && i < box->layout()->count(); ++i) {
        if (QWidget *w = box->layout()->itemAt(i)->widget())
            fields << w;
    }
    return fields;
}

// Each field as its class, caption, whether its box is checked, and its usable text.
QString describe(const QWidgetList &fields)
{
    QStringList shown;
    for (QWidget *field : fields) {
        auto *check = field->findChild<QCheckBox *>();
        auto *line = field->findChild<QLineEdit *>();
        shown << QString::fromLatin1(field->metaObject()->className()) + u' ' +
                     (check ? check->text() + (check->isChecked() ? u"+" : u"-")
                            : field->findChild<QLabel *>()->text());
        if (line)
            shown.last() += u' ' + (line->isEnabled() ? line->text() : u"(off)"_s);
    }
    return shown.join(u", ");
}

// "[a|b]" in a test document: a before, b after.
QString version(QString xml, bool after)
{
    const QRegularExpression change(u"\\[([^|[]*)\\|([^\\]]*)\\]"_s);
    return xml.replace(change, after ? u"\\2"_s : u"\\1"_s);
}
} // namespace

class TestFields : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_home = VmrTest::privateHome();
    QDomDocument m_doc;
    std::unique_ptr<QWidget> m_window;
    QAVmrViewer *m_viewer = nullptr;
    QAChoiceViewer *m_choice = nullptr;

    template<typename Viewer> void load(const QString &xml)
    {
        m_doc = parse(xml);
        changesWritten() = 0;
        const QStringList anchors = {u"PAGEDOC"_s, u"FIELDDOC"_s, u"LONGDOC"_s};
        m_viewer = openViewer<Viewer>(m_window, m_doc.documentElement(), anchors);
        m_choice = qobject_cast<QAChoiceViewer *>(m_viewer);
        QVERIFY(m_viewer);
    }
    QDomElement first(QString tag) const { return m_doc.elementsByTagName(tag).at(0).toElement(); }
    QString title() const { return m_viewer->findChild<QLabel *>(u"comment title"_s)->text(); }
    QTextEdit *comment() const { return m_viewer->findChild<QTextEdit *>(u"comment"_s); }
    // Chooses an entry as a user does: open the list, go to the entry, press Return.
    void choose(int index)
    {
        QComboBox *box = m_choice->choiceBox();
        box->showPopup();
        QTRY_VERIFY(box->view()->isVisible());
        box->view()->setCurrentIndex(box->model()->index(index, 0));
        QTest::keyClick(box->view(), Qt::Key_Return);
        QTRY_VERIFY(!box->view()->isVisible());
    }

private slots:
    void childText_data()
    {
        QTest::addColumn<QString>("xml"); // "[a|b]": a before, b once "1" then "2" is written
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("read");
        QTest::newRow("first child not text") << "<E><V>[|2]<B/>t</V></E>" << "V" << 1 << "";
        QTest::newRow("depth 2") << "<E><C><V>[d|2]</V></C><V>t</V></E>" << "V" << 2 << "d";
        QTest::newRow("depth 2, first child only") << "<E><C>[|<V>2</V>]</C><D><V>s</V></D></E>"
                                                   << "V" << 2 << "";
        // There is no element to write below, so nothing is created anywhere.
        QTest::newRow("depth 2, text first") << "<E>t<C><V>d</V></C></E>" << "V" << 2 << "";
        QTest::newRow("cdata") << "<E><V><![CDATA[[a < b|2]]]></V></E>" << "V" << 1 << "a < b";
    }
    void childText()
    {
        QFETCH(QString, xml);
        QFETCH(QString, tag);
        QFETCH(int, depth);
        QDomDocument doc = parse(version(xml, false));
        QDomElement e = doc.documentElement();
        const QString text = QAVmrViewer::childText(tag, e, depth);
        QTEST(text, "read");
        QVERIFY(!text.isNull());
        // A second write replaces the first one's text instead of adding another.
        for (const QString &written : {u"1"_s, u"2"_s})
            QAVmrViewer::setChildText(written, tag, e, depth);
        QCOMPARE(xmlOf(e), version(xml, true));
    }

    void itemFields()
    {
        // A field per known item, in order; captions as written. Only "1" turns a box on; only
        // "0" makes an optional value unusable, and keeps it.
        const QString page =
            u"<TYPES Label=\"Types\"><COMMENT/><ITEM/><I/><ITEM><RENAMEADA Name=\"\u00e9t\u00e9\" "
            "Value=\"[yes|1]\"/></ITEM><ITEM><TEXT_MACRO Name=\"T\">[|<VALUE>x</VALUE>]"
            "</TEXT_MACRO></ITEM><ITEM><CHOICE/></ITEM><ITEM><OPTIONAL_MACRO Name=\"O\" "
            "Defined=\"[0|1]\" Value=\"v\"/></ITEM><ITEM><TYPEADA Name=\"A\"><VALUE>1[|x]</VALUE>"
            "</TYPEADA></ITEM><ITEM><CONSTANTADA Name=\"C\">[|<VALUE>x</VALUE>]</CONSTANTADA>"
            "</ITEM><ITEM><CONSTANTSTRINGADA Name=\"S\">[|<VALUE>x</VALUE>]</CONSTANTSTRINGADA>"
            "</ITEM><ITEM><BINARY_MACRO Name=\"B\" Value=\"[1|0]\"/></ITEM><ITEM><OPTIONAL_MACRO "
            "Name=\"U\" Value=\"u[|x]\"/></ITEM></TYPES>"_s;
        load<QAItemViewer>(version(page, false));
        const QWidgetList fields = fieldsIn(m_viewer->findChild<QWidget *>(u"items"_s));
        QCOMPARE(describe(fields),
                 u"QABinaryMacro \u00e9t\u00e9-, QATextMacro T , QAOptionnalMacro O- (off), "
                 "QATextMacro A 1, QATextMacro C , QATextMacro S , QABinaryMacro B+, "
                 "QAOptionnalMacro U- u"_s);
        // Typing makes a missing VALUE and leaves a definition as it was, even an unknown one.
        for (QWidget *field : fields) {
            auto *line = field->findChild<QLineEdit *>();
            if (line && line->isEnabled()) {
                QTest::keyClick(line, Qt::Key_End);
                QTest::keyClicks(line, u"x"_s);
            } else {
                QTest::mouseClick(field->findChild<QCheckBox *>(), Qt::LeftButton);
            }
        }
        QVERIFY(changesWritten() > 0);
        QCOMPARE(xmlOf(m_doc), xmlOf(parse(version(page, true))));
    }

    void choiceVariantsAndTabs()
    {
        load<QAChoiceViewer>(QLatin1String(choicePage));
        QStringList entries;
        for (int i = 0; i < m_choice->choiceBox()->count(); ++i)
            entries << m_choice->choiceBox()->itemText(i);
        QCOMPARE(entries.join(u'|'), u"First call|Ctor|Explicit call"_s);
        QCOMPARE(m_choice->findChildren<QLabel *>().first()->text(), u"Start:"_s);
        // A VALUEFCTADA sheet is of no known kind; an item sheet takes only macros.
        QTabWidget *tabs = m_choice->tabs();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0) + u'|' + tabs->tabText(1), u"Ctor|Settings"_s);
        QCOMPARE(describe(fieldsIn(tabs->widget(1)->findChild<QWidget *>())),
                 u"QAOptionnalMacro P+ 101, QATextMacro N , QABinaryMacro E-"_s);
        auto *sheet = qobject_cast<QAFctOnglet *>(tabs->widget(0));
        QCOMPARE(sheet->findChild<QLabel *>(u"proto"_s)->text() + u'|' +
                     sheet->valueEdit()->toPlainText() + u'|' +
                     sheet->findChild<QLabel *>(u"tail"_s)->text(),
                 u"void f()\n{|  go();|}"_s);
    }

    void sensitivity_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("steps"); // current entry, then each one chosen; "+": usable
        QTest::newRow("page") << QString::fromLatin1(choicePage) << "1+ 2- 0- 1+ 1+";
        // Two entries match the chosen text: the last one is current. Only "1" is sensitive.
        QTest::newRow("odd values")
            << "<P><CHOICE Value=\"L\"><CHOICEDATA Sensitive=\"1\">E</CHOICEDATA><CHOICEDATA>L"
               "</CHOICEDATA><CHOICEDATA Sensitive=\"1\">L</CHOICEDATA><CHOICEDATA "
               "Sensitive=\"yes\">Odd</CHOICEDATA><ONGLET><VALUEFCTPERL/></ONGLET></CHOICE></P>"
            << "2+ 3- 0+ 1-";
        // A variant without text gets no entry but still counts for the sensitivity.
        QTest::newRow("variant without text")
            << "<P><CHOICE Value=\"B\"><CHOICEDATA Sensitive=\"0\">A</CHOICEDATA><CHOICEDATA "
               "Sensitive=\"1\"/><CHOICEDATA Sensitive=\"0\">B</CHOICEDATA><ONGLET><VALUEFCT/>"
               "</ONGLET></CHOICE></P>" << "1+ 0-";
    }
    void sensitivity()
    {
        QFETCH(QString, xml);
        QFETCH(QString, steps);
        load<QAChoiceViewer>(xml);
        QStringList chosen = steps.split(u' ');
        const QString current = chosen.takeFirst();
        QCOMPARE(m_choice->choiceBox()->currentIndex(), current.chopped(1).toInt());
        QCOMPARE(m_choice->tabs()->isEnabled(), current.endsWith(u'+'));
        for (const QString &step : chosen) {
            // Choosing writes the entry's text, also when it is chosen again.
            first(u"CHOICE"_s).setAttribute(u"Value"_s, u"stale"_s);
            changesWritten() = 0;
            choose(step.chopped(1).toInt());
            QCOMPARE(first(u"CHOICE"_s).attribute(u"Value"_s),
                     m_choice->choiceBox()->itemText(step.chopped(1).toInt()));
            QVERIFY(changesWritten() > 0);
            // Tabs of a variant that is not sensitive stay visible but unusable.
            QCOMPARE(m_choice->tabs()->isEnabled(), step.endsWith(u'+'));
            QVERIFY(m_choice->tabs()->isVisible());
        }
    }

    void wheelLeavesAChoiceThatWasNotEntered()
    {
        load<QAChoiceViewer>(QLatin1String(choicePage));
        QComboBox *box = m_choice->choiceBox();
        const QString chosen = first(u"CHOICE"_s).attribute(u"Value"_s);
        const int index = box->currentIndex();
        // Turned over the box on the way down the page, the wheel changes nothing.
        VmrTest::turnWheel(box, -1);
        QVERIFY(box->currentIndex() == index && !box->hasFocus() && !changesWritten());
        QCOMPARE(first(u"CHOICE"_s).attribute(u"Value"_s), chosen);
        // Entered, the box takes the wheel as usual.
        box->setFocus(Qt::TabFocusReason);
        VmrTest::turnWheel(box, -1);
        QCOMPARE(box->currentIndex(), index + 1);
        QCOMPARE(first(u"CHOICE"_s).attribute(u"Value"_s), box->itemText(index + 1));
    }

    void commentFollowsPress_data()
    {
        // Rows named "item ..." press into the item page, the others into the choice page.
        QTest::addColumn<QString>("press");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("owner"); // whose COMMENT the pane shows and then writes
        QTest::newRow("item field") << "" << "Comment for \"USR_SIZE\" item:" << "TEXT_MACRO";
        QTest::newRow("item, Tab to the next field")
            << "next" << "Comment for \"USR_LONG\" item:" << "OPTIONAL_MACRO";
        // A field without a COMMENT gains one.
        QTest::newRow("item field without comment")
            << "bare" << "Comment for \"USR_BARE\" item:" << "BINARY_MACRO";
        // A function has no Name: its tab's label names it.
        QTest::newRow("function") << "" << "Comment for \"Ctor\" item " << "VALUEFCTC";
        QTest::newRow("sheet field") << "sheet" << "Comment for \"P\" item "
                                     << "OPTIONAL_MACRO";
        QTest::newRow("sheet tab") << "tab" << "Comment for \"Settings\" item " << "ITEM";
        QTest::newRow("choice page again") << "page" << "Comment for \"Initialisation\" node "
                                           << "INIT";
    }
    void commentFollowsPress()
    {
        QFETCH(QString, press);
        QFETCH(QString, owner);
        const bool item = QLatin1String(QTest::currentDataTag()).startsWith(u"item");
        if (item)
            load<QAItemViewer>(QLatin1String(itemPage));
        else
            load<QAChoiceViewer>(QLatin1String(choicePage));
        const QString before = xmlOf(m_doc);
        QScrollBar *bar = m_window->findChild<QAVmrDocBrowser *>()->verticalScrollBar();
        const int pageTop = bar->value();
        // First into a field, whose anchor is far below the page's.
        if (item)
            QTest::mouseClick(m_viewer->findChild<QATextMacro *>()->lineEdit(), Qt::LeftButton);
        else
            QTest::mouseClick(m_viewer->findChild<QAFctOnglet *>()->valueEdit()->viewport(),
                              Qt::LeftButton);
        QVERIFY(bar->value() > pageTop + 100);
        if (press == u"next")
            m_viewer->findChild<QAOptionnalMacro *>()->checkBox()->setFocus(Qt::TabFocusReason);
        else if (press == u"bare")
            m_viewer->findChild<QABinaryMacro *>()->checkBox()->setFocus(Qt::MouseFocusReason);
        else if (press == u"page")
            m_viewer->showPage();
        QTabWidget *tabs = m_choice ? m_choice->tabs() : nullptr;
        if (press == u"sheet") {
            tabs->setCurrentIndex(1);
            QTest::mouseClick(tabs->widget(1)->findChild<QALineEdit *>(), Qt::LeftButton);
        } else if (press == u"tab") {
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                              tabs->tabBar()->tabRect(1).center());
        }
        QTEST(title(), "heading");
        const QString shown = textOf("COMMENT", first(owner));
        QCOMPARE(bar->value() == pageTop, press == u"page");
        // Showing another element's comment is not an edit; typing writes only that one.
        QCOMPARE(xmlOf(m_doc), before);
        QCOMPARE(changesWritten(), 0);
        comment()->moveCursor(QTextCursor::End);
        QTest::keyClicks(comment(), u"!"_s);
        QCOMPARE(textOf("COMMENT", first(owner)), shown + u'!');
        QCOMPARE(xmlOf(m_doc).count(u'!'), 1);
    }
};

QTEST_MAIN(TestFields)
#include "tst_fields.moc"
