#pragma once

#include <QFrame>

/** The edition's picture, shown in the middle of the desktop while the main window builds. */
class QAVmrSplashWindow : public QFrame
{
    Q_OBJECT

public:
    explicit QAVmrSplashWindow(const QString &programPath, QWidget *parent = nullptr,
                               const char *name = nullptr);
    ~QAVmrSplashWindow() override;

    static constexpr int Width = 650;
    static constexpr int Height = 438;

    /** Where the window's top-left corner goes to be centred on a desktop of that size. */
    static QPoint centredOn(const QRect &desktop);
    /** The picture file shown, whether or not it exists. */
    QString imagePath() const { return m_imagePath; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_imagePath;
};
