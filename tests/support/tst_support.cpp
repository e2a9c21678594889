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
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
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

// A browser stand-in: writes each argument on its own line into a file.
QString fakeBrowser(const QString &dir, const QString &record)
{
    const QString path = dir + QStringLiteral("/fake-browser");
    writeFile(path, QByteArray("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > ")
                        + record.toLocal8Bit() + QByteArray(".tmp\nmv ")
                        + record.toLocal8Bit() + QByteArray(".tmp ") + record.toLocal8Bit()
                        + QByteArray("\n"));
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

QStringList recordedArguments(const QString &record)
{
    const QString text = QString::fromUtf8(readFile(record));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class TstSupport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void propertiesFileBecomesTree();
    void propertiesFileFailures();

    void editionFromInstallation_data();
    void editionFromInstallation();

    void builtinPicturesExist_data();
    void builtinPicturesExist();
    void findPictureIsFourColourBinoculars();
    void installedPngOverridesBuiltin();
    void unknownPictureIsNull();

    void userLibraryInstalledOnce();
    void userLibraryProblemsReachTheMonitor();
    void logMessageBoxShowsTheProblem();

    void helpOpensTheEditionGuide();
    void helpOpensWebPagesWithoutShell();
    void helpCommandWithOptions();
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

void TstSupport::propertiesFileBecomesTree()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("web.properties"));
    writeFile(path, "# comment line\n"
                    "! another comment\n"
                    "url.home = http://home.example/\n"
                    "url.support=http://support.example/a=b\n"
                    "url.deep.key=deep\n"
                    "\n"
                    "single=alone\n"
                    "url.home=http://later.example/\n"
                    "broken line without equals\n"
                    "=no key\n");
    const std::unique_ptr<QARes> res = QARes::read(path.toLocal8Bit().constData(), false);
    QVERIFY(res);

    const QARes *url = res->search("url", '.');
    QVERIFY(url);
    QVERIFY(url->toResGroup());
    QVERIFY(!url->toResString());

    const QARes *home = res->search("url.home", '.');
    QVERIFY(home && home->toResString());
    // A later line for the same key wins, as in any properties file.
    QCOMPARE(home->toResString()->value(), QStringLiteral("http://later.example/"));
    // Only the first '=' separates key and value.
    QCOMPARE(res->search("url.support", '.')->toResString()->value(),
             QStringLiteral("http://support.example/a=b"));
    QCOMPARE(res->search("url.deep.key", '.')->toResString()->value(), QStringLiteral("deep"));
    QVERIFY(res->search("url.deep", '.')->toResGroup());
    QCOMPARE(res->search("single", '.')->toResString()->value(), QStringLiteral("alone"));
    // Another separator walks the same tree.
    QCOMPARE(res->search("url/home", '/')->toResString()->value(),
             QStringLiteral("http://later.example/"));

    QVERIFY(!res->search("url.missing", '.'));
    QVERIFY(!res->search("single.below", '.'));
    QVERIFY(!res->search("broken line without equals", '.'));
    const QStringList names = [&res]() {
        QStringList list;
        for (const QARes *child : res->toResGroup()->children())
            list << child->name();
        return list;
    }();
    QCOMPARE(names, (QStringList{QStringLiteral("url"), QStringLiteral("single")}));
}

void TstSupport::propertiesFileFailures()
{
    QTemporaryDir dir;
    QVERIFY(!QARes::read(
        dir.filePath(QStringLiteral("missing.properties")).toLocal8Bit().constData()));

    const QString onlyComments = dir.filePath(QStringLiteral("comments.properties"));
    writeFile(onlyComments, "# nothing here\n\n");
    QVERIFY(!QARes::read(onlyComments.toLocal8Bit().constData()));

    // A key used both as a value and as a group keeps the first meaning.
    const QString clash = dir.filePath(QStringLiteral("clash.properties"));
    writeFile(clash, "url=plain\nurl.home=http://x.example/\n");
    const std::unique_ptr<QARes> res = QARes::read(clash.toLocal8Bit().constData());
    QVERIFY(res);
    QCOMPARE(res->search("url", '.')->toResString()->value(), QStringLiteral("plain"));
    QVERIFY(!res->search("url.home", '.'));
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
    QCOMPARE(QAEdition::applicationTitle(),
             zephrin ? QStringLiteral("Tarvex Quintar Zephrin Velmor Editor")
                     : QStringLiteral("Tarvex Quintar Orbisk Velmor Editor"));
    QCOMPARE(QAEdition::productName(), zephrin ? QStringLiteral("Tarvex Quintar Zephrin")
                                               : QStringLiteral("Tarvex Quintar Orbisk"));
    QCOMPARE(QLatin1String(QAEdition::iconName()),
             zephrin ? QLatin1String("zphricon32x32_xpm") : QLatin1String("orbkicon32x32_xpm"));
    QCOMPARE(QAEdition::guideName(),
             zephrin ? QStringLiteral("zphr-ug") : QStringLiteral("orbk-ug"));
    QCOMPARE(QAEdition::splashImage(),
             zephrin ? QStringLiteral("splash_zphr.png") : QStringLiteral("splash.png"));
    const QIcon icon = QAEdition::windowIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.availableSizes().value(0), QSize(32, 32));
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
    QVERIFY(!pixmap.isNull());
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
    QVERIFY2(colours.size() >= 2, name.constData());
    QVERIFY2(transparent, name.constData());
}

void TstSupport::findPictureIsFourColourBinoculars()
{
    const char *const *xpm = qaBuiltinXpm("find_xpm");
    QVERIFY(xpm);
    QCOMPARE(QByteArray(xpm[0]), QByteArray("16 16 4 1"));
    QSet<QByteArray> colours;
    for (int i = 1; i <= 4; ++i) {
        const QByteArray line(xpm[i]);
        colours.insert(line.mid(line.indexOf(" c ") + 3).toUpper());
    }
    QCOMPARE(colours, (QSet<QByteArray>{"NONE", "#C5C5C5", "#000000", "#FEFEFE"}));

    const QImage image = GETPIX("find_xpm").toImage().convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> used;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            used.insert(qAlpha(image.pixel(x, y)) == 0 ? 0u : image.pixel(x, y));
    }
    QCOMPARE(used.size(), 4);
}

void TstSupport::installedPngOverridesBuiltin()
{
    QTemporaryDir install;
    const QString images = install.filePath(QStringLiteral("lib/images"));
    QDir().mkpath(images);
    QImage big(20, 24, QImage::Format_ARGB32);
    big.fill(Qt::red);
    QVERIFY(big.save(images + QStringLiteral("/find_xpm.png")));
    QImage picture(100, 80, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(images + QStringLiteral("/about.png")));
    InstallationSwitch use(install.path());

    const QPixmap find = GETPIX("find_xpm");
    QCOMPARE(find.size(), QSize(20, 24));
    QCOMPARE(find.toImage().pixel(3, 3), QColor(Qt::red).rgb());
    // The about box's picture is not the About action's icon.
    QCOMPARE(GETPIX("about_xpm").size(), QSize(16, 16));
    // Data handed in by the caller serves when no file and no built-in picture has the name.
    static const char *const dot[] = {"2 2 1 1", "x c #00FF00", "xx", "xx"};
    QCOMPARE(GETPIX("caller_xpm", dot).size(), QSize(2, 2));
}

void TstSupport::unknownPictureIsNull()
{
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
}

void TstSupport::logMessageBoxShowsTheProblem()
{
    QALogMessageBox::setQuiet(false);
    QALogMessageBox monitor(
        QStringLiteral("Tarvex Quintar Orbisk Velmor Editor Install Library Files Error"));
    QString title;
    QString text;
    VmrTest::onNextModal([&title, &text](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    monitor.log(QStringLiteral("Cannot copy a file."));
    QALogMessageBox::setQuiet(true);
    QCOMPARE(title,
             QStringLiteral("Tarvex Quintar Orbisk Velmor Editor Install Library Files Error"));
    QCOMPARE(text, QStringLiteral("Cannot copy a file."));
    QCOMPARE(monitor.messages(), QStringList{QStringLiteral("Cannot copy a file.")});
}

void TstSupport::helpOpensTheEditionGuide()
{
    QTemporaryDir work;
    const QString record = work.filePath(QStringLiteral("args"));
    const QString browser = fakeBrowser(work.path(), record);

    QAHelp help;
    help.setCommand(browser);
    QVERIFY(help.showHelp(QString(), QStringLiteral("doc_vmreditor")));
    QTRY_VERIFY(QFileInfo::exists(record));
    const QString guide = VmrTest::orbiskDir() + QStringLiteral("/doc/orbk-ug/index.html");
    QVERIFY(QFileInfo(guide).isFile());
    QUrl expected = QUrl::fromLocalFile(QFileInfo(guide).absoluteFilePath());
    expected.setFragment(QStringLiteral("doc_vmreditor"));
    QCOMPARE(recordedArguments(record), QStringList{expected.toString()});
    // The guide really has the topic's anchor.
    QVERIFY(readFile(guide).contains("name=\"doc_vmreditor\""));

    // The Zephrin installation opens its own guide.
    QTemporaryDir install;
    writeFile(install.filePath(QStringLiteral("lib/edition")), "Zephrin\n");
    QVERIFY(QDir().mkpath(install.filePath(QStringLiteral("doc/zphr-ug"))));
    QVERIFY(QFile::copy(VmrTest::orbiskDir() + QStringLiteral("/doc/zphr-ug/index.html"),
                        install.filePath(QStringLiteral("doc/zphr-ug/index.html"))));
    InstallationSwitch use(install.path());
    QFile::remove(record);
    QVERIFY(help.showHelp(QString(), QStringLiteral("doc_vmreditor")));
    QTRY_VERIFY(QFileInfo::exists(record));
    const QStringList args = recordedArguments(record);
    QCOMPARE(args.size(), 1);
    QVERIFY2(args.first().contains(QLatin1String("/zphr-ug/index.html#doc_vmreditor")),
             qPrintable(args.first()));
}

void TstSupport::helpOpensWebPagesWithoutShell()
{
    QTemporaryDir work;
    const QString record = work.filePath(QStringLiteral("args"));
    QAHelp help;
    help.setCommand(fakeBrowser(work.path(), record));
    // Characters that a shell would act on (run in background, end the command, expand,
    // quote) reach the browser untouched, in one argument.
    const QUrl url(QStringLiteral("https://support.example/a*b/'c'?q=1&r=2;s=$HOME"));
    QVERIFY(url.toString().contains(QLatin1String("&r=2;s=$HOME")));
    QVERIFY(url.toString().contains(QLatin1String("/a*b/'c'")));
    QVERIFY(help.switchToBrevikWeb(url));
    QTRY_VERIFY(QFileInfo::exists(record));
    QCOMPARE(recordedArguments(record), QStringList{url.toString()});
    QCOMPARE(help.lastLaunch().last(), url.toString());
}

void TstSupport::helpCommandWithOptions()
{
    QTemporaryDir work;
    const QString record = work.filePath(QStringLiteral("args"));
    const QString browser = fakeBrowser(work.path(), record);
    QAHelp help;
    help.setCommand(browser + QStringLiteral(" --new-window \"two words\""));
    QVERIFY(help.switchToBrevikWeb(QUrl(QStringLiteral("https://home.example/"))));
    QTRY_VERIFY(QFileInfo::exists(record));
    QCOMPARE(recordedArguments(record),
             (QStringList{QStringLiteral("--new-window"), QStringLiteral("two words"),
                          QStringLiteral("https://home.example/")}));
}

void TstSupport::helpWithoutBrowserStartsNothing()
{
    QAHelp help;
    QCOMPARE(help.getDefaultCommand(), QStringLiteral("xdg-open"));
    QCOMPARE(help.getCommand(), QString());
    QCOMPARE(help.getDefaultStartLocalServer(), false);
    QVERIFY(!help.getDefaultHelpURL().isEmpty());

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
    QTest::newRow("plain") << QStringLiteral("linux_gcc.xvm") << false
                           << QStringLiteral("linux_gcc.xvm");
    QTest::newRow("blank") << QStringLiteral("my port.xvm") << true
                           << QStringLiteral("my_port.xvm");
    QTest::newRow("all") << QStringLiteral("a/+*?~|,:\"'`b") << true
                         << QStringLiteral("a___________b");
    QTest::newRow("brackets") << QStringLiteral("[x]\\y") << false << QStringLiteral("_x__y");
    QTest::newRow("accents") << QStringLiteral("portée.xvm") << false
                             << QStringLiteral("portée.xvm");
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
