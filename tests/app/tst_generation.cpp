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

const QString kGen = u"vmrgen.pl"_s;
const QString kPrint = u"vmrprint.pl"_s;
const QString kSaved = u"VMR Files saved."_s;

QByteArray portDocument(const QString &generateIn, const QByteArray &readOnly = "no")
{
    return "<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n<VMR Name=\"Gen\" type=\"CCPP\" Version=\"V2009\" read_only=\""
        + readOnly + "\" generate_in=\"" + generateIn.toUtf8()
        + "\">\n<COMMENT>generated</COMMENT>\n<IS Label=\"Settings\"><COMMENT/></IS>\n<BUILD Label=\"Build\">"
          "<COMMENT/><NEWCMDFILE Name=\"a.txt\"><COMMENT/><VALUE>a</VALUE></NEWCMDFILE></BUILD>\n</VMR>\n";
}

} // namespace

class TestGeneration : public QObject
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
        m_install->writeScript(kGen, "exit 0;");
        m_install->writeScript(kPrint, "exit 0;");
        m_document = m_work->path() + u"/gen.xvm"_s;
        writeFile(m_document, portDocument(m_install->targets()));
        clearSettings();
    }
    void cleanup()
    {
        qputenv("ORBISKDIR", m_stagedInstall);
        m_install.reset();
        m_work.reset();
    }

    void generationOutcome_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("shown"); // empty: the run succeeds
        QTest::newRow("warnings on standard error, exit 0")
            << QByteArray("print STDERR \"warning: no binary file\\n\"; exit 0;") << QString();
        QTest::newRow("several lines, last one shown")
            << QByteArray(
                   "print STDERR \"line one\\nline two\\n\"; print STDERR \"no LIBCONF "
                   "section\\n\"; exit 1;")
            << u"no LIBCONF section\n"_s;
        QTest::newRow("silent failure")
            << QByteArray("exit 7;") << u"vmrgen.pl ended with exit status 7.\n"_s;
        QTest::newRow("crash after a reason")
            << QByteArray("print STDERR \"writing build.pl\\n\"; kill 9, $$; sleep 5;")
            << u"vmrgen.pl crashed or was killed.\nwriting build.pl\n"_s;
        QTest::newRow("silent crash")
            << QByteArray("kill 9, $$; sleep 5;") << u"vmrgen.pl crashed or was killed.\n"_s;
    }
    void generationOutcome()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, shown);
        // Each run follows a failed one, whose reason must never be shown again.
        m_install->writeScript(kGen, "print STDERR \"old reason\\n\"; exit 1;");
        auto window = openWindow(m_document);
        QString error;
        {
            ModalScript old({readError(&error)});
            window->fileSave();
            QTRY_COMPARE(status(window.get()), u"ERROR during saving file."_s);
        }
        QCOMPARE(std::exchange(error, QString()), u"old reason\n"_s);
        m_install->writeScript(kGen, script);
        ModalScript dialogs(shown.isEmpty() ? QList<Handler>() : QList<Handler>{readError(&error)});
        action(window.get(), "fileSaveAction")->trigger();
        QVERIFY(window->lastSaveOk());
        QCOMPARE(window->errorText(), QString());
        QCOMPARE(status(window.get()), u"Generate VMR..."_s);
        QVERIFY(window->scriptRun());
        // A caption that only the refresh after a successful run puts right.
        window->setWindowTitle(u"before"_s);
        QTRY_COMPARE(status(window.get()), shown.isEmpty() ? kSaved : u"ERROR during saving file."_s);
        VMR_ANSWERED(dialogs);
        QVERIFY(!window->scriptRun());
        QCOMPARE(m_install->runsOf(kGen), QStringList(2, runLine(m_document, m_install->targets())));
        QCOMPARE(error, shown);
        QCOMPARE(window->windowTitle(),
                 shown.isEmpty() ? u"gen.xvm - "_s + QAEdition::applicationTitle() : u"before"_s);
        if (shown.isEmpty())
            QCOMPARE(window->errorText(), u"warning: no binary file\n"_s);
        QCOMPARE(canonicalDocument(readFile(m_document)), canonical(window->rootElement()));
    }
    void missingScripts()
    {
        m_install->removeScript(kGen);
        m_install->removeScript(kPrint);
        auto window = openWindow(m_document);
        const QStringList command = QAInstall::perlCommand(VmrTest::program())
            + QStringList{m_install->scriptsDir() + u"/vmrgen.pl"_s, m_document};
        QString error;
        ModalScript dialogs({readError(&error)});
        window->fileSave();
        VMR_ANSWERED(dialogs);
        QCOMPARE(error, command.join(u' ') + u"\nUnable to run command"_s);
        QCOMPARE(status(window.get()), u"ERROR: cannot generate all the Velmor files."_s);
        QVERIFY(!window->scriptRun());
        QVERIFY(window->lastSaveOk());

        // Export: the message names the document, not the output file.
        ModalScript exportDialogs({choosePath(work(u"out.txt"_s)), readError(&error)});
        window->fileExportAs();
        VMR_ANSWERED(exportDialogs);
        QVERIFY2(error.endsWith(u"vmrprint.pl "_s + m_document + u"\nUnable to run command"_s),
                 qPrintable(error));
        QVERIFY(!error.contains(work(u"out.txt"_s)));
        QCOMPARE(status(window.get()), u"ERROR: cannot export this Velmor (xvm) file."_s);
    }
    void secondRunIsRefused()
    {
        const QString release = work(u"release"_s);
        m_install->writeScript(kGen, "for (1 .. 1200) { last if -e '" + release.toLocal8Bit()
                                         + "'; select(undef, undef, undef, 0.05); } exit 0;");
        auto window = openWindow(m_document);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        ModalScript dialogs;
        window->fileSave();
        QTRY_VERIFY(m_install->runsOf(kGen).size() == 1);
        QVERIFY(window->scriptRun() && window->scriptRun()->isRunning());

        // The window goes on working: another node can be chosen and its viewer opens.
        QAVmrEditorTree *tree = window->editor()->tree();
        QTreeWidgetItem *settings = tree->topLevelItem(0)->child(0);
        QVERIFY(settings);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(settings).center());
        QCOMPARE(static_cast<QTreeWidgetItem *>(window->editor()->currentNode()), settings);
        QVERIFY(window->editor()->viewer());

        // Neither a second generation nor an export starts meanwhile; no dialog comes up.
        for (const char *name : {"fileExportAsAction", "fileGenerateAsAction", "fileSaveAction"}) {
            action(window.get(), name)->trigger();
            QVERIFY2(status(window.get()).contains(u"still running"_s), name);
        }
        QVERIFY(window->lastSaveOk());
        VMR_ANSWERED(dialogs);

        QVERIFY(writeFile(release, "go"));
        QTRY_COMPARE(status(window.get()), kSaved);
        QCOMPARE(m_install->runsOf(kGen).size(), 1);
        QVERIFY(m_install->runsOf(kPrint).isEmpty());
        // Once it has ended, the next run starts.
        window->fileSave();
        QTRY_COMPARE(m_install->runsOf(kGen).size(), 2);
        QTRY_COMPARE(status(window.get()), kSaved);
    }
    void generateInAnotherDirectory()
    {
        const QString ports = work(u"ports"_s);
        QVERIFY(QDir().mkpath(ports + u"/existing"_s));
        writeFile(ports + u"/existing/port.ini"_s, "NAME=\"Ada Existing\"\n");
        auto window = openWindow(m_document);

        // Cancelled: nothing is saved or run, not even a change made meanwhile.
        const QByteArray before = readFile(m_document);
        window->rootElement().setAttribute(u"Name"_s, u"Changed"_s);
        FileDialogSeen seen;
        ModalScript cancel({choosePath(QString(), &seen)});
        window->fileGenerateAs();
        VMR_ANSWERED(cancel);
        QCOMPARE(seen.title, u"Generate VMR In"_s);
        QCOMPARE(seen.directory, QDir(m_install->targets()).absolutePath());
        QCOMPARE(readFile(m_document), before);
        QCOMPARE(window->targetDirectory(), m_install->targets());
        QVERIFY(!window->scriptRun());
        QVERIFY(m_install->runsOf(kGen).isEmpty());
        window->rootElement().setAttribute(u"Name"_s, u"Gen"_s);

        ModalScript dialogs({choosePath(ports + u'/')});
        action(window.get(), "fileGenerateAsAction")->trigger();
        VMR_ANSWERED(dialogs);
        QCOMPARE(window->targetDirectory(), ports);
        QCOMPARE(window->editor()->generateIn(), ports);
        QVERIFY(window->findPortEntry(u"existing"_s, u"Ada Existing"_s));
        QVERIFY(window->findPortEntry(u"gen"_s, u"C++ Gen"_s));
        QCOMPARE(rootOf(readFile(m_document)).attribute(u"generate_in"_s), ports);
        QTRY_COMPARE(status(window.get()), kSaved);
        QCOMPARE(m_install->runsOf(kGen), QStringList{runLine(m_document, ports)});

        // The plain Save && Generate now goes to the same place.
        window->fileSave();
        QTRY_COMPARE(m_install->runsOf(kGen).size(), 2);
        QCOMPARE(m_install->runsOf(kGen).last(), runLine(m_document, ports));
        QTRY_VERIFY(!window->scriptRun());
    }
    void exportNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("used");
        QTest::newRow("no extension") << u"out"_s << u"out.txt"_s;
        QTest::newRow("another extension") << u"out.text"_s << u"out.text"_s;
        QTest::newRow("trailing dot") << u"out."_s << u"out..txt"_s;
    }
    void exportNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, used);
        m_install->writeScript(kPrint, "open(my $o, '>', $ARGV[1]) or die; print $o \"text\\n\"; exit 0;");
        auto window = openWindow(m_document);
        // Export reads the file as last saved: an unsaved change is not written first.
        const QByteArray before = readFile(m_document);
        window->rootElement().setAttribute(u"Name"_s, u"Unsaved"_s);
        window->setWindowTitle(u"before"_s);

        FileDialogSeen seen;
        ModalScript dialogs({choosePath(work(typed), &seen)});
        action(window.get(), "fileExportAsAction")->trigger();
        VMR_ANSWERED(dialogs);
        QCOMPARE(seen.title, u"Export xvm In"_s);
        QCOMPARE(status(window.get()), u"Generate VMR..."_s);
        QTRY_COMPARE(status(window.get()), u"xvm file exported."_s);
        QCOMPARE(m_install->runsOf(kPrint), QStringList{runLine(m_document, work(used))});
        QCOMPARE(readFile(work(used)), QByteArray("text\n"));
        QCOMPARE(readFile(m_document), before);
        QCOMPARE(window->windowTitle(), u"before"_s);
        VMR_ANSWERED(dialogs);
    }
    void exportFails()
    {
        m_install->writeScript(kPrint, "print STDERR \"cannot write the text\\n\"; exit 2;");
        auto window = openWindow(m_document);
        QString error;
        ModalScript dialogs({choosePath(work(u"out.txt"_s)), readError(&error)});
        window->fileExportAs();
        QTRY_COMPARE(status(window.get()), u"ERROR during export file."_s);
        QCOMPARE(error, u"cannot write the text\n"_s);

        // Cancelling the file dialog runs nothing.
        ModalScript cancel({choosePath(QString())});
        window->fileExportAs();
        VMR_ANSWERED(cancel);
        QCOMPARE(m_install->runsOf(kPrint).size(), 1);
    }
    void realScripts()
    {
        const QString staged = QString::fromLocal8Bit(m_stagedInstall);
        const QString example = staged + u"/targets/examples/linux_gcc.xvm"_s;
        for (const QString &script : {kGen, kPrint}) {
            const QString target = m_install->scriptsDir() + u'/' + script;
            if (!QFile::exists(staged + u"/lib/scripts/"_s + script) || !QFile::exists(example))
                QSKIP("the installation lacks a generation or export script or the example port");
            QFile::remove(target);
            QVERIFY(QFile::copy(staged + u"/lib/scripts/"_s + script, target));
        }
        m_document = work(u"linux_gcc.xvm"_s);
        QVERIFY(QFile::copy(example, m_document));
        auto window = openWindow(m_document);
        QCOMPARE(window->currentDocumentPath(), m_document);

        const QString ports = work(u"ports"_s), text = work(u"linux_gcc.txt"_s);
        QVERIFY(QDir().mkpath(ports));
        ModalScript dialogs({choosePath(ports)});
        window->fileGenerateAs();
        QTRY_VERIFY_WITH_TIMEOUT(!window->scriptRun(), 60000);
        VMR_ANSWERED(dialogs);
        QCOMPARE(status(window.get()), kSaved);
        const QByteArray ini = readFile(ports + u"/linux_gcc/port.ini"_s);
        QVERIFY2(
            ini.contains(QByteArray(
                "NAME=\"" + QAMainWindowEditor::portName(window->rootElement()).toUtf8() + "\"")),
            ini.constData());

        ModalScript exportDialogs({choosePath(text)});
        window->fileExportAs();
        QTRY_VERIFY_WITH_TIMEOUT(!window->scriptRun(), 60000);
        VMR_ANSWERED(exportDialogs);
        QCOMPARE(status(window.get()), u"xvm file exported."_s);
        QVERIFY(readFile(text).contains("LinuxGcc"));
    }

private:
    QString work(const QString &name) const { return m_work->path() + u'/' + name; }
    QString runLine(const QString &document, const QString &dir) const { return document + u'|' + dir; }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<Install> m_install;
    std::unique_ptr<QTemporaryDir> m_work;
    QByteArray m_stagedInstall;
    QString m_document;
};

QTEST_MAIN(TestGeneration)
#include "tst_generation.moc"
