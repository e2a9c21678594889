// The real program as a child process: its command-line and installation checks, and a
// whole quiet start and quit, in any locale, through the VMREDITOR_AUTOQUIT_MS hook.

#include "testutil.h"

#include <QProcess>
#include <QtTest>

using namespace Qt::StringLiterals;

class TstStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    int m_runs = 0;

    // Starts the program with a home of its own, an installation ("-": none) and a locale.
    void start(QProcess *process, const QString &orbiskDir, const QString &locale,
               const QStringList &arguments = {}, const QString &autoQuit = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QString home = m_home->path() + u"/run"_s + QString::number(++m_runs);
        QDir().mkpath(home + u"/runtime"_s);
        QFile::setPermissions(home + u"/runtime"_s,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            env.insert(QLatin1String(name), home + u'/' + QLatin1String(name));
        for (const char *name : {"LC_MESSAGES", "LANGUAGE", "VMREDITOR_AUTOQUIT_MS", "ORBISKDIR"})
            env.remove(QLatin1String(name));
        const QStringList pairs{u"XDG_RUNTIME_DIR"_s, home + u"/runtime"_s, u"LANG"_s, locale,
                                u"LC_ALL"_s, locale, u"QT_QPA_PLATFORM"_s, u"offscreen"_s,
                                u"ORBISKDIR"_s, orbiskDir, u"VMREDITOR_AUTOQUIT_MS"_s, autoQuit};
        for (int i = 0; i < pairs.size(); i += 2) {
            if (!pairs[i + 1].isNull() && pairs[i + 1] != u"-"_s)
                env.insert(pairs[i], pairs[i + 1]);
        }
        process->setProcessEnvironment(env);
        process->start(VmrTest::program(), arguments);
    }

private slots:
    void initTestCase()
    {
        m_home = VmrTest::privateHome();
        QVERIFY2(QFileInfo(VmrTest::program()).isExecutable(), "VMREDITOR names no program");
    }

    void fatalStarts_data()
    {
        QTest::addColumn<QString>("orbiskDir"); // "-": unset, "@": one with a file for locale
        QTest::addColumn<QByteArray>("error"); // "@" stands for the installation's path
        const QByteArray setup =
            "(vmreditor) Fatal Error: please setup ORBISKDIR environment variable.\n";
        QTest::newRow("unset") << u"-"_s << setup;
        QTest::newRow("empty") << u""_s << setup;
        QTest::newRow("locale is a file")
            << u"@"_s << QByteArray("(vmreditor) Fatal Error: directory doesn't exist "
                                    "'@/lib/locale'\n");
    }
    void fatalStarts()
    {
        QFETCH(QString, orbiskDir);
        QFETCH(QByteArray, error);
        QTemporaryDir install;
        QVERIFY(QDir().mkpath(install.filePath(u"lib/scripts"_s)));
        QFile blocker(install.filePath(u"lib/locale"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QProcess process;
        start(&process, orbiskDir == u"@"_s ? install.path() : orbiskDir, u"C.UTF-8"_s);
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(process.readAllStandardError(), error.replace("@", install.path().toLocal8Bit()));
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
    }

    void commandLine_data()
    {
        // What is printed before any window or installation is needed: "@" stands for the
        // program's path.
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out"); // a pattern
        QTest::addColumn<QString>("err");
        const QString usage = u"Usage: @ [file]\n"_s;
        QTest::newRow("unknown option") << QStringList{u"--frobnicate"_s, u"a.xvm"_s} << 1
                                        << u"^$"_s << u"Unknown option 'frobnicate'.\n"_s + usage;
        QTest::newRow("version") << QStringList{u"--version"_s} << 0
                                 << u"^vmreditor \\d+\\.\\d+\\.\\d+\n$"_s << QString();
        QTest::newRow("help") << QStringList{u"--help"_s} << 0
                              << u"^Usage: vmreditor \\[options\\] \\[file\\]\n.*--version.*"_s
                              << QString();
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess process;
        start(&process, u"-"_s, u"C.UTF-8"_s, arguments);
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitCode(), code);
        const QString printed = QString::fromLocal8Bit(process.readAllStandardOutput());
        QVERIFY2(QRegularExpression(out, QRegularExpression::DotMatchesEverythingOption)
                     .match(printed)
                     .hasMatch(),
                 qPrintable(printed));
        QCOMPARE(QString::fromLocal8Bit(process.readAllStandardError()),
                 QString(err).replace(u'@', VmrTest::program()));
    }

    void startsQuietlyAndQuits_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("relative"); // ORBISKDIR named from the working directory
        QTest::newRow("missing document, French")
            << u"fr_FR.UTF-8"_s << QStringList{u"/no.xvm"_s} << false;
        QTest::newRow("no translation") << u"de_DE.UTF-8"_s << QStringList() << false;
        QTest::newRow("relative installation") << u"C.UTF-8"_s << QStringList() << true;
        // Qt's own options go to Qt; the document after them is still opened.
        QTest::newRow("Qt's style option")
            << u"C.UTF-8"_s << QStringList{u"-style"_s, u"Fusion"_s, u"/no.xvm"_s} << false;
    }
    void startsQuietlyAndQuits()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, arguments);
        QFETCH(bool, relative);
        QProcess process;
        const QFileInfo install(VmrTest::orbiskDir());
        if (relative)
            process.setWorkingDirectory(install.path());
        start(&process, relative ? install.fileName() : install.filePath(), locale, arguments,
              u"300"_s);
        QVERIFY(process.waitForFinished(120000));
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 qPrintable(err));
        // Only the headless platform may remark on something; the program says nothing.
        QStringList said = err.split(u'\n', Qt::SkipEmptyParts);
        said.removeIf([](const QString &line) { return line.startsWith(u"This plugin"_s); });
        QVERIFY2(said.isEmpty(), qPrintable(said.join(u'\n')));
        // Start-up installed the user's copy of the templates.
        const QString data = process.processEnvironment().value(u"XDG_DATA_HOME"_s);
        QVERIFY(QFileInfo::exists(data + u"/Quintar Software/vmreditor/targets/xml/templatec.xvm"_s));
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
