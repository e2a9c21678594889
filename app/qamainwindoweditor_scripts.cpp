// Generation of the port and export as text: the saved document is handed to a Perl
// script that runs in the background while the window stays usable.

#include "app/qamainwindoweditor.h"

#include "app/qaportdocument.h"
#include "app/qavmrerrordialog.h"
#include "support/qaedition.h"
#include "support/qascriptrunner.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QStatusBar>

namespace {

const char kGenerationScript[] = "vmrgen.pl";
const char kExportScript[] = "vmrprint.pl";
constexpr int kResultMs = 2000;

} // namespace

bool QAMainWindowEditor::refuseWhileScriptRuns()
{
    if (!m_scriptRun || !m_scriptRun->isRunning())
        return false;
    // One run at a time: a second one would compete for the same files and status.
    statusBar()->showMessage(
        tr("A script is still running; wait until it has finished before starting another."),
        kResultMs);
    return true;
}

void QAMainWindowEditor::fileGenerateAs()
{
    if (!m_document->isOpen() || refuseWhileScriptRuns())
        return;
    // A read-only port is never saved over: it gets a name of its own first.
    if (m_document->isReadOnly()) {
        fileSaveAs();
        if (!m_document->lastSaveOk())
            return;
    }
    QString dir = QAPortDocument::askPath(this, QAPortDocument::PathDialog::Directory,
                                          "Generate VMR dialog", tr("Generate VMR In"),
                                          m_document->targetDirectory(), QString());
    if (dir.endsWith(QDir::separator()) || dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    if (dir.isEmpty())
        return;
    m_document->scanTargetDirectory(dir);
    m_document->setTargetDirectory(dir);
    if (!m_document->save(m_document->path()))
        return;
    runGenerationScript(m_document->path(), dir);
}

void QAMainWindowEditor::fileExportAs()
{
    if (!m_document->isOpen() || refuseWhileScriptRuns())
        return;
    QString output = QAPortDocument::askPath(this, QAPortDocument::PathDialog::ExportFile,
                                             "Export VMR dialog", tr("Export xvm In"),
                                             QString(), QStringLiteral("Text (*.txt)"));
    if (output.isEmpty())
        return;
    if (QFileInfo(output).suffix().isEmpty())
        output += QStringLiteral(".txt");
    // The script reads the document as last saved.
    runExportScript(m_document->path(), output);
}

void QAMainWindowEditor::runGenerationScript(const QString &document, const QString &targetDir)
{
    if (!portReadyToGenerate())
        return;
    startScript(QLatin1String(kGenerationScript), {document, targetDir},
                &QAMainWindowEditor::vmrFilesGenerated,
                tr("ERROR: cannot generate all the Velmor files."));
}

void QAMainWindowEditor::runExportScript(const QString &document, const QString &output)
{
    checkBeforeExport();
    startScript(QLatin1String(kExportScript), {document, output},
                &QAMainWindowEditor::vmrFileExported,
                tr("ERROR: cannot export this Velmor (xvm) file."));
}

bool QAMainWindowEditor::startScript(const QString &script, const QStringList &arguments,
                                     void (QAMainWindowEditor::*completion)(),
                                     const QString &startFailure)
{
    if (refuseWhileScriptRuns())
        return false;
    delete m_scriptRun;
    m_errorText.clear();

    auto *run = new QAScriptRunner(m_programPath, this);
    m_scriptRun = run;
    // The last line that the script writes to standard error explains a failure.
    connect(run, &QAScriptRunner::errorLine, this,
            [this](const QString &line) { m_errorText = line + QStringLiteral("\n"); });
    connect(run, &QAScriptRunner::finished, this, completion);

    statusBar()->showMessage(tr("Generate VMR..."));
    if (run->start(script, arguments))
        return true;

    // The command without the output argument: the script and the document it was for.
    const QString message =
        run->commandLine(script, arguments.mid(0, 1)).join(QLatin1Char(' '))
        + QStringLiteral("\nUnable to run command");
    delete run;
    m_scriptRun = nullptr;
    QAVmrErrorDialog dialog(message, this);
    dialog.exec();
    statusBar()->showMessage(startFailure, kResultMs);
    return false;
}

void QAMainWindowEditor::finishScript(const QString &success, const QString &failure,
                                      bool refresh)
{
    QAScriptRunner *run = m_scriptRun;
    if (!run)
        return;
    m_scriptRun = nullptr;
    // This runs inside the runner's own finished signal.
    run->deleteLater();

    if (!run->crashed() && run->exitCode() == 0) {
        statusBar()->showMessage(success, kResultMs);
        if (refresh)
            refreshCaption();
        return;
    }
    // A crash is reported as such; a silent failure still says how the script ended.
    if (run->crashed() || m_errorText.isEmpty())
        m_errorText = run->failureText() + QStringLiteral("\n");
    QAVmrErrorDialog dialog(m_errorText, this);
    dialog.exec();
    statusBar()->showMessage(failure, kResultMs);
}

void QAMainWindowEditor::waitForScriptBeforeClosing()
{
    // The run may end, and be deleted, while the dialog waits.
    QPointer<QAScriptRunner> run = m_scriptRun;
    if (!run || !run->isRunning())
        return;
    const QString script = run->script();
    QProgressDialog progress(
        tr("%1 is still running. The window closes when it has finished.").arg(script),
        tr("Cancel"), 0, 0, this);
    progress.setObjectName(QStringLiteral("script wait"));
    progress.setWindowTitle(QAEdition::applicationTitle());
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    connect(run, &QAScriptRunner::finished, &progress, &QWidget::hide);
    progress.exec();
    if (!run || !run->isRunning())
        return;
    // Cancelled: the script is asked to stop, which a generation does without touching
    // the previous port. Its end is then no failure to report.
    run->disconnect(this);
    m_scriptRun = nullptr;
    run->stop();
    progress.setLabelText(tr("Stopping %1...").arg(script));
    progress.setCancelButton(nullptr);
    if (run && run->isRunning())
        progress.exec();
    delete run;
    statusBar()->showMessage(tr("%1 was stopped.").arg(script), kResultMs);
}

void QAMainWindowEditor::vmrFilesGenerated()
{
    finishScript(tr("VMR Files saved."), tr("ERROR during saving file."), true);
}

void QAMainWindowEditor::vmrFileExported()
{
    finishScript(tr("xvm file exported."), tr("ERROR during export file."), false);
}
