// The tree's commands: context menus of each node kind, adding, deleting and renaming
// files, and the binary-file command with its encoding script and wait dialog.

#include "document/qavmreditortree.h"

#include "document/qavmreditor.h"
#include "document/qavmrwaitdlg.h"
#include "documenttestutil.h"
#include "support/qaedition.h"
#include "support/qascriptrunner.h"
#include "testutil.h"
#include "viewers/qavmrviewer.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray s_document =
    "<?xml version=\"1.0\"?>\n<VMR Name=\"port\" type=\"CCPP\">"
    "<IS Label=\"S\"><IS_C Label=\"C\"/></IS>"
    "<BUILD Label=\"B\"><COMMENT>build</COMMENT><LINK Label=\"Link\"/>"
    "<NEWCMDFILE Name=\"run.sh\"><COMMENT/><VALUE>echo</VALUE></NEWCMDFILE>"
    "<ASSEMBLER Label=\"Asm\"/><NEWBINFILE Name=\"lib.a\"><COMMENT/><ENCODED/></NEWBINFILE>"
    "<TRAILER/></BUILD>"
    "<LIBCONF Label=\"L\"><LIBCONFC><TYPES Label=\"Types\"/></LIBCONFC></LIBCONF>"
    "<PARSERCONF Label=\"P\"><COMMENT/><C><PCOPP Label=\"Opp\"/></C></PARSERCONF>"
    "</VMR>";
QAVmrEditorNode *nodeOf(QTreeWidgetItem *item)
{
    return dynamic_cast<QAVmrEditorNode *>(item);
}

QStringList childTags(const QDomElement &element)
{
    QStringList tags;
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        tags.append(e.tagName());
    return tags;
}

/** Answers the next file dialog with path (or cancels it for an empty path). */
void chooseFile(const QString &path, QString *seen = nullptr)
{
    VmrTest::onNextModal([path, seen](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        if (!dialog) {
            if (auto *other = qobject_cast<QDialog *>(w)) other->reject();
            return;
        }
        if (seen)
            *seen = dialog->windowTitle() + QLatin1Char('|') +
                    dialog->nameFilters().join(QLatin1Char(';'));
        if (path.isEmpty()) return dialog->reject();
        // Typed as the user would: selectFile() leaves a focused name field alone.
        if (auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s))
            name->setText(path);
        else
            dialog->selectFile(path);
        // Through the base class: the file dialog checks the name as on "Open".
        static_cast<QDialog *>(dialog)->accept();
    });
}

}  // namespace

class TestQAVmrEditorTree : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void contextMenus();
    void addAsciiFile_data();
    void addAsciiFile();
    void rename_data();
    void rename();
    void deleteFiles();

    void binaryFileAdded_data();
    void binaryFileAdded();
    void binaryFileFailures_data();
    void binaryFileFailures();
    void binaryFileDialogCancelled();
    void waitDialogAndSecondBinaryFileRefused();
    void clearingStopsEncoding();

private:
    QString writeBinary(const QByteArray &mode, const QString &name = u"data.bin"_s);
    /** Adds a binary file written in the given mode through the node's menu command. */
    QString startBinary(const QString &node, const QString &command, const QByteArray &mode,
                        const QString &name = u"data.bin"_s)
    {
        const QString input = writeBinary(mode, name);
        chooseFile(input);
        runCommand(node, command, u"Binary File"_s);
        return input;
    }
    /** Runs a command from the context menu of the node with text nodeText. */
    void runCommand(const QString &nodeText, const QString &command, const QString &entry = {});

    std::unique_ptr<QTemporaryDir> m_home;
    QByteArray m_realOrbisk;
    QTemporaryDir m_fakeOrbisk;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<QAVmrEditor> m_editor;
    QString m_userTmp;
};

void TestQAVmrEditorTree::initTestCase()
{
    m_home = VmrTest::privateHome();
    m_realOrbisk = qgetenv("ORBISKDIR");
    QVERIFY(m_fakeOrbisk.isValid());
    QVERIFY(QDir(m_fakeOrbisk.path()).mkpath(u"lib/scripts"_s));
    QVERIFY(QFile::copy(VmrTest::sourceDir() + u"/tests/document/data/fake-encode64.pl"_s,
                        m_fakeOrbisk.filePath(u"lib/scripts/encode64.pl"_s)));
}

void TestQAVmrEditorTree::init()
{
    qputenv("ORBISKDIR", m_fakeOrbisk.path().toLocal8Bit());
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
    // The user's own "tmp.txt" in the working directory must survive every command.
    QVERIFY(QDir::setCurrent(m_work->path()));
    m_userTmp = m_work->filePath(u"tmp.txt"_s);
    QFile user(m_userTmp);
    QVERIFY(user.open(QIODevice::WriteOnly));
    user.write("the user's notes");
    user.close();

    m_editor = std::make_unique<QAVmrEditor>(m_work->path());
    m_editor->resize(900, 700);
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    QVERIFY(DocTest::load(*m_editor, *m_work, s_document));
    m_editor->setModified(false);
}

void TestQAVmrEditorTree::cleanup()
{
    m_editor.reset();
    QFile user(m_userTmp);
    QVERIFY(user.open(QIODevice::ReadOnly));
    QCOMPARE(user.readAll(), QByteArray("the user's notes"));
    QDir::setCurrent(QDir::tempPath());
    m_work.reset();
    qputenv("ORBISKDIR", m_realOrbisk);
}

QString TestQAVmrEditorTree::writeBinary(const QByteArray &mode, const QString &name)
{
    const QString path = m_work->filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(mode + "\n\x01\x02\xff");
    return path;
}

void TestQAVmrEditorTree::runCommand(const QString &nodeText, const QString &command,
                                     const QString &entry)
{
    QTreeWidgetItem *item = DocTest::findItem(m_editor->tree(), nodeText);
    QVERIFY(item);
    m_editor->tree()->setCurrentItem(item);
    std::unique_ptr<QMenu> menu(nodeOf(item)->createPopupMenu());
    QVERIFY(menu);
    QAction *action = DocTest::menuAction(
        menu.get(), entry.isEmpty() ? QStringList{command} : QStringList{command, entry});
    QVERIFY(action);
    action->trigger();
}

void TestQAVmrEditorTree::contextMenus()
{
    const QString append = u"A&ppend>(Ascii File|Binary File)"_s;
    const QHash<QString, QString> expected = {
        {u"port"_s, u"&Rename"_s},
        {u"B"_s, u"&Add Child>(Ascii File|Binary File)"_s},
        {u"Link"_s, append},
        {u"Asm"_s, append},
        {u"run.sh"_s, append + u";-;&Delete;&Rename"_s},
        {u"lib.a"_s, append + u";-;&Delete;&Rename"_s},
    };
    int withMenu = 0;
    for (QTreeWidgetItem *item : DocTest::allItems(m_editor->tree())) {
        std::unique_ptr<QMenu> menu(nodeOf(item)->createPopupMenu());
        const QString want = expected.value(item->text(0));
        if (want.isEmpty()) {
            QVERIFY2(!menu, qPrintable(item->text(0)));
            continue;
        }
        QVERIFY2(menu, qPrintable(item->text(0)));
        ++withMenu;
        QCOMPARE(DocTest::describeMenu(menu.get()), want);
        for (QAction *action : menu->actions()) QVERIFY(action->shortcut().isEmpty());
    }
    QCOMPARE(withMenu, expected.size());
}

void TestQAVmrEditorTree::addAsciiFile_data()
{
    QTest::addColumn<QByteArray>("build");
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("command");
    const QString append = u"A&ppend"_s;
    const QString addChild = u"&Add Child"_s;
    // Wherever it is asked for, the file goes to the end of the section.
    QTest::newRow("appended after a step") << QByteArray() << u"Link"_s << append;
    QTest::newRow("child of a section with steps")
        << QByteArray(
               "<BUILD Label=\"B\"><LINK Label=\"Link\"/><NEWCMDFILE Name=\"x\"><COMMENT/>"
               "<VALUE/></NEWCMDFILE><EXECUTE Label=\"Run\"/></BUILD>")
        << u"B"_s << addChild;
    // The first child only serves to find the section: an empty one takes the file too.
    QTest::newRow("child of an empty section")
        << QByteArray("<BUILD Label=\"B\"/>") << u"B"_s << addChild;
}

void TestQAVmrEditorTree::addAsciiFile()
{
    QFETCH(QByteArray, build);
    QFETCH(QString, node);
    QFETCH(QString, command);
    if (!build.isEmpty()) {
        QVERIFY(DocTest::load(
            *m_editor, *m_work,
            "<VMR Name=\"p\"><IS Label=\"S\"/>" + build + "<PARSERCONF Label=\"P\"/></VMR>"));
    }
    m_editor->setModified(false);
    QAVmrEditorTree *tree = m_editor->tree();
    QTreeWidgetItem *section = DocTest::findItem(tree, u"B"_s);
    const QDomElement sectionElement = nodeOf(section)->data();
    const QStringList tagsBefore = childTags(sectionElement);
    const QStringList rootTags = childTags(m_editor->rootElement());
    const int before = section->childCount();
    runCommand(node, command, u"Ascii File"_s);

    QCOMPARE(childTags(sectionElement), tagsBefore + QStringList(u"NEWCMDFILE"_s));
    QCOMPARE(childTags(m_editor->rootElement()), rootTags);
    const QDomElement file = sectionElement.lastChildElement();
    QCOMPARE(file.attribute(u"Name"_s), u"NewAsciiFile.txt"_s);
    QCOMPARE(childTags(file), QStringList({u"COMMENT"_s, u"VALUE"_s}));
    QVERIFY(file.firstChildElement(u"VALUE"_s).firstChild().isNull());

    QCOMPARE(section->childCount(), before + 1);
    QTreeWidgetItem *added = section->child(before);
    QCOMPARE(DocTest::kindOf(added), u"QACmdFileNode"_s);
    QCOMPARE(nodeOf(added)->data(), file);
    QCOMPARE(added->text(0), u"NewAsciiFile.txt"_s);
    QCOMPARE(tree->currentItem(), added);
    QCOMPARE(QString::fromLatin1(m_editor->viewer()->metaObject()->className()), u"QAFreeText"_s);
    QVERIFY(m_editor->isModified());

    // The user types the name at once.
    QVERIFY(tree->isEditing(added));
    auto *line = qobject_cast<QLineEdit *>(tree->viewport()->focusWidget());
    QVERIFY(line);
    QCOMPARE(line->text(), u"NewAsciiFile.txt"_s);
    line->selectAll();
    QTest::keyClicks(line, u"setup.cfg"_s);
    QTest::keyClick(line, Qt::Key_Return);
    QTRY_VERIFY(!tree->isEditing(added));
    QCOMPARE(file.attribute(u"Name"_s), u"setup.cfg"_s);
}

void TestQAVmrEditorTree::rename_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stored");
    QTest::newRow("file, Enter") << u"run.sh"_s << u"enter"_s << true;
    QTest::newRow("file, Escape") << u"run.sh"_s << u"escape"_s << false;
    QTest::newRow("file, focus moves away") << u"lib.a"_s << u"focus"_s << true;
    QTest::newRow("root, F2 then Enter") << u"port"_s << u"f2"_s << true;
    QTest::newRow("root, commitEdit") << u"port"_s << u"commit"_s << true;
}

void TestQAVmrEditorTree::rename()
{
    QFETCH(QString, node);
    QFETCH(QString, how);
    QFETCH(bool, stored);
    QAVmrEditorTree *tree = m_editor->tree();
    QTreeWidgetItem *item = DocTest::findItem(tree, node);
    QVERIFY(item);
    tree->setCurrentItem(item);
    m_editor->setModified(false);
    tree->setFocus();

    if (how == QLatin1String("f2"))
        QTest::keyClick(tree, Qt::Key_F2);
    else
        tree->startEdit();
    QVERIFY(tree->isEditing(item));
    QVERIFY(tree->modified);
    auto *line = qobject_cast<QLineEdit *>(tree->viewport()->focusWidget());
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, u"renamed"_s);

    if (how == QLatin1String("escape")) {
        QTest::keyClick(line, Qt::Key_Escape);
    } else if (how == QLatin1String("focus")) {
        auto *field = m_editor->findChild<QLineEdit *>();
        QVERIFY(field && field != line);
        field->setFocus();
        QTRY_VERIFY(!tree->isEditing(item));
    } else if (how == QLatin1String("commit")) {
        m_editor->commitEdit(nodeOf(item));
    } else {
        QTest::keyClick(line, Qt::Key_Return);
    }
    QTRY_VERIFY(!tree->isEditing(item));

    const QDomElement element = nodeOf(item)->data();
    QCOMPARE(element.attribute(u"Name"_s), stored ? u"renamed"_s : node);
    QCOMPARE(item->text(0), stored ? u"renamed"_s : node);
    // Starting the edit already marked the document changed, cancelled or not.
    QVERIFY(m_editor->isModified());
}

void TestQAVmrEditorTree::deleteFiles()
{
    // Only files can be deleted; other nodes, or none selected, stay.
    QAVmrEditorTree *tree = m_editor->tree();
    const QString before = m_editor->document().toString();
    for (const QString &text : {u"Link"_s, u"B"_s, u"port"_s, u"Types"_s, QString()}) {
        if (text.isEmpty())
            tree->clearSelection();
        else
            tree->setCurrentItem(DocTest::findItem(tree, text));
        tree->deleteSelectedNode();
        QVERIFY2(text.isEmpty() || DocTest::findItem(tree, text), qPrintable(text));
    }
    QCOMPARE(m_editor->document().toString(), before);
    QVERIFY(!m_editor->isModified());

    QTreeWidgetItem *build = DocTest::findItem(tree, u"B"_s);
    const QDomElement buildElement = nodeOf(build)->data();
    tree->setCurrentItem(DocTest::findItem(tree, u"run.sh"_s));
    QPointer<QAVmrViewer> scriptViewer = m_editor->viewer();
    QVERIFY(scriptViewer);
    runCommand(u"run.sh"_s, u"&Delete"_s);
    QVERIFY(!DocTest::findItem(tree, u"run.sh"_s));
    QVERIFY(buildElement.firstChildElement(u"NEWCMDFILE"_s).isNull());
    QVERIFY(m_editor->isModified());
    // The file's viewer went with it; the neighbour is shown instead.
    QVERIFY(!scriptViewer);
    QCOMPARE(tree->currentItem(), DocTest::findItem(tree, u"Asm"_s));
    QCOMPARE(m_editor->currentNode(), nodeOf(tree->currentItem()));

    // The last node of the section: the previous sibling takes over.
    tree->setCurrentItem(DocTest::findItem(tree, u"lib.a"_s));
    tree->deleteSelectedNode();
    QCOMPARE(tree->currentItem(), DocTest::findItem(tree, u"Asm"_s));
    QCOMPARE(childTags(buildElement),
             QStringList({u"COMMENT"_s, u"LINK"_s, u"ASSEMBLER"_s, u"TRAILER"_s}));
    QCOMPARE(build->childCount(), 2);
}

void TestQAVmrEditorTree::binaryFileAdded_data()
{
    QTest::addColumn<bool>("real");
    QTest::newRow("stand-in script") << false;
    QTest::newRow("installed script") << true;
}

void TestQAVmrEditorTree::binaryFileAdded()
{
    QFETCH(bool, real);
    if (real) {
        if (!QFileInfo::exists(QString::fromLocal8Bit(m_realOrbisk) +
                               u"/lib/scripts/encode64.pl"_s))
            QSKIP("The installation has no encoding script yet");
        qputenv("ORBISKDIR", m_realOrbisk);
    }
    QAVmrEditorTree *tree = m_editor->tree();
    QSignalSpy status(tree, &QAVmrEditorTree::statusMsg);
    const QString input =
        startBinary(u"Asm"_s, u"A&ppend"_s, real ? "real binary" : "ok", u"logo.png"_s);
    QVERIFY(tree->encodingRun());
    QCOMPARE(tree->binaryFilePath(), input);
    QCOMPARE(status.value(0).value(0).toString(), u"Adding binary file..."_s);
    QTRY_VERIFY_WITH_TIMEOUT(!tree->encodingRun(), 30000);
    QCOMPARE(status.last().value(0).toString(), u"Binary file added."_s);
    QCOMPARE(status.last().value(1).toInt(), 2000);
    QVERIFY(!tree->waitDialog());

    QTreeWidgetItem *build = DocTest::findItem(tree, u"B"_s);
    const QDomElement file = nodeOf(build)->data().lastChildElement();
    QCOMPARE(file.tagName(), u"NEWBINFILE"_s);
    QCOMPARE(file.attribute(u"Name"_s), u"logo.png"_s);
    QCOMPARE(childTags(file).value(0), u"COMMENT"_s);
    QCOMPARE(childTags(file).size(), 2);
    QCOMPARE(file.lastChildElement().ownerDocument(), m_editor->document());
    QTreeWidgetItem *added = build->child(build->childCount() - 1);
    QCOMPARE(DocTest::kindOf(added), u"QABinFileNode"_s);
    QCOMPARE(tree->currentItem(), added);
    QVERIFY(tree->isEditing(added));
    QVERIFY(m_editor->isModified());
    if (real) return;

    const QDomElement encoded = file.firstChildElement(u"ENCODED"_s);
    QCOMPARE(encoded.attribute(u"size"_s), u"2"_s);
    QCOMPARE(encoded.text(), u"b2s="_s);
    // The script ran in a directory of its own, which is gone with its "tmp.txt".
    QFile where(input + u".cwd"_s);
    QVERIFY(where.open(QIODevice::ReadOnly));
    const QString scriptDir = QString::fromLocal8Bit(where.readAll());
    QVERIFY(!scriptDir.isEmpty());
    QVERIFY(QFileInfo(scriptDir).canonicalFilePath() !=
            QFileInfo(m_work->path()).canonicalFilePath());
    QVERIFY(!QFileInfo::exists(scriptDir + u"/tmp.txt"_s));
}

void TestQAVmrEditorTree::binaryFileFailures_data()
{
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("message");
    const QString title = QAEdition::applicationTitle();
    // Only the last line of standard error explains the failure.
    QTest::newRow("script fails") << QByteArray("fail") << title << u"second problem\n"_s;
    QTest::newRow("script crashes") << QByteArray("crash") << title << QString();
    QTest::newRow("no output file")
        << QByteArray("notmp") << u"Critical Error"_s << u"Cannot open file tmp.txt"_s;
    QTest::newRow("output not XML")
        << QByteArray("badxml") << u"Critical Error"_s << u"Parsing error for file tmp.txt\n("_s;
    QTest::newRow("output declares entities")
        << QByteArray("bomb") << u"Critical Error"_s << u"Parsing error for file tmp.txt\n("_s;
}

void TestQAVmrEditorTree::binaryFileFailures()
{
    QFETCH(QByteArray, mode);
    QFETCH(QString, caption);
    QFETCH(QString, message);
    QAVmrEditorTree *tree = m_editor->tree();
    const QString before = m_editor->document().toString();
    const int nodes = DocTest::allItems(tree).size();
    QSignalSpy status(tree, &QAVmrEditorTree::statusMsg);

    startBinary(u"B"_s, u"&Add Child"_s, mode);
    QVERIFY(tree->encodingRun());
    QString text;
    QString title;
    VmrTest::onNextModal(
        [&text, &title](QWidget *w) {
            title = w->windowTitle();
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                text = box->text();
                box->accept();
            } else if (auto *dialog = qobject_cast<QDialog *>(w)) {
                dialog->reject();
            }
        },
        20000);
    QTRY_VERIFY_WITH_TIMEOUT(!tree->encodingRun(), 20000);
    QTRY_VERIFY(!title.isEmpty());

    QCOMPARE(title, caption);
    if (message.endsWith(QLatin1Char('(')))
        QVERIFY2(text.startsWith(message), qPrintable(text));
    else if (!message.isEmpty())
        QCOMPARE(text, message);
    else
        QVERIFY(!text.isEmpty());
    // A failure never claims success and leaves the document as it was.
    QCOMPARE(status.last().value(0).toString(), u"ERROR during adding binary file."_s);
    QCOMPARE(status.last().value(1).toInt(), 2000);
    QVERIFY(!tree->waitDialog());
    QCOMPARE(m_editor->document().toString(), before);
    QCOMPARE(DocTest::allItems(tree).size(), nodes);
    QVERIFY(!m_editor->isModified());
}

void TestQAVmrEditorTree::binaryFileDialogCancelled()
{
    QAVmrEditorTree *tree = m_editor->tree();
    QSignalSpy status(tree, &QAVmrEditorTree::statusMsg);
    QTreeWidgetItem *link = DocTest::findItem(tree, u"Link"_s);
    tree->setCurrentItem(link);
    QString seen;
    chooseFile(QString(), &seen);
    tree->appendBinaryFile();
    QCOMPARE(seen, u"Add a Binary File|Binary files (*)"_s);
    QVERIFY(!tree->encodingRun());
    QVERIFY(!tree->waitDialog());
    QCOMPARE(status.count(), 0);
    QVERIFY(!m_editor->isModified());
}

void TestQAVmrEditorTree::waitDialogAndSecondBinaryFileRefused()
{
    QAVmrEditorTree *tree = m_editor->tree();
    const QString input = startBinary(u"Link"_s, u"A&ppend"_s, "wait");
    QAScriptRunner *first = tree->encodingRun();
    QVERIFY(first);
    QPointer<QAVmrWaitDlg> dialog = tree->waitDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QAEdition::applicationTitle());
    QCOMPARE(dialog->text(), u"Please, wait while adding the binary file..."_s);
    QVERIFY(!dialog->cancelButton());

    // The window stays usable meanwhile, but a second binary file has to wait.
    QSignalSpy status(tree, &QAVmrEditorTree::statusMsg);
    tree->setCurrentItem(DocTest::findItem(tree, u"B"_s));
    tree->addChildBinaryFile();
    QCOMPARE(tree->encodingRun(), first);
    QCOMPARE(status.count(), 1);
    QVERIFY(status.value(0).value(0).toString().contains(u"still being added"_s));
    QVERIFY(!QApplication::activeModalWidget());

    // The section's other nodes may even go away while the script runs.
    tree->setCurrentItem(DocTest::findItem(tree, u"run.sh"_s));
    tree->deleteSelectedNode();
    tree->setCurrentItem(DocTest::findItem(tree, u"Link"_s));
    tree->deleteSelectedNode();

    QVERIFY(QFile(input + u".go"_s).open(QIODevice::WriteOnly));  // lets the script finish
    QTRY_VERIFY_WITH_TIMEOUT(!tree->encodingRun(), 20000);
    QVERIFY(!dialog);
    QCOMPARE(status.last().value(0).toString(), u"Binary file added."_s);
    QTreeWidgetItem *build = DocTest::findItem(tree, u"B"_s);
    QCOMPARE(build->child(build->childCount() - 1)->text(0), u"data.bin"_s);
    QCOMPARE(nodeOf(build)->data().lastChildElement().attribute(u"Name"_s), u"data.bin"_s);

    // Asked for, the dialog has a cancel button that reports the wish.
    QAVmrWaitDlg cancellable(u"Working"_s, u"Title"_s, true);
    QVERIFY(cancellable.cancelButton());
    QCOMPARE(cancellable.cancelButton()->text(), u"&Cancel"_s);
    QSignalSpy canceled(&cancellable, &QAVmrWaitDlg::canceled);
    cancellable.show();
    QTest::mouseClick(cancellable.cancelButton(), Qt::LeftButton);
    QCOMPARE(canceled.count(), 1);
}

void TestQAVmrEditorTree::clearingStopsEncoding()
{
    QAVmrEditorTree *tree = m_editor->tree();
    const QString input = startBinary(u"Link"_s, u"A&ppend"_s, "wait");
    QVERIFY(tree->encodingRun());
    QVERIFY(tree->waitDialog());
    QSignalSpy status(tree, &QAVmrEditorTree::statusMsg);

    // A new document replaces this one: the run is dropped, nothing is added anywhere.
    QVERIFY(DocTest::load(*m_editor, *m_work, s_document, u"other.xvm"_s));
    QVERIFY(!tree->encodingRun());
    QVERIFY(!tree->waitDialog());
    QCOMPARE(status.last().value(0).toString(), u"ERROR: adding binary file aborted."_s);
    const QString after = m_editor->document().toString();
    QTest::qWait(200);
    QCOMPARE(m_editor->document().toString(), after);
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestQAVmrEditorTree)
#include "tst_qavmreditortree.moc"
