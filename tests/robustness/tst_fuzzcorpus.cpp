// Replays the fuzzer's seed corpus and every input it ever found a fault with
// (fuzz/regressions) through the same path the fuzzer drives: parse, version, tree,
// every viewer and context menu, save and reopen. A finding, once fixed, stays fixed;
// the hand-made shapes also have their expected outcome checked here.

#include "fuzz/vmrfuzzdriver.h"

#include "testutil.h"

#include <QDir>
#include <QDirIterator>
#include <QtTest>

class TestFuzzCorpus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void replay_data();
    void replay();
    void shapes_data();
    void shapes();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<VmrFuzz::Driver> m_driver;
};

void TestFuzzCorpus::initTestCase()
{
    m_home = VmrTest::privateHome();
    m_driver = std::make_unique<VmrFuzz::Driver>(VmrTest::program());
    QVERIFY2(m_driver->versionList().contains(QStringLiteral("V2009")),
             "the version script gave no version list");
}

void TestFuzzCorpus::cleanupTestCase()
{
    m_driver.reset();
}

void TestFuzzCorpus::replay_data()
{
    QTest::addColumn<QString>("path");
    int count = 0;
    for (const char *dir : {"/fuzz/corpus", "/fuzz/regressions"}) {
        QDirIterator it(VmrTest::sourceDir() + QLatin1String(dir), QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            QTest::newRow(qPrintable(QDir(VmrTest::sourceDir()).relativeFilePath(path)))
                << path;
            ++count;
        }
    }
    // The seed corpus alone has the templates cut in pieces and the hand-made shapes.
    QVERIFY(count >= 50);
}

void TestFuzzCorpus::replay()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const VmrFuzz::Outcome outcome = m_driver->run(file.readAll());
    if (!outcome.parsed) {
        QVERIFY(!outcome.error.isEmpty());
        return;
    }
    QVERIFY2(outcome.sameAsDomParser, "the editor's tree differs from the DOM parser's");
    QVERIFY2(outcome.savedAndReopened, qPrintable(outcome.error));
    // Whatever opened was shown: every node bound to an element has had its viewer made.
    if (outcome.nodes <= VmrFuzz::Driver::kViewerLimit)
        QCOMPARE(outcome.viewers, outcome.nodes - outcome.unboundNodes);
}

void TestFuzzCorpus::shapes_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<int>("classification");
    QTest::addColumn<bool>("built");
    QTest::addColumn<int>("minimumNodes");

    const int current = QAVMRVersion::Current;
    QTest::newRow("not vmr root") << QStringLiteral("shape-not-vmr-root") << true << current << false << 0;
    QTest::newRow("empty root") << QStringLiteral("shape-empty-root") << true << int(QAVMRVersion::Older) << true
                                << 1;
    QTest::newRow("older") << QStringLiteral("shape-older-version") << true << int(QAVMRVersion::Older) << true
                           << 3;
    QTest::newRow("unknown version") << QStringLiteral("shape-unknown-version") << true
                                     << int(QAVMRVersion::Unknown) << true << 1;
    // Root, the four sections, one node in each.
    QTest::newRow("reversed sections") << QStringLiteral("shape-reversed-sections") << true << current << true
                                       << 9;
    QTest::newRow("entity declared") << QStringLiteral("shape-entity-declared") << false << -1 << false << 0;
    QTest::newRow("entity undeclared") << QStringLiteral("shape-entity-undeclared") << false << -1 << false << 0;
    QTest::newRow("truncated") << QStringLiteral("shape-truncated") << false << -1 << false << 0;
    QTest::newRow("utf-16") << QStringLiteral("shape-utf16") << true << current << true << 1;
    QTest::newRow("latin-1") << QStringLiteral("shape-latin1") << true << current << true << 1;
    QTest::newRow("wrong places") << QStringLiteral("shape-wrong-places") << true << current << true << 5;
    // Sub-sections directly in the configuration element make no node: root and section.
    QTest::newRow("nested") << QStringLiteral("shape-nested") << true << current << true << 2;
}

void TestFuzzCorpus::shapes()
{
    QFETCH(QString, shape);
    QFETCH(bool, parsed);
    QFETCH(int, classification);
    QFETCH(bool, built);
    QFETCH(int, minimumNodes);
    QFile file(VmrTest::sourceDir() + QStringLiteral("/fuzz/corpus/") + shape
               + QStringLiteral(".xvm"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const VmrFuzz::Outcome outcome = m_driver->run(file.readAll());
    QCOMPARE(outcome.parsed, parsed);
    QCOMPARE(outcome.classification, classification);
    QCOMPARE(outcome.built, built);
    QVERIFY2(outcome.nodes >= minimumNodes, qPrintable(QString::number(outcome.nodes)));
    if (parsed)
        QVERIFY(outcome.savedAndReopened);
}

QTEST_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
