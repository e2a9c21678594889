// The small windows of the shell, driven as a user would: the error dialog, the about
// box, the splash window in either edition, and the new-document dialog.

#include "app/qanewvmrdlg.h"
#include "app/qavmraboutdialog.h"
#include "app/qavmrerrordialog.h"
#include "app/qavmrsplashwindow.h"
#include "support/qaedition.h"

#include "testutil.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextEdit>
#include <QtTest>

namespace {

QStringList s_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    // The offscreen platform's own remarks are no output of the editor.
    if (type == QtWarningMsg && !text.startsWith(QLatin1String("This plugin does not support")))
        s_warnings << text;
}

// Clicks the button with that text of the next modal dialog.
void clickWhenShown(const QString &text)
{
    VmrTest::onNextModal([text](QWidget *w) {
        for (QPushButton *button : w->findChildren<QPushButton *>()) {
            if (button->text().remove(QLatin1Char('&')) == text)
                QTest::mouseClick(button, Qt::LeftButton);
        }
    });
}

QImage background(const QWidget &w) { return w.palette().brush(QPalette::Window).texture().toImage(); }

} // namespace

class TstDialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }

    void errorDialogWritesTheWarningOnce_data()
    {
        QTest::addColumn<QString>("message");
        QTest::newRow("lines") << QStringLiteral("first line\nsecond line é\n\tthird line");
        QTest::newRow("empty") << QString();
    }
    void errorDialogWritesTheWarningOnce()
    {
        QFETCH(QString, message);
        s_warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
        QAVmrErrorDialog dialog(message);
        auto *text = dialog.findChild<QTextEdit *>();
        QVERIFY(text && text->isReadOnly());
        QCOMPARE(text->toPlainText(), message);
        // A box at least as wide as its 600-pixel row, not resizable; OK closes it.
        clickWhenShown(QStringLiteral("OK"));
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        qInstallMessageHandler(previous);
        QCOMPARE(s_warnings, QStringList{QStringLiteral("VMR error : ") + message});
        QVERIFY(dialog.width() >= 600);
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    }

    void edition_data()
    {
        QTest::addColumn<bool>("zephrin");
        QTest::newRow("Orbisk") << false;
        QTest::newRow("Zephrin") << true;
    }
    void edition()
    {
        QFETCH(bool, zephrin);
        // A Zephrin installation: the staged one's pictures and the edition file.
        QTemporaryDir dir;
        const QString images = VmrTest::orbiskDir() + QStringLiteral("/lib/images/");
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("lib/images"))));
        for (const QString &name : QDir(images).entryList(QDir::Files))
            QFile::copy(images + name, dir.filePath(QStringLiteral("lib/images/") + name));
        QFile edition(dir.filePath(QStringLiteral("lib/edition")));
        QVERIFY(edition.open(QIODevice::WriteOnly) && edition.write("Zephrin\n") > 0);
        edition.close();
        const QByteArray staged = qgetenv("ORBISKDIR");
        if (zephrin)
            qputenv("ORBISKDIR", dir.path().toLocal8Bit());
        QAEdition::reload();
        const auto restore = qScopeGuard([&staged]() {
            qputenv("ORBISKDIR", staged);
            QAEdition::reload();
        });
        const QString product = zephrin ? QStringLiteral("Tarvex Quintar Zephrin")
                                        : QStringLiteral("Tarvex Quintar Orbisk");
        const QString title = product + QStringLiteral(" Velmor Editor");
        const QImage icon = QAEdition::windowIcon().pixmap(32, 32).toImage();

        QAVmrErrorDialog error(QStringLiteral("x"));
        QCOMPARE(error.windowTitle(), QStringLiteral("Error ") + title);
        QCOMPARE(error.windowIcon().pixmap(32, 32).toImage(), icon);

        QAVmrAboutDialog about{QString()};
        QCOMPARE(about.windowTitle(), QStringLiteral("About ") + title);
        QCOMPARE(about.windowIcon().pixmap(32, 32).toImage(), icon);
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("about text 0"))->text(),
                 QStringLiteral("<h2 align=\"left\"><font color=\"#007c7c\">") + product
                     + QStringLiteral("</font></h2>\n"));
        const QPixmap picture(images + QStringLiteral("about.png"));
        QVERIFY(!picture.isNull());
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("about picture"))->pixmap().size(),
                 picture.size());
        QVERIFY(!about.findChild<QTextBrowser *>()->toPlainText().isEmpty());
        clickWhenShown(QStringLiteral("OK"));
        QCOMPARE(about.exec(), int(QDialog::Accepted));

        // The two editions' splash pictures really differ.
        QAVmrSplashWindow splash{QString()};
        const QImage shown = background(splash);
        QCOMPARE(shown.size(), QSize(650, 438));
        for (const char *name : {"splash.png", "splash_zphr.png"}) {
            const QImage file = QImage(images + QLatin1String(name)).convertToFormat(shown.format());
            QCOMPARE(shown == file, zephrin == (QLatin1String(name) == QLatin1String("splash_zphr.png")));
        }
    }

    void splashIsCentredOnTheDesktop()
    {
        QCOMPARE(QAVmrSplashWindow::centredOn(QRect(0, 0, 1280, 1024)), QPoint(315, 293));
        // Integer division: an odd remainder rounds down.
        QCOMPARE(QAVmrSplashWindow::centredOn(QRect(0, 0, 801, 601)), QPoint(75, 81));
        QAVmrSplashWindow splash{QString()};
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QCOMPARE(splash.frameGeometry(),
                 QRect(QAVmrSplashWindow::centredOn(QGuiApplication::primaryScreen()->geometry()),
                       QSize(650, 438)));
        QCOMPARE(splash.windowType(), Qt::SplashScreen);

        // Without its picture the window still comes up, plain.
        QTemporaryDir empty;
        const QByteArray staged = qgetenv("ORBISKDIR");
        qputenv("ORBISKDIR", empty.path().toLocal8Bit());
        QAVmrSplashWindow plain{QString()};
        qputenv("ORBISKDIR", staged);
        QVERIFY(background(plain).isNull());
        QCOMPARE(plain.size(), QSize(650, 438));
    }

    void newDialogChoices_data()
    {
        QTest::addColumn<int>("button"); // -1: the default choice
        QTest::addColumn<QString>("close"); // button text or key name
        QTest::addColumn<QString>("templateName");
        QTest::newRow("default") << -1 << QStringLiteral("Open") << QStringLiteral("templatec.xvm");
        QTest::newRow("C/C++") << 0 << QStringLiteral("Open") << QStringLiteral("templatec.xvm");
        QTest::newRow("Ada/Ada83") << 1 << QStringLiteral("Open") << QStringLiteral("templatea.xvm");
        QTest::newRow("J2SE") << 2 << QStringLiteral("Open") << QStringLiteral("templatej2se.xvm");
        QTest::newRow("J2ME, Return") << 3 << QStringLiteral("Return") << QStringLiteral("templatej2me.xvm");
        QTest::newRow("Escape") << 1 << QStringLiteral("Escape") << QString();
        QTest::newRow("Cancel") << 2 << QStringLiteral("Cancel") << QString();
    }
    void newDialogChoices()
    {
        QFETCH(int, button);
        QFETCH(QString, close);
        QFETCH(QString, templateName);
        QANewVmrDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Velmor Language Selection"));
        QRadioButton *const buttons[] = {dialog.cButton(), dialog.adaButton(), dialog.j2seButton(),
                                         dialog.j2meButton()};
        QStringList labels;
        for (QRadioButton *b : buttons)
            labels << b->text();
        QCOMPARE(labels.join(u' '), QStringLiteral("C/C++ Ada/Ada83 J2SE J2ME"));
        VmrTest::onNextModal([&buttons, button, close](QWidget *w) {
            QVERIFY(buttons[0]->isChecked());
            if (button >= 0)
                QTest::mouseClick(buttons[button], Qt::LeftButton);
            // The buttons exclude each other.
            for (int i = 0; i < 4; ++i)
                QCOMPARE(buttons[i]->isChecked(), i == qMax(button, 0));
            if (close == QLatin1String("Return") || close == QLatin1String("Escape"))
                QTest::keyClick(w, close == QLatin1String("Return") ? Qt::Key_Return : Qt::Key_Escape);
            else
                QTest::mouseClick(w->findChild<QPushButton *>(close), Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), int(templateName.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
        QCOMPARE(dialog.templateName(), templateName);
    }
};

QTEST_MAIN(TstDialogs)
#include "tst_dialogs.moc"
