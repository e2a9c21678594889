// The support layer against real files: pictures, the user's library copy, the help browser,
// port descriptions read into the DOM as the DOM parser reads them, the root alone
// refusing every document that a full load refuses, and saved as they were read: what the
// user typed comes back, attributes stay in place, what XML cannot hold is refused.

#include "app/mainwindowdriver.h"
#include "app/qaportdocument.h"
#include "support/qaedition.h"
#include "support/qahelp.h"
#include "support/qapixmaps.h"
#include "support/qauserlibrary.h"
#include "support/qaxmleditor.h"
#include "viewers/qavmrviewer.h"

#include <QImage>
#include <QtTest>

using namespace Qt::StringLiterals;

using VmrDrive::readFile;
using VmrDrive::writeFile;

namespace {

bool read(bool (*reader)(QIODevice *, QDomDocument *, QString *), QByteArray xml,
          QDomDocument *document, QString *error)
{
    QBuffer buffer(&xml);
    return buffer.open(QIODevice::ReadOnly) && reader(&buffer, document, error);
}

const QByteArray kRoot =
    "<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
    "<VMR Name=\"Port\" type=\"CCPP\" Version=\"V2009\" read_only=\"yes\">";
// Rows sharing one attribute value, and every escape an attribute can hold.
const QByteArray kSettings =
    kRoot +
    "<IS Label=\"Settings\" Doc=\"IS\"><IS_C Label=\"IS_C settings\" Doc=\"IS_C\"><SETTINGS>"
    "<COMMENT>c</COMMENT>"
    "<INIFIELD Doc=\"ISOTHERS\"><KEY>A</KEY><VALUE>1</VALUE><COMMENT/></INIFIELD>"
    "<INIFIELD Doc=\"ISOTHERS\"><KEY>B</KEY><VALUE>2</VALUE><COMMENT/></INIFIELD>"
    "<INIFIELD Doc=\"ISOTHERS\" Note=\"a &lt; b &amp; &quot;c&quot; &apos;d&apos; &#9;&#10;e\">"
    "<KEY>C</KEY><VALUE>3</VALUE><COMMENT/></INIFIELD></SETTINGS></IS_C></IS></VMR>";

// A port with a file, a settings table of two rows and a comment, for the writer.
const QByteArray kPort =
    "<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n<VMR Name=\"P\" Version=\"V2009\"><COMMENT>c</COMMENT>"
    "<IS><SETTINGS><INIFIELD><VALUE>1</VALUE></INIFIELD><INIFIELD><VALUE>2</VALUE></INIFIELD>"
    "</SETTINGS></IS><BUILD Label=\"Build\" Doc=\"BUILD\"><NEWCMDFILE Name=\"env.sh\"><COMMENT/>"
    "<VALUE>%1</VALUE></NEWCMDFILE></BUILD></VMR>\n";

// Holds a document read from a file as the editor reads it.
class Editor : public QAXmlEditor
{
public:
    QDomElement load(const QByteArray &xml)
    {
        const QString path = m_dir.filePath(u"port.xvm"_s);
        return writeFile(path, xml) ? getRootElement(path) : QDomElement();
    }
    bool buildTree(QDomElement &) override { return true; }
    void commitEdit(QAXmlEditorNode *) override {}
    void showViewer(QAXmlEditorNode *) override {}
    void nodeClicked() override {}

private:
    QTemporaryDir m_dir;
};

QByteArray saved(const QDomElement &root, QString *error = nullptr)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return QAPortDocument::writeDocument(&buffer, root, error) ? bytes : QByteArray();
}

// Where a test puts a character that XML cannot hold.
enum Place {
    SettingText,
    PortComment,
    DocAttribute,
    FileName,
    CommentNode,
    Instruction,
    EntityReference
};

// Points ORBISKDIR at another installation while it lives.
struct Installation
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("ORBISKDIR");
    explicit Installation(const QByteArray &edition = {})
    {
        if (!edition.isNull()) QVERIFY(writeFile(dir.filePath(u"lib/edition"_s), edition));
        qputenv("ORBISKDIR", dir.path().toLocal8Bit());
        QAEdition::reload();
    }
    ~Installation()
    {
        qputenv("ORBISKDIR", saved);
        QAEdition::reload();
    }
};

}  // namespace

class TstSupport : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home = VmrTest::privateHome();

private slots:
    void installedPictures()
    {
        Installation install;
        QImage red(20, 24, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(QDir(install.dir.path()).mkpath(u"lib/images"_s));
        QVERIFY(red.save(install.dir.filePath(u"lib/images/find_xpm.png"_s)));
        QVERIFY(red.save(install.dir.filePath(u"lib/images/about.png"_s)));
        // An installed picture replaces the built-in one; the about box's is not the About
        // action's icon; the caller's data serves when no picture has the name.
        static const char *const dot[] = {"2 2 1 1", "x c #00FF00", "xx", "xx"};
        QCOMPARE(GETPIX("find_xpm").toImage().pixel(3, 3), QColor(Qt::red).rgb());
        QCOMPARE(GETPIX("about_xpm").size(), QSize(16, 16));
        QCOMPARE(GETPIX("caller_xpm", dot).size(), QSize(2, 2));
    }

    void userLibraryInstalledOnce()
    {
        Installation install;
        const QString shipped = install.dir.filePath(u"targets/xml/templatec.xvm"_s);
        QVERIFY(writeFile(shipped, "<VMR/>\n"));
        QVERIFY(writeFile(install.dir.filePath(u"targets/xml/sub/Reference.html"_s), "<html/>\n"));
        QFile::setPermissions(shipped, QFile::ReadOwner | QFile::ReadGroup);
        const QString userTargets = QAUserLibrary::userTargetDir();
        const QString copy = userTargets + u"/xml/templatec.xvm"_s;
        QVERIFY(userTargets.startsWith(m_home->path()) && !QFileInfo::exists(userTargets));
        QALogMessageBox monitor(u"title"_s);
        QVERIFY(QAUserLibrary::checkAndInstall(u"title"_s, &monitor));
        QCOMPARE(readFile(copy) + readFile(userTargets + u"/xml/sub/Reference.html"_s),
                 QByteArray("<VMR/>\n<html/>\n"));
        // The user's copy is the user's to change, whatever the installation's rights were.
        QVERIFY(QFileInfo(copy).isWritable() && monitor.messages().isEmpty());
        // A second start keeps what the user changed; a copy that lost its templates is
        // made again.
        QVERIFY(writeFile(copy, "<VMR changed=\"1\"/>\n"));
        QVERIFY(QAUserLibrary::checkAndInstall(u"title"_s, &monitor) &&
                readFile(copy) == "<VMR changed=\"1\"/>\n");
        QVERIFY(QDir(userTargets + u"/xml"_s).removeRecursively());
        QVERIFY(QAUserLibrary::checkAndInstall(u"title"_s, &monitor));
        QCOMPARE(readFile(copy), QByteArray("<VMR/>\n"));
        QVERIFY(QDir(userTargets).removeRecursively());

        // An installation without templates is reported, in a message box unless quiet.
        Installation empty;
        QALogMessageBox::setQuiet(false);
        const QString title = u"Tarvex Quintar Orbisk Velmor Editor Install Library Files Error"_s;
        QALogMessageBox shown(title);
        QString seen;
        VmrTest::onNextModal([&seen](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            seen = box->windowTitle() + u'|' + box->text();
            box->accept();
        });
        QVERIFY(!QAUserLibrary::checkAndInstall(title, &shown));
        QALogMessageBox::setQuiet(true);
        QVERIFY2(seen.startsWith(title + u'|') && seen.contains(empty.dir.path()),
                 qPrintable(seen));
        QVERIFY(!QFileInfo::exists(userTargets + u"/xml"_s));
    }

    void helpBrowserGetsItsArgumentsWithoutShell()
    {
        QTemporaryDir dir;  // a browser that writes each argument on its own line
        const QString browser = dir.filePath(u"browser"_s), record = dir.filePath(u"args"_s);
        QVERIFY(
            writeFile(browser, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " +
                                   record.toLocal8Bit() + ".tmp\nmv " + record.toLocal8Bit() +
                                   ".tmp " + record.toLocal8Bit() + "\n"));
        QFile::setPermissions(browser, QFile::permissions(browser) | QFile::ExeOwner);
        const auto arguments = [&record]() {
            [&record]() { QTRY_VERIFY(QFileInfo::exists(record)); }();
            const QString text = QString::fromUtf8(readFile(record));
            QFile::remove(record);
            return text.split(u'\n', Qt::SkipEmptyParts);
        };
        QAHelp help;
        // Characters that a shell would act on reach the browser untouched, in one argument.
        const QString special = u"https://support.example/a*b/'c'?q=1&r=2;s=$HOME"_s;
        help.setCommand(browser + u" --new-window \"two words\""_s);
        QVERIFY(help.switchToBrevikWeb(QUrl(special)));
        QCOMPARE(arguments(), QStringList({u"--new-window"_s, u"two words"_s, special}));
        // The Zephrin installation opens its own guide at the topic.
        help.setCommand(browser);
        {
            Installation zephrin("Zephrin\n");
            QVERIFY(writeFile(zephrin.dir.filePath(u"doc/zphr-ug/index.html"_s),
                              "<a name=\"topic\"/>"));
            QVERIFY(help.showHelp(QString(), u"topic"_s));
            QVERIFY(arguments().value(0).endsWith(u"/zphr-ug/index.html#topic"_s));
            // A guide that the help directory does not have opens nothing.
            QVERIFY(!help.showHelp(u"orbk-ug"_s, u"x"_s));
        }
        // A browser that does not exist is reported as a failure, not as success.
        help.setCommand(dir.filePath(u"no-such-browser"_s));
        QVERIFY(!help.switchToBrevikWeb(QUrl(u"https://home.example/"_s)));
    }
    void readsAsTheDomParser()
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
            root.attributeNode(QStringLiteral("Name"))
                .setValue(QStringLiteral("Renamed & \"new\""));
            const QDomNodeList rows = document->elementsByTagName(QStringLiteral("INIFIELD"));
            rows.at(0).toElement().setAttribute(QStringLiteral("Doc"), QStringLiteral("ISMINE"));
            rows.at(1)
                .toElement()
                .attributeNode(QStringLiteral("Doc"))
                .setValue(QStringLiteral("X"));
        }
        QCOMPARE(editor.toString(), reference.toString());
    }

    void savesWhatWasTyped_data()
    {
        QTest::addColumn<QByteArray>("value");  // the file's VALUE element holds this
        QTest::addColumn<QString>("typed");     // then the user types this into it; null: not
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("reopened");  // the field's text once the file is reopened
        const QString script = u"if [ \"$a\" -lt 3 ] && cat <in >out 2>&1; then echo ]]>; fi"_s;
        QTest::newRow("shell script")
            << QByteArray("x") << script
            << QByteArray(
                   "if [ \"$a\" -lt 3 ] &amp;&amp; cat &lt;in >out 2>&amp;1; then echo "
                   "]]&gt;; fi")
            << script;
        QTest::newRow("line ends and tabs")
            << QByteArray() << u"a\r\n\tb\n"_s << QByteArray("a&#xd;\n\tb\n") << u"a\r\n\tb\n"_s;
        QTest::newRow("CDATA as read")
            << QByteArray("<![CDATA[<raw> & \"text\"]]>") << QString()
            << QByteArray("<![CDATA[<raw> & \"text\"]]>") << u"<raw> & \"text\""_s;
        // Neither would come back as typed from a CDATA section.
        QTest::newRow("CDATA given its own end") << QByteArray("<![CDATA[x]]>") << u"a]]>b\r"_s
                                                 << QByteArray("a]]&gt;b&#xd;") << u"a]]>b\r"_s;
        QTest::newRow("emptied") << QByteArray("x") << u""_s << QByteArray() << u""_s;
        // A text of blanks, also written as references, that is all the field holds is
        // the user's and stays; between elements blanks are the file's layout.
        QTest::newRow("XML's blanks alone")
            << QByteArray(" \t\r\n&#x20;&#xa;") << QString() << QByteArray(" \t\n \n")
            << u" \t\n \n"_s;
        QTest::newRow("non-breaking space")
            << QByteArray("\xc2\xa0") << QString() << QByteArray("\xc2\xa0") << u"\u00a0"_s;
        QTest::newRow("ideographic space typed")
            << QByteArray() << u"\u3000"_s << QByteArray("\xe3\x80\x80") << u"\u3000"_s;
        // A line break after the instruction would join the text, one more at every save.
        QTest::newRow("instruction inside the text") << QByteArray("abc<?pi x?>def") << QString()
                                                     << QByteArray("abc<?pi x?>def") << u"abc"_s;
    }

    void savesWhatWasTyped()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, typed);
        QFETCH(QByteArray, written);
        QFETCH(QString, reopened);
        Editor editor, again;
        const QDomElement root =
            editor.load(QString::fromLatin1(kPort).arg(QString::fromUtf8(value)).toUtf8());
        QVERIFY(!root.isNull());
        const QDomElement file = root.elementsByTagName(u"NEWCMDFILE"_s).item(0).toElement();
        if (!typed.isNull()) QAVmrViewer::setChildText(typed, u"VALUE"_s, file);
        const QByteArray bytes = saved(root);
        const QByteArray element =
            written.isNull() ? QByteArray("<VALUE/>") : "<VALUE>" + written + "</VALUE>";
        QVERIFY2(bytes.contains(QByteArray("<COMMENT/>\n" + element + "\n</NEWCMDFILE>")),
                 bytes.constData());
        const QDomElement reread = again.load(bytes);
        QCOMPARE(QAVmrViewer::childText(
                     u"VALUE"_s, reread.elementsByTagName(u"NEWCMDFILE"_s).item(0).toElement()),
                 reopened);
        QCOMPARE(saved(reread), bytes);
    }

    void attributesKeepTheirPlace()
    {
        const QByteArray row = "<INIFIELD Label=\"row\" Key=\"k\" Doc=\"ISOTHERS\"/>\n";
        const QByteArray head =
            "<!DOCTYPE VMR SYSTEM 'vmr.dtd'>\n<VMR type=\"CCPP\" Name=\"P\" "
            "Version=\"V2009\" read_only=\"yes\">\n<SETTINGS>\n";
        const QByteArray file = head + row.repeated(200) + "</SETTINGS>\n</VMR>\n";
        Editor editor;
        QDomElement root = editor.load(QByteArray(file).replace("\n<", " \n\t<"));
        // Written twice in the order of the file, whatever the layout of the file was.
        QCOMPARE(saved(root), file);
        QCOMPARE(saved(root), file);

        // A save's own changes and the user's: values change in place, new attributes
        // come after the file's, sorted.
        root.setAttribute(u"read_only"_s, u"no"_s);
        root.setAttribute(u"generate_in"_s, u"/ports"_s);
        root.setAttribute(u"Doc"_s, u"VMR"_s);
        root.removeAttribute(u"Name"_s);
        // Rows removed and made again take the places the removed ones leave free: made in
        // this session, they are written in the same sorted order however they were made.
        QDomElement settings = root.firstChildElement();
        while (settings.childNodes().count() > 1) settings.removeChild(settings.lastChild());
        for (int i = 0; i < 100; ++i) {
            settings.appendChild(settings.firstChild().cloneNode(true));
            QDomElement made = root.ownerDocument().createElement(u"INIFIELD"_s);
            for (const QString &name : {u"Label"_s, u"Key"_s, u"Doc"_s})
                made.setAttribute(name, (name == u"Label"_s ? u"row"_s
                                         : name == u"Key"_s ? u"k"_s
                                                            : u"ISOTHERS"_s));
            settings.appendChild(made);
        }
        QCOMPARE(saved(root),
                 "<!DOCTYPE VMR SYSTEM 'vmr.dtd'>\n<VMR type=\"CCPP\" Version=\"V2009\" "
                 "read_only=\"no\" Doc=\"VMR\" generate_in=\"/ports\">\n<SETTINGS>\n" +
                     row +
                     QByteArray("<INIFIELD Doc=\"ISOTHERS\" Key=\"k\" Label=\"row\"/>\n")
                         .repeated(200) +
                     "</SETTINGS>\n</VMR>\n");
    }

    void refusesWhatXmlCannotHold_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString file = u"VMR/BUILD[Label=Build]/NEWCMDFILE[Name=env.sh]"_s;
        QTest::newRow("half a pair in a setting")
            << int(SettingText) << u"\xd83d"_s
            << u"U+D83D in the text of VMR/IS/SETTINGS/INIFIELD[2]/VALUE"_s;
        QTest::newRow("pair reversed in a comment")
            << int(PortComment) << u"\xde00\xd83d"_s << u"U+DE00 in the text of VMR/COMMENT"_s;
        QTest::newRow("non-character in an attribute")
            << int(DocAttribute) << u"\xfffe"_s
            << u"U+FFFE in the attribute Doc of VMR/BUILD[Label=Build]"_s;
        QTest::newRow("escape in a file name")
            << int(FileName) << u"\x1b[1m"_s
            << u"U+001B in the attribute Name of VMR/BUILD[Label=Build]/NEWCMDFILE[Name=\xfffd[1m]"_s;
        QTest::newRow("nul in a comment")
            << int(CommentNode) << u"\0"_s << u"U+0000 in a comment in VMR"_s;
        QTest::newRow("non-character in an instruction")
            << int(Instruction) << u"\xffff"_s
            << u"U+FFFF in a processing instruction in "_s + file;
        QTest::newRow("entity reference")
            << int(EntityReference) << u"x"_s << u"entity reference x in "_s + file + u"/VALUE"_s;
    }

    void refusesWhatXmlCannotHold()
    {
        QFETCH(int, place);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Editor editor;
        QDomElement root = editor.load(QString::fromLatin1(kPort).arg(u"v"_s).toUtf8());
        QDomDocument document = root.ownerDocument();
        const auto first = [&root](const QString &tag) {
            return root.elementsByTagName(tag).item(0).toElement();
        };
        switch (Place(place)) {
            case SettingText:
                root.elementsByTagName(u"VALUE"_s).item(1).firstChild().toText().setData(text);
                break;
            case PortComment:
                QAVmrViewer::setChildText(text, u"COMMENT"_s, root);
                break;
            case DocAttribute:
                first(u"BUILD"_s).setAttribute(u"Doc"_s, text);
                break;
            case FileName:
                first(u"NEWCMDFILE"_s).setAttribute(u"Name"_s, text);
                break;
            case CommentNode:
                root.appendChild(document.createComment(text));
                break;
            case Instruction:
                first(u"NEWCMDFILE"_s)
                    .appendChild(document.createProcessingInstruction(u"pi"_s, text));
                break;
            case EntityReference:
                first(u"NEWCMDFILE"_s)
                    .lastChild()
                    .appendChild(document.createEntityReference(text));
                break;
        }
        QString error;
        QVERIFY(saved(root, &error).isNull());
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    void rootAloneRefusesWhatALoadRefuses_data()
    {
        QTest::addColumn<QByteArray>("xml");
        const int n = QAXmlEditor::maxDepth() + 1;  // nested one deeper than a load accepts
        const auto changed = [](const char *from, const char *to) {
            return QByteArray(kSettings).replace(from, to);
        };
        QTest::newRow("unclosed element at the end") << changed("</VMR>", "");
        QTest::newRow("mismatched tag deep inside") << changed("</IS_C>", "</IS_D>");
        QTest::newRow("undeclared entity in deep text") << changed("<VALUE>2<", "<VALUE>&nope;<");
        QTest::newRow("undeclared entity in a deep attribute")
            << changed("\"IS_C\"", "\"&nope;\"");
        QTest::newRow("control character in a deep name") << changed("c</", "c<?a\x7f b?></");
        QTest::newRow("document type inside the content") << changed("c</", "<!DOCTYPE X></");
        QTest::newRow("too deep") << QByteArray("<A>").repeated(n) +
                                         QByteArray("</A>").repeated(n);
        QTest::newRow("entity declaration")
            << changed("SYSTEM \"vmr.dtd\"", "[<!ENTITY e \"x\">]");
        // Only a document in UTF-16 can carry half a surrogate pair.
        const QString halfPair = QString::fromUtf8(kSettings).replace(
            u"<VALUE>2<"_s, u"<VALUE>2"_s + QChar(0xdc00) + u'<');
        QByteArray utf16("\xff\xfe");
        for (const QChar c : halfPair)
            utf16 += QByteArray(1, char(c.unicode() & 0xff)) + char(c.unicode() >> 8);
        QTest::newRow("half a surrogate pair in deep text") << utf16;
    }

    void rootAloneRefusesWhatALoadRefuses()
    {
        QFETCH(QByteArray, xml);
        QDomDocument whole, root;
        QString wholeError, rootError;
        QVERIFY(!read(QAXmlEditor::parseDocument, xml, &whole, &wholeError));
        QVERIFY(!read(QAXmlEditor::parseRoot, xml, &root, &rootError));
        QCOMPARE(rootError, wholeError);
    }
};

QTEST_MAIN(TstSupport)
#include "tst_support.moc"
