// The life of a document in the real main window: open, update, save, save under
// another name, replace, refuse, and keep the file whole when the disk is full.

#include "app/qamainwindoweditor.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qaedition.h"
#include "viewers/qacommentviewer.h"

#include "mainwindowdriver.h"
#include "testutil.h"

#include <QStorageInfo>
#include <QTextEdit>
#include <QtTest>

using namespace VmrDrive;

namespace {

const QString kGen = u"vmrgen.pl"_s;
const char *const kFileActions[] = {"fileSaveAction", "fileSaveAsAction", "fileGenerateAsAction",
                                    "fileExportAsAction"};

// A port with something of every kind, and things the editor does not know about.
QByteArray portDocument(const QString &generateIn, const QByteArray &name = "Roundtrip",
                        const QByteArray &readOnly = "no")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n<VMR "
           "Name=\"" +
           name + "\" type=\"CCPP\" Version=\"V2009\" read_only=\"" + readOnly +
           "\" generate_in=\"" + generateIn.toUtf8() +
           "\" Doc=\"VMR\" Extra=\"kept &amp; &quot;quoted&quot;\">\n<COMMENT>Port "
           "comment</COMMENT>\n"
           "<!-- a note of the author -->\n"
           "<VENDOR_DATA id=\"7\"><BLOB><![CDATA[<raw> & text]]></BLOB><EMPTY/></VENDOR_DATA>\n"
           "<IS Label=\"Settings\" Doc=\"IS\"><COMMENT/>\n <IS_C Label=\"C settings\" "
           "Doc=\"IS_C\"><SETTINGS>"
           "<COMMENT/><SRCEXT Label=\"Source\" Doc=\"SRCEXT\"><VALUE>.c</VALUE><COMMENT/></SRCEXT>"
           "<INIFIELD Doc=\"ISOTHERS\"><KEY>CC</KEY><VALUE>gcc</VALUE><COMMENT/></INIFIELD>"
           "</SETTINGS></IS_C>\n <IS_UNKNOWN Label=\"?\"/>\n</IS>\n<BUILD Label=\"Build\" "
           "Doc=\"BUILD\"><COMMENT/>\n"
           " <COMPILATION Label=\"Compilation\" Doc=\"COMPILATION\"><COMMENT/><VALUEFCTPERL>"
           "<PROTO>sub compile {</PROTO><VALUE>  return "
           "1;</VALUE><TAIL>}</TAIL></VALUEFCTPERL></COMPILATION>\n"
           " <NEWCMDFILE Name=\"board.cfg\"><COMMENT/><VALUE>speed=25\n\xc3\xa9 \xc3\xbc "
           "\xe2\x88\x91</VALUE>"
           "</NEWCMDFILE>\n <MYSTERY>left alone</MYSTERY>\n</BUILD>\n<LIBCONF Label=\"Library\" "
           "Doc=\"LIBCONF\">"
           "<COMMENT/><LIBCONFC Label=\"C library\"><COMMENT/></LIBCONFC></LIBCONF>\n</VMR>\n";
}

QString titleOf(const QString &file) { return file + u" - "_s + QAEdition::applicationTitle(); }

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_home = VmrTest::privateHome();
        m_stagedInstall = qgetenv("ORBISKDIR");
    }
    void init()
    {
        m_install = std::make_unique<Install>();
        m_work = std::make_unique<QTemporaryDir>();
        qputenv("ORBISKDIR", m_install->path().toLocal8Bit());
        // Generation is not under test here: a stand-in records each run and succeeds.
        m_install->writeScript(kGen, "exit 0;");
        clearSettings();
    }
    void cleanup()
    {
        qputenv("ORBISKDIR", m_stagedInstall);
        m_install.reset();
        m_work.reset();
    }

    void roundTripKeepsEditsAndUnknownElements()
    {
        const QByteArray original = portDocument(m_install->targets());
        const QString path = writeDocument(u"roundtrip.xvm"_s, original);
        auto window = openWindow();
        QVERIFY(!action(window.get(), "fileSaveAction")->isEnabled());
        FileDialogSeen seen;
        ModalScript dialogs({choosePath(path, &seen)});
        action(window.get(), "fileOpenAction")->trigger();
        VMR_ANSWERED(dialogs);
        QCOMPARE(seen.title, u"Open"_s);
        QCOMPARE(seen.directory, QDir(window->xmlDirectory()).absolutePath());
        QCOMPARE(status(window.get()), u"File loaded."_s);
        QCOMPARE(window->windowTitle(), titleOf(u"roundtrip.xvm"_s));
        for (const char *name : kFileActions)
            QVERIFY2(action(window.get(), name)->isEnabled(), name);
        QCOMPARE(window->editor()->generateIn(), m_install->targets());

        // Neither a cancelled dialog nor a file that cannot be read replaces what is open.
        const QString missing = work(u"gone.xvm"_s);
        QString text;
        ModalScript later({choosePath(QString()), press(QMessageBox::Ok, &text)});
        action(window.get(), "fileOpenAction")->trigger();
        window->load(missing, false);
        QCOMPARE(text, missing + u"\n\nYou don't have the access right to read this .xvm file."_s);
        QCOMPARE(window->currentDocumentPath(), path);
        QCOMPARE(window->windowTitle(), titleOf(u"roundtrip.xvm"_s));

        // The root's comment, typed where a user types it.
        auto *viewer = qobject_cast<QACommentViewer *>(window->editor()->viewer());
        QVERIFY(viewer);
        viewer->commentEditor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(viewer->commentEditor(), u" and more"_s);
        QVERIFY(window->editor()->isModified());

        action(window.get(), "fileSaveAction")->trigger();
        QVERIFY(window->lastSaveOk());
        QVERIFY(!window->editor()->isModified());
        QTRY_VERIFY(!window->scriptRun());
        QCOMPARE(m_install->runsOf(kGen), QStringList{path + u'|' + m_install->targets()});
        QCOMPARE(status(window.get()), u"VMR Files saved."_s);
        const QByteArray saved = readFile(path);
        QVERIFY2(saved.startsWith("<!DOCTYPE VMR SYSTEM 'vmr.dtd'>\n<VMR "), saved.left(80).constData());
        QByteArray expected = original;
        expected.replace("<COMMENT>Port comment</COMMENT>", "<COMMENT>Port comment and more</COMMENT>");
        QCOMPARE(canonicalDocument(saved), canonicalDocument(expected));
        window.reset();

        // The next start opens the file saved last, with the edit and every foreign element.
        auto again = openWindow();
        QCOMPARE(again->currentDocumentPath(), path);
        QCOMPARE(canonical(again->rootElement()), canonicalDocument(expected));
        QVERIFY(!again->editor()->isModified());
        VMR_ANSWERED(later);
    }
    void refusedDocuments_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("versionList");
        const QByteArray body = "<VMR Name=\"x\" type=\"CCPP\" Version=\"V2009\"><IS Label=\"S\"/></VMR>";
        QTest::newRow("not XML") << QByteArray("<VMR Name=\"x\"><IS></VMR>") << QString() << QByteArray();
        QTest::newRow("entity declarations")
            << QByteArray("<!DOCTYPE VMR [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>\n"
                          "<VMR Name=\"&b;\" Version=\"V2009\"/>")
            << QString() << QByteArray();
        QTest::newRow("undeclared entity")
            << QByteArray("<VMR Name=\"x\" Version=\"V2009\"><COMMENT>&secret;</COMMENT></VMR>")
            << QString() << QByteArray();
        QTest::newRow("not a port description")
            << QByteArray("<PROJECT Version=\"V2009\"><IS/></PROJECT>") << QString()
            << QByteArray();
        QTest::newRow("unknown version") << QByteArray(body).replace("V2009", "V1999")
                                         << u"Unknown version for VMR file, can't edit"_s << QByteArray();
        QTest::newRow("newer version") << QByteArray(body).replace("V2009", "V2011")
                                       << u"VMR file is newer than editor, please update your editor"_s
                                       << QByteArray("V2005\\nV2009\\nV2011\\n");
    }
    void refusedDocuments()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(QByteArray, versionList);
        if (!versionList.isEmpty())
            m_install->writeScript(u"vmrver.pl"_s, "print \"" + versionList + "\"; exit 0;");
        const QByteArray good = portDocument(m_install->targets());
        const QString goodPath = writeDocument(u"good.xvm"_s, good);
        const QString badPath = writeDocument(u"bad.xvm"_s, content);
        auto window = openWindow(goodPath);
        QCOMPARE(window->currentDocumentPath(), goodPath);

        QString text;
        ModalScript dialogs(message.isEmpty() ? QList<Handler>{}
                                              : QList<Handler>{press(QMessageBox::Ok, &text)});
        window->load(badPath, false);
        VMR_ANSWERED(dialogs);
        QCOMPARE(text, message);
        QCOMPARE(status(window.get()), u"ERROR: cannot load the file."_s);
        QCOMPARE(window->windowTitle(), QAEdition::applicationTitle());
        for (const char *name : kFileActions)
            QVERIFY2(!action(window.get(), name)->isEnabled(), name);
        QVERIFY(!window->editor()->isModified());
        QCOMPARE(window->editor()->tree()->topLevelItemCount(), 0);

        // Nothing of the refused file can be written over the document open before it.
        window->fileSave();
        QVERIFY(!window->lastSaveOk());
        QCOMPARE(readFile(goodPath), good);
        QCOMPARE(readFile(badPath), content);
        QVERIFY(m_install->runsOf(kGen).isEmpty());
    }
    void olderDocumentIsUpdated()
    {
        // The real version script and a document written by an older editor.
        const QString fixture = VmrTest::sourceDir() + u"/t/fixtures/port_v2007.xvm"_s;
        if (!QFile::exists(fixture))
            QSKIP("no document of an older format in the sources");
        const QString path = work(u"middle.xvm"_s);
        QVERIFY(QFile::copy(fixture, path));

        QString question;
        ModalScript dialogs({pressText(u"Update"_s, &question)});
        auto window = openWindow(path);
        VMR_ANSWERED(dialogs);
        QCOMPARE(question, u"This xvm file does not correspond to the current version. "
                           "It requires an update to be edited."_s);
        QCOMPARE(window->currentDocumentPath(), path);
        QCOMPARE(window->rootElement().attribute(u"Version"_s), u"V2009"_s);
        QVERIFY(readFile(path).contains("Version=\"V2009\""));
        QVERIFY(window->editor()->tree()->topLevelItemCount() > 0);
        QVERIFY(action(window.get(), "fileSaveAction")->isEnabled());
        // The document named a directory that is not there: the default one is used.
        QCOMPARE(window->targetDirectory(), m_install->targets());
    }
    void olderDocumentNotUpdated_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("update");
        QTest::addColumn<QString>("errorDialog"); // empty: none
        QTest::addColumn<bool>("failureBox");
        QTest::newRow("user declines") << u"Don't edit"_s << QByteArray("exit 0;") << QString() << false;
        QTest::newRow("script fails")
            << u"Update"_s << QByteArray("print STDERR \"BUILD is damaged\\n\"; exit 2;")
            << u"Update failed : BUILD is damaged"_s << true;
        QTest::newRow("script changes nothing") << u"Update"_s << QByteArray("exit 0;") << QString() << true;
    }
    void olderDocumentNotUpdated()
    {
        QFETCH(QString, answer);
        QFETCH(QByteArray, update);
        QFETCH(QString, errorDialog);
        QFETCH(bool, failureBox);
        m_install->writeScript(u"vmrver.pl"_s,
                               "if ($ARGV[0] eq '-list') { print \"V2005\\nV2009\\n\"; exit 0; }\n" + update);
        const QByteArray old =
            portDocument(m_install->targets()).replace("Version=\"V2009\"", "Version=\"V2005\"");
        const QString path = writeDocument(u"old.xvm"_s, old);

        QString question, error, failure;
        QList<Handler> answers{pressText(answer, &question)};
        if (!errorDialog.isEmpty())
            answers << readError(&error);
        if (failureBox)
            answers << press(QMessageBox::Ok, &failure);
        ModalScript dialogs(answers);
        auto window = openWindow(path);
        VMR_ANSWERED(dialogs);
        QVERIFY(question.startsWith(u"This xvm file does not correspond"_s));
        QVERIFY2(error.startsWith(errorDialog), qPrintable(error));
        QCOMPARE(failure, failureBox ? u"Error updating VMR file, cancel load"_s : QString());
        QVERIFY(window->currentDocumentPath().isEmpty());
        QCOMPARE(window->editor()->tree()->topLevelItemCount(), 0);
        QVERIFY(!action(window.get(), "fileSaveAction")->isEnabled());
        QCOMPARE(readFile(path), old);
    }
    void generationDirectoryFallsBack_data()
    {
        QTest::addColumn<QString>("generateIn");
        QTest::addColumn<bool>("kept");
        QTest::newRow("existing directory") << u"work"_s << true;
        QTest::newRow("vanished directory") << u"/nonexistent/ports"_s << false;
        QTest::newRow("empty attribute") << QString() << false;
    }
    void generationDirectoryFallsBack()
    {
        QFETCH(QString, generateIn);
        QFETCH(bool, kept);
        const QString dir = generateIn == u"work"_s ? m_work->path() : generateIn;
        const QString path = writeDocument(u"gen.xvm"_s, portDocument(dir));
        auto window = openWindow(path);
        const QString expected = kept ? dir : m_install->targets();
        window->fileSave();
        QTRY_VERIFY(!window->scriptRun());
        QCOMPARE(rootOf(readFile(path)).attribute(u"generate_in"_s), expected);
        QCOMPARE(m_install->runsOf(kGen), QStringList{path + u'|' + expected});
    }
    void saveAsNames()
    {
        auto window = openWindow(port(u"first.xvm"_s));
        // A name without extension gets one; Save As writes but does not generate.
        FileDialogSeen seen;
        ModalScript dialogs({choosePath(work(u"second"_s), &seen)});
        action(window.get(), "fileSaveAsAction")->trigger();
        VMR_ANSWERED(dialogs);
        QCOMPARE(seen.title, u"Save xvm As"_s);
        QVERIFY(window->lastSaveOk());
        QCOMPARE(window->currentDocumentPath(), work(u"second.xvm"_s));
        QCOMPARE(window->windowTitle(), titleOf(u"second.xvm"_s));
        QCOMPARE(canonicalDocument(readFile(work(u"second.xvm"_s))), canonical(window->rootElement()));
        QCOMPARE(status(window.get()), u"xvm file saved."_s);
        QVERIFY(nothingGenerated());

        // A name that ends with a dot has an empty extension too. The copy under the new
        // name is another port with the same name as the one just saved.
        QString clash;
        ModalScript dotted({choosePath(work(u"third."_s)), press(QMessageBox::Yes, &clash)});
        window->fileSaveAs();
        VMR_ANSWERED(dotted);
        QVERIFY2(clash.startsWith(u"Roundtrip\nalready exists"_s), qPrintable(clash));
        QCOMPARE(window->currentDocumentPath(), work(u"third..xvm"_s));
        QVERIFY(QFile::exists(work(u"third..xvm"_s)));

        // Forbidden characters: the dialog comes back in the same place with the name
        // made acceptable.
        QString refusal;
        FileDialogSeen again;
        ModalScript forbidden({choosePath(work(u"my port.xvm"_s)), press(QMessageBox::Ok, &refusal),
                               choosePath(work(u"my_port.xvm"_s), &again), press(QMessageBox::Yes)});
        window->fileSaveAs();
        VMR_ANSWERED(forbidden);
        QCOMPARE(
            refusal,
            u"The name of a .xvm file cannot contain one of the following characters:\n\t[\\ /+*?~|, :\"'`]"_s);
        QCOMPARE(again.proposedName, u"my_port.xvm"_s);
        QCOMPARE(again.directory, QDir(m_work->path()).absolutePath());
        QVERIFY(!QFile::exists(work(u"my port.xvm"_s)));
        QVERIFY(QFile::exists(work(u"my_port.xvm"_s)));
        QVERIFY(window->lastSaveOk());
    }
    void saveAsOverExistingFiles()
    {
        const QString path = port(u"mine.xvm"_s, "Mine");
        const QString other = port(u"other.xvm"_s, "Other"), locked = port(u"locked.xvm"_s, "Locked", "yes");
        const QByteArray otherBytes = readFile(other), lockedBytes = readFile(locked);
        auto window = openWindow(path);

        // No: the dialog comes back; cancelling it leaves the other file alone.
        QString question;
        ModalScript refuse({choosePath(other), press(QMessageBox::No, &question), choosePath(QString())});
        window->fileSaveAs();
        VMR_ANSWERED(refuse);
        QCOMPARE(question, u"The file %1 already exists.\n Do you want to replace it?"_s.arg(other));
        QCOMPARE(readFile(other), otherBytes);
        QVERIFY(!window->lastSaveOk());

        // A read-only port is never replaced, even when the user says yes.
        QString warning;
        ModalScript never({choosePath(locked), press(QMessageBox::Yes), press(QMessageBox::Ok, &warning),
                           choosePath(QString())});
        window->fileSaveAs();
        VMR_ANSWERED(never);
        QCOMPARE(warning, locked + u"cannot be overwritten.\n Please select another file."_s);
        QCOMPARE(readFile(locked), lockedBytes);
        QVERIFY(!window->lastSaveOk());
        QCOMPARE(window->currentDocumentPath(), path);

        // Yes: the other file now holds this document.
        ModalScript accept({choosePath(other), press(QMessageBox::Yes)});
        window->fileSaveAs();
        VMR_ANSWERED(accept);
        QVERIFY(window->lastSaveOk());
        QCOMPARE(window->currentDocumentPath(), other);
        QCOMPARE(rootOf(readFile(other)).attribute(u"Name"_s), u"Mine"_s);
    }
    void portNameClash()
    {
        // Another port of the target directory already carries the name "C++ Clash".
        const QString targets = m_install->targets();
        QVERIFY(QDir().mkpath(targets + u"/elsewhere"_s));
        writeFile(targets + u"/elsewhere/port.ini"_s, "; generated\nNAME=\"C++ Clash\"\nFAMILY=C\n");
        const QString path = port(u"clash.xvm"_s, "Clash");
        const QByteArray bytes = readFile(path);
        auto window = openWindow(path);

        QString warning;
        ModalScript refuse({press(QMessageBox::No, &warning)});
        window->fileSave();
        VMR_ANSWERED(refuse);
        QCOMPARE(
            warning,
            u"Clash\nalready exists in your \"targets/\" directory.\n Do you want to save anyway?"_s);
        QVERIFY(!window->lastSaveOk());
        QCOMPARE(status(window.get()), u"xvm file not saved."_s);
        QCOMPARE(readFile(path), bytes);
        // The port's name is offered for editing, and the document counts as changed.
        QCOMPARE(window->editor()->tree()->currentItem(), window->editor()->tree()->topLevelItem(0));
        QVERIFY(window->editor()->isModified());
        QVERIFY(nothingGenerated());

        ModalScript accept({press(QMessageBox::Yes)});
        window->fileSave();
        VMR_ANSWERED(accept);
        QVERIFY(window->lastSaveOk());
        QTRY_VERIFY(!window->scriptRun());
        QCOMPARE(m_install->runsOf(kGen).size(), 1);

        // The same name in the document's own port directory is no clash.
        QVERIFY(QDir().mkpath(targets + u"/clash"_s));
        writeFile(targets + u"/clash/port.ini"_s, "NAME=\"C++ Clash\"\n");
        QVERIFY(QFile::remove(targets + u"/elsewhere/port.ini"_s));
        window->scanTargetDirectory(targets);
        ModalScript none;
        window->fileSave();
        QVERIFY(window->lastSaveOk());
        VMR_ANSWERED(none);
        QTRY_VERIFY(!window->scriptRun());
    }
    void scanTargetDirectoryReadsPortNames()
    {
        auto window = openWindow();
        const QString targets = work(u"targets"_s);
        for (const QString &dir : {u"beta"_s, u"Alpha"_s, u"empty"_s})
            QVERIFY(QDir().mkpath(targets + u'/' + dir));
        writeFile(targets + u"/beta/port.ini"_s, "NAME=\"C++ Beta\"\nFAMILY=C\n");
        writeFile(targets + u"/beta/extra.ini"_s, "; two ports\nNAME=Ada Beta2\r\n");
        writeFile(targets + u"/beta/notes.txt"_s, "NAME=ignored\n");
        writeFile(targets + u"/Alpha/port.ini"_s, "name=lower case is no name\nNAME=\"Ada Alpha\"\n");
        // A settings file lying in the target directory itself belongs to no port.
        writeFile(targets + u"/stray.ini"_s, "NAME=Stray\n");

        window->scanTargetDirectory(targets);
        QStringList found;
        for (const auto &entry : window->portList())
            found << entry->dirName + u':' + entry->portName;
        QCOMPARE(found, QStringList({u"Alpha:Ada Alpha"_s, u"beta:Ada Beta2"_s, u"beta:C++ Beta"_s}));
        QVERIFY(window->findPortEntry(u"beta"_s, u"C++ Beta"_s));
        QVERIFY(!window->findPortEntry(u"Alpha"_s, u"C++ Beta"_s));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"directory doesn't exists"_s));
        window->scanTargetDirectory(work(u"none"_s));
        QVERIFY(window->portList().empty());
        QVERIFY(!window->currentPortEntry());
    }
    void readOnlyDocumentGoesThroughSaveAs_data()
    {
        QTest::addColumn<bool>("isTemplate");
        QTest::addColumn<QByteArray>("actionName");
        QTest::newRow("template, Save && Generate") << true << QByteArray("fileSaveAction");
        QTest::newRow("read-only port, Generate In") << false << QByteArray("fileGenerateAsAction");
    }
    void readOnlyDocumentGoesThroughSaveAs()
    {
        QFETCH(bool, isTemplate);
        QFETCH(QByteArray, actionName);
        const QString source = isTemplate ? m_install->targets() + u"/xml/templatec.xvm"_s
                                          : port(u"locked.xvm"_s, "Locked", "yes");
        if (!QFile::exists(source))
            QSKIP("the installation has no C template");
        const QByteArray sourceBytes = readFile(source);
        QVERIFY(sourceBytes.contains("read_only=\"yes\""));
        auto window = isTemplate ? openWindow() : openWindow(source);
        if (isTemplate) {
            window->load(source, true);
            QCOMPARE(window->currentDocumentPath(),
                     window->xmlDirectory() + QDir::separator() + u"document.xvm"_s);
            QCOMPARE(window->windowTitle(), titleOf(u"document.xvm"_s));
        }

        // Save As cancelled: no directory is asked for, nothing is written or generated.
        FileDialogSeen first, second;
        ModalScript cancel({choosePath(QString(), &first)});
        action(window.get(), actionName.constData())->trigger();
        VMR_ANSWERED(cancel);
        QCOMPARE(first.title, u"Save xvm As"_s);
        QVERIFY(!window->lastSaveOk());
        QCOMPARE(readFile(source), sourceBytes);
        QVERIFY(!QFile::exists(window->xmlDirectory() + u"/document.xvm"_s));

        // Named, then a directory to generate in: the copy is saved and generated.
        const QString named = work(u"newport.xvm"_s), portsDir = work(u"ports"_s);
        QVERIFY(QDir().mkpath(portsDir));
        ModalScript dialogs({choosePath(named), choosePath(portsDir, &second)});
        action(window.get(), actionName.constData())->trigger();
        VMR_ANSWERED(dialogs);
        QCOMPARE(second.title, u"Generate VMR In"_s);
        QVERIFY(window->lastSaveOk());
        const QDomElement saved = rootOf(readFile(named));
        QCOMPARE(saved.attribute(u"read_only"_s), u"no"_s);
        QCOMPARE(saved.attribute(u"generate_in"_s), portsDir);
        QTRY_COMPARE(status(window.get()), u"VMR Files saved."_s);
        QCOMPARE(m_install->runsOf(kGen), QStringList{named + u'|' + portsDir});
        QCOMPARE(readFile(source), sourceBytes);
    }
    void saveOnReadOnlyFileSystem()
    {
        const QString mountPoint = work(u"ro"_s), path = mountPoint + u"/port.xvm"_s;
        Tmpfs fs(mountPoint, u"1m"_s);
        if (!fs.mounted())
            QSKIP(qPrintable(u"cannot mount a file system here: "_s + fs.why()));
        const QByteArray bytes = portDocument(m_install->targets());
        QVERIFY(writeFile(path, bytes));
        if (!fs.remountReadOnly())
            QSKIP(qPrintable(u"cannot make the file system read-only: "_s + fs.why()));

        auto window = openWindow(path);
        QCOMPARE(window->currentDocumentPath(), path);
        QString warning;
        ModalScript dialogs({press(QMessageBox::Ok, &warning)});
        window->fileSave();
        VMR_ANSWERED(dialogs);
        QCOMPARE(
            warning,
            path + u"\n\nYou cannot save this .xvm file because the file is in read only mode."_s);
        QVERIFY(!window->lastSaveOk());
        QCOMPARE(readFile(path), bytes);

        // A read-only template saved under a name there: the failed Save As ends it all.
        window->load(m_install->targets() + u"/xml/templatec.xvm"_s, true);
        ModalScript saveAs({choosePath(mountPoint + u"/new.xvm"_s), press(QMessageBox::Ok, &warning)});
        window->fileSave();
        VMR_ANSWERED(saveAs);
        QVERIFY(warning.endsWith(u"is in read only mode."_s));
        QVERIFY(!window->lastSaveOk());
        QVERIFY(nothingGenerated());
    }
    void fullDiskKeepsTheOldDocument_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("overflow"); // bytes beyond the free space; 0: far more
        QTest::newRow("far too big") << u"256k"_s << 0;
        // The last piece of the file is the one that does not fit: a save that checks only
        // for writes that fail outright would keep a document cut short.
        QTest::newRow("just too big") << u"128k"_s << 100;
    }
    void fullDiskKeepsTheOldDocument()
    {
        QFETCH(QString, size);
        QFETCH(int, overflow);
        const QString mountPoint = work(u"small"_s), path = mountPoint + u"/port.xvm"_s;
        Tmpfs fs(mountPoint, size);
        if (!fs.mounted())
            QSKIP(qPrintable(u"cannot mount a small file system here: "_s + fs.why()));
        const QByteArray bytes = portDocument(m_install->targets());
        QVERIFY(writeFile(path, bytes));
        auto window = openWindow(path);
        QCOMPARE(window->currentDocumentPath(), path);

        // A file's contents embedded in the port, more than the disk can take.
        QDomElement root = window->rootElement();
        QDomElement big = root.ownerDocument().createElement(u"NEWCMDFILE"_s);
        QDomText text = root.ownerDocument().createTextNode(QString(600 * 1024, u'x'));
        root.appendChild(big).appendChild(text);
        if (overflow) {
            const auto savedSize = [&root]() {
                QByteArray out;
                QTextStream stream(&out);
                root.save(stream, 0);
                stream.flush();
                return qint64(out.size()) + qint64(sizeof("<!DOCTYPE VMR SYSTEM 'vmr.dtd'>\n") - 1);
            };
            // The save also rewrites the root's two attributes; their values do not change.
            root.setAttribute(u"read_only"_s, u"no"_s);
            root.setAttribute(u"generate_in"_s, window->targetDirectory());
            const qint64 available = QStorageInfo(mountPoint).bytesAvailable();
            QVERIFY(available > 0);
            text.setData(QString());
            text.setData(QString(int(available + overflow - savedSize()), u'y'));
            QCOMPARE(savedSize(), available + overflow);
        }

        QString warning;
        ModalScript dialogs({press(QMessageBox::Ok, &warning)});
        window->fileSave();
        VMR_ANSWERED(dialogs);
        QVERIFY2(warning.startsWith(u"ERROR: cannot save the file."_s), qPrintable(warning));
        QCOMPARE(status(window.get()), u"ERROR: cannot save the file."_s);
        QVERIFY(!window->lastSaveOk());
        QCOMPARE(readFile(path), bytes);
        QCOMPARE(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden), QStringList{u"port.xvm"_s});
        QVERIFY(nothingGenerated());

        // With the extra file gone the same document fits and is saved.
        root.removeChild(big);
        window->fileSave();
        QVERIFY(window->lastSaveOk());
        QCOMPARE(canonicalDocument(readFile(path)), canonical(window->rootElement()));
        QTRY_VERIFY(!window->scriptRun());
    }

private:
    QString work(const QString &name) const { return m_work->path() + u'/' + name; }
    QString writeDocument(const QString &name, const QByteArray &bytes)
    {
        writeFile(work(name), bytes);
        return work(name);
    }
    QString port(const QString &name, const QByteArray &portName = "Roundtrip",
                 const QByteArray &readOnly = "no")
    {
        return writeDocument(name, portDocument(m_install->targets(), portName, readOnly));
    }
    bool nothingGenerated()
    {
        QTest::qWait(50);
        return m_install->runsOf(kGen).isEmpty();
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<Install> m_install;
    std::unique_ptr<QTemporaryDir> m_work;
    QByteArray m_stagedInstall;
};

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
