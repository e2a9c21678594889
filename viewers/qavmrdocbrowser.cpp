#include "viewers/qavmrdocbrowser.h"

#include "support/qafindrequest.h"
#include "viewers/qatextfind.h"

#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

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
}

QAVmrDocBrowser::~QAVmrDocBrowser() = default;

QMenu *QAVmrDocBrowser::createPopupMenu(const QPoint &pos)
{
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
    if (hasAnchor(name))
        QTextBrowser::scrollToAnchor(name);
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
    // The search goes on just after the start of the current hit, so that repeated
    // searches step through the hits, overlapping ones included.
    const QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();

    QAFindRequest plain = request;
    plain.wildcard = false;
    QTextCursor hit = qaFindText(document(), plain, cursor.hasSelection() ? start + 1 : start);
    if (hit.isNull()) {
        hit = qaFindText(document(), plain, 0);
        emit statusMsg(tr("Search hit bottom, continuing at top"), 2000);
    }
    if (!hit.isNull()) {
        setTextCursor(hit);
        ensureCursorVisible();
    }
}
