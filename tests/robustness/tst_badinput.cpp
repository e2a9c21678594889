// Documents the editor must survive, opened as the editor opens a file (tree, every viewer
// and context menu): refused with the loader's reason, or saved into a document that opens
// again with the same content and saves again into the same bytes. And free texts of
// megabytes, taken in parts after showing.

#include "app/mainwindowdriver.h"
#include "app/qaportdocument.h"
#include "document/qavmrdocumentedits.h"
#include "fuzz/vmrfuzzdriver.h"
#include "viewers/qafreetext.h"
#include "viewers/qavmrtextedit.h"

using namespace VmrDrive;

namespace {

// What a load and a save must keep; not the empty name that leaving a file node stores.
QString content(const QByteArray &bytes)
{
    return canonicalDocument(bytes).remove(u" Name=\"\""_s);
}

// Library sections nested depth deep; four levels lie above them.
QByteArray nested(const QByteArray &tag, int depth)
{
    return "<VMR Version=\"V2009\"><LIBCONF><LIBCONFC><COMPILER_SPECIFICS>" +
           QByteArray("<" + tag + " Label=\"n\">").repeated(depth) + "deepest" +
           QByteArray("</" + tag + ">").repeated(depth) +
           "</COMPILER_SPECIFICS></LIBCONFC></LIBCONF></VMR>";
}

// Lines of code; now and then a long one, an empty one, a tab.
QString longText(int bytes, int seed)
{
    QRandomGenerator random(seed);
    QString text;
    for (int line = 0; text.size() < bytes; ++line)
        text += u"    usr_call_%1(&context, \"%2\");\n"_s.arg(line).arg(random.bounded(1000)) +
                QString(line % 97 ? 0 : 3000, u'w') + (line % 13 ? u""_s : u"\n\t"_s);
    return text;
}

// A file node whose VALUE holds the text, and its viewer, shown.
struct FileNode
{
    QDomDocument dom;
    QAVmrDocumentEdits edits;
    QDomElement element, value;
    std::unique_ptr<QAFreeText> viewer;

    explicit FileNode(const QString &text)
    {
        dom.setContent(u"<NEWCMDFILE Name=\"large.txt\"><COMMENT/><VALUE/></NEWCMDFILE>"_s);
        element = dom.documentElement();
        value = element.firstChildElement(u"VALUE"_s);
        value.appendChild(dom.createTextNode(text));
        edits.open(dom);
        viewer = std::make_unique<QAFreeText>(element, nullptr, nullptr);
        viewer->show();
    }
    QAVmrTextEdit *edit() const { return viewer->textEditor(); }
    bool loads() const
    {
        return QTest::qWaitFor([&]() { return viewer->isLoaded(); }, 60000);
    }
};

}  // namespace

class TestBadInput : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home = VmrTest::privateHome();
    VmrFuzz::Driver m_driver{VmrTest::program()};

private slots:
    void survives_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refusal");  // part of the loader's reason; null: it opens
        QRandomGenerator random(6);
        for (int i = 0; i < 3; ++i) {
            QByteArray noise(1 + random.bounded(20000), Qt::Uninitialized);
            for (char &c : noise) c = char(random.bounded(256));
            QTest::addRow("random bytes %d", i) << noise << u""_s;
        }
        QTest::newRow("two roots") << QByteArray("<VMR/><VMR/>") << u""_s;
        QTest::newRow("entities, external and expanding")
            << QByteArray(
                   "<!DOCTYPE VMR [<!ENTITY x SYSTEM \"file:///etc/passwd\"><!ENTITY a "
                   "\"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                   "<VMR Version=\"V2009\"><COMMENT>&x;&b;&b;&b;</COMMENT></VMR>")
            << u"entities"_s;
        // Deeper trees crashed the save and took minutes to build.
        const int limit = QAXmlEditor::maxDepth() - 4;
        for (const int depth : {100000, limit + 1, limit})
            QTest::addRow("sections, %d levels", depth)
                << nested("COMMENT_PAGE", depth)
                << (depth > limit ? u"nested deeper"_s : QString());
        QTest::newRow("items, as deep as accepted") << nested("ITEM_PAGE", limit) << QString();
        // However much of it was well formed, a cut document is refused.
        const QByteArray whole = readFile(VmrTest::templatePath(u"templatej2se.xvm"_s));
        const int size = int(whole.size()), end = int(whole.lastIndexOf('>'));
        for (const int cut : {0, 39, size / 3, size / 2, end - 1, end})
            QTest::addRow("template cut at %d", cut) << whole.left(cut) << u""_s;
        // A port name of 8 MB; a label, documentation anchor and file name of 2 MB.
        const QByteArray name(8 << 20, 'N'), label(2 << 20, 'L');
        QTest::newRow("huge attribute values")
            << "<VMR Name=\"" + name + "\" Version=\"V2009\"><COMMENT>c</COMMENT><BUILD Label=\"" +
                   label + "\" Doc=\"" + label + "\"><COMMENT/><NEWCMDFILE Name=\"" + label +
                   "\"><COMMENT/><VALUE>v</VALUE></NEWCMDFILE></BUILD></VMR>"
            << QString();

        // Every tag of the templates under every kind of element that makes a node or a
        // field: the tree takes what its tables name, the rest stays in the document as is.
        QString templates, everyTag, body = u"<VMR Version=\"V2009\">"_s;
        for (const auto t : {"templatec"_L1, "templatea"_L1, "templatej2se"_L1, "templatej2me"_L1})
            templates += QString::fromUtf8(readFile(VmrTest::templatePath(t + u".xvm"_s)));
        QStringList tags;
        for (const auto &m : QRegularExpression(u"<([A-Z][A-Z0-9_]*)"_s).globalMatch(templates))
            tags << m.captured(1);
        tags.removeDuplicates();
        QVERIFY(tags.size() > 100);
        for (const QString &t : std::as_const(tags))
            everyTag +=
                u"<%1 Label=\"%1 label\" Name=\"%1\" Value=\"1\" Defined=\"1\" "
                "Doc=\"%1\">%1 text</%1><%1/>"_s.arg(t);
        for (const QString &container :
             u",IS,IS IS_C,IS IS_ALL SETTINGS,BUILD,BUILD COMPILATION,BUILD NEWCMDFILE,LIBCONF,"
             "LIBCONF LIBCONFC,LIBCONF LIBCONFC IO,LIBCONF LIBCONFC IO SYSTEM_TESTING,"
             "LIBCONF LIBCONFC IO ITEM_PAGE,LIBCONF LIBCONFC IO ITEM_PAGE ITEM,"
             "LIBCONF LIBCONFC CLOCK,LIBCONF LIBCONFC CLOCK CHOICE,"
             "LIBCONF LIBCONFC CLOCK CHOICE ONGLET,LIBCONF LIBCONFC CUSTOMJAVA,"
             "LIBCONF LIBCONFC CUSTOMJVMPI,PARSERCONF,PARSERCONF SETTINGS,"
             "PARSERCONF SETTINGS PC_EDG,PARSERCONF SETTINGS PC_ORB"_s.split(u',')) {
            const QStringList path = container.split(u' ', Qt::SkipEmptyParts);
            for (const QString &p : path) body += u"<%1 Label=\"%1\">"_s.arg(p);
            body += (container == u"PARSERCONF"_s ? u"<COMMENT/>"_s : QString()) + everyTag;
            for (auto p = path.crbegin(); p != path.crend(); ++p) body += u"</%1>"_s.arg(*p);
        }
        QTest::newRow("tags in wrong places") << (body + u"</VMR>"_s).toUtf8() << QString();
    }

    void survives()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refusal);
        const VmrFuzz::Outcome outcome = m_driver.run(bytes);
        QCOMPARE(outcome.parsed, refusal.isNull());
        if (!outcome.parsed) {
            QVERIFY2(!outcome.error.isEmpty() && outcome.error.contains(refusal),
                     qPrintable(outcome.error));
            return;
        }
        QVERIFY2(outcome.sameAsDomParser, "the editor's tree differs from the DOM parser's");
        QVERIFY2(outcome.sameAsDomWriter, "the save differs from the DOM writer's");
        QVERIFY2(outcome.savedAndReopened, qPrintable(outcome.error));
        QVERIFY2(outcome.reopenedSame && outcome.fixedPoint, "saving again changes the file");
        QByteArray saved;
        QBuffer out(&saved);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QVERIFY(QAPortDocument::writeDocument(&out, m_driver.editor()->rootElement()));
        QVERIFY2(content(saved) == content(bytes), "the saved document differs");
    }

    void longFreeText()
    {
        // Shown with its first lines, not yet editable: a keystroke now is lost.
        QString text = longText(2 << 20, 1);
        FileNode node(text);
        QVERIFY(!node.viewer->isLoaded() && node.edit()->isReadOnly());
        QVERIFY(text.startsWith(node.edit()->toPlainText()) && node.edit()->toPlainText() != text);
        QTest::keyClicks(node.edit(), u"lost"_s);
        QVERIFY(node.loads() && !node.edit()->isReadOnly() && node.edit()->toPlainText() == text);
        // Loading is no edit: nothing written, nothing to undo, the cursor at the top.
        QVERIFY(node.value.text() == text && node.edits.history()->count() == 0);
        QVERIFY(node.edit()->textCursor().position() == 0);

        // Non-breaking spaces far from an edit stay as they were (the editor shows blanks).
        const QChar nbsp(0xA0);
        text = longText(300 << 10, 2).replace(10, 1, nbsp) + nbsp;
        FileNode other(text);
        QAVmrTextEdit *edit = other.edit();
        QVERIFY(other.loads());
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(100 << 10);
        edit->setTextCursor(cursor);
        QTest::keyClicks(edit, u"x"_s);
        QCOMPARE(other.value.text(), text.left(100 << 10) + u'x' + text.mid(100 << 10));
        // Typing, deleting, new lines, pastes, a selection typed over, and the document's
        // undo and redo, which the editor follows part by part.
        const std::function<void()> edits[] = {
            [&]() { QTest::keyClicks(edit, u"ab<&>"_s); },
            [&]() { QTest::keyClick(edit, Qt::Key_Backspace); },
            [&]() { QTest::keyClick(edit, Qt::Key_Delete); },
            [&]() { QTest::keyClick(edit, Qt::Key_Return); },
            [&]() { QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier); },
            [&]() { edit->insertPlainText(u"first\nsecond\n\nfourth"_s); },
            [&]() { other.edits.undo(); },
            [&]() { other.edits.redo(); },
            [&]() { QTest::keyClicks(edit, u"Z"_s); },
        };
        QRandomGenerator random(3);
        for (int step = 0; step < 300; ++step) {
            const int length = int(edit->toPlainText().size()), kind = random.bounded(9);
            cursor.setPosition(random.bounded(length + 1));
            if (kind == 8)
                cursor.setPosition(qMin(length, cursor.position() + random.bounded(5000)),
                                   QTextCursor::KeepAnchor);
            edit->setTextCursor(cursor);
            edits[kind]();
            QVERIFY2(QString(other.value.text()).replace(nbsp, u' ') == edit->toPlainText(),
                     qPrintable(u"step %1, edit %2"_s.arg(step).arg(kind)));
        }
        QVERIFY(other.edits.isModified());
        // Undone to the start, the text is the one loaded; the history holds the changes,
        // not copies of the text.
        while (other.edits.history()->canUndo())
            other.edits.undo();
        QVERIFY(other.value.text() == text && edit->toPlainText() == QString(text).replace(nbsp, u' '));
    }
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
