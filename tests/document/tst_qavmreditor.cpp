// The editor widget and its tree: the tree built from a document, what a change of the
// current node keeps, and the tree's commands on files, binary ones with their script.

#include "document/qavmreditor.h"

#include "document/qavmreditortree.h"
#include "document/qavmreditornode.h"
#include "document/qavmrwaitdlg.h"
#include "support/qaedition.h"
#include "support/qascriptrunner.h"
#include "testutil.h"
#include "viewers/qaisviewer.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <typeinfo>

using namespace Qt::StringLiterals;

namespace {

QByteArray vmr(const QByteArray &body, const QByteArray &rootAttributes = "Name=\"port\"")
{
    return "<?xml version=\"1.0\"?>\n<VMR " + rootAttributes + " type=\"CCPP\">" + body + "</VMR>";
}

// Every node kind that has a menu, around a step that the tree does not show.
const QByteArray s_document = vmr(
    "<IS Label=\"S\"><IS_C Label=\"C\"/></IS><BUILD Label=\"B\"><COMMENT>build</COMMENT>"
    "<LINK Label=\"Link\"/><NEWCMDFILE Name=\"run.sh\"><COMMENT/><VALUE>echo</VALUE></NEWCMDFILE>"
    "<ASSEMBLER Label=\"Asm\"/><NEWBINFILE Name=\"lib.a\"><COMMENT/><ENCODED/></NEWBINFILE>"
    "<TRAILER/></BUILD><LIBCONF Label=\"L\"><LIBCONFC><TYPES Label=\"Types\"/></LIBCONFC>"
    "</LIBCONF>");

/** A node's class without "QA" and "Node". */
QString kindOf(QTreeWidgetItem *item)
{
    const QRegularExpression decoration(u"^\\d+QA|Node$"_s);  // of the mangled class name
    return QString::fromLatin1(typeid(*item).name()).remove(decoration);
}

QAVmrEditorNode *nodeOf(QTreeWidgetItem *item) { return dynamic_cast<QAVmrEditorNode *>(item); }

QList<QTreeWidgetItem *> allItems(QTreeWidget *tree)
{
    QList<QTreeWidgetItem *> items;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) items << *it;
    return items;
}

/** "kind text" of a node, followed by its children in parentheses. */
QString outline(QTreeWidgetItem *item)
{
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i) children << outline(item->child(i));
    const QString node = kindOf(item) + u' ' + item->text(0);
    return children.isEmpty() ? node : node + u'(' + children.join(u", "_s) + u')';
}

QTreeWidgetItem *findItem(QTreeWidget *tree, const QString &text)
{
    return tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

QString childTags(const QDomElement &element)
{
    QStringList tags;
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        tags << e.tagName();
    return tags.join(u' ');
}

/** Answers the next file dialog with path typed into its name field, or cancels it. */
void chooseFile(const QString &path, QString *seen = nullptr)
{
    VmrTest::onNextModal([path, seen](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        QVERIFY(dialog);
        if (seen) *seen = dialog->windowTitle() + u'|' + dialog->nameFilters().join(u';');
        if (path.isEmpty()) return dialog->reject();
        dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(path);
        static_cast<QDialog *>(dialog)->accept();  // checks the name as "Open" does
    });
}

}  // namespace

class TestQAVmrEditor : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home = VmrTest::privateHome();
    const QByteArray m_realOrbisk = qgetenv("ORBISKDIR");
    QTemporaryDir m_fakeOrbisk;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<QAVmrEditor> m_editor;

    QAVmrEditorTree *tree() const { return m_editor->tree(); }
    /** Loads as the main window does: clear, parse, build, select the first node. */
    bool load(const QByteArray &xml, const QString &name = u"doc.xvm"_s)
    {
        QFile file(m_work->filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(xml) < 0) return false;
        file.close();
        m_editor->clear();
        m_editor->setModified(false);
        QDomElement root = m_editor->getRootElement(file.fileName());
        if (root.isNull() || !m_editor->buildTree(root)) return false;
        tree()->setCurrentItem(tree()->topLevelItem(0));
        return true;
    }
    /**
     * Right-clicks the node with the given text (none: empty space), chooses the entry at
     * path from its menu and lets the command run; whether a menu opened.
     */
    bool runCommand(const QString &node, const QString &path, QStringList *entries = nullptr)
    {
        QTreeWidgetItem *item = findItem(tree(), node);
        if (item) tree()->scrollToItem(item);
        const QPoint at = item ? tree()->visualItemRect(item).center()
                               : QPoint(5, tree()->viewport()->height() - 5);
        const auto seen = VmrTest::chooseFromNextMenu(path);
        VmrTest::rightClick(tree()->viewport(), at);
        QCoreApplication::processEvents();  // the command, queued until the menu closed
        if (entries) *entries = seen->entries;
        return seen->opened;
    }
    /** Adds a binary file whose first line tells the stand-in script what to do. */
    QString startBinary(const QString &node, const QString &path, const QByteArray &mode,
                        const QString &name = u"data.bin"_s)
    {
        QFile file(m_work->filePath(name));
        if (file.open(QIODevice::WriteOnly)) file.write(mode + "\n\x01\x02\xff");
        file.close();  // on disk before the script, started below, reads it
        chooseFile(file.fileName());
        runCommand(node, path + u">Binary File"_s);
        return file.fileName();
    }
    static QString lastStatus(const QSignalSpy &spy)
    {
        return spy.isEmpty() ? QString() : spy.last().value(0).toString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_fakeOrbisk.path()).mkpath(u"lib/scripts"_s));
        QVERIFY(QFile::copy(VmrTest::sourceDir() + u"/tests/document/data/fake-encode64.pl"_s,
                            m_fakeOrbisk.filePath(u"lib/scripts/encode64.pl"_s)));
    }
    void init()
    {
        qputenv("ORBISKDIR", m_fakeOrbisk.path().toLocal8Bit());
        m_work = std::make_unique<QTemporaryDir>();
        // The user's own "tmp.txt" in the working directory survives every command.
        QVERIFY(QDir::setCurrent(m_work->path()));
        QFile user(m_work->filePath(u"tmp.txt"_s));
        QVERIFY(user.open(QIODevice::WriteOnly) && user.write("the user's notes") > 0);
        m_editor = std::make_unique<QAVmrEditor>(m_work->path());
        m_editor->show();
        m_editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
        QVERIFY(load(s_document));
    }
    void cleanup()
    {
        m_editor.reset();
        QFile user(m_work->filePath(u"tmp.txt"_s));
        QVERIFY(user.open(QIODevice::ReadOnly));
        QCOMPARE(user.readAll(), QByteArray("the user's notes"));
        QDir::setCurrent(QDir::tempPath());
        qputenv("ORBISKDIR", m_realOrbisk);
    }

    void treeShape_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("expected");  // inside "Root port(...)"
        const auto row = [](const char *name, const char *body, const char *expected) {
            QTest::newRow(name) << QByteArray(body) << QString::fromLatin1(expected);
        };
        // Between them the rows show every kind of node. Sections come in their order,
        // settings tables need no leading comment, steps and files keep document order, and
        // the first child of the parser section is skipped whatever it is, here a text.
        row("sections, settings, build and parser",
            "<COMMENT>c</COMMENT><LIBCONF Label=\"L\"/><FOO/><IS Label=\"S\"><IS_C Label=\"C\"/>"
            "<IS_WHAT Label=\"x\"/><COMMENT>c</COMMENT><IS_CPP Label=\"C++\"/><IS_ALL/></IS>"
            "<PARSERCONF Label=\"P\">text<ANY><PC_ORB><ORBFILE Label=\"Orb\"/></PC_ORB>"
            "<PC_ORB>text<ORBFILE Label=\"hidden\"/></PC_ORB><PC_EDG Label=\"Edg\">"
            "<PCOPP Label=\"Opp\"/><PCHPP Label=\"Hpp\"/><STANDARDA83 Label=\"not here\"/>"
            "</PC_EDG><PCOPP Label=\"Top\"/><JTESTXML Label=\"Jtest\"/><PCHPP Label=\"no\"/>"
            "</ANY></PARSERCONF><BUILD Label=\"B\"><COMMENT/><LINK Label=\"Link\"/>"
            "<NEWCMDFILE Name=\"run.sh\"/><ASSEMBLER Label=\"Asm\"/><NEWBINFILE Name=\"lib.a\"/>"
            "<UNKNOWN Label=\"u\"/><VMRPERLFUNC Label=\"Perl\"/></BUILD>",
            "Is S(IsSettings C, IsSettings C++, IsSettings ), Build B(Perl Link, CmdFile run.sh, "
            "Perl Asm, BinFile lib.a, Perl Perl), LibConf L, Parser P(PcOrb Orb, PcOrb , "
            "PcEdg Edg(PcOt Opp, PcOt Hpp), PcAda Top, PcAda Jtest)");
        // The C configuration wins over the Ada one; a tag of two lists takes the first that
        // its level tests; strangers stay out.
        row("every widget type and the section lists",
            "<LIBCONF Label=\"L\"><LIBCONFA><TYPES Label=\"Ada\"/></LIBCONFA><LIBCONFC>"
            "<FREE_TEXT_BEFORE_FOR_VMR Label=\"Before\"/><MEMCPY Label=\"direct memcpy\"/>"
            "<CLOCK Label=\"Clock\"/><IO Label=\"IO\"><COMMENT/>"
            "<SYSTEM_TESTING Label=\"Sys\"><MEMCPY Label=\"Memcpy\"/><DYNTRACK Label=\"Dyn\"/>"
            "<PRIV_OPEN Label=\"not here\"/></SYSTEM_TESTING><CLOCK Label=\"Inner clock\"/>"
            "<SPRINTF Label=\"Sprintf\"/><PRIV_OPEN Label=\"Open\"/>"
            "<FREE_TEXT_ADD_PRIV_IO_ADB Label=\"Adb\"/><RESTRICTIONS Label=\"not here\"/></IO>"
            "<RESTRICTIONS Label=\"Restr\"/></LIBCONFC><TYPES Label=\"loose\"/></LIBCONF>",
            "LibConf L(LCFreeText Before, LCChoice Clock, LCComment IO(LCComment2 Sys("
            "LCChoice Memcpy, LCItem Dyn), LCChoice Inner clock, LCItem Sprintf, LCFct Open, "
            "LCFreeText Adb), LCItem Restr)");
        row("Java configuration with its custom sections",
            "<LIBCONF Label=\"L\"><LIBCONFJAVA><CUSTOMJAVA Label=\"Java\">"
            "<JAVA_IMPORTS Label=\"Imports\"/><JAVA_CLOCK Label=\"JClock\"/>"
            "<JVMPI_IO Label=\"not here\"/></CUSTOMJAVA><CUSTOMJVMPI Label=\"Jvmpi\">"
            "<BUILD_JVMPI Label=\"Build\"/><JVMPI_SOCKET Label=\"Socket\"/>"
            "<JAVA_IMPORTS Label=\"not here\"/></CUSTOMJVMPI></LIBCONFJAVA></LIBCONF>",
            "LibConf L(JavaCustom Java(LCFreeText Imports, LCChoice JClock), "
            "JvmpiCustom Jvmpi(LCFreeText Build, LCChoice Socket))");
    }
    void treeShape()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        QVERIFY(load(vmr(body)));
        QCOMPARE(outline(tree()->topLevelItem(0)), u"Root port("_s + expected + u')');
        // Every node is open at first and, clicked, shows its one viewer; a "PC_ORB" that
        // does not start with its settings element has nothing to edit.
        const QString before = m_editor->document().toString();
        for (QTreeWidgetItem *item : allItems(tree())) {
            QVERIFY(item->childCount() == 0 || item->isExpanded());
            tree()->scrollToItem(item);
            const QPoint at = tree()->visualItemRect(item).center();
            QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(m_editor->currentNode(), nodeOf(item));
            // The viewer left goes once control is back in the event loop.
            QTRY_COMPARE(m_editor->editionArea()->findChildren<QAVmrViewer *>().size(),
                         nodeOf(item)->data().isNull() ? 0 : 1);
        }
        // Looking is not editing.
        QCOMPARE(m_editor->document().toString(), before);
        QVERIFY(!m_editor->isModified());
    }

    void leavingANodeKeepsWhatWasTyped()
    {
        QVERIFY(load(vmr("<IS Label=\"S\"><IS_C Label=\"C\"><LIST><SRCEXT Doc=\"SRCEXT\"><VALUE>"
                         ".c</VALUE><COMMENT/></SRCEXT></LIST></IS_C></IS><BUILD Label=\"B\">"
                         "<LINK Label=\"Link\"/><NEWCMDFILE Name=\"old.txt\"><COMMENT/><VALUE/>"
                         "</NEWCMDFILE></BUILD>", "Version=\"V2009\"")));
        // Neither building the tree nor leaving a root without a name changes it.
        const QDomElement root = m_editor->rootElement();
        QVERIFY(tree()->topLevelItem(0)->text(0).isEmpty() && !root.hasAttribute(u"Name"_s));
        QTreeWidgetItem *file = findItem(tree(), u"old.txt"_s);
        tree()->setCurrentItem(file);
        QVERIFY(!root.hasAttribute(u"Name"_s) && !m_editor->isModified());

        // Escape keeps the old name, and a name edited and left as it was is no change.
        m_editor->setModified(false);
        tree()->startEdit();
        auto *line = qobject_cast<QLineEdit *>(tree()->viewport()->focusWidget());
        QVERIFY(line);
        QTest::keyClicks(line, u"x"_s);
        QTest::keyClick(line, Qt::Key_Escape);
        QTRY_VERIFY(!tree()->isEditing(file));
        QCOMPARE(file->text(0) + nodeOf(file)->data().attribute(u"Name"_s), u"old.txtold.txt"_s);
        QVERIFY(!m_editor->isModified());
        // A rename still being typed is stored when another node becomes current.
        tree()->startEdit();
        line = qobject_cast<QLineEdit *>(tree()->viewport()->focusWidget());
        QVERIFY(line);
        line->selectAll();
        QTest::keyClicks(line, u"new.txt"_s);
        tree()->setCurrentItem(findItem(tree(), u"Link"_s));
        QVERIFY(!tree()->isEditing(file));
        QCOMPARE(file->text(0) + nodeOf(file)->data().attribute(u"Name"_s), u"new.txtnew.txt"_s);
        // So is a value still being typed in a settings table.
        tree()->setCurrentItem(findItem(tree(), u"C"_s));
        m_editor->setModified(false);
        auto *settings = qobject_cast<QAIsViewer *>(m_editor->viewer());
        QVERIFY(settings);
        auto *row = QAIsViewerItem::fromItem(settings->table()->topLevelItem(0));
        settings->table()->setCurrentItem(row);
        row->startRename(1);
        line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(line);
        line->selectAll();
        QTest::keyClicks(line, u".cc"_s);
        tree()->setCurrentItem(findItem(tree(), u"B"_s));
        QCOMPARE(root.elementsByTagName(u"SRCEXT"_s).at(0).firstChildElement(u"VALUE"_s).text(),
                 u".cc"_s);
        // The viewer that wrote is gone, but the document stays modified until saved.
        QVERIFY(m_editor->isModified());
        m_editor->setModified(false);
        QVERIFY(!m_editor->isModified());
    }

    void contextMenus()
    {
        // A node without a menu, or empty space, opens none, but the node becomes current
        // all the same. A menu is used once: closed, it is gone. Each entry is chosen
        // through the menu by the tests of its command.
        for (const QString &node : {u"C"_s, u"Types"_s, QString()}) {
            QVERIFY(!runCommand(node, QString()));
            QCOMPARE(tree()->currentItem(), findItem(tree(), node.isEmpty() ? u"Types"_s : node));
        }
        QVERIFY(runCommand(u"lib.a"_s, QString()));
        QCOMPARE(tree()->currentItem(), findItem(tree(), u"lib.a"_s));
        QVERIFY(!m_editor->popupMenu());
        // "&Rename" chosen with the mouse leaves the name field open for typing.
        QTreeWidgetItem *root = tree()->topLevelItem(0);
        QVERIFY(runCommand(u"port"_s, u"&Rename"_s));
        QVERIFY(tree()->isEditing(root));
        // Asks the window: the offscreen platform does not activate it again after a popup.
        auto *line = qobject_cast<QLineEdit *>(m_editor->focusWidget());
        QVERIFY(line);
        line->end(false);
        QTest::keyClicks(line, u"-2"_s);
        QTest::keyClick(line, Qt::Key_Return);
        QTRY_COMPARE(m_editor->rootElement().attribute(u"Name"_s), u"port-2"_s);
    }

    void addAsciiFile_data()
    {
        QTest::addColumn<QByteArray>("build");
        QTest::addColumn<QString>("node");
        // Wherever it is asked for, the file goes to the end of the section.
        QTest::newRow("appended after a step") << QByteArray() << u"Link"_s;
        // The first child only serves to find the section: an empty one takes the file too.
        QTest::newRow("child of an empty section") << QByteArray(" ") << u"B"_s;
    }
    void addAsciiFile()
    {
        QFETCH(QByteArray, build);
        QFETCH(QString, node);
        if (!build.isEmpty())
            QVERIFY(load(vmr("<IS Label=\"S\"/><BUILD Label=\"B\">" + build + "</BUILD>")));
        QTreeWidgetItem *section = findItem(tree(), u"B"_s);
        const QDomElement sectionElement = nodeOf(section)->data();
        const QString tagsBefore = childTags(sectionElement);
        const int before = section->childCount();
        runCommand(node, (node == u"B"_s ? u"&Add Child"_s : u"A&ppend"_s) + u">Ascii File"_s);
        QCOMPARE(childTags(sectionElement), QString(tagsBefore + u" NEWCMDFILE"_s).trimmed());
        const QDomElement file = sectionElement.lastChildElement();
        QCOMPARE(childTags(file) + u'|' + file.text(), u"COMMENT VALUE|"_s);
        QCOMPARE(tree()->currentItem(), section->child(before));
        QVERIFY(m_editor->isModified() && tree()->isEditing(section->child(before)));
        QCOMPARE(nodeOf(section->child(before))->data(), file);
        auto *line = qobject_cast<QLineEdit *>(tree()->viewport()->focusWidget());
        QVERIFY(line && line->text() == u"NewAsciiFile.txt");
    }

    void deleteFiles()
    {
        // Only files can be deleted; other nodes, or none selected, stay.
        const QString before = m_editor->document().toString();
        const int nodes = allItems(tree()).size();
        for (const QString &text : {u"Link"_s, u"B"_s, u"port"_s, u"Types"_s, QString()}) {
            tree()->setCurrentItem(findItem(tree(), text));
            tree()->deleteSelectedNode();
        }
        QVERIFY(allItems(tree()).size() == nodes && !m_editor->isModified());
        QCOMPARE(m_editor->document().toString(), before);
        QTreeWidgetItem *build = findItem(tree(), u"B"_s);
        tree()->setCurrentItem(findItem(tree(), u"run.sh"_s));
        QPointer<QAVmrViewer> fileViewer = m_editor->viewer();
        runCommand(u"run.sh"_s, u"&Delete"_s);
        // The file's viewer went with it; the neighbour is shown instead.
        QVERIFY(!findItem(tree(), u"run.sh"_s) && !fileViewer && m_editor->isModified());
        QCOMPARE(tree()->currentItem(), findItem(tree(), u"Asm"_s));
        QCOMPARE(m_editor->currentNode(), nodeOf(tree()->currentItem()));
        QCOMPARE(childTags(nodeOf(build)->data()), u"COMMENT LINK ASSEMBLER NEWBINFILE TRAILER"_s);
        QCOMPARE(build->childCount(), 3);
    }

    void binaryFileAdded()
    {
        QSignalSpy status(tree(), &QAVmrEditorTree::statusMsg);
        const QString input = startBinary(u"Asm"_s, u"A&ppend"_s, "ok", u"logo.png"_s);
        QVERIFY(tree()->encodingRun());
        QCOMPARE(lastStatus(status), u"Adding binary file..."_s);
        QTRY_VERIFY_WITH_TIMEOUT(!tree()->encodingRun(), 20000);
        QCOMPARE(status.last(), (QVariantList{u"Binary file added."_s, 2000}));
        QTreeWidgetItem *build = findItem(tree(), u"B"_s);
        const QDomElement file = nodeOf(build)->data().lastChildElement();
        const QDomElement content = file.lastChildElement();
        QCOMPARE(file.attribute(u"Name"_s) + u'|' + childTags(file),
                 u"logo.png|COMMENT "_s + content.tagName());
        QTreeWidgetItem *added = build->child(build->childCount() - 1);
        QCOMPARE(kindOf(added), u"BinFile"_s);
        QVERIFY(tree()->currentItem() == added && tree()->isEditing(added));
        QVERIFY(m_editor->isModified());
        QCOMPARE(content.attribute(u"size"_s) + content.text(), u"2b2s="_s);
        // The script ran in a directory of its own, which is gone with its "tmp.txt".
        QFile where(input + u".cwd"_s);
        QVERIFY(where.open(QIODevice::ReadOnly));
        const QString scriptDir = QString::fromLocal8Bit(where.readAll());
        QVERIFY(!scriptDir.isEmpty() && !QFileInfo::exists(scriptDir));
    }

    void binaryFileFailures_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QString>("message");  // caption|text; "*" ends the start of a longer one
        const QString title = QAEdition::applicationTitle() + u'|';
        // Only the last line of standard error explains the failure.
        QTest::newRow("script fails") << QByteArray("fail") << title + u"second problem\n"_s;
        QTest::newRow("script crashes") << QByteArray("crash") << title + u"*"_s;
        const QString critical = u"Critical Error|"_s;
        QTest::newRow("no output file")
            << QByteArray("notmp") << critical + u"Cannot open file tmp.txt"_s;
        const QString parsing = critical + u"Parsing error for file tmp.txt\n(*"_s;
        QTest::newRow("output not XML") << QByteArray("badxml") << parsing;
        QTest::newRow("output declares entities") << QByteArray("bomb") << parsing;
    }
    void binaryFileFailures()
    {
        QFETCH(QByteArray, mode);
        QFETCH(QString, message);
        const QString before = m_editor->document().toString();
        const int nodes = allItems(tree()).size();
        QSignalSpy status(tree(), &QAVmrEditorTree::statusMsg);
        startBinary(u"B"_s, u"&Add Child"_s, mode);
        QString shown;
        VmrTest::onNextModal([&shown](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QVERIFY(box);
            shown = box->windowTitle() + u'|' + box->text();
            box->accept();
        }, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!tree()->encodingRun() && !shown.isEmpty(), 20000);
        const bool start = message.endsWith(u'*');
        if (start) message.chop(1);
        QCOMPARE(start ? shown.left(message.size()) : shown, message);
        QVERIFY(!start || shown.size() > message.size());  // a crash too is explained
        // A failure never claims success and leaves the document as it was.
        QCOMPARE(status.last(), (QVariantList{u"ERROR during adding binary file."_s, 2000}));
        QVERIFY(!tree()->waitDialog() && !m_editor->isModified());
        QCOMPARE(allItems(tree()).size(), nodes);
        QCOMPARE(m_editor->document().toString(), before);
    }

    void waitDialogAndSecondBinaryFileRefused()
    {
        QSignalSpy status(tree(), &QAVmrEditorTree::statusMsg);
        QString seen;  // a cancelled file dialog starts nothing
        chooseFile(QString(), &seen);
        runCommand(u"Link"_s, u"A&ppend>Binary File"_s);
        QVERIFY(!tree()->encodingRun() && !tree()->waitDialog() && status.isEmpty());
        QCOMPARE(seen, u"Add a Binary File|Binary files (*)"_s);
        const QString input = startBinary(u"Link"_s, u"A&ppend"_s, "wait");
        QAScriptRunner *first = tree()->encodingRun();
        QPointer<QAVmrWaitDlg> dialog = tree()->waitDialog();
        QVERIFY(first && dialog && dialog->isVisible() && !dialog->isModal());
        QVERIFY(!dialog->cancelButton());
        QCOMPARE(dialog->text(), u"Please, wait while adding the binary file..."_s);
        QCOMPARE(dialog->windowTitle(), QAEdition::applicationTitle());
        // The window stays usable meanwhile, but a second binary file has to wait.
        status.clear();
        tree()->setCurrentItem(findItem(tree(), u"B"_s));
        tree()->addChildBinaryFile();
        QVERIFY(tree()->encodingRun() == first && !QApplication::activeModalWidget());
        QCOMPARE(status.count(), 1);
        QVERIFY(lastStatus(status).contains(u"still being added"_s));
        // The section's other nodes may even go away while the script runs.
        for (const QString &node : {u"run.sh"_s, u"Link"_s}) {
            tree()->setCurrentItem(findItem(tree(), node));
            tree()->deleteSelectedNode();
        }
        QVERIFY(QFile(input + u".go"_s).open(QIODevice::WriteOnly));  // lets the script finish
        QTRY_VERIFY_WITH_TIMEOUT(!tree()->encodingRun(), 20000);
        QVERIFY(!dialog);
        QCOMPARE(lastStatus(status), u"Binary file added."_s);
        QTreeWidgetItem *build = findItem(tree(), u"B"_s);
        QCOMPARE(build->child(build->childCount() - 1)->text(0), u"data.bin"_s);
        QCOMPARE(nodeOf(build)->data().lastChildElement().attribute(u"Name"_s), u"data.bin"_s);
    }

    void clearingStopsEncoding()
    {
        const QString input = startBinary(u"Link"_s, u"A&ppend"_s, "wait");
        QVERIFY(tree()->encodingRun() && tree()->waitDialog());
        QSignalSpy status(tree(), &QAVmrEditorTree::statusMsg);
        // Emptying the tree by itself drops the run and lets go of the current node and viewer.
        tree()->clearTree();
        QVERIFY(!tree()->encodingRun() && !tree()->waitDialog());
        QVERIFY(!tree()->topLevelItemCount() && !m_editor->currentNode() && !m_editor->viewer());
        QCOMPARE(lastStatus(status), u"ERROR: adding binary file aborted."_s);
        // A new document replaces this one; the dropped run adds nothing anywhere.
        QVERIFY(load(s_document, u"other.xvm"_s));
        const QString after = m_editor->document().toString();
        QVERIFY(QFile(input + u".go"_s).open(QIODevice::WriteOnly));  // a script still alive ends
        QTest::qWait(200);
        QCOMPARE(m_editor->document().toString(), after);
    }
};

QTEST_MAIN(TestQAVmrEditor)
#include "tst_qavmreditor.moc"
