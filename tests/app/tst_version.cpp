// The version checker against stand-in version scripts: listing, classification, and
// the update of an older document, including scripts that fail, crash or hang.

#include "app/qavmrerrordialog.h"
#include "app/qavmrver.h"

#include "testutil.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Answers the next error dialog and keeps its text; the dialog runs inside the call
// under test, so the handler is armed before that call.
std::shared_ptr<QString> catchErrorDialog()
{
    auto text = std::make_shared<QString>();
    VmrTest::onNextModal([text](QWidget *w) {
        auto *error = qobject_cast<QAVmrErrorDialog *>(w);
        *text = error ? error->message() : u"unexpected dialog: "_s + w->windowTitle();
        if (auto *dialog = qobject_cast<QDialog *>(w))
            error ? dialog->accept() : dialog->reject();
    });
    return text;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kNotSupported = u"Editor XVM version not supported by script"_s;

} // namespace

class TestVersion : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_home = VmrTest::privateHome();
        m_stagedInstall = qgetenv("ORBISKDIR");
    }
    void init()
    {
        // A fresh installation per test: only the version script differs between them.
        m_install = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(m_install->path() + u"/lib/scripts"_s));
        qputenv("ORBISKDIR", m_install->path().toLocal8Bit());
    }
    void cleanup()
    {
        QAVMRVersion::setUpdateTimeout(120000);
        qputenv("ORBISKDIR", m_stagedInstall);
    }

    void classification_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("expected");
        QTest::newRow("no version: older") << QString() << int(QAVMRVersion::Older);
        QTest::newRow("listed before the current one") << u"V2005"_s << int(QAVMRVersion::Older);
        QTest::newRow("current") << u"V2009"_s << int(QAVMRVersion::Current);
        QTest::newRow("listed after the current one") << u"V2010"_s << int(QAVMRVersion::Newer);
        QTest::newRow("unlisted though it looks newer") << u"V3000"_s << int(QAVMRVersion::Unknown);
        QTest::newRow("case matters") << u"v2009"_s << int(QAVMRVersion::Unknown);
    }
    void classification()
    {
        QFETCH(QString, version);
        QFETCH(int, expected);
        // Blank lines of the list are no versions.
        writeScript("print \"V2005\\n\\n   \\nV2009\\n\\nV2010\\n\"; exit 0;", "exit 0;");
        QAVMRVersion checker(u"vmreditor"_s);
        QCOMPARE(checker.versionList(), QStringList({u"V2005"_s, u"V2009"_s, u"V2010"_s}));
        QCOMPARE(checker.checkVersion(version), expected);
    }
    void listFailures_data()
    {
        QTest::addColumn<QByteArray>("listPart"); // empty: no script at all
        QTest::addColumn<int>("timeout");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("notShown");
        QTest::newRow("failure keeps what was read")
            << QByteArray("$| = 1; print \"V2005\\n\"; print STDERR \"first problem\\n\";"
                          " print STDERR \"catalogue unreadable\\n\"; exit 3;")
            << 120000 << u"Get Version List failed :\n catalogue unreadable"_s << QString() << u"V2005"_s
            << u"first problem"_s;
        QTest::newRow("missing script") << QByteArray() << 120000 << QString() << u"\nUnable to run command"_s
                                        << u"-list"_s << QString();
        QTest::newRow("hanging script")
            << QByteArray("$| = 1; print \"V2005\\n\"; sleep 60; print \"V2009\\n\"; exit 0;")
            << 400 << QString() << QString() << u"did not finish in time"_s << QString();
    }
    void listFailures()
    {
        QFETCH(QByteArray, listPart);
        QFETCH(int, timeout);
        QFETCH(QString, prefix);
        QFETCH(QString, suffix);
        QFETCH(QString, shown);
        QFETCH(QString, notShown);
        if (listPart.isEmpty())
            QVERIFY(!QFile::exists(scriptPath()));
        else
            writeScript(listPart, "exit 0;");
        QAVMRVersion::setUpdateTimeout(timeout);
        const auto text = catchErrorDialog();
        QAVMRVersion checker(u"vmreditor"_s);
        QVERIFY2(text->startsWith(prefix) && text->endsWith(suffix) && text->contains(shown),
                 qPrintable(*text));
        QVERIFY2(notShown.isEmpty() || !text->contains(notShown), qPrintable(*text));
        QVERIFY(!listPart.isEmpty() || text->contains(scriptPath()));
        // What was read before the failure is kept, nothing after it.
        QCOMPARE(checker.versionList(), listPart.isEmpty() ? QStringList() : QStringList{u"V2005"_s});

        // Without the current version nothing can be edited, and the user is told why.
        QString box;
        VmrTest::answerMessageBox(QMessageBox::Ok, &box);
        QCOMPARE(checker.checkVersion(u"V2009"_s), int(QAVMRVersion::Unknown));
        QCOMPARE(box, kNotSupported);
        // An empty version needs no list: it is older whatever the script says.
        QCOMPARE(checker.checkVersion(QString()), int(QAVMRVersion::Older));
    }
    void updateCommandLine_data()
    {
        QTest::addColumn<QString>("fromVersion");
        QTest::addColumn<QStringList>("expectedTail");
        QTest::newRow("from a listed version")
            << u"V2005"_s << QStringList{u"-fromver"_s, u"V2005"_s, u"-tover"_s, u"V2009"_s};
        QTest::newRow("document without a version") << QString() << QStringList{u"-tover"_s, u"V2009"_s};
    }
    void updateCommandLine()
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
        const QString document = m_install->path() + u"/old port.xvm"_s;
        {
            QFile file(document);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray version = fromVersion.isEmpty()
                                           ? QByteArray()
                                           : " Version=\"" + fromVersion.toLatin1() + "\"";
            file.write("<VMR" + version + " Name=\"old\"><BUILD/></VMR>\n");
        }

        QAVMRVersion checker(u"vmreditor"_s);
        QVERIFY(checker.updateDocument(document, fromVersion));
        QCOMPARE(QString::fromLocal8Bit(readFile(logPath())).split(u'\n', Qt::SkipEmptyParts),
                 QStringList({u"-update"_s, document}) + expectedTail);
        QCOMPARE(readFile(document), QByteArray("<VMR Version=\"V2009\" Name=\"old\"><BUILD/></VMR>\n"));
    }
    void updateFailures_data()
    {
        QTest::addColumn<QByteArray>("updatePart");
        QTest::addColumn<QString>("expectedReason");
        QTest::newRow("non-zero exit with a reason")
            << QByteArray("print \"step 1\\n\"; print STDERR \"cannot convert BUILD\\n\"; exit 4;")
            << u"Update failed : cannot convert BUILD"_s;
        QTest::newRow("non-zero exit, nothing said")
            << QByteArray("exit 5;") << u"Update failed : vmrver.pl ended with exit status 5."_s;
        QTest::newRow("crash") << QByteArray("kill 9, $$; sleep 5;")
                               << u"Update failed : vmrver.pl crashed or was killed."_s;
        QTest::newRow("hang") << QByteArray("sleep 60; exit 0;")
                              << u"Update failed : vmrver.pl did not finish in time"_s;
    }
    void updateFailures()
    {
        QFETCH(QByteArray, updatePart);
        QFETCH(QString, expectedReason);
        writeScript("print \"V2005\\nV2009\\n\"; exit 0;", updatePart);
        QAVMRVersion checker(u"vmreditor"_s);
        // Long enough for a quick script on a busy machine, short for one that hangs.
        QAVMRVersion::setUpdateTimeout(3000);
        const auto text = catchErrorDialog();
        QVERIFY(!checker.updateDocument(m_install->path() + u"/doc.xvm"_s, u"V2005"_s));
        QVERIFY2(text->startsWith(expectedReason), qPrintable(*text));
    }
    void updateScriptMissing()
    {
        writeScript("print \"V2005\\nV2009\\n\"; exit 0;", "exit 0;");
        QAVMRVersion checker(u"vmreditor"_s);
        QVERIFY(QFile::remove(scriptPath()));
        // No dialog here: the load that asked reports the failure itself.
        QVERIFY(!checker.updateDocument(m_install->path() + u"/doc.xvm"_s, u"V2005"_s));
        QVERIFY(!QFile::exists(logPath()));
    }

private:
    void writeScript(const QByteArray &listPart, const QByteArray &updatePart);
    QString scriptPath() const { return m_install->path() + u"/lib/scripts/vmrver.pl"_s; }
    QString logPath() const { return m_install->path() + u"/args.log"_s; }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_install;
    QByteArray m_stagedInstall;
};

void TestVersion::writeScript(const QByteArray &listPart, const QByteArray &updatePart)
{
    QFile file(scriptPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("use strict; use warnings;\nmy $log = '" + logPath().toLocal8Bit() + "';\n"
               "if (@ARGV && $ARGV[0] eq '-list') {\n" + listPart + "\n}\n"
               "open(my $fh, '>', $log) or die; print $fh join(\"\\n\", @ARGV), \"\\n\"; close $fh;\n"
               + updatePart + "\n");
}

QTEST_MAIN(TestVersion)
#include "tst_version.moc"
