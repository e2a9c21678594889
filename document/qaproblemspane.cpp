#include "document/qaproblemspane.h"

#include "support/qaxmledits.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Long enough that a burst of typing is checked once, short enough to feel live.
constexpr int kCheckDelayMs = 500;

} // namespace

QAProblemsPane::QAProblemsPane(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("problems"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("problems summary"));
    layout->addWidget(m_summary);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("problem list"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({tr("Problem"), tr("Node")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnWidth(0, 420);
    layout->addWidget(m_list, 1);

    m_later = new QTimer(this);
    m_later->setSingleShot(true);
    m_later->setInterval(kCheckDelayMs);
    connect(m_later, &QTimer::timeout, this, [this]() { checkNow(); });
    const auto activate = [this](QTreeWidgetItem *item) {
        const int index = m_list->indexOfTopLevelItem(item);
        if (index >= 0 && index < m_problems.size())
            emit revealRequested(m_problems.at(index).where);
    };
    connect(m_list, &QTreeWidget::itemActivated, this, activate);
    connect(m_list, &QTreeWidget::itemClicked, this, activate);
    show({});
}

QAProblemsPane::~QAProblemsPane() = default;

void QAProblemsPane::setDocument(const QDomElement &root, QAXmlEdits *edits)
{
    if (m_edits)
        m_edits->disconnect(this);
    m_root = root;
    m_edits = edits;
    if (edits)
        connect(edits, &QAXmlEdits::changed, this, &QAProblemsPane::checkSoon);
    // A document just opened is checked once it shows: a large port's check would
    // otherwise lengthen every opening by a third.
    if (root.isNull())
        checkNow();
    else
        checkSoon();
}

void QAProblemsPane::setTargetProvider(std::function<QPair<QString, QString>()> provider)
{
    m_target = std::move(provider);
}

void QAProblemsPane::checkSoon()
{
    m_later->start();
}

const QList<QAProblem> &QAProblemsPane::checkNow()
{
    m_later->stop();
    if (m_target) {
        const QPair<QString, QString> target = m_target();
        m_check.setTarget(target.first, target.second);
    }
    show(m_check.check(m_root));
    return m_problems;
}

int QAProblemsPane::errorCount() const
{
    return int(std::count_if(m_problems.cbegin(), m_problems.cend(),
                             [](const QAProblem &p) { return p.severity == QAProblem::Error; }));
}

void QAProblemsPane::show(const QList<QAProblem> &problems)
{
    // Errors first: they are what stops the port from being generated.
    m_problems = problems;
    std::stable_sort(m_problems.begin(), m_problems.end(),
                     [](const QAProblem &a, const QAProblem &b) { return a.severity < b.severity; });
    m_list->clear();
    const QIcon error = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    QList<QTreeWidgetItem *> rows;
    for (const QAProblem &p : std::as_const(m_problems)) {
        auto *row = new QTreeWidgetItem({p.message, p.path});
        row->setIcon(0, p.severity == QAProblem::Error ? error : warning);
        row->setToolTip(0, p.message);
        rows.append(row);
    }
    m_list->addTopLevelItems(rows);
    const int errors = errorCount();
    const int warnings = int(problems.size()) - errors;
    if (m_root.isNull())
        m_summary->setText(tr("No port is open."));
    else if (problems.isEmpty())
        m_summary->setText(tr("No problems found: the port can be generated."));
    else
        m_summary->setText(tr("%1 error(s), %2 warning(s)").arg(errors).arg(warnings));
    emit countsChanged(errors, warnings);
}
