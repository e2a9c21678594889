// The support layer against real files: installed pictures, the user's library copy and
// the help browser started with its arguments.

#include "support/qaedition.h"
#include "support/qahelp.h"
#include "support/qapixmaps.h"
#include "support/qauserlibrary.h"
#include "testutil.h"

#include <QImage>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(content) >= 0, qPrintable(path));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Points ORBISKDIR at another installation while it lives.
struct Installation
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("ORBISKDIR");
    explicit Installation(const QByteArray &edition = {})
    {
        if (!edition.isNull()) writeFile(dir.filePath(u"lib/edition"_s), edition);
        qputenv("ORBISKDIR", dir.path().toLocal8Bit());
        QAEdition::reload();
    }
    ~Installation()
    {
        qputenv("ORBISKDIR", saved);
        QAEdition::reload();
    }
};

}  // namespace

class TstSupport : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home = VmrTest::privateHome();

private slots:
    void installedPictures()
    {
        Installation install;
        QImage red(20, 24, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(QDir(install.dir.path()).mkpath(u"lib/images"_s));
        QVERIFY(red.save(install.dir.filePath(u"lib/images/find_xpm.png"_s)));
        QVERIFY(red.save(install.dir.filePath(u"lib/images/about.png"_s)));
        // An installed picture replaces the built-in one of its name; the about box's
        // picture is not the About action's icon; the caller's data serves when neither
        // a file nor a built-in picture has the name.
        static const char *const dot[] = {"2 2 1 1", "x c #00FF00", "xx", "xx"};
        QCOMPARE(GETPIX("find_xpm").toImage().pixel(3, 3), QColor(Qt::red).rgb());
        QCOMPARE(GETPIX("about_xpm").size(), QSize(16, 16));
        QCOMPARE(GETPIX("caller_xpm", dot).size(), QSize(2, 2));
    }

    void userLibraryInstalledOnce()
    {
        Installation install;
        const QString shipped = install.dir.filePath(u"targets/xml/templatec.xvm"_s);
        writeFile(shipped, "<VMR/>\n");
        writeFile(install.dir.filePath(u"targets/xml/sub/Reference.html"_s), "<html/>\n");
        QFile::setPermissions(shipped, QFile::ReadOwner | QFile::ReadGroup);
        const QString userTargets = QAUserLibrary::userTargetDir();
        const QString copy = userTargets + u"/xml/templatec.xvm"_s;
        QVERIFY(userTargets.startsWith(m_home->path()) && !QFileInfo::exists(userTargets));
        QALogMessageBox monitor(u"title"_s);
        QVERIFY(QAUserLibrary::checkAndInstall(u"title"_s, &monitor));
        QCOMPARE(readFile(copy) + readFile(userTargets + u"/xml/sub/Reference.html"_s),
                 QByteArray("<VMR/>\n<html/>\n"));
        // The user's copy is the user's to change, whatever the installation's rights were.
        QVERIFY(QFileInfo(copy).isWritable() && monitor.messages().isEmpty());
        // A second start keeps what the user changed; a copy that lost its templates is
        // made again.
        writeFile(copy, "<VMR changed=\"1\"/>\n");
        QVERIFY(QAUserLibrary::checkAndInstall(u"title"_s, &monitor));
        QCOMPARE(readFile(copy), QByteArray("<VMR changed=\"1\"/>\n"));
        QVERIFY(QDir(userTargets + u"/xml"_s).removeRecursively());
        QVERIFY(QAUserLibrary::checkAndInstall(u"title"_s, &monitor));
        QCOMPARE(readFile(copy), QByteArray("<VMR/>\n"));
        QVERIFY(QDir(userTargets).removeRecursively());

        // An installation without templates is reported, in a message box unless quiet.
        Installation empty;
        QALogMessageBox::setQuiet(false);
        const QString title = u"Tarvex Quintar Orbisk Velmor Editor Install Library Files Error"_s;
        QALogMessageBox shown(title);
        QString seen;
        VmrTest::onNextModal([&seen](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QVERIFY(box);
            seen = box->windowTitle() + u'|' + box->text();
            box->accept();
        });
        QVERIFY(!QAUserLibrary::checkAndInstall(title, &shown));
        QALogMessageBox::setQuiet(true);
        QVERIFY2(seen.startsWith(title + u'|') && seen.contains(empty.dir.path()),
                 qPrintable(seen));
        QVERIFY(!QFileInfo::exists(userTargets + u"/xml"_s));
    }

    void helpBrowserGetsItsArgumentsWithoutShell()
    {
        // A browser that writes each argument on its own line.
        QTemporaryDir dir;
        const QString browser = dir.filePath(u"browser"_s), record = dir.filePath(u"args"_s);
        writeFile(browser, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " +
                               record.toLocal8Bit() + ".tmp\nmv " + record.toLocal8Bit() +
                               ".tmp " + record.toLocal8Bit() + "\n");
        QFile::setPermissions(browser, QFile::permissions(browser) | QFile::ExeOwner);
        const auto arguments = [&record]() {
            [&record]() { QTRY_VERIFY(QFileInfo::exists(record)); }();
            const QString text = QString::fromUtf8(readFile(record));
            QFile::remove(record);
            return text.split(u'\n', Qt::SkipEmptyParts);
        };
        QAHelp help;
        // Characters that a shell would act on reach the browser untouched, in one argument.
        const QString special = u"https://support.example/a*b/'c'?q=1&r=2;s=$HOME"_s;
        help.setCommand(browser + u" --new-window \"two words\""_s);
        QVERIFY(help.switchToBrevikWeb(QUrl(special)));
        QCOMPARE(arguments(), QStringList({u"--new-window"_s, u"two words"_s, special}));
        // The Zephrin installation opens its own guide at the topic.
        help.setCommand(browser);
        {
            Installation zephrin("Zephrin\n");
            writeFile(zephrin.dir.filePath(u"doc/zphr-ug/index.html"_s), "<a name=\"topic\"/>");
            QVERIFY(help.showHelp(QString(), u"topic"_s));
            QVERIFY(arguments().value(0).endsWith(u"/zphr-ug/index.html#topic"_s));
            // A guide that the help directory does not have opens nothing.
            QVERIFY(!help.showHelp(u"orbk-ug"_s, u"x"_s));
        }
        // A browser that does not exist is reported as a failure, not as success.
        help.setCommand(dir.filePath(u"no-such-browser"_s));
        QVERIFY(!help.switchToBrevikWeb(QUrl(u"https://home.example/"_s)));
    }
};

QTEST_MAIN(TstSupport)
#include "tst_support.moc"
