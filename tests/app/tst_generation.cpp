// Generation and export runs of the real main window: what the user sees when the
// script succeeds, fails, says nothing, crashes, is missing, or is still running.

#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"
#include "support/qainstall.h"
#include "support/qascriptrunner.h"

#include "mainwindowdriver.h"

#include <QtTest>

using namespace VmrDrive;

namespace {

const QString kGen = u"vmrgen.pl"_s, kPrint = u"vmrprint.pl"_s, kSaved = u"VMR Files saved."_s;
const QString kFailed = u"ERROR during saving file."_s;

} // namespace

class TestGeneration : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home, m_work;
    std::unique_ptr<Install> m_install;
    QString m_document;

    QString work(const QString &name) const { return m_work->path() + u'/' + name; }
    QString run(const QString &dir) const { return m_document + u'|' + dir; }

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void init()
    {
        m_install = std::make_unique<Install>();
        m_work = std::make_unique<QTemporaryDir>();
        m_install->writeScript(kGen, "exit 0;");
        m_install->writeScript(kPrint, "exit 0;");
        m_document = work(u"gen.xvm"_s);
        QVERIFY(writeFile(m_document, "<VMR Name=\"Gen\" type=\"CCPP\" Version=\"V2009\" generate_in=\""
                                          + m_install->targets().toUtf8()
                                          + "\"><COMMENT/><IS Label=\"Settings\"><COMMENT/></IS></VMR>"));
        clearSettings();
    }
    void cleanup() { m_install.reset(); }

    void generationOutcome_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("shown"); // empty: the run succeeds
        QTest::newRow("warning on standard error, exit 0")
            << QByteArray("print STDERR \"warning: no binary file\\n\"; exit 0;") << QString();
        QTest::newRow("several lines, the last one shown")
            << QByteArray("print STDERR \"line one\\nline two\\nno LIBCONF section\\n\"; exit 1;")
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
        {
            ModalScript old({answer(u"OK"_s)});
            window->fileSave();
            QTRY_COMPARE(status(window.get()), kFailed);
            QCOMPARE(old.texts(), QStringList{u"old reason\n"_s});
        }
        m_install->writeScript(kGen, script);
        ModalScript dialogs(QList<Handler>(shown.isEmpty() ? 0 : 1, answer(u"OK"_s)));
        action(window.get(), "fileSaveAction")->trigger();
        QVERIFY(window->lastSaveOk() && window->scriptRun());
        QCOMPARE(window->errorText(), QString());
        QCOMPARE(status(window.get()), u"Generate VMR..."_s);
        // A caption that only the refresh after a successful run puts right.
        window->setWindowTitle(u"before"_s);
        QTRY_COMPARE(status(window.get()), shown.isEmpty() ? kSaved : kFailed);
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts(), shown.isEmpty() ? QStringList() : QStringList{shown});
        QVERIFY(!window->scriptRun());
        QCOMPARE(m_install->runsOf(kGen), QStringList(2, run(m_install->targets())));
        QCOMPARE(window->windowTitle(), shown.isEmpty() ? titled(u"gen.xvm"_s) : u"before"_s);
        if (shown.isEmpty())
            QCOMPARE(window->errorText(), u"warning: no binary file\n"_s);
        QCOMPARE(canonicalDocument(readFile(m_document)), canonical(window->rootElement()));
    }

    void scriptFailures()
    {
        QVERIFY(QFile::remove(m_install->script(kGen)));
        m_install->writeScript(kPrint, "print STDERR \"cannot write the text\\n\"; exit 2;");
        auto window = openWindow(m_document);
        const QStringList command = QAInstall::perlCommand(VmrTest::program())
            + QStringList{m_install->script(kGen), m_document};
        ModalScript missing({answer(u"OK"_s)});
        window->fileSave();
        VMR_ANSWERED(missing);
        QCOMPARE(missing.texts(), QStringList{command.join(u' ') + u"\nUnable to run command"_s});
        QCOMPARE(status(window.get()), u"ERROR: cannot generate all the Velmor files."_s);
        QVERIFY(window->lastSaveOk() && !window->scriptRun());

        // An export that fails; cancelling the file dialog runs nothing.
        ModalScript failing({choosePath(work(u"out.txt"_s)), answer(u"OK"_s), choosePath(QString())});
        window->fileExportAs();
        QTRY_COMPARE(status(window.get()), u"ERROR during export file."_s);
        window->fileExportAs();
        VMR_ANSWERED(failing);
        QCOMPARE(failing.texts().value(1), u"cannot write the text\n"_s);
        QCOMPARE(m_install->runsOf(kPrint).size(), 1);

        // A missing export script: the message names the document, not the output file.
        QVERIFY(QFile::remove(m_install->script(kPrint)));
        ModalScript gone({choosePath(work(u"out.txt"_s)), answer(u"OK"_s)});
        window->fileExportAs();
        VMR_ANSWERED(gone);
        QVERIFY2(gone.texts().value(1).endsWith(u"vmrprint.pl "_s + m_document
                                                + u"\nUnable to run command"_s),
                 qPrintable(gone.texts().value(1)));
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
        QTRY_COMPARE(m_install->runsOf(kGen).size(), 1);
        QVERIFY(window->scriptRun() && window->scriptRun()->isRunning());

        // The window goes on working: another node can be chosen and its viewer opens.
        QAVmrEditorTree *tree = window->editor()->tree();
        QTreeWidgetItem *settings = tree->topLevelItem(0)->child(0);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(settings).center());
        QCOMPARE(static_cast<QTreeWidgetItem *>(window->editor()->currentNode()), settings);
        QVERIFY(window->editor()->viewer());

        // Neither a second generation nor an export starts meanwhile; no dialog comes up.
        for (const char *name : {"fileExportAsAction", "fileGenerateAsAction", "fileSaveAction"}) {
            action(window.get(), name)->trigger();
            QVERIFY2(status(window.get()).contains(u"still running"_s), name);
        }
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
        QVERIFY(writeFile(ports + u"/existing/port.ini"_s, "NAME=\"Ada Existing\"\n"));
        auto window = openWindow(m_document);

        // Cancelled: nothing is saved or run, not even a change made meanwhile.
        const QByteArray before = readFile(m_document);
        window->rootElement().setAttribute(u"Name"_s, u"Changed"_s);
        QStringList seen;
        ModalScript dialogs({choosePath(QString(), &seen), choosePath(ports + u'/')});
        window->fileGenerateAs();
        QCOMPARE(seen.value(0), QDir(m_install->targets()).absolutePath());
        QCOMPARE(readFile(m_document), before);
        QCOMPARE(window->targetDirectory(), m_install->targets());
        QVERIFY(!window->scriptRun() && m_install->runsOf(kGen).isEmpty());
        window->rootElement().setAttribute(u"Name"_s, u"Gen"_s);

        // A trailing separator is dropped; the chosen directory's ports are read.
        action(window.get(), "fileGenerateAsAction")->trigger();
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts(), QStringList(2, u"Generate VMR In"_s));
        QCOMPARE(window->targetDirectory(), ports);
        QCOMPARE(window->editor()->generateIn(), ports);
        QVERIFY(window->findPortEntry(u"existing"_s, u"Ada Existing"_s));
        QVERIFY(window->findPortEntry(u"gen"_s, u"C++ Gen"_s));
        QCOMPARE(rootOf(readFile(m_document)).attribute(u"generate_in"_s), ports);
        QTRY_COMPARE(status(window.get()), kSaved);
        // The plain Save && Generate now goes to the same place.
        window->fileSave();
        QTRY_COMPARE(m_install->runsOf(kGen), QStringList(2, run(ports)));
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
        m_install->writeScript(kPrint, "open(my $o, '>', $ARGV[1]) or die; print $o \"text\\n\";");
        auto window = openWindow(m_document);
        // Export reads the file as last saved: an unsaved change is not written first.
        const QByteArray before = readFile(m_document);
        window->rootElement().setAttribute(u"Name"_s, u"Unsaved"_s);
        window->setWindowTitle(u"before"_s);
        ModalScript dialogs({choosePath(work(typed))});
        action(window.get(), "fileExportAsAction")->trigger();
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts(), QStringList{u"Export xvm In"_s});
        QCOMPARE(status(window.get()), u"Generate VMR..."_s);
        QTRY_COMPARE(status(window.get()), u"xvm file exported."_s);
        QCOMPARE(m_install->runsOf(kPrint), QStringList{run(work(used))});
        QCOMPARE(readFile(work(used)), QByteArray("text\n"));
        QCOMPARE(readFile(m_document), before);
        QCOMPARE(window->windowTitle(), u"before"_s);
    }
};

QTEST_MAIN(TestGeneration)
#include "tst_generation.moc"
