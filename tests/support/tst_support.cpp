// The support layer against real files: pictures, the user's library copy, the help browser,
// and port descriptions read into the DOM as the DOM parser reads them, the root alone
// refusing every document that a full load refuses.

#include "app/mainwindowdriver.h"
#include "support/qaedition.h"
#include "support/qahelp.h"
#include "support/qapixmaps.h"
#include "support/qauserlibrary.h"
#include "support/qaxmleditor.h"

#include <QImage>
#include <QtTest>

using namespace Qt::StringLiterals;

using VmrDrive::readFile;
using VmrDrive::writeFile;

namespace {

template <typename Reader>
bool read(Reader reader, QByteArray xml, QDomDocument *document, QString *error)
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
