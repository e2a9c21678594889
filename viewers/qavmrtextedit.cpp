#include "viewers/qavmrtextedit.h"

#include "support/qafindrequest.h"
#include "support/qaxmlcharacters.h"
#include "viewers/qatextfind.h"
#include "viewers/qavmrfinddialog.h"

#include <QContextMenuEvent>
#include <QInputDialog>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

QAVmrTextEdit::QAVmrTextEdit(QWidget *parent, int lineOffset, const char *name)
    : QPlainTextEdit(parent)
    , m_lineOffset(lineOffset)
{
    if (name)
        setObjectName(QLatin1String(name));
}

QAVmrTextEdit::~QAVmrTextEdit() = default;

QMenu *QAVmrTextEdit::createPopupMenu(const QPoint &pos)
{
    QMenu *menu = createStandardContextMenu(pos);
    menu->addSeparator();
    QAction *find = menu->addAction(qaFindIcon(), tr("Find..."));
    connect(find, &QAction::triggered, this, &QAVmrTextEdit::findDialog);
    QAction *next = menu->addAction(qaFindIcon(), tr("Find next occurence"));
    connect(next, &QAction::triggered, this, &QAVmrTextEdit::findDialogSearch);
    menu->addSeparator();
    QAction *gotoLine = menu->addAction(tr("go to"));
    connect(gotoLine, &QAction::triggered, this, &QAVmrTextEdit::gotoDialog);
    return menu;
}

void QAVmrTextEdit::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createPopupMenu(event->pos()));
    menu->exec(event->globalPos());
}

bool QAVmrTextEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return !source->hasUrls() && QPlainTextEdit::canInsertFromMimeData(source);
}

void QAVmrTextEdit::insertFromMimeData(const QMimeData *source)
{
    const std::unique_ptr<QMimeData> kept = QAXmlCharacters::leaveOut(source);
    QPlainTextEdit::insertFromMimeData(kept ? kept.get() : source);
}

void QAVmrTextEdit::findDialog()
{
    if (!m_findDialog) {
        m_findDialog = new QAvmrFindDialog(this, "freeTextFind", true);
        connect(m_findDialog, &QAvmrFindDialog::search, this, &QAVmrTextEdit::findInText);
    }
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

void QAVmrTextEdit::findDialogSearch()
{
    QAFindRequest request;
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        // The selection is looked for as it stands, whatever its case.
        request.pattern = cursor.selectedText();
    } else if (m_findDialog) {
        request = m_findDialog->searchExpression();
    }
    findInText(request);
}

void QAVmrTextEdit::findInText(const QAFindRequest &request)
{
    if (request.pattern.isEmpty())
        return;
    // Starting just after the start of the current hit steps through the hits one by
    // one; with no hit selected the search starts at the cursor.
    const QTextCursor cursor = textCursor();
    const int from = cursor.hasSelection() ? cursor.selectionStart() + 1 : cursor.position();
    QTextCursor hit = qaFindText(document(), request, from);
    if (hit.isNull())
        hit = qaFindText(document(), request, 0);
    if (hit.isNull())
        return;
    setTextCursor(hit);
    ensureCursorVisible();
}

void QAVmrTextEdit::gotoDialog()
{
    const int first = m_lineOffset + 1;
    const int last = document()->blockCount() + m_lineOffset;
    bool ok = false;
    const int line = QInputDialog::getInt(this, tr("Goto line"),
                                          tr("Please enter the line number"),
                                          qBound(first, 10, last), first, last, 1, &ok);
    if (!ok)
        return;
    const QTextBlock block = document()->findBlockByNumber(line - m_lineOffset - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    // Just after the line's first character, as far as the line goes.
    cursor.setPosition(block.position() + qMin(1, block.length() - 1));
    setTextCursor(cursor);
    ensureCursorVisible();
    setFocus();
}
