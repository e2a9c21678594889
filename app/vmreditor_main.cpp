#include "app/qacommandline.h"
#include "app/qamainwindoweditor.h"
#include "app/qavmrstyle.h"
#include "support/qaedition.h"
#include "support/qainstall.h"
#include "support/qauserlibrary.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

// The translators live as long as the process, past every window that shows a text;
// held here they stay reachable to the end, kept rather than lost.
QTranslator *s_translator = nullptr;
QTranslator *s_qtTranslator = nullptr;

// Closes a window a given time after its first frame has been drawn, so that an
// unattended start always ends with the window really shown, whatever the order in
// which the platform delivers its first exposure.
class CloseAfterFirstFrame : public QObject
{
public:
    CloseAfterFirstFrame(QWidget *window, int msecs)
        : QObject(window)
        , m_msecs(msecs)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *window = static_cast<QWidget *>(watched);
            window->removeEventFilter(this);
            // Posted from inside the frame: it runs once the frame is on the screen.
            QTimer::singleShot(m_msecs, window, &QWidget::close);
        }
        return false;
    }

private:
    int m_msecs;
};

} // namespace

static void fatal(const QString &message)
{
    std::fprintf(stderr, "(%s) %s", "vmreditor", message.toLocal8Bit().constData());
}

int main(int argc, char **argv)
{
    // Read before anything else exists: a second document, --help and --version need
    // neither a display nor an installation.
    const QACommandLine commandLine(argc, argv);
    switch (commandLine.request()) {
    case QACommandLine::Usage:
        std::fputs(commandLine.usageText().toLocal8Bit().constData(), stderr);
        return 1;
    case QACommandLine::Help:
        std::fputs(commandLine.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case QACommandLine::Version:
        std::fputs(commandLine.versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case QACommandLine::Run:
        break;
    }

    // Takes Qt's own options (-style Fusion) out of the arguments and applies them.
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quintar Software"));
    QCoreApplication::setApplicationName(QStringLiteral("vmreditor"));

    // Created once and never deleted: it must outlive every window that shows a text.
    s_translator = new QTranslator;
    QTranslator *translator = s_translator;
    const QString orbiskDir = QString::fromLocal8Bit(qgetenv("ORBISKDIR"));
    if (orbiskDir.isEmpty()) {
        fatal(QStringLiteral("Fatal Error: please setup ORBISKDIR environment variable.\n"));
        return 1;
    }
    const QString localeDir = orbiskDir + QDir::separator() + QStringLiteral("lib")
        + QDir::separator() + QStringLiteral("locale");
    if (!QFileInfo(localeDir).isDir()) {
        fatal(QStringLiteral("Fatal Error: directory doesn't exist '%1'\n").arg(localeDir));
        return 1;
    }
    if (translator->load(QStringLiteral("vmreditor_") + QLocale::system().name(), localeDir)) {
        QCoreApplication::installTranslator(translator);
        // Qt's own buttons and dialogs (Yes, No, the file dialog) follow the same locale.
        s_qtTranslator = new QTranslator;
        if (s_qtTranslator->load(QStringLiteral("qtbase_") + QLocale::system().name(),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(s_qtTranslator);
        } else {
            delete s_qtTranslator;
            s_qtTranslator = nullptr;
        }
    }

    // Before the first widget: every widget takes the application's style when built.
    QAVmrStyle::install();

    {
        QALogMessageBox monitor(QAEdition::applicationTitle()
                                    + QCoreApplication::translate("vmreditor",
                                                                  " Install Library Files Error"),
                                nullptr);
        QAUserLibrary::checkAndInstall(QAEdition::applicationTitle(), &monitor);
    }

    int result = 0;
    {
        // The window reads the program and the document as the only two arguments.
        QByteArray document = commandLine.document().toLocal8Bit();
        char *windowArgv[] = {argv[0], document.data(), nullptr};
        QAMainWindowEditor window(document.isEmpty() ? 1 : 2, windowArgv);
        // Test hook: VMREDITOR_AUTOQUIT_MS=N closes the window through its normal close
        // path N ms after its first frame is drawn, so a whole start and stop can be run
        // unattended.
        bool autoQuit = false;
        const int autoQuitMs = qEnvironmentVariableIntValue("VMREDITOR_AUTOQUIT_MS", &autoQuit);
        if (autoQuit && autoQuitMs >= 0)
            new CloseAfterFirstFrame(&window, autoQuitMs);
        window.show();
        result = app.exec();
    }
    return result;
}
