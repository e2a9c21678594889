#include "app/qaportdocument.h"

#include "app/qarecovery.h"
#include "app/qavmrver.h"
#include "document/qaportcheck.h"
#include "document/qavmrdocumentedits.h"
#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"
#include "support/qaedition.h"
#include "support/qafileutil.h"
#include "support/qainstall.h"
#include "support/qaxmlwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kRecoveryPauseMs = 3000;
constexpr int kRecoveryLimitMs = 30000;
const char kRecentFile[] = "/Orbisk/vmreditor/recentFile";
const char kRecentFiles[] = "/Orbisk/vmreditor/recentFiles";
constexpr int kResultMs = 2000;
constexpr int kRecentCount = 10;


QString attribute(const QDomElement &element, const char *name)
{
    return element.attribute(QLatin1String(name));
}

bool isReadOnlyDocument(const QDomElement &root)
{
    return attribute(root, "read_only") == QLatin1String("yes");
}

// The root of a document on disk, read without touching the open document and without
// building the rest of it.
QDomElement readRoot(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QDomElement();
    QDomDocument document;
    QString error;
    if (!QAXmlEditor::parseRoot(&file, &document, &error))
        return QDomElement();
    return document.documentElement();
}

// Why a path cannot hold a document: a directory, or a named pipe, a device or a socket,
// which would hang a read or be replaced by a save. Empty for a file or a new path.
QString notARegularFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return QString();
    return info.isDir() ? QAPortDocument::tr("It is a directory.")
                        : QAPortDocument::tr("It is not a regular file.");
}

// Whether a save could write the file, without changing an existing file's content.
bool canWrite(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists()) {
        if (info.isDir())
            return false;
        QFile file(path);
        return file.open(QIODevice::ReadWrite);
    }
    if (!info.absoluteDir().exists())
        return false;
    QTemporaryFile probe(info.absoluteDir().filePath(QStringLiteral(".vmreditor-XXXXXX")));
    return probe.open();
}

// The new file takes the place of the old one: it gets the old one's owner, group and
// mode as far as the user may set them. Anyone may give a file to a group he belongs to;
// only root may give it to another owner.
void keepOwnerAndMode(const QSaveFile &file, const QString &path)
{
    struct stat previous;
    // Through a symbolic link: the file replaced is the one it points to.
    if (::stat(QFile::encodeName(path).constData(), &previous) != 0)
        return;
    const int fd = file.handle();
    if (::fchown(fd, previous.st_uid, previous.st_gid) != 0)
        (void)::fchown(fd, uid_t(-1), previous.st_gid);
    // After the owner: a change of owner clears the set-user and set-group bits.
    (void)::fchmod(fd, previous.st_mode & 07777);
}

// Replaces the file only once every byte has been written: a failure (a full disk, a
// vanished directory, a document that cannot be written) leaves the previous one whole.
bool writeWhole(const QString &path, const QDomElement &root, QString *error)
{
    QSaveFile file(path);
    // Unbuffered: the writer makes large writes itself, so a short write (a full disk) is
    // seen at the write it hits.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = file.errorString();
        return false;
    }
    QString refusal;
    if (!QAPortDocument::writeDocument(&file, root, &refusal)
        || file.error() != QFileDevice::NoError) {
        // A short write (the disk filled up during it) carries no reason; the next write
        // gets nothing through and asks the system why.
        if (refusal.isEmpty() && file.error() == QFileDevice::NoError)
            file.write("\n", 1);
        *error = refusal.isEmpty() ? file.errorString() : refusal;
        file.cancelWriting();
        return false;
    }
    keepOwnerAndMode(file, path);
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

using PortList = std::vector<std::unique_ptr<QAPortDocument::QVmrId>>;

void removePortEntry(PortList &list, const QAPortDocument::QVmrId *entry)
{
    const auto found = std::find_if(list.begin(), list.end(),
                                    [entry](const auto &item) { return item.get() == entry; });
    if (found != list.end())
        list.erase(found);
}

} // namespace

QAPortDocument::QAPortDocument(QAVmrEditor *editor, QAVMRVersion *version,
                               const QString &programPath, QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_editor(editor)
    , m_version(version)
    , m_programPath(programPath)
{
    m_installTargetDir = QAInstall::targetDir(m_programPath);
    m_targetDir = defaultTargetDir();
    scanTargetDirectory(m_targetDir);
    m_currentPortEntry = nullptr;
    m_xmlDir = m_targetDir + QDir::separator() + QStringLiteral("xml");

    m_recoveryPause.setSingleShot(true);
    m_recoveryPause.setInterval(kRecoveryPauseMs);
    m_recoveryLimit.setSingleShot(true);
    m_recoveryLimit.setInterval(kRecoveryLimitMs);
    connect(&m_recoveryPause, &QTimer::timeout, this, &QAPortDocument::writeRecovery);
    connect(&m_recoveryLimit, &QTimer::timeout, this, &QAPortDocument::writeRecovery);
    QAVmrDocumentEdits *edits = m_editor->edits();
    connect(edits, &QAXmlEdits::changed, this, &QAPortDocument::scheduleRecovery);
    // Undone back to what the file holds: nothing left to recover.
    connect(edits, &QAVmrDocumentEdits::modifiedChanged, this, [this](bool modified) {
        if (!modified && !m_loading)
            discardRecovery();
    });
}

QAPortDocument::~QAPortDocument() = default;

void QAPortDocument::scheduleRecovery()
{
    // A change is announced before the history counts it: whether the document then
    // differs from its file is asked when the timer runs out.
    if (m_loading || m_root.isNull())
        return;
    m_recoveryPause.start();
    if (!m_recoveryLimit.isActive())
        m_recoveryLimit.start();
}

bool QAPortDocument::writeRecovery()
{
    m_recoveryPause.stop();
    m_recoveryLimit.stop();
    if (m_root.isNull() || m_currentPath.isEmpty() || !m_editor->isModified())
        return false;
    QString error;
    if (!QARecovery::write(m_currentPath, m_root, &error)) {
        qWarning("Cannot keep the unsaved changes aside: %s", qPrintable(error));
        return false;
    }
    m_recoveryPath = m_currentPath;
    return true;
}

void QAPortDocument::discardRecovery()
{
    m_recoveryPause.stop();
    m_recoveryLimit.stop();
    if (!m_recoveryPath.isEmpty())
        QARecovery::discard(m_recoveryPath);
    m_recoveryPath.clear();
}

bool QAPortDocument::askToRecover(const QString &question)
{
    QMessageBox ask(QMessageBox::Question, QAEdition::applicationTitle(), question,
                    QMessageBox::NoButton, m_window);
    ask.setObjectName(QStringLiteral("recovery question"));
    QPushButton *recover = ask.addButton(tr("&Recover"), QMessageBox::AcceptRole);
    QPushButton *discard = ask.addButton(tr("&Discard"), QMessageBox::DestructiveRole);
    // Escape, or a box closed otherwise, keeps the work: discarding must be chosen.
    ask.setDefaultButton(recover);
    ask.setEscapeButton(recover);
    ask.exec();
    return ask.clickedButton() != discard;
}

bool QAPortDocument::recoverNewDocument()
{
    const QList<QARecovery::Kept> kept = QARecovery::withoutDocument();
    if (kept.isEmpty())
        return false;
    const QARecovery::Kept &newest = kept.first();
    if (!askToRecover(tr("A new port, %1, has unsaved changes from %2, kept when the editor "
                         "stopped before it was ever saved.\n\nRecover them, or discard them?")
                          .arg(QFileInfo(newest.documentPath).fileName(),
                               QLocale().toString(newest.written.toLocalTime(),
                                                  QLocale::ShortFormat)))) {
        QARecovery::discard(newest.documentPath);
        return false;
    }

    QTemporaryFile file;
    if (!recoveredToFile(newest.content, &file) || !load(file.fileName(), true))
        return false;
    // Saved under the name the new port had; until then it is what may be lost.
    m_currentPath = newest.documentPath;
    m_editor->setModified(true);
    m_recoveryPath = m_currentPath;
    emit fileChanged();
    emit status(tr("Unsaved changes recovered."), kResultMs);
    return true;
}

bool QAPortDocument::takeUpRecovery(const QString &path, QTemporaryFile *file)
{
    const QARecovery::Kept kept = QARecovery::read(path);
    if (kept.state == QARecovery::State::None)
        return false;
    if (kept.state == QARecovery::State::Damaged) {
        const QString asideAt = QARecovery::setAside(path);
        QMessageBox::warning(
            m_window, QAEdition::applicationTitle(),
            tr("The unsaved changes kept for %1 cannot be read: the file that holds them is "
               "damaged or incomplete.\n\nIt is set aside as %2; the document opens as saved.")
                .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(asideAt)));
        return false;
    }
    // A file saved after the work was kept aside holds the newer state.
    if (kept.written <= QFileInfo(path).lastModified())
        return false;

    if (!askToRecover(tr("%1 has unsaved changes from %2, kept when the editor stopped without "
                         "saving them.\n\nRecover them, or discard them?")
                          .arg(QDir::toNativeSeparators(path),
                               QLocale().toString(kept.written.toLocalTime(),
                                                  QLocale::ShortFormat)))) {
        QARecovery::discard(path);
        return false;
    }

    return recoveredToFile(kept.content, file);
}

bool QAPortDocument::recoveredToFile(const QByteArray &content, QTemporaryFile *file)
{
    // The document is loaded from a file like any other.
    file->setFileTemplate(QDir::tempPath() + QStringLiteral("/vmreditor-recovered-XXXXXX.xvm"));
    if (!file->open() || file->write(content) != content.size() || !file->flush()) {
        QMessageBox::warning(m_window, QAEdition::applicationTitle(),
                             tr("The unsaved changes cannot be recovered: %1")
                                 .arg(file->errorString()));
        return false;
    }
    file->close();
    return true;
}

QString QAPortDocument::defaultTargetDir() const
{
    const QString installed = QAInstall::targetDir(m_programPath);
    // The user's own copy of the ports, installed at first start, wins when it exists.
    const QDir userCopy(QAInstall::applicationData(m_programPath) + QDir::separator()
                        + QFileInfo(installed).baseName());
    if (userCopy.exists())
        return userCopy.absolutePath();
    return installed;
}

bool QAPortDocument::isReadOnly() const
{
    return isReadOnlyDocument(m_root);
}

QString QAPortDocument::fileFilters()
{
    return tr("Velmor files ( *.xvm)") + QStringLiteral(";;")
        + tr("All files (*)");
}

void QAPortDocument::remember(const QString &path)
{
    // Absolute, so that a file opened by a relative name is found again from anywhere.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QSettings store(QStringLiteral("Quintar Software"), QStringLiteral("vmreditor"));
    store.setValue(QLatin1String(kRecentFile), absolute);
    QStringList recent = store.value(QLatin1String(kRecentFiles)).toStringList();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    store.setValue(QLatin1String(kRecentFiles), recent.mid(0, kRecentCount));
}

QStringList QAPortDocument::recentFiles()
{
    const QSettings store(QStringLiteral("Quintar Software"), QStringLiteral("vmreditor"));
    QStringList recent;
    // A file gone since is no longer offered.
    for (const QString &path : store.value(QLatin1String(kRecentFiles)).toStringList()) {
        if (QFileInfo(path).isFile() && !recent.contains(path))
            recent << path;
    }
    return recent.mid(0, kRecentCount);
}

void QAPortDocument::forgetRecentFiles()
{
    QSettings store(QStringLiteral("Quintar Software"), QStringLiteral("vmreditor"));
    store.remove(QLatin1String(kRecentFiles));
}

QString QAPortDocument::askPath(QWidget *parent, PathDialog kind, const char *objectName,
                                const QString &caption, const QString &start,
                                const QString &filter)
{
    QFileDialog dialog(parent, caption, start, filter);
    dialog.setObjectName(QLatin1String(objectName));
    // The same dialog on every desktop, and one that a test can answer.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    switch (kind) {
    case PathDialog::OpenFile:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case PathDialog::SaveFile:
        // Save As asks its own question about an existing file.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        break;
    case PathDialog::ExportFile:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        break;
    case PathDialog::Directory:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        break;
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}


QString QAPortDocument::portName(const QDomElement &root)
{
    const QString prefix = attribute(root, "type") == QLatin1String("CCPP")
        ? QStringLiteral("C++ ")
        : QStringLiteral("Ada ");
    return prefix + attribute(root, "Name");
}

bool QAPortDocument::writeDocument(QIODevice *device, const QDomElement &root,
                                      QString *error)
{
    // Streamed node by node from the open document: a copy of a large document, or all of
    // it as one string, would double the memory a save needs and slow it down.
    QAXmlWriter writer(device, QAXmlEditor::attributeOrderOf(root));
    if (writer.write(root))
        return true;
    if (error && !writer.deviceFailed())
        *error = writer.errorString();
    return false;
}

QString QAPortDocument::portDirName(const QString &documentPath)
{
    return QFileInfo(documentPath).fileName().remove(QStringLiteral(".xvm"));
}

QString QAPortDocument::openDocumentDirName() const
{
    return portDirName(m_currentPath);
}

QAPortDocument::QVmrId *QAPortDocument::findPortEntry(const QString &dirName,
                                                              const QString &portName)
{
    for (auto it = m_portList.rbegin(); it != m_portList.rend(); ++it) {
        if ((*it)->dirName == dirName && (*it)->portName == portName)
            return it->get();
    }
    return nullptr;
}

bool QAPortDocument::checkPortNameClash(const QDomElement &root, const QString &documentPath)
{
    const QString dirName = portDirName(documentPath.isNull() ? m_currentPath : documentPath);
    const QString name = portName(root);
    return std::none_of(m_portList.begin(), m_portList.end(), [&](const auto &entry) {
        return entry->portName == name && entry->dirName != dirName;
    });
}

void QAPortDocument::scanTargetDirectory(const QString &dir)
{
    m_portList.clear();
    m_currentPortEntry = nullptr;

    const QDir target(dir);
    if (!target.exists()) {
        qWarning("%s directory doesn't exists", qPrintable(dir));
        return;
    }
    if (!QFileInfo(dir).isReadable()) {
        qWarning("This directory is not readable");
        return;
    }
    for (const QAPortCheck::PortEntry &port : QAPortCheck::portsIn(dir))
        m_portList.push_back(std::make_unique<QVmrId>(QVmrId{port.dirName, port.portName}));
}

void QAPortDocument::loadFailed(const QString &path, const QString &reason)
{
    emit status(tr("ERROR: cannot load the file."), kResultMs);
    // Why, when no message has said it yet: a status line is gone before it is read.
    if (!reason.isEmpty())
        QMessageBox::warning(m_window, QAEdition::applicationTitle(),
                             QDir::toNativeSeparators(path) + QStringLiteral("\n\n")
                                 + tr("ERROR: cannot load the file.") + QStringLiteral("\n")
                                 + reason);
    // Nothing of a refused document stays behind for a later save to write out.
    m_editor->clear();
    m_root = QDomElement();
    m_currentPath.clear();
    m_currentPortEntry = nullptr;
    m_editor->setModified(false);
    emit fileChanged();
}

bool QAPortDocument::load(const QString &path, bool isNew)
{
    if (path.isEmpty())
        return false;
    const QString notAFile = notARegularFile(path);
    if (!notAFile.isEmpty()) {
        QMessageBox::warning(m_window, QAEdition::applicationTitle(),
                             QDir::toNativeSeparators(path)
                                 + tr("\n\nThis cannot be opened as a .xvm file. ") + notAFile);
        return false;
    }
    {
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly)) {
            QMessageBox::warning(
                m_window, QAEdition::applicationTitle(),
                path + tr("\n\nYou don't have the access right to read this .xvm file."));
            return false;
        }
    }

    // The document open until now goes; the user has given up its unsaved work.
    discardRecovery();
    // Work kept aside when the editor last stopped may be taken up instead of the file.
    QTemporaryFile recovered;
    const bool recovering = !isNew && takeUpRecovery(path, &recovered);
    const QString source = recovering ? recovered.fileName() : path;

    emit status(tr("Loading file..."), 0);
    // What the load does to the history is no edit of the user's.
    m_loading = true;
    const auto loaded = qScopeGuard([this] { m_loading = false; });
    m_editor->clear();
    m_editor->setModified(false);
    m_root = QDomElement();

    bool updated = false;
    QString updatedFrom;
    for (;;) {
        m_root = m_editor->getRootElement(source);
        if (m_root.isNull()) {
            loadFailed(path, m_editor->lastError());
            return false;
        }
        // Before its version is asked for: a file of another kind has none to update.
        if (m_root.tagName() != QLatin1String("VMR")) {
            loadFailed(path, tr("It is not a port description: its root element is not VMR."));
            return false;
        }
        const QString version = attribute(m_root, "Version");
        const int classification = m_version->checkVersion(version);
        if (classification == QAVMRVersion::Current)
            break;
        if (classification == QAVMRVersion::Unknown) {
            QMessageBox::critical(m_window, QAEdition::applicationTitle(),
                                  tr("Unknown version for VMR file, can't edit"));
            loadFailed(path, QString());
            return false;
        }
        if (classification == QAVMRVersion::Newer) {
            QMessageBox::critical(m_window, QAEdition::applicationTitle(),
                                  tr("VMR file is newer than editor, please update your editor"));
            loadFailed(path, QString());
            return false;
        }
        // An update that claims success but leaves the version as it was would only
        // ask the same question again.
        if (updated && version == updatedFrom) {
            QMessageBox::critical(m_window, QAEdition::applicationTitle(),
                                  tr("Error updating VMR file, cancel load"));
            loadFailed(path, QString());
            return false;
        }

        QMessageBox ask(QMessageBox::Warning, QAEdition::applicationTitle(),
                        tr("This xvm file does not correspond to the current version. It "
                           "requires an update to be edited."),
                        QMessageBox::NoButton, m_window);
        ask.setObjectName(QStringLiteral("update question"));
        QPushButton *update = ask.addButton(tr("Update"), QMessageBox::AcceptRole);
        ask.addButton(tr("Don't edit"), QMessageBox::RejectRole);
        ask.setDefaultButton(update);
        ask.exec();
        if (ask.clickedButton() != update) {
            loadFailed(path, QString());
            return false;
        }
        if (!m_version->updateDocument(source, version)) {
            QMessageBox::critical(m_window, QAEdition::applicationTitle(),
                                  tr("Error updating VMR file, cancel load"));
            loadFailed(path, QString());
            return false;
        }
        updated = true;
        updatedFrom = version;
    }

    // An empty or vanished generation directory falls back to the default one.
    QString target = attribute(m_root, "generate_in");
    if (target.isEmpty())
        target = m_targetDir;
    if (!QFileInfo(target).isDir())
        target = defaultTargetDir();
    m_targetDir = target;

    m_editor->setGenerateIn(m_targetDir);
    // A document that is no port description is refused like an unreadable one, so that
    // a later save cannot write it over the previous document.
    if (!m_editor->buildTree(m_root)) {
        loadFailed(path, tr("It is not a port description: its root element is not VMR."));
        return false;
    }

    QAVmrEditorTree *tree = m_editor->tree();
    if (QTreeWidgetItem *first = tree->topLevelItem(0)) {
        // Making it current shows its viewer; show it here only if that did not happen.
        tree->setCurrentItem(first);
        if (!m_editor->viewer())
            m_editor->showViewer(dynamic_cast<QAXmlEditorNode *>(first));
    }

    m_currentPath = isNew ? m_xmlDir + QDir::separator() + QStringLiteral("document.xvm")
                          : QFileInfo(path).absoluteFilePath();
    m_currentPortEntry = findPortEntry(openDocumentDirName(), portName(m_root));
    if (!isNew)
        remember(path);
    emit fileChanged();
    // Recovered work differs from the file until it is saved.
    if (recovering) {
        m_editor->setModified(true);
        m_recoveryPath = m_currentPath;
    }
    emit status(recovering ? tr("Unsaved changes recovered.") : tr("File loaded."), kResultMs);
    return true;
}

void QAPortDocument::saveAs(const QString &start)
{
    m_lastSaveOk = false;
    if (m_root.isNull())
        return;
    // In the document's folder, with its name, unless a retry proposes another one.
    m_chosenPath = askPath(m_window, PathDialog::SaveFile, "save xvm file dialog",
                           tr("Save xvm As"), start.isNull() ? m_currentPath : start,
                           fileFilters());
    if (m_chosenPath.isEmpty())
        return;
    if (QFileInfo(m_chosenPath).suffix().isEmpty())
        m_chosenPath += QStringLiteral(".xvm");

    const QFileInfo chosen(m_chosenPath);
    if (QAFileUtil::hasForbiddenCharacter(chosen.fileName())) {
        QMessageBox::critical(
            m_window, QAEdition::applicationTitle(),
            tr("The name of a .xvm file cannot contain one of the following characters:")
                + QStringLiteral("\n\t") + QStringLiteral("[\\ /+*?~|, :\"'`]"));
        saveAs(chosen.absolutePath() + QDir::separator()
                   + QAFileUtil::generateFilename(chosen.fileName()));
        return;
    }

    if (chosen.exists()) {
        const QMessageBox::StandardButton answer = QMessageBox::warning(
            m_window, QAEdition::applicationTitle(),
            tr("The file %1 already exists.\n Do you want to replace it?").arg(m_chosenPath),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer == QMessageBox::Yes)
            replaceExistingFile(m_chosenPath);
        else
            saveAs();
        return;
    }

    save(m_chosenPath);
}

void QAPortDocument::replaceExistingFile(const QString &path)
{
    const QDomElement existing = readRoot(path);
    if (existing.isNull())
        return;
    if (isReadOnlyDocument(existing)) {
        QMessageBox box(QMessageBox::Warning, QAEdition::applicationTitle(),
                        path + tr("cannot be overwritten.\n Please select another file."),
                        QMessageBox::Ok | QMessageBox::Cancel, m_window);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        if (box.exec() == QMessageBox::Ok)
            saveAs();
        return;
    }

    // The replaced document's port is gone from the target directory's point of view.
    const QString replacedDir = portDirName(path);
    if (QVmrId *replaced = findPortEntry(replacedDir, portName(existing))) {
        removePortEntry(m_portList, replaced);
        m_currentPortEntry = findPortEntry(openDocumentDirName(), portName(m_root));
    }
    save(path);
}

bool QAPortDocument::save(const QString &path)
{
    m_lastSaveOk = false;
    if (path.isEmpty() || m_root.isNull())
        return false;
    const QString notAFile = notARegularFile(path);
    if (!notAFile.isEmpty()) {
        QMessageBox::warning(m_window, QAEdition::applicationTitle(),
                             QDir::toNativeSeparators(path)
                                 + tr("\n\nThe .xvm file cannot be saved there. ") + notAFile);
        return false;
    }
    if (!canWrite(path)) {
        QMessageBox::warning(m_window, QAEdition::applicationTitle(),
                             path
                                 + tr("\n\nYou cannot save this .xvm file because the file is "
                                      "in read only mode."));
        return false;
    }

    emit status(tr("Saving file..."), 0);
    QAVmrEditorTree *tree = m_editor->tree();
    m_editor->commitPendingEdit();

    // The port directory is the one of the file being written, which Save As changes.
    const QString dirName = portDirName(path);
    if (!checkPortNameClash(m_root, path)) {
        const QMessageBox::StandardButton answer = QMessageBox::warning(
            m_window, QAEdition::applicationTitle(),
            attribute(m_root, "Name")
                + tr("\nalready exists in your \"targets/\" directory.\n Do you want to save "
                     "anyway?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes) {
            // Offer the rename of the port right away: that is what the user must change.
            if (QTreeWidgetItem *first = tree->topLevelItem(0)) {
                if (tree->currentItem() != first)
                    tree->setCurrentItem(first);
                else
                    m_editor->showViewer(dynamic_cast<QAXmlEditorNode *>(first));
                if (auto *node = dynamic_cast<QAVmrEditorNode *>(first))
                    node->startRename(0);
            }
            emit status(tr("xvm file not saved."), kResultMs);
            return false;
        }
    }

    remember(path);

    QAXmlEdits *edits = m_editor->edits();
    edits->setSavedAttribute(m_root, QStringLiteral("read_only"), QStringLiteral("no"));
    edits->setSavedAttribute(m_root, QStringLiteral("generate_in"), m_targetDir);
    m_editor->setGenerateIn(m_targetDir);

    QString error;
    if (!writeWhole(path, m_root, &error)) {
        emit status(tr("ERROR: cannot save the file."), kResultMs);
        QMessageBox::warning(m_window, QAEdition::applicationTitle(),
                             tr("ERROR: cannot save the file.") + QStringLiteral("\n\n")
                                 + QDir::toNativeSeparators(path) + QStringLiteral("\n")
                                 + error);
        return false;
    }

    removePortEntry(m_portList, m_currentPortEntry);
    m_portList.push_back(std::make_unique<QVmrId>(QVmrId{dirName, portName(m_root)}));
    m_currentPortEntry = m_portList.back().get();

    m_currentPath = QFileInfo(path).absoluteFilePath();
    m_editor->setModified(false);
    discardRecovery();
    m_lastSaveOk = true;
    emit saved(path);
    emit fileChanged();
    emit status(tr("xvm file saved."), kResultMs);
    return true;
}
