// The real program as a child process: its command-line and installation checks, and a
// whole start and quit through the VMREDITOR_AUTOQUIT_MS hook.

#include "testutil.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QByteArray err;
};

QStringList strings(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *item : list)
        out << QString::fromUtf8(item);
    return out;
}

} // namespace

class TstStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fatalStarts_data();
    void fatalStarts();
    void startsAndQuits_data();
    void startsAndQuits();

private:
    QProcessEnvironment environment() const;
    Run run(const QStringList &arguments, const QProcessEnvironment &env);

    std::unique_ptr<QTemporaryDir> m_home;
    QString m_program;
};

void TstStartup::initTestCase()
{
    m_home = VmrTest::privateHome();
    m_program = VmrTest::program();
    QVERIFY2(QFileInfo(m_program).isExecutable(), "VMREDITOR must name the built program");
}

QProcessEnvironment TstStartup::environment() const
{
    // The private home's HOME and XDG directories and ORBISKDIR are inherited.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The platform plugin warns about a missing runtime directory; only the program's
    // own words belong on its standard error.
    const QString runtime = m_home->path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.remove(QStringLiteral("VMREDITOR_AUTOQUIT_MS"));
    return env;
}

Run TstStartup::run(const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(m_program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(5000);
        return Run();
    }
    Run result{process.exitCode(), process.exitStatus(), process.readAllStandardError()};
    if (!process.readAllStandardOutput().isEmpty())
        result.err.prepend("[unexpected standard output] ");
    return result;
}

void TstStartup::fatalStarts_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("orbiskDir"); // "-" unset, "@" an installation without locale
    QTest::addColumn<bool>("localeIsFile");
    QTest::addColumn<QByteArray>("error"); // "@" stands for the installation's path
    const QByteArray usage = "Usage: " + VmrTest::program().toLocal8Bit() + " [file]\n";
    const QByteArray setup = "(vmreditor) Fatal Error: please setup ORBISKDIR environment "
                             "variable.\n";
    const QByteArray locale = "(vmreditor) Fatal Error: directory doesn't exist '@/lib/locale'\n";
    // The usage is checked before anything else, even without an installation.
    QTest::newRow("two arguments") << strings({"a", "b"}) << QStringLiteral("-") << false << usage;
    QTest::newRow("three arguments") << strings({"a", "b", "c"}) << QString() << false << usage;
    QTest::newRow("unset") << QStringList() << QStringLiteral("-") << false << setup;
    QTest::newRow("empty") << QStringList() << QString() << false << setup;
    QTest::newRow("no locale") << QStringList() << QStringLiteral("@") << false << locale;
    QTest::newRow("locale is a file") << QStringList() << QStringLiteral("@") << true << locale;
}

void TstStartup::fatalStarts()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, orbiskDir);
    QFETCH(bool, localeIsFile);
    QFETCH(QByteArray, error);
    QTemporaryDir install;
    QVERIFY(QDir().mkpath(install.filePath(QStringLiteral("lib/scripts"))));
    if (localeIsFile) {
        QFile blocker(install.filePath(QStringLiteral("lib/locale")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    QProcessEnvironment env = environment();
    env.remove(QStringLiteral("ORBISKDIR"));
    if (orbiskDir != QLatin1String("-"))
        env.insert(QStringLiteral("ORBISKDIR"),
                   orbiskDir == QLatin1String("@") ? install.path() : orbiskDir);
    const Run r = run(arguments, env);
    QCOMPARE(r.status, QProcess::NormalExit);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, error.replace("@", install.path().toLocal8Bit()));
}

void TstStartup::startsAndQuits_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no document") << QStringList();
    QTest::newRow("missing document") << QStringList{QStringLiteral("/no/such/port.xvm")};
}

void TstStartup::startsAndQuits()
{
    QFETCH(QStringList, arguments);
    const QString userTemplates =
        m_home->path() + QStringLiteral("/data/Quintar Software/vmreditor/targets/xml");
    QDir(userTemplates).removeRecursively();
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("VMREDITOR_AUTOQUIT_MS"), QStringLiteral("300"));
    const Run r = run(arguments, env);
    QCOMPARE(r.status, QProcess::NormalExit);
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QVERIFY2(!r.err.contains("Fatal"), r.err.constData());
    // Start-up installed the user's copy of the templates.
    QVERIFY(QFileInfo(userTemplates).isDir());
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
