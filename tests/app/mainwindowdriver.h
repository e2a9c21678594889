#pragma once

// Helpers of the tests that drive the whole main window: a private copy of the staged
// installation whose scripts a test may replace, the window itself, an ordered script
// of answers to the modal dialogs it opens, and a comparison of saved documents.

#include "app/qamainwindoweditor.h"
#include "app/qavmrerrordialog.h"

#include "testutil.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDomDocument>
#include <QFileDialog>
#include <QLineEdit>
#include <QStatusBar>
#include <QtCore>

using namespace Qt::StringLiterals;

namespace VmrDrive {

using Handler = std::function<void(QWidget *)>;

/**
 * Answers the modal dialogs that appear, in order, one handler each. A modal dialog
 * that appears once the handlers are used up, or that its answer did not close within
 * 10 s, is recorded and rejected, so that a test fails on it instead of hanging. Only
 * the newest script answers; an older one waits until the newer one is gone.
 */
class ModalScript : public QObject
{
public:
    explicit ModalScript(QList<Handler> handlers = {})
        : m_handlers(std::move(handlers)), m_previous(active())
    {
        active() = this;
        connect(&m_timer, &QTimer::timeout, this, [this]() { poll(); });
        m_timer.start(20);
    }
    ~ModalScript() override
    {
        if (active() == this)
            active() = m_previous;
    }

    bool allHandled() const { return m_handled == m_handlers.size(); }
    QStringList unexpected() const { return m_unexpected; }
    QByteArray report() const { return m_unexpected.join(u'\n').toLocal8Bit(); }

private:
    static ModalScript *&active()
    {
        static ModalScript *current = nullptr;
        return current;
    }

    void poll()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (active() != this || !w || !w->isVisible())
            return;
        if (w == m_last) {
            if (m_since.elapsed() > 10000) {
                m_unexpected << u"still open after its answer: "_s + w->windowTitle();
                reject(w);
                m_since.restart();
            }
            return;
        }
        m_last = w;
        m_since.restart();
        if (m_handled < m_handlers.size()) {
            m_handlers[m_handled++](w);
            return;
        }
        QString text = QString::fromLatin1(w->metaObject()->className()) + u": "_s + w->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(w))
            text += u": "_s + box->text();
        if (auto *error = qobject_cast<QAVmrErrorDialog *>(w))
            text += u": "_s + error->message();
        m_unexpected << text;
        reject(w);
    }
    static void reject(QWidget *w)
    {
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
        else
            w->close();
    }

    QList<Handler> m_handlers;
    ModalScript *m_previous = nullptr;
    int m_handled = 0;
    QStringList m_unexpected;
    QPointer<QWidget> m_last;
    QElapsedTimer m_since;
    QTimer m_timer;
};

/** Fails the test unless every dialog the script expected came and no other did. */
#define VMR_ANSWERED(script) \
    QVERIFY2((script).allHandled() && (script).unexpected().isEmpty(), (script).report().constData())

/** Clicks the button of a message box that fits, keeping the box's text; else rejects. */
inline Handler pressIf(std::function<bool(QMessageBox *, QAbstractButton *)> fits, QString *text)
{
    return [fits, text](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (text)
            *text = box ? box->text() : u"(not a message box)"_s;
        for (QAbstractButton *b : box ? box->buttons() : QList<QAbstractButton *>()) {
            if (fits(box, b))
                return b->click();
        }
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
    };
}

/** Presses a standard button of a message box. */
inline Handler press(QMessageBox::StandardButton button, QString *text = nullptr)
{
    return pressIf([button](QMessageBox *box, QAbstractButton *b) { return box->button(button) == b; }, text);
}

/** Presses the button of a message box that shows the given text ("Update"). */
inline Handler pressText(const QString &label, QString *text = nullptr)
{
    return pressIf(
        [label](QMessageBox *, QAbstractButton *b) { return b->text().remove(u'&') == label; },
        text);
}

/** Closes the error dialog of a script run and keeps its text. */
inline Handler readError(QString *text)
{
    return [text](QWidget *w) {
        auto *error = qobject_cast<QAVmrErrorDialog *>(w);
        *text = error ? error->message() : u"(not the error dialog)"_s;
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->accept();
    };
}

/** What a file dialog showed when it came up. */
struct FileDialogSeen
{
    QString title, directory, proposedName;
};

/** Types a path into a file dialog's name field and accepts it; an empty path cancels. */
inline Handler choosePath(const QString &path, FileDialogSeen *seen = nullptr)
{
    return [path, seen](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        auto *name = dialog ? dialog->findChild<QLineEdit *>(u"fileNameEdit"_s) : nullptr;
        if (seen) {
            *seen = {w->windowTitle(), dialog ? dialog->directory().absolutePath() : QString(),
                     name ? name->text() : QString()};
        }
        if (!name || path.isEmpty()) {
            if (auto *plain = qobject_cast<QDialog *>(w))
                plain->reject();
            return;
        }
        // The file list fills in the background and may take back what was typed, and
        // its selection would win over the typed name: type again until the dialog
        // means the typed file, then do what its accept button does.
        const QString wanted = QDir::cleanPath(dialog->directory().absoluteFilePath(path));
        auto *retry = new QTimer(dialog);
        auto tries = std::make_shared<int>(0);
        auto attempt = [dialog, name, path, wanted, retry, tries]() {
            for (QAbstractItemView *view : dialog->findChildren<QAbstractItemView *>()) {
                if (view->selectionModel())
                    view->selectionModel()->clearSelection();
            }
            name->setText(path);
            if (dialog->selectedFiles().value(0) == wanted || ++*tries > 200) {
                retry->stop();
                QMetaObject::invokeMethod(dialog, *tries > 200 ? "reject" : "accept");
            }
        };
        QObject::connect(retry, &QTimer::timeout, dialog, attempt);
        retry->start(25);
        attempt();
    };
}

/** A copy of the staged installation; the test may replace its scripts. */
class Install
{
public:
    Install()
    {
        const QString staged = VmrTest::orbiskDir();
        QDirIterator it(staged, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString target = path() + source.mid(staged.size());
            it.fileInfo().isDir() ? QDir().mkpath(target) : QFile::copy(source, target);
        }
        QDir().mkpath(scriptsDir());
        QDir().mkpath(targets());
    }

    QString path() const { return m_dir.path(); }
    QString scriptsDir() const { return path() + u"/lib/scripts"_s; }
    QString targets() const { return path() + u"/targets"_s; }
    QString logOf(const QString &script) const { return path() + u'/' + script + u".log"_s; }

    /** Replaces a script; the body runs after its arguments are appended to its log. */
    void writeScript(const QString &script, const QByteArray &body) const
    {
        QFile file(scriptsDir() + u'/' + script);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write("use strict; use warnings;\nopen(my $log, '>>', '" + logOf(script).toLocal8Bit()
                   + "') or die;\nprint $log join('|', @ARGV), \"\\n\"; close $log;\n" + body + "\n");
    }
    void removeScript(const QString &script) const { QFile::remove(scriptsDir() + u'/' + script); }

    /** Each run of the script, its arguments joined with "|". */
    QStringList runsOf(const QString &script) const
    {
        QFile file(logOf(script));
        return file.open(QIODevice::ReadOnly)
            ? QString::fromLocal8Bit(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
            : QStringList();
    }

private:
    QTemporaryDir m_dir;
};

/** The main window as the program builds it, with an optional document to open. */
inline std::unique_ptr<QAMainWindowEditor> openWindow(const QString &file = QString())
{
    QByteArray program = VmrTest::program().toLocal8Bit();
    if (program.isEmpty())
        program = "vmreditor";
    QByteArray document = file.toLocal8Bit();
    char *argv[] = {program.data(), document.data(), nullptr};
    return std::make_unique<QAMainWindowEditor>(file.isEmpty() ? 1 : 2, argv);
}

inline QAction *action(QAMainWindowEditor *window, const char *name)
{
    return window->findChild<QAction *>(QLatin1String(name));
}

inline QString status(QAMainWindowEditor *window) { return window->statusBar()->currentMessage(); }

/** Forgets the settings of the previous test, the recent file among them. */
inline void clearSettings()
{
    QSettings settings(u"Quintar Software"_s, u"vmreditor"_s);
    settings.clear();
    settings.sync();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

/**
 * The content of a document in a form that does not depend on the order in which the
 * DOM writer puts attributes: elements with sorted attributes, texts, CDATA, comments.
 */
inline QString canonical(const QDomNode &node)
{
    if (node.isElement()) {
        const QDomElement element = node.toElement();
        QStringList attributes;
        const QDomNamedNodeMap map = element.attributes();
        for (int i = 0; i < map.count(); ++i)
            attributes << map.item(i).nodeName() + u"=\""_s + map.item(i).nodeValue() + u'"';
        std::sort(attributes.begin(), attributes.end());
        QString out = u'<' + (QStringList{element.tagName()} + attributes).join(u' ') + u'>';
        for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling())
            out += canonical(child);
        return out + u"</"_s + element.tagName() + u'>';
    }
    if (node.isCDATASection())
        return u"[CDATA:"_s + node.nodeValue() + u']';
    if (node.isText())
        return u"[TEXT:"_s + node.nodeValue() + u']';
    if (node.isComment())
        return u"[COMMENT:"_s + node.nodeValue() + u']';
    return node.isProcessingInstruction() ? u"[PI:"_s + node.nodeName() + u']' : QString();
}

/** The root element of a document's text. */
inline QDomElement rootOf(const QByteArray &bytes)
{
    QDomDocument document;
    document.setContent(bytes);
    return document.documentElement();
}

inline QString canonicalDocument(const QByteArray &bytes)
{
    QDomDocument document;
    return document.setContent(bytes) ? canonical(document.documentElement()) : u"(not XML)"_s;
}

/** Runs a command of the system; false with the reason when it fails. */
inline bool run(const QString &program, const QStringList &arguments, QString *why = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0)
        return true;
    if (why)
        *why = QString::fromLocal8Bit(process.readAllStandardError()).trimmed() + process.errorString();
    return false;
}

/** A small file system of its own, mounted on dir for as long as the object lives. */
class Tmpfs
{
public:
    Tmpfs(const QString &dir, const QString &size)
        : m_dir(dir)
    {
        QDir().mkpath(dir);
        m_mounted =
            run(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size="_s + size, u"vmrtest"_s, dir},
                &m_why);
    }
    ~Tmpfs()
    {
        if (m_mounted)
            run(u"umount"_s, {u"-l"_s, m_dir});
    }
    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }
    bool remountReadOnly() { return run(u"mount"_s, {u"-o"_s, u"remount,ro"_s, m_dir}, &m_why); }

private:
    QString m_dir;
    QString m_why;
    bool m_mounted = false;
};

} // namespace VmrDrive
