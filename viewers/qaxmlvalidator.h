#pragma once

#include <QStyledItemDelegate>
#include <QValidator>

class QLineEdit;

/**
 * Keeps characters that a document cannot hold out of a line edit: whether typed,
 * pasted or dropped, they are left out as they arrive and the status bar says so.
 */
class QAXmlValidator : public QValidator
{
    Q_OBJECT

public:
    explicit QAXmlValidator(QObject *parent = nullptr);
    ~QAXmlValidator() override;

    State validate(QString &input, int &pos) const override;

    /** Gives the line edit a validator of its own. */
    static void install(QLineEdit *line);
};

/** An item delegate whose in-place editors keep those characters out as well. */
class QAXmlItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit QAXmlItemDelegate(QObject *parent = nullptr);
    ~QAXmlItemDelegate() override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
};
