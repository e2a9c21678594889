// The real window driven as a user drives it, at random but from a seed, on a copy of each
// shipped document: nodes chosen with the mouse and the keys, every context menu opened as
// a popup and its entries picked, the dialogs that follow answered (real small and empty
// files, cancel too), text typed, pasted and dropped into every kind of field (characters
// a document cannot hold among it), settings rows added, removed and moved, names changed,
// files deleted, choices and tabs switched, the menus of the window used and the document
// saved. After every action the shown fields agree with the document, and after every save
// the file opens again and holds what they showed.
//
// VMR_EXERCISER_SEED replays a run or, set to "random", draws a new one (the seed is printed
// when a check fails, and
// VMR_EXERCISER_TRACE prints every action as it starts),
// VMR_EXERCISER_ACTIONS sets the actions per document, VMR_EXERCISER_SECONDS the time of the
// whole run (then every document is worked on again and again until it is up).

#include "document/qafindpane.h"
#include "document/qaproblemspane.h"
#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"
#include "support/qaembeddedfile.h"
#include "support/qaxmleditor.h"
#include "viewers/qabinfileviewer.h"
#include "viewers/qachoiceviewer.h"
#include "viewers/qacommentpane.h"
#include "viewers/qacommentviewer.h"
#include "viewers/qafctviewer.h"
#include "viewers/qafieldwidgets.h"
#include "viewers/qafreetext.h"
#include "viewers/qaisviewer.h"
#include "viewers/qamacrowidgets.h"
#include "viewers/qavmrtextedit.h"

#include "app/mainwindowdriver.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QUndoStack>

using namespace VmrDrive;

namespace {

// Pieces of what users type: markup, quotes, letters outside ASCII, things that look like
// the end of a CDATA section or a processing instruction.
const QString kPieces[] = {u"abc"_s,  u" "_s,    u"<in>"_s,  u"&&"_s,   u"\"q\""_s, u"'"_s,
                           u"\u00e9"_s, u"\u6587"_s, u"]]>"_s, u"<?pi x?>"_s, u"2>&1"_s,
                           u"\u00a0"_s, u"42"_s,   u"$x"_s,    u"\\"_s};
// What a paste may carry besides: characters a document cannot hold.
const QString kForbidden[] = {u"\f"_s, u"\x1b"_s, u"\x01"_s, QString(QChar(0xfffe)),
                              QString(QChar(0xd800))};

QAVmrEditorNode *nodeOf(QTreeWidgetItem *item) { return dynamic_cast<QAVmrEditorNode *>(item); }

template<typename T> QList<T *> shown(QWidget *root)
{
    QList<T *> list;
    if (!root)
        return list;
    for (T *w : root->findChildren<T *>()) {
        if (w->isVisible() && w->isEnabled())
            list << w;
    }
    return list;
}

// The offscreen platform's notes on what it cannot do (raise a window, grab the keyboard)
// would drown what the run itself reports.
QtMessageHandler s_previousHandler = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.startsWith(u"This plugin does not support"_s))
        s_previousHandler(type, context, message);
}

QString flag(bool on) { return on ? u"1"_s : u"0"_s; }

// A text as a log shows it: control characters and lone halves as \x{...}.
QString printable(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.isSurrogate() || c.unicode() >= 0xfffe)
            out += u"\\x{"_s + QString::number(c.unicode(), 16) + u'}';
        else
            out += c;
    }
    return out;
}

} // namespace

class TestGuiExerciser : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<Install> m_install;
    QTemporaryDir m_work;
    quint32 m_seed = 0;
    QRandomGenerator m_random, m_answers;
    std::unique_ptr<QAMainWindowEditor> m_window;
    QStringList m_log;
    int m_saves = 0, m_savesChecked = 0, m_files = 0;
    bool m_closing = false, m_failed = false;
    // Only actions that edit the open document, none that opens another.
    bool m_editsOnly = false;
    // Whether the action at hand wrote the document; a save may be refused or not happen.
    bool m_wroteFile = false;
    QString m_whenSaved;
    int m_documents = 0;
    QTimer m_responder;
    QHash<QString, int> m_done;

    QAVmrEditor *editor() const { return m_window->editor(); }
    QAVmrEditorTree *tree() const { return editor()->tree(); }
    QAVmrViewer *viewer() const { return editor()->viewer(); }
    int pick(int n) { return n > 0 ? int(m_random.bounded(n)) : 0; }
    bool chance(int percent) { return pick(100) < percent; }
    template<typename T> T *any(const QList<T *> &list)
    {
        return list.isEmpty() ? nullptr : list.at(pick(int(list.size())));
    }
    void note(const QString &what)
    {
        // VMR_EXERCISER_TRACE prints every action as it starts, for a run that crashes.
        static const bool trace = qEnvironmentVariableIsSet("VMR_EXERCISER_TRACE");
        if (trace)
            fprintf(stderr, "%s\n", qPrintable(what));
        m_log << what;
        if (m_log.size() > 25)
            m_log.removeFirst();
    }
    // What a failing check prints: the seed that replays the run and what led to it.
    QByteArray context(const QString &problem) const
    {
        return (problem + u"\nseed "_s + QString::number(m_seed)
                + u" (VMR_EXERCISER_SEED replays it); last actions:\n  "_s
                + m_log.join(u"\n  "_s))
            .toLocal8Bit();
    }

    QString randomText(bool lines)
    {
        QString text;
        for (int i = pick(4) + 1; i > 0; --i)
            text += lines && chance(20) ? u"\n"_s : kPieces[pick(std::size(kPieces))];
        return text;
    }

    // The answers to every dialog that opens, from their own sequence of choices. Each is
    // given from a turn of the event loop of its own: an answer may open the next dialog
    // (a question about a file that exists), which then needs an answer too.
    void respond()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || w->property("answered").toBool())
            return;
        w->setProperty("answered", true);
        // A dialog kept for later (a text's find dialog) needs an answer each time it shows.
        w->installEventFilter(this);
        QTimer::singleShot(0, w, [this, w]() { answer(w); });
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            watched->setProperty("answered", false);
        return QObject::eventFilter(watched, event);
    }

    void answer(QWidget *w)
    {
        // A dialog that asks on behalf of another one (a file that exists) may send the
        // user back to it: that one then needs an answer again.
        if (QWidget *owner = w->parentWidget() ? w->parentWidget()->window() : nullptr)
            owner->setProperty("answered", false);
        const auto pickAnswer = [this](int n) { return int(m_answers.bounded(n)); };
        const QString name = w->objectName();
        if (qobject_cast<QProgressDialog *>(w))
            return; // a generation being waited for ends by itself
        if (auto *dialog = qobject_cast<QFileDialog *>(w)) {
            QString path;
            const int choice = pickAnswer(3);
            if (dialog->windowTitle() == u"Add a Binary File"_s)
                path = choice == 0 ? QString() : m_work.filePath(choice == 1 ? u"small.bin"_s
                                                                             : u"empty.bin"_s);
            else if (name == u"save xvm file dialog"_s)
                path = choice == 0 ? QString()
                                   : m_work.filePath((choice == 1 ? u"saved_%1.xvm"_s
                                                                  : u"saved %1.xvm"_s)
                                                         .arg(++m_files));
            else if (name == u"replace binary file dialog"_s)
                path = choice == 0 ? QString() : m_work.filePath(choice == 1 ? u"small.bin"_s
                                                                             : u"empty.bin"_s);
            else if (name == u"extract binary file dialog"_s)
                path = choice == 0 ? QString() : m_work.filePath(u"extracted.bin"_s);
            else if (name == u"Export VMR dialog"_s)
                path = choice == 0 ? QString() : m_work.filePath(u"export.txt"_s);
            else if (name == u"FSB"_s && choice == 1 && !m_window->document()->path().isEmpty())
                path = m_window->document()->path();
            note(u"  dialog \""_s + dialog->windowTitle() + u"\": "_s
                 + (path.isEmpty() ? u"cancel"_s : path));
            return choosePath(path)(w);
        }
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            QList<QAbstractButton *> buttons = box->buttons();
            QAbstractButton *button = buttons.value(pickAnswer(int(buttons.size())));
            // Closing the window drops the changes.
            if (m_closing && box->text().startsWith(u"Save changes"_s))
                button = box->button(QMessageBox::No);
            note(u"  message \""_s + box->text().left(50) + u"\": "_s
                 + (button ? button->text() : u"none"_s));
            if (button)
                button->click();
            else
                box->reject();
            return;
        }
        if (auto *input = qobject_cast<QInputDialog *>(w)) {
            if (input->inputMode() == QInputDialog::TextInput) {
                const QString keys[] = {u"NEW_KEY"_s, u"SRCEXT"_s, u"K\fEY"_s, u""_s,
                                        u"USR \u00e9"_s};
                input->setTextValue(keys[pickAnswer(5)] + QString::number(pickAnswer(3)));
            }
            const bool ok = pickAnswer(4) != 0;
            note(u"  input \""_s + input->labelText() + u"\": "_s
                 + (ok ? printable(input->textValue()) : u"cancel"_s));
            return ok ? input->accept() : input->reject();
        }
        if (name == u"Preferences"_s) {
            // The help preferences, changed and kept or dropped; the document never sees them.
            auto *url = w->findChild<QLineEdit *>(u"help url"_s);
            url->selectAll();
            QTest::keyClicks(url, u"http://help.example/"_s + QString::number(pickAnswer(100)));
            // The help browser stays one that starts nothing.
            w->findChild<QComboBox *>(u"qvfd-cb-pref-txt"_s)->setEditText(u"true"_s);
            const QString button = pickAnswer(2) ? u"OK"_s : u"Cancel"_s;
            note(u"  preferences: "_s + url->text() + u", "_s + button);
            return VmrDrive::answer(button)(w);
        }
        note(u"  dialog \""_s + w->windowTitle() + u"\" closed"_s);
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
        else
            w->close();
    }

    // Where the shown fields and the document disagree; empty when they agree.
    QString mismatch() const
    {
        QStringList out;
        const auto differ = [&out](const QString &what, const QString &shown,
                                   const QString &stored) {
            if (shown != stored)
                out << what + u": shows \""_s + shown.left(80) + u"\", the document holds \""_s
                        + stored.left(80) + u'"';
        };
        for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
            QAVmrEditorNode *node = nodeOf(*it);
            if (node && node->isRenamable() && !tree()->isEditing(*it))
                differ(u"tree node"_s, node->text(0), node->data().attribute(u"Name"_s));
        }
        QAVmrViewer *view = viewer();
        if (!view)
            return out.join(u'\n');
        for (auto *m : view->findChildren<QATextMacro *>())
            differ(u"field "_s + m->element().attribute(u"Name"_s), m->lineEdit()->text(),
                   QAVmrViewer::childText(u"VALUE"_s, m->element()));
        for (auto *m : view->findChildren<QAOptionnalMacro *>()) {
            differ(u"optional field "_s + m->element().attribute(u"Name"_s),
                   m->lineEdit()->text(), m->element().attribute(u"Value"_s));
            if (m->element().hasAttribute(u"Defined"_s))
                differ(u"definition of "_s + m->element().attribute(u"Name"_s),
                       flag(m->checkBox()->isChecked()), m->element().attribute(u"Defined"_s));
        }
        for (auto *m : view->findChildren<QABinaryMacro *>())
            differ(u"switch "_s + m->element().attribute(u"Name"_s),
                   flag(m->checkBox()->isChecked()),
                   flag(m->element().attribute(u"Value"_s) == u"1"_s));
        for (auto *sheet : view->findChildren<QAFctOnglet *>())
            differ(u"function sheet"_s, QAVmrViewer::storedText(sheet->valueEdit()->document()),
                   QAVmrViewer::childText(u"VALUE"_s, sheet->element()));
        for (auto *pane : view->findChildren<QACommentPane *>())
            differ(u"comment pane"_s, QAVmrViewer::storedText(pane->editor()->document()),
                   QAVmrViewer::childText(u"COMMENT"_s, pane->target(), pane->depth()));
        const QDomElement element = view->viewedElement();
        const auto comment = [&](QTextEdit *edit) {
            differ(u"comment"_s, QAVmrViewer::storedText(edit->document()),
                   QAVmrViewer::childText(u"COMMENT"_s, element));
        };
        if (auto *text = qobject_cast<QAFreeText *>(view)) {
            if (text->isLoaded())
                differ(u"text"_s, QAVmrViewer::storedText(text->textEditor()->document()),
                       QAVmrViewer::childText(u"VALUE"_s, element));
            comment(text->commentEditor());
        } else if (auto *function = qobject_cast<QAFctViewer *>(view)) {
            const QDomElement value = QAFctViewer::valueChild(element);
            if (!value.isNull())
                differ(u"body"_s, QAVmrViewer::storedText(function->valueEditor()->document()),
                       QAVmrViewer::childText(u"VALUE"_s, value));
            comment(function->commentEditor());
        } else if (auto *page = qobject_cast<QACommentViewer *>(view)) {
            comment(page->commentEditor());
        } else if (auto *settings = qobject_cast<QAIsViewer *>(view)) {
            auto *table = qobject_cast<QAIsViewerTable *>(settings->table());
            for (int i = 0; i < table->topLevelItemCount(); ++i) {
                QAIsViewerItem *row = QAIsViewerItem::fromItem(table->topLevelItem(i));
                if (!row || row == table->renamingItem())
                    continue;
                const QDomElement e = row->element();
                if (e.tagName() == u"INIFIELD"_s)
                    differ(u"key"_s, row->text(0), e.firstChildElement(u"KEY"_s).text());
                differ(u"value of "_s + row->text(0), row->text(1),
                       e.firstChildElement(u"VALUE"_s).text());
            }
        } else if (auto *binary = qobject_cast<QABinFileViewer *>(view)) {
            QByteArray bytes;
            if (!binary->encodingRun() && !binary->reading()
                && QAEmbeddedFile::decode(element, &bytes))
                differ(u"binary size"_s, binary->sizeLabel()->text(),
                       u"%1 bytes"_s.arg(QLocale().toString(qint64(bytes.size()))));
        } else if (auto *choice = qobject_cast<QAChoiceViewer *>(view)) {
            const QString chosen =
                element.firstChildElement(u"CHOICE"_s).attribute(u"Value"_s);
            if (choice->choiceBox()->findText(chosen) >= 0)
                differ(u"choice"_s, choice->choiceBox()->currentText(), chosen);
        }
        return out.join(u'\n');
    }

    void fail(const QString &problem)
    {
        m_failed = true;
        QTest::qFail(context(problem).constData(), __FILE__, __LINE__);
    }

    // The saved file opens again and holds what the window holds.
    bool savedFileAgrees()
    {
        ++m_saves;
        if (!m_window->document()->lastSaveOk() || !m_wroteFile)
            return true;
        ++m_savesChecked;
        const QString path = m_window->document()->path();
        QFile file(path);
        QDomDocument reopened;
        QString error;
        if (!file.open(QIODevice::ReadOnly)
            || !QAXmlEditor::parseDocument(&file, &reopened, &error)) {
            fail(path + u" does not open again: "_s + error);
            return false;
        }
        // An emptied field may hold an empty text, which a file cannot tell from none.
        const QString saved = canonical(reopened.documentElement()).remove(u"[TEXT:]"_s);
        const QString held = m_whenSaved;
        if (saved == held)
            return true;
        qsizetype at = 0;
        while (at < saved.size() && at < held.size() && saved.at(at) == held.at(at))
            ++at;
        fail(u"the saved file differs from the window's document at\n  "_s
             + saved.mid(qMax(0, at - 60), 140) + u"\nagainst\n  "_s
             + held.mid(qMax(0, at - 60), 140));
        return false;
    }

    // Actions. Each does what a user does, through the real widgets.

    void clickNode()
    {
        QList<QTreeWidgetItem *> items;
        for (QTreeWidgetItemIterator it(tree()); *it; ++it)
            items << *it;
        QTreeWidgetItem *item = any(items);
        if (!item)
            return;
        note(u"click node "_s + item->text(0));
        tree()->scrollToItem(item);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          tree()->visualItemRect(item).center());
    }

    void keysInTree()
    {
        const Qt::Key keys[] = {Qt::Key_Up,  Qt::Key_Down,     Qt::Key_PageDown, Qt::Key_Home,
                                Qt::Key_End, Qt::Key_Left,     Qt::Key_Right,    Qt::Key_F2,
                                Qt::Key_Delete, Qt::Key_Escape, Qt::Key_Menu};
        const Qt::Key key = keys[pick(std::size(keys))];
        note(u"key in tree "_s + QKeySequence(key).toString());
        tree()->setFocus(Qt::OtherFocusReason);
        // The keyboard's menu key opens the node's menu, which then needs an answer.
        const auto menu = VmrTest::chooseFromNextMenu(
            [this](const QStringList &entries) { return menuChoice(entries); });
        QTest::keyClick(tree(), key);
        QCoreApplication::processEvents();
        if (key == Qt::Key_F2 && tree()->isEditing(tree()->currentItem()))
            typeName();
    }

    QString menuChoice(const QStringList &entries)
    {
        QStringList usable;
        for (const QString &entry : entries) {
            if (entry != u"-"_s)
                usable << entry;
        }
        const QString chosen = chance(15) ? QString() : usable.value(pick(int(usable.size())));
        note(u"  menu "_s + (chosen.isEmpty() ? u"closed"_s : chosen));
        return chosen;
    }

    void treeMenu()
    {
        QList<QTreeWidgetItem *> items;
        for (QTreeWidgetItemIterator it(tree()); *it; ++it)
            items << *it;
        QTreeWidgetItem *item = any(items);
        if (!item)
            return;
        note(u"right click on node "_s + item->text(0));
        tree()->scrollToItem(item);
        const auto menu = VmrTest::chooseFromNextMenu(
            [this](const QStringList &entries) { return menuChoice(entries); });
        VmrTest::rightClick(tree()->viewport(), tree()->visualItemRect(item).center());
        QCoreApplication::processEvents();
        if (tree()->isEditing(tree()->currentItem()))
            typeName();
    }

    // The in-place editor of a node's name is open: type a name and end it somehow.
    void typeName()
    {
        auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        if (!line)
            return;
        if (chance(50))
            line->selectAll();
        const QString names[] = {u"run.sh"_s, u"a b.txt"_s, u"\u00e9t\u00e9.c"_s, u"x"_s,
                                 u""_s};
        for (const QChar c : names[pick(std::size(names))])
            QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(c), Qt::NoModifier);
        const int end = pick(3);
        note(u"  rename to \""_s + line->text() + u"\", "_s
             + QStringList{u"Return"_s, u"Escape"_s, u"click away"_s}[end]);
        if (end == 0)
            QTest::keyClick(line, Qt::Key_Return);
        else if (end == 1)
            QTest::keyClick(line, Qt::Key_Escape);
        else
            clickNode();
    }

    // The fields of the shown viewer that take text.
    QWidgetList textFields() const
    {
        QWidgetList fields;
        for (auto *line : shown<QLineEdit>(viewer())) {
            if (!line->isReadOnly() && !qobject_cast<QComboBox *>(line->parentWidget()))
                fields << line;
        }
        for (auto *text : shown<QTextEdit>(viewer())) {
            if (!text->isReadOnly())
                fields << text;
        }
        for (auto *text : shown<QPlainTextEdit>(viewer())) {
            if (!text->isReadOnly())
                fields << text;
        }
        return fields;
    }

    static QWidget *clickTarget(QWidget *field)
    {
        if (auto *area = qobject_cast<QAbstractScrollArea *>(field))
            return area->viewport();
        return field;
    }

    void typeIntoField()
    {
        QWidget *field = any(textFields());
        if (!field)
            return;
        const bool lines = !qobject_cast<QLineEdit *>(field);
        const QString text = randomText(lines);
        note(u"type into "_s + QString::fromLatin1(field->metaObject()->className()) + u" \""_s
             + text + u'"');
        QTest::mouseClick(clickTarget(field), Qt::LeftButton);
        switch (pick(4)) {
        case 0:
            QTest::keyClick(field, Qt::Key_End, lines ? Qt::ControlModifier : Qt::NoModifier);
            break;
        case 1:
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            break;
        case 2:
            for (int i = pick(5); i > 0; --i)
                QTest::keyClick(field, Qt::Key_Backspace);
            break;
        default:
            break;
        }
        for (const QChar c : text) {
            if (c == u'\n')
                QTest::keyClick(field, Qt::Key_Return);
            else // as a keyboard of any layout sends it
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }

    void pasteOrDrop()
    {
        QWidget *field = any(textFields());
        if (!field)
            return;
        QString text = randomText(true);
        for (int i = pick(3); i >= 0; --i)
            text.insert(pick(int(text.size()) + 1), kForbidden[pick(std::size(kForbidden))]);
        const bool drop = chance(30);
        note(QString(drop ? u"drop onto "_s : u"paste into "_s)
             + QString::fromLatin1(field->metaObject()->className()) + u" \""_s
             + printable(text) + u'"');
        QTest::mouseClick(clickTarget(field), Qt::LeftButton);
        if (!drop) {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            return;
        }
        QWidget *target = clickTarget(field);
        QMimeData data;
        data.setText(text);
        // A file from the desktop: a port description opens in place of the document.
        if (!m_editsOnly && chance(20)) {
            const QString path = chance(50) ? m_window->document()->path()
                                            : m_work.filePath(u"small.bin"_s);
            note(u"  carrying the file "_s + path);
            data.setUrls({QUrl::fromLocalFile(path)});
        }
        VmrTest::dropOn(target, data);
    }

    void textMenu()
    {
        QWidget *field = any(textFields());
        if (!field)
            return;
        note(u"right click into "_s + QString::fromLatin1(field->metaObject()->className()));
        const auto menu = VmrTest::chooseFromNextMenu(
            [this](const QStringList &entries) { return menuChoice(entries); });
        VmrTest::rightClick(clickTarget(field), clickTarget(field)->rect().center());
        // Some text fields show their menu and return at once: wait for the choice.
        if (!QTest::qWaitFor([&menu]() { return menu->opened && !QApplication::activePopupWidget(); },
                             3000))
            note(u"  no menu"_s);
        QCoreApplication::processEvents();
    }

    void toggleBox()
    {
        QCheckBox *box = any(shown<QCheckBox>(viewer()));
        if (!box)
            return;
        note(u"click check box "_s + box->text());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }

    void choiceOrTab()
    {
        auto *choice = qobject_cast<QAChoiceViewer *>(viewer());
        if (!choice)
            return clickNode();
        QComboBox *box = choice->choiceBox();
        const int kind = pick(3);
        if (kind == 0 && box->count() > 0) {
            const int index = pick(box->count());
            note(u"choose "_s + box->itemText(index));
            box->showPopup();
            if (!QTest::qWaitFor([box]() { return box->view()->isVisible(); }))
                return;
            box->view()->setCurrentIndex(box->model()->index(index, 0));
            QTest::keyClick(box->view(), Qt::Key_Return);
        } else if (kind == 1 && choice->tabs()->count() > 0) {
            QTabBar *bar = choice->tabs()->tabBar();
            const int index = pick(bar->count());
            note(u"click tab "_s + bar->tabText(index));
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        } else {
            note(u"wheel over the choice"_s);
            VmrTest::turnWheel(box, chance(50) ? 1 : -1);
        }
    }

    void settingsTable()
    {
        auto *settings = qobject_cast<QAIsViewer *>(viewer());
        if (!settings)
            return clickNode();
        QTreeWidget *table = settings->table();
        const int kind = pick(4);
        if (kind == 0) {
            QPushButton *button = any(shown<QPushButton>(settings));
            if (!button)
                return;
            note(u"press "_s + button->text());
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
        QTreeWidgetItem *row = table->topLevelItem(pick(table->topLevelItemCount()));
        if (!row)
            return;
        const int column = pick(2);
        table->scrollToItem(row);
        const QPoint at = table->visualItemRect(row).topLeft()
            + QPoint(table->header()->sectionPosition(column) + 5,
                     table->visualItemRect(row).height() / 2);
        note(u"row "_s + row->text(0) + (kind == 1 ? u": click"_s : u": edit column "_s
                                                                       + QString::number(column)));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        if (kind == 1)
            return;
        if (kind == 2)
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::keyClick(table->viewport(), Qt::Key_F2);
        auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        if (!line || !line->parentWidget() || line->parentWidget() != table->viewport())
            return;
        for (const QChar c : randomText(false))
            QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(c), Qt::NoModifier);
        const int end = pick(3);
        note(u"  typed \""_s + line->text() + u"\", "_s
             + QStringList{u"Return"_s, u"Escape"_s, u"click away"_s}[end]);
        if (end == 0)
            QTest::keyClick(line, Qt::Key_Return);
        else if (end == 1)
            QTest::keyClick(line, Qt::Key_Escape);
        else
            clickNode();
    }

    void windowMenu()
    {
        QMenuBar *bar = m_window->menuBar();
        const QList<QAction *> menus = bar->actions();
        QAction *title = any(menus);
        if (!title || !title->menu())
            return;
        note(u"menu bar "_s + title->text());
        const auto menu = VmrTest::chooseFromNextMenu([this](const QStringList &entries) {
            QStringList usable;
            for (const QString &entry : entries) {
                // Leaving is the end of the run, not one of its actions.
                if (entry != u"-"_s && entry != u"E&xit"_s)
                    usable << entry;
            }
            const QString chosen = usable.value(pick(int(usable.size())));
            note(u"  entry "_s + chosen);
            return chosen;
        });
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        if (!QTest::qWaitFor([&menu]() { return !QApplication::activePopupWidget() && menu->opened; },
                             3000))
            note(u"  no menu"_s);
        QCoreApplication::processEvents();
        if (menu->entries.contains(u"&Save && Generate"_s))
            savedFileAgrees();
    }

    void shortcut()
    {
        struct Key
        {
            const char *name;
            QKeySequence keys;
        };
        const Key keys[] = {{"save", QKeySequence(Qt::CTRL | Qt::Key_S)},
                            {"undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
                            {"redo", QKeySequence(Qt::CTRL | Qt::Key_Y)},
                            {"select all", QKeySequence(Qt::CTRL | Qt::Key_A)},
                            {"cut", QKeySequence(Qt::CTRL | Qt::Key_X)},
                            {"paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
                            {"delete", QKeySequence(Qt::Key_Delete)},
                            // Last: a run of edits alone keeps its file.
                            {"save as", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}};
        const Key &key = keys[pick(int(std::size(keys)) - (m_editsOnly ? 1 : 0))];
        // The window's shortcuts reach it while it is the active one, as on a desktop.
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get(), 1000))
            note(u"  the window did not become active"_s);
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget()
                                                     : m_window.get();
        note(u"shortcut "_s + QLatin1String(key.name) + u" in "_s
             + QString::fromLatin1(focus->metaObject()->className()));
        QTest::keySequence(focus, key.keys);
        QCoreApplication::processEvents();
        if (QLatin1String(key.name).startsWith(u"save"_s))
            savedFileAgrees();
    }

    // Characters typed one by one, any letter among them.
    static void typeChars(QWidget *field, const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // Ctrl+F, a text and an option, then the hits walked, chosen or replaced.
    void findInPort()
    {
        QAFindPane *pane = m_window->findPane();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get(), 1000))
            note(u"  the window did not become active"_s);
        QTest::keySequence(m_window.get(), QKeySequence(Qt::CTRL | Qt::Key_F));
        const QString patterns[] = {u"gcc"_s, u"usr_*"_s, u"-m[0-9]+"_s, u"e"_s, u"USR"_s,
                                    kPieces[pick(std::size(kPieces))]};
        const QString pattern = patterns[pick(std::size(patterns))];
        QList<QCheckBox *> boxes = pane->findChildren<QCheckBox *>();
        QCheckBox *box = any(boxes);
        note(u"find \""_s + pattern + u"\", "_s + box->text());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        pane->patternEdit()->selectAll();
        typeChars(pane->patternEdit(), pattern);
        QTest::keyClick(pane->patternEdit(), Qt::Key_Return);
        if (!QTest::qWaitFor([pane]() { return !pane->searching(); }, 5000))
            fail(u"the search did not end"_s);
        for (int i = pick(4); i >= 0; --i) {
            const int what = pick(6);
            QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget()
                                                         : m_window.get();
            if (what == 0) {
                note(u"  F3"_s);
                QTest::keyClick(focus, Qt::Key_F3);
            } else if (what == 1) {
                note(u"  Shift+F3"_s);
                QTest::keyClick(focus, Qt::Key_F3, Qt::ShiftModifier);
            } else if (what == 2 && pane->results()->topLevelItemCount() > 0) {
                QTreeWidgetItem *row =
                    pane->results()->topLevelItem(pick(pane->results()->topLevelItemCount()));
                note(u"  click hit "_s + row->text(0));
                pane->results()->scrollToItem(row);
                QTest::mouseClick(pane->results()->viewport(), Qt::LeftButton, {},
                                  pane->results()->visualItemRect(row).center());
            } else if (what >= 3) {
                pane->replacementEdit()->selectAll();
                typeChars(pane->replacementEdit(), randomText(false));
                auto *button = pane->findChild<QPushButton *>(what == 3 ? u"replace all"_s
                                                                        : u"replace one"_s);
                note(u"  "_s + button->text() + u" with \""_s
                     + printable(pane->replacementEdit()->text()) + u'"');
                QTest::mouseClick(button, Qt::LeftButton);
            }
            QCoreApplication::processEvents();
        }
        // Escape in the pane puts it away.
        if (chance(25) && pane->isAncestorOf(QApplication::focusWidget())) {
            note(u"  Escape"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            if (pane->isVisible())
                fail(u"Escape left the Find in Port pane shown"_s);
        }
    }

    // A problem of the list activated; the filter of the tree typed into and cleared.
    void problemsAndFilter()
    {
        QAProblemsPane *pane = m_window->problemsPane();
        pane->checkNow();
        if (pane->list()->topLevelItemCount() > 0 && chance(60)) {
            QTreeWidgetItem *row = pane->list()->topLevelItem(pick(pane->list()->topLevelItemCount()));
            note(u"problem "_s + row->text(0).left(60));
            pane->list()->setCurrentItem(row);
            QTest::keyClick(pane->list(), Qt::Key_Return);
            return;
        }
        QLineEdit *filter = editor()->treeFilter();
        const QString texts[] = {u"set"_s, u"sh"_s, u"Clock"_s, u"zz"_s};
        const QString text = texts[pick(std::size(texts))];
        note(u"filter the tree by "_s + text);
        // Typed over whatever the box holds: an undo in it may have brought a text back.
        QTest::mouseClick(filter, Qt::LeftButton);
        filter->selectAll();
        QTest::keyClicks(filter, text);
        // A node is shown when it or a node below it matches.
        std::function<bool(QTreeWidgetItem *)> matches = [&](QTreeWidgetItem *item) {
            if (item->text(0).contains(text, Qt::CaseInsensitive))
                return true;
            for (int i = 0; i < item->childCount(); ++i)
                if (matches(item->child(i)))
                    return true;
            return false;
        };
        for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
            const QTreeWidgetItem *parent = (*it)->parent();
            if ((*it)->isHidden() == matches(*it) && (!parent || !parent->isHidden()))
                fail(u"the filter "_s + text + u" shows or hides "_s + (*it)->text(0));
        }
        // Left with Escape, which clears it, or with Down into the tree, on a match.
        const int leave = pick(3);
        if (leave == 0 && filter->hasFocus()) {
            note(u"  Escape"_s);
            QTest::keyClick(filter, Qt::Key_Escape);
            if (!filter->text().isEmpty())
                fail(u"Escape left the filter "_s + filter->text());
        } else if (leave == 1 && filter->hasFocus()) {
            note(u"  Down into the tree"_s);
            QTest::keyClick(filter, Qt::Key_Down);
            const bool anyShown =
                *QTreeWidgetItemIterator(tree(), QTreeWidgetItemIterator::NotHidden) != nullptr;
            QTreeWidgetItem *current = tree()->currentItem();
            if (anyShown ? !current || current->isHidden() || !tree()->hasFocus()
                         : !filter->hasFocus())
                fail(u"Down from the filter is not on a shown node of the focused tree"_s);
        }
        filter->clear();
    }

    // Replace... or Extract... of the binary file shown.
    void binaryFile()
    {
        auto *binary = qobject_cast<QABinFileViewer *>(viewer());
        if (!binary)
            return clickNode();
        auto *button = binary->findChild<QPushButton *>(chance(50) ? u"replace binary file"_s
                                                                   : u"extract binary file"_s);
        note(u"binary file: "_s + button->text());
        QTest::mouseClick(button, Qt::LeftButton);
        const QPointer<QABinFileViewer> shown(binary);
        if (!QTest::qWaitFor([shown]() { return !shown || !shown->encodingRun(); }, 10000))
            fail(u"the encoding of a binary file did not end"_s);
    }

    void act()
    {
        // A menu left open is closed first, as a user would with Escape: while one is open
        // the real window sends it every key and click.
        while (QWidget *popup = QApplication::activePopupWidget()) {
            note(u"  escape from an open menu"_s);
            QTest::keyClick(popup, Qt::Key_Escape);
            if (QApplication::activePopupWidget() == popup)
                popup->close();
        }
        using Action = void (TestGuiExerciser::*)();
        struct Weighted
        {
            int weight;
            Action action;
            const char *name;
        };
        const Weighted actions[] = {
            {14, &TestGuiExerciser::clickNode, "clickNode"},
            {8, &TestGuiExerciser::keysInTree, "keysInTree"},
            {12, &TestGuiExerciser::treeMenu, "treeMenu"},
            {16, &TestGuiExerciser::typeIntoField, "typeIntoField"},
            {8, &TestGuiExerciser::pasteOrDrop, "pasteOrDrop"},
            {4, &TestGuiExerciser::textMenu, "textMenu"},
            {6, &TestGuiExerciser::toggleBox, "toggleBox"},
            {8, &TestGuiExerciser::choiceOrTab, "choiceOrTab"},
            {12, &TestGuiExerciser::settingsTable, "settingsTable"},
            {m_editsOnly ? 0 : 5, &TestGuiExerciser::windowMenu, "windowMenu"},
            {7, &TestGuiExerciser::shortcut, "shortcut"},
            {5, &TestGuiExerciser::findInPort, "findInPort"},
            {3, &TestGuiExerciser::problemsAndFilter, "problemsAndFilter"},
            {4, &TestGuiExerciser::binaryFile, "binaryFile"},
        };
        int total = 0;
        for (const Weighted &w : actions)
            total += w.weight;
        int at = pick(total);
        for (const Weighted &w : actions) {
            if ((at -= w.weight) < 0) {
                ++m_done[QLatin1String(w.name)];
                m_wroteFile = false;
                (this->*w.action)();
                break;
            }
        }
        // A modal dialog left open (a slow script's error) is answered before going on.
        if (!QTest::qWaitFor([]() { return !QApplication::activeModalWidget(); }, 10000)) {
            QWidget *open = QApplication::activeModalWidget();
            fail(u"a dialog stayed open: "_s + QString::fromLatin1(open->metaObject()->className())
                 + u" \""_s + open->windowTitle() + u'"');
        }
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        s_previousHandler = qInstallMessageHandler(quietPlatform);
        m_home = VmrTest::privateHome();
        m_install = std::make_unique<Install>();
        // A fixed seed unless told otherwise, so that every run of the suite walks the same
        // way; "random" draws one.
        const QString seed = qEnvironmentVariable("VMR_EXERCISER_SEED", u"20261207"_s);
        bool ok = false;
        m_seed = seed.toUInt(&ok);
        if (!ok)
            m_seed = QRandomGenerator::global()->generate();
        m_random.seed(m_seed);
        m_answers.seed(m_seed ^ 0x5eed);
        qInfo("exerciser seed %u", m_seed);
        QVERIFY(writeFile(m_work.filePath(u"small.bin"_s), QByteArray("\x00\x01\x02\xff<&>", 7)));
        QVERIFY(writeFile(m_work.filePath(u"empty.bin"_s), QByteArray()));
        connect(&m_responder, &QTimer::timeout, this, &TestGuiExerciser::respond);
        m_responder.start(15);
    }
    void cleanupTestCase()
    {
        m_responder.stop();
        QStringList done;
        for (auto it = m_done.cbegin(); it != m_done.cend(); ++it)
            done << it.key() + u' ' + QString::number(it.value());
        done.sort();
        qInfo("%s; saves %d, of which checked %d", qPrintable(done.join(u", "_s)), m_saves,
              m_savesChecked);
    }

    void everyEntryLeavesOutWhatXmlCannotHold()
    {
        // Pasted or dropped into each kind of field of the example, a text with a form feed
        // and an escape keeps its letters, and the status bar says what was left out; the
        // saved file opens again with each of them.
        const QString copy = m_work.filePath(u"entries.xvm"_s);
        const QByteArray original =
            readFile(VmrTest::orbiskDir() + u"/targets/examples/linux_gcc.xvm"_s);
        QVERIFY(writeFile(copy, original));
        m_window = openWindow(copy);
        QVERIFY(shown(m_window.get()));
        using Field = std::function<QWidget *(QAVmrViewer *)>;
        const Field comment = [](QAVmrViewer *v) { return v->findChild<QATextEdit *>(); };
        const struct
        {
            QStringList path;
            Field field; // none: the in-place editor opened on the node or the first row
            bool drop;
        } entries[] = {
            {{u"Build"_s, u"env.sh"_s},
             [](QAVmrViewer *v) { return qobject_cast<QAFreeText *>(v)->textEditor(); }, false},
            {{u"Build"_s, u"run_tests.sh"_s}, comment, true},
            {{u"Build"_s, u"Link"_s},
             [](QAVmrViewer *v) { return qobject_cast<QAFctViewer *>(v)->valueEditor(); }, false},
            {{u"Runtime library"_s, u"Linkage"_s},
             [](QAVmrViewer *v) { return v->findChild<QATextMacro *>()->lineEdit(); }, false},
            {{u"Runtime library"_s, u"Linkage"_s},
             [](QAVmrViewer *v) { return v->findChild<QAOptionnalMacro *>()->lineEdit(); }, true},
            {{u"Runtime library"_s, u"Initialisation"_s},
             [](QAVmrViewer *v) { return v->findChild<QAFctOnglet *>()->valueEdit(); }, false},
            {{u"Settings"_s}, comment, false},
            {{u"Runtime library"_s, u"Data types"_s},
             [](QAVmrViewer *v) { return v->findChild<QACommentPane *>()->editor(); }, true},
            {{u"Settings"_s, u"C settings"_s}, nullptr, false},
            {{}, nullptr, false},
        };
        const QString typed = u"a\fb\x1bé"_s;
        for (const auto &entry : entries) {
            QTreeWidgetItem *item = VmrDrive::nodeAt(tree(), entry.path);
            QVERIFY2(item, qPrintable(entry.path.join(u'/')));
            tree()->scrollToItem(item);
            QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                              tree()->visualItemRect(item).center());
            QWidget *field = entry.field ? entry.field(viewer()) : nullptr;
            if (!field && entry.path.isEmpty()) {
                tree()->setFocus();
                QTest::keyClick(tree(), Qt::Key_F2);
                field = QApplication::focusWidget();
            } else if (!field) {
                QTreeWidget *table = qobject_cast<QAIsViewer *>(viewer())->table();
                const QRect row = table->visualItemRect(table->topLevelItem(0));
                const QPoint value(table->header()->sectionPosition(1) + 5, row.center().y());
                QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, value);
                QTest::keyClick(table, Qt::Key_F2);
                field = table->viewport()->findChild<QLineEdit *>();
            }
            QVERIFY2(field && field->isEnabled(), qPrintable(entry.path.join(u'/')));
            m_window->statusBar()->clearMessage();
            QWidget *target = clickTarget(field);
            if (entry.drop) {
                QMimeData data;
                data.setText(typed);
                VmrTest::dropOn(target, data);
            } else {
                if (entry.field)
                    QTest::mouseClick(target, Qt::LeftButton);
                QApplication::clipboard()->setText(typed);
                QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            }
            // Return ends an in-place edit once control is back in the event loop.
            if (!entry.field) {
                QTest::keyClick(field, Qt::Key_Return);
                QCoreApplication::processEvents();
            }

            QCOMPARE(status(m_window.get()),
                     u"Left out characters that a port description cannot hold: U+000C, "
                     "U+001B."_s);
            QVERIFY2(mismatch().isEmpty(), qPrintable(mismatch()));
        }
        const int before = QString::fromUtf8(original).count(u"abé"_s);
        QCOMPARE(canonical(m_window->document()->root()).count(u"abé"_s),
                 before + int(std::size(entries)));
        QCOMPARE(canonical(m_window->document()->root()).count(u'\f'), 0);
        m_window->document()->save(copy);
        QVERIFY(m_window->document()->lastSaveOk());
        QCOMPARE(canonicalDocument(readFile(copy)), canonical(m_window->document()->root()));
        m_window->editor()->setModified(false);
        m_window.reset();
    }

    void undoingEverythingGivesTheFileBack()
    {
        // The example as the editor saves it, then edited at random through the widgets:
        // undone step by step with Ctrl+Z, each step shown where it was made, it saves into
        // the same bytes; redone with Ctrl+Shift+Z, into the bytes of the edited save.
        const QString copy = m_work.filePath(u"history.xvm"_s);
        QVERIFY(writeFile(copy, readFile(VmrTest::orbiskDir()
                                         + u"/targets/examples/linux_gcc.xvm"_s)));
        m_window = openWindow(copy);
        m_window->help()->setCommand(u"true"_s);
        m_window->editor()->help()->setCommand(u"true"_s);
        QVERIFY(shown(m_window.get()));
        QVERIFY(m_window->document()->save(copy));
        const QByteArray original = readFile(copy);
        m_log.clear();
        m_editsOnly = true;
        bool ok = false;
        int actions = qEnvironmentVariableIntValue("VMR_EXERCISER_ACTIONS", &ok);
        for (int i = 0; i < (ok ? actions : 60) && !m_failed; ++i)
            act();
        m_editsOnly = false;
        QVERIFY(!m_failed);
        // A binary file on its way is part of the edits.
        QTRY_VERIFY_WITH_TIMEOUT(!tree()->encodingRun(), 30000);
        QVERIFY(m_window->document()->save(copy));
        const QByteArray edited = readFile(copy);
        QUndoStack *history = editor()->edits()->history();
        QVERIFY2(history->count() > 0 && edited != original, "nothing was edited");
        for (const bool undo : {true, false}) {
            for (int steps = 0; undo ? history->canUndo() : history->canRedo(); ++steps) {
                QVERIFY2(steps < 10000, "the history does not end");
                m_window->activateWindow();
                QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget()
                                                             : m_window.get();
                QTest::keySequence(focus, undo ? QKeySequence(Qt::CTRL | Qt::Key_Z)
                                               : QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
                QCoreApplication::processEvents();
                QVERIFY2(mismatch().isEmpty(), context(mismatch()).constData());
            }
            QVERIFY(m_window->document()->save(copy));
            QVERIFY2(readFile(copy) == (undo ? original : edited),
                     context(undo ? u"undone, the file differs from the original"_s
                                  : u"redone, the file differs from the edited save"_s)
                         .constData());
        }
        m_window->editor()->setModified(false);
        m_window.reset();
    }

    void exercise_data()
    {
        QTest::addColumn<QString>("document");
        QTest::newRow("example") << VmrTest::orbiskDir() + u"/targets/examples/linux_gcc.xvm"_s;
        const QStringList templates = QDir(VmrTest::orbiskDir() + u"/targets/xml"_s)
                                          .entryList({u"*.xvm"_s}, QDir::Files, QDir::Name);
        for (const QString &name : templates)
            QTest::newRow(name.toLatin1().constData()) << VmrTest::templatePath(name);
        m_documents = int(templates.size()) + 1;
    }
    void exercise()
    {
        QFETCH(QString, document);
        bool ok = false;
        int actions = qEnvironmentVariableIntValue("VMR_EXERCISER_ACTIONS", &ok);
        if (!ok)
            actions = 40;
        // With a time given, each document has its share of it, worked on again and again.
        const qint64 share =
            qEnvironmentVariableIntValue("VMR_EXERCISER_SECONDS") * 1000 / qMax(1, m_documents);
        QElapsedTimer clock;
        clock.start();
        m_log.clear();
        do {
            const QString copy = m_work.filePath(QFileInfo(document).fileName());
            QFile::remove(copy);
            QVERIFY(QFile::copy(document, copy));
            QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            m_window = openWindow(copy);
            connect(m_window->statusBar(), &QStatusBar::messageChanged, this,
                    [this](const QString &message) {
                        // What the window held as it wrote: a binary file may arrive later.
                        if (message == u"xvm file saved."_s) {
                            m_wroteFile = true;
                            m_whenSaved =
                                canonical(m_window->document()->root()).remove(u"[TEXT:]"_s);
                        }
                    });
            m_window->help()->setCommand(u"true"_s);
            m_window->editor()->help()->setCommand(u"true"_s);
            QVERIFY(shown(m_window.get()));
            note(u"open "_s + copy);
            for (int i = 0; i < actions && !m_failed; ++i) {
                act();
                const QString problem = mismatch();
                if (!problem.isEmpty())
                    fail(problem);
            }
            if (m_failed)
                return;
            m_closing = true;
            m_window->close();
            m_closing = false;
            QVERIFY2(!m_window->isVisible(), context(u"the window did not close"_s).constData());
            m_window.reset();
        } while (clock.elapsed() < share);
    }
};

QTEST_MAIN(TestGuiExerciser)
#include "tst_guiexerciser.moc"
