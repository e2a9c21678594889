// Unsaved work outlives the editor: the real program, killed after an edit, leaves it in
// its recovery file, and the next start offers it back. What is kept is dropped once it
// is saved, discarded or undone, and a damaged recovery file is set aside.

#include "app/qaportdocument.h"
#include "app/qarecovery.h"
#include "document/qavmreditor.h"
#include "viewers/qacommentviewer.h"

#include "mainwindowdriver.h"

#include <QProcess>
#include <QTextEdit>
#include <QtTest>

using namespace VmrDrive;

namespace {

QByteArray portDocument(const QByteArray &name)
{
    return "<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n<VMR Name=\"" + name
        + "\" type=\"CCPP\" Version=\"V2009\" read_only=\"no\"><COMMENT>Port comment</COMMENT>"
          "<BUILD Label=\"Build\"><COMMENT/><NEWCMDFILE Name=\"env.sh\"><COMMENT/>"
          "<VALUE>a=1</VALUE></NEWCMDFILE></BUILD></VMR>\n";
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home, m_work;

    QString port(const QString &name)
    {
        const QString path = m_work->path() + u'/' + name;
        writeFile(path, portDocument("Kept"));
        return path;
    }
    // Types into the root's comment, as a user does.
    static void typeComment(QAMainWindowEditor *window, const QString &text)
    {
        auto *viewer = qobject_cast<QACommentViewer *>(window->editor()->viewer());
        QVERIFY(viewer);
        viewer->commentEditor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(viewer->commentEditor(), text);
    }

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void init()
    {
        m_work = std::make_unique<QTemporaryDir>();
        QDir(QARecovery::directory()).removeRecursively();
    }

    void killedEditorLeavesItsWorkToRecover()
    {
        const QString path = port(u"killed.xvm"_s);
        const QByteArray original = readFile(path);

        // An X server of its own, so that keys reach the real program as a user's do.
        // The server picks a free display and says which once it accepts clients: a
        // number of our own choosing may be taken, or left behind by a killed server.
        QProcess xserver;
        xserver.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s,
                                  u"1280x1024x24"_s, u"-nolisten"_s, u"tcp"_s});
        QVERIFY2(xserver.waitForStarted(), "Xvfb is missing: tools/vmr installs it");
        QByteArray number;
        while (!number.contains('\n') && xserver.waitForReadyRead(20000))
            number += xserver.readAllStandardOutput();
        bool started = false;
        number.trimmed().toInt(&started);
        QVERIFY2(started, "Xvfb did not say its display");
        const QString display = u":"_s + QString::fromLatin1(number.trimmed());

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, display);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        // Under the address sanitizer: the X keyboard library reads a bounded string past
        // its end with strndup, which only the strict string checks count as an error.
        if (environment.contains(u"ASAN_OPTIONS"_s))
            environment.insert(u"ASAN_OPTIONS"_s, environment.value(u"ASAN_OPTIONS"_s)
                                                      + u":strict_string_checks=0"_s);
        QProcess editor;
        editor.setProcessEnvironment(environment);
        // What the program says goes into the test's log, should it not come up.
        editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editor.start(VmrTest::program(), {path});
        QVERIFY(editor.waitForStarted());

        // The window of the document, found by its caption; the tree has the focus, so
        // F2 renames the port.
        const VmrTest::Run search = VmrTest::run(
            u"xdotool"_s, {u"search"_s, u"--sync"_s, u"--onlyvisible"_s, u"--name"_s, u"killed.xvm"_s},
            environment, 60000);
        const QString window = search.out.section(u'\n', 0, 0).trimmed();
        QVERIFY2(search.code == 0 && !window.isEmpty(), qPrintable(search.report()));
        for (const QStringList &keys :
             {QStringList{u"windowfocus"_s, u"--sync"_s, window}, {u"key"_s, u"F2"_s},
              {u"type"_s, u"--delay"_s, u"20"_s, u"Recovered"_s}, {u"key"_s, u"Return"_s}}) {
            QTest::qWait(300);
            const VmrTest::Run typed = VmrTest::run(u"xdotool"_s, keys, environment, 30000);
            QVERIFY2(typed.code == 0 && typed.out.trimmed().isEmpty(), qPrintable(typed.report()));
        }

        // The autosave of the program, in its data directory, then a kill it cannot see.
        const QString kept = m_home->path() + u"/data/Quintar Software/vmreditor/recovery/"_s
            + QFileInfo(QARecovery::fileFor(path)).fileName();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(kept), 20000);
        editor.kill();
        editor.waitForFinished();
        xserver.terminate();
        xserver.waitForFinished();
        QCOMPARE(readFile(path), original);

        // The next start offers the work back; recovered, it is there and marked unsaved,
        // and the file is still untouched until the user saves.
        QVERIFY(writeFile(QARecovery::fileFor(path), readFile(kept)));
        ModalScript dialogs({answer(u"Recover"_s)});
        auto again = openWindow(path);
        VMR_ANSWERED(dialogs);
        QVERIFY(dialogs.texts().value(0).startsWith(path + u" has unsaved changes from "_s));
        QCOMPARE(again->document()->root().attribute(u"Name"_s), u"Recovered"_s);
        QVERIFY(again->editor()->isModified() && again->isWindowModified());
        QCOMPARE(readFile(path), original);
        QVERIFY(again->document()->save(path));
        QVERIFY(readFile(path).contains("<VMR Name=\"Recovered\""));
        QVERIFY(!QFile::exists(QARecovery::fileFor(path)));
    }

    // What is kept goes when the work is saved, given up or undone, never before.
    void keptUntilSavedDiscardedOrUndone()
    {
        const QString path = port(u"doc.xvm"_s);
        const QString kept = QARecovery::fileFor(path);
        auto window = openWindow(path);

        typeComment(window.get(), u" one"_s);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(kept), 10000);
        QCOMPARE(QARecovery::read(path).state, QARecovery::State::Kept);
        QVERIFY(QARecovery::read(path).content.contains("Port comment one"));
        // Undone back to the file: nothing to recover.
        window->editor()->edits()->undo();
        QVERIFY(!window->editor()->isModified());
        QVERIFY(!QFile::exists(kept));

        typeComment(window.get(), u" two"_s);
        QVERIFY(window->document()->writeRecovery());
        QVERIFY(window->document()->save(path));
        QVERIFY(!QFile::exists(kept));

        // Closing without saving gives the work up.
        typeComment(window.get(), u" three"_s);
        QVERIFY(window->document()->writeRecovery());
        ModalScript dialogs({answer(u"No"_s)});
        QVERIFY(window->close());
        VMR_ANSWERED(dialogs);
        QVERIFY(!QFile::exists(kept));
    }

    // A new port has no file to open its work with: the next start offers it.
    void newPortNeverSaved()
    {
        QString path;
        {
            auto window = openWindow();
            QVERIFY(window->document()->load(VmrTest::templatePath(u"templatec.xvm"_s), true));
            typeComment(window.get(), u" five"_s);
            QVERIFY(window->document()->writeRecovery());
            path = window->document()->path();
        }
        QVERIFY(!QFile::exists(path) && QFile::exists(QARecovery::fileFor(path)));
        ModalScript dialogs({answer(u"Recover"_s)});
        auto window = openWindow();
        VMR_ANSWERED(dialogs);
        QVERIFY(dialogs.texts().value(0).startsWith(u"A new port, document.xvm, has unsaved"_s));
        QVERIFY(window->document()->root().firstChildElement(u"COMMENT"_s).text().endsWith(
            u" five"_s));
        QVERIFY(window->editor()->isModified());
        QCOMPARE(window->document()->path(), path);
    }

    void opening_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<bool>("fileIsNewer");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<bool>("keptAfter");
        QTest::newRow("recover") << u"Recover"_s << false << false
                                 << u"Port comment four"_s << true;
        QTest::newRow("discard") << u"Discard"_s << false << false << u"Port comment"_s << false;
        QTest::newRow("escape keeps it") << QString() << false << false
                                         << u"Port comment four"_s << true;
        QTest::newRow("file saved since") << QString() << false << true << u"Port comment"_s
                                          << true;
        QTest::newRow("truncated") << u"OK"_s << true << false << u"Port comment"_s << false;
    }
    void opening()
    {
        QFETCH(QString, answer);
        QFETCH(bool, damaged);
        QFETCH(bool, fileIsNewer);
        QFETCH(QString, comment);
        QFETCH(bool, keptAfter);
        const QString path = port(u"doc.xvm"_s);
        const QString kept = QARecovery::fileFor(path);
        {
            auto window = openWindow(path);
            typeComment(window.get(), u" four"_s);
            QVERIFY(window->document()->writeRecovery());
            // The window goes without a close, as in a crash: nothing may remove what is kept.
        }
        QVERIFY(QFile::exists(kept));
        if (damaged) {
            QFile file(kept);
            QVERIFY(file.resize(file.size() - 10));
        }
        if (fileIsNewer) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                     QFileDevice::FileModificationTime));
        }

        ModalScript dialogs(answer.isNull() ? QList<Handler>{pressKey(Qt::Key_Escape)}
                                            : QList<Handler>{VmrDrive::answer(answer)});
        auto window = openWindow(path);
        if (!fileIsNewer)
            VMR_ANSWERED(dialogs);
        else
            QVERIFY(dialogs.texts().isEmpty());
        if (damaged) {
            QVERIFY(dialogs.texts().value(0).contains(u"cannot be read"_s));
            QVERIFY(QFile::exists(kept + u".damaged"_s));
        }
        QCOMPARE(window->document()->root().firstChildElement(u"COMMENT"_s).text(), comment);
        QCOMPARE(window->editor()->isModified(), comment != u"Port comment"_s);
        QCOMPARE(QFile::exists(kept), keptAfter);
        QCOMPARE(readFile(path), portDocument("Kept"));
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
