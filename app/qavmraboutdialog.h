#pragma once

#include <QDialog>

/** The product information box of the Help menu: picture, name, version and legal texts. */
class QAVmrAboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QAVmrAboutDialog(const QString &programPath, QWidget *parent = nullptr,
                              const char *name = nullptr);
    ~QAVmrAboutDialog() override;

    static QString versionNumber();
    static QString buildNumber();
};
