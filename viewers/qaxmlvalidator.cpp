#include "viewers/qaxmlvalidator.h"

#include "support/qaxmlcharacters.h"

#include <QLineEdit>

QAXmlValidator::QAXmlValidator(QObject *parent)
    : QValidator(parent)
{
}

QAXmlValidator::~QAXmlValidator() = default;

QValidator::State QAXmlValidator::validate(QString &input, int &pos) const
{
    // The line edit takes the corrected text and cursor as they are returned here.
    QAXmlCharacters::leaveOut(input, &pos);
    return Acceptable;
}

void QAXmlValidator::install(QLineEdit *line)
{
    line->setValidator(new QAXmlValidator(line));
}

QAXmlItemDelegate::QAXmlItemDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

QAXmlItemDelegate::~QAXmlItemDelegate() = default;

QWidget *QAXmlItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        QAXmlValidator::install(line);
    return editor;
}
