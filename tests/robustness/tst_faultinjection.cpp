// Saving and generating when the system fails underneath: a full disk, a write that the
// system refuses, a directory that cannot be written, the document file replaced by a
// directory, the scripts killed in the middle of their work. In every case the user is
// told, and the previous document and the previous port stay whole.

#include "robustnessutil.h"

#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "viewers/qafreetext.h"
#include "viewers/qavmrtextedit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidgetItemIterator>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace VmrRobust;

namespace {

/** A small tmpfs mounted for one test; unmounted when it goes. Needs root. */
class SmallDisk
{
public:
    explicit SmallDisk(const QString &size)
    {
        const QByteArray options = QByteArray("size=") + size.toLatin1() + ",mode=0777";
        m_ok = m_dir.isValid()
            && ::mount("tmpfs", m_dir.path().toLocal8Bit().constData(), "tmpfs", 0,
                       options.constData())
                == 0;
        if (!m_ok)
            m_error = QString::fromLocal8Bit(strerror(errno));
    }
    ~SmallDisk()
    {
        if (m_ok)
            ::umount2(m_dir.path().toLocal8Bit().constData(), MNT_DETACH);
    }
    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    QString path() const { return m_dir.path(); }
    bool remountReadOnly()
    {
        return ::mount("tmpfs", m_dir.path().toLocal8Bit().constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY, nullptr)
            == 0;
    }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
    QString m_error;
};

/**
 * Kills, from another thread, the first child process of this test that runs the given
 * script, once the condition holds (or at once when there is none). The GUI thread may
 * be blocked meanwhile, as it is while a document is updated.
 */
class ScriptKiller
{
public:
    ScriptKiller(const QByteArray &script, std::function<bool()> when = {})
        : m_thread([this, script, when]() { run(script, when); })
    {
    }
    ~ScriptKiller()
    {
        m_stop = true;
        m_thread.join();
    }
    bool killed() const { return m_killed; }

private:
    static pid_t childRunning(const QByteArray &script)
    {
        const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
        for (const QString &entry : entries) {
            bool isPid = false;
            const pid_t pid = entry.toInt(&isPid);
            if (!isPid)
                continue;
            const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
            // The parent pid is the second field after the command in parentheses.
            const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
            if (fields.size() < 2 || fields.at(1).toInt() != getpid())
                continue;
            if (readFile(QStringLiteral("/proc/%1/cmdline").arg(pid)).contains(script))
                return pid;
        }
        return 0;
    }

    void run(const QByteArray &script, const std::function<bool()> &when)
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_stop && timer.elapsed() < 120000) {
            const pid_t pid = childRunning(script);
            if (pid && (!when || when())) {
                m_killed = ::kill(pid, SIGKILL) == 0;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_killed{false};
    std::thread m_thread;
};

/** The file-size limit of this process, lowered for one test. */
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    bool ok() const { return m_ok; }

private:
    struct rlimit m_saved = {};
    void (*m_previousHandler)(int) = nullptr;
    bool m_ok = false;
};

} // namespace

class TestFaultInjection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void diskFullOnSave();
    void refusedWriteOnSave();
    void unwritableDirectory();
    void documentReplacedByDirectory();
    void diskFullOnGeneration();
    void generationKilledMidRun();
    void exportKilledMidRun();
    void updateKilledMidRun();

private:
    /** Opens path and types text into the ASCII file "env.sh", making the document grow. */
    void openAndGrow(const QString &path, int bytes);
    /** Runs Save && Generate and waits until the generation has ended. */
    void saveAndGenerate();

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QAMainWindowEditor> m_window;
};

void TestFaultInjection::initTestCase()
{
    m_home = VmrTest::privateHome();
}

void TestFaultInjection::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_window = openWindow();
}

void TestFaultInjection::cleanup()
{
    if (m_window)
        m_window->editor()->setModified(false);
    m_window.reset();
    m_dir.reset();
}

void TestFaultInjection::openAndGrow(const QString &path, int bytes)
{
    m_window->load(path, false);
    QVERIFY(!m_window->rootElement().isNull());
    QAVmrEditorTree *tree = m_window->editor()->tree();
    QTreeWidgetItem *file = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) == QLatin1String("env.sh"))
            file = *it;
    }
    QVERIFY(file);
    tree->setCurrentItem(file);
    auto *viewer = qobject_cast<QAFreeText *>(m_window->editor()->viewer());
    QVERIFY(viewer);
    // What a paste of a large text does: one change, written through to the document.
    QTextCursor cursor = viewer->textEditor()->textCursor();
    cursor.movePosition(QTextCursor::End);
    QString text;
    text.reserve(bytes + 80);
    while (text.size() < bytes)
        text += QString(79, QLatin1Char('x')) + QLatin1Char('\n');
    cursor.insertText(text);
    QVERIFY(m_window->editor()->isModified());
}

void TestFaultInjection::saveAndGenerate()
{
    m_window->fileSave();
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->scriptRun(), 120000);
}

void TestFaultInjection::diskFullOnSave()
{
    SmallDisk disk(QStringLiteral("256k"));
    if (!disk.ok())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs (%1); needs root")
                             .arg(disk.error())));
    const QString path = disk.path() + QStringLiteral("/port.xvm");
    const QByteArray before = smallDocument(m_dir->path());
    QVERIFY(writeFile(path, before));
    openAndGrow(path, 1024 * 1024);

    Dialogs dialogs(QMessageBox::Ok);
    QVERIFY(!m_window->save(path));
    QVERIFY(!m_window->lastSaveOk());
    // Told, with the reason the system gave.
    QCOMPARE(status(m_window.get()), QStringLiteral("ERROR: cannot save the file."));
    QCOMPARE(dialogs.seen().size(), 1);
    QVERIFY2(dialogs.texts().first().contains(QLatin1String("No space left on device")),
             qPrintable(dialogs.texts().first()));
    // The file is the previous one, nothing else lies beside it, the edit is not lost.
    QCOMPARE(readFile(path), before);
    QCOMPARE(QDir(disk.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("port.xvm")});
    QVERIFY(m_window->editor()->isModified());

    // Saved elsewhere, it is whole.
    const QString elsewhere = m_dir->filePath(QStringLiteral("elsewhere.xvm"));
    QVERIFY(m_window->save(elsewhere));
    QVERIFY(readFile(elsewhere).size() > 1024 * 1024);
}

void TestFaultInjection::refusedWriteOnSave()
{
    // A write that the system refuses part-way (here: past the process's file-size
    // limit), without root.
    const QString path = m_dir->filePath(QStringLiteral("port.xvm"));
    const QByteArray before = smallDocument(m_dir->path());
    QVERIFY(writeFile(path, before));
    openAndGrow(path, 512 * 1024);

    Dialogs dialogs(QMessageBox::Ok);
    {
        FileSizeLimit limit(200 * 1024);
        QVERIFY(limit.ok());
        QVERIFY(!m_window->save(path));
    }
    QCOMPARE(status(m_window.get()), QStringLiteral("ERROR: cannot save the file."));
    QCOMPARE(dialogs.seen().size(), 1);
    QVERIFY(dialogs.texts().first().contains(QDir::toNativeSeparators(path)));
    QCOMPARE(readFile(path), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("port.xvm")});
    QVERIFY(m_window->editor()->isModified());

    // With the limit gone the same save succeeds.
    QVERIFY(m_window->save(path));
    QVERIFY(readFile(path).size() > 512 * 1024);
}

void TestFaultInjection::unwritableDirectory()
{
    // Root writes through permission bits, so root gets a read-only mount instead.
    const bool root = geteuid() == 0;
    std::unique_ptr<SmallDisk> disk;
    QString dir = m_dir->filePath(QStringLiteral("locked"));
    if (root) {
        disk = std::make_unique<SmallDisk>(QStringLiteral("1m"));
        if (!disk->ok())
            QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs (%1)").arg(disk->error())));
        dir = disk->path();
    } else {
        QVERIFY(QDir().mkpath(dir));
    }
    const QString path = dir + QStringLiteral("/port.xvm");
    const QByteArray before = smallDocument(m_dir->path());
    QVERIFY(writeFile(path, before));
    m_window->load(path, false);
    QVERIFY(!m_window->rootElement().isNull());
    m_window->editor()->setModified(true);
    if (root)
        QVERIFY(disk->remountReadOnly());
    else
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));

    Dialogs dialogs(QMessageBox::Ok);
    // Over the existing file, and as a new file beside it.
    QVERIFY(!m_window->save(path));
    QVERIFY(!m_window->save(dir + QStringLiteral("/new.xvm")));
    QCOMPARE(dialogs.seen().size(), 2);
    for (const QString &text : dialogs.texts()) {
        QVERIFY2(text.endsWith(QLatin1String(
                     "\n\nYou cannot save this .xvm file because the file is in read only mode.")),
                 qPrintable(text));
    }
    QCOMPARE(readFile(path), before);
    QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/new.xvm")));
    QVERIFY(m_window->editor()->isModified());
    if (!root)
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestFaultInjection::documentReplacedByDirectory()
{
    const QString path = m_dir->filePath(QStringLiteral("port.xvm"));
    QVERIFY(writeFile(path, smallDocument(m_dir->path())));
    m_window->load(path, false);
    QVERIFY(!m_window->rootElement().isNull());
    m_window->editor()->setModified(true);

    // Behind the editor's back the file becomes a directory with a file of its own.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkpath(path));
    QVERIFY(writeFile(path + QStringLiteral("/inside.txt"), "kept"));

    Dialogs dialogs(QMessageBox::Ok);
    QVERIFY(!m_window->save(path));
    QCOMPARE(dialogs.seen().size(), 1);
    QVERIFY(dialogs.texts().first().startsWith(path));
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(readFile(path + QStringLiteral("/inside.txt")), QByteArray("kept"));
    QVERIFY(m_window->editor()->isModified());
}

void TestFaultInjection::diskFullOnGeneration()
{
    SmallDisk disk(QStringLiteral("512k"));
    if (!disk.ok())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs (%1); needs root")
                             .arg(disk.error())));
    // The previous port, generated while there was room.
    const QString target = disk.path();
    const QString path = m_dir->filePath(QStringLiteral("port.xvm"));
    QVERIFY(writeFile(path, smallDocument(target)));
    m_window->load(path, false);
    QCOMPARE(m_window->targetDirectory(), target);
    {
        Dialogs dialogs(QMessageBox::Yes);
        saveAndGenerate();
        QVERIFY2(dialogs.errors().isEmpty(), qPrintable(dialogs.errors().join(QLatin1Char('|'))));
    }
    const auto port = snapshot(target + QStringLiteral("/port"));
    QVERIFY(port.contains(QStringLiteral("env.sh")));

    // The next generation does not fit.
    openAndGrow(path, 1024 * 1024);
    Dialogs dialogs(QMessageBox::Yes);
    saveAndGenerate();
    QCOMPARE(dialogs.errors().size(), 1);
    QVERIFY2(dialogs.errors().first().contains(QLatin1String("No space left on device")),
             qPrintable(dialogs.errors().first()));
    QCOMPARE(status(m_window.get()), QStringLiteral("ERROR during saving file."));
    QCOMPARE(snapshot(target + QStringLiteral("/port")), port);
    // The document itself was saved before the generation started.
    QVERIFY(readFile(path).size() > 1024 * 1024);
}

void TestFaultInjection::generationKilledMidRun()
{
    const QString target = m_dir->filePath(QStringLiteral("targets"));
    QVERIFY(QDir().mkpath(target));
    const QString path = m_dir->filePath(QStringLiteral("port.xvm"));
    QVERIFY(writeFile(path, smallDocument(target)));
    m_window->load(path, false);
    {
        Dialogs dialogs(QMessageBox::Yes);
        saveAndGenerate();
        QVERIFY(dialogs.errors().isEmpty());
    }
    const auto port = snapshot(target + QStringLiteral("/port"));
    QVERIFY(!port.isEmpty());

    // A large port takes long enough to write for the kill to land while the new port
    // is being written beside the old one.
    QVERIFY(writeLargeDocument(path, target, 40));
    m_window->load(path, false);
    QCOMPARE(m_window->targetDirectory(), target);
    Dialogs dialogs(QMessageBox::Yes);
    {
        ScriptKiller killer("vmrgen.pl", [target]() {
            return !QDir(target).entryList({QStringLiteral(".port.vmrgen-*")},
                                           QDir::Dirs | QDir::Hidden)
                        .isEmpty();
        });
        saveAndGenerate();
        QVERIFY(killer.killed());
    }
    QCOMPARE(dialogs.errors().size(), 1);
    QVERIFY(!dialogs.errors().first().trimmed().isEmpty());
    QCOMPARE(status(m_window.get()), QStringLiteral("ERROR during saving file."));
    QCOMPARE(snapshot(target + QStringLiteral("/port")), port);

    // The next generation replaces the port whole.
    Dialogs again(QMessageBox::Yes);
    saveAndGenerate();
    QVERIFY2(again.errors().isEmpty(), qPrintable(again.errors().join(QLatin1Char('|'))));
    QVERIFY(QFileInfo(target + QStringLiteral("/port/firmware_0.bin")).size() > 24 * 1024 * 1024);
}

void TestFaultInjection::exportKilledMidRun()
{
    const QString path = m_dir->filePath(QStringLiteral("port.xvm"));
    QVERIFY(writeLargeDocument(path, m_dir->path(), 16));
    m_window->load(path, false);
    QVERIFY(!m_window->rootElement().isNull());
    const QString output = m_dir->filePath(QStringLiteral("port.txt"));
    QVERIFY(writeFile(output, "previous export\n"));

    // The export command asks for the output file: the old export, to be replaced.
    Dialogs dialogs(QMessageBox::Yes);
    dialogs.setFileAnswer(output);
    {
        ScriptKiller killer("vmrprint.pl");
        m_window->fileExportAs();
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->scriptRun(), 120000);
        QVERIFY(killer.killed());
    }
    QCOMPARE(dialogs.errors().size(), 1);
    QCOMPARE(status(m_window.get()), QStringLiteral("ERROR during export file."));
    // Whole or not at all: the previous export is still there as it was.
    QCOMPARE(readFile(output), QByteArray("previous export\n"));
}

void TestFaultInjection::updateKilledMidRun()
{
    // A document of the previous format: the update rewrites it in place.
    const QString path = m_dir->filePath(QStringLiteral("old.xvm"));
    QByteArray before = smallDocument(m_dir->path());
    before.replace("Version=\"V2009\"", "Version=\"V2007\"");
    QVERIFY(writeFile(path, before));

    Dialogs dialogs;
    dialogs.setButtonText(QStringLiteral("Update"));
    {
        ScriptKiller killer("-update");
        m_window->load(path, false);
        QVERIFY(killer.killed());
    }
    QVERIFY(m_window->rootElement().isNull());
    QCOMPARE(status(m_window.get()), QStringLiteral("ERROR: cannot load the file."));
    QVERIFY(dialogs.texts().contains(QStringLiteral("Error updating VMR file, cancel load")));
    QCOMPARE(dialogs.errors().size(), 1);
    QCOMPARE(readFile(path), before);
}

QTEST_MAIN(TestFaultInjection)
#include "tst_faultinjection.moc"
