// Generation and export runs of the real main window: what the user sees when the
// script succeeds, fails, says nothing, crashes, is missing, or is still running.

#include "app/qamainwindoweditor.h"
#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"
#include "support/qaedition.h"
#include "support/qainstall.h"
#include "support/qascriptrunner.h"

#include "mainwindowdriver.h"
#include "testutil.h"

#include <QtTest>

using namespace VmrDrive;

namespace {

const char kGen[] = "vmrgen.pl";
const char kPrint[] = "vmrprint.pl";

QByteArray portDocument(const QString &generateIn)
{
    return "<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
           "<VMR Name=\"Gen\" type=\"CCPP\" Version=\"V2009\" read_only=\"no\" generate_in=\""
        + generateIn.toUtf8()
        + "\">\n<COMMENT>generated</COMMENT>\n"
          "<IS Label=\"Settings\"><COMMENT/></IS>\n"
          "<BUILD Label=\"Build\"><COMMENT/>"
          "<NEWCMDFILE Name=\"a.txt\"><COMMENT/><VALUE>a</VALUE></NEWCMDFILE></BUILD>\n"
          "</VMR>\n";
}

} // namespace

class TestGeneration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void generationSucceeds();
    void generationFails_data();
    void generationFails();
    void failureReasonIsNeverStale();
    void missingScripts();
    void secondRunIsRefused();
    void generateInAnotherDirectory();
    void generateInCancelled();
    void generateInNeverSavesOverReadOnlyPort();
    void exportNames_data();
    void exportNames();
    void exportFails();
    void realScripts();

private:
    std::unique_ptr<QAMainWindowEditor> openPort();

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<Install> m_install;
    std::unique_ptr<QTemporaryDir> m_work;
    QByteArray m_stagedInstall;
    QString m_document;
};

void TestGeneration::initTestCase()
{
    m_home = VmrTest::privateHome();
    m_stagedInstall = qgetenv("ORBISKDIR");
}

void TestGeneration::init()
{
    m_install = std::make_unique<Install>();
    m_work = std::make_unique<QTemporaryDir>();
    qputenv("ORBISKDIR", m_install->path().toLocal8Bit());
    m_install->writeScript(QLatin1String(kGen), "exit 0;");
    m_install->writeScript(QLatin1String(kPrint), "exit 0;");
    m_document = m_work->path() + QStringLiteral("/gen.xvm");
    writeFile(m_document, portDocument(m_install->targets()));
    clearSettings();
}

void TestGeneration::cleanup()
{
    qputenv("ORBISKDIR", m_stagedInstall);
    m_install.reset();
    m_work.reset();
}

std::unique_ptr<QAMainWindowEditor> TestGeneration::openPort()
{
    return openWindow(m_document);
}

void TestGeneration::generationSucceeds()
{
    // Warnings on standard error do not make a run fail: the exit status decides.
    m_install->writeScript(QLatin1String(kGen),
                           "print STDERR \"warning: no binary file\\n\"; exit 0;");
    auto window = openPort();
    ModalScript dialogs;
    action(window.get(), "fileSaveAction")->trigger();
    QCOMPARE(status(window.get()), QStringLiteral("Generate VMR..."));
    QVERIFY(window->scriptRun());
    // A caption that only the refresh after a successful run puts right.
    window->setWindowTitle(QStringLiteral("before"));
    QTRY_COMPARE(status(window.get()), QStringLiteral("VMR Files saved."));
    QVERIFY(!window->scriptRun());
    QVERIFY(dialogs.unexpected().isEmpty());
    QCOMPARE(window->windowTitle(), QStringLiteral("gen.xvm - ") + QAEdition::applicationTitle());
    QCOMPARE(m_install->runsOf(QLatin1String(kGen)),
             QStringList{m_document + QLatin1Char('|') + m_install->targets()});
    QCOMPARE(window->errorText(), QStringLiteral("warning: no binary file\n"));
}

void TestGeneration::generationFails_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("shown");
    QTest::newRow("several lines, last one shown")
        << QByteArray("print STDERR \"line one\\nline two\\n\"; print STDERR \"no LIBCONF section\\n\"; exit 1;")
        << QStringLiteral("no LIBCONF section\n");
    QTest::newRow("silent failure")
        << QByteArray("exit 7;") << QStringLiteral("vmrgen.pl ended with exit status 7.\n");
    QTest::newRow("crash after a reason")
        << QByteArray("print STDERR \"writing build.pl\\n\"; kill 9, $$; sleep 5;")
        << QStringLiteral("vmrgen.pl crashed or was killed.\nwriting build.pl\n");
    QTest::newRow("silent crash")
        << QByteArray("kill 9, $$; sleep 5;") << QStringLiteral("vmrgen.pl crashed or was killed.\n");
}

void TestGeneration::generationFails()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, shown);
    m_install->writeScript(QLatin1String(kGen), script);
    auto window = openPort();

    QString error;
    ModalScript dialogs({readError(&error)});
    window->fileSave();
    QVERIFY(window->lastSaveOk());
    window->setWindowTitle(QStringLiteral("before"));
    QTRY_COMPARE(status(window.get()), QStringLiteral("ERROR during saving file."));
    QVERIFY(dialogs.unexpected().isEmpty());
    QCOMPARE(error, shown);
    QVERIFY(!window->scriptRun());
    // No refresh after a failure; the saved document stays as it is.
    QCOMPARE(window->windowTitle(), QStringLiteral("before"));
    QCOMPARE(canonicalDocument(readFile(m_document)), canonical(window->rootElement()));
}

void TestGeneration::failureReasonIsNeverStale()
{
    m_install->writeScript(QLatin1String(kGen), "print STDERR \"old reason\\n\"; exit 1;");
    auto window = openPort();
    QString first, second;
    {
        ModalScript dialogs({readError(&first)});
        window->fileSave();
        QTRY_COMPARE(status(window.get()), QStringLiteral("ERROR during saving file."));
    }
    QCOMPARE(first, QStringLiteral("old reason\n"));

    m_install->writeScript(QLatin1String(kGen), "exit 3;");
    ModalScript dialogs({readError(&second)});
    window->fileSave();
    QCOMPARE(window->errorText(), QString());
    QTRY_COMPARE(status(window.get()), QStringLiteral("ERROR during saving file."));
    QCOMPARE(second, QStringLiteral("vmrgen.pl ended with exit status 3.\n"));
}

void TestGeneration::missingScripts()
{
    m_install->removeScript(QLatin1String(kGen));
    m_install->removeScript(QLatin1String(kPrint));
    auto window = openPort();
    const QString program = VmrTest::program();
    const QString expectedStart = (QAInstall::perlCommand(program)
                                   + QStringList{m_install->scriptsDir() + QStringLiteral("/vmrgen.pl"),
                                                 m_document})
                                      .join(QLatin1Char(' '));

    QString error;
    ModalScript dialogs({readError(&error)});
    window->fileSave();
    QVERIFY(dialogs.allHandled());
    QCOMPARE(error, expectedStart + QStringLiteral("\nUnable to run command"));
    QCOMPARE(status(window.get()), QStringLiteral("ERROR: cannot generate all the Velmor files."));
    QVERIFY(!window->scriptRun());
    QVERIFY(window->lastSaveOk());

    // Export: the message names the document, not the output file.
    const QString output = m_work->path() + QStringLiteral("/out.txt");
    ModalScript exportDialogs({choosePath(output), readError(&error)});
    window->fileExportAs();
    QVERIFY(exportDialogs.allHandled());
    QVERIFY2(error.endsWith(QStringLiteral("vmrprint.pl ") + m_document + QStringLiteral("\nUnable to run command")),
             qPrintable(error));
    QVERIFY(!error.contains(output));
    QCOMPARE(status(window.get()), QStringLiteral("ERROR: cannot export this Velmor (xvm) file."));
}

void TestGeneration::secondRunIsRefused()
{
    const QString release = m_work->path() + QStringLiteral("/release");
    m_install->writeScript(QLatin1String(kGen),
                           "for (1 .. 1200) { last if -e '" + release.toLocal8Bit()
                               + "'; select(undef, undef, undef, 0.05); } exit 0;");
    auto window = openPort();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    ModalScript dialogs;
    window->fileSave();
    QCOMPARE(status(window.get()), QStringLiteral("Generate VMR..."));
    QTRY_VERIFY(m_install->runsOf(QLatin1String(kGen)).size() == 1);
    QVERIFY(window->scriptRun() && window->scriptRun()->isRunning());

    // The window goes on working: another node can be chosen and its viewer opens.
    QAVmrEditorTree *tree = window->editor()->tree();
    QTreeWidgetItem *settings = tree->topLevelItem(0)->child(0);
    QVERIFY(settings);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(settings).center());
    QCOMPARE(tree->currentItem(), settings);
    QCOMPARE(static_cast<QTreeWidgetItem *>(window->editor()->currentNode()), settings);
    QVERIFY(window->editor()->viewer());

    // Neither a second generation nor an export starts meanwhile; no dialog comes up.
    action(window.get(), "fileExportAsAction")->trigger();
    QVERIFY(status(window.get()).contains(QStringLiteral("still running")));
    action(window.get(), "fileGenerateAsAction")->trigger();
    QVERIFY(status(window.get()).contains(QStringLiteral("still running")));
    window->fileSave();
    QVERIFY(window->lastSaveOk());
    QVERIFY(status(window.get()).contains(QStringLiteral("still running")));
    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join(QLatin1Char('\n'))));

    QVERIFY(writeFile(release, "go"));
    QTRY_COMPARE(status(window.get()), QStringLiteral("VMR Files saved."));
    QCOMPARE(m_install->runsOf(QLatin1String(kGen)).size(), 1);
    QVERIFY(m_install->runsOf(QLatin1String(kPrint)).isEmpty());

    // Once it has ended, the next run starts.
    window->fileSave();
    QTRY_COMPARE(status(window.get()), QStringLiteral("VMR Files saved."));
    QCOMPARE(m_install->runsOf(QLatin1String(kGen)).size(), 2);
}

void TestGeneration::generateInAnotherDirectory()
{
    const QString ports = m_work->path() + QStringLiteral("/ports");
    QVERIFY(QDir().mkpath(ports + QStringLiteral("/existing")));
    writeFile(ports + QStringLiteral("/existing/port.ini"), "NAME=\"Ada Existing\"\n");
    auto window = openPort();

    FileDialogSeen seen;
    ModalScript dialogs({choosePath(ports + QLatin1Char('/'), &seen)});
    action(window.get(), "fileGenerateAsAction")->trigger();
    QVERIFY(dialogs.allHandled());
    QCOMPARE(seen.objectName, QStringLiteral("Generate VMR dialog"));
    QCOMPARE(seen.title, QStringLiteral("Generate VMR In"));
    QCOMPARE(seen.directory, QDir(m_install->targets()).absolutePath());

    QCOMPARE(window->targetDirectory(), ports);
    QCOMPARE(window->editor()->generateIn(), ports);
    QVERIFY(window->findPortEntry(QStringLiteral("existing"), QStringLiteral("Ada Existing")));
    QVERIFY(window->findPortEntry(QStringLiteral("gen"), QStringLiteral("C++ Gen")));
    QCOMPARE(rootOf(readFile(m_document)).attribute(QStringLiteral("generate_in")), ports);
    QTRY_COMPARE(status(window.get()), QStringLiteral("VMR Files saved."));
    QCOMPARE(m_install->runsOf(QLatin1String(kGen)), QStringList{m_document + QLatin1Char('|') + ports});

    // The plain Save && Generate now goes to the same place.
    window->fileSave();
    QTRY_COMPARE(m_install->runsOf(QLatin1String(kGen)).size(), 2);
    QCOMPARE(m_install->runsOf(QLatin1String(kGen)).last(), m_document + QLatin1Char('|') + ports);
    QTRY_VERIFY(!window->scriptRun());
}

void TestGeneration::generateInCancelled()
{
    auto window = openPort();
    const QByteArray before = readFile(m_document);
    QDomElement root = window->rootElement();
    root.setAttribute(QStringLiteral("Name"), QStringLiteral("Changed"));

    ModalScript dialogs({choosePath(QString())});
    window->fileGenerateAs();
    QVERIFY(dialogs.allHandled());
    QCOMPARE(readFile(m_document), before);
    QCOMPARE(window->targetDirectory(), m_install->targets());
    QVERIFY(!window->scriptRun());
    QVERIFY(m_install->runsOf(QLatin1String(kGen)).isEmpty());
}

void TestGeneration::generateInNeverSavesOverReadOnlyPort()
{
    QByteArray locked = portDocument(m_install->targets());
    locked.replace("read_only=\"no\"", "read_only=\"yes\"");
    QVERIFY(writeFile(m_document, locked));
    auto window = openPort();
    const QString ports = m_work->path() + QStringLiteral("/ports");
    QVERIFY(QDir().mkpath(ports));

    // Save As cancelled: no directory asked for, nothing written, nothing run.
    FileDialogSeen first;
    ModalScript cancel({choosePath(QString(), &first)});
    action(window.get(), "fileGenerateAsAction")->trigger();
    QVERIFY2(cancel.unexpected().isEmpty(), qPrintable(cancel.unexpected().join(QLatin1Char('\n'))));
    QCOMPARE(first.objectName, QStringLiteral("save xvm file dialog"));
    QCOMPARE(readFile(m_document), locked);

    // Named: the copy is saved and generated, the read-only port stays as it was.
    const QString copy = m_work->path() + QStringLiteral("/mycopy.xvm");
    ModalScript dialogs({choosePath(copy), choosePath(ports)});
    window->fileGenerateAs();
    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join(QLatin1Char('\n'))));
    QVERIFY(dialogs.allHandled());
    QTRY_COMPARE(status(window.get()), QStringLiteral("VMR Files saved."));
    QCOMPARE(readFile(m_document), locked);
    QCOMPARE(rootOf(readFile(copy)).attribute(QStringLiteral("read_only")), QStringLiteral("no"));
    QCOMPARE(m_install->runsOf(QLatin1String(kGen)), QStringList{copy + QLatin1Char('|') + ports});
}

void TestGeneration::exportNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("used");
    QTest::newRow("no extension") << QStringLiteral("out") << QStringLiteral("out.txt");
    QTest::newRow("another extension") << QStringLiteral("out.text") << QStringLiteral("out.text");
    QTest::newRow("trailing dot") << QStringLiteral("out.") << QStringLiteral("out..txt");
}

void TestGeneration::exportNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, used);
    m_install->writeScript(QLatin1String(kPrint),
                           "open(my $o, '>', $ARGV[1]) or die; print $o \"text\\n\"; exit 0;");
    auto window = openPort();
    // Export reads the file as last saved: an unsaved change is not written first.
    const QByteArray before = readFile(m_document);
    window->rootElement().setAttribute(QStringLiteral("Name"), QStringLiteral("Unsaved"));
    window->setWindowTitle(QStringLiteral("before"));

    FileDialogSeen seen;
    ModalScript dialogs({choosePath(m_work->path() + QLatin1Char('/') + typed, &seen)});
    action(window.get(), "fileExportAsAction")->trigger();
    QVERIFY(dialogs.allHandled());
    QCOMPARE(seen.objectName, QStringLiteral("Export VMR dialog"));
    QCOMPARE(seen.title, QStringLiteral("Export xvm In"));
    QCOMPARE(status(window.get()), QStringLiteral("Generate VMR..."));
    QTRY_COMPARE(status(window.get()), QStringLiteral("xvm file exported."));
    const QString output = m_work->path() + QLatin1Char('/') + used;
    QCOMPARE(m_install->runsOf(QLatin1String(kPrint)), QStringList{m_document + QLatin1Char('|') + output});
    QCOMPARE(readFile(output), QByteArray("text\n"));
    QCOMPARE(readFile(m_document), before);
    QCOMPARE(window->windowTitle(), QStringLiteral("before"));
    QVERIFY(dialogs.unexpected().isEmpty());
}

void TestGeneration::exportFails()
{
    m_install->writeScript(QLatin1String(kPrint), "print STDERR \"cannot write the text\\n\"; exit 2;");
    auto window = openPort();
    QString error;
    ModalScript dialogs({choosePath(m_work->path() + QStringLiteral("/out.txt")), readError(&error)});
    window->fileExportAs();
    QTRY_COMPARE(status(window.get()), QStringLiteral("ERROR during export file."));
    QCOMPARE(error, QStringLiteral("cannot write the text\n"));

    // Cancelling the file dialog runs nothing.
    ModalScript cancel({choosePath(QString())});
    window->fileExportAs();
    QVERIFY(cancel.allHandled());
    QCOMPARE(m_install->runsOf(QLatin1String(kPrint)).size(), 1);
}

void TestGeneration::realScripts()
{
    const QString staged = QString::fromLocal8Bit(m_stagedInstall);
    const QString example = staged + QStringLiteral("/targets/examples/linux_gcc.xvm");
    for (const char *script : {kGen, kPrint}) {
        if (!QFile::exists(staged + QStringLiteral("/lib/scripts/") + QLatin1String(script)))
            QSKIP("the installation lacks a generation or export script");
    }
    if (!QFile::exists(example))
        QSKIP("the installation has no example port");
    for (const char *script : {kGen, kPrint}) {
        const QString target = m_install->scriptsDir() + QLatin1Char('/') + QLatin1String(script);
        QFile::remove(target);
        QVERIFY(QFile::copy(staged + QStringLiteral("/lib/scripts/") + QLatin1String(script), target));
    }
    m_document = m_work->path() + QStringLiteral("/linux_gcc.xvm");
    QVERIFY(QFile::copy(example, m_document));
    auto window = openWindow(m_document);
    QCOMPARE(window->currentDocumentPath(), m_document);

    const QString ports = m_work->path() + QStringLiteral("/ports");
    QVERIFY(QDir().mkpath(ports));
    ModalScript dialogs({choosePath(ports)});
    window->fileGenerateAs();
    QTRY_VERIFY_WITH_TIMEOUT(!window->scriptRun(), 60000);
    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join(QLatin1Char('\n'))));
    QCOMPARE(status(window.get()), QStringLiteral("VMR Files saved."));
    const QByteArray ini = readFile(ports + QStringLiteral("/linux_gcc/port.ini"));
    const QByteArray nameLine =
        "NAME=\"" + QAMainWindowEditor::portName(window->rootElement()).toUtf8() + "\"";
    QVERIFY2(ini.contains(nameLine), ini.constData());

    const QString text = m_work->path() + QStringLiteral("/linux_gcc.txt");
    ModalScript exportDialogs({choosePath(text)});
    window->fileExportAs();
    QTRY_VERIFY_WITH_TIMEOUT(!window->scriptRun(), 60000);
    QVERIFY2(exportDialogs.unexpected().isEmpty(),
             qPrintable(exportDialogs.unexpected().join(QLatin1Char('\n'))));
    QCOMPARE(status(window.get()), QStringLiteral("xvm file exported."));
    QVERIFY(readFile(text).contains("LinuxGcc"));
}

QTEST_MAIN(TestGeneration)
#include "tst_generation.moc"
