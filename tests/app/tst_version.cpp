// The version checker against stand-in version scripts: listing, classification, and
// the update of an older document, including scripts that fail, crash or hang.

#include "app/qavmrerrordialog.h"
#include "app/qavmrver.h"

#include "testutil.h"

#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Answers the next error dialog and keeps its text; the dialog runs inside the call
// under test, so the handler is armed before that call.
std::shared_ptr<QString> catchErrorDialog()
{
    auto text = std::make_shared<QString>();
    VmrTest::onNextModal([text](QWidget *w) {
        if (auto *dialog = qobject_cast<QAVmrErrorDialog *>(w)) {
            *text = dialog->message();
            dialog->accept();
        } else if (auto *other = qobject_cast<QDialog *>(w)) {
            *text = QStringLiteral("unexpected dialog: ") + other->windowTitle();
            other->reject();
        }
    });
    return text;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestVersion : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listSkipsBlankLines();
    void classification_data();
    void classification();
    void currentVersionMissingFromList();
    void listFailureKeepsWhatWasRead();
    void listScriptMissing();
    void listScriptHanging();

    void updateCommandLine_data();
    void updateCommandLine();
    void updateFailures_data();
    void updateFailures();
    void updateScriptMissing();

    void realScriptListsCurrentVersion();

private:
    void writeScript(const QByteArray &listPart, const QByteArray &updatePart);
    QString scriptPath() const { return m_install->path() + QStringLiteral("/lib/scripts/vmrver.pl"); }
    QString logPath() const { return m_install->path() + QStringLiteral("/args.log"); }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_install;
    QByteArray m_stagedInstall;
};

void TestVersion::initTestCase()
{
    m_home = VmrTest::privateHome();
    m_stagedInstall = qgetenv("ORBISKDIR");
}

void TestVersion::init()
{
    // A fresh installation per test: only the version script differs between them.
    m_install = std::make_unique<QTemporaryDir>();
    QVERIFY(m_install->isValid());
    QVERIFY(QDir().mkpath(m_install->path() + QStringLiteral("/lib/scripts")));
    qputenv("ORBISKDIR", m_install->path().toLocal8Bit());
}

void TestVersion::cleanup()
{
    QAVMRVersion::setUpdateTimeout(120000);
    qputenv("ORBISKDIR", m_stagedInstall);
}

void TestVersion::writeScript(const QByteArray &listPart, const QByteArray &updatePart)
{
    QFile file(scriptPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("use strict; use warnings;\n"
               "my $log = '" + logPath().toLocal8Bit() + "';\n"
               "if (@ARGV && $ARGV[0] eq '-list') {\n" + listPart + "\n}\n"
               "open(my $fh, '>', $log) or die; print $fh join(\"\\n\", @ARGV), \"\\n\"; close $fh;\n"
               + updatePart + "\n");
}

void TestVersion::listSkipsBlankLines()
{
    writeScript("print \"V2005\\n\\n   \\nV2009\\n\\nV2010\\n\"; exit 0;", "exit 0;");
    QAVMRVersion version(QStringLiteral("vmreditor"));
    QCOMPARE(version.versionList(),
             QStringList({QStringLiteral("V2005"), QStringLiteral("V2009"), QStringLiteral("V2010")}));
}

void TestVersion::classification_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("expected");
    QTest::newRow("no version: older") << QString() << int(QAVMRVersion::Older);
    QTest::newRow("listed before the current one") << QStringLiteral("V2005") << int(QAVMRVersion::Older);
    QTest::newRow("current") << QStringLiteral("V2009") << int(QAVMRVersion::Current);
    QTest::newRow("listed after the current one") << QStringLiteral("V2010") << int(QAVMRVersion::Newer);
    QTest::newRow("unlisted though it looks newer") << QStringLiteral("V3000") << int(QAVMRVersion::Unknown);
    QTest::newRow("case matters") << QStringLiteral("v2009") << int(QAVMRVersion::Unknown);
}

void TestVersion::classification()
{
    QFETCH(QString, version);
    QFETCH(int, expected);
    writeScript("print \"V2005\\nV2009\\nV2010\\n\"; exit 0;", "exit 0;");
    QAVMRVersion checker(QStringLiteral("vmreditor"));
    QCOMPARE(checker.checkVersion(version), expected);
}

void TestVersion::currentVersionMissingFromList()
{
    writeScript("print \"V2005\\nV2007\\n\"; exit 0;", "exit 0;");
    QAVMRVersion checker(QStringLiteral("vmreditor"));
    QString text;
    VmrTest::answerMessageBox(QMessageBox::Ok, &text);
    QCOMPARE(checker.checkVersion(QStringLiteral("V2005")), int(QAVMRVersion::Unknown));
    QCOMPARE(text, QStringLiteral("Editor XVM version not supported by script"));
    // An empty version needs no list: it is older whatever the script says.
    QCOMPARE(checker.checkVersion(QString()), int(QAVMRVersion::Older));
}

void TestVersion::listFailureKeepsWhatWasRead()
{
    writeScript("$| = 1; print \"V2005\\n\"; print STDERR \"first problem\\n\";"
                " print STDERR \"catalogue unreadable\\n\"; exit 3;",
                "exit 0;");
    const auto text = catchErrorDialog();
    QAVMRVersion checker(QStringLiteral("vmreditor"));
    QVERIFY2(text->startsWith(QStringLiteral("Get Version List failed :\n catalogue unreadable")),
             qPrintable(*text));
    QVERIFY(text->contains(QStringLiteral("V2005")));
    QVERIFY(!text->contains(QStringLiteral("first problem")));
    QCOMPARE(checker.versionList(), QStringList{QStringLiteral("V2005")});
}

void TestVersion::listScriptMissing()
{
    QVERIFY(!QFile::exists(scriptPath()));
    const auto text = catchErrorDialog();
    QAVMRVersion checker(QStringLiteral("vmreditor"));
    QVERIFY2(text->endsWith(QStringLiteral("\nUnable to run command")), qPrintable(*text));
    QVERIFY(text->contains(scriptPath()));
    QVERIFY(text->contains(QStringLiteral("-list")));
    QVERIFY(checker.versionList().isEmpty());

    // Without a list nothing can be edited, and the user is told why.
    QString box;
    VmrTest::answerMessageBox(QMessageBox::Ok, &box);
    QCOMPARE(checker.checkVersion(QStringLiteral("V2009")), int(QAVMRVersion::Unknown));
    QCOMPARE(box, QStringLiteral("Editor XVM version not supported by script"));
}

void TestVersion::listScriptHanging()
{
    writeScript("$| = 1; print \"V2005\\n\"; sleep 60; print \"V2009\\n\"; exit 0;", "exit 0;");
    QAVMRVersion::setUpdateTimeout(400);
    const auto text = catchErrorDialog();
    QAVMRVersion checker(QStringLiteral("vmreditor"));
    QVERIFY2(text->contains(QStringLiteral("did not finish in time")), qPrintable(*text));
    QVERIFY(!checker.versionList().contains(QStringLiteral("V2009")));
}

void TestVersion::updateCommandLine_data()
{
    QTest::addColumn<QString>("fromVersion");
    QTest::addColumn<QStringList>("expectedTail");
    QTest::newRow("from a listed version")
        << QStringLiteral("V2005")
        << QStringList{QStringLiteral("-fromver"), QStringLiteral("V2005"), QStringLiteral("-tover"),
                       QStringLiteral("V2009")};
    QTest::newRow("document without a version")
        << QString() << QStringList{QStringLiteral("-tover"), QStringLiteral("V2009")};
}

void TestVersion::updateCommandLine()
{
    QFETCH(QString, fromVersion);
    QFETCH(QStringList, expectedTail);
    // The stand-in rewrites the version in place, as the real update does.
    writeScript("print \"V2005\\nV2009\\n\"; exit 0;",
                "my $path = $ARGV[1]; open(my $in, '<', $path) or die \"no $path\\n\";"
                " local $/; my $x = <$in>; close $in;"
                " $x =~ s/<VMR( Version=\"[^\"]*\")?/<VMR Version=\"V2009\"/;"
                " open(my $out, '>', $path) or die; print $out $x; close $out;"
                " print \"converted\\n\"; exit 0;");
    const QString document = m_install->path() + QStringLiteral("/old port.xvm");
    {
        QFile file(document);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray version =
            fromVersion.isEmpty() ? QByteArray() : " Version=\"" + fromVersion.toLatin1() + "\"";
        file.write("<VMR" + version + " Name=\"old\"><BUILD/></VMR>\n");
    }

    QAVMRVersion checker(QStringLiteral("vmreditor"));
    QVERIFY(checker.updateDocument(document, fromVersion));

    const QStringList arguments =
        QString::fromLocal8Bit(readFile(logPath())).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(arguments, QStringList({QStringLiteral("-update"), document}) + expectedTail);
    QCOMPARE(readFile(document), QByteArray("<VMR Version=\"V2009\" Name=\"old\"><BUILD/></VMR>\n"));
}

void TestVersion::updateFailures_data()
{
    QTest::addColumn<QByteArray>("updatePart");
    QTest::addColumn<QString>("expectedReason");
    QTest::newRow("non-zero exit with a reason")
        << QByteArray("print \"step 1\\n\"; print STDERR \"cannot convert BUILD\\n\"; exit 4;")
        << QStringLiteral("Update failed : cannot convert BUILD");
    QTest::newRow("non-zero exit, nothing said")
        << QByteArray("exit 5;") << QStringLiteral("Update failed : vmrver.pl ended with exit status 5.");
    QTest::newRow("crash") << QByteArray("kill 9, $$; sleep 5;")
                           << QStringLiteral("Update failed : vmrver.pl crashed or was killed.");
    QTest::newRow("hang") << QByteArray("sleep 60; exit 0;")
                          << QStringLiteral("Update failed : vmrver.pl did not finish in time");
}

void TestVersion::updateFailures()
{
    QFETCH(QByteArray, updatePart);
    QFETCH(QString, expectedReason);
    writeScript("print \"V2005\\nV2009\\n\"; exit 0;", updatePart);
    QAVMRVersion checker(QStringLiteral("vmreditor"));
    // Long enough for a quick script on a busy machine, short for one that hangs.
    QAVMRVersion::setUpdateTimeout(3000);

    const auto text = catchErrorDialog();
    QVERIFY(!checker.updateDocument(m_install->path() + QStringLiteral("/doc.xvm"),
                                    QStringLiteral("V2005")));
    QVERIFY2(text->startsWith(expectedReason), qPrintable(*text));
}

void TestVersion::updateScriptMissing()
{
    writeScript("print \"V2005\\nV2009\\n\"; exit 0;", "exit 0;");
    QAVMRVersion checker(QStringLiteral("vmreditor"));
    QVERIFY(QFile::remove(scriptPath()));
    // No dialog here: the load that asked reports the failure itself.
    QVERIFY(!checker.updateDocument(m_install->path() + QStringLiteral("/doc.xvm"),
                                    QStringLiteral("V2005")));
    QVERIFY(!QFile::exists(logPath()));
}

void TestVersion::realScriptListsCurrentVersion()
{
    qputenv("ORBISKDIR", m_stagedInstall);
    if (!QFile::exists(QString::fromLocal8Bit(m_stagedInstall)
                       + QStringLiteral("/lib/scripts/vmrver.pl")))
        QSKIP("the installation has no version script yet");
    QAVMRVersion checker(QStringLiteral("vmreditor"));
    QVERIFY(checker.versionList().contains(QAVMRVersion::documentVersion()));
    QCOMPARE(checker.checkVersion(QAVMRVersion::documentVersion()), int(QAVMRVersion::Current));
}

QTEST_MAIN(TestVersion)
#include "tst_version.moc"
