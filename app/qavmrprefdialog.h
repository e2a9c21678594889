#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;

/**
 * The help preferences: which browser shows the help, the address of the help
 * information centre and whether a local help server is started. The main window keeps
 * one for its whole life, so the fields hold what the user entered last; only OK applies
 * and stores them, Cancel (or Escape) closes it without either.
 */
class QAvmrPrefDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QAvmrPrefDialog(QWidget *parent = nullptr, const char *name = nullptr,
                             bool modal = false, Qt::WindowFlags flags = {});
    ~QAvmrPrefDialog() override;

    int browserIndex() const;
    QString browserCommand() const;
    QString helpUrl() const;
    bool startsLocalServer() const;
    /** Every entry of the browser box, with a typed command that is none of them first. */
    QStringList browserList() const;

    void setBrowserList(const QStringList &list);
    void setBrowserIndex(int index);
    void insertBrowser(const QString &command);
    void setHelpUrl(const QString &url);
    void setLocalServer(bool on);

    QComboBox *browserBox() const { return m_browser; }
    QLineEdit *helpUrlField() const { return m_helpUrl; }
    QCheckBox *localServerBox() const { return m_localServer; }
    QLineEdit *classPathField() const { return m_classPath; }

public slots:
    void accept() override;
    void startLocalServer(bool on);

signals:
    void updated();

private:
    QLineEdit *m_helpUrl = nullptr;
    QComboBox *m_browser = nullptr;
    QCheckBox *m_localServer = nullptr;
    QLineEdit *m_classPath = nullptr;
};
