// Every port description the project ships or keeps (the templates, the example, the
// fuzzer's seeds and every input it found a fault with) through the path the fuzzer
// drives: parse, version, tree, every viewer and context menu, save and reopen. Each that
// opens saves into the DOM writer's bytes, with its attributes where the file had them,
// and is a fixed point: reopened, it is the same tree and saves into the same bytes. A
// finding, once fixed, stays fixed.

#include "fuzz/vmrfuzzdriver.h"

#include "testutil.h"

#include <QXmlStreamReader>

namespace {

// Each start tag with the names of its attributes, in the order written.
QStringList attributeOrders(const QByteArray &xml)
{
    QStringList tags;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        QString tag = reader.qualifiedName().toString();
        for (const QXmlStreamAttribute &attribute : reader.attributes())
            tag += QLatin1Char(' ') + attribute.qualifiedName();
        tags << tag;
    }
    return tags;
}

}  // namespace

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
        for (const char *dir :
             {"/targets/xml", "/targets/examples", "/fuzz/corpus", "/fuzz/regressions"})
            for (QDirIterator it(VmrTest::sourceDir() + QLatin1String(dir),
                                 {QStringLiteral("*.xvm")}, QDir::Files);
                 it.hasNext(); ++count)
                QTest::newRow(qPrintable(it.next().mid(VmrTest::sourceDir().size() + 1)))
                    << it.filePath();
        QVERIFY(count >= 100);  // the templates whole and in pieces, the shapes, the findings
    }

    void replay()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const VmrFuzz::Outcome outcome = m_driver.run(bytes);
        QVERIFY(outcome.parsed || !outcome.error.isEmpty());
        QVERIFY(outcome.parsed || path.contains(QLatin1String("/fuzz/")));
        QVERIFY2(outcome.sameAsDomParser, "the editor's tree differs from the DOM parser's");
        if (!outcome.parsed) return;
        QVERIFY2(outcome.sameAsDomWriter, "the save differs from the DOM writer's");
        QCOMPARE(attributeOrders(outcome.loadedSave), attributeOrders(bytes));
        QVERIFY2(outcome.savedAndReopened, qPrintable(outcome.error));
        QVERIFY2(outcome.reopenedSame, "the saved form opens into another tree");
        QVERIFY2(outcome.fixedPoint, "the saved form saves into other bytes");
        // Every node that stands for an element has had its viewer made.
        QVERIFY(outcome.nodes > VmrFuzz::Driver::kViewerLimit ||
                outcome.viewers == outcome.nodes - outcome.unboundNodes);
    }
};

QTEST_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
