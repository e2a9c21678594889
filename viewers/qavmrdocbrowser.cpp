#include "viewers/qavmrdocbrowser.h"

#include "support/qafindrequest.h"
#include "viewers/qatextfind.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QScrollBar>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <memory>

QAVmrDocBrowser::QAVmrDocBrowser(QWidget *parent, const char *name)
    : QTextBrowser(parent)
{
    if (name)
        setObjectName(QLatin1String(name));
    setReadOnly(true);
    setAlignment(Qt::AlignJustify);
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(Qt::AlignJustify);
    document()->setDefaultTextOption(option);
    setFrameStyle(QFrame::Box | QFrame::Raised);
    setLineWidth(1);
    setMidLineWidth(2);

    // The user's own scrolling lets go of the node's section.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this]() { m_keptAnchor.clear(); });
    // The page is laid out in steps after a change of width: each step moves the section.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
            this, [this]() {
                if (!m_keptAnchor.isEmpty())
                    showKeptAnchor();
            });
}

QAVmrDocBrowser::~QAVmrDocBrowser() = default;

QVariant QAVmrDocBrowser::loadResource(int type, const QUrl &name)
{
    // The stand-in for a page held back until the first frame: nothing to lay out.
    if (m_holdingNow)
        return QStringLiteral("<html></html>");
    return QTextBrowser::loadResource(type, name);
}

void QAVmrDocBrowser::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    // A link followed, or a new page, is where the user goes from now on.
    m_keptAnchor.clear();
    // A new page replaces one that still waits.
    m_waitingPage.clear();
    m_waitingAnchors.clear();
    if (!m_holdPages || !name.isValid()) {
        QTextBrowser::doSetSource(name, type);
        return;
    }
    // The source and the history are the page's at once; only its text comes later.
    m_holdingNow = true;
    QTextBrowser::doSetSource(name, type);
    m_holdingNow = false;
    m_waitingPage = name;
    m_standInRevision = document()->revision();
}

void QAVmrDocBrowser::paintEvent(QPaintEvent *event)
{
    QTextBrowser::paintEvent(event);
    m_holdPages = false;
    if (pageWaiting() && !m_loadQueued) {
        m_loadQueued = true;
        // Posted from inside the frame: the page is read once the frame is on the
        // screen. A pane closed meanwhile reads it when it is next drawn or asked for.
        QTimer::singleShot(0, this, [this]() {
            m_loadQueued = false;
            if (isVisible())
                loadWaitingPage();
        });
    }
}

void QAVmrDocBrowser::loadWaitingPage()
{
    if (m_waitingPage.isEmpty())
        return;
    const QStringList anchors = m_waitingAnchors;
    // Another text put into the pane since then replaces the page.
    const bool replaced = document()->revision() != m_standInRevision;
    m_waitingPage.clear();
    m_waitingAnchors.clear();
    m_holdPages = false;
    if (replaced)
        return;
    reload();
    for (auto it = anchors.crbegin(); it != anchors.crend(); ++it) {
        if (hasAnchor(*it)) {
            m_keptAnchor = *it;
            showKeptAnchor();
            break;
        }
    }
}

void QAVmrDocBrowser::showKeptAnchor()
{
    QTextBrowser::scrollToAnchor(m_keptAnchor);
    if (m_showQueued)
        return;
    // Once the layout and the splitters have settled in this turn of the event loop.
    m_showQueued = true;
    QTimer::singleShot(0, this, [this]() {
        m_showQueued = false;
        if (!m_keptAnchor.isEmpty())
            QTextBrowser::scrollToAnchor(m_keptAnchor);
    });
}

void QAVmrDocBrowser::resizeEvent(QResizeEvent *event)
{
    QTextBrowser::resizeEvent(event);
    if (!m_keptAnchor.isEmpty())
        showKeptAnchor();
}

void QAVmrDocBrowser::keyPressEvent(QKeyEvent *event)
{
    // Paging or moving through the page is the user's own scrolling.
    m_keptAnchor.clear();
    QTextBrowser::keyPressEvent(event);
}

void QAVmrDocBrowser::wheelEvent(QWheelEvent *event)
{
    m_keptAnchor.clear();
    QTextBrowser::wheelEvent(event);
}

QMenu *QAVmrDocBrowser::createPopupMenu(const QPoint &pos)
{
    loadWaitingPage();
    QMenu *menu = createStandardContextMenu(pos);
    menu->addSeparator();
    // F3 is the main window's key; the menu only shows it.
    const QString text = tr("Find next occurence") + QLatin1Char('\t')
        + QKeySequence(Qt::Key_F3).toString(QKeySequence::NativeText);
    QAction *find = menu->addAction(qaFindIcon(), text);
    connect(find, &QAction::triggered, this, &QAVmrDocBrowser::findDialogSearch);
    return menu;
}

void QAVmrDocBrowser::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createPopupMenu(event->pos()));
    menu->exec(event->globalPos());
}

bool QAVmrDocBrowser::hasAnchor(const QString &name) const
{
    if (name.isEmpty())
        return false;
    // The answer is the page's: one still waiting is read first, which changes nothing
    // that a caller could see but the time it is read at.
    const_cast<QAVmrDocBrowser *>(this)->loadWaitingPage();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        // An anchor on an empty block lives in the block's own character format.
        if (block.charFormat().anchorNames().contains(name))
            return true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name))
                return true;
        }
    }
    return false;
}

void QAVmrDocBrowser::scrollToAnchor(const QString &name)
{
    if (pageWaiting()) {
        // Shown as soon as the page is read, as if it had been there all along.
        if (!name.isEmpty())
            m_waitingAnchors.append(name);
        return;
    }
    if (hasAnchor(name)) {
        m_keptAnchor = name;
        showKeptAnchor();
    }
}

void QAVmrDocBrowser::findInDocStart(const QString &string)
{
    m_findString = string;
}

void QAVmrDocBrowser::findDialogSearch()
{
    QAFindRequest request;
    const QTextCursor cursor = textCursor();
    request.pattern = cursor.hasSelection() ? cursor.selectedText() : m_findString;
    request.caseSensitive = true;
    findInDoc(request);
}

void QAVmrDocBrowser::findInDoc(const QAFindRequest &request)
{
    loadWaitingPage();
    // The hit is what the user wants in view now.
    m_keptAnchor.clear();
    // The search goes on just after the start of the current hit, so that repeated
    // searches step through the hits, overlapping ones included.
    const QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();

    QAFindRequest plain = request;
    plain.wildcard = false;
    QTextCursor hit = qaFindText(document(), plain, cursor.hasSelection() ? start + 1 : start);
    if (hit.isNull()) {
        hit = qaFindText(document(), plain, 0);
        // Going round to the top is only worth saying when there is something up there.
        if (hit.isNull()) {
            if (!plain.pattern.isEmpty())
                emit statusMsg(tr("No match for \"%1\" in the reference page").arg(plain.pattern),
                               2000);
            return;
        }
        emit statusMsg(tr("Search hit bottom, continuing at top"), 2000);
    }
    if (!hit.isNull()) {
        setTextCursor(hit);
        ensureCursorVisible();
    }
}
