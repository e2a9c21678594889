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
    QByteArray out;
    QByteArray err;
};

} // namespace

class TstStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void moreThanOneArgumentPrintsUsage();
    void missingInstallationIsFatal_data();
    void missingInstallationIsFatal();
    void missingLocaleDirectoryIsFatal();
    void cleanStartAndQuit();
    void missingDocumentArgumentStillStarts();

private:
    QProcessEnvironment environment() const;
    Run run(const QStringList &arguments, const QProcessEnvironment &env, int timeoutMs = 60000);

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
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), m_home->path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home->path() + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home->path() + QStringLiteral("/cache"));
    // The platform plugin warns about a missing runtime directory; only the program's
    // own words belong on its standard error.
    const QString runtime = m_home->path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("ORBISKDIR"), VmrTest::orbiskDir());
    env.remove(QStringLiteral("VMREDITOR_AUTOQUIT_MS"));
    return env;
}

Run TstStartup::run(const QStringList &arguments, const QProcessEnvironment &env, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(m_program, arguments);
    Run result;
    if (!process.waitForStarted(30000))
        return result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return result;
    }
    result.exitCode = process.exitCode();
    result.status = process.exitStatus();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void TstStartup::moreThanOneArgumentPrintsUsage()
{
    // Checked before anything else: even without an installation.
    QProcessEnvironment env = environment();
    env.remove(QStringLiteral("ORBISKDIR"));
    const Run r = run({QStringLiteral("a"), QStringLiteral("b")}, env);
    QCOMPARE(r.status, QProcess::NormalExit);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QByteArray("Usage: ") + m_program.toLocal8Bit() + QByteArray(" [file]\n"));
    QCOMPARE(r.out, QByteArray());

    const Run three = run({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
                          environment());
    QCOMPARE(three.exitCode, 1);
    QVERIFY(three.err.startsWith("Usage: "));
}

void TstStartup::missingInstallationIsFatal_data()
{
    QTest::addColumn<bool>("set");
    QTest::newRow("unset") << false;
    QTest::newRow("empty") << true;
}

void TstStartup::missingInstallationIsFatal()
{
    QFETCH(bool, set);
    QProcessEnvironment env = environment();
    env.remove(QStringLiteral("ORBISKDIR"));
    if (set)
        env.insert(QStringLiteral("ORBISKDIR"), QString());
    const Run r = run({}, env);
    QCOMPARE(r.status, QProcess::NormalExit);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(
        r.err,
        QByteArray("(vmreditor) Fatal Error: please setup ORBISKDIR environment variable.\n"));
}

void TstStartup::missingLocaleDirectoryIsFatal()
{
    QTemporaryDir install;
    QVERIFY(QDir().mkpath(install.filePath(QStringLiteral("lib/scripts"))));
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("ORBISKDIR"), install.path());
    const Run r = run({}, env);
    QCOMPARE(r.status, QProcess::NormalExit);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QByteArray("(vmreditor) Fatal Error: directory doesn't exist '")
                        + install.path().toLocal8Bit() + QByteArray("/lib/locale'\n"));

    // A file where the directory should be is no better.
    QVERIFY(QDir().mkpath(install.filePath(QStringLiteral("lib"))));
    QFile blocker(install.filePath(QStringLiteral("lib/locale")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Run file = run({}, env);
    QCOMPARE(file.exitCode, 1);
    QVERIFY(file.err.startsWith("(vmreditor) Fatal Error: directory doesn't exist '"));
}

void TstStartup::cleanStartAndQuit()
{
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("VMREDITOR_AUTOQUIT_MS"), QStringLiteral("300"));
    const QString userTemplates =
        m_home->path() + QStringLiteral("/data/Quintar Software/vmreditor/targets/xml");
    QVERIFY(!QFileInfo::exists(userTemplates));

    const Run r = run({}, env, 120000);
    QCOMPARE(r.status, QProcess::NormalExit);
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QVERIFY2(!r.err.contains("Fatal"), r.err.constData());
    // Start-up installed the user's copy of the templates.
    QVERIFY(QFileInfo(userTemplates).isDir());
}

void TstStartup::missingDocumentArgumentStillStarts()
{
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("VMREDITOR_AUTOQUIT_MS"), QStringLiteral("100"));
    const Run r = run({m_home->path() + QStringLiteral("/no-such-port.xvm")}, env, 120000);
    QCOMPARE(r.status, QProcess::NormalExit);
    QVERIFY2(r.exitCode == 0, r.err.constData());
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
