#pragma once

// Helpers of the robustness tests: answers to the dialogs that come up (recorded, so that a
// test can say what the user was told), the main window with nothing open, file tools.

#include "app/qamainwindoweditor.h"
#include "app/qavmrerrordialog.h"

#include "testutil.h"

namespace VmrRobust {

using namespace Qt::StringLiterals;

/** Answers each modal dialog as it comes up and records its text: a message box with the
 *  chosen button (escape when it has none such), any other dialog by closing it. */
class Dialogs
{
public:
    explicit Dialogs(QMessageBox::StandardButton answer = QMessageBox::NoButton)
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this, answer]() {
            QWidget *w = QApplication::activeModalWidget();
            // An answer given while the dialog was coming up can be lost: one still up two
            // seconds after its answer is answered again, but recorded once.
            if (!w || !w->isVisible() || (w == m_last && m_answered.elapsed() < 2000)) return;
            auto *box = qobject_cast<QMessageBox *>(w);
            auto *error = qobject_cast<QAVmrErrorDialog *>(w);
            if (w != m_last) {
                m_texts << (box ? box->text() : error ? error->message() : w->windowTitle());
                if (error) m_errors << m_texts.last();
            }
            m_last = w;
            m_answered.start();
            QAbstractButton *button = box ? box->button(answer) : nullptr;
            if (box && !button) button = box->escapeButton();
            button ? button->click() : void(w->close());
        });
        m_timer.start(20);
    }
    QStringList texts() const { return m_texts; }
    QStringList errors() const { return m_errors; }  // the script error dialogs alone

private:
    QStringList m_texts, m_errors;
    QPointer<QWidget> m_last;
    QElapsedTimer m_answered;
    QTimer m_timer;
};

/** The main window as the program builds it, with fresh settings and nothing open. */
inline std::unique_ptr<QAMainWindowEditor> openWindow()
{
    QSettings(u"Quintar Software"_s, u"vmreditor"_s).clear();
    static QByteArray program = VmrTest::program().toLocal8Bit();
    char *argv[] = {program.data(), nullptr};
    return std::make_unique<QAMainWindowEditor>(1, argv);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

/** A small current-version port, generated into target, with the ASCII file "env.sh". */
inline QByteArray smallDocument(const QString &target)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE VMR SYSTEM \"vmr.dtd\">\n"
           "<VMR Name=\"Robust\" type=\"CCPP\" Version=\"V2009\" read_only=\"no\" generate_in=\"" +
           target.toUtf8() +
           "\" Doc=\"VMR\"><COMMENT>Small port.</COMMENT><BUILD Label=\"Build\" Doc=\"BUILD\">"
           "<COMMENT/><NEWCMDFILE Name=\"env.sh\"><COMMENT/><VALUE>PATH=/usr/bin</VALUE>"
           "</NEWCMDFILE></BUILD></VMR>\n";
}

}  // namespace VmrRobust
