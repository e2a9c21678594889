// The life of a document in the real main window: open, check and update its version,
// save, save under another name, replace, refuse, and hand it to the generation and
// export scripts, stand-ins that record their runs.

#include "app/qavmrver.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qainstall.h"
#include "viewers/qacommentviewer.h"

#include "mainwindowdriver.h"

#include <QMenuBar>
#include <QMimeData>
#include <QTextEdit>
#include <QtTest>

#include <sys/stat.h>

using namespace VmrDrive;

namespace {

const QString kGen = u"vmrgen.pl"_s, kPrint = u"vmrprint.pl"_s, kSaved = u"VMR Files saved."_s;

// A port with something of every kind, and things the editor does not know about.
QByteArray portDocument(const QString &generateIn, const QByteArray &name = "Roundtrip",
                        const QByteArray &readOnly = "no")
{
    return "<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n<VMR Name=\"" + name + "\" type=\"CCPP\""
        + " Version=\"V2009\" read_only=\"" + readOnly + "\" generate_in=\"" + generateIn.toUtf8()
        + "\" Extra=\"&amp; &quot;\"><COMMENT>Port comment</COMMENT><!-- a note -->\n"
          "<VENDOR id=\"7\"><![CDATA[<raw> & text]]><EMPTY/></VENDOR>\n<IS Label=\"Settings\">"
          "<COMMENT/><IS_C Label=\"C\"><SETTINGS><COMMENT/><SRCEXT Label=\"Source\"><VALUE>.c"
          "</VALUE><COMMENT/></SRCEXT></SETTINGS></IS_C></IS>\n<BUILD Label=\"Build\"><COMMENT/>"
          "<NEWCMDFILE Name=\"env.sh\"><COMMENT/><VALUE>a=1\n\xc3\xa9 \xe2\x88\x91</VALUE>"
          "</NEWCMDFILE><MYSTERY>left alone</MYSTERY></BUILD>\n<LIBCONF Label=\"Library\">"
          "<COMMENT/></LIBCONF>\n</VMR>\n";
}

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home, m_work;
    std::unique_ptr<Install> m_install;

    QString work(const QString &name) const { return m_work->path() + u'/' + name; }
    QString port(const QString &name, const QByteArray &portName = "Roundtrip",
                 const QByteArray &readOnly = "no")
    {
        writeFile(work(name), portDocument(m_install->targets(), portName, readOnly));
        return work(name);
    }
    // A run started would still be current, or would have logged itself.
    bool nothingGenerated(QAMainWindowEditor *window) const
    {
        return !window->scriptRun() && m_install->runsOf(kGen).isEmpty();
    }
    // A version script that lists versions and otherwise runs the update given.
    void writeVersionScript(const QByteArray &update, const QByteArray &list = "V2005\\nV2009")
    {
        m_install->writeScript(u"vmrver.pl"_s, "if ($ARGV[0] eq '-list') { print \"" + list
                                                   + "\\n\"; exit 0; }\n" + update);
    }

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void init()
    {
        m_install = std::make_unique<Install>();
        m_work = std::make_unique<QTemporaryDir>();
        m_install->writeScript(kGen, "exit 0;");
        m_install->writeScript(kPrint, "exit 0;");
        clearSettings();
    }
    void cleanup()
    {
        QAVMRVersion::setUpdateTimeout(120000);
        m_install.reset();
    }

    void roundTripKeepsEditsAndUnknownElements()
    {
        const QByteArray original = portDocument(m_install->targets());
        const QString path = work(u"roundtrip.xvm"_s), missing = work(u"gone.xvm"_s);
        QVERIFY(writeFile(path, original));
        auto window = openWindow();
        QStringList seen;
        ModalScript dialogs({choosePath(path, &seen), choosePath(QString()), answer(u"OK"_s)});
        action(window.get(), "fileOpenAction")->trigger();
        QCOMPARE(status(window.get()), u"File loaded."_s);
        QCOMPARE(seen.value(0), QDir(window->document()->xmlDirectory()).absolutePath());
        // Neither a cancelled dialog nor a file that cannot be read replaces what is open.
        action(window.get(), "fileOpenAction")->trigger();
        window->document()->load(missing, false);
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts().value(2),
                 missing + u"\n\nYou don't have the access right to read this .xvm file."_s);
        QCOMPARE(window->windowTitle(), titled(u"roundtrip.xvm"_s));

        // The root's comment, typed where a user types it.
        auto *viewer = qobject_cast<QACommentViewer *>(window->editor()->viewer());
        QVERIFY(viewer);
        viewer->commentEditor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(viewer->commentEditor(), u" and more"_s);
        QVERIFY(window->editor()->isModified());
        action(window.get(), "fileSaveAction")->trigger();
        QVERIFY(window->document()->lastSaveOk() && !window->editor()->isModified());
        QTRY_COMPARE(status(window.get()), kSaved);
        QCOMPARE(m_install->runsOf(kGen), QStringList{path + u'|' + m_install->targets()});
        const QByteArray saved = readFile(path);
        QVERIFY2(saved.startsWith("<!DOCTYPE VMR SYSTEM 'vmr.dtd'>\n<VMR "), saved.constData());
        const QString expected = canonicalDocument(QByteArray(original).replace(
            "<COMMENT>Port comment</COMMENT>", "<COMMENT>Port comment and more</COMMENT>"));
        QCOMPARE(canonicalDocument(saved), expected);
        window.reset();
        // The next start opens the file saved last, with the edit and every foreign element.
        auto again = openWindow();
        QCOMPARE(again->document()->path(), path);
        QCOMPARE(canonical(again->document()->root()), expected);
    }

    void versionRefused_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QByteArray>("update");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("texts");
        const QString question = u"This xvm file does not correspond to the current version. "
                                 "It requires an update to be edited."_s;
        const QString failed = u"Error updating VMR file, cancel load"_s;
        QTest::newRow("unknown") << QByteArray("V1999") << QByteArray() << QStringList{u"OK"_s}
                                 << QStringList{u"Unknown version for VMR file, can't edit"_s};
        QTest::newRow("newer")
            << QByteArray("V2011") << QByteArray() << QStringList{u"OK"_s}
            << QStringList{u"VMR file is newer than editor, please update your editor"_s};
        QTest::newRow("older, declined") << QByteArray("V2005") << QByteArray()
                                         << QStringList{u"Don't edit"_s} << QStringList{question};
        QTest::newRow("older, update fails")
            << QByteArray("V2005") << QByteArray("print STDERR \"BUILD is damaged\\n\"; exit 2;")
            << QStringList{u"Update"_s, u"OK"_s, u"OK"_s}
            << QStringList{question, u"Update failed : BUILD is damaged"_s, failed};
        QTest::newRow("older, update hangs") << QByteArray("V2005") << QByteArray("sleep 60;")
            << QStringList{u"Update"_s, u"OK"_s, u"OK"_s}
            << QStringList{question, u"Update failed : vmrver.pl did not finish in time and was "
                                     "stopped."_s, failed};
        // An update that leaves the version as it was must not be offered again and again.
        // Without a version there is no version to update from.
        QTest::newRow("no version, update changes nothing")
            << QByteArray() << QByteArray("exit 0;") << QStringList{u"Update"_s, u"OK"_s}
            << QStringList{question, failed};
    }
    void versionRefused()
    {
        QFETCH(QByteArray, version);
        QFETCH(QByteArray, update);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, texts);
        // Blank lines of the list are no versions.
        writeVersionScript(update, "V2005\\n\\n \\nV2009\\nV2011");
        QAVMRVersion::setUpdateTimeout(3000);
        const QString good = port(u"good.xvm"_s), bad = work(u"bad.xvm"_s);
        const QByteArray goodBytes = readFile(good);
        const QByteArray badBytes = portDocument(m_work->path()).replace("V2009", version);
        QVERIFY(writeFile(bad, badBytes));
        auto window = openWindow(good);
        QList<Handler> handlers;
        for (const QString &label : answers)
            handlers << answer(label);
        ModalScript dialogs(handlers);
        window->document()->load(bad, false);
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts(), texts);
        QCOMPARE(status(window.get()), u"ERROR: cannot load the file."_s);
        // Nothing of the refused file can be written over the document open before it.
        window->fileSave();
        QVERIFY(!window->document()->lastSaveOk() && nothingGenerated(window.get()));
        QCOMPARE(readFile(good), goodBytes);
        QCOMPARE(readFile(bad), badBytes);
        const QString run = u"-update|"_s + bad
            + (version.isEmpty() ? QString() : u"|-fromver|"_s + QLatin1String(version));
        QCOMPARE(m_install->runsOf(u"vmrver.pl"_s).mid(1),
                 QStringList(update.isEmpty() ? 0 : 1, run + u"|-tover|V2009"_s));
    }

    void saveAs()
    {
        const QString other = port(u"other.xvm"_s, "Other");
        const QString locked = port(u"locked.xvm"_s, "Locked", "yes");
        const QByteArray otherBytes = readFile(other), lockedBytes = readFile(locked);
        auto window = openWindow(port(u"first.xvm"_s, "Mine"));
        // A name without extension gets one; Save As writes but does not generate.
        ModalScript plain({choosePath(work(u"second"_s))});
        action(window.get(), "fileSaveAsAction")->trigger();
        VMR_ANSWERED(plain);
        QCOMPARE(plain.texts(), QStringList{u"Save xvm As"_s});
        QCOMPARE(window->windowTitle(), titled(u"second.xvm"_s));
        QCOMPARE(canonicalDocument(readFile(work(u"second.xvm"_s))),
                 canonical(window->document()->root()));
        QCOMPARE(status(window.get()), u"xvm file saved."_s);
        QVERIFY(nothingGenerated(window.get()));

        // A name that ends with a dot has an empty extension too. Forbidden characters
        // bring the dialog back in the same place with the name made acceptable. (Each
        // copy is another port of the same name: the clash is accepted.)
        QStringList again;
        ModalScript renamed({choosePath(work(u"third."_s)), answer(u"Yes"_s),
                             choosePath(work(u"my port"_s)), answer(u"OK"_s),
                             choosePath(work(u"my_port.xvm"_s), &again), answer(u"Yes"_s)});
        window->fileSaveAs();
        QCOMPARE(window->document()->path(), work(u"third..xvm"_s));
        window->fileSaveAs();
        VMR_ANSWERED(renamed);
        QCOMPARE(renamed.texts().value(3), u"The name of a .xvm file cannot contain one of the "
                                           "following characters:\n\t[\\ /+*?~|, :\"'`]"_s);
        QCOMPARE(again, QStringList({QDir(m_work->path()).absolutePath(), u"my_port.xvm"_s}));
        QVERIFY(!QFile::exists(work(u"my port.xvm"_s)) && QFile::exists(work(u"my_port.xvm"_s)));

        // Over an existing file: No asks again and a cancel leaves the file alone; a
        // read-only port is never replaced, even when the user says yes; Yes replaces.
        ModalScript replace({choosePath(other), answer(u"No"_s), choosePath(QString()),
                             choosePath(locked), answer(u"Yes"_s), answer(u"OK"_s),
                             choosePath(QString()), choosePath(other), answer(u"Yes"_s),
                             answer(u"Yes"_s)});
        window->fileSaveAs();
        window->fileSaveAs();
        QVERIFY(!window->document()->lastSaveOk());
        QCOMPARE(readFile(other), otherBytes);
        QCOMPARE(readFile(locked), lockedBytes);
        window->fileSaveAs();
        VMR_ANSWERED(replace);
        QCOMPARE(replace.texts().value(1),
                 u"The file %1 already exists.\n Do you want to replace it?"_s.arg(other));
        QCOMPARE(replace.texts().value(5),
                 locked + u"cannot be overwritten.\n Please select another file."_s);
        QCOMPARE(window->document()->path(), other);
        QCOMPARE(rootOf(readFile(other)).attribute(u"Name"_s), u"Mine"_s);
    }

    void portNameClash()
    {
        const QString targets = m_install->targets();
        // Every "NAME=" line of a sub-directory's settings files names a port.
        QVERIFY(writeFile(targets + u"/beta/extra.ini"_s, "x=1\nNAME=Ada Beta\r\nname=no\n"));
        QVERIFY(writeFile(targets + u"/beta/notes.txt"_s, "NAME=ignored\n"));
        QVERIFY(writeFile(targets + u"/other/port.ini"_s, "NAME=\"C++ Clash\"\n"));
        const QString path = port(u"clash.xvm"_s, "Clash");
        const QByteArray bytes = readFile(path);
        auto window = openWindow(path);
        QStringList found;
        for (const auto &entry : window->document()->portList())
            found << entry->dirName + u':' + entry->portName;
        QCOMPARE(found, QStringList({u"beta:Ada Beta"_s, u"other:C++ Clash"_s}));
        // No keeps the file and offers the name for editing; Yes saves anyway.
        ModalScript dialogs({answer(u"No"_s), answer(u"Yes"_s)});
        window->fileSave();
        QCOMPARE(status(window.get()), u"xvm file not saved."_s);
        QCOMPARE(readFile(path), bytes);
        QCOMPARE(window->editor()->tree()->currentItem(),
                 window->editor()->tree()->topLevelItem(0));
        QVERIFY(window->editor()->tree()->isEditing(window->editor()->tree()->topLevelItem(0)));
        QVERIFY(nothingGenerated(window.get()));
        window->fileSave();
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts().value(0), u"Clash\nalready exists in your \"targets/\" "
                                           "directory.\n Do you want to save anyway?"_s);
        QTRY_COMPARE(m_install->runsOf(kGen).size(), 1);
        QTRY_VERIFY(!window->scriptRun());
    }

    void readOnlyTemplateGoesThroughSaveAs()
    {
        const QString source = m_install->targets() + u"/xml/templatec.xvm"_s;
        const QByteArray sourceBytes = readFile(source);
        QVERIFY(sourceBytes.contains("read_only=\"yes\""));
        auto window = openWindow();
        window->document()->load(source, true);
        // Save As cancelled: no directory is asked for, nothing is written or generated.
        // Then named, and a directory to generate in: the copy is saved and generated.
        const QString named = work(u"newport.xvm"_s), ports = work(u"ports"_s);
        QVERIFY(QDir().mkpath(ports));
        ModalScript dialogs({choosePath(QString()), choosePath(named), choosePath(ports)});
        action(window.get(), "fileSaveAction")->trigger();
        QVERIFY(!window->document()->lastSaveOk() && nothingGenerated(window.get()));
        QVERIFY(!QFile::exists(window->document()->xmlDirectory() + u"/document.xvm"_s));
        action(window.get(), "fileSaveAction")->trigger();
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts(),
                 QStringList({u"Save xvm As"_s, u"Save xvm As"_s, u"Generate VMR In"_s}));
        const QDomElement saved = rootOf(readFile(named));
        QCOMPARE(saved.attribute(u"read_only"_s) + saved.attribute(u"generate_in"_s),
                 u"no"_s + ports);
        QTRY_COMPARE(status(window.get()), kSaved);
        QCOMPARE(m_install->runsOf(kGen), QStringList{named + u'|' + ports});
        QCOMPARE(readFile(source), sourceBytes);
    }

    void generationOutcome_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("shown"); // empty: the run succeeds
        QTest::newRow("warning on standard error, exit 0")
            << QByteArray("print STDERR \"warning: no binary file\\n\"; exit 0;") << QString();
        QTest::newRow("several lines, the last one shown")
            << QByteArray("print STDERR \"line one\\nline two\\nno LIBCONF section\\n\"; exit 1;")
            << u"no LIBCONF section\n"_s;
        QTest::newRow("silent failure")
            << QByteArray("exit 7;") << u"vmrgen.pl ended with exit status 7.\n"_s;
        QTest::newRow("crash after a reason")
            << QByteArray("print STDERR \"writing build.pl\\n\"; kill 9, $$; sleep 5;")
            << u"vmrgen.pl crashed or was killed.\nwriting build.pl\n"_s;
    }
    void generationOutcome()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, shown);
        // Each run follows a failed one, whose reason must never be shown again.
        const QString failed = u"ERROR during saving file."_s, path = port(u"gen.xvm"_s);
        m_install->writeScript(kGen, "print STDERR \"old reason\\n\"; exit 1;");
        auto window = openWindow(path);
        ModalScript dialogs(QList<Handler>(shown.isEmpty() ? 1 : 2, answer(u"OK"_s)));
        window->fileSave();
        QTRY_COMPARE(status(window.get()), failed);
        m_install->writeScript(kGen, script);
        action(window.get(), "fileSaveAction")->trigger();
        QVERIFY(window->document()->lastSaveOk() && window->scriptRun());
        QCOMPARE(window->errorText(), QString());
        QCOMPARE(status(window.get()), u"Generate VMR..."_s);
        // A caption that only the refresh after a successful run puts right.
        window->setWindowTitle(u"before"_s);
        QTRY_COMPARE(status(window.get()), shown.isEmpty() ? kSaved : failed);
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts(), shown.isEmpty() ? QStringList{u"old reason\n"_s}
                                                  : QStringList({u"old reason\n"_s, shown}));
        QCOMPARE(m_install->runsOf(kGen), QStringList(2, path + u'|' + m_install->targets()));
        QCOMPARE(window->windowTitle(), shown.isEmpty() ? titled(u"gen.xvm"_s) : u"before"_s);
        if (shown.isEmpty())
            QCOMPARE(window->errorText(), u"warning: no binary file\n"_s);
        QCOMPARE(canonicalDocument(readFile(path)), canonical(window->document()->root()));
    }

    void secondRunIsRefused()
    {
        const QString release = work(u"release"_s), path = port(u"gen.xvm"_s);
        m_install->writeScript(kGen, "for (1 .. 1200) { last if -e '" + release.toLocal8Bit()
                                         + "'; select(undef, undef, undef, 0.05); }");
        auto window = openWindow(path);
        QVERIFY(shown(window.get()));
        ModalScript dialogs;
        window->fileSave();
        QTRY_COMPARE(m_install->runsOf(kGen).size(), 1);
        // Neither a second generation nor an export starts meanwhile; no dialog comes up.
        for (const char *name : {"fileExportAsAction", "fileGenerateAsAction", "fileSaveAction"}) {
            action(window.get(), name)->trigger();
            QVERIFY2(status(window.get()).contains(u"still running"_s), name);
        }
        VMR_ANSWERED(dialogs);
        QVERIFY(writeFile(release, "go"));
        QTRY_COMPARE(status(window.get()), kSaved);
        QCOMPARE(m_install->runsOf(kGen).size() + m_install->runsOf(kPrint).size(), 1);
    }

    void generateInAnotherDirectory()
    {
        const QString ports = work(u"ports"_s), path = port(u"gen.xvm"_s, "Gen");
        QVERIFY(writeFile(ports + u"/existing/port.ini"_s, "NAME=\"Ada Existing\"\n"));
        auto window = openWindow(path);
        // Cancelled: nothing is saved or run, not even a change made meanwhile.
        const QByteArray before = readFile(path);
        window->document()->root().setAttribute(u"Extra"_s, u"changed"_s);
        QStringList seen;
        ModalScript dialogs({choosePath(QString(), &seen), choosePath(ports + u'/')});
        window->fileGenerateAs();
        QCOMPARE(seen.value(0), QDir(m_install->targets()).absolutePath());
        QCOMPARE(readFile(path), before);
        QVERIFY(!window->scriptRun() && m_install->runsOf(kGen).isEmpty());
        // A trailing separator is dropped; the chosen directory's ports are read.
        action(window.get(), "fileGenerateAsAction")->trigger();
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts(), QStringList(2, u"Generate VMR In"_s));
        QCOMPARE(window->document()->targetDirectory(), ports);
        QVERIFY(window->document()->findPortEntry(u"existing"_s, u"Ada Existing"_s));
        QCOMPARE(rootOf(readFile(path)).attribute(u"generate_in"_s), ports);
        QTRY_COMPARE(status(window.get()), kSaved);
        // The plain Save && Generate now goes to the same place.
        window->fileSave();
        QTRY_COMPARE(m_install->runsOf(kGen), QStringList(2, path + u'|' + ports));
        QTRY_VERIFY(!window->scriptRun());
    }

    void exportRuns()
    {
        // Export reads the file as last saved: an unsaved change is not written first.
        m_install->writeScript(kPrint, "open(my $o, '>', $ARGV[1]) or die; print $o \"text\";");
        const QString path = port(u"gen.xvm"_s);
        const QByteArray before = readFile(path);
        auto window = openWindow(path);
        window->document()->root().setAttribute(u"Name"_s, u"Unsaved"_s);
        window->setWindowTitle(u"before"_s);
        // A name without a dot, or ending with one, gets ".txt"; another extension stays.
        ModalScript dialogs({choosePath(work(u"out"_s)), choosePath(work(u"out.text"_s)),
                             choosePath(work(u"out."_s)), choosePath(work(u"failed"_s)),
                             answer(u"OK"_s), choosePath(QString()), choosePath(work(u"gone"_s)),
                             answer(u"OK"_s)});
        QStringList runs;
        for (const QString &name : {u"out.txt"_s, u"out.text"_s, u"out..txt"_s}) {
            action(window.get(), "fileExportAsAction")->trigger();
            QCOMPARE(status(window.get()), u"Generate VMR..."_s);
            QTRY_COMPARE(status(window.get()), u"xvm file exported."_s);
            QCOMPARE(readFile(work(name)), QByteArray("text"));
            runs << path + u'|' + work(name);
        }
        QCOMPARE(m_install->runsOf(kPrint), runs);
        QCOMPARE(readFile(path), before);
        QCOMPARE(window->windowTitle(), u"before"_s);

        // A failing export; a cancelled file dialog runs nothing; a missing script is
        // reported with the document, not the output file.
        m_install->writeScript(kPrint, "print STDERR \"cannot write the text\\n\"; exit 2;");
        window->fileExportAs();
        QTRY_COMPARE(status(window.get()), u"ERROR during export file."_s);
        window->fileExportAs();
        QCOMPARE(m_install->runsOf(kPrint).size(), 4);
        QVERIFY(QFile::remove(m_install->script(kPrint)));
        window->fileExportAs();
        VMR_ANSWERED(dialogs);
        QCOMPARE(status(window.get()), u"ERROR: cannot export this Velmor (xvm) file."_s);
        QCOMPARE(dialogs.texts().count(u"Export xvm In"_s), 6);
        QCOMPARE(dialogs.texts().value(4), u"cannot write the text\n"_s);
        QVERIFY2(dialogs.texts().value(7).endsWith(u"vmrprint.pl "_s + path
                                                   + u"\nUnable to run command"_s),
                 qPrintable(dialogs.texts().value(7)));

        // A missing generation script: the command that could not run.
        QVERIFY(QFile::remove(m_install->script(kGen)));
        ModalScript missing({answer(u"OK"_s)});
        window->fileSave();
        VMR_ANSWERED(missing);
        QCOMPARE(missing.texts(), QStringList{(QAInstall::perlCommand(VmrTest::program())
                                               + QStringList{m_install->script(kGen), path})
                                                  .join(u' ') + u"\nUnable to run command"_s});
        QCOMPARE(status(window.get()), u"ERROR: cannot generate all the Velmor files."_s);
        QVERIFY(window->document()->lastSaveOk() && !window->scriptRun());
    }

    void realGenerationUnderAnyPath()
    {
        // The real generation script, for a document and a target directory whose paths
        // hold blanks and letters outside ASCII: "dir with spaces/ünï cødé 文件/my port ✓.xvm".
        for (const QString &name : {kGen, u"VmrDoc.pm"_s}) {
            QFile::remove(m_install->script(name));
            QVERIFY(QFile::copy(VmrTest::sourceDir() + u"/lib/scripts/"_s + name,
                                m_install->script(name)));
        }
        const QString dir = work(u"dir with spaces/\u00fcn\u00ef c\u00f8d\u00e9 \u6587\u4ef6"_s);
        const QString path = dir + u"/my port \u2713.xvm"_s, ports = dir + u"/ports \u2713"_s;
        const QByteArray portName = "\xc3\x9cn\xc3\xaf \xe2\x9c\x93";  // Ünï ✓
        QVERIFY(writeFile(path, portDocument(ports, portName)) && QDir().mkpath(ports));
        auto window = openWindow(path);
        ModalScript dialogs;
        action(window.get(), "fileSaveAction")->trigger();
        QVERIFY(window->document()->lastSaveOk());
        QTRY_COMPARE(status(window.get()), kSaved);
        VMR_ANSWERED(dialogs);
        const QString port = ports + u"/my port \u2713"_s;
        QCOMPARE(readFile(port + u"/env.sh"_s), QByteArray("a=1\n\xc3\xa9 \xe2\x88\x91"));
        const QByteArray record = "\nNAME=\"C++ " + portName + "\"\n";
        QVERIFY(readFile(port + u"/port.ini"_s).contains(record));
    }

    // The documents a user comes back to: chosen from File > Open Recent, or dropped on the
    // window; either way a document with changes asks first, and text fields take no files.
    void openRecentAndDropped()
    {
        const QString a = port(u"a.xvm"_s), b = port(u"b.xvm"_s), gone = port(u"gone.xvm"_s);
        auto window = openWindow(gone);
        QVERIFY(window->document()->load(b, false) && window->document()->load(a, false));
        QVERIFY(QFile::remove(gone));
        auto *viewer = qobject_cast<QACommentViewer *>(window->editor()->viewer());
        QVERIFY(viewer);
        QTest::keyClicks(viewer->commentEditor(), u"x"_s);

        // Newest first, numbered, the vanished file left out; File opened from the menu bar.
        QVERIFY(shown(window.get()));
        auto menu = VmrTest::chooseFromNextMenu([](const QStringList &entries) {
            return entries.filter(u"b.xvm"_s).value(0);
        });
        ModalScript dialogs({answer(u"No"_s)});
        QMenuBar *bar = window->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(bar->actions().constFirst()).center());
        QTRY_COMPARE(window->document()->path(), b);
        VMR_ANSWERED(dialogs);
        const QStringList recent = menu->entries.filter(u"Open &Recent>"_s);
        QCOMPARE(recent.value(0).section(u'[', 0, 0), u"Open &Recent>&1 a.xvm "_s);
        QCOMPARE(recent.value(1).section(u'[', 0, 0), u"Open &Recent>&2 b.xvm "_s);
        QVERIFY(recent.filter(u"gone.xvm"_s).isEmpty());

        // A file dragged onto a text field goes past it to the window.
        viewer = qobject_cast<QACommentViewer *>(window->editor()->viewer());
        QWidget *target = viewer->commentEditor()->viewport();
        const auto drop = [target](const QString &path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            data.setText(QUrl::fromLocalFile(path).toString());
            return VmrTest::dropOn(target, data);
        };
        QVERIFY(!drop(work(u"notes.txt"_s)));
        QTest::keyClicks(viewer->commentEditor(), u"y"_s);
        ModalScript more({answer(u"No"_s)});
        QVERIFY(drop(a));
        QTRY_COMPARE(window->document()->path(), a);
        VMR_ANSWERED(more);
        QCOMPARE(window->document()->root().firstChildElement(u"COMMENT"_s).text(),
                 u"Port comment"_s);
    }

    void refusedLoadSaysWhy_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("reason");
        // A file dialog opens a directory instead of choosing it.
        const QString pipe = u"This cannot be opened as a .xvm file. It is not a regular file."_s;
        const QString refused = u"ERROR: cannot load the file.\n"_s;
        for (const QString &route : {u"command line"_s, u"File > Open"_s, u"last file"_s}) {
            const auto row = [&](const QString &kind, const QString &reason) {
                QTest::newRow(qPrintable(kind + u", "_s + route)) << kind << route << reason;
            };
            row(u"named pipe"_s, pipe);
            if (route != u"File > Open"_s)
                row(u"directory"_s, u"This cannot be opened as a .xvm file. It is a directory."_s);
            row(u"broken XML"_s, refused + u"Opening and ending tag mismatch. (line 2, column 15)"_s);
            row(u"no port"_s, refused + u"It is not a port description: its root element is not VMR."_s);
        }
    }
    // Refused at once, with the reason in a message box: the status line is gone before it is
    // read, and a pipe would hang the start for ever.
    void refusedLoadSaysWhy()
    {
        QFETCH(QString, kind);
        QFETCH(QString, route);
        QFETCH(QString, reason);
        const QString path = work(u"x.xvm"_s);
        if (kind == u"named pipe"_s)
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (kind == u"directory"_s)
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(writeFile(path, kind == u"no port"_s ? "<PORT Name=\"x\"/>\n"
                                                           : "<VMR Name=\"x\">\n<COMMENT></VMR>\n"));
        QList<Handler> answers{answer(u"OK"_s)};
        std::unique_ptr<QAMainWindowEditor> window;
        if (route == u"File > Open"_s) {
            window = openWindow();
            answers.prepend(choosePath(path));
        }
        ModalScript dialogs(answers);
        if (route == u"command line"_s) {
            window = openWindow(path);
        } else if (route == u"last file"_s) {
            clearSettings().setValue(u"/Orbisk/vmreditor/recentFile"_s, path);
            window = openWindow();
        } else {
            action(window.get(), "fileOpenAction")->trigger();
        }
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts().last(), path + u"\n\n"_s + reason);
        QVERIFY(window->document()->root().isNull() && window->document()->path().isEmpty());
    }
};

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
