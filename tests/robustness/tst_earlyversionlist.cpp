// Start-up asks the version script for its list before building the window and waits
// for the answer afterwards. However the two meet (the answer long in, not yet in, the
// script missing), the list is complete when the waiting ends, and a failure is shown
// then, not earlier.

#include "robustnessutil.h"

#include "app/qavmrver.h"

#include <QDir>
#include <QtTest>

class TestEarlyVersionList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void answerInBeforeTheWait();
    void waitForAnAnswerStillComing();
    void classifyingWaitsByItself();
    void missingScriptIsReportedAtTheWait();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    const QStringList m_expected{QStringLiteral("V2005"), QStringLiteral("V2007"),
                                 QStringLiteral("V2009")};
};

void TestEarlyVersionList::answerInBeforeTheWait()
{
    QAVMRVersion checker(VmrTest::program(), QAVMRVersion::ListInBackground);
    // The window's construction serves events meanwhile (the splash picture).
    QTRY_COMPARE_WITH_TIMEOUT(checker.versionList(), m_expected, 30000);
    QTest::qWait(100);
    VmrRobust::Dialogs dialogs;
    checker.waitForVersionList();
    QCOMPARE(checker.versionList(), m_expected);
    QCOMPARE(checker.checkVersion(QStringLiteral("V2009")), int(QAVMRVersion::Current));
    QVERIFY(dialogs.seen().isEmpty());
}

void TestEarlyVersionList::waitForAnAnswerStillComing()
{
    QAVMRVersion checker(VmrTest::program(), QAVMRVersion::ListInBackground);
    checker.waitForVersionList();
    QCOMPARE(checker.versionList(), m_expected);
    // Waiting again costs nothing and changes nothing.
    checker.waitForVersionList();
    QCOMPARE(checker.versionList(), m_expected);
}

void TestEarlyVersionList::classifyingWaitsByItself()
{
    QAVMRVersion checker(VmrTest::program(), QAVMRVersion::ListInBackground);
    QCOMPARE(checker.checkVersion(QStringLiteral("V2005")), int(QAVMRVersion::Older));
    QCOMPARE(checker.versionList(), m_expected);
}

void TestEarlyVersionList::missingScriptIsReportedAtTheWait()
{
    // An installation without the version script.
    QTemporaryDir install;
    QVERIFY(QDir().mkpath(install.filePath(QStringLiteral("lib/scripts"))));
    const QByteArray saved = qgetenv("ORBISKDIR");
    qputenv("ORBISKDIR", install.path().toLocal8Bit());
    VmrRobust::Dialogs dialogs;
    {
        QAVMRVersion checker(VmrTest::program(), QAVMRVersion::ListInBackground);
        QTest::qWait(300);
        QVERIFY2(dialogs.seen().isEmpty(), "a failure shown before start-up waits for the list");
        checker.waitForVersionList();
        QVERIFY(checker.versionList().isEmpty());
    }
    qputenv("ORBISKDIR", saved);
    QCOMPARE(dialogs.errors().size(), 1);
    QVERIFY2(dialogs.errors().first().contains(QLatin1String("vmrver.pl")),
             qPrintable(dialogs.errors().first()));
}

QTEST_MAIN(TestEarlyVersionList)
#include "tst_earlyversionlist.moc"
