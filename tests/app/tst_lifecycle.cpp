// The life of a document in the real main window: open, update, save, save under
// another name, replace, refuse, and keep the file whole when the disk is full.

#include "app/qamainwindoweditor.h"
#include "app/qavmrver.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qaedition.h"
#include "viewers/qacommentviewer.h"

#include "mainwindowdriver.h"
#include "testutil.h"

#include <QLineEdit>
#include <QStorageInfo>
#include <QTextStream>
#include <QTextEdit>
#include <QtTest>

using namespace VmrDrive;

namespace {

const char kGen[] = "vmrgen.pl";

// A port with something of every kind, and things the editor does not know about.
QByteArray portDocument(const QString &generateIn, const QByteArray &name = "Roundtrip",
                        const QByteArray &readOnly = "no")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
           "<VMR Name=\"" + name + "\" type=\"CCPP\" Version=\"V2009\" read_only=\"" + readOnly
        + "\" generate_in=\"" + generateIn.toUtf8()
        + "\" Doc=\"VMR\" Extra=\"kept &amp; &quot;quoted&quot;\">\n"
          "<COMMENT>Port comment</COMMENT>\n"
          "<!-- a note of the author -->\n"
          "<VENDOR_DATA id=\"7\"><BLOB><![CDATA[<raw> & text]]></BLOB><EMPTY/></VENDOR_DATA>\n"
          "<IS Label=\"Settings\" Doc=\"IS\"><COMMENT/>\n"
          " <IS_C Label=\"C settings\" Doc=\"IS_C\"><SETTINGS><COMMENT/>"
          "<SRCEXT Label=\"Source\" Doc=\"SRCEXT\"><VALUE>.c</VALUE><COMMENT/></SRCEXT>"
          "<INIFIELD Doc=\"ISOTHERS\"><KEY>CC</KEY><VALUE>gcc</VALUE><COMMENT/></INIFIELD>"
          "</SETTINGS></IS_C>\n"
          " <IS_UNKNOWN Label=\"?\"/>\n"
          "</IS>\n"
          "<BUILD Label=\"Build\" Doc=\"BUILD\"><COMMENT/>\n"
          " <COMPILATION Label=\"Compilation\" Doc=\"COMPILATION\"><COMMENT/><VALUEFCTPERL>"
          "<PROTO>sub compile {</PROTO><VALUE>  return 1;</VALUE><TAIL>}</TAIL>"
          "</VALUEFCTPERL></COMPILATION>\n"
          " <NEWCMDFILE Name=\"board.cfg\"><COMMENT/><VALUE>speed=25\n"
          "\xc3\xa9 \xc3\xbc \xe2\x88\x91</VALUE></NEWCMDFILE>\n"
          " <MYSTERY>left alone</MYSTERY>\n"
          "</BUILD>\n"
          "<LIBCONF Label=\"Library\" Doc=\"LIBCONF\"><COMMENT/>"
          "<LIBCONFC Label=\"C library\"><COMMENT/></LIBCONFC></LIBCONF>\n"
          "</VMR>\n";
}

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void roundTripKeepsEditsAndUnknownElements();
    void recentFileOpensAtNextStart();
    void openThroughTheFileDialog();
    void unreadableFileKeepsTheOpenDocument();
    void refusedDocuments_data();
    void refusedDocuments();
    void olderDocumentIsUpdated();
    void olderDocumentNotUpdated_data();
    void olderDocumentNotUpdated();
    void generationDirectoryFallsBack_data();
    void generationDirectoryFallsBack();

    void saveAsAddsExtensionAndDoesNotGenerate();
    void saveAsRefusesForbiddenCharacters();
    void saveAsAsksBeforeReplacing();
    void saveAsNeverOverwritesReadOnlyDocument();
    void portNameClash();
    void scanTargetDirectoryReadsPortNames();
    void readOnlyDocumentGoesThroughSaveAs();

    void saveOnReadOnlyFileSystem();
    void fullDiskKeepsTheOldDocument();
    void documentJustOverflowingTheDisk();

private:
    QString writeDocument(const QString &name, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<Install> m_install;
    std::unique_ptr<QTemporaryDir> m_work;
    QByteArray m_stagedInstall;
};

void TestLifecycle::initTestCase()
{
    m_home = VmrTest::privateHome();
    m_stagedInstall = qgetenv("ORBISKDIR");
}

void TestLifecycle::init()
{
    m_install = std::make_unique<Install>();
    m_work = std::make_unique<QTemporaryDir>();
    qputenv("ORBISKDIR", m_install->path().toLocal8Bit());
    // Generation is not under test here: a stand-in records each run and succeeds.
    m_install->writeScript(QLatin1String(kGen), "exit 0;");
    clearSettings();
}

void TestLifecycle::cleanup()
{
    QAVMRVersion::setUpdateTimeout(120000);
    qputenv("ORBISKDIR", m_stagedInstall);
    m_install.reset();
    m_work.reset();
}

QString TestLifecycle::writeDocument(const QString &name, const QByteArray &bytes)
{
    const QString path = m_work->path() + QLatin1Char('/') + name;
    writeFile(path, bytes);
    return path;
}

void TestLifecycle::roundTripKeepsEditsAndUnknownElements()
{
    const QByteArray original = portDocument(m_install->targets());
    const QString path = writeDocument(QStringLiteral("roundtrip.xvm"), original);

    ModalScript dialogs;
    auto window = openWindow(path);
    QCOMPARE(window->currentDocumentPath(), path);
    QCOMPARE(window->windowTitle(),
             QStringLiteral("roundtrip.xvm - ") + QAEdition::applicationTitle());
    for (const char *name : {"fileSaveAction", "fileSaveAsAction", "fileGenerateAsAction",
                             "fileExportAsAction"})
        QVERIFY2(action(window.get(), name)->isEnabled(), name);
    QVERIFY(!window->editor()->isModified());
    QCOMPARE(window->editor()->generateIn(), m_install->targets());

    // The root's comment, typed where a user types it.
    auto *viewer = qobject_cast<QACommentViewer *>(window->editor()->viewer());
    QVERIFY(viewer);
    QTextEdit *comment = viewer->commentEditor();
    comment->moveCursor(QTextCursor::End);
    QTest::keyClicks(comment, QStringLiteral(" and more"));
    QVERIFY(window->editor()->isModified());

    action(window.get(), "fileSaveAction")->trigger();
    QVERIFY(window->lastSaveOk());
    QVERIFY(!window->editor()->isModified());
    QTRY_VERIFY(!window->scriptRun());
    QCOMPARE(m_install->runsOf(QLatin1String(kGen)),
             QStringList{path + QLatin1Char('|') + m_install->targets()});
    QCOMPARE(status(window.get()), QStringLiteral("VMR Files saved."));

    const QByteArray saved = readFile(path);
    QVERIFY2(saved.startsWith("<!DOCTYPE VMR SYSTEM 'vmr.dtd'>\n<VMR "), saved.left(80).constData());
    QByteArray expected = original;
    expected.replace("<COMMENT>Port comment</COMMENT>", "<COMMENT>Port comment and more</COMMENT>");
    QCOMPARE(canonicalDocument(saved), canonicalDocument(expected));
    QVERIFY(dialogs.unexpected().isEmpty());
    window.reset();

    // Read again by a new window: the edit and every foreign element are there.
    auto again = openWindow(path);
    QCOMPARE(canonical(again->rootElement()), canonicalDocument(expected));
    QVERIFY(!again->editor()->isModified());
    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join(QLatin1Char('\n'))));
}

void TestLifecycle::recentFileOpensAtNextStart()
{
    const QString path = writeDocument(QStringLiteral("recent.xvm"),
                                       portDocument(m_install->targets(), "Recent"));
    {
        auto window = openWindow(path);
        window->fileSave();
        QVERIFY(window->lastSaveOk());
        QTRY_VERIFY(!window->scriptRun());
    }
    auto window = openWindow();
    QCOMPARE(window->currentDocumentPath(), path);
    QCOMPARE(window->rootElement().attribute(QStringLiteral("Name")), QStringLiteral("Recent"));
}

void TestLifecycle::openThroughTheFileDialog()
{
    const QString path = writeDocument(QStringLiteral("opened.xvm"),
                                       portDocument(m_install->targets(), "Opened"));
    auto window = openWindow();
    QVERIFY(window->currentDocumentPath().isEmpty());
    QVERIFY(!action(window.get(), "fileSaveAction")->isEnabled());

    FileDialogSeen seen;
    ModalScript dialogs({choosePath(path, &seen)});
    action(window.get(), "fileOpenAction")->trigger();
    QVERIFY(dialogs.allHandled());
    QCOMPARE(seen.objectName, QStringLiteral("FSB"));
    QCOMPARE(seen.title, QStringLiteral("Open"));
    QCOMPARE(seen.directory, QDir(window->xmlDirectory()).absolutePath());
    QCOMPARE(window->currentDocumentPath(), path);
    QCOMPARE(window->rootElement().attribute(QStringLiteral("Name")), QStringLiteral("Opened"));
    QVERIFY(action(window.get(), "fileSaveAction")->isEnabled());
    QCOMPARE(status(window.get()), QStringLiteral("File loaded."));
    QCOMPARE(window->windowTitle(), QStringLiteral("opened.xvm - ") + QAEdition::applicationTitle());

    // Cancelling the dialog keeps what is open.
    ModalScript cancel({choosePath(QString())});
    action(window.get(), "fileOpenAction")->trigger();
    QVERIFY(cancel.allHandled());
    QCOMPARE(window->currentDocumentPath(), path);
}

void TestLifecycle::unreadableFileKeepsTheOpenDocument()
{
    const QString path = writeDocument(QStringLiteral("kept.xvm"), portDocument(m_install->targets()));
    auto window = openWindow(path);
    const QString caption = window->windowTitle();

    const QString missing = m_work->path() + QStringLiteral("/gone.xvm");
    QString text;
    ModalScript dialogs({press(QMessageBox::Ok, &text)});
    window->load(missing, false);
    QVERIFY(dialogs.allHandled());
    QCOMPARE(text, missing + QStringLiteral("\n\nYou don't have the access right to read this .xvm file."));
    QCOMPARE(window->currentDocumentPath(), path);
    QCOMPARE(window->windowTitle(), caption);
    QVERIFY(window->editor()->tree()->topLevelItemCount() > 0);
    QVERIFY(action(window.get(), "fileSaveAction")->isEnabled());
}

void TestLifecycle::refusedDocuments_data()
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
        << QByteArray("<PROJECT Version=\"V2009\"><IS/></PROJECT>") << QString() << QByteArray();
    QTest::newRow("unknown version")
        << QByteArray(body).replace("V2009", "V1999")
        << QStringLiteral("Unknown version for VMR file, can't edit") << QByteArray();
    QTest::newRow("newer version")
        << QByteArray(body).replace("V2009", "V2011")
        << QStringLiteral("VMR file is newer than editor, please update your editor")
        << QByteArray("V2005\\nV2009\\nV2011\\n");
}

void TestLifecycle::refusedDocuments()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QFETCH(QByteArray, versionList);
    if (!versionList.isEmpty())
        m_install->writeScript(QStringLiteral("vmrver.pl"),
                               "print \"" + versionList + "\"; exit 0;");

    const QByteArray good = portDocument(m_install->targets());
    const QString goodPath = writeDocument(QStringLiteral("good.xvm"), good);
    const QString badPath = writeDocument(QStringLiteral("bad.xvm"), content);
    auto window = openWindow(goodPath);
    QCOMPARE(window->currentDocumentPath(), goodPath);

    QString text;
    ModalScript dialogs(message.isEmpty() ? QList<Handler>{} : QList<Handler>{press(QMessageBox::Ok, &text)});
    window->load(badPath, false);
    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join(QLatin1Char('\n'))));
    QCOMPARE(text, message);

    QCOMPARE(status(window.get()), QStringLiteral("ERROR: cannot load the file."));
    QCOMPARE(window->windowTitle(), QAEdition::applicationTitle());
    for (const char *name : {"fileSaveAction", "fileSaveAsAction", "fileGenerateAsAction",
                             "fileExportAsAction"})
        QVERIFY2(!action(window.get(), name)->isEnabled(), name);
    QVERIFY(!window->editor()->isModified());
    QCOMPARE(window->editor()->tree()->topLevelItemCount(), 0);

    // Nothing of the refused file can be written over the document open before it.
    window->fileSave();
    QVERIFY(!window->lastSaveOk());
    QCOMPARE(readFile(goodPath), good);
    QCOMPARE(readFile(badPath), content);
    QVERIFY(m_install->runsOf(QLatin1String(kGen)).isEmpty());
}

void TestLifecycle::olderDocumentIsUpdated()
{
    // The real version script and a document written by an older editor.
    const QString fixture = VmrTest::sourceDir() + QStringLiteral("/t/fixtures/port_v2007.xvm");
    if (!QFile::exists(fixture))
        QSKIP("no document of an older format in the sources");
    const QString path = m_work->path() + QStringLiteral("/middle.xvm");
    QVERIFY(QFile::copy(fixture, path));
    QVERIFY(readFile(path).contains("Version=\"V2007\""));

    QString question;
    ModalScript dialogs({pressText(QStringLiteral("Update"), &question)});
    auto window = openWindow(path);
    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join(QLatin1Char('\n'))));
    QCOMPARE(question, QStringLiteral("This xvm file does not correspond to the current version. "
                                      "It requires an update to be edited."));
    QCOMPARE(window->currentDocumentPath(), path);
    QCOMPARE(window->rootElement().attribute(QStringLiteral("Version")), QStringLiteral("V2009"));
    QVERIFY(readFile(path).contains("Version=\"V2009\""));
    QVERIFY(window->editor()->tree()->topLevelItemCount() > 0);
    QVERIFY(action(window.get(), "fileSaveAction")->isEnabled());
    // The document named a directory that is not there: the default one is used.
    QCOMPARE(window->targetDirectory(), m_install->targets());
}

void TestLifecycle::olderDocumentNotUpdated_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("update");
    QTest::addColumn<QString>("errorDialog");
    QTest::addColumn<bool>("failureBox");

    QTest::newRow("user declines") << QStringLiteral("Don't edit") << QByteArray("exit 0;")
                                   << QString() << false;
    QTest::newRow("script fails")
        << QStringLiteral("Update") << QByteArray("print STDERR \"BUILD is damaged\\n\"; exit 2;")
        << QStringLiteral("Update failed : BUILD is damaged") << true;
    QTest::newRow("script hangs")
        << QStringLiteral("Update") << QByteArray("sleep 60; exit 0;")
        << QStringLiteral("Update failed : vmrver.pl did not finish in time and was stopped.") << true;
    QTest::newRow("script changes nothing")
        << QStringLiteral("Update") << QByteArray("exit 0;") << QString() << true;
}

void TestLifecycle::olderDocumentNotUpdated()
{
    QFETCH(QString, answer);
    QFETCH(QByteArray, update);
    QFETCH(QString, errorDialog);
    QFETCH(bool, failureBox);
    m_install->writeScript(QStringLiteral("vmrver.pl"),
                           "if ($ARGV[0] eq '-list') { print \"V2005\\nV2009\\n\"; exit 0; }\n"
                               + update);
    // Long enough for a quick script on a busy machine, short for one that hangs.
    QAVMRVersion::setUpdateTimeout(3000);
    QByteArray old = portDocument(m_install->targets());
    old.replace("Version=\"V2009\"", "Version=\"V2005\"");
    const QString path = writeDocument(QStringLiteral("old.xvm"), old);

    QString question, error, failure;
    QList<Handler> answers{pressText(answer, &question)};
    if (!errorDialog.isEmpty())
        answers << readError(&error);
    if (failureBox)
        answers << press(QMessageBox::Ok, &failure);
    ModalScript dialogs(answers);
    auto window = openWindow(path);

    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join(QLatin1Char('\n'))));
    QVERIFY(dialogs.allHandled());
    QVERIFY(question.startsWith(QStringLiteral("This xvm file does not correspond")));
    QVERIFY2(error.startsWith(errorDialog), qPrintable(error));
    QCOMPARE(failure, failureBox ? QStringLiteral("Error updating VMR file, cancel load") : QString());
    QVERIFY(window->currentDocumentPath().isEmpty());
    QCOMPARE(window->editor()->tree()->topLevelItemCount(), 0);
    QVERIFY(!action(window.get(), "fileSaveAction")->isEnabled());
    QCOMPARE(readFile(path), old);
}

void TestLifecycle::generationDirectoryFallsBack_data()
{
    QTest::addColumn<QString>("generateIn");
    QTest::addColumn<bool>("kept");
    QTest::newRow("existing directory") << QStringLiteral("work") << true;
    QTest::newRow("vanished directory") << QStringLiteral("/nonexistent/ports") << false;
    QTest::newRow("empty attribute") << QString() << false;
}

void TestLifecycle::generationDirectoryFallsBack()
{
    QFETCH(QString, generateIn);
    QFETCH(bool, kept);
    const QString dir = generateIn == QLatin1String("work") ? m_work->path() : generateIn;
    const QString path = writeDocument(QStringLiteral("gen.xvm"), portDocument(dir));
    auto window = openWindow(path);
    const QString expected = kept ? dir : m_install->targets();
    QCOMPARE(window->targetDirectory(), expected);
    QCOMPARE(window->editor()->generateIn(), expected);

    window->fileSave();
    QTRY_VERIFY(!window->scriptRun());
    QCOMPARE(rootOf(readFile(path)).attribute(QStringLiteral("generate_in")), expected);
    QCOMPARE(m_install->runsOf(QLatin1String(kGen)), QStringList{path + QLatin1Char('|') + expected});
}

void TestLifecycle::saveAsAddsExtensionAndDoesNotGenerate()
{
    const QString path = writeDocument(QStringLiteral("first.xvm"), portDocument(m_install->targets()));
    auto window = openWindow(path);

    FileDialogSeen seen;
    ModalScript dialogs({choosePath(m_work->path() + QStringLiteral("/second"), &seen)});
    action(window.get(), "fileSaveAsAction")->trigger();
    QVERIFY(dialogs.allHandled());
    QCOMPARE(seen.objectName, QStringLiteral("save xvm file dialog"));
    QCOMPARE(seen.title, QStringLiteral("Save xvm As"));

    const QString second = m_work->path() + QStringLiteral("/second.xvm");
    QVERIFY(window->lastSaveOk());
    QCOMPARE(window->currentDocumentPath(), second);
    QCOMPARE(window->windowTitle(), QStringLiteral("second.xvm - ") + QAEdition::applicationTitle());
    QCOMPARE(canonicalDocument(readFile(second)), canonical(window->rootElement()));
    QCOMPARE(status(window.get()), QStringLiteral("xvm file saved."));
    QTest::qWait(50);
    QVERIFY(!window->scriptRun());
    QVERIFY(m_install->runsOf(QLatin1String(kGen)).isEmpty());

    // A name that ends with a dot has an empty extension too. The copy under the new
    // name is another port with the same name as the one just saved.
    QString clash;
    ModalScript dotted({choosePath(m_work->path() + QStringLiteral("/third.")),
                        press(QMessageBox::Yes, &clash)});
    window->fileSaveAs();
    QVERIFY(dotted.allHandled());
    QVERIFY2(clash.startsWith(QStringLiteral("Roundtrip\nalready exists")), qPrintable(clash));
    QCOMPARE(window->currentDocumentPath(), m_work->path() + QStringLiteral("/third..xvm"));
    QVERIFY(window->lastSaveOk());
    QVERIFY(QFile::exists(window->currentDocumentPath()));
}

void TestLifecycle::saveAsRefusesForbiddenCharacters()
{
    const QString path = writeDocument(QStringLiteral("first.xvm"), portDocument(m_install->targets()));
    auto window = openWindow(path);

    QString refusal;
    FileDialogSeen second;
    ModalScript dialogs({choosePath(m_work->path() + QStringLiteral("/my port.xvm")),
                         press(QMessageBox::Ok, &refusal),
                         choosePath(m_work->path() + QStringLiteral("/my_port.xvm"), &second)});
    window->fileSaveAs();
    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join(QLatin1Char('\n'))));
    QVERIFY(dialogs.allHandled());
    QCOMPARE(refusal, QStringLiteral("The name of a .xvm file cannot contain one of the following "
                                     "characters:\n\t[\\ /+*?~|, :\"'`]"));
    // The dialog comes back in the same directory with the name made acceptable.
    QCOMPARE(second.proposedName, QStringLiteral("my_port.xvm"));
    QCOMPARE(second.directory, QDir(m_work->path()).absolutePath());
    QVERIFY(!QFile::exists(m_work->path() + QStringLiteral("/my port.xvm")));
    QVERIFY(QFile::exists(m_work->path() + QStringLiteral("/my_port.xvm")));
    QVERIFY(window->lastSaveOk());
}

void TestLifecycle::saveAsAsksBeforeReplacing()
{
    const QString path = writeDocument(QStringLiteral("mine.xvm"), portDocument(m_install->targets(), "Mine"));
    const QByteArray otherBytes = portDocument(m_install->targets(), "Other");
    const QString other = writeDocument(QStringLiteral("other.xvm"), otherBytes);
    auto window = openWindow(path);

    // No: the dialog comes back; cancelling it leaves the other file alone.
    QString question;
    ModalScript refuse({choosePath(other), press(QMessageBox::No, &question), choosePath(QString())});
    window->fileSaveAs();
    QVERIFY(refuse.allHandled());
    QCOMPARE(question, QStringLiteral("The file %1 already exists.\n Do you want to replace it?").arg(other));
    QCOMPARE(readFile(other), otherBytes);
    QVERIFY(!window->lastSaveOk());

    // Yes: the other file now holds this document.
    ModalScript accept({choosePath(other), press(QMessageBox::Yes)});
    window->fileSaveAs();
    QVERIFY(accept.allHandled());
    QVERIFY(accept.unexpected().isEmpty());
    QVERIFY(window->lastSaveOk());
    QCOMPARE(window->currentDocumentPath(), other);
    QCOMPARE(rootOf(readFile(other)).attribute(QStringLiteral("Name")), QStringLiteral("Mine"));
}

void TestLifecycle::saveAsNeverOverwritesReadOnlyDocument()
{
    const QString path = writeDocument(QStringLiteral("mine.xvm"), portDocument(m_install->targets(), "Mine"));
    const QByteArray lockedBytes = portDocument(m_install->targets(), "Locked", "yes");
    const QString locked = writeDocument(QStringLiteral("locked.xvm"), lockedBytes);
    auto window = openWindow(path);

    QString warning;
    ModalScript dialogs({choosePath(locked), press(QMessageBox::Yes), press(QMessageBox::Ok, &warning),
                         choosePath(QString())});
    window->fileSaveAs();
    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join(QLatin1Char('\n'))));
    QVERIFY(dialogs.allHandled());
    QCOMPARE(warning, locked + QStringLiteral("cannot be overwritten.\n Please select another file."));
    QCOMPARE(readFile(locked), lockedBytes);
    QVERIFY(!window->lastSaveOk());
    QCOMPARE(window->currentDocumentPath(), path);
}

void TestLifecycle::portNameClash()
{
    // Another port of the target directory already carries the name "C++ Clash".
    QVERIFY(QDir().mkpath(m_install->targets() + QStringLiteral("/elsewhere")));
    writeFile(m_install->targets() + QStringLiteral("/elsewhere/port.ini"),
              "; generated\nNAME=\"C++ Clash\"\nFAMILY=C\n");
    const QByteArray bytes = portDocument(m_install->targets(), "Clash");
    const QString path = writeDocument(QStringLiteral("clash.xvm"), bytes);
    auto window = openWindow(path);

    QString warning;
    ModalScript refuse({press(QMessageBox::No, &warning)});
    window->fileSave();
    QVERIFY(refuse.allHandled());
    QCOMPARE(warning, QStringLiteral("Clash\nalready exists in your \"targets/\" directory.\n Do you "
                                     "want to save anyway?"));
    QVERIFY(!window->lastSaveOk());
    QCOMPARE(status(window.get()), QStringLiteral("xvm file not saved."));
    QCOMPARE(readFile(path), bytes);
    // The port's name is offered for editing, and the document counts as changed.
    QAVmrEditorTree *tree = window->editor()->tree();
    QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
    QVERIFY(window->editor()->isModified());
    QTest::qWait(50);
    QVERIFY(m_install->runsOf(QLatin1String(kGen)).isEmpty());

    ModalScript accept({press(QMessageBox::Yes)});
    window->fileSave();
    QVERIFY(accept.allHandled());
    QVERIFY(window->lastSaveOk());
    QTRY_VERIFY(!window->scriptRun());
    QCOMPARE(m_install->runsOf(QLatin1String(kGen)).size(), 1);

    // The same name in the document's own port directory is no clash.
    window->scanTargetDirectory(m_install->targets());
    QVERIFY(QDir().mkpath(m_install->targets() + QStringLiteral("/clash")));
    writeFile(m_install->targets() + QStringLiteral("/clash/port.ini"), "NAME=\"C++ Clash\"\n");
    QVERIFY(QFile::remove(m_install->targets() + QStringLiteral("/elsewhere/port.ini")));
    window->scanTargetDirectory(m_install->targets());
    ModalScript none;
    window->fileSave();
    QVERIFY(window->lastSaveOk());
    QVERIFY(none.unexpected().isEmpty());
    QTRY_VERIFY(!window->scriptRun());
}

void TestLifecycle::scanTargetDirectoryReadsPortNames()
{
    auto window = openWindow();
    const QString targets = m_work->path() + QStringLiteral("/targets");
    QVERIFY(QDir().mkpath(targets + QStringLiteral("/beta")));
    QVERIFY(QDir().mkpath(targets + QStringLiteral("/Alpha")));
    QVERIFY(QDir().mkpath(targets + QStringLiteral("/empty")));
    writeFile(targets + QStringLiteral("/beta/port.ini"), "NAME=\"C++ Beta\"\nFAMILY=C\n");
    writeFile(targets + QStringLiteral("/beta/extra.ini"), "; two ports\nNAME=Ada Beta2\r\n");
    writeFile(targets + QStringLiteral("/beta/notes.txt"), "NAME=ignored\n");
    writeFile(targets + QStringLiteral("/Alpha/port.ini"), "name=lower case is no name\nNAME=\"Ada Alpha\"\n");
    // A settings file lying in the target directory itself belongs to no port.
    writeFile(targets + QStringLiteral("/stray.ini"), "NAME=Stray\n");

    window->scanTargetDirectory(targets);
    QStringList found;
    for (const auto &entry : window->portList())
        found << entry->dirName + QLatin1Char(':') + entry->portName;
    QCOMPARE(found, QStringList({QStringLiteral("Alpha:Ada Alpha"), QStringLiteral("beta:Ada Beta2"),
                                 QStringLiteral("beta:C++ Beta")}));
    QVERIFY(window->findPortEntry(QStringLiteral("beta"), QStringLiteral("C++ Beta")));
    QVERIFY(!window->findPortEntry(QStringLiteral("Alpha"), QStringLiteral("C++ Beta")));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("directory doesn't exists")));
    window->scanTargetDirectory(m_work->path() + QStringLiteral("/none"));
    QVERIFY(window->portList().empty());
    QVERIFY(!window->currentPortEntry());
}

void TestLifecycle::readOnlyDocumentGoesThroughSaveAs()
{
    const QString templatePath = m_install->targets() + QStringLiteral("/xml/templatec.xvm");
    if (!QFile::exists(templatePath))
        QSKIP("the installation has no C template");
    const QByteArray templateBytes = readFile(templatePath);
    QVERIFY(templateBytes.contains("read_only=\"yes\""));

    auto window = openWindow();
    window->load(templatePath, true);
    QCOMPARE(window->currentDocumentPath(),
             window->xmlDirectory() + QDir::separator() + QStringLiteral("document.xvm"));
    QCOMPARE(window->windowTitle(), QStringLiteral("document.xvm - ") + QAEdition::applicationTitle());

    // Save As cancelled: no directory is asked for, nothing is written or generated.
    ModalScript cancel({choosePath(QString())});
    action(window.get(), "fileSaveAction")->trigger();
    QVERIFY2(cancel.unexpected().isEmpty(), qPrintable(cancel.unexpected().join(QLatin1Char('\n'))));
    QVERIFY(cancel.allHandled());
    QVERIFY(!window->lastSaveOk());
    QCOMPARE(readFile(templatePath), templateBytes);
    QVERIFY(!QFile::exists(window->xmlDirectory() + QStringLiteral("/document.xvm")));

    // Named, then a directory to generate in.
    const QString named = m_work->path() + QStringLiteral("/newport.xvm");
    const QString portsDir = m_work->path() + QStringLiteral("/ports");
    QVERIFY(QDir().mkpath(portsDir));
    FileDialogSeen directory;
    ModalScript dialogs({choosePath(named), choosePath(portsDir, &directory)});
    action(window.get(), "fileSaveAction")->trigger();
    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join(QLatin1Char('\n'))));
    QVERIFY(dialogs.allHandled());
    QCOMPARE(directory.objectName, QStringLiteral("Generate VMR dialog"));
    QVERIFY(window->lastSaveOk());
    const QDomElement saved = rootOf(readFile(named));
    QCOMPARE(saved.attribute(QStringLiteral("read_only")), QStringLiteral("no"));
    QCOMPARE(saved.attribute(QStringLiteral("generate_in")), portsDir);
    QTRY_VERIFY(!window->scriptRun());
    QCOMPARE(m_install->runsOf(QLatin1String(kGen)), QStringList{named + QLatin1Char('|') + portsDir});
    QCOMPARE(readFile(templatePath), templateBytes);
}

void TestLifecycle::saveOnReadOnlyFileSystem()
{
    const QString mountPoint = m_work->path() + QStringLiteral("/ro");
    Tmpfs fs(mountPoint, QStringLiteral("1m"));
    if (!fs.mounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a file system here: ") + fs.why()));
    const QByteArray bytes = portDocument(m_install->targets());
    const QString path = mountPoint + QStringLiteral("/port.xvm");
    QVERIFY(writeFile(path, bytes));
    if (!fs.remountReadOnly())
        QSKIP(qPrintable(QStringLiteral("cannot make the file system read-only: ") + fs.why()));

    auto window = openWindow(path);
    QCOMPARE(window->currentDocumentPath(), path);
    QString warning;
    ModalScript dialogs({press(QMessageBox::Ok, &warning)});
    window->fileSave();
    QVERIFY(dialogs.allHandled());
    QCOMPARE(warning, path + QStringLiteral("\n\nYou cannot save this .xvm file because the file "
                                            "is in read only mode."));
    QVERIFY(!window->lastSaveOk());
    QCOMPARE(readFile(path), bytes);

    // A read-only template saved under a name there: the failed Save As ends it all.
    window->load(m_install->targets() + QStringLiteral("/xml/templatec.xvm"), true);
    ModalScript saveAs({choosePath(mountPoint + QStringLiteral("/new.xvm")), press(QMessageBox::Ok, &warning)});
    window->fileSave();
    QVERIFY2(saveAs.unexpected().isEmpty(), qPrintable(saveAs.unexpected().join(QLatin1Char('\n'))));
    QVERIFY(saveAs.allHandled());
    QVERIFY(warning.endsWith(QStringLiteral("is in read only mode.")));
    QVERIFY(!window->lastSaveOk());
    QTest::qWait(50);
    QVERIFY(m_install->runsOf(QLatin1String(kGen)).isEmpty());
}

void TestLifecycle::fullDiskKeepsTheOldDocument()
{
    const QString mountPoint = m_work->path() + QStringLiteral("/small");
    Tmpfs fs(mountPoint, QStringLiteral("256k"));
    if (!fs.mounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small file system here: ") + fs.why()));
    const QByteArray bytes = portDocument(m_install->targets());
    const QString path = mountPoint + QStringLiteral("/port.xvm");
    QVERIFY(writeFile(path, bytes));

    auto window = openWindow(path);
    QCOMPARE(window->currentDocumentPath(), path);
    // A file's contents embedded in the port: far more than the disk can take.
    QDomElement root = window->rootElement();
    QDomElement big = root.ownerDocument().createElement(QStringLiteral("NEWCMDFILE"));
    big.appendChild(root.ownerDocument().createTextNode(QString(600 * 1024, QLatin1Char('x'))));
    root.appendChild(big);

    QString warning;
    ModalScript dialogs({press(QMessageBox::Ok, &warning)});
    window->fileSave();
    QVERIFY(dialogs.allHandled());
    QVERIFY2(warning.startsWith(QStringLiteral("ERROR: cannot save the file.")), qPrintable(warning));
    QCOMPARE(status(window.get()), QStringLiteral("ERROR: cannot save the file."));
    QVERIFY(!window->lastSaveOk());
    QCOMPARE(readFile(path), bytes);
    QCOMPARE(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("port.xvm")});
    QTest::qWait(50);
    QVERIFY(m_install->runsOf(QLatin1String(kGen)).isEmpty());

    // With the extra file gone the same document fits and is saved.
    root.removeChild(big);
    window->fileSave();
    QVERIFY(window->lastSaveOk());
    QCOMPARE(canonicalDocument(readFile(path)), canonical(window->rootElement()));
    QTRY_VERIFY(!window->scriptRun());
}

void TestLifecycle::documentJustOverflowingTheDisk()
{
    // The last piece of the file is the one that does not fit: a save that checks only
    // for writes that fail outright would keep a document cut short.
    const QString mountPoint = m_work->path() + QStringLiteral("/edge");
    Tmpfs fs(mountPoint, QStringLiteral("128k"));
    if (!fs.mounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small file system here: ") + fs.why()));
    const QByteArray bytes = portDocument(m_install->targets());
    const QString path = mountPoint + QStringLiteral("/port.xvm");
    QVERIFY(writeFile(path, bytes));

    auto window = openWindow(path);
    QDomElement root = window->rootElement();
    QDomElement big = root.ownerDocument().createElement(QStringLiteral("NEWCMDFILE"));
    QDomText text = root.ownerDocument().createTextNode(QString());
    big.appendChild(text);
    root.appendChild(big);
    const auto savedSize = [&root]() {
        QByteArray out;
        QTextStream stream(&out);
        root.save(stream, 0);
        stream.flush();
        return qint64(out.size()) + qint64(sizeof("<!DOCTYPE VMR SYSTEM 'vmr.dtd'>\n") - 1);
    };
    // The save also rewrites the root's two attributes; their values do not change here.
    root.setAttribute(QStringLiteral("read_only"), QStringLiteral("no"));
    root.setAttribute(QStringLiteral("generate_in"), window->targetDirectory());
    const qint64 available = QStorageInfo(mountPoint).bytesAvailable();
    QVERIFY(available > 0);
    text.setData(QString(int(available + 100 - savedSize()), QLatin1Char('y')));
    QCOMPARE(savedSize(), available + 100);

    QString warning;
    ModalScript dialogs({press(QMessageBox::Ok, &warning)});
    window->fileSave();
    QVERIFY(dialogs.allHandled());
    QVERIFY2(warning.startsWith(QStringLiteral("ERROR: cannot save the file.")), qPrintable(warning));
    QVERIFY(!window->lastSaveOk());
    QCOMPARE(readFile(path), bytes);
    QCOMPARE(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("port.xvm")});
}

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
