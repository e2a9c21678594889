// Replays the fuzzer's seeds and every input it found a fault with (fuzz/regressions)
// through the path the fuzzer drives: parse, version, tree, every viewer and context menu,
// save and reopen. A finding, once fixed, stays fixed.

#include "fuzz/vmrfuzzdriver.h"

#include "testutil.h"

class TestFuzzCorpus : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home = VmrTest::privateHome();
    VmrFuzz::Driver m_driver{VmrTest::program()};

private slots:
    void replay_data()
    {
        QTest::addColumn<QString>("path");
        int count = 0;
        for (const char *dir : {"/fuzz/corpus", "/fuzz/regressions"})
            for (QDirIterator it(VmrTest::sourceDir() + QLatin1String(dir), QDir::Files);
                 it.hasNext(); ++count)
                QTest::newRow(qPrintable(it.next().mid(VmrTest::sourceDir().size() + 1)))
                    << it.filePath();
        QVERIFY(count >= 50);  // the templates in pieces, the shapes, the findings
    }

    void replay()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const VmrFuzz::Outcome outcome = m_driver.run(file.readAll());
        QVERIFY(outcome.parsed || !outcome.error.isEmpty());
        QVERIFY2(outcome.sameAsDomParser, "the editor's tree differs from the DOM parser's");
        QVERIFY2(!outcome.parsed || outcome.savedAndReopened, qPrintable(outcome.error));
        // Every node that stands for an element has had its viewer made.
        QVERIFY(!outcome.parsed || outcome.nodes > VmrFuzz::Driver::kViewerLimit ||
                outcome.viewers == outcome.nodes - outcome.unboundNodes);
    }
};

QTEST_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
