#pragma once

#include "document/qadocumentsearch.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QAXmlEdits;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

/**
 * Finds a text in the whole open port and lists every hit with its node and its line;
 * choosing one shows it in its viewer with the found text selected. Values and texts
 * can be replaced one hit at a time or all at once, each an undoable step. The list
 * follows the document's changes.
 */
class QAFindPane : public QWidget
{
    Q_OBJECT

public:
    explicit QAFindPane(QWidget *parent = nullptr);
    ~QAFindPane() override;

    /** The port to search, and the edits through which replacing goes; null: none. */
    void setDocument(const QDomElement &root, QAXmlEdits *edits);
    /** Puts the cursor into the text to find, all of it selected. */
    void focusPattern();
    /** Searches again from the top with the options as they are. */
    void search();
    /** Shows the next (or previous) hit; false when the pane has none to show. */
    bool step(bool forward);
    void replaceCurrent();
    void replaceAll();

    QAFindRequest request() const;
    const QList<QASearchHit> &hits() const { return m_hits; }
    bool searching() const { return m_search != nullptr; }
    int currentIndex() const;
    QLineEdit *patternEdit() const { return m_pattern; }
    QLineEdit *replacementEdit() const { return m_replacement; }
    QTreeWidget *results() const { return m_results; }
    QLabel *countLabel() const { return m_count; }

signals:
    /** A hit is to be shown: its node selected, its text selected in its field. */
    void revealRequested(const QAXmlChange &where);
    void statusMsg(const QString &text, int msecs);

private:
    void continueSearch();
    void addRows(qsizetype from);
    void showCount();
    /** Whether the text to find has changed since the last search, or none was made. */
    bool stale() const;
    /** Searches again when stale, and walks the whole port before a Replace All. */
    void searchBeforeReplacing(bool whole);
    void choose(int index);
    void documentChanged();

    QDomElement m_root;
    QPointer<QAXmlEdits> m_edits;
    QLineEdit *m_pattern = nullptr;
    QLineEdit *m_replacement = nullptr;
    QCheckBox *m_case = nullptr;
    QCheckBox *m_word = nullptr;
    QCheckBox *m_wildcard = nullptr;
    QCheckBox *m_expression = nullptr;
    QPushButton *m_replaceOne = nullptr;
    QPushButton *m_replaceAll = nullptr;
    QLabel *m_count = nullptr;
    QTreeWidget *m_results = nullptr;
    QTimer *m_more = nullptr;
    QTimer *m_refresh = nullptr;
    std::unique_ptr<QADocumentSearch> m_search;
    QList<QASearchHit> m_hits;
    QAFindRequest m_searched;
    bool m_searchedOnce = false;
    bool m_replacing = false;
    int m_keep = -1;
};
