#pragma once

// Helpers of the tests that drive the whole main window: a private copy of the staged
// installation, the window, answers to the dialogs it opens, saved documents compared.

#include "app/qamainwindoweditor.h"
#include "app/qaportdocument.h"
#include "app/qarecovery.h"
#include "app/qavmrerrordialog.h"
#include "support/qaedition.h"

#include "testutil.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDomDocument>
#include <QFileDialog>
#include <QLineEdit>
#include <QStatusBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace VmrDrive {

using Handler = std::function<void(QWidget *)>;

/** Answers the modal dialogs that appear, in order, and records what each one said; a
 * dialog beyond the answers, or left open 10 s after its answer, is rejected and reported
 * so that the test fails instead of hanging. Only the newest script answers. */
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
    ~ModalScript() override { active() = active() == this ? m_previous : active(); }
    QByteArray report() const
    {
        return m_handled == m_handlers.size() ? m_unexpected.join(u'\n').toLocal8Bit()
                                              : QByteArray("an expected dialog did not come");
    }
    // Of a message box or error dialog its text, of any other dialog its title.
    QStringList texts() const { return m_texts; }

private:
    static ModalScript *&active()
    {
        static ModalScript *current = nullptr;
        return current;
    }
    void poll()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (active() != this || !w || !w->isVisible()
            || (w == m_last && m_since.elapsed() < 10000))
            return;
        auto *box = qobject_cast<QMessageBox *>(w);
        auto *error = qobject_cast<QAVmrErrorDialog *>(w);
        const QString text = box ? box->text() : error ? error->message() : w->windowTitle();
        const bool answered = w != m_last && m_handled < m_handlers.size();
        m_last = w;
        m_since.restart();
        if (answered) {
            m_texts << text;
            return m_handlers[m_handled++](w);
        }
        m_unexpected << u"unanswered: "_s + text;
        qobject_cast<QDialog *>(w)->reject();
    }

    QList<Handler> m_handlers;
    ModalScript *m_previous = nullptr;
    int m_handled = 0;
    QStringList m_unexpected, m_texts;
    QPointer<QWidget> m_last;
    QElapsedTimer m_since;
    QTimer m_timer;
};

#define VMR_ANSWERED(script) QVERIFY2((script).report().isEmpty(), (script).report().constData())

// Clicks the button with that text, else rejects.
inline Handler answer(const QString &label)
{
    return [label](QWidget *w) {
        for (QAbstractButton *b : w->findChildren<QAbstractButton *>()) {
            if (b->text().remove(u'&') == label)
                return b->click();
        }
        qobject_cast<QDialog *>(w)->reject();
    };
}

inline Handler pressKey(Qt::Key key) { return [key](QWidget *w) { QTest::keyClick(w, key); }; }

// Types a path into a file dialog and accepts it; an empty path cancels. Keeps where the
// dialog started and the name it proposed.
inline Handler choosePath(const QString &path, QStringList *seen = nullptr)
{
    return [path, seen](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        auto *name = dialog ? dialog->findChild<QLineEdit *>(u"fileNameEdit"_s) : nullptr;
        if (seen && name)
            *seen = {dialog->directory().absolutePath(), name->text()};
        if (!name || path.isEmpty())
            return qobject_cast<QDialog *>(w)->reject();
        // The file list fills in the background and its selection would win over the
        // typed name: type again until the dialog means the typed file, then accept.
        const QString wanted = QDir::cleanPath(dialog->directory().absoluteFilePath(path));
        auto *retry = new QTimer(dialog);
        auto tries = std::make_shared<int>(0);
        auto attempt = [dialog, name, path, wanted, retry, tries]() {
            for (QAbstractItemView *view : dialog->findChildren<QAbstractItemView *>())
                view->clearSelection();
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

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/** A copy of the staged installation that ORBISKDIR names while it lives. */
class Install
{
public:
    Install()
        : m_saved(qgetenv("ORBISKDIR"))
    {
        QDirIterator it(VmrTest::orbiskDir(), QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            writeFile(file(source.mid(m_saved.size() + 1)), readFile(source));
        }
        QDir().mkpath(targets());
        qputenv("ORBISKDIR", path().toLocal8Bit());
        QAEdition::reload();
    }
    ~Install()
    {
        qputenv("ORBISKDIR", m_saved);
        QAEdition::reload();
    }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return path() + u'/' + name; }
    QString targets() const { return file(u"targets"_s); }
    QString script(const QString &name) const { return file(u"lib/scripts/"_s + name); }

    /** Replaces a script; the body runs after its arguments are appended to its log. */
    void writeScript(const QString &name, const QByteArray &body) const
    {
        writeFile(script(name), "use strict; use warnings; open(my $log, '>>', '"
                                    + file(name).toLocal8Bit() + ".log') or die;\n"
                                    + "print $log join('|', @ARGV), \"\\n\"; close $log;" + body);
    }
        QStringList runsOf(const QString &name) const
    {
        return QString::fromLocal8Bit(readFile(file(name + u".log"_s)))
            .split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QByteArray m_saved;
    QTemporaryDir m_dir;
};

inline std::unique_ptr<QAMainWindowEditor> openWindow(const QString &file = QString())
{
    QByteArray program = VmrTest::program().toLocal8Bit(), document = file.toLocal8Bit();
    char *argv[] = {program.data(), document.data(), nullptr};
    return std::make_unique<QAMainWindowEditor>(file.isEmpty() ? 1 : 2, argv);
}

inline bool shown(QWidget *window)
{
    window->show();
    return QTest::qWaitForWindowActive(window);
}

inline QAction *action(QWidget *window, const char *name)
{
    return window->findChild<QAction *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}
inline QString status(QAMainWindowEditor *w) { return w->statusBar()->currentMessage(); }
// The window's title for a document name, with the place of its change marker.
inline QString titled(QString name)
{
    const qsizetype readOnly = name.indexOf(u" ("_s);
    name.insert(readOnly < 0 ? name.size() : readOnly, u"[*]"_s);
    return name + u" - "_s + QAEdition::applicationTitle();
}

// Forgets what earlier windows left: settings, and unsaved work kept for recovery.
inline QSettings &clearSettings()
{
    static QSettings settings(u"Quintar Software"_s, u"vmreditor"_s);
    settings.clear();
    settings.sync();
    QDir(QARecovery::directory()).removeRecursively();
    return settings;
}

// The node at the end of a path of labels below the root; labels repeat ("Preprocessing"
// is a build step and a library page), paths do not.
inline QTreeWidgetItem *nodeAt(QTreeWidget *tree, const QStringList &path)
{
    QTreeWidgetItem *item = tree->topLevelItem(0);
    for (const QString &label : path) {
        QTreeWidgetItem *next = nullptr;
        for (QTreeWidgetItemIterator it(item); *it && !next; ++it) {
            if (*it != item && (*it)->text(0) == label)
                next = *it;
        }
        if (!(item = next))
            return nullptr;
    }
    return item;
}

/** A copy of the example port in dir, for a test to change as it likes; its path. */
inline QString copyOfExample(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(u"linux_gcc.xvm"_s);
    writeFile(path, readFile(VmrTest::orbiskDir() + u"/targets/examples/linux_gcc.xvm"_s));
    return path;
}

/** A document's content with sorted attributes: the DOM writer's order is its own. */
inline QString canonical(const QDomNode &node)
{
    if (!node.isElement()) {
        const char *kind = node.isCDATASection() ? "CDATA" : node.isText() ? "TEXT" : "OTHER";
        return u"[%1:%2]"_s.arg(QLatin1String(kind), node.nodeValue());
    }
    QStringList attributes;
    for (int i = 0; i < node.attributes().count(); ++i) {
        const QDomNode a = node.attributes().item(i);
        attributes << a.nodeName() + u"=\""_s + a.nodeValue() + u'"';
    }
    std::sort(attributes.begin(), attributes.end());
    QString out = u'<' + (QStringList{node.nodeName()} + attributes).join(u' ') + u'>';
    for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling())
        out += canonical(child);
    return out + u"</"_s + node.nodeName() + u'>';
}

inline QDomElement rootOf(const QByteArray &bytes)
{
    QDomDocument document;
    return document.setContent(bytes) ? document.documentElement() : QDomElement();
}

inline QString canonicalDocument(const QByteArray &bytes) { return canonical(rootOf(bytes)); }

} // namespace VmrDrive
