#pragma once

// Helpers of the robustness tests: the main window with a private home, answers to the
// dialogs it opens (recorded, so that a test can say which message the user saw), and
// small file tools.

#include "app/qamainwindoweditor.h"
#include "app/qavmrerrordialog.h"
#include "bench/vmrdocgen.h"

#include "testutil.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include <functional>
#include <memory>

namespace VmrRobust {

/** One dialog the user saw: its class, and its text or message. */
struct SeenDialog
{
    QString kind;
    QString text;
};

/**
 * Answers every modal dialog as it appears: message boxes with the button the test
 * chose for them (No, Cancel, escape when none), the error dialog by closing it. Each
 * is recorded. The timer polls, as a user's eyes would.
 */
class Dialogs : public QObject
{
public:
    explicit Dialogs(QMessageBox::StandardButton answer = QMessageBox::NoButton)
        : m_answer(answer)
    {
        connect(&m_timer, &QTimer::timeout, this, [this]() { poll(); });
        m_timer.start(20);
    }

    QList<SeenDialog> seen() const { return m_seen; }
    QStringList texts() const
    {
        QStringList out;
        for (const SeenDialog &d : m_seen)
            out << d.text;
        return out;
    }
    /** The error dialogs of script runs, by message. */
    QStringList errors() const
    {
        QStringList out;
        for (const SeenDialog &d : m_seen) {
            if (d.kind == QLatin1String("QAVmrErrorDialog"))
                out << d.text;
        }
        return out;
    }
    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    /** Message boxes that have a button with this text get it pressed ("Update"). */
    void setButtonText(const QString &text) { m_buttonText = text; }
    /** File dialogs get this path chosen and accepted. */
    void setFileAnswer(const QString &path) { m_fileAnswer = path; }

private:
    void poll()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || !w->isVisible())
            return;
        // An answer given while the dialog was still coming up can be lost: a dialog that
        // stays up well after its answer is answered again, not recorded twice.
        const bool again = w == m_last;
        if (again && m_answeredAt.elapsed() < 2000)
            return;
        m_last = w;
        m_answeredAt.start();
        if (again)
            m_seen.removeLast();
        SeenDialog seen{QString::fromLatin1(w->metaObject()->className()), w->windowTitle()};
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            seen.text = box->text();
            m_seen << seen;
            for (QAbstractButton *b : box->buttons()) {
                if (!m_buttonText.isEmpty() && b->text().remove(QLatin1Char('&')) == m_buttonText) {
                    b->click();
                    return;
                }
            }
            QAbstractButton *button = m_answer != QMessageBox::NoButton ? box->button(m_answer)
                                                                         : nullptr;
            if (!button)
                button = box->escapeButton();
            if (button)
                button->click();
            else
                box->reject();
            return;
        }
        if (auto *error = qobject_cast<QAVmrErrorDialog *>(w)) {
            seen.text = error->message();
            m_seen << seen;
            error->accept();
            return;
        }
        m_seen << seen;
        auto *fileDialog = qobject_cast<QFileDialog *>(w);
        if (fileDialog && !m_fileAnswer.isEmpty()) {
            // Typed into the name field, as a user does: selecting the file instead
            // depends on the dialog having read its directory, which it does later.
            if (auto *name = fileDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(m_fileAnswer);
            else
                fileDialog->selectFile(m_fileAnswer);
            QMetaObject::invokeMethod(fileDialog, "accept", Qt::QueuedConnection);
            return;
        }
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
        else
            w->close();
    }

    QMessageBox::StandardButton m_answer;
    QString m_buttonText;
    QString m_fileAnswer;
    QList<SeenDialog> m_seen;
    QPointer<QWidget> m_last;
    QElapsedTimer m_answeredAt;
    QTimer m_timer;
};

/** The main window as the program builds it, with nothing open. */
inline std::unique_ptr<QAMainWindowEditor> openWindow()
{
    QSettings settings(QStringLiteral("Quintar Software"), QStringLiteral("vmreditor"));
    settings.clear();
    settings.sync();
    static QByteArray program = VmrTest::program().toLocal8Bit();
    if (program.isEmpty())
        program = "vmreditor";
    char *argv[] = {program.data(), nullptr};
    return std::make_unique<QAMainWindowEditor>(1, argv);
}

inline QString status(QAMainWindowEditor *window)
{
    return window->statusBar()->currentMessage();
}

inline bool saveActionEnabled(QAMainWindowEditor *window)
{
    auto *save = window->findChild<QAction *>(QStringLiteral("fileSaveAction"));
    return save && save->isEnabled();
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
        && file.write(bytes) == bytes.size() && file.flush();
}

/** Every file below dir, relative path to SHA-256: a directory's whole state. */
inline QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(dir.size() + 1),
                     QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256));
    }
    return files;
}

/** A small current-version document whose port is generated into target. */
inline QByteArray smallDocument(const QString &target, const QByteArray &name = "Robust")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
           "<VMR Name=\"" + name + "\" type=\"CCPP\" Version=\"V2009\" read_only=\"no\" "
           "generate_in=\"" + target.toUtf8() + "\" Doc=\"VMR\"><COMMENT>Small port.</COMMENT>"
           "<BUILD Label=\"Build\" Doc=\"BUILD\"><COMMENT/>"
           "<NEWCMDFILE Name=\"env.sh\"><COMMENT/><VALUE>PATH=/usr/bin</VALUE></NEWCMDFILE>"
           "</BUILD></VMR>\n";
}

/**
 * A current-version document of about megabytes, most of it one embedded binary file,
 * whose port is generated into target.
 */
inline bool writeLargeDocument(const QString &path, const QString &target, int megabytes)
{
    VmrDocGen::Scale scale;
    scale.binaryBytes = megabytes * 1024 * 1024 * 3 / 4;
    QByteArray bytes = VmrDocGen::generate(scale);
    const QByteArray attributes =
        QByteArray("read_only=\"no\" generate_in=\"") + target.toUtf8() + '"';
    bytes.replace(QByteArray("read_only=\"no\""), attributes);
    return writeFile(path, bytes);
}

} // namespace VmrRobust
