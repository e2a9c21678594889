#pragma once

#include "document/qaportcheck.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QAXmlEdits;
class QLabel;
class QTimer;
class QTreeWidget;

/**
 * The problems of the open port, errors and warnings, each with its node; activating one
 * shows the node with the field in question. The port is checked again shortly after
 * each change, and at once before it is generated.
 */
class QAProblemsPane : public QWidget
{
    Q_OBJECT

public:
    explicit QAProblemsPane(QWidget *parent = nullptr);
    ~QAProblemsPane() override;

    /** The port to check, and the edits that announce its changes; null: none. */
    void setDocument(const QDomElement &root, QAXmlEdits *edits);
    /** Asked before each check: where the port is generated, its directory's name there. */
    void setTargetProvider(std::function<QPair<QString, QString>()> provider);
    /** Checks the port now and shows the result. */
    const QList<QAProblem> &checkNow();
    /** Checks the port again after a short pause. */
    void checkSoon();

    const QList<QAProblem> &problems() const { return m_problems; }
    int errorCount() const;
    QTreeWidget *list() const { return m_list; }
    QLabel *summary() const { return m_summary; }

signals:
    void revealRequested(const QAXmlChange &where);
    /** The number of errors and warnings changed. */
    void countsChanged(int errors, int warnings);

private:
    void show(const QList<QAProblem> &problems);

    QDomElement m_root;
    QPointer<QAXmlEdits> m_edits;
    QAPortCheck m_check;
    std::function<QPair<QString, QString>()> m_target;
    QList<QAProblem> m_problems;
    QLabel *m_summary = nullptr;
    QTreeWidget *m_list = nullptr;
    QTimer *m_later = nullptr;
};
