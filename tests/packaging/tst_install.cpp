// The installed editor: `cmake --install` into a fresh prefix, the layout and the copy of
// the installation directory, the menu entry, document type, icons, manual page, profile
// snippet and launcher, a start of the installed program through the menu entry's command
// line, DESTDIR staging, and an uninstall that leaves nothing behind.

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
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

const QString mimeType = QStringLiteral("application/x-velmor-port+xml");
const QString component = QStringLiteral("vmreditor");

struct Run
{
    bool finished = false;
    int code = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString out;
    QString err;
    QString report() const
    {
        return QStringLiteral("exit %1%2\n--- stdout\n%3--- stderr\n%4")
            .arg(code)
            .arg(status == QProcess::CrashExit ? QStringLiteral(" (crashed)") : QString())
            .arg(out, err);
    }
};

Run run(const QString &program, const QStringList &args,
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
        int timeoutMs = 180000)
{
    Run r;
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        r.err = p.errorString();
        return r;
    }
    r.finished = p.waitForFinished(timeoutMs);
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
    const QRegularExpression line(
        QStringLiteral("^") + QRegularExpression::escape(key) + QStringLiteral("=(.*)$"),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = line.match(entry);
    return m.hasMatch() ? m.captured(1) : QString();
}

/** A string value with the desktop entry escapes (\s \n \t \r \\) undone. */
QString unescapeValue(const QString &value)
{
    QString out;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar n = value.at(++i);
        if (n == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (n == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (n == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (n == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            out += n;
    }
    return out;
}

/**
 * The command line of an Exec key as a desktop would run it on one file: quoting,
 * escapes inside quotes, and the field codes %f and %%. Sets error on a malformed line.
 */
QStringList execCommand(const QString &exec, const QString &file, QString *error)
{
    const QString line = unescapeValue(exec);
    const QString reserved = QStringLiteral("\"'\\><~|&;$*?#()`");
    QStringList args;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                quoted = false;
            } else if (c == QLatin1Char('\\') && i + 1 < line.size() &&
                       QStringLiteral("\"`$\\").contains(line.at(i + 1))) {
                word += line.at(++i);
            } else {
                word += c;
            }
        } else if (c == QLatin1Char(' ')) {
            if (inWord) args << word;
            word.clear();
            inWord = false;
        } else if (c == QLatin1Char('"')) {
            quoted = inWord = true;
        } else if (reserved.contains(c)) {
            *error = QStringLiteral("unquoted reserved character '%1' in: %2").arg(c).arg(line);
            return {};
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) {
        *error = QStringLiteral("unterminated quote in: ") + line;
        return {};
    }
    if (inWord) args << word;
    for (QString &arg : args) {
        if (arg == QLatin1String("%f"))
            arg = file;
        else
            arg.replace(QLatin1String("%%"), QLatin1String("%"));
    }
    return args;
}

/** A private, clean environment for a program run: no settings or caches of the user. */
QProcessEnvironment cleanEnvironment(const QString &home)
{
    const QString runtime = home + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PATH"), QString::fromLocal8Bit(qgetenv("PATH")));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return env;
}

}  // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layout_data();
    void layout();
    void installationDirectoryIsTheStagedOne();
    void desktopEntry();
    void mimePackage();
    void documentTypeDetection_data();
    void documentTypeDetection();
    void icons_data();
    void icons();
    void manualPage();
    void profileSnippet_data();
    void profileSnippet();
    void launcher();
    void oddPrefixesAreQuoted_data();
    void oddPrefixesAreQuoted();
    void destdirStaging();
    void startsFromTheMenuEntry();
    void uninstallLeavesNothing_data();
    void uninstallLeavesNothing();

private:
    Run install(const QString &prefix, const QString &destdir = QString());
    QString manifest() const
    {
        return m_build + QStringLiteral("/install_manifest_") + component + QStringLiteral(".txt");
    }
    QString bin(const QString &name) const { return m_prefix + QStringLiteral("/bin/") + name; }
    QString share(const QString &path) const
    {
        return m_prefix + QStringLiteral("/share/") + path;
    }
    QString orbisk() const { return share(QStringLiteral("vmreditor/orbisk")); }
    QString dataDirs() const
    {
        return QStringLiteral("/usr/share:") + m_prefix + QStringLiteral("/share");
    }

    std::unique_ptr<QTemporaryDir> m_home;
    QTemporaryDir m_root;
    QString m_build;
    QString m_cmake;
    QString m_prefix;
};

Run TestInstall::install(const QString &prefix, const QString &destdir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (destdir.isEmpty())
        env.remove(QStringLiteral("DESTDIR"));
    else
        env.insert(QStringLiteral("DESTDIR"), destdir);
    return run(m_cmake,
               {QStringLiteral("--install"), m_build, QStringLiteral("--prefix"), prefix,
                QStringLiteral("--component"), component},
               env);
}

void TestInstall::initTestCase()
{
    m_home = VmrTest::privateHome();
    QVERIFY(m_root.isValid());
    m_build = QString::fromLocal8Bit(qgetenv("VMR_BUILD_DIR"));
    if (m_build.isEmpty()) m_build = QFileInfo(VmrTest::program()).absolutePath();
    QVERIFY2(QFileInfo::exists(m_build + QStringLiteral("/cmake_install.cmake")),
             qPrintable(QStringLiteral("no configured build in ") + m_build));
    QVERIFY2(QFileInfo(VmrTest::program()).isExecutable(), "build the program first");
    m_cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
    QVERIFY2(!m_cmake.isEmpty(), "cmake is not on PATH");

    // A prefix with a blank and an apostrophe: every file that names it must quote it.
    m_prefix = m_root.path() + QStringLiteral("/opt tools/Bob's vmr");
    const Run r = install(m_prefix);
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.report()));

    // The document type lookups below see the installed package after the system's, as
    // the profile snippet arranges, and nothing of the user's.
    qputenv("XDG_DATA_DIRS", dataDirs().toLocal8Bit());
}

void TestInstall::layout_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("executable");
    QTest::newRow("program") << "bin/vmreditor" << true;
    QTest::newRow("launcher") << "bin/vmreditor-launch" << true;
    QTest::newRow("profile") << "etc/profile.d/vmreditor.sh" << false;
    QTest::newRow("menu entry") << "share/applications/vmreditor.desktop" << false;
    QTest::newRow("mime package") << "share/mime/packages/vmreditor.xml" << false;
    QTest::newRow("manual") << "share/man/man1/vmreditor.1" << false;
    QTest::newRow("launcher manual") << "share/man/man1/vmreditor-launch.1" << false;
    QTest::newRow("scalable icon") << "share/icons/hicolor/scalable/apps/vmreditor.svg" << false;
    QTest::newRow("scalable document icon")
        << "share/icons/hicolor/scalable/mimetypes/application-x-velmor-port+xml.svg" << false;
    for (const char *dir : {"lib/locale", "lib/scripts", "lib/images", "doc", "targets"})
        QTest::newRow(dir) << QStringLiteral("share/vmreditor/orbisk/") + QLatin1String(dir)
                           << false;
}

void TestInstall::layout()
{
    QFETCH(QString, path);
    QFETCH(bool, executable);
    const QFileInfo info(m_prefix + QLatin1Char('/') + path);
    QVERIFY2(info.exists(), qPrintable(info.filePath()));
    QCOMPARE(info.isExecutable(), executable || info.isDir());
    // Everything of ours is in the manifest, so that it can be removed again.
    if (info.isFile())
        QVERIFY2(readText(manifest()).split(QLatin1Char('\n')).contains(info.filePath()),
                 qPrintable(info.filePath()));
}

void TestInstall::installationDirectoryIsTheStagedOne()
{
    const QString staged = VmrTest::orbiskDir();
    QStringList expected = filesUnder(staged);
    expected.erase(std::remove_if(expected.begin(), expected.end(),
                                  [](const QString &f) {
                                      return f.endsWith(QLatin1String("/.keep")) ||
                                             f.endsWith(QLatin1Char('~'));
                                  }),
                   expected.end());
    QVERIFY(!expected.isEmpty());
    QCOMPARE(filesUnder(orbisk()), expected);
    for (const QString &file : expected) {
        QFile a(staged + QLatin1Char('/') + file);
        QFile b(orbisk() + QLatin1Char('/') + file);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(file));
    }
}

void TestInstall::desktopEntry()
{
    const QString path = share(QStringLiteral("applications/vmreditor.desktop"));
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (tool.isEmpty())
        QSKIP("desktop-file-validate is not installed (package desktop-file-utils)");
    const Run r = run(tool, {path});
    QVERIFY2(r.code == 0 && r.out.trimmed().isEmpty() && r.err.trimmed().isEmpty(),
             qPrintable(r.report()));

    const QString entry = readText(path);
    QCOMPARE(desktopValue(entry, QStringLiteral("Type")), QStringLiteral("Application"));
    QVERIFY(!desktopValue(entry, QStringLiteral("Name")).isEmpty());
    QVERIFY(!desktopValue(entry, QStringLiteral("Comment")).isEmpty());
    QCOMPARE(desktopValue(entry, QStringLiteral("Icon")), QStringLiteral("vmreditor"));
    QVERIFY(desktopValue(entry, QStringLiteral("MimeType"))
                .split(QLatin1Char(';'))
                .contains(mimeType));
    QVERIFY(desktopValue(entry, QStringLiteral("Categories"))
                .split(QLatin1Char(';'))
                .contains(QStringLiteral("Development")));
    QCOMPARE(unescapeValue(desktopValue(entry, QStringLiteral("TryExec"))),
             bin(QStringLiteral("vmreditor-launch")));

    QString error;
    const QStringList command = execCommand(desktopValue(entry, QStringLiteral("Exec")),
                                            QStringLiteral("/x/a.xvm"), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(command,
             QStringList({bin(QStringLiteral("vmreditor-launch")), QStringLiteral("/x/a.xvm")}));

    // The desktop offers the editor for the document type (through the refreshed cache).
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty()) return;
    QProcessEnvironment env = cleanEnvironment(m_home->path());
    env.insert(QStringLiteral("XDG_DATA_DIRS"), dataDirs());
    const Run r2 = run(gio, {QStringLiteral("mime"), mimeType}, env);
    QVERIFY2(r2.code == 0 && r2.out.contains(QStringLiteral("\tvmreditor.desktop\n")),
             qPrintable(r2.report()));
}

void TestInstall::mimePackage()
{
    const QString package = share(QStringLiteral("mime/packages/vmreditor.xml"));
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty()) QSKIP("xmllint is not installed (package libxml2-utils)");

    // The shared-mime-info package format is declared by the DTD inside the system's own
    // package; validate against it where it is there, else for well-formedness.
    QStringList args = {QStringLiteral("--noout")};
    const QString system =
        readText(QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml"));
    const int from = system.indexOf(QLatin1String("<!DOCTYPE mime-info ["));
    const int to = system.indexOf(QLatin1String("\n]>"), from);
    if (from >= 0 && to > from) {
        const QString dtd = m_root.filePath(QStringLiteral("shared-mime-info.dtd"));
        const int start = system.indexOf(QLatin1Char('['), from) + 1;
        QVERIFY(writeText(dtd, system.mid(start, to - start)));
        args << QStringLiteral("--dtdvalid") << dtd;
    } else {
        qWarning("no shared-mime-info DTD on this system: checking well-formedness only");
    }
    const Run r = run(xmllint, args << package);
    QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.report()));

    // The install rebuilt the database of its prefix from the package.
    const QString db = share(QStringLiteral("mime/"));
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        QSKIP("update-mime-database is not installed (package shared-mime-info)");
    QVERIFY(QFileInfo::exists(db + QStringLiteral("mime.cache")));
    QVERIFY(readText(db + QStringLiteral("globs2")).contains(mimeType + QStringLiteral(":*.xvm")));
    QVERIFY(readText(db + QStringLiteral("subclasses"))
                .contains(mimeType + QStringLiteral(" application/xml")));
    QVERIFY(readText(db + QStringLiteral("XMLnamespaces"))
                .contains(QStringLiteral(" VMR ") + mimeType));
}

void TestInstall::documentTypeDetection_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("ours");
    const QString saved = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
        "<VMR Version=\"V2009\" read_only=\"no\" generate_in=\"/tmp\"/>\n");
    QTest::newRow("saved document") << "linux.xvm" << saved << true;
    QTest::newRow("extension decides")
        << "draft.xvm" << QStringLiteral("not yet a document\n") << true;
    QTest::newRow("saved, without extension") << "linux_port" << saved << true;
    QTest::newRow("no document type")
        << "older_port"
        << "<?xml version=\"1.0\"?>\n<VMR Version=\"V2005\">\n</VMR>\n"
        << true;
    QTest::newRow("other root") << "vmrlike.xml"
                                << "<?xml version=\"1.0\"?>\n<VMRX a=\"1\"/>\n"
                                << false;
    QTest::newRow("plain XML") << "notes.xml"
                               << "<?xml version=\"1.0\"?>\n<notes/>\n"
                               << false;
}

void TestInstall::documentTypeDetection()
{
    QFETCH(QString, name);
    QFETCH(QString, content);
    QFETCH(bool, ours);
    const QString path = m_root.filePath(QStringLiteral("detect/") + name);
    QVERIFY(writeText(path, content));

    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    QCOMPARE(type.name() == mimeType, ours);
    if (ours) QVERIFY(type.inherits(QStringLiteral("application/xml")));

    // GLib's detection is what file managers use; it reads the same database.
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty()) return;
    QProcessEnvironment env = cleanEnvironment(m_home->path());
    env.insert(QStringLiteral("XDG_DATA_DIRS"), dataDirs());
    const Run r = run(gio,
                      {QStringLiteral("info"), QStringLiteral("-a"),
                       QStringLiteral("standard::content-type"), path},
                      env);
    QVERIFY2(r.code == 0, qPrintable(r.report()));
    QCOMPARE(
        r.out.contains(QStringLiteral("standard::content-type: ") + mimeType + QLatin1Char('\n')),
        ours);
}

void TestInstall::icons_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("icons/hicolor/%1x%1/").arg(size);
        QTest::addRow("application %d", size)
            << dir + QStringLiteral("apps/vmreditor.png") << size;
        QTest::addRow("document %d", size)
            << dir + QStringLiteral("mimetypes/application-x-velmor-port+xml.png") << size;
    }
    QTest::newRow("application scalable") << "icons/hicolor/scalable/apps/vmreditor.svg" << 128;
    QTest::newRow("document scalable")
        << "icons/hicolor/scalable/mimetypes/application-x-velmor-port+xml.svg" << 128;
}

void TestInstall::icons()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    QImageReader reader(share(path));
    if (path.endsWith(QLatin1String(".svg"))) {
        if (!QImageReader::supportedImageFormats().contains("svg"))
            QSKIP("no SVG image plugin to render the scalable icons");
        reader.setScaledSize(QSize(size, size));
    }
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(size, size));
    // A real icon: see-through corners, an opaque drawing in the middle.
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) colours.insert(opaque.pixel(x, y));
    QVERIFY(colours.size() > 3);
}

void TestInstall::manualPage()
{
    const QString page = share(QStringLiteral("man/man1/vmreditor.1"));
    const QString groff = QStandardPaths::findExecutable(QStringLiteral("groff"));
    if (groff.isEmpty()) QSKIP("groff is not installed");
    Run r = run(groff, {QStringLiteral("-man"), QStringLiteral("-Tutf8"), QStringLiteral("-ww"),
                        QStringLiteral("-z"), page});
    QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.report()));

    // Rendered as the reader gets it, also through the launcher's page, which points here.
    const QString man = QStandardPaths::findExecutable(QStringLiteral("man"));
    if (man.isEmpty()) QSKIP("man is not installed");
    QProcessEnvironment env = cleanEnvironment(m_home->path());
    env.insert(QStringLiteral("MANWIDTH"), QStringLiteral("100"));
    env.insert(QStringLiteral("MAN_KEEP_FORMATTING"), QString());
    for (const QString &name : {QStringLiteral("vmreditor"), QStringLiteral("vmreditor-launch")}) {
        r = run(man,
                {QStringLiteral("--warnings"), QStringLiteral("-M"), share(QStringLiteral("man")),
                 QStringLiteral("-E"), QStringLiteral("UTF-8"), name},
                env);
        QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.report()));
        const QString text = r.out.remove(QRegularExpression(QStringLiteral(".\b")));
        for (const char *section : {"NAME", "SYNOPSIS", "DESCRIPTION", "ENVIRONMENT", "FILES",
                                    "EXIT STATUS", "EXAMPLES"})
            QVERIFY2(text.contains(QRegularExpression(
                         QStringLiteral("^") + QLatin1String(section) + QStringLiteral("$"),
                         QRegularExpression::MultilineOption)),
                     section);
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("^\\s+vmreditor \\[file\\]$"),
                                                 QRegularExpression::MultilineOption)));
        QVERIFY(text.contains(QStringLiteral("ORBISKDIR")));
    }

    // Every file of the installation that the page names is really installed there.
    const QRegularExpression named(QStringLiteral("^\\.I PREFIX/(\\S+)$"),
                                   QRegularExpression::MultilineOption);
    int count = 0;
    for (const QRegularExpressionMatch &m : named.globalMatch(readText(page))) {
        const QString path = m.captured(1).remove(QLatin1Char('\\'));
        QVERIFY2(QFileInfo::exists(m_prefix + QLatin1Char('/') + path), qPrintable(path));
        ++count;
    }
    QVERIFY(count >= 5);
}

void TestInstall::profileSnippet_data()
{
    QTest::addColumn<QString>("shell");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("dataDirs");
    QTest::addColumn<QString>("expectedPath");
    QTest::addColumn<QString>("expectedDataDirs");
    const QString bin = m_prefix + QStringLiteral("/bin");
    const QString data = m_prefix + QStringLiteral("/share");
    for (const char *shell : {"sh", "dash", "bash"}) {
        const QString s = QLatin1String(shell);
        if (QStandardPaths::findExecutable(s).isEmpty()) continue;
        QTest::addRow("%s, plain session", shell)
            << s << QStringLiteral("/usr/bin:/bin") << QString()
            << QStringLiteral("/usr/bin:/bin:") + bin
            << QStringLiteral("/usr/local/share:/usr/share:") + data;
        QTest::addRow("%s, already reachable", shell)
            << s << bin + QStringLiteral("/:/usr/bin:/bin") << QStringLiteral("/usr/share:") + data
            << bin + QStringLiteral("/:/usr/bin:/bin") << QStringLiteral("/usr/share:") + data;
    }
}

void TestInstall::profileSnippet()
{
    QFETCH(QString, shell);
    QFETCH(QString, path);
    QFETCH(QString, dataDirs);
    QFETCH(QString, expectedPath);
    QFETCH(QString, expectedDataDirs);
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), path);
    if (!dataDirs.isEmpty()) env.insert(QStringLiteral("XDG_DATA_DIRS"), dataDirs);
    // Read twice, as nested login shells do, under `set -u` as strict profiles run.
    const Run r =
        run(QStandardPaths::findExecutable(shell),
            {QStringLiteral("-u"), QStringLiteral("-c"),
             QStringLiteral(". \"$1\"; . \"$1\"; printf '%s\\n' \"$ORBISKDIR\" "
                            "\"$PATH\" \"$XDG_DATA_DIRS\""),
             QStringLiteral("sh"), m_prefix + QStringLiteral("/etc/profile.d/vmreditor.sh")},
            env);
    QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.report()));
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), orbisk());
    QCOMPARE(lines.value(1), expectedPath);
    QCOMPARE(lines.value(2), expectedDataDirs);
}

void TestInstall::launcher()
{
    QProcessEnvironment env = cleanEnvironment(m_home->path());

    // The arguments reach the program unchanged: two of them are a usage error.
    Run r = run(bin(QStringLiteral("vmreditor-launch")),
                {QStringLiteral("a b"), QStringLiteral("c")}, env);
    QVERIFY2(r.finished && r.status == QProcess::NormalExit && r.code == 1,
             qPrintable(r.report()));
    QCOMPARE(r.err, QStringLiteral("Usage: %1 [file]\n").arg(bin(QStringLiteral("vmreditor"))));

    // It names its own installation whatever the environment says, also when it is
    // reached through a link; a missing locale directory shows which one it named.
    const QString locale = orbisk() + QStringLiteral("/lib/locale");
    QVERIFY(QDir().rename(locale, locale + QStringLiteral(".away")));
    auto restore = qScopeGuard([&] { QDir().rename(locale + QStringLiteral(".away"), locale); });
    env.insert(QStringLiteral("ORBISKDIR"), m_root.filePath(QStringLiteral("elsewhere")));
    const QString link = m_root.filePath(QStringLiteral("links/vmr"));
    QVERIFY(QDir().mkpath(QFileInfo(link).absolutePath()));
    QVERIFY(QFile::link(bin(QStringLiteral("vmreditor-launch")), link));
    for (const QString &launcher : {bin(QStringLiteral("vmreditor-launch")), link}) {
        r = run(launcher, {}, env);
        QVERIFY2(r.finished && r.code == 1, qPrintable(r.report()));
        QCOMPARE(
            r.err,
            QStringLiteral("(vmreditor) Fatal Error: directory doesn't exist '%1'\n").arg(locale));
    }
    restore.dismiss();
    QVERIFY(QDir().rename(locale + QStringLiteral(".away"), locale));

    // A launcher separated from its installation says so instead of starting a program.
    const QString lone = m_root.filePath(QStringLiteral("lone/vmreditor-launch"));
    QVERIFY(QDir().mkpath(QFileInfo(lone).absolutePath()));
    QVERIFY(QFile::copy(bin(QStringLiteral("vmreditor-launch")), lone));
    r = run(lone, {}, env);
    QVERIFY2(r.finished && r.code == 1, qPrintable(r.report()));
    QVERIFY2(r.err.startsWith(QStringLiteral("vmreditor-launch: the installation directory")),
             qPrintable(r.err));
}

void TestInstall::oddPrefixesAreQuoted_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::newRow("blank") << "/opt/Port Tools";
    QTest::newRow("quotes") << "/opt/Ann's \"ports\"";
    QTest::newRow("shell characters") << "/opt/$HOME `x` (a b) & c|d *?";
    QTest::newRow("percent") << "/opt/100% ports";
    QTest::newRow("plain") << "/usr/local";
}

// The files that name the prefix are written by the install step alone, run here
// against a staging directory for prefixes a shell or a desktop would misread.
void TestInstall::oddPrefixesAreQuoted()
{
    QFETCH(QString, prefix);
    QTemporaryDir stage;
    QVERIFY(stage.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DESTDIR"), stage.path());
    const QString packaging = VmrTest::sourceDir() + QStringLiteral("/packaging");
    Run r = run(m_cmake,
                {QStringLiteral("-DCMAKE_INSTALL_PREFIX=") + prefix,
                 QStringLiteral("-DVMR_PACKAGING_DIR=") + packaging,
                 QStringLiteral("-DVMR_GENERATED_DIR=") + stage.filePath(QStringLiteral("gen")),
                 QStringLiteral("-DVMR_BINDIR=bin"), QStringLiteral("-DVMR_DATADIR=share"),
                 QStringLiteral("-DVMR_SYSCONFDIR=etc"),
                 QStringLiteral("-DVMR_ORBISKDIR=share/vmreditor/orbisk"), QStringLiteral("-P"),
                 packaging + QStringLiteral("/install-generated.cmake")},
                env);
    QVERIFY2(r.code == 0, qPrintable(r.report()));
    const QString root = stage.path() + prefix;

    const QString entry = root + QStringLiteral("/share/applications/vmreditor.desktop");
    const QString validate =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validate.isEmpty()) {
        r = run(validate, {entry});
        QVERIFY2(r.code == 0 && r.out.isEmpty(), qPrintable(r.report()));
    }
    QString error;
    const QStringList command = execCommand(desktopValue(readText(entry), QStringLiteral("Exec")),
                                            QStringLiteral("f"), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(command,
             QStringList({prefix + QStringLiteral("/bin/vmreditor-launch"), QStringLiteral("f")}));

    r = run(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral(". \"$1\"; printf '%s' \"$ORBISKDIR\""),
             QStringLiteral("sh"), root + QStringLiteral("/etc/profile.d/vmreditor.sh")});
    QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(r.report()));
    QCOMPARE(r.out, prefix + QStringLiteral("/share/vmreditor/orbisk"));
}

void TestInstall::destdirStaging()
{
    // A package build: prefix /usr, files staged, nothing touched outside the stage.
    QTemporaryDir stage;
    QVERIFY(stage.isValid());
    const Run r = install(QStringLiteral("/usr"), stage.path());
    QVERIFY2(r.finished && r.code == 0, qPrintable(r.report()));
    const QString usr = stage.path() + QStringLiteral("/usr");
    QVERIFY(QFileInfo(usr + QStringLiteral("/bin/vmreditor")).isExecutable());
    QVERIFY(QFileInfo(usr + QStringLiteral("/share/vmreditor/orbisk/lib/locale")).isDir());
    // The system's profile directory, naming the final location.
    const QString profile = readText(stage.path() + QStringLiteral("/etc/profile.d/vmreditor.sh"));
    QVERIFY(profile.contains(QStringLiteral("ORBISKDIR='/usr/share/vmreditor/orbisk'\n")));
    QVERIFY(!QFileInfo::exists(usr + QStringLiteral("/etc")));
    const QString entry = readText(usr + QStringLiteral("/share/applications/vmreditor.desktop"));
    QCOMPARE(desktopValue(entry, QStringLiteral("Exec")),
             QStringLiteral("/usr/bin/vmreditor-launch %f"));
    // Caches are the packaging system's business.
    QVERIFY(!QFileInfo::exists(usr + QStringLiteral("/share/mime/mime.cache")));
    QVERIFY(!QFileInfo::exists(usr + QStringLiteral("/share/applications/mimeinfo.cache")));

    // The staged tree works where it lies: the launcher finds its directory relatively.
    const QString locale = usr + QStringLiteral("/share/vmreditor/orbisk/lib/locale");
    QVERIFY(QDir(locale).removeRecursively());
    const Run started =
        run(usr + QStringLiteral("/bin/vmreditor-launch"), {}, cleanEnvironment(m_home->path()));
    QCOMPARE(
        started.err,
        QStringLiteral("(vmreditor) Fatal Error: directory doesn't exist '%1'\n").arg(locale));
}

void TestInstall::startsFromTheMenuEntry()
{
    QString document = orbisk() + QStringLiteral("/targets/examples/linux_gcc.xvm");
    if (!QFileInfo::exists(document))
        document = orbisk() + QStringLiteral("/targets/xml/templatec.xvm");
    if (!QFileInfo::exists(document)) {
        document = m_root.filePath(QStringLiteral("smoke/port.xvm"));
        QVERIFY(writeText(
            document,
            QStringLiteral(
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
                "<VMR Version=\"V2009\" read_only=\"no\" Name=\"smoke\" type=\"CCPP\"/>\n")));
    }
    QString error;
    const QStringList command =
        execCommand(desktopValue(readText(share(QStringLiteral("applications/vmreditor.desktop"))),
                                 QStringLiteral("Exec")),
                    document, &error);
    QVERIFY2(command.size() == 2, qPrintable(error));

    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcessEnvironment env = cleanEnvironment(home.path());
    env.insert(QStringLiteral("VMREDITOR_AUTOQUIT_MS"), QStringLiteral("1500"));
    env.insert(QStringLiteral("ORBISKDIR"), QStringLiteral("/nonexistent"));

    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.start(command.first(), command.mid(1));
    QVERIFY2(editor.waitForStarted(10000), qPrintable(editor.errorString()));
    const bool quitItself = editor.waitForFinished(120000);
    if (!quitItself) {
        editor.terminate();
        if (!editor.waitForFinished(10000)) editor.kill();
        editor.waitForFinished(5000);
    }
    const QString err = QString::fromLocal8Bit(editor.readAllStandardError());
    QVERIFY2(quitItself,
             qPrintable(QStringLiteral("the editor did not close its window by itself\n") + err));
    QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
    QVERIFY2(editor.exitCode() == 0, qPrintable(err));

    // The offscreen platform's notes about window hints are not errors of ours.
    QStringList problems;
    for (const QString &line : err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.contains(QLatin1String("propagateSizeHints"))) problems << line;
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));

    // The user's files land where the manual page says.
    const QString userData =
        home.path() + QStringLiteral("/data/Quintar Software/vmreditor/targets/xml");
    QVERIFY2(QFileInfo(userData).isDir(), qPrintable(userData));
}

void TestInstall::uninstallLeavesNothing_data()
{
    QTest::addColumn<bool>("shared");
    QTest::newRow("prefix of its own") << false;
    QTest::newRow("prefix shared with others") << true;
}

void TestInstall::uninstallLeavesNothing()
{
    QFETCH(bool, shared);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString prefix = root.path() + QStringLiteral("/pre fix");
    const QString data = prefix + QStringLiteral("/share");
    QStringList others;
    if (shared) {
        // Another program's document type and menu entry, and a theme with an icon cache.
        QVERIFY(writeText(
            data + QStringLiteral("/mime/packages/other.xml"),
            QStringLiteral(
                "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/"
                "shared-mime-info\">\n<mime-type type=\"application/x-other-test\">"
                "<comment>Other</comment><glob "
                "pattern=\"*.othertest\"/></mime-type>\n</mime-info>\n")));
        QVERIFY(writeText(
            data + QStringLiteral("/applications/other.desktop"),
            QStringLiteral("[Desktop Entry]\nType=Application\nName=Other\nExec=true %f\n"
                           "MimeType=application/x-other-test;\n")));
        QVERIFY(writeText(
            data + QStringLiteral("/icons/hicolor/index.theme"),
            QStringLiteral(
                "[Icon Theme]\nName=Hicolor\nComment=Fallback\nDirectories=48x48/apps\n\n"
                "[48x48/apps]\nSize=48\nContext=Applications\nType=Threshold\n")));
        QVERIFY(QDir().mkpath(data + QStringLiteral("/icons/hicolor/48x48/apps")));
        QVERIFY(QFile::copy(share(QStringLiteral("icons/hicolor/48x48/apps/vmreditor.png")),
                            data + QStringLiteral("/icons/hicolor/48x48/apps/other.png")));
        others = filesUnder(prefix);
        const QString iconCache =
            QStandardPaths::findExecutable(QStringLiteral("gtk-update-icon-cache"));
        if (!iconCache.isEmpty())
            QCOMPARE(
                run(iconCache, {QStringLiteral("-q"), data + QStringLiteral("/icons/hicolor")})
                    .code,
                0);
    }

    Run r = install(prefix);
    QVERIFY2(r.code == 0, qPrintable(r.report()));
    const QStringList installed =
        readText(manifest()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(installed.contains(prefix + QStringLiteral("/bin/vmreditor")));
    if (shared) {
        const QString globs = readText(data + QStringLiteral("/mime/globs2"));
        QVERIFY(globs.contains(QStringLiteral("*.othertest")) &&
                globs.contains(QStringLiteral("*.xvm")));
        QVERIFY(
            readText(data + QStringLiteral("/applications/mimeinfo.cache")).contains(mimeType));
        if (QFileInfo::exists(data + QStringLiteral("/icons/hicolor/icon-theme.cache")))
            QVERIFY(readText(data + QStringLiteral("/icons/hicolor/icon-theme.cache"))
                        .contains(QLatin1String("vmreditor")));
    }

    r = run(m_cmake, {QStringLiteral("-DVMR_MANIFEST=") + manifest(), QStringLiteral("-P"),
                      VmrTest::sourceDir() + QStringLiteral("/packaging/uninstall.cmake")});
    QVERIFY2(r.code == 0, qPrintable(r.report()));
    for (const QString &file : installed) QVERIFY2(!QFileInfo::exists(file), qPrintable(file));
    QVERIFY(!QFileInfo::exists(data + QStringLiteral("/vmreditor")));

    // No cache still offers the type, the menu entry or the icons.
    const QStringList left = filesUnder(prefix);
    for (const QString &file : left) {
        QFile f(prefix + QLatin1Char('/') + file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray content = f.readAll();
        QVERIFY2(!content.contains("velmor") && !content.contains("vmreditor"), qPrintable(file));
    }
    if (!shared) {
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
    } else {
        for (const QString &file : others) QVERIFY2(left.contains(file), qPrintable(file));
        QVERIFY(readText(data + QStringLiteral("/mime/globs2"))
                    .contains(QStringLiteral("*.othertest")));
    }
}

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
