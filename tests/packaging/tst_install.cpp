// The installed editor: `cmake --install` into a fresh prefix whose files the checks below
// use as a user would, the copy of the installation directory, the menu entry, document
// type, icons, manual page, profile snippet and launcher, a start of the installed program
// through the menu entry's command line, DESTDIR staging, and an uninstall that leaves
// nothing behind.

#include "testutil.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString mimeType = u"application/x-velmor-port+xml"_s;

struct Run
{
    bool finished = false;
    int code = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString out, err;
    QString report() const
    {
        return u"exit %1%2\n--- stdout\n%3--- stderr\n%4"_s.arg(code)
            .arg(status == QProcess::CrashExit ? u" (crashed)"_s : QString())
            .arg(out, err);
    }
};

/** Runs a program to its end, or kills it after timeoutMs. */
Run run(const QString &program, const QStringList &args,
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
        int timeoutMs = 180000)
{
    Run r;
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    r.finished = p.waitForFinished(timeoutMs);
    if (p.error() == QProcess::FailedToStart) {
        r.err = p.errorString();
        return r;
    }
    if (!r.finished) {
        p.kill();
        p.waitForFinished(5000);
    }
    r.code = p.exitCode();
    r.status = p.exitStatus();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QString tool(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool writeText(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) >= 0;
}

/** Regular files and symbolic links under dir, relative to it. */
QStringList filesUnder(const QString &dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(dir).relativeFilePath(it.next());
    files.sort();
    return files;
}

/** The value of a key in the [Desktop Entry] group, escapes left as written. */
QString desktopValue(const QString &entry, const QString &key)
{
    const QRegularExpression line(u"^"_s + QRegularExpression::escape(key) + u"=(.*)$"_s,
                                  QRegularExpression::MultilineOption);
    return line.match(entry).captured(1);
}

/** A string value with the desktop entry escapes (\s \n \t \r \\) undone. */
QString unescapeValue(const QString &value)
{
    QString out;
    for (int i = 0; i < value.size(); ++i) {
        const int k =
            value.at(i) == u'\\' && i + 1 < value.size() ? u"sntr"_s.indexOf(value.at(++i)) : -2;
        out += k >= 0 ? u" \n\t\r"_s.at(k) : value.at(i);
    }
    return out;
}

/**
 * The command line of an Exec key as a desktop would run it on one file: words of plain
 * characters and double-quoted parts (with \" \` \$ \\ inside), reserved characters only
 * within quotes, and the field codes %f and %%. Sets error on a malformed line.
 */
QStringList execCommand(const QString &exec, const QString &file, QString *error)
{
    static const QRegularExpression word(
        u"(?:[^ \"'\\\\><~|&;$*?#()`]|\"(?:[^\"\\\\`$]|\\\\[\"`$\\\\])*\")+"_s);
    const QString line = unescapeValue(exec);
    QStringList args;
    for (qsizetype at = 0; at < line.size(); ++at) {
        if (line.at(at) == u' ') continue;
        const QRegularExpressionMatch m =
            word.match(line, at, QRegularExpression::NormalMatch,
                       QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch()) {
            *error = u"unquoted reserved character or open quote at %1 in: %2"_s.arg(at).arg(line);
            return {};
        }
        QString arg;
        bool quoted = false;
        for (qsizetype i = 0; i < m.capturedLength(); ++i) {
            const QChar c = m.captured().at(i);
            if (c == u'"')
                quoted = !quoted;
            else
                arg += quoted && c == u'\\' ? m.captured().at(++i) : c;
        }
        args << (arg == u"%f"_s ? file : arg.replace(u"%%"_s, u"%"_s));
        at = m.capturedEnd() - 1;
    }
    return args;
}

QStringList execOf(const QString &desktopFile, const QString &file)
{
    QString error;
    const QStringList command =
        execCommand(desktopValue(readText(desktopFile), u"Exec"_s), file, &error);
    if (!error.isEmpty()) qWarning("%s", qPrintable(error));
    return command;
}

QString missingDirectory(const QString &dir)
{
    return u"(vmreditor) Fatal Error: directory doesn't exist '%1'\n"_s.arg(dir);
}

/** A private, clean environment for a program run: no settings or caches of the user. */
QProcessEnvironment cleanEnvironment(const QString &home)
{
    const QString runtime = home + u"/runtime"_s;
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env;
    env.insert(u"XDG_RUNTIME_DIR"_s, runtime);
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"PATH"_s, QString::fromLocal8Bit(qgetenv("PATH")));
    env.insert(u"HOME"_s, home);
    for (const char *dir : {"config", "data", "cache"})
        env.insert(u"XDG_%1_HOME"_s.arg(QString::fromLatin1(dir).toUpper()),
                   home + u'/' + QLatin1String(dir));
    env.insert(u"LANG"_s, u"C.UTF-8"_s);
    env.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    return env;
}

}  // namespace

class TestInstall : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    QTemporaryDir m_root;
    QString m_build, m_cmake, m_prefix;

    Run install(const QString &prefix, const QString &destdir = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DESTDIR"_s);
        if (!destdir.isEmpty()) env.insert(u"DESTDIR"_s, destdir);
        return run(
            m_cmake,
            {u"--install"_s, m_build, u"--prefix"_s, prefix, u"--component"_s, u"vmreditor"_s},
            env);
    }
    QString manifest() const { return m_build + u"/install_manifest_vmreditor.txt"_s; }
    QString bin(const QString &name) const { return m_prefix + u"/bin/"_s + name; }
    QString share(const QString &path) const { return m_prefix + u"/share/"_s + path; }
    QString orbisk() const { return share(u"vmreditor/orbisk"_s); }
    QString dataDirs() const { return u"/usr/share:"_s + m_prefix + u"/share"_s; }
    /** GLib's view for a user: the installed package after the system's. */
    QProcessEnvironment gioEnvironment() const
    {
        QProcessEnvironment env = cleanEnvironment(m_home->path());
        env.insert(u"XDG_DATA_DIRS"_s, dataDirs());
        return env;
    }

private slots:
    void initTestCase()
    {
        m_home = VmrTest::privateHome();
        QVERIFY(m_root.isValid());
        m_build = QString::fromLocal8Bit(qgetenv("VMR_BUILD_DIR"));
        if (m_build.isEmpty()) m_build = QFileInfo(VmrTest::program()).absolutePath();
        QVERIFY2(QFileInfo::exists(m_build + u"/cmake_install.cmake"_s), qPrintable(m_build));
        QVERIFY2(QFileInfo(VmrTest::program()).isExecutable(), "build the program first");
        m_cmake = tool(u"cmake"_s);
        QVERIFY2(!m_cmake.isEmpty(), "cmake is not on PATH");

        // A prefix with a blank and an apostrophe: every file that names it must quote it.
        m_prefix = m_root.path() + u"/opt tools/Bob's vmr"_s;
        const Run r = install(m_prefix);
        QVERIFY2(r.finished && r.code == 0, qPrintable(r.report()));

        // The document type lookups below see the installed package after the system's, as
        // the profile snippet arranges, and nothing of the user's.
        qputenv("XDG_DATA_DIRS", dataDirs().toLocal8Bit());
    }

    void installationDirectoryIsTheStagedOne()
    {
        const QString staged = VmrTest::orbiskDir();
        QStringList expected = filesUnder(staged);
        expected.removeIf(
            [](const QString &f) { return f.endsWith(u"/.keep"_s) || f.endsWith(u'~'); });
        QVERIFY(!expected.isEmpty());
        QCOMPARE(filesUnder(orbisk()), expected);
        for (const QString &file : expected) {
            QFile a(staged + u'/' + file), b(orbisk() + u'/' + file);
            QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
            QVERIFY2(a.readAll() == b.readAll(), qPrintable(file));
        }
    }

    void desktopEntry()
    {
        const QString path = share(u"applications/vmreditor.desktop"_s);
        const QString validate = tool(u"desktop-file-validate"_s);
        if (validate.isEmpty()) QSKIP("desktop-file-validate is not installed");
        const Run r = run(validate, {path});
        QVERIFY2(r.code == 0 && r.out.trimmed().isEmpty() && r.err.trimmed().isEmpty(),
                 qPrintable(r.report()));

        // The validator checks the form; what the desktop makes of it is ours.
        const QString entry = readText(path);
        for (const QString &key : {u"Name"_s, u"Comment"_s})
            QVERIFY2(!desktopValue(entry, key).isEmpty(), qPrintable(key));
        QCOMPARE(desktopValue(entry, u"Icon"_s), u"vmreditor"_s);
        QVERIFY(desktopValue(entry, u"MimeType"_s).split(u';').contains(mimeType));
        QVERIFY(desktopValue(entry, u"Categories"_s).split(u';').contains(u"Development"_s));
        QCOMPARE(unescapeValue(desktopValue(entry, u"TryExec"_s)), bin(u"vmreditor-launch"_s));
        QCOMPARE(execOf(path, u"/x/a.xvm"_s),
                 QStringList({bin(u"vmreditor-launch"_s), u"/x/a.xvm"_s}));

        // The desktop offers the editor for the document type (through the refreshed cache).
        const QString gio = tool(u"gio"_s);
        if (gio.isEmpty()) return;
        const Run r2 = run(gio, {u"mime"_s, mimeType}, gioEnvironment());
        QVERIFY2(r2.code == 0 && r2.out.contains(u"\tvmreditor.desktop\n"_s),
                 qPrintable(r2.report()));
    }

    void mimePackage()
    {
        const QString xmllint = tool(u"xmllint"_s);
        if (xmllint.isEmpty()) QSKIP("xmllint is not installed (package libxml2-utils)");
        // The shared-mime-info package format is declared by the DTD inside the system's own
        // package; validate against it where it is there, else for well-formedness.
        QStringList args = {u"--noout"_s};
        const QString system = readText(u"/usr/share/mime/packages/freedesktop.org.xml"_s);
        const int from = system.indexOf(u"<!DOCTYPE mime-info ["_s);
        const int to = system.indexOf(u"\n]>"_s, from);
        if (from >= 0 && to > from) {
            const QString dtd = m_root.filePath(u"shared-mime-info.dtd"_s);
            const int start = system.indexOf(u'[', from) + 1;
            QVERIFY(writeText(dtd, system.mid(start, to - start)));
            args << u"--dtdvalid"_s << dtd;
        } else {
            qWarning("no shared-mime-info DTD on this system: checking well-formedness only");
        }
        const Run r = run(xmllint, args << share(u"mime/packages/vmreditor.xml"_s));
        QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.report()));

        // The install rebuilt the database of its prefix from the package.
        if (tool(u"update-mime-database"_s).isEmpty())
            QSKIP("update-mime-database is not installed (package shared-mime-info)");
        const QString db = share(u"mime/"_s);
        QVERIFY(QFileInfo::exists(db + u"mime.cache"_s));
    }

    void documentTypeDetection_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("ours");
        const QString saved =
            u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
            "<VMR Version=\"V2009\" read_only=\"no\" generate_in=\"/tmp\"/>\n"_s;
        QTest::newRow("saved document") << "linux.xvm" << saved << true;
        QTest::newRow("extension decides") << "draft.xvm" << u"not yet a document\n"_s << true;
        QTest::newRow("saved, without extension") << "linux_port" << saved << true;
        QTest::newRow("no document type")
            << "older_port" << u"<?xml version=\"1.0\"?>\n<VMR Version=\"V2005\">\n</VMR>\n"_s
            << true;
        QTest::newRow("other root")
            << "vmrlike.xml" << u"<?xml version=\"1.0\"?>\n<VMRX a=\"1\"/>\n"_s << false;
        QTest::newRow("plain XML")
            << "notes.xml" << u"<?xml version=\"1.0\"?>\n<notes/>\n"_s << false;
    }

    // Qt's detection, and GLib's, which file managers use; both read the installed database.
    void documentTypeDetection()
    {
        QFETCH(QString, name);
        QFETCH(QString, content);
        QFETCH(bool, ours);
        const QString path = m_root.filePath(u"detect/"_s + name);
        QVERIFY(writeText(path, content));
        const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
        QCOMPARE(type.name() == mimeType, ours);
        if (ours) QVERIFY(type.inherits(u"application/xml"_s));
        const QString gio = tool(u"gio"_s);
        if (gio.isEmpty()) return;
        const Run r =
            run(gio, {u"info"_s, u"-a"_s, u"standard::content-type"_s, path}, gioEnvironment());
        QVERIFY2(r.code == 0, qPrintable(r.report()));
        QCOMPARE(r.out.contains(u"standard::content-type: "_s + mimeType + u'\n'), ours);
    }

    void icons_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("size");
        for (const char *icon : {"apps/vmreditor", "mimetypes/application-x-velmor-port+xml"}) {
            for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
                QTest::addRow("%s %d", icon, size)
                    << u"icons/hicolor/%1x%1/%2.png"_s.arg(size).arg(QLatin1String(icon)) << size;
            QTest::addRow("%s scalable", icon)
                << u"icons/hicolor/scalable/%1.svg"_s.arg(QLatin1String(icon)) << 128;
        }
    }

    void icons()
    {
        QFETCH(QString, path);
        QFETCH(int, size);
        QImageReader reader(share(path));
        if (path.endsWith(u".svg"_s)) {
            if (!QImageReader::supportedImageFormats().contains("svg"))
                QSKIP("no SVG image plugin to render the scalable icons");
            reader.setScaledSize(QSize(size, size));
        }
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), QSize(size, size));
        // A real icon: see-through corners, an opaque drawing in the middle, several colours.
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
        const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> colours;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) colours.insert(opaque.pixel(x, y));
        QVERIFY(colours.size() > 3);
    }

    void manualPage()
    {
        // Rendered as the reader gets it, with groff's warnings on, also through the
        // launcher's page, which points here.
        const QString man = tool(u"man"_s);
        if (man.isEmpty() || tool(u"groff"_s).isEmpty()) QSKIP("man or groff is not installed");
        QProcessEnvironment env = cleanEnvironment(m_home->path());
        env.insert(u"MANWIDTH"_s, u"100"_s);
        env.insert(u"MAN_KEEP_FORMATTING"_s, QString());
        for (const QString &name : {u"vmreditor"_s, u"vmreditor-launch"_s}) {
            Run r = run(
                man, {u"--warnings"_s, u"-M"_s, share(u"man"_s), u"-E"_s, u"UTF-8"_s, name}, env);
            QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.report()));
            const QString text = r.out.remove(QRegularExpression(u".\b"_s));
            for (const char *line : {"NAME", "SYNOPSIS", "DESCRIPTION", "ENVIRONMENT", "FILES",
                                     "EXIT STATUS", "EXAMPLES", "\\s+vmreditor \\[file\\]"})
                QVERIFY2(text.contains(QRegularExpression(u"^%1$"_s.arg(QLatin1String(line)),
                                                          QRegularExpression::MultilineOption)),
                         line);
            QVERIFY(text.contains(u"ORBISKDIR"_s));
        }

        // Every file of the installation that the page names is really installed there.
        const QRegularExpression named(u"^\\.I PREFIX/(\\S+)$"_s,
                                       QRegularExpression::MultilineOption);
        int count = 0;
        for (const QRegularExpressionMatch &m :
             named.globalMatch(readText(share(u"man/man1/vmreditor.1"_s)))) {
            const QString path = m.captured(1).remove(u'\\');
            QVERIFY2(QFileInfo::exists(m_prefix + u'/' + path), qPrintable(path));
            ++count;
        }
        QVERIFY(count >= 5);
    }

    void profileSnippet_data()
    {
        QTest::addColumn<QString>("shell");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("dataDirs");
        QTest::addColumn<QString>("expectedPath");
        QTest::addColumn<QString>("expectedDataDirs");
        const QString bin = m_prefix + u"/bin"_s, data = m_prefix + u"/share"_s;
        for (const char *shell : {"sh", "dash", "bash"}) {
            const QString s = QLatin1String(shell);
            if (tool(s).isEmpty()) continue;
            QTest::addRow("%s, plain session", shell)
                << s << u"/usr/bin:/bin"_s << QString() << u"/usr/bin:/bin:"_s + bin
                << u"/usr/local/share:/usr/share:"_s + data;
            QTest::addRow("%s, already reachable", shell)
                << s << bin + u"/:/usr/bin:/bin"_s << u"/usr/share:"_s + data
                << bin + u"/:/usr/bin:/bin"_s << u"/usr/share:"_s + data;
        }
    }

    void profileSnippet()
    {
        QFETCH(QString, shell);
        QFETCH(QString, path);
        QFETCH(QString, dataDirs);
        QFETCH(QString, expectedPath);
        QFETCH(QString, expectedDataDirs);
        QProcessEnvironment env;
        env.insert(u"PATH"_s, path);
        if (!dataDirs.isEmpty()) env.insert(u"XDG_DATA_DIRS"_s, dataDirs);
        // Read twice, as nested login shells do, under `set -u` as strict profiles run.
        const Run r = run(tool(shell),
                          {u"-u"_s, u"-c"_s,
                           u". \"$1\"; . \"$1\"; printf '%s\\n' \"$ORBISKDIR\" \"$PATH\" "
                           "\"$XDG_DATA_DIRS\""_s,
                           u"sh"_s, m_prefix + u"/etc/profile.d/vmreditor.sh"_s},
                          env);
        QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.report()));
        QCOMPARE(r.out.split(u'\n').mid(0, 3),
                 QStringList({orbisk(), expectedPath, expectedDataDirs}));
    }

    void launcher()
    {
        QProcessEnvironment env = cleanEnvironment(m_home->path());
        const QString launch = bin(u"vmreditor-launch"_s);

        // The arguments reach the program unchanged: two of them are a usage error.
        Run r = run(launch, {u"a b"_s, u"c"_s}, env);
        QVERIFY2(r.finished && r.status == QProcess::NormalExit && r.code == 1,
                 qPrintable(r.report()));
        QCOMPARE(r.err, u"Usage: %1 [file]\n"_s.arg(bin(u"vmreditor"_s)));

        // It names its own installation whatever the environment says, also when it is
        // reached through a link; a missing locale directory shows which one it named.
        const QString locale = orbisk() + u"/lib/locale"_s;
        QVERIFY(QDir().rename(locale, locale + u".away"_s));
        auto restore = qScopeGuard([&] { QDir().rename(locale + u".away"_s, locale); });
        env.insert(u"ORBISKDIR"_s, m_root.filePath(u"elsewhere"_s));
        const QString link = m_root.filePath(u"links/vmr"_s);
        QVERIFY(QDir().mkpath(QFileInfo(link).absolutePath()) && QFile::link(launch, link));
        for (const QString &launcher : {launch, link}) {
            r = run(launcher, {}, env);
            QVERIFY2(r.finished && r.code == 1, qPrintable(r.report()));
            QCOMPARE(r.err, missingDirectory(locale));
        }
        restore.dismiss();
        QVERIFY(QDir().rename(locale + u".away"_s, locale));

        // A launcher separated from its installation says so instead of starting a program.
        const QString lone = m_root.filePath(u"lone/vmreditor-launch"_s);
        QVERIFY(QDir().mkpath(QFileInfo(lone).absolutePath()) && QFile::copy(launch, lone));
        r = run(lone, {}, env);
        QVERIFY2(r.finished && r.code == 1, qPrintable(r.report()));
        QVERIFY2(r.err.startsWith(u"vmreditor-launch: the installation directory"_s),
                 qPrintable(r.err));
    }

    void filesNameTheFinalPrefix_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("profile");
        const QString own = u"/etc/profile.d/vmreditor.sh"_s;
        // A system installation keeps its profile where login shells read it.
        QTest::newRow("system") << u"/usr"_s << u"/etc/profile.d/vmreditor.sh"_s;
        QTest::newRow("plain") << u"/usr/local"_s << u"/usr/local"_s + own;
        for (const char *odd : {"/opt/Port Tools", "/opt/Ann's \"ports\"",
                                "/opt/$HOME `x` (a b) & c|d *?", "/opt/100% ports"})
            QTest::newRow(odd) << QString::fromUtf8(odd) << QString::fromUtf8(odd) + own;
    }

    // The files that name the prefix are written by the install step alone, run here
    // against a staging directory for prefixes a shell or a desktop would misread.
    void filesNameTheFinalPrefix()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, profile);
        QTemporaryDir stage;
        QVERIFY(stage.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DESTDIR"_s, stage.path());
        const QString packaging = VmrTest::sourceDir() + u"/packaging"_s;
        Run r = run(m_cmake,
                    {u"-DCMAKE_INSTALL_PREFIX="_s + prefix, u"-DVMR_PACKAGING_DIR="_s + packaging,
                     u"-DVMR_GENERATED_DIR="_s + stage.filePath(u"gen"_s), u"-DVMR_BINDIR=bin"_s,
                     u"-DVMR_DATADIR=share"_s, u"-DVMR_SYSCONFDIR=etc"_s,
                     u"-DVMR_ORBISKDIR=share/vmreditor/orbisk"_s, u"-P"_s,
                     packaging + u"/install-generated.cmake"_s},
                    env);
        QVERIFY2(r.code == 0, qPrintable(r.report()));
        const QString root = stage.path() + prefix;

        const QString entry = root + u"/share/applications/vmreditor.desktop"_s;
        if (const QString validate = tool(u"desktop-file-validate"_s); !validate.isEmpty()) {
            r = run(validate, {entry});
            QVERIFY2(r.code == 0 && r.out.isEmpty(), qPrintable(r.report()));
        }
        QCOMPARE(execOf(entry, u"f"_s),
                 QStringList({prefix + u"/bin/vmreditor-launch"_s, u"f"_s}));
        // Caches are the packaging system's business.
        QVERIFY(!QFileInfo::exists(root + u"/share/applications/mimeinfo.cache"_s));

        r = run(u"/bin/sh"_s, {u"-c"_s, u". \"$1\"; printf '%s' \"$ORBISKDIR\""_s, u"sh"_s,
                               stage.path() + profile});
        QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.report()));
        QCOMPARE(r.out, prefix + u"/share/vmreditor/orbisk"_s);
        QCOMPARE(QFileInfo::exists(root + u"/etc"_s), !profile.startsWith(u"/etc/"_s));
    }

    void destdirStaging()
    {
        // A package build: prefix /usr, files staged, no caches, and the staged tree works
        // where it lies: the launcher finds its directory relatively.
        QTemporaryDir stage;
        QVERIFY(stage.isValid());
        const Run r = install(u"/usr"_s, stage.path());
        QVERIFY2(r.finished && r.code == 0, qPrintable(r.report()));
        const QString usr = stage.path() + u"/usr"_s;
        QVERIFY(QFileInfo(usr + u"/bin/vmreditor"_s).isExecutable());
        QVERIFY(!QFileInfo::exists(usr + u"/share/mime/mime.cache"_s));
        QVERIFY(!QFileInfo::exists(usr + u"/share/applications/mimeinfo.cache"_s));
        const QString locale = usr + u"/share/vmreditor/orbisk/lib/locale"_s;
        QVERIFY(QFileInfo(locale).isDir() && QDir(locale).removeRecursively());
        const Run started =
            run(usr + u"/bin/vmreditor-launch"_s, {}, cleanEnvironment(m_home->path()));
        QCOMPARE(started.err, missingDirectory(locale));
    }

    void startsFromTheMenuEntry()
    {
        const QString document = orbisk() + u"/targets/examples/linux_gcc.xvm"_s;
        QVERIFY(QFileInfo::exists(document));
        const QStringList command = execOf(share(u"applications/vmreditor.desktop"_s), document);
        QCOMPARE(command.size(), 2);

        QTemporaryDir home;
        QVERIFY(home.isValid());
        QProcessEnvironment env = cleanEnvironment(home.path());
        env.insert(u"VMREDITOR_AUTOQUIT_MS"_s, u"1500"_s);
        env.insert(u"ORBISKDIR"_s, u"/nonexistent"_s);
        const Run r = run(command.first(), command.mid(1), env, 120000);
        QVERIFY2(r.finished,
                 qPrintable(u"the editor did not close its window by itself\n"_s + r.err));
        QVERIFY2(r.status == QProcess::NormalExit && r.code == 0, qPrintable(r.report()));
        // The offscreen platform's notes about window hints are not errors of ours.
        QStringList problems = r.err.split(u'\n', Qt::SkipEmptyParts);
        problems.removeIf(
            [](const QString &line) { return line.contains(u"propagateSizeHints"_s); });
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));

        // The user's files land where the manual page says.
        const QString userData = home.path() + u"/data/Quintar Software/vmreditor/targets/xml"_s;
        QVERIFY2(QFileInfo(userData).isDir(), qPrintable(userData));
    }

    void uninstallLeavesNothing_data()
    {
        QTest::addColumn<bool>("shared");
        QTest::newRow("prefix of its own") << false;
        QTest::newRow("prefix shared with others") << true;
    }

    void uninstallLeavesNothing()
    {
        QFETCH(bool, shared);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString prefix = root.path() + u"/pre fix"_s, data = prefix + u"/share"_s;
        QStringList others;
        if (shared) {
            // Another program's document type and menu entry, and a theme with an icon cache.
            QVERIFY(writeText(data + u"/mime/packages/other.xml"_s,
                              u"<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop"
                              ".org/standards/shared-mime-info\">\n<mime-type type=\"application/"
                              "x-other-test\"><comment>Other</comment><glob pattern=\"*.othertest"
                              "\"/></mime-type>\n</mime-info>\n"_s));
            QVERIFY(writeText(data + u"/applications/other.desktop"_s,
                              u"[Desktop Entry]\nType=Application\nName=Other\nExec=true %f\n"
                              "MimeType=application/x-other-test;\n"_s));
            QVERIFY(writeText(data + u"/icons/hicolor/index.theme"_s,
                              u"[Icon Theme]\nName=Hicolor\nComment=Fallback\nDirectories=48x48/"
                              "apps\n\n[48x48/apps]\nSize=48\nContext=Applications\nType="
                              "Threshold\n"_s));
            QVERIFY(QDir().mkpath(data + u"/icons/hicolor/48x48/apps"_s));
            QVERIFY(QFile::copy(share(u"icons/hicolor/48x48/apps/vmreditor.png"_s),
                                data + u"/icons/hicolor/48x48/apps/other.png"_s));
            others = filesUnder(prefix);
            if (const QString iconCache = tool(u"gtk-update-icon-cache"_s); !iconCache.isEmpty())
                QCOMPARE(run(iconCache, {u"-q"_s, data + u"/icons/hicolor"_s}).code, 0);
        }

        Run r = install(prefix);
        QVERIFY2(r.code == 0, qPrintable(r.report()));
        const QStringList installed = readText(manifest()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(installed.contains(prefix + u"/bin/vmreditor"_s));
        if (shared) {
            const QString globs = readText(data + u"/mime/globs2"_s);
            QVERIFY(globs.contains(u"*.othertest"_s) && globs.contains(u"*.xvm"_s));
            QVERIFY(readText(data + u"/applications/mimeinfo.cache"_s).contains(mimeType));
            const QString iconCache = data + u"/icons/hicolor/icon-theme.cache"_s;
            if (QFileInfo::exists(iconCache))
                QVERIFY(readText(iconCache).contains(u"vmreditor"_s));
        }

        r = run(m_cmake, {u"-DVMR_MANIFEST="_s + manifest(), u"-P"_s,
                          VmrTest::sourceDir() + u"/packaging/uninstall.cmake"_s});
        QVERIFY2(r.code == 0, qPrintable(r.report()));
        for (const QString &file : installed) QVERIFY2(!QFileInfo::exists(file), qPrintable(file));
        QVERIFY(!QFileInfo::exists(data + u"/vmreditor"_s));

        // No cache still offers the type, the menu entry or the icons; the others' files stay.
        const QStringList left = filesUnder(prefix);
        if (!shared) QVERIFY2(left.isEmpty(), qPrintable(left.join(u'\n')));
        for (const QString &file : others) QVERIFY2(left.contains(file), qPrintable(file));
        for (const QString &file : left) {
            QFile f(prefix + u'/' + file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray content = f.readAll();
            QVERIFY2(!content.contains("velmor") && !content.contains("vmreditor"),
                     qPrintable(file));
        }
        if (shared) QVERIFY(readText(data + u"/mime/globs2"_s).contains(u"*.othertest"_s));
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
