#include "document/qafindpane.h"

#include "support/qaxmledits.h"
#include "viewers/qafieldwidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The first hits come at once; the rest of a large port follows between events.
constexpr int kFirstHits = 200;
constexpr int kMoreHits = 2000;
// A list of hits is searched again this long after the document last changed.
constexpr int kRefreshMs = 400;

} // namespace

QAFindPane::QAFindPane(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("find in port"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    auto *findRow = new QHBoxLayout;
    auto *findLabel = new QLabel(tr("F&ind:"), this);
    m_pattern = new QLineEdit(this);
    m_pattern->setObjectName(QStringLiteral("find pattern"));
    m_pattern->setClearButtonEnabled(true);
    findLabel->setBuddy(m_pattern);
    auto *replaceLabel = new QLabel(tr("Replace &with:"), this);
    m_replacement = new QALineEdit(this);
    m_replacement->setObjectName(QStringLiteral("replacement"));
    replaceLabel->setBuddy(m_replacement);
    m_replaceOne = new QPushButton(tr("&Replace"), this);
    m_replaceOne->setObjectName(QStringLiteral("replace one"));
    m_replaceAll = new QPushButton(tr("Replace &All"), this);
    m_replaceAll->setObjectName(QStringLiteral("replace all"));
    findRow->addWidget(findLabel);
    findRow->addWidget(m_pattern, 2);
    findRow->addWidget(replaceLabel);
    findRow->addWidget(m_replacement, 1);
    findRow->addWidget(m_replaceOne);
    findRow->addWidget(m_replaceAll);
    layout->addLayout(findRow);

    auto *options = new QHBoxLayout;
    m_case = new QCheckBox(tr("Match &case"), this);
    m_word = new QCheckBox(tr("Whole w&ord"), this);
    m_wildcard = new QCheckBox(tr("Wil&dcard"), this);
    m_expression = new QCheckBox(tr("Regular e&xpression"), this);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("find count"));
    for (QCheckBox *box : {m_case, m_word, m_wildcard, m_expression}) {
        options->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this]() {
            if (!m_pattern->text().isEmpty())
                search();
        });
    }
    // Wildcards and expressions are two readings of the same text: one at a time.
    connect(m_wildcard, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_expression->setChecked(false);
    });
    connect(m_expression, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_wildcard->setChecked(false);
    });
    options->addStretch(1);
    options->addWidget(m_count);
    layout->addLayout(options);

    m_results = new QTreeWidget(this);
    m_results->setObjectName(QStringLiteral("find results"));
    m_results->setColumnCount(2);
    m_results->setHeaderLabels({tr("Node"), tr("Line")});
    m_results->setRootIsDecorated(false);
    m_results->setUniformRowHeights(true);
    m_results->header()->setStretchLastSection(true);
    m_results->setColumnWidth(0, 260);
    layout->addWidget(m_results, 1);

    m_more = new QTimer(this);
    m_more->setSingleShot(true);
    m_more->setInterval(0);
    connect(m_more, &QTimer::timeout, this, &QAFindPane::continueSearch);
    m_refresh = new QTimer(this);
    m_refresh->setSingleShot(true);
    m_refresh->setInterval(kRefreshMs);
    connect(m_refresh, &QTimer::timeout, this, [this]() {
        if (m_searchedOnce && !m_root.isNull()) {
            m_keep = currentIndex();
            search();
        }
    });

    connect(m_pattern, &QLineEdit::textChanged, this, &QAFindPane::showCount);
    connect(m_pattern, &QLineEdit::returnPressed, this, [this]() {
        // Enter searches a new text, and walks the hits of the one already searched.
        if (!m_searchedOnce || request().pattern != m_searched.pattern)
            search();
        else
            step(true);
    });
    connect(m_results, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { choose(m_results->indexOfTopLevelItem(item)); });
    connect(m_results, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { choose(m_results->indexOfTopLevelItem(item)); });
    connect(m_replaceOne, &QPushButton::clicked, this, &QAFindPane::replaceCurrent);
    connect(m_replaceAll, &QPushButton::clicked, this, &QAFindPane::replaceAll);
    showCount();
}

QAFindPane::~QAFindPane() = default;

void QAFindPane::setDocument(const QDomElement &root, QAXmlEdits *edits)
{
    if (m_edits)
        m_edits->disconnect(this);
    m_root = root;
    m_edits = edits;
    m_search.reset();
    m_more->stop();
    m_refresh->stop();
    m_hits.clear();
    m_results->clear();
    m_searchedOnce = false;
    if (edits)
        connect(edits, &QAXmlEdits::changed, this, &QAFindPane::documentChanged);
    showCount();
}

void QAFindPane::focusPattern()
{
    m_pattern->setFocus(Qt::ShortcutFocusReason);
    m_pattern->selectAll();
}

QAFindRequest QAFindPane::request() const
{
    QAFindRequest request;
    request.pattern = m_pattern->text();
    request.caseSensitive = m_case->isChecked();
    request.wholeWord = m_word->isChecked();
    request.wildcard = m_wildcard->isChecked();
    request.regularExpression = m_expression->isChecked();
    return request;
}

void QAFindPane::search()
{
    m_more->stop();
    m_refresh->stop();
    m_searched = request();
    m_searchedOnce = !m_searched.pattern.isEmpty();
    m_hits.clear();
    m_results->clear();
    m_search.reset();
    if (m_root.isNull() || m_searched.pattern.isEmpty()) {
        showCount();
        return;
    }
    m_search = std::make_unique<QADocumentSearch>(m_root, m_searched);
    if (!m_search->isValid()) {
        m_count->setText(tr("Not a valid expression: %1").arg(m_search->errorString()));
        m_search.reset();
        return;
    }
    const bool more = m_search->findMore(&m_hits, kFirstHits);
    addRows(0);
    if (more)
        m_more->start();
    else
        m_search.reset();
    showCount();
}

void QAFindPane::continueSearch()
{
    if (!m_search)
        return;
    const qsizetype from = m_hits.size();
    const bool more = m_search->findMore(&m_hits, kMoreHits);
    addRows(from);
    if (more)
        m_more->start();
    else
        m_search.reset();
    showCount();
}

void QAFindPane::addRows(qsizetype from)
{
    QList<QTreeWidgetItem *> rows;
    rows.reserve(m_hits.size() - from);
    for (qsizetype i = from; i < m_hits.size(); ++i) {
        const QASearchHit &hit = m_hits.at(i);
        auto *row = new QTreeWidgetItem({hit.path, hit.line});
        row->setToolTip(1, hit.line);
        rows.append(row);
    }
    m_results->addTopLevelItems(rows);
    // After a refresh the list stays where the user was.
    if (m_keep >= 0 && m_keep < m_results->topLevelItemCount()) {
        m_results->setCurrentItem(m_results->topLevelItem(m_keep));
        m_keep = -1;
    }
}

void QAFindPane::showCount()
{
    bool replaceable = false;
    for (const QASearchHit &hit : std::as_const(m_hits)) {
        if (hit.replaceable) {
            replaceable = true;
            break;
        }
    }
    // A text typed but not searched yet is searched by the replace buttons themselves.
    const bool typed = stale() && !m_pattern->text().isEmpty() && !m_root.isNull();
    m_replaceOne->setEnabled(replaceable || typed);
    m_replaceAll->setEnabled(replaceable || typed);
    if (!m_searchedOnce) {
        m_count->clear();
        return;
    }
    if (m_hits.isEmpty() && !m_search) {
        m_count->setText(tr("No match for \"%1\"").arg(m_searched.pattern));
        return;
    }
    const QString count = tr("%1 match(es)").arg(m_hits.size());
    m_count->setText(m_search ? tr("%1 so far...").arg(count) : count);
}

int QAFindPane::currentIndex() const
{
    QTreeWidgetItem *item = m_results->currentItem();
    return item ? m_results->indexOfTopLevelItem(item) : -1;
}

void QAFindPane::choose(int index)
{
    if (index < 0 || index >= m_hits.size())
        return;
    QTreeWidgetItem *item = m_results->topLevelItem(index);
    if (m_results->currentItem() != item)
        m_results->setCurrentItem(item);
    m_results->scrollToItem(item);
    emit revealRequested(m_hits.at(index).where);
}

bool QAFindPane::step(bool forward)
{
    if (!m_searchedOnce)
        return false;
    if (m_hits.isEmpty()) {
        emit statusMsg(tr("No match for \"%1\"").arg(m_searched.pattern), 2000);
        return true;
    }
    const int count = int(m_hits.size());
    const int at = currentIndex();
    int next = forward ? at + 1 : at - 1;
    if (at < 0)
        next = forward ? 0 : count - 1;
    if (next >= count || next < 0) {
        next = forward ? 0 : count - 1;
        emit statusMsg(forward ? tr("Search hit bottom, continuing at top")
                               : tr("Search hit top, continuing at bottom"),
                       2000);
    }
    choose(next);
    return true;
}

bool QAFindPane::stale() const
{
    return !m_searchedOnce || m_pattern->text() != m_searched.pattern;
}

void QAFindPane::searchBeforeReplacing(bool whole)
{
    if (stale())
        search();
    while (whole && m_search)
        continueSearch();
    if (m_searchedOnce && m_hits.isEmpty())
        emit statusMsg(tr("No match for \"%1\"").arg(m_searched.pattern), 2000);
}

void QAFindPane::replaceCurrent()
{
    searchBeforeReplacing(false);
    if (!m_edits || m_hits.isEmpty())
        return;
    int at = currentIndex();
    if (at < 0)
        at = 0;
    // The current hit, or the next one that can be replaced.
    const int count = int(m_hits.size());
    for (int i = 0; i < count; ++i) {
        const int index = (at + i) % count;
        if (!m_hits.at(index).replaceable)
            continue;
        m_replacing = true;
        const bool done = QADocumentSearch::replace(m_hits.at(index), m_searched,
                                                     m_replacement->text(), m_edits);
        m_replacing = false;
        if (!done) {
            emit statusMsg(tr("The text has changed since the search; search again."), 2000);
            return;
        }
        // The list follows the replaced text; the next hit becomes the current one.
        search();
        if (index < m_hits.size())
            choose(index);
        else if (!m_hits.isEmpty())
            choose(0);
        return;
    }
    emit statusMsg(tr("Names, labels, keys and variants are not replaced."), 2000);
}

void QAFindPane::replaceAll()
{
    searchBeforeReplacing(true);
    if (!m_edits || m_hits.isEmpty())
        return;
    m_replacing = true;
    const int count = QADocumentSearch::replaceAll(m_hits, m_searched, m_replacement->text(),
                                                   m_edits, tr("Replace All"));
    m_replacing = false;
    search();
    emit statusMsg(tr("%1 replacement(s) made.").arg(count), 2000);
}

void QAFindPane::documentChanged()
{
    // Replacing searches again at once; other changes after a pause in typing.
    if (m_searchedOnce && !m_replacing)
        m_refresh->start();
}
