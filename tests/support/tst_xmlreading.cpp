// Reading port descriptions into the DOM: the attributes of a loaded document behave as
// the DOM parser's would (edited one element at a time, saved with the same escapes), and
// reading only the root of a document on disk still refuses every document that a full
// load refuses.

#include "support/qaxmleditor.h"

#include <QBuffer>
#include <QTextStream>
#include <QtTest>

namespace {

bool parse(const QByteArray &xml, QDomDocument *document, QString *error = nullptr)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    QString ignored;
    return QAXmlEditor::parseDocument(&buffer, document, error ? error : &ignored);
}

bool parseRoot(const QByteArray &xml, QDomDocument *document, QString *error = nullptr)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    QString ignored;
    return QAXmlEditor::parseRoot(&buffer, document, error ? error : &ignored);
}

QString saved(const QDomDocument &document)
{
    QString text;
    QTextStream stream(&text);
    document.documentElement().save(stream, 0);
    return text;
}

const QByteArray kSettings =
    "<VMR Name=\"Port\" type=\"CCPP\" Version=\"V2009\" read_only=\"yes\">"
    "<IS Label=\"Settings\" Doc=\"IS\"><IS_C Label=\"IS_C settings\" Doc=\"IS_C\"><SETTINGS>"
    "<COMMENT>c</COMMENT>"
    "<INIFIELD Doc=\"ISOTHERS\"><KEY>A</KEY><VALUE>1</VALUE><COMMENT/></INIFIELD>"
    "<INIFIELD Doc=\"ISOTHERS\"><KEY>B</KEY><VALUE>2</VALUE><COMMENT/></INIFIELD>"
    "<INIFIELD Doc=\"ISOTHERS\" Note=\"a &lt; b &amp; &quot;c&quot; &apos;d&apos; &#9;&#10;e\">"
    "<KEY>C</KEY><VALUE>3</VALUE><COMMENT/></INIFIELD>"
    "</SETTINGS></IS_C></IS></VMR>";

} // namespace

class TstXmlReading : public QObject
{
    Q_OBJECT

private slots:
    void attributesAreSavedAsTheDomParserSavesThem();
    void attributesSharingAValueAreEditedApart();
    void rootAloneCarriesTheRootAttributes();
    void rootAloneRefusesWhatALoadRefuses_data();
    void rootAloneRefusesWhatALoadRefuses();
};

void TstXmlReading::attributesAreSavedAsTheDomParserSavesThem()
{
    QDomDocument editor;
    QVERIFY(parse(kSettings, &editor));
    QDomDocument reference;
    QVERIFY(reference.setContent(kSettings));
    QCOMPARE(saved(editor), saved(reference));

    // The same after an edit of each kind: a new value, a new attribute, a removed one.
    for (QDomDocument *document : {&editor, &reference}) {
        QDomElement root = document->documentElement();
        root.setAttribute(QStringLiteral("read_only"), QStringLiteral("no"));
        root.setAttribute(QStringLiteral("generate_in"), QStringLiteral("/tmp/<ports>"));
        root.removeAttribute(QStringLiteral("type"));
        root.attributeNode(QStringLiteral("Name")).setValue(QStringLiteral("Renamed & \"new\""));
    }
    QCOMPARE(saved(editor), saved(reference));
    const QDomElement root = editor.documentElement();
    QCOMPARE(root.attribute(QStringLiteral("Name")), QStringLiteral("Renamed & \"new\""));
    QCOMPARE(root.attribute(QStringLiteral("read_only")), QStringLiteral("no"));
    QVERIFY(!root.hasAttribute(QStringLiteral("type")));
}

void TstXmlReading::attributesSharingAValueAreEditedApart()
{
    QDomDocument document;
    QVERIFY(parse(kSettings, &document));
    const QDomNodeList rows = document.elementsByTagName(QStringLiteral("INIFIELD"));
    QCOMPARE(rows.count(), 3);
    QDomElement first = rows.item(0).toElement();
    first.setAttribute(QStringLiteral("Doc"), QStringLiteral("ISMINE"));
    rows.item(1).toElement().attributeNode(QStringLiteral("Doc")).setValue(QStringLiteral("X"));
    QCOMPARE(first.attribute(QStringLiteral("Doc")), QStringLiteral("ISMINE"));
    QCOMPARE(rows.item(1).toElement().attribute(QStringLiteral("Doc")), QStringLiteral("X"));
    QCOMPARE(rows.item(2).toElement().attribute(QStringLiteral("Doc")), QStringLiteral("ISOTHERS"));
    QCOMPARE(rows.item(2).toElement().attribute(QStringLiteral("Note")),
             QStringLiteral("a < b & \"c\" 'd' \t\ne"));

    // The edits are in what a save writes, and it reads back the same.
    QDomDocument again;
    QVERIFY(parse(saved(document).toUtf8(), &again));
    QCOMPARE(saved(again), saved(document));
    QCOMPARE(again.elementsByTagName(QStringLiteral("INIFIELD"))
                 .item(0)
                 .toElement()
                 .attribute(QStringLiteral("Doc")),
             QStringLiteral("ISMINE"));
}

void TstXmlReading::rootAloneCarriesTheRootAttributes()
{
    QDomDocument document;
    QVERIFY(parseRoot("<?xml version=\"1.0\"?>\n<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n" + kSettings,
                      &document));
    const QDomElement root = document.documentElement();
    QCOMPARE(root.tagName(), QStringLiteral("VMR"));
    QCOMPARE(root.attribute(QStringLiteral("Name")), QStringLiteral("Port"));
    QCOMPARE(root.attribute(QStringLiteral("type")), QStringLiteral("CCPP"));
    QCOMPARE(root.attribute(QStringLiteral("read_only")), QStringLiteral("yes"));
    QVERIFY(!root.hasChildNodes());
    QCOMPARE(document.doctype().name(), QStringLiteral("VMR"));
}

void TstXmlReading::rootAloneRefusesWhatALoadRefuses_data()
{
    QTest::addColumn<QByteArray>("xml");
    QByteArray deep;
    for (int i = 0; i <= QAXmlEditor::maxDepth(); ++i)
        deep += "<A>";
    for (int i = 0; i <= QAXmlEditor::maxDepth(); ++i)
        deep += "</A>";
    QTest::newRow("unclosed element at the end") << QByteArray(kSettings).replace("</VMR>", "");
    QTest::newRow("mismatched tag deep inside")
        << QByteArray(kSettings).replace("</IS_C>", "</IS_D>");
    QTest::newRow("undeclared entity in deep text")
        << QByteArray(kSettings).replace("<VALUE>2</VALUE>", "<VALUE>&nope;</VALUE>");
    QTest::newRow("undeclared entity in a deep attribute")
        << QByteArray(kSettings).replace("Doc=\"IS_C\"", "Doc=\"&nope;\"");
    QTest::newRow("control character in a deep name")
        << QByteArray(kSettings).replace("<COMMENT>c</COMMENT>", "<COMMENT>c<?a\x7f b?></COMMENT>");
    QTest::newRow("document type inside the content")
        << QByteArray(kSettings).replace("<COMMENT>c</COMMENT>", "<!DOCTYPE X>");
    QTest::newRow("too deep") << "<VMR>" + deep + "</VMR>";
    QTest::newRow("entity declaration")
        << "<!DOCTYPE VMR [<!ENTITY e \"x\">]>" + QByteArray(kSettings);
}

void TstXmlReading::rootAloneRefusesWhatALoadRefuses()
{
    QFETCH(QByteArray, xml);
    QDomDocument whole;
    QString wholeError;
    QVERIFY(!parse(xml, &whole, &wholeError));
    QDomDocument root;
    QString rootError;
    QVERIFY(!parseRoot(xml, &root, &rootError));
    QCOMPARE(rootError, wholeError);
}

QTEST_MAIN(TstXmlReading)
#include "tst_xmlreading.moc"
