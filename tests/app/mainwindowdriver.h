#pragma once

// Helpers of the tests that drive the whole main window: a private copy of the staged
// installation whose scripts a test may replace, the window itself, an ordered script
// of answers to the modal dialogs it opens, and a comparison of saved documents.

#include "app/qamainwindoweditor.h"
#include "app/qavmrerrordialog.h"

#include "testutil.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDirIterator>
#include <QDomDocument>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

namespace VmrDrive {

using Handler = std::function<void(QWidget *)>;

/**
 * Answers the modal dialogs that appear, in order, one handler each. A modal dialog
 * that appears once the handlers are used up is recorded and rejected, so that a test
 * fails on it instead of hanging. Only the newest script answers; an older one waits
 * until the newer one is gone.
 */
class ModalScript : public QObject
{
public:
    explicit ModalScript(QList<Handler> handlers = {})
        : m_handlers(std::move(handlers))
        , m_previous(active())
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

    int handled() const { return m_handled; }
    bool allHandled() const { return m_handled == m_handlers.size(); }
    QStringList unexpected() const { return m_unexpected; }

private:
    static ModalScript *&active()
    {
        static ModalScript *current = nullptr;
        return current;
    }

    void poll()
    {
        if (active() != this)
            return;
        QWidget *w = QApplication::activeModalWidget();
        if (!w || !w->isVisible())
            return;
        if (w == m_last) {
            // An answer that did not close its dialog would leave the test waiting.
            if (m_since.elapsed() > 10000) {
                m_unexpected << QStringLiteral("still open after its answer: ") + w->windowTitle();
                if (auto *dialog = qobject_cast<QDialog *>(w))
                    dialog->reject();
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
        QString text = QString::fromLatin1(w->metaObject()->className()) + QStringLiteral(": ")
            + w->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(w))
            text += QStringLiteral(": ") + box->text();
        if (auto *error = qobject_cast<QAVmrErrorDialog *>(w))
            text += QStringLiteral(": ") + error->message();
        m_unexpected << text;
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

/** Presses a standard button of a message box and keeps the box's text. */
inline Handler press(QMessageBox::StandardButton button, QString *text = nullptr)
{
    return [button, text](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (text)
            *text = box ? box->text() : QStringLiteral("(not a message box)");
        if (box && box->button(button))
            box->button(button)->click();
        else if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
    };
}

/** Presses the button of a message box that shows the given text ("Update"). */
inline Handler pressText(const QString &buttonText, QString *text = nullptr)
{
    return [buttonText, text](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (text)
            *text = box ? box->text() : QStringLiteral("(not a message box)");
        if (box) {
            for (QAbstractButton *b : box->buttons()) {
                if (b->text().remove(QLatin1Char('&')) == buttonText) {
                    b->click();
                    return;
                }
            }
        }
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
    };
}

/** Closes the error dialog of a script run and keeps its text. */
inline Handler readError(QString *text)
{
    return [text](QWidget *w) {
        auto *error = qobject_cast<QAVmrErrorDialog *>(w);
        *text = error ? error->message() : QStringLiteral("(not the error dialog)");
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->accept();
    };
}

/** What a file dialog showed when it came up. */
struct FileDialogSeen
{
    QString objectName;
    QString title;
    QString directory;
    QString proposedName;
};

/**
 * Types a path into a file dialog's name field and accepts it, as a user would; an
 * empty path cancels the dialog.
 */
inline Handler choosePath(const QString &path, FileDialogSeen *seen = nullptr)
{
    return [path, seen](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        if (seen) {
            seen->objectName = w->objectName();
            seen->title = w->windowTitle();
            if (dialog) {
                seen->directory = dialog->directory().absolutePath();
                if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    seen->proposedName = name->text();
            }
        }
        if (!dialog || path.isEmpty()) {
            if (auto *plain = qobject_cast<QDialog *>(w))
                plain->reject();
            return;
        }
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!name) {
            dialog->reject();
            return;
        }
        // The dialog's file list fills in the background and may, while it does, take
        // back what was typed: type again until the dialog means the typed file, then
        // do what its accept button does.
        const QString wanted = QDir::cleanPath(dialog->directory().absoluteFilePath(path));
        auto *retry = new QTimer(dialog);
        auto tries = std::make_shared<int>(0);
        auto attempt = [dialog, name, path, wanted, retry, tries]() {
            // Typing into the name field drops the selection of the file list, which
            // would otherwise win over the typed name.
            for (QAbstractItemView *view : dialog->findChildren<QAbstractItemView *>()) {
                if (view->selectionModel())
                    view->selectionModel()->clearSelection();
            }
            name->setText(path);
            if (dialog->selectedFiles().value(0) == wanted) {
                retry->stop();
                QMetaObject::invokeMethod(dialog, "accept");
            } else if (++*tries > 200) {
                retry->stop();
                dialog->reject();
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
            const QString target = m_dir.path() + source.mid(staged.size());
            if (it.fileInfo().isDir())
                QDir().mkpath(target);
            else
                QFile::copy(source, target);
        }
        QDir().mkpath(scriptsDir());
        QDir().mkpath(targets());
    }

    QString path() const { return m_dir.path(); }
    QString scriptsDir() const { return path() + QStringLiteral("/lib/scripts"); }
    QString targets() const { return path() + QStringLiteral("/targets"); }
    QString logOf(const QString &script) const
    {
        return path() + QStringLiteral("/") + script + QStringLiteral(".log");
    }

    /** Replaces a script; the body runs after its arguments are appended to its log. */
    void writeScript(const QString &script, const QByteArray &body) const
    {
        QFile file(scriptsDir() + QStringLiteral("/") + script);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write("use strict; use warnings;\n"
                   "open(my $log, '>>', '" + logOf(script).toLocal8Bit() + "') or die;\n"
                   "print $log join('|', @ARGV), \"\\n\"; close $log;\n"
                   + body + "\n");
    }

    void removeScript(const QString &script) const
    {
        QFile::remove(scriptsDir() + QStringLiteral("/") + script);
    }

    /** Each run of the script, its arguments joined with "|". */
    QStringList runsOf(const QString &script) const
    {
        QFile file(logOf(script));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
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

inline QString status(QAMainWindowEditor *window)
{
    return window->statusBar()->currentMessage();
}

/** Forgets the settings of the previous test, the recent file among them. */
inline void clearSettings()
{
    QSettings settings(QStringLiteral("Quintar Software"), QStringLiteral("vmreditor"));
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
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

/**
 * The content of a document in a form that does not depend on the order in which the
 * DOM writer happens to put attributes: elements with sorted attributes, texts, CDATA
 * sections and comments.
 */
inline QString canonical(const QDomNode &node)
{
    if (node.isElement()) {
        const QDomElement element = node.toElement();
        QStringList attributes;
        const QDomNamedNodeMap map = element.attributes();
        for (int i = 0; i < map.count(); ++i) {
            const QDomAttr attribute = map.item(i).toAttr();
            attributes << attribute.name() + QStringLiteral("=\"") + attribute.value()
                    + QStringLiteral("\"");
        }
        std::sort(attributes.begin(), attributes.end());
        QString out = QStringLiteral("<") + element.tagName();
        for (const QString &attribute : attributes)
            out += QStringLiteral(" ") + attribute;
        out += QStringLiteral(">");
        for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling())
            out += canonical(child);
        return out + QStringLiteral("</") + element.tagName() + QStringLiteral(">");
    }
    if (node.isCDATASection())
        return QStringLiteral("[CDATA:") + node.nodeValue() + QStringLiteral("]");
    if (node.isText())
        return QStringLiteral("[TEXT:") + node.nodeValue() + QStringLiteral("]");
    if (node.isComment())
        return QStringLiteral("[COMMENT:") + node.nodeValue() + QStringLiteral("]");
    if (node.isProcessingInstruction())
        return QStringLiteral("[PI:") + node.nodeName() + QStringLiteral("]");
    return QString();
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
    if (!document.setContent(bytes))
        return QStringLiteral("(not XML)");
    return canonical(document.documentElement());
}

/** Runs a command of the system; false with the reason when it fails. */
inline bool run(const QString &program, const QStringList &arguments, QString *why = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        if (why)
            *why = QString::fromLocal8Bit(process.readAllStandardError()).trimmed()
                + process.errorString();
        return false;
    }
    return true;
}

/** A small file system of its own, mounted on dir for as long as the object lives. */
class Tmpfs
{
public:
    Tmpfs(const QString &dir, const QString &size)
        : m_dir(dir)
    {
        QDir().mkpath(dir);
        m_mounted = run(QStringLiteral("mount"),
                        {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                         QStringLiteral("size=") + size, QStringLiteral("vmrtest"), dir},
                        &m_why);
    }
    ~Tmpfs()
    {
        if (m_mounted)
            run(QStringLiteral("umount"), {QStringLiteral("-l"), m_dir});
    }
    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }
    bool remountReadOnly()
    {
        return run(QStringLiteral("mount"),
                   {QStringLiteral("-o"), QStringLiteral("remount,ro"), m_dir}, &m_why);
    }

private:
    QString m_dir;
    QString m_why;
    bool m_mounted = false;
};

} // namespace VmrDrive
