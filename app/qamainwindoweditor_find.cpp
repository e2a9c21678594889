// Finding anything in the port, and the port's problems, checked as it is edited and
// again before it is generated.

#include "app/qamainwindoweditor.h"

#include "app/qaportdocument.h"
#include "document/qafindpane.h"
#include "document/qaproblemspane.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qaedition.h"
#include "viewers/qavmrdocbrowser.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QStatusBar>

void QAMainWindowEditor::createFindAndChecks()
{
    m_findPane = new QAFindPane(this);
    m_findDock = new QDockWidget(tr("Find in Port"), this);
    m_findDock->setObjectName(QStringLiteral("find dock"));
    m_findDock->setWidget(m_findPane);
    addDockWidget(Qt::BottomDockWidgetArea, m_findDock);
    m_findDock->hide();

    m_problemsPane = new QAProblemsPane(this);
    m_problemsDock = new QDockWidget(tr("Problems"), this);
    m_problemsDock->setObjectName(QStringLiteral("problems dock"));
    m_problemsDock->setWidget(m_problemsPane);
    addDockWidget(Qt::BottomDockWidgetArea, m_problemsDock);
    tabifyDockWidget(m_findDock, m_problemsDock);
    m_problemsDock->hide();
    // Escape puts a pane away, as in every editor's find bar, and goes back to the tree.
    for (QDockWidget *dock : {m_findDock, m_problemsDock}) {
        auto *away = new QShortcut(QKeySequence(Qt::Key_Escape), dock, nullptr, nullptr,
                                   Qt::WidgetWithChildrenShortcut);
        connect(away, &QShortcut::activated, this, [this, dock]() {
            dock->hide();
            m_editor->tree()->setFocus(Qt::OtherFocusReason);
        });
    }

    m_editFindInPortAction = new QAction(tr("F&ind in Port..."), this);
    m_editFindInPortAction->setObjectName(QStringLiteral("editFindInPortAction"));
    m_editFindInPortAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_editFindInPortAction->setToolTip(
        tr("Find a text in every node, setting, field and text of the port"));
    connect(m_editFindInPortAction, &QAction::triggered, this, &QAMainWindowEditor::findInPort);
    m_editFindPreviousAction = new QAction(tr("Find Pre&vious in Port"), this);
    m_editFindPreviousAction->setObjectName(QStringLiteral("editFindPreviousAction"));
    m_editFindPreviousAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(m_editFindPreviousAction, &QAction::triggered, this,
            [this]() { findNextInPort(false); });
    m_viewProblemsAction = m_problemsDock->toggleViewAction();
    m_viewProblemsAction->setText(tr("Pro&blems"));
    m_viewProblemsAction->setObjectName(QStringLiteral("viewProblemsAction"));
    // Shown beside the search, the list comes to the front when asked for.
    connect(m_viewProblemsAction, &QAction::toggled, this, [this](bool on) {
        if (on)
            m_problemsDock->raise();
    });
    const QList<QAction *> entries = m_editMenu->actions();
    const int findNext = int(entries.indexOf(m_editFindAction));
    QAction *after = entries.value(findNext + 1);
    m_editMenu->insertActions(after, {m_editFindInPortAction, m_editFindPreviousAction,
                                      m_viewProblemsAction});

    const auto reveal = [this](const QAXmlChange &where) { m_editor->reveal(where); };
    connect(m_findPane, &QAFindPane::revealRequested, this, reveal);
    connect(m_problemsPane, &QAProblemsPane::revealRequested, this, reveal);
    connect(m_findPane, &QAFindPane::statusMsg, statusBar(), &QStatusBar::showMessage);
    // The port's own directory in the target directory is named after its file.
    m_problemsPane->setTargetProvider([this]() {
        return qMakePair(m_document->targetDirectory(),
                         QAPortDocument::portDirName(m_document->path()));
    });

    // The counts stay in sight; a click opens the list.
    m_problemsLabel = new QLabel(statusBar());
    m_problemsLabel->setObjectName(QStringLiteral("problems count"));
    statusBar()->addPermanentWidget(m_problemsLabel);
    connect(m_problemsPane, &QAProblemsPane::countsChanged, this, [this](int errors, int warnings) {
        m_problemsLabel->setText(errors + warnings == 0
                                     ? QString()
                                     : tr("%1 error(s), %2 warning(s)").arg(errors).arg(warnings));
    });

    const auto open = [this](const QDomElement &root) {
        m_acceptedWarnings.clear();
        m_findPane->setDocument(root, m_editor->edits());
        m_problemsPane->setDocument(root, m_editor->edits());
    };
    connect(m_editor, &QAVmrEditor::documentOpened, this, open);
    connect(m_editor, &QAVmrEditor::documentClosed, this, [this]() {
        m_findPane->setDocument(QDomElement(), nullptr);
        m_problemsPane->setDocument(QDomElement(), nullptr);
    });
    // The first document may have been opened before the panes existed.
    if (m_document->isOpen())
        open(m_document->root());
}

void QAMainWindowEditor::findInPort()
{
    m_findDock->show();
    m_findDock->raise();
    // A selected word is what the user most likely looks for.
    if (auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        line && line->hasSelectedText() && !m_findPane->isAncestorOf(line))
        m_findPane->patternEdit()->setText(line->selectedText());
    m_findPane->focusPattern();
}

bool QAMainWindowEditor::findNextInPort(bool forward)
{
    // The find box and the reference page keep F3 for the page; elsewhere it walks the
    // port's hits while their list is shown.
    QWidget *focus = QApplication::focusWidget();
    if (!m_findPane || !m_findDock->isVisible()
        || (focus && (m_findBox->isAncestorOf(focus) || focus == m_editor->docBrowser())))
        return false;
    return m_findPane->step(forward);
}

bool QAMainWindowEditor::portReadyToGenerate()
{
    if (!m_problemsPane)
        return true;
    const QList<QAProblem> problems = m_problemsPane->checkNow();
    const int errors = m_problemsPane->errorCount();
    if (errors > 0) {
        m_problemsDock->show();
        m_problemsDock->raise();
        statusBar()->showMessage(tr("ERROR: the port has errors and is not generated."), 2000);
        QMessageBox box(QMessageBox::Warning, QAEdition::applicationTitle(),
                        tr("The port is not generated: it has %1 error(s), listed in the "
                           "Problems pane.")
                            .arg(errors),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("generation refused"));
        box.exec();
        return false;
    }
    // The save just before asked about a port name that another port uses.
    const QDomElement root = m_document->root();
    QStringList warnings;
    for (const QAProblem &problem : problems) {
        if (problem.where.kind == QAXmlChange::Attribute && problem.where.element == root
            && problem.where.field == QLatin1String("Name"))
            continue;
        warnings << problem.path + QLatin1Char('\t') + problem.message;
    }
    const QString key = warnings.join(QLatin1Char('\n'));
    if (warnings.isEmpty() || key == m_acceptedWarnings)
        return true;
    m_problemsDock->show();
    m_problemsDock->raise();
    QMessageBox box(QMessageBox::Question, QAEdition::applicationTitle(),
                    tr("The port has %1 warning(s), listed in the Problems pane.\nGenerate it "
                       "anyway?")
                        .arg(warnings.size()),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("generate with warnings"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) {
        statusBar()->showMessage(tr("The port is not generated."), 2000);
        return false;
    }
    m_acceptedWarnings = key;
    return true;
}

void QAMainWindowEditor::checkBeforeExport()
{
    if (!m_problemsPane)
        return;
    // The outline is written whatever the problems: it is a way to look at them.
    if (!m_problemsPane->checkNow().isEmpty())
        m_problemsDock->show();
}
