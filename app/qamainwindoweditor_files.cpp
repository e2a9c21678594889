// The documents a user comes back to: File > Open Recent, and port descriptions dropped
// on the window.

#include "app/qamainwindoweditor.h"

#include "app/qaportdocument.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>

namespace {

// The one local port description a drag carries, or nothing.
QString droppedDocument(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return QString();
    const QString path = urls.first().toLocalFile();
    return path.endsWith(QLatin1String(".xvm"), Qt::CaseInsensitive) ? path : QString();
}

// A folder as users read it: under their home, from "~".
QString shownFolder(const QString &path)
{
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (folder == home || folder.startsWith(home + QDir::separator()))
        return QLatin1Char('~') + folder.mid(home.size());
    return folder;
}

} // namespace

void QAMainWindowEditor::createRecentMenu()
{
    m_recentMenu = m_fileMenu->addMenu(tr("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("recent menu"));
    // Filled each time the File menu opens, not at start: a file removed meanwhile is no
    // longer offered, and start-up reads no settings for it.
    connect(m_fileMenu, &QMenu::aboutToShow, this, &QAMainWindowEditor::fillRecentMenu);
}

void QAMainWindowEditor::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList recent = QAPortDocument::recentFiles();
    for (int i = 0; i < recent.size(); ++i) {
        const QString &path = recent.at(i);
        // Numbered for the keyboard; the folder tells apart two documents of one name.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction *entry = m_recentMenu->addAction(
            QStringLiteral("%1 %2 [%3]").arg(number, QFileInfo(path).fileName(), shownFolder(path)));
        entry->setStatusTip(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, this, [this, path]() { openDocument(path); });
    }
    if (recent.isEmpty()) {
        m_recentMenu->addAction(tr("No documents yet"))->setEnabled(false);
        return;
    }
    m_recentMenu->addSeparator();
    m_recentMenu->addAction(tr("&Clear List"), this, [this]() {
        QAPortDocument::forgetRecentFiles();
        fillRecentMenu();
    });
}

void QAMainWindowEditor::openDocument(const QString &path)
{
    if (!askToKeepChanges())
        return;
    m_document->load(path, false);
}

void QAMainWindowEditor::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedDocument(event->mimeData()).isEmpty())
        return event->ignore();
    event->acceptProposedAction();
}

void QAMainWindowEditor::dropEvent(QDropEvent *event)
{
    const QString path = droppedDocument(event->mimeData());
    if (path.isEmpty())
        return event->ignore();
    event->acceptProposedAction();
    // Opened once the drag is over: the questions on the way want a free event loop.
    QMetaObject::invokeMethod(this, [this, path]() { openDocument(path); }, Qt::QueuedConnection);
}
