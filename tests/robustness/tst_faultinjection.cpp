// Saving and generating when the system fails underneath: a full disk, a write refused
// part-way, a directory that cannot be written, the document replaced by a directory, a
// character that no XML file can hold, the generation killed while it writes. The user is
// told, the previous document and port stay whole, and the next attempt succeeds. And a
// save that succeeds keeps the file's group and mode, also through a symbolic link.

#include "app/mainwindowdriver.h"
#include "bench/vmrdocgen.h"
#include "document/qavmreditor.h"
#include "support/qascriptrunner.h"

#include <QBuffer>
#include <QStatusBar>

#include <grp.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

using namespace VmrDrive;

namespace {

// A tmpfs on dir (root only), or new options for the one mounted there.
bool mountTmpfs(const QString &dir, const QByteArray &options, unsigned long flags = 0)
{
    return mount("tmpfs", dir.toLocal8Bit().constData(), "tmpfs", flags, options.constData()) == 0;
}

/** Every file below dir by its relative path: a port's whole state. */
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files.insert(it.next().mid(dir.size() + 1), readFile(it.filePath()));
    return files;
}

// A small current-version port, generated into target, with the ASCII file "env.sh".
QByteArray smallDocument(const QString &target)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
           "<VMR Name=\"Robust\" type=\"CCPP\" Version=\"V2009\" read_only=\"no\" generate_in=\"" +
           target.toUtf8() +
           "\" Doc=\"VMR\"><COMMENT>Small port.</COMMENT><BUILD Label=\"Build\" Doc=\"BUILD\">"
           "<COMMENT/><NEWCMDFILE Name=\"env.sh\"><COMMENT/><VALUE>PATH=/usr/bin</VALUE>"
           "</NEWCMDFILE></BUILD></VMR>\n";
}

enum Fault {
    DiskFull,
    FileTooLarge,
    LastPieceTooLarge,
    ReadOnly,
    NewFileReadOnly,
    ReplacedByDirectory,
    InvalidCharacter
};

}  // namespace

class TestFaultInjection : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home = VmrTest::privateHome();
    std::unique_ptr<QAMainWindowEditor> m_window;

    // Save && Generate, the generation killed once it writes if asked to. Gives the texts
    // of the dialogs shown, or what went wrong with them.
    QStringList generate(bool kill)
    {
        ModalScript dialogs(QList<Handler>(kill ? 1 : 0, answer(u"OK"_s)));
        m_window->fileSave();
        const QDir target(m_window->document()->targetDirectory());
        pid_t pid = 0;
        const auto ended = [this]() { return !m_window->scriptRun(); };
        const auto writing = [&]() {
            const auto *perl = m_window->scriptRun()->findChild<QProcess *>();
            return !target.entryList({u".port.vmrgen-*"_s}, QDir::Dirs | QDir::Hidden).isEmpty() &&
                   perl && (pid = pid_t(perl->processId()));
        };
        if (kill && !(QTest::qWaitFor([&]() { return ended() || writing(); }, 120000) && pid &&
                      ::kill(pid, SIGKILL) == 0))
            QTest::qFail("the generation ended before the kill", __FILE__, __LINE__);
        if (!QTest::qWaitFor(ended, 120000)) QTest::qFail("never ended", __FILE__, __LINE__);
        const QString report = QString::fromLocal8Bit(dialogs.report());
        return report.isEmpty() ? dialogs.texts() : QStringList{report};
    }

private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }  // a write past the limit fails
    void init()
    {
        clearSettings();
        m_window = openWindow();
    }
    void cleanup() { m_window.reset(); }

    void saveFails_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");  // what the user is told besides the file name
        const QString readOnly =
            u"\n\nYou cannot save this .xvm file because the file is in read only mode."_s;
        QTest::newRow("disk full") << int(DiskFull) << u"No space left on device"_s;
        QTest::newRow("write refused part-way") << int(FileTooLarge) << u"File too large"_s;
        // Only the last piece is refused: a save that checks only the writes that fail
        // outright would keep a document cut short.
        QTest::newRow("last piece refused") << int(LastPieceTooLarge) << QString();
        // The file itself stays writable: only root's read-only mount refuses it beforehand.
        QTest::newRow("read-only directory")
            << int(ReadOnly) << (geteuid() ? u"Permission denied"_s : readOnly);
        QTest::newRow("new file, read-only directory") << int(NewFileReadOnly) << readOnly;
        QTest::newRow("document replaced by a directory") << int(ReplacedByDirectory) << QString();
        QTest::newRow("a character XML cannot hold")
            << int(InvalidCharacter)
            << u"U+000C in the text of VMR/BUILD[Label=Build]/NEWCMDFILE[Name=env.sh]/VALUE"_s;
    }

    void saveFails()
    {
        QFETCH(int, kind);
        QFETCH(QString, message);
        // Root writes through permission bits, so it gets a read-only mount instead.
        const bool root = geteuid() == 0, readOnly = kind == ReadOnly || kind == NewFileReadOnly;
        QTemporaryDir work;
        const QString dir = work.filePath(u"disk"_s), path = dir + u"/port.xvm"_s;
        const QString target = kind == NewFileReadOnly ? dir + u"/new.xvm"_s : path;
        QVERIFY(QDir().mkpath(dir));
        if ((kind == DiskFull || (readOnly && root)) &&
            !mountTmpfs(dir, kind == DiskFull ? "size=256k" : "size=4m"))
            QSKIP("cannot mount a tmpfs here; needs root");
        auto unmount = qScopeGuard([&]() { umount2(qPrintable(dir), MNT_DETACH); });
        struct rlimit unlimited = {};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        auto unlimit = qScopeGuard([&]() { setrlimit(RLIMIT_FSIZE, &unlimited); });
        const QByteArray before = smallDocument(work.path());
        QVERIFY(writeFile(path, before));
        // A megabyte more in the ASCII file "env.sh".
        m_window->document()->load(path, false);
        QDomText text =
            m_window->document()->root().elementsByTagName(u"VALUE"_s).item(0).firstChild().toText();
        text.appendData(QString(79, u'x').append(u'\n').repeated(13200));
        m_window->editor()->setModified(true);
        QBuffer whole;
        QVERIFY(whole.open(QIODevice::WriteOnly)
                && QAPortDocument::writeDocument(&whole, m_window->document()->root()));

        const auto fault = [&](bool on) {
            const rlim_t cut = rlim_t(kind == FileTooLarge ? 200 << 10 : whole.size() - 100);
            const struct rlimit limit = {on ? cut : unlimited.rlim_cur, unlimited.rlim_max};
            switch (kind) {
                case DiskFull:
                    return on || mountTmpfs(dir, "size=4m", MS_REMOUNT);
                case FileTooLarge:
                case LastPieceTooLarge:
                    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
                case ReplacedByDirectory:
                    return on ? QFile::remove(path) && QDir().mkpath(path) &&
                                    writeFile(path + u"/inside.txt"_s, "kept")
                              : QDir(path).removeRecursively();
                case InvalidCharacter:  // a form feed, as if pasted past every entry point
                    on ? text.appendData(u"\f"_s) : text.setData(text.data().remove(u'\f'));
                    return true;
            }
            if (root) return mountTmpfs(dir, {}, MS_REMOUNT | (on ? MS_RDONLY : 0));
            const QFile::Permissions readable = QFile::ReadOwner | QFile::ExeOwner;
            return QFile::setPermissions(dir, on ? readable : readable | QFile::WriteOwner);
        };
        QVERIFY(fault(true));
        ModalScript dialogs({answer(u"OK"_s)});
        QVERIFY(!m_window->document()->save(target));
        QVERIFY((kind != FileTooLarge && kind != LastPieceTooLarge) || fault(false));
        // Told once, with the file and the reason; nothing lost, nothing left beside it.
        VMR_ANSWERED(dialogs);
        QVERIFY2(
            dialogs.texts().first().contains(target) && dialogs.texts().first().contains(message),
            qPrintable(dialogs.texts().first()));
        QCOMPARE(readFile(kind == ReplacedByDirectory ? path + u"/inside.txt"_s : path),
                 kind == ReplacedByDirectory ? QByteArray("kept") : before);
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"port.xvm"_s});
        QVERIFY(m_window->editor()->isModified());
        QVERIFY(fault(false));
        QVERIFY(m_window->document()->save(target));
        QVERIFY(readFile(target).size() > 1 << 20);
    }

    void saveKeepsGroupAndMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("0640") << 0640 << false;
        QTest::newRow("0600") << 0600 << false;
        QTest::newRow("0640, through a link") << 0640 << true;
    }

    void saveKeepsGroupAndMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, throughLink);
        QTemporaryDir work;
        const QString path = work.filePath(u"port.xvm"_s), link = work.filePath(u"link.xvm"_s);
        const QByteArray before = smallDocument(work.path());
        QVERIFY(writeFile(path, before));
        // Root may give the file to any group; another user to a group of his own.
        const group *other = getgrnam("nogroup");
        const gid_t gid = geteuid() == 0 && other ? other->gr_gid : getegid();
        QVERIFY(chown(qPrintable(path), uid_t(-1), gid) == 0 &&
                chmod(qPrintable(path), mode) == 0);
        QVERIFY(!throughLink || QFile::link(path, link));
        const QString opened = throughLink ? link : path;
        m_window->document()->load(opened, false);
        m_window->document()->root()
            .firstChildElement(u"COMMENT"_s)
            .firstChild()
            .toText()
            .setData(u"Saved again."_s);
        QVERIFY(m_window->document()->save(opened));
        // The file pointed to has the new content, its group and its mode; a link stays one.
        QVERIFY(readFile(path).contains("<COMMENT>Saved again.</COMMENT>"));
        struct stat saved;
        QVERIFY(stat(qPrintable(path), &saved) == 0);
        QCOMPARE(saved.st_gid, gid);
        QCOMPARE(int(saved.st_mode & 07777), mode);
        QVERIFY(!throughLink || QFileInfo(link).symLinkTarget() == path);
    }

    void generationKilledWhileItWrites()
    {
        QTemporaryDir work;
        const QString target = work.path(), port = target + u"/port"_s;
        const QString path = work.filePath(u"port.xvm"_s);
        QVERIFY(writeFile(path, smallDocument(target)));
        m_window->document()->load(path, false);
        QCOMPARE(generate(false), QStringList());
        const auto previous = snapshot(port);
        QVERIFY(previous.contains(u"env.sh"_s));

        // A port large enough for the kill to land while it is written beside the old one.
        VmrDocGen::Scale scale;
        scale.binaryBytes = 30 << 20;
        const QByteArray in = "generate_in=\"" + target.toUtf8() + "\" read_only=";
        QVERIFY(writeFile(path, VmrDocGen::generate(scale).replace("read_only=", in)));
        m_window->document()->load(path, false);
        QVERIFY(generate(true).value(0).startsWith(u"vmrgen.pl crashed or was killed.\n"_s));
        QCOMPARE(m_window->statusBar()->currentMessage(), u"ERROR during saving file."_s);
        QCOMPARE(snapshot(port), previous);
        QCOMPARE(generate(false), QStringList());
        QVERIFY(QFileInfo(port + u"/firmware_0.bin"_s).size() > 20 << 20);
    }
};

QTEST_MAIN(TestFaultInjection)
#include "tst_faultinjection.moc"
