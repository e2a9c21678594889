#include "document/qavmreditortree.h"

#include "document/qabuildnode.h"
#include "document/qavmrwaitdlg.h"
#include "support/qaedition.h"
#include "support/qainstall.h"
#include "support/qascriptrunner.h"
#include "support/qaxmledits.h"
#include "support/qaxmleditor.h"
#include "viewers/qavmrviewer.h"
#include "viewers/qaxmlvalidator.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const char s_encodeScript[] = "encode64.pl";
const char s_encodedFile[] = "tmp.txt";

} // namespace

QAVmrEditorTree::QAVmrEditorTree(QWidget *parent, const char *name)
    : QTreeWidget(parent)
{
    if (name)
        setObjectName(QLatin1String(name));
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Names are edited through the nodes' "&Rename" command or F2; a focus change
    // accepts the edit, Escape cancels it.
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setItemDelegate(new QAXmlItemDelegate(this));
    setContextMenuPolicy(Qt::CustomContextMenu);
}

QAVmrEditorTree::~QAVmrEditorTree()
{
    // Stop the script before its working directory goes away with the members.
    if (m_process) {
        m_process->disconnect(this);
        delete m_process;
    }
    delete m_waitDialog;
}

QAScriptRunner *QAVmrEditorTree::encodingRun() const
{
    return m_process;
}

QAVmrWaitDlg *QAVmrEditorTree::waitDialog() const
{
    return m_waitDialog;
}

void QAVmrEditorTree::clearTree()
{
    stopEncoding();
    emit aboutToClear();
    while (topLevelItemCount() > 0)
        delete topLevelItem(0);
}

bool QAVmrEditorTree::isEditing(QTreeWidgetItem *item, int column) const
{
    return item && indexWidget(indexFromItem(item, column));
}

QAction *QAVmrEditorTree::addCommand(QMenu *menu, const QString &text,
                                     void (QAVmrEditorTree::*command)())
{
    QAction *action = menu->addAction(text);
    connect(action, &QAction::triggered, this, command, Qt::QueuedConnection);
    return action;
}

void QAVmrEditorTree::commitOpenEditor(QTreeWidgetItem *item, int column)
{
    if (!item)
        return;
    QWidget *editor = indexWidget(indexFromItem(item, column));
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void QAVmrEditorTree::deleteSelectedNode()
{
    const QList<QTreeWidgetItem *> selection = selectedItems();
    if (selection.isEmpty())
        return;
    auto *node = dynamic_cast<QAVmrEditorNode *>(selection.first());
    if (!node)
        return;
    QDomElement element = node->data();
    const QString tag = element.tagName();
    if (tag != QLatin1String("NEWCMDFILE") && tag != QLatin1String("NEWBINFILE"))
        return;

    // The node goes when the document announces the removal.
    QAXmlEdits::of(element)->removeElement(element);
}

void QAVmrEditorTree::syncSection(QABuildNode *section)
{
    // The section's nodes follow its elements: the nodes of elements gone go (the
    // neighbour becoming current first, so that the editor never keeps a deleted node),
    // the elements new to it get nodes, in the document's order.
    const QDomElement sectionElement = section->data();
    for (int i = section->childCount() - 1; i >= 0; --i) {
        auto *node = dynamic_cast<QAVmrEditorNode *>(section->child(i));
        if (node && node->data().parentNode() == sectionElement)
            continue;
        if (currentItem() == node) {
            QTreeWidgetItem *neighbour = section->child(i + 1);
            if (!neighbour)
                neighbour = i > 0 ? section->child(i - 1) : section;
            setCurrentItem(neighbour);
        }
        delete node;
    }
    int row = 0;
    for (QDomElement e = sectionElement.firstChildElement(); !e.isNull();
         e = e.nextSiblingElement()) {
        if (!QABuildNode::isNodeTag(e.tagName()))
            continue;
        auto *node = dynamic_cast<QAVmrEditorNode *>(section->child(row));
        if (node && node->data() == e) {
            ++row;
            continue;
        }
        // Moved in the document: the node moves with it; new: a node is made.
        QTreeWidgetItem *existing = nullptr;
        for (int i = row + 1; i < section->childCount() && !existing; ++i) {
            auto *later = dynamic_cast<QAVmrEditorNode *>(section->child(i));
            if (later && later->data() == e)
                existing = section->takeChild(i);
        }
        if (!existing) {
            QABuildNode::makeNode(section, e);
            existing = section->takeChild(section->childCount() - 1);
        }
        section->insertChild(row++, existing);
    }
}

void QAVmrEditorTree::refuseName(const QString &reason)
{
    const QString text = tr("The file keeps its name: %1.").arg(reason);
    emit statusMsg(text, 5000);
    // The editor that held the name is still closing: the message comes after it.
    QTimer::singleShot(0, this, [this, text]() {
        QMessageBox box(QMessageBox::Warning, QAEdition::applicationTitle(), text,
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("file name refused"));
        box.exec();
    });
}

void QAVmrEditorTree::startEdit()
{
    if (auto *node = dynamic_cast<QAVmrEditorNode *>(currentItem()))
        node->startRename(0);
}

QTreeWidgetItem *QAVmrEditorTree::buildSection(QTreeWidgetItem *item)
{
    if (!item)
        return nullptr;
    if (dynamic_cast<QABuildNode *>(item))
        return item;
    if (dynamic_cast<QABuildNode *>(item->parent()))
        return item->parent();
    return nullptr;
}

void QAVmrEditorTree::appendAsciiFile()
{
    QTreeWidgetItem *item = currentItem();
    if (item && dynamic_cast<QABuildNode *>(item->parent()))
        addAsciiFileAfter(item);
}

void QAVmrEditorTree::addChildAsciiFile()
{
    // The first child only serves to find the section; an empty section takes the file
    // all the same.
    QTreeWidgetItem *item = currentItem();
    if (!dynamic_cast<QABuildNode *>(item))
        return;
    addAsciiFileAfter(item->childCount() > 0 ? item->child(0) : item);
}

void QAVmrEditorTree::appendBinaryFile()
{
    QTreeWidgetItem *item = currentItem();
    if (!item || !dynamic_cast<QABuildNode *>(item->parent()) || refuseSecondEncoding())
        return;
    m_targetItem = item->parent();
    startBinaryFileEncoding();
}

void QAVmrEditorTree::addChildBinaryFile()
{
    QTreeWidgetItem *item = currentItem();
    if (!dynamic_cast<QABuildNode *>(item) || refuseSecondEncoding())
        return;
    m_targetItem = item;
    startBinaryFileEncoding();
}

void QAVmrEditorTree::addAsciiFileAfter(QTreeWidgetItem *item)
{
    QTreeWidgetItem *section = buildSection(item);
    auto *sectionNode = dynamic_cast<QAVmrEditorNode *>(section);
    if (!sectionNode)
        return;
    QDomDocument doc = QAVmrViewer::documentOf(sectionNode->data());
    if (doc.isNull())
        return;
    QDomElement file = doc.createElement(QStringLiteral("NEWCMDFILE"));
    file.setAttribute(QStringLiteral("Name"), QStringLiteral("NewAsciiFile.txt"));
    file.appendChild(doc.createElement(QStringLiteral("COMMENT")));
    file.appendChild(doc.createElement(QStringLiteral("VALUE")));
    appendFileNode(section, file);
}

void QAVmrEditorTree::appendFileNode(QTreeWidgetItem *section, const QDomElement &file)
{
    auto *sectionNode = dynamic_cast<QAVmrEditorNode *>(section);
    // The node appears when the document announces the file.
    QAXmlEdits::of(sectionNode->data())->insertElement(sectionNode->data(), file);
    QTreeWidgetItem *node = nullptr;
    for (int i = section->childCount() - 1; i >= 0 && !node; --i) {
        if (auto *child = dynamic_cast<QAVmrEditorNode *>(section->child(i));
            child && child->data() == file)
            node = child;
    }
    section->setExpanded(true);
    if (!node)
        return;
    // A binary file arrives when its script ends: the user, meanwhile in a dialog or a
    // menu, keeps what is in front of him.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return;
    // Selecting makes it current: the editor shows its viewer, then the user types the
    // file's name at once.
    setCurrentItem(node);
    scrollToItem(node);
    startEdit();
}

bool QAVmrEditorTree::refuseSecondEncoding()
{
    if (!m_process)
        return false;
    emit statusMsg(tr("A binary file is still being added; please wait until it is done."),
                   2000);
    return true;
}

QString QAVmrEditorTree::chooseBinaryFile()
{
    QFileDialog dialog(this, tr("Add a Binary File"), QDir::currentPath(),
                       tr("Binary files (*)", "open binary file filter"));
    dialog.setObjectName(QStringLiteral("FSB"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QString chosen = dialog.selectedFiles().value(0);
    // The script runs elsewhere, so the path must not depend on the current directory.
    return chosen.isEmpty() ? chosen : QFileInfo(chosen).absoluteFilePath();
}

void QAVmrEditorTree::startBinaryFileEncoding()
{
    if (m_applicationPath.isEmpty())
        m_applicationPath = QCoreApplication::arguments().value(0);
    const QString chosen = chooseBinaryFile();
    if (chosen.isEmpty())
        return;
    m_binaryFilePath = chosen;
    m_scriptErrorText.clear();

    emit statusMsg(tr("Adding binary file..."), 33333);
    m_waitDialog = new QAVmrWaitDlg(tr("Please, wait while adding the binary file..."),
                                    QAEdition::applicationTitle(), false, m_messageParent,
                                    "wait dialog when adding binary file");
    m_waitDialog->show();

    m_workDir = std::make_unique<QTemporaryDir>();
    m_process = new QAScriptRunner(m_applicationPath, this);
    connect(m_process, &QAScriptRunner::errorLine, this, &QAVmrEditorTree::getStd);
    connect(m_process, &QAScriptRunner::finished, this, &QAVmrEditorTree::encodingTerminated);
    bool started = false;
    if (m_workDir->isValid()) {
        m_process->setWorkingDirectory(m_workDir->path());
        started = m_process->start(QLatin1String(s_encodeScript),
                                   {m_binaryFilePath, QLatin1String(s_encodedFile)});
    }
    if (started)
        return;

    closeWaitDialog();
    const QStringList perl = QAInstall::perlCommand(m_applicationPath);
    const QString command = perl.value(0) + perl.value(1)
        + QAInstall::scriptsDir(m_applicationPath) + QDir::separator()
        + QLatin1String(s_encodeScript) + m_binaryFilePath;
    delete m_process;
    m_process = nullptr;
    m_workDir.reset();
    QMessageBox::critical(m_messageParent, QAEdition::applicationTitle(),
                          command + tr("\nUnable to run command"));
    emit statusMsg(tr("ERROR: adding binary file aborted."), 2000);
}

void QAVmrEditorTree::getStd(const QString &line)
{
    m_scriptErrorText = line + QLatin1Char('\n');
}

void QAVmrEditorTree::closeWaitDialog()
{
    if (m_waitDialog) {
        m_waitDialog->close();
        delete m_waitDialog;
    }
}

void QAVmrEditorTree::encodingTerminated(int exitCode, bool crashed)
{
    QAScriptRunner *run = m_process;
    m_process = nullptr;
    const std::unique_ptr<QTemporaryDir> workDir = std::move(m_workDir);
    closeWaitDialog();

    if (crashed || exitCode != 0) {
        // A script that dies without a word is a failure too, never a silent end.
        const QString reason = !crashed && !m_scriptErrorText.isEmpty() ? m_scriptErrorText
                                                                         : run->failureText();
        QMessageBox::critical(m_messageParent, QAEdition::applicationTitle(), reason);
        emit statusMsg(tr("ERROR during adding binary file."), 2000);
    } else {
        const bool added =
            m_targetItem && workDir && addBinaryFileAfter(m_targetItem, workDir->path());
        if (added)
            emit statusMsg(tr("Binary file added."), 2000);
        else
            emit statusMsg(tr("ERROR during adding binary file."), 2000);
    }
    run->deleteLater();
}

QDomElement QAVmrEditorTree::parseEncodedFile(const QString &workDir, QDomDocument &parsed)
{
    const QString name = QLatin1String(s_encodedFile);
    QFile file(QDir(workDir).filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::critical(window(), tr("Critical Error"), tr("Cannot open file %1").arg(name));
        return QDomElement();
    }
    QString error;
    if (!QAXmlEditor::parseDocument(&file, &parsed, &error)) {
        QMessageBox::critical(window(), tr("Critical Error"),
                              tr("Parsing error for file %1").arg(name)
                                  + QStringLiteral("\n(") + error + QLatin1Char(')'));
        return QDomElement();
    }
    file.close();
    file.remove();
    return parsed.documentElement();
}

bool QAVmrEditorTree::addBinaryFileAfter(QTreeWidgetItem *section, const QString &workDir)
{
    auto *sectionNode = dynamic_cast<QAVmrEditorNode *>(section);
    if (!sectionNode)
        return false;
    QDomDocument doc = QAVmrViewer::documentOf(sectionNode->data());
    if (doc.isNull())
        return false;
    QDomDocument parsed;
    const QDomElement content = parseEncodedFile(workDir, parsed);
    if (content.isNull())
        return false;

    QDomElement file = doc.createElement(QStringLiteral("NEWBINFILE"));
    file.setAttribute(QStringLiteral("Name"), QFileInfo(m_binaryFilePath).fileName());
    file.appendChild(doc.createElement(QStringLiteral("COMMENT")));
    file.appendChild(doc.importNode(content, true));
    appendFileNode(section, file);
    return true;
}

void QAVmrEditorTree::stopEncoding()
{
    m_targetItem = nullptr;
    if (!m_process)
        return;
    // The document the file was meant for is going away: drop the run quietly.
    m_process->disconnect(this);
    delete m_process;
    m_process = nullptr;
    m_workDir.reset();
    closeWaitDialog();
    emit statusMsg(tr("ERROR: adding binary file aborted."), 2000);
}
