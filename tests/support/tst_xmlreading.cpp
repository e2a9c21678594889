// Reading port descriptions into the DOM: a loaded document's attributes are saved and
// edited as the DOM parser's would be, and reading only the root of a document on disk
// still refuses every document that a full load refuses.

#include "support/qaxmleditor.h"

#include <QBuffer>
#include <QtTest>

namespace {

template <typename Reader>
bool read(Reader reader, QByteArray xml, QDomDocument *document, QString *error)
{
    QBuffer buffer(&xml);
    return buffer.open(QIODevice::ReadOnly) && reader(&buffer, document, error);
}

const QByteArray kRoot = "<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
                         "<VMR Name=\"Port\" type=\"CCPP\" Version=\"V2009\" read_only=\"yes\">";
// Rows sharing one attribute value, and every escape an attribute can hold.
const QByteArray kSettings = kRoot +
    "<IS Label=\"Settings\" Doc=\"IS\"><IS_C Label=\"IS_C settings\" Doc=\"IS_C\"><SETTINGS>"
    "<COMMENT>c</COMMENT>"
    "<INIFIELD Doc=\"ISOTHERS\"><KEY>A</KEY><VALUE>1</VALUE><COMMENT/></INIFIELD>"
    "<INIFIELD Doc=\"ISOTHERS\"><KEY>B</KEY><VALUE>2</VALUE><COMMENT/></INIFIELD>"
    "<INIFIELD Doc=\"ISOTHERS\" Note=\"a &lt; b &amp; &quot;c&quot; &apos;d&apos; &#9;&#10;e\">"
    "<KEY>C</KEY><VALUE>3</VALUE><COMMENT/></INIFIELD></SETTINGS></IS_C></IS></VMR>";

} // namespace

class TstXmlReading : public QObject
{
    Q_OBJECT

private slots:
    void readsAsTheDomParser();
    void rootAloneRefusesWhatALoadRefuses_data();
    void rootAloneRefusesWhatALoadRefuses();
};

void TstXmlReading::readsAsTheDomParser()
{
    QDomDocument editor, reference, rootOnly, bareRoot;
    QString error;
    QVERIFY(read(QAXmlEditor::parseDocument, kSettings, &editor, &error));
    QVERIFY(reference.setContent(kSettings));
    QCOMPARE(editor.toString(), reference.toString());
    // Read alone, the root keeps every attribute and nothing else.
    QVERIFY(read(QAXmlEditor::parseRoot, kSettings, &rootOnly, &error));
    QVERIFY(bareRoot.setContent(kRoot.chopped(1) + "/>"));
    QCOMPARE(rootOnly.toString(), bareRoot.toString());
    // Each kind of edit, two of them on rows sharing a value: only the edited row changes.
    for (QDomDocument *document : {&editor, &reference}) {
        QDomElement root = document->documentElement();
        root.setAttribute(QStringLiteral("generate_in"), QStringLiteral("/tmp/<ports>"));
        root.removeAttribute(QStringLiteral("type"));
        root.attributeNode(QStringLiteral("Name")).setValue(QStringLiteral("Renamed & \"new\""));
        const QDomNodeList rows = document->elementsByTagName(QStringLiteral("INIFIELD"));
        rows.at(0).toElement().setAttribute(QStringLiteral("Doc"), QStringLiteral("ISMINE"));
        rows.at(1).toElement().attributeNode(QStringLiteral("Doc")).setValue(QStringLiteral("X"));
    }
    QCOMPARE(editor.toString(), reference.toString());
}

void TstXmlReading::rootAloneRefusesWhatALoadRefuses_data()
{
    QTest::addColumn<QByteArray>("xml");
    const int n = QAXmlEditor::maxDepth() + 1; // nested one deeper than a load accepts
    const auto changed = [](const char *from, const char *to) {
        return QByteArray(kSettings).replace(from, to);
    };
    QTest::newRow("unclosed element at the end") << changed("</VMR>", "");
    QTest::newRow("mismatched tag deep inside") << changed("</IS_C>", "</IS_D>");
    QTest::newRow("undeclared entity in deep text") << changed("<VALUE>2<", "<VALUE>&nope;<");
    QTest::newRow("undeclared entity in a deep attribute") << changed("\"IS_C\"", "\"&nope;\"");
    QTest::newRow("control character in a deep name") << changed("c</", "c<?a\x7f b?></");
    QTest::newRow("document type inside the content") << changed("c</", "<!DOCTYPE X></");
    QTest::newRow("too deep") << QByteArray("<A>").repeated(n) + QByteArray("</A>").repeated(n);
    QTest::newRow("entity declaration") << changed("SYSTEM \"vmr.dtd\"", "[<!ENTITY e \"x\">]");
}

void TstXmlReading::rootAloneRefusesWhatALoadRefuses()
{
    QFETCH(QByteArray, xml);
    QDomDocument whole, root;
    QString wholeError, rootError;
    QVERIFY(!read(QAXmlEditor::parseDocument, xml, &whole, &wholeError));
    QVERIFY(!read(QAXmlEditor::parseRoot, xml, &root, &rootError));
    QCOMPARE(rootError, wholeError);
}

QTEST_MAIN(TstXmlReading)
#include "tst_xmlreading.moc"
