// The support layer against real files: properties files, the edition of an
// installation, the built-in and installed pictures, the user's library copy and the
// help browser started with its arguments.

#include "support/qaedition.h"
#include "support/qafileutil.h"
#include "support/qahelp.h"
#include "support/qainstall.h"
#include "support/qapixmaps.h"
#include "support/qares.h"
#include "support/qauserlibrary.h"
#include "testutil.h"

#include <QFile>
#include <QImage>
#include <QSet>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Points ORBISKDIR somewhere else for one test and puts it back afterwards.
class InstallationSwitch
{
public:
    explicit InstallationSwitch(const QString &dir)
        : m_saved(qgetenv("ORBISKDIR"))
    {
        qputenv("ORBISKDIR", dir.toLocal8Bit());
        QAEdition::reload();
    }
    ~InstallationSwitch()
    {
        qputenv("ORBISKDIR", m_saved);
        QAEdition::reload();
    }

private:
    QByteArray m_saved;
};

// What a properties tree holds under a key: its value, "[group]" or "[none]".
QString lookUp(const QARes &res, const char *key, char separator = '.')
{
    const QARes *found = res.search(key, separator);
    if (!found)
        return QStringLiteral("[none]");
    if (found->toResGroup())
        return QStringLiteral("[group]");
    return found->toResString() ? found->toResString()->value() : QStringLiteral("[other]");
}

// A browser stand-in that writes each argument on its own line into a file; arguments()
// waits for that file and reads it.
struct FakeBrowser
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fake-browser"));
    const QString record = dir.filePath(QStringLiteral("args"));
    FakeBrowser()
    {
        const QByteArray r = record.toLocal8Bit();
        writeFile(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " + r
                            + ".tmp\nmv " + r + ".tmp " + r + "\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    }
    QStringList arguments()
    {
        [this]() { QTRY_VERIFY(QFileInfo::exists(record)); }();
        const QByteArray text = readFile(record);
        QFile::remove(record);
        return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

} // namespace

class TstSupport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void propertiesFiles();
    void editionFromInstallation_data();
    void editionFromInstallation();

    void builtinPicturesExist_data();
    void builtinPicturesExist();
    void findPictureIsFourColourBinoculars();
    void installedPngOverridesBuiltin();

    void userLibraryInstalledOnce();
    void userLibraryProblemsReachTheMonitor();

    void helpOpensTheEditionGuide();
    void helpPassesArgumentsWithoutShell_data();
    void helpPassesArgumentsWithoutShell();
    void helpWithoutBrowserStartsNothing();

    void forbiddenFileNameCharacters_data();
    void forbiddenFileNameCharacters();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TstSupport::initTestCase()
{
    m_home = VmrTest::privateHome();
    QVERIFY(QFileInfo(VmrTest::orbiskDir()).isDir());
}

void TstSupport::propertiesFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("web.properties"));
    writeFile(path, "# comment line\n! another comment\n"
                    "url.home = http://home.example/\n"
                    "url.support=http://support.example/a=b\n"
                    "url.deep.key=deep\n\n"
                    "single=alone\n"
                    "url.home=http://later.example/\n"
                    "broken line without equals\n=no key\n");
    const std::unique_ptr<QARes> res = QARes::read(path.toLocal8Bit().constData(), false);
    QVERIFY(res);
    const std::pair<const char *, const char *> expected[] = {
        {"url", "[group]"},
        {"url.deep", "[group]"},
        // A later line for the same key wins, as in any properties file.
        {"url.home", "http://later.example/"},
        // Only the first '=' separates key and value.
        {"url.support", "http://support.example/a=b"},
        {"url.deep.key", "deep"},
        {"single", "alone"},
        {"url.missing", "[none]"},
        {"single.below", "[none]"},
        {"broken line without equals", "[none]"},
    };
    for (const auto &[key, value] : expected)
        QCOMPARE(lookUp(*res, key), QString::fromUtf8(value));
    // Another separator walks the same tree.
    QCOMPARE(lookUp(*res, "url/home", '/'), QStringLiteral("http://later.example/"));
    QStringList names;
    for (const QARes *child : res->toResGroup()->children())
        names << child->name();
    QCOMPARE(names, (QStringList{QStringLiteral("url"), QStringLiteral("single")}));

    // Missing files and files of comments only give no tree.
    QVERIFY(!QARes::read(dir.filePath(QStringLiteral("none")).toLocal8Bit().constData()));
    writeFile(path, "# nothing here\n\n");
    QVERIFY(!QARes::read(path.toLocal8Bit().constData()));

    // A key used both as a value and as a group keeps the first meaning.
    writeFile(path, "url=plain\nurl.home=http://x.example/\n");
    const std::unique_ptr<QARes> clash = QARes::read(path.toLocal8Bit().constData());
    QVERIFY(clash);
    QCOMPARE(lookUp(*clash, "url"), QStringLiteral("plain"));
    QCOMPARE(lookUp(*clash, "url.home"), QStringLiteral("[none]"));
}

void TstSupport::editionFromInstallation_data()
{
    QTest::addColumn<QByteArray>("editionFile");
    QTest::addColumn<bool>("zephrin");
    QTest::newRow("no file") << QByteArray() << false;
    QTest::newRow("Zephrin") << QByteArray("Zephrin\n") << true;
    QTest::newRow("first word") << QByteArray("  Zephrin edition 2009\n") << true;
    QTest::newRow("lower case") << QByteArray("zephrin") << true;
    QTest::newRow("Orbisk") << QByteArray("Orbisk\n") << false;
    QTest::newRow("second word only") << QByteArray("Orbisk Zephrin\n") << false;
    QTest::newRow("longer word") << QByteArray("Zephrinx\n") << false;
}

void TstSupport::editionFromInstallation()
{
    QFETCH(QByteArray, editionFile);
    QFETCH(bool, zephrin);
    QTemporaryDir install;
    QDir().mkpath(install.filePath(QStringLiteral("lib")));
    if (!editionFile.isNull())
        writeFile(install.filePath(QStringLiteral("lib/edition")), editionFile);
    InstallationSwitch use(install.path());

    QCOMPARE(QAEdition::isZephrin(), zephrin);
    QCOMPARE(QAEdition::current(), zephrin ? QAEdition::Zephrin : QAEdition::Orbisk);
    const QStringList names = {QAEdition::applicationTitle(), QAEdition::productName(),
                               QString::fromLatin1(QAEdition::iconName()),
                               QAEdition::guideName(), QAEdition::splashImage()};
    QCOMPARE(names.join(QLatin1Char('|')),
             QString::fromLatin1(zephrin ? "Tarvex Quintar Zephrin Velmor Editor|Tarvex Quintar "
                                           "Zephrin|zphricon32x32_xpm|zphr-ug|splash_zphr.png"
                                         : "Tarvex Quintar Orbisk Velmor Editor|Tarvex Quintar "
                                           "Orbisk|orbkicon32x32_xpm|orbk-ug|splash.png"));
    QCOMPARE(QAEdition::windowIcon().availableSizes().value(0), QSize(32, 32));
}

void TstSupport::builtinPicturesExist_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QSize>("size");
    for (const char *name : {"new_xpm", "open_xpm", "save_xpm", "undo_xpm", "redo_xpm",
                             "cut_xpm", "copy_xpm", "paste_xpm", "delete_xpm", "find_xpm",
                             "contents_xpm", "htmllink_xpm", "about_xpm"})
        QTest::newRow(name) << QByteArray(name) << QSize(16, 16);
    QTest::newRow("orbkicon32x32_xpm") << QByteArray("orbkicon32x32_xpm") << QSize(32, 32);
    QTest::newRow("zphricon32x32_xpm") << QByteArray("zphricon32x32_xpm") << QSize(32, 32);
}

void TstSupport::builtinPicturesExist()
{
    QFETCH(QByteArray, name);
    QFETCH(QSize, size);
    QVERIFY(qaBuiltinXpm(name.constData()));
    // The staged installation has about.png, splash.png...: none of them may stand in
    // for an icon, so every icon comes out at its own size.
    const QPixmap pixmap = GETPIX(name.constData());
    QCOMPARE(pixmap.size(), size);
    // A picture, not a blank square: several colours and some transparency around it.
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    bool transparent = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
            transparent = transparent || qAlpha(image.pixel(x, y)) == 0;
        }
    }
    QVERIFY2(colours.size() >= 2 && transparent, name.constData());
}

void TstSupport::findPictureIsFourColourBinoculars()
{
    const char *const *xpm = qaBuiltinXpm("find_xpm");
    QVERIFY(xpm);
    QCOMPARE(QByteArray(xpm[0]), QByteArray("16 16 4 1"));
    // Transparency, grey, black and white: the binoculars.
    const QImage image = GETPIX("find_xpm").toImage().convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> used;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            used.insert(qAlpha(image.pixel(x, y)) == 0 ? 0u : image.pixel(x, y));
    }
    QCOMPARE(used, (QSet<QRgb>{0u, 0xffc5c5c5u, 0xff000000u, 0xfffefefeu}));
}

void TstSupport::installedPngOverridesBuiltin()
{
    QTemporaryDir install;
    const QString images = install.filePath(QStringLiteral("lib/images"));
    QDir().mkpath(images);
    QImage big(20, 24, QImage::Format_ARGB32);
    big.fill(Qt::red);
    QVERIFY(big.save(images + QStringLiteral("/find_xpm.png")));
    QVERIFY(big.scaled(100, 80).save(images + QStringLiteral("/about.png")));
    InstallationSwitch use(install.path());

    const QPixmap find = GETPIX("find_xpm");
    QCOMPARE(find.size(), QSize(20, 24));
    QCOMPARE(find.toImage().pixel(3, 3), QColor(Qt::red).rgb());
    // The about box's picture is not the About action's icon.
    QCOMPARE(GETPIX("about_xpm").size(), QSize(16, 16));
    // Data handed in by the caller serves when no file and no built-in picture has the name.
    static const char *const dot[] = {"2 2 1 1", "x c #00FF00", "xx", "xx"};
    QCOMPARE(GETPIX("caller_xpm", dot).size(), QSize(2, 2));
    // Unknown names give nothing.
    QVERIFY(!qaBuiltinXpm("no_such_xpm"));
    QVERIFY(!qaBuiltinXpm(nullptr));
    QVERIFY(GETPIX("no_such_xpm").isNull());
}

void TstSupport::userLibraryInstalledOnce()
{
    QTemporaryDir install;
    writeFile(install.filePath(QStringLiteral("targets/xml/templatec.xvm")), "<VMR/>\n");
    writeFile(install.filePath(QStringLiteral("targets/xml/sub/Reference.html")), "<html/>\n");
    QFile::setPermissions(install.filePath(QStringLiteral("targets/xml/templatec.xvm")),
                          QFile::ReadOwner | QFile::ReadGroup);
    InstallationSwitch use(install.path());

    const QString userTargets = QAUserLibrary::userTargetDir();
    QVERIFY(userTargets.startsWith(m_home->path()));
    QVERIFY(!QFileInfo::exists(userTargets));

    QALogMessageBox monitor(QStringLiteral("title"));
    QVERIFY(QAUserLibrary::checkAndInstall(QStringLiteral("title"), &monitor));
    QCOMPARE(monitor.messages(), QStringList());
    const QString copy = userTargets + QStringLiteral("/xml/templatec.xvm");
    QCOMPARE(readFile(copy), QByteArray("<VMR/>\n"));
    QCOMPARE(readFile(userTargets + QStringLiteral("/xml/sub/Reference.html")),
             QByteArray("<html/>\n"));
    // The user's copy is the user's to change, whatever the installation's rights were.
    QVERIFY(QFileInfo(copy).isWritable());

    // A second start keeps what the user changed.
    writeFile(copy, "<VMR changed=\"1\"/>\n");
    QVERIFY(QAUserLibrary::checkAndInstall(QStringLiteral("title"), &monitor));
    QCOMPARE(readFile(copy), QByteArray("<VMR changed=\"1\"/>\n"));

    // A copy that lost its templates is made again.
    QVERIFY(QDir(userTargets + QStringLiteral("/xml")).removeRecursively());
    QVERIFY(QAUserLibrary::checkAndInstall(QStringLiteral("title"), &monitor));
    QCOMPARE(readFile(copy), QByteArray("<VMR/>\n"));
    QVERIFY(QDir(userTargets).removeRecursively());
}

void TstSupport::userLibraryProblemsReachTheMonitor()
{
    QTemporaryDir install;
    InstallationSwitch use(install.path());
    QALogMessageBox monitor(QStringLiteral("title"));
    QVERIFY(!QAUserLibrary::checkAndInstall(QStringLiteral("title"), &monitor));
    QCOMPARE(monitor.messages().size(), 1);
    QVERIFY(monitor.messages().first().contains(install.path()));
    QVERIFY(!QFileInfo::exists(QAUserLibrary::userTargetDir() + QStringLiteral("/xml")));

    // Unless told to be quiet, the monitor shows the problem in a message box.
    QALogMessageBox::setQuiet(false);
    const QString title =
        QStringLiteral("Tarvex Quintar Orbisk Velmor Editor Install Library Files Error");
    QALogMessageBox shown(title);
    QString seen;
    VmrTest::onNextModal([&seen](QWidget *w) {
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            seen = box->windowTitle() + QLatin1Char('|') + box->text();
            box->accept();
        }
    });
    shown.log(QStringLiteral("Cannot copy a file."));
    QALogMessageBox::setQuiet(true);
    QCOMPARE(seen, title + QStringLiteral("|Cannot copy a file."));
    QCOMPARE(shown.messages(), QStringList{QStringLiteral("Cannot copy a file.")});
}

void TstSupport::helpOpensTheEditionGuide()
{
    FakeBrowser browser;
    QAHelp help;
    help.setCommand(browser.path);
    QVERIFY(help.showHelp(QString(), QStringLiteral("doc_vmreditor")));
    const QString guide = VmrTest::orbiskDir() + QStringLiteral("/doc/orbk-ug/index.html");
    QUrl expected = QUrl::fromLocalFile(QFileInfo(guide).absoluteFilePath());
    expected.setFragment(QStringLiteral("doc_vmreditor"));
    QCOMPARE(browser.arguments(), QStringList{expected.toString()});
    // The guide really has the topic's anchor.
    QVERIFY(readFile(guide).contains("name=\"doc_vmreditor\""));

    // The Zephrin installation opens its own guide.
    QTemporaryDir install;
    writeFile(install.filePath(QStringLiteral("lib/edition")), "Zephrin\n");
    writeFile(install.filePath(QStringLiteral("doc/zphr-ug/index.html")),
              readFile(VmrTest::orbiskDir() + QStringLiteral("/doc/zphr-ug/index.html")));
    InstallationSwitch use(install.path());
    QVERIFY(help.showHelp(QString(), QStringLiteral("doc_vmreditor")));
    const QStringList args = browser.arguments();
    QCOMPARE(args.size(), 1);
    QVERIFY2(args.first().endsWith(QLatin1String("/zphr-ug/index.html#doc_vmreditor")),
             qPrintable(args.first()));
}

void TstSupport::helpPassesArgumentsWithoutShell_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QStringList>("arguments");
    // Characters that a shell would act on (run in background, end the command, expand,
    // quote) reach the browser untouched, in one argument.
    const QString special = QStringLiteral("https://support.example/a*b/'c'?q=1&r=2;s=$HOME");
    QTest::newRow("shell characters") << QString() << special << QStringList{special};
    QTest::newRow("options") << QStringLiteral(" --new-window \"two words\"")
                             << QStringLiteral("https://home.example/")
                             << QStringList{QStringLiteral("--new-window"),
                                            QStringLiteral("two words"),
                                            QStringLiteral("https://home.example/")};
}

void TstSupport::helpPassesArgumentsWithoutShell()
{
    QFETCH(QString, options);
    QFETCH(QString, url);
    QFETCH(QStringList, arguments);
    QCOMPARE(QUrl(url).toString(), url);
    FakeBrowser browser;
    QAHelp help;
    help.setCommand(browser.path + options);
    QVERIFY(help.switchToBrevikWeb(QUrl(url)));
    QCOMPARE(browser.arguments(), arguments);
    QCOMPARE(help.lastLaunch().last(), url);
}

void TstSupport::helpWithoutBrowserStartsNothing()
{
    QAHelp help;
    QCOMPARE(help.getCommand(), QString());
    // An empty address opens nothing.
    QVERIFY(!help.switchToBrevikWeb(QUrl()));
    QCOMPARE(help.lastLaunch(), QStringList());

    // A browser that does not exist is reported as a failure, not as success.
    QTemporaryDir work;
    help.setCommand(work.filePath(QStringLiteral("no-such-browser")));
    QVERIFY(!help.switchToBrevikWeb(QUrl(QStringLiteral("https://home.example/"))));
    QCOMPARE(help.lastLaunch().first(), work.filePath(QStringLiteral("no-such-browser")));

    // A guide that the help directory does not have opens nothing either.
    QAHelp empty(work.path());
    QVERIFY(empty.guidePage(QStringLiteral("orbk-ug"), QString()).isEmpty());
    QVERIFY(!empty.showHelp(QString(), QStringLiteral("doc_vmreditor")));
}

void TstSupport::forbiddenFileNameCharacters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("forbidden");
    QTest::addColumn<QString>("generated");
    const auto row = [](const char *tag, const char *name, bool forbidden, const char *out) {
        QTest::newRow(tag) << QString::fromUtf8(name) << forbidden << QString::fromUtf8(out);
    };
    row("plain", "linux_gcc.xvm", false, "linux_gcc.xvm");
    row("blank", "my port.xvm", true, "my_port.xvm");
    row("all", "a/+*?~|,:\"'`b", true, "a___________b");
    row("brackets", "[x]\\y", false, "_x__y");
    row("accents", "portée.xvm", false, "portée.xvm");
}

void TstSupport::forbiddenFileNameCharacters()
{
    QFETCH(QString, name);
    QFETCH(bool, forbidden);
    QFETCH(QString, generated);
    QCOMPARE(QAFileUtil::hasForbiddenCharacter(name), forbidden);
    QCOMPARE(QAFileUtil::generateFilename(name), generated);
    QVERIFY(!QAFileUtil::hasForbiddenCharacter(QAFileUtil::generateFilename(name)));
}

QTEST_MAIN(TstSupport)
#include "tst_support.moc"
