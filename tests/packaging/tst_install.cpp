// The installed editor as a desktop and a shell use it, staged with DESTDIR for prefixes a
// shell would misread, and an uninstall that leaves nothing of the editor behind.

#include "app/mainwindowdriver.h"

using namespace Qt::StringLiterals;
using VmrDrive::readFile, VmrDrive::writeFile;
using VmrTest::Run, VmrTest::run;

namespace {

constexpr auto kMimeType = "application/x-velmor-port+xml"_L1;

// Files and links under dir, relative to it, sorted.
QStringList filesUnder(const QString &dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(dir).relativeFilePath(it.next());
    files.sort();
    return files;
}

// The command a desktop runs for a menu entry's Exec key on one file: string escapes
// undone, then words, plain or in double quotes; %f is the file, %% a percent sign.
QStringList execOf(const QString &entryPath, const QString &file)
{
    const QString exec = QRegularExpression(u"^Exec=(.*)$"_s, QRegularExpression::MultilineOption)
                             .match(QString::fromUtf8(readFile(entryPath)))
                             .captured(1);
    QString line;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const qsizetype k = exec[i] == u'\\' ? u"sntr\\"_s.indexOf(exec.mid(i + 1, 1)) : -1;
        line += k >= 0 ? u" \n\t\r\\"_s.at(k) : exec[i];
        i += k >= 0;
    }
    QStringList args;
    static const QRegularExpression word(u"\"((?:[^\"\\\\]|\\\\.)*)\"|([^ \"]+)"_s);
    for (const auto &m : word.globalMatch(line)) {
        const QString arg = m.captured(2).isEmpty()
                                ? m.captured(1).replace(QRegularExpression(u"\\\\(.)"_s), u"\\1"_s)
                                : m.captured(2);
        args << (arg == u"%f"_s ? file : QString(arg).replace(u"%%"_s, u"%"_s));
    }
    return args;
}

}  // namespace

class TestInstall : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home = VmrTest::privateHome();
    QTemporaryDir m_root, m_runtime;
    QString m_build = qEnvironmentVariable("VMR_BUILD_DIR");
    // A blank and an apostrophe: every file that names the prefix must quote it.
    QString m_prefix = m_root.path() + u"/opt tools/Bob's vmr"_s;

    static QString tool(const QString &name) { return QStandardPaths::findExecutable(name); }
    QString share(const QString &path) const { return m_prefix + u"/share/"_s + path; }
    QString orbisk() const { return share(u"vmreditor/orbisk"_s); }
    Run install(const QString &prefix, const QString &destdir = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DESTDIR"_s, destdir);
        return run(
            tool(u"cmake"_s),
            {u"--install"_s, m_build, u"--prefix"_s, prefix, u"--component"_s, u"vmreditor"_s},
            env);
    }
    // A menu entry as desktop-file-validate sees it, and the command it runs on a file.
    void checkEntry(const QString &entryPath, const QString &launcher)
    {
        if (const QString validate = tool(u"desktop-file-validate"_s); !validate.isEmpty()) {
            const Run r = run(validate, {entryPath});
            QVERIFY2(r.code == 0 && QString(r.out + r.err).trimmed().isEmpty(),
                     qPrintable(r.report()));
        }
        QCOMPARE(execOf(entryPath, u"/x/a b.xvm"_s), QStringList({launcher, u"/x/a b.xvm"_s}));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(VmrTest::program()).isExecutable(), "build the program first");
        const Run r = install(m_prefix);
        QVERIFY2(r.code == 0, qPrintable(r.report()));
        // A user's session: the installed package after the system's, as the profile snippet
        // arranges, and a runtime directory of its own.
        qputenv("XDG_DATA_DIRS", QString(u"/usr/share:"_s + m_prefix + u"/share"_s).toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    }

    void installedAndStarted()
    {
        // The installation directory is the staged one, byte for byte.
        const QString staged = VmrTest::orbiskDir();
        QStringList expected = filesUnder(staged);
        expected.removeIf([](const QString &f) { return f.endsWith(u"/.keep"_s); });
        QCOMPARE(filesUnder(orbisk()), expected);
        for (const QString &file : std::as_const(expected))
            QVERIFY2(readFile(staged + u'/' + file) == readFile(orbisk() + u'/' + file),
                     qPrintable(file));
        // The menu entry runs the launcher, and the desktop offers it for the document type.
        checkEntry(share(u"applications/vmreditor.desktop"_s),
                   m_prefix + u"/bin/vmreditor-launch"_s);
        // Software centres find the editor, and their validator has nothing to say.
        const QString metainfo = share(u"metainfo/com.quintarsoftware.vmreditor.metainfo.xml"_s);
        QVERIFY(QFileInfo::exists(metainfo));
        if (const QString validate = tool(u"appstreamcli"_s); !validate.isEmpty()) {
            const Run r = run(validate, {u"validate"_s, u"--no-net"_s, u"--pedantic"_s, metainfo});
            QVERIFY2(r.code == 0 && !r.out.contains(u"I: "_s), qPrintable(r.report()));
        }
        if (const QString gio = tool(u"gio"_s); !gio.isEmpty()) {
            const Run r = run(gio, {u"mime"_s, kMimeType});
            QVERIFY2(r.out.contains(u"\tvmreditor.desktop\n"_s), qPrintable(r.report()));
        }
        // A saved document is known by its root element, whatever its name; another is not.
        const QString path = m_root.filePath(u"port"_s);
        for (const auto &[root, ours] : {std::pair("VMR"_L1, true), {"VMRX"_L1, false}}) {
            QVERIFY(writeFile(path, "<?xml version=\"1.0\"?>\n<" + QByteArray(root.latin1()) +
                                        " Version=\"V2009\"/>\n"));
            QCOMPARE(QMimeDatabase().mimeTypeForFile(path).name() == kMimeType, ours);
        }
        // The installed editor starts from the menu entry and closes cleanly.
        const QString document = orbisk() + u"/targets/examples/linux_gcc.xvm"_s;
        const QStringList command = execOf(share(u"applications/vmreditor.desktop"_s), document);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"VMREDITOR_AUTOQUIT_MS"_s, u"1500"_s);
        env.insert(u"ORBISKDIR"_s, u"/nonexistent"_s);
        const Run r = run(command.value(0), command.mid(1), env);
        // The offscreen platform's notes about window hints are not errors of ours.
        QStringList problems = r.err.split(u'\n', Qt::SkipEmptyParts);
        problems.removeIf([](const QString &l) { return l.contains(u"propagateSizeHints"_s); });
        QVERIFY2(r.code == 0 && problems.isEmpty(), qPrintable(r.report()));
        // The user's files land where the manual page says.
        QVERIFY(
            QFileInfo(m_home->path() + u"/data/Quintar Software/vmreditor/targets/xml"_s).isDir());
    }

    void stagedForAPackage_data()
    {
        QTest::addColumn<QString>("prefix");
        for (const char *prefix : {"/usr", "/usr/local", "/opt/$HOME `x` (a b) & c|d *? 100% \"'"})
            QTest::newRow(prefix) << QString::fromUtf8(prefix);
    }

    // DESTDIR installs the same files naming the final prefix, leaves the caches to the
    // system, and the staged tree works where it lies.
    void stagedForAPackage()
    {
        QFETCH(QString, prefix);
        QTemporaryDir stage;
        Run r = install(prefix, stage.path());
        QVERIFY2(r.code == 0, qPrintable(r.report()));
        const QString root = stage.path() + prefix;
        checkEntry(root + u"/share/applications/vmreditor.desktop"_s,
                   prefix + u"/bin/vmreditor-launch"_s);
        QVERIFY(!QFileInfo::exists(root + u"/share/mime/mime.cache"_s));
        QVERIFY(!QFileInfo::exists(root + u"/share/applications/mimeinfo.cache"_s));

        // A system installation keeps its profile where login shells read it. Read twice, as
        // nested login shells do, under `set -u` as strict profiles run, it makes commands
        // and menu entries of an unusual prefix reachable, once.
        const bool usual = prefix.startsWith(u"/usr"_s), system = prefix == u"/usr"_s;
        QCOMPARE(QFileInfo::exists(root + u"/etc"_s), !system);
        QProcessEnvironment env;
        env.insert(u"PATH"_s, u"/usr/local/bin:/usr/bin:/bin"_s);
        const QString profile = (system ? QString() : prefix) + u"/etc/profile.d/vmreditor.sh"_s;
        r = run(u"/bin/sh"_s,
                {u"-u"_s, u"-c"_s,
                 u". \"$1\"; . \"$1\"; printf '%s\\n' \"$ORBISKDIR\" \"$PATH\" "
                 "\"${XDG_DATA_DIRS-}\""_s,
                 u"sh"_s, stage.path() + profile},
                env);
        QCOMPARE(r.out, u"%1/share/vmreditor/orbisk\n/usr/local/bin:/usr/bin:/bin%2\n%3\n"_s.arg(
                            prefix, usual ? QString() : u":"_s + prefix + u"/bin"_s,
                            usual ? QString()
                                  : u"/usr/local/share:/usr/share:"_s + prefix + u"/share"_s));
        // The launcher, even reached through a link, hands its arguments over unchanged (two
        // are a usage error) and names its own installation: a missing locale directory shows
        // which. Without the installation it says so instead of starting the program.
        const QString link = stage.filePath(u"vmr"_s), own = root + u"/share/vmreditor"_s;
        QVERIFY(QFile::link(root + u"/bin/vmreditor-launch"_s, link));
        r = run(link, {u"a b"_s, u"c"_s});
        QVERIFY2(r.code == 1 && r.err == u"Usage: %1/bin/vmreditor [file]\n"_s.arg(root),
                 qPrintable(r.report()));
        QVERIFY(QDir(own + u"/orbisk/lib/locale"_s).removeRecursively());
        QCOMPARE(run(link, {}).err,
                 u"(vmreditor) Fatal Error: directory doesn't exist "
                 "'%1/orbisk/lib/locale'\n"_s.arg(own));
        QVERIFY(QDir(own).removeRecursively());
        QVERIFY(run(link, {}).err.startsWith(u"vmreditor-launch: the installation directory "_s));
    }

    void uninstallLeavesNothing()
    {
        QTemporaryDir root;
        const QString prefix = root.path() + u"/pre fix"_s, data = prefix + u"/share"_s;
        // A prefix shared with another program's document type, menu entry and icon theme.
        QVERIFY(writeFile(data + u"/mime/packages/other.xml"_s,
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-"
                          "mime-info\"><mime-type type=\"application/x-other\"><glob "
                          "pattern=\"*.othertest\"/></mime-type></mime-info>"));
        QVERIFY(writeFile(data + u"/applications/other.desktop"_s,
                          "[Desktop Entry]\nType=Application\nName=Other\nExec=true %f\n"
                          "MimeType=application/x-other;\n"));
        QVERIFY(writeFile(data + u"/icons/hicolor/index.theme"_s,
                          "[Icon Theme]\nName=Hicolor\nComment=C\nDirectories=48x48/apps\n"
                          "[48x48/apps]\nSize=48\n"));
        const QStringList others = filesUnder(prefix);
        Run r = install(prefix);
        QVERIFY2(r.code == 0, qPrintable(r.report()));
        const QString manifest = m_build + u"/install_manifest_vmreditor.txt"_s;
        const QStringList installed =
            QString::fromUtf8(readFile(manifest)).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(installed.contains(prefix + u"/bin/vmreditor"_s));
        QVERIFY(readFile(data + u"/mime/globs2"_s).contains("*.xvm"));

        r = run(tool(u"cmake"_s), {u"-DVMR_MANIFEST="_s + manifest, u"-P"_s,
                                   VmrTest::sourceDir() + u"/packaging/uninstall.cmake"_s});
        QVERIFY2(r.code == 0, qPrintable(r.report()));
        for (const QString &file : installed) QVERIFY2(!QFileInfo::exists(file), qPrintable(file));
        QVERIFY(!QFileInfo::exists(data + u"/vmreditor"_s));
        // No cache still offers the type, the menu entry or the icons; the others' stay.
        const QStringList left = filesUnder(prefix);
        for (const QString &file : others) QVERIFY2(left.contains(file), qPrintable(file));
        for (const QString &file : left) {
            const QByteArray content = readFile(prefix + u'/' + file);
            QVERIFY2(!content.contains("velmor") && !content.contains("vmreditor"),
                     qPrintable(file));
        }
        QVERIFY(readFile(data + u"/mime/globs2"_s).contains("*.othertest"));
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
