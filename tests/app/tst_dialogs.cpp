// The small windows of the shell, driven as a user would: the error dialog, the about
// box, the splash window, the new-document dialog and the preferences dialog. The test
// runs on a 1280 by 1024 desktop so that the splash position can be checked.

#include "app/qanewvmrdlg.h"
#include "app/qavmraboutdialog.h"
#include "app/qavmrerrordialog.h"
#include "app/qavmrprefdialog.h"
#include "app/qavmrsplashwindow.h"
#include "support/qaedition.h"
#include "testutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTextEdit>
#include <QtTest>

#include <cstring>
#include <vector>

namespace {

QStringList s_warnings;
QtMessageHandler s_previousHandler = nullptr;

void collectWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    // The offscreen platform's own remarks are no output of the editor.
    if (type == QtWarningMsg && !text.startsWith(QLatin1String("This plugin does not support")))
        s_warnings.append(text);
    if (s_previousHandler)
        s_previousHandler(type, context, text);
}

// A Zephrin installation: the staged one's images plus the edition file.
class ZephrinInstallation
{
public:
    ZephrinInstallation()
        : m_saved(qgetenv("ORBISKDIR"))
    {
        const QString images = m_dir.filePath(QStringLiteral("lib/images"));
        QDir().mkpath(images);
        const QDir staged(VmrTest::orbiskDir() + QStringLiteral("/lib/images"));
        for (const QString &name : staged.entryList(QDir::Files))
            QFile::copy(staged.filePath(name), images + QLatin1Char('/') + name);
        QFile edition(m_dir.filePath(QStringLiteral("lib/edition")));
        if (edition.open(QIODevice::WriteOnly))
            edition.write("Zephrin\n");
        edition.close();
        qputenv("ORBISKDIR", m_dir.path().toLocal8Bit());
        QAEdition::reload();
    }
    ~ZephrinInstallation()
    {
        qputenv("ORBISKDIR", m_saved);
        QAEdition::reload();
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};

QPushButton *buttonNamed(QWidget *dialog, const QString &text)
{
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        if (button->text().remove(QLatin1Char('&')) == text)
            return button;
    }
    return nullptr;
}

} // namespace

class TstDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void errorDialogWritesTheWarningOnce();
    void errorDialogShowsEveryLine();
    void errorDialogKeepsAccents();
    void errorDialogInZephrin();

    void aboutBoxShowsTheProduct();
    void aboutBoxInZephrin();

    void splashIsCentredOnTheDesktop();
    void splashShowsTheEditionPicture();

    void newDialogDefaultsToC();
    void newDialogChoices_data();
    void newDialogChoices();
    void newDialogEnterOpensTheChoice();
    void newDialogEscapeChoosesNothing();

    void preferencesLocalServerEnablesClassPath();
    void preferencesBrowserList();
    void preferencesOkEmitsUpdated();
    void preferencesEscapeEmitsNothing();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TstDialogs::initTestCase()
{
    m_home = VmrTest::privateHome();
    s_previousHandler = qInstallMessageHandler(collectWarnings);
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1280, 1024));
}

void TstDialogs::init()
{
    s_warnings.clear();
}

void TstDialogs::errorDialogWritesTheWarningOnce()
{
    QAVmrErrorDialog dialog(QStringLiteral("vmrgen.pl: cannot write the port"));
    QCOMPARE(s_warnings,
             QStringList{QStringLiteral("VMR error : vmrgen.pl: cannot write the port")});
    QVERIFY(dialog.isModal());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Error Tarvex Quintar Orbisk Velmor Editor"));
    QVERIFY(!dialog.windowIcon().isNull());
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(127, 127, 127));

    // OK closes it with the accepted result.
    VmrTest::onNextModal([](QWidget *w) {
        if (QPushButton *ok = buttonNamed(w, QStringLiteral("OK"))) {
            QVERIFY(ok->isDefault());
            ok->click();
        }
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(s_warnings.size(), 1);
}

void TstDialogs::errorDialogShowsEveryLine()
{
    const QString message = QStringLiteral("first line\nsecond line\n\tthird line");
    QAVmrErrorDialog dialog(message);
    QCOMPARE(s_warnings, QStringList{QStringLiteral("VMR error : ") + message});
    auto *text = dialog.findChild<QTextEdit *>();
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->toPlainText(), message);
    QCOMPARE(dialog.message(), message);

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // At least as wide as its 600-pixel row, and not resizable.
    QVERIFY(dialog.width() >= 600);
    QCOMPARE(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    dialog.close();

    s_warnings.clear();
    QAVmrErrorDialog empty{QString()};
    QCOMPARE(s_warnings, QStringList{QStringLiteral("VMR error : ")});
    QCOMPARE(empty.message(), QString());
}

void TstDialogs::errorDialogKeepsAccents()
{
    QAVmrErrorDialog dialog(QStringLiteral("fichier généré introuvable"));
    QCOMPARE(s_warnings, QStringList{QStringLiteral("VMR error : fichier généré introuvable")});
}

void TstDialogs::errorDialogInZephrin()
{
    ZephrinInstallation zephrin;
    QAVmrErrorDialog dialog(QStringLiteral("x"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Error Tarvex Quintar Zephrin Velmor Editor"));
    const QImage icon = dialog.windowIcon().pixmap(32, 32).toImage();
    const QImage zephrinIcon = QAEdition::windowIcon().pixmap(32, 32).toImage();
    QCOMPARE(icon, zephrinIcon);
}

void TstDialogs::aboutBoxShowsTheProduct()
{
    QAVmrAboutDialog dialog{QString()};
    QVERIFY(dialog.isModal());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Tarvex Quintar Orbisk Velmor Editor"));
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(255, 255, 255));

    auto *picture = dialog.findChild<QLabel *>(QStringLiteral("about picture"));
    QVERIFY(picture);
    const QPixmap expected(VmrTest::orbiskDir() + QStringLiteral("/lib/images/about.png"));
    QVERIFY(!expected.isNull());
    QCOMPARE(picture->pixmap().size(), expected.size());

    QStringList texts;
    for (int i = 0; i < 4; ++i) {
        auto *label = dialog.findChild<QLabel *>(QStringLiteral("about text %1").arg(i));
        QVERIFY(label);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 128, 128));
        texts << label->text();
    }
    QVERIFY(texts.at(0).contains(QLatin1String("<h2 align=\"left\"><font color=\"#007c7c\">"
                                               "Tarvex Quintar Orbisk</font></h2>")));
    QVERIFY(texts.at(1).contains(QLatin1String("Copyright")));
    QCOMPARE(texts.at(2), QAVmrAboutDialog::versionNumber());
    QCOMPARE(texts.at(3), QAVmrAboutDialog::buildNumber());
    auto *notice = dialog.findChild<QTextBrowser *>(QStringLiteral("legal notice"));
    QVERIFY(notice);
    QVERIFY(!notice->toPlainText().isEmpty());

    VmrTest::onNextModal([](QWidget *w) {
        if (QPushButton *ok = buttonNamed(w, QStringLiteral("OK")))
            ok->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);
}

void TstDialogs::aboutBoxInZephrin()
{
    ZephrinInstallation zephrin;
    QAVmrAboutDialog dialog{QString()};
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Tarvex Quintar Zephrin Velmor Editor"));
    auto *heading = dialog.findChild<QLabel *>(QStringLiteral("about text 0"));
    QVERIFY(heading);
    QVERIFY(heading->text().contains(QLatin1String("Tarvex Quintar Zephrin")));
    QCOMPARE(dialog.windowIcon().pixmap(32, 32).toImage(),
             QAEdition::windowIcon().pixmap(32, 32).toImage());
}

void TstDialogs::splashIsCentredOnTheDesktop()
{
    QCOMPARE(QAVmrSplashWindow::centredOn(QRect(0, 0, 1280, 1024)), QPoint(315, 293));
    QCOMPARE(QAVmrSplashWindow::centredOn(QRect(0, 0, 1024, 768)), QPoint(187, 165));
    // Integer division: an odd remainder rounds down.
    QCOMPARE(QAVmrSplashWindow::centredOn(QRect(0, 0, 801, 601)), QPoint(75, 81));

    QAVmrSplashWindow splash{QString()};
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QCOMPARE(splash.size(), QSize(650, 438));
    QCOMPARE(splash.minimumSize(), splash.maximumSize());
    QCOMPARE(splash.frameGeometry().topLeft(), QPoint(315, 293));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.windowType(), Qt::SplashScreen);
}

void TstDialogs::splashShowsTheEditionPicture()
{
    {
        QAVmrSplashWindow splash{QString()};
        QVERIFY(splash.imagePath().endsWith(QLatin1String("/lib/images/splash.png")));
        const QImage background = splash.palette().brush(QPalette::Window).texture().toImage();
        QCOMPARE(background.size(), QSize(650, 438));
        QCOMPARE(background, QImage(splash.imagePath()).convertToFormat(background.format()));
    }
    {
        ZephrinInstallation zephrin;
        QAVmrSplashWindow splash{QString()};
        QCOMPARE(splash.imagePath(),
                 zephrin.path() + QStringLiteral("/lib/images/splash_zphr.png"));
        const QImage background = splash.palette().brush(QPalette::Window).texture().toImage();
        QCOMPARE(background, QImage(splash.imagePath()).convertToFormat(background.format()));
        // The two editions really look different.
        QVERIFY(background != QImage(VmrTest::orbiskDir()
                                     + QStringLiteral("/lib/images/splash.png"))
                                  .convertToFormat(background.format()));
    }
    {
        // Without its picture the window still comes up, plain.
        QTemporaryDir empty;
        const QByteArray saved = qgetenv("ORBISKDIR");
        qputenv("ORBISKDIR", empty.path().toLocal8Bit());
        QAVmrSplashWindow splash{QString()};
        qputenv("ORBISKDIR", saved);
        QVERIFY(splash.palette().brush(QPalette::Window).texture().isNull());
        QCOMPARE(splash.size(), QSize(650, 438));
    }
}

void TstDialogs::newDialogDefaultsToC()
{
    QANewVmrDlg dialog(nullptr, "New VMR Dialog");
    QCOMPARE(dialog.objectName(), QStringLiteral("New VMR Dialog"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Velmor Language Selection"));
    QVERIFY(dialog.isModal());
    QCOMPARE(dialog.templateName(), QString());
    QVERIFY(dialog.cButton()->isChecked());
    QCOMPARE(dialog.cButton()->text(), QStringLiteral("C/C++"));
    QCOMPARE(dialog.adaButton()->text(), QStringLiteral("Ada/Ada83"));
    QCOMPARE(dialog.j2seButton()->text(), QStringLiteral("J2SE"));
    QCOMPARE(dialog.j2meButton()->text(), QStringLiteral("J2ME"));

    VmrTest::onNextModal([](QWidget *w) {
        if (QPushButton *open = buttonNamed(w, QStringLiteral("Open")))
            QTest::mouseClick(open, Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.templateName(), QStringLiteral("templatec.xvm"));
}

void TstDialogs::newDialogChoices_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("templateName");
    QTest::newRow("C/C++") << 0 << QStringLiteral("templatec.xvm");
    QTest::newRow("Ada/Ada83") << 1 << QStringLiteral("templatea.xvm");
    QTest::newRow("J2SE") << 2 << QStringLiteral("templatej2se.xvm");
    QTest::newRow("J2ME") << 3 << QStringLiteral("templatej2me.xvm");
}

void TstDialogs::newDialogChoices()
{
    QFETCH(int, button);
    QFETCH(QString, templateName);
    QANewVmrDlg dialog;
    QRadioButton *const buttons[] = {dialog.cButton(), dialog.adaButton(), dialog.j2seButton(),
                                     dialog.j2meButton()};
    VmrTest::onNextModal([&buttons, button](QWidget *w) {
        QTest::mouseClick(buttons[button], Qt::LeftButton);
        // The buttons exclude each other.
        for (int i = 0; i < 4; ++i)
            QCOMPARE(buttons[i]->isChecked(), i == button);
        if (QPushButton *open = buttonNamed(w, QStringLiteral("Open")))
            open->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.templateName(), templateName);
}

void TstDialogs::newDialogEnterOpensTheChoice()
{
    QANewVmrDlg dialog;
    VmrTest::onNextModal([&dialog](QWidget *w) {
        dialog.j2meButton()->click();
        QTest::keyClick(w, Qt::Key_Return);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.templateName(), QStringLiteral("templatej2me.xvm"));
}

void TstDialogs::newDialogEscapeChoosesNothing()
{
    QANewVmrDlg dialog;
    VmrTest::onNextModal([&dialog](QWidget *w) {
        dialog.adaButton()->click();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(dialog.templateName(), QString());

    QANewVmrDlg cancelled;
    VmrTest::onNextModal([](QWidget *w) {
        if (QPushButton *cancel = buttonNamed(w, QStringLiteral("Cancel")))
            cancel->click();
    });
    QCOMPARE(cancelled.exec(), int(QDialog::Rejected));
    QCOMPARE(cancelled.templateName(), QString());
}

void TstDialogs::preferencesLocalServerEnablesClassPath()
{
    QAvmrPrefDialog dialog(nullptr, "Preferences", true);
    QCOMPARE(dialog.objectName(), QStringLiteral("Preferences"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Preferences"));
    QVERIFY(dialog.isModal());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    dialog.setLocalServer(false);
    QVERIFY(!dialog.classPathField()->isEnabled());
    QVERIFY(!dialog.startsLocalServer());
    QTest::mouseClick(dialog.localServerBox(), Qt::LeftButton,
                      {}, QPoint(5, dialog.localServerBox()->height() / 2));
    QVERIFY(dialog.startsLocalServer());
    QVERIFY(dialog.classPathField()->isEnabled());
    QTest::mouseClick(dialog.localServerBox(), Qt::LeftButton,
                      {}, QPoint(5, dialog.localServerBox()->height() / 2));
    QVERIFY(!dialog.classPathField()->isEnabled());

    dialog.setLocalServer(true);
    QVERIFY(dialog.localServerBox()->isChecked());
    QVERIFY(dialog.classPathField()->isEnabled());
    dialog.close();
}

void TstDialogs::preferencesBrowserList()
{
    QAvmrPrefDialog dialog;
    QComboBox *box = dialog.browserBox();
    QCOMPARE(box->objectName(), QStringLiteral("qvfd-cb-pref-txt"));
    QVERIFY(box->isEditable());

    dialog.insertBrowser(QStringLiteral("xdg-open"));
    QCOMPARE(dialog.browserCommand(), QStringLiteral("xdg-open"));
    dialog.setBrowserList({QStringLiteral("firefox"), QStringLiteral("chromium")});
    QCOMPARE(box->count(), 3);
    QCOMPARE(dialog.browserList(), (QStringList{QStringLiteral("xdg-open"),
                                                QStringLiteral("firefox"),
                                                QStringLiteral("chromium")}));
    dialog.setBrowserIndex(2);
    QCOMPARE(dialog.browserIndex(), 2);
    QCOMPARE(dialog.browserCommand(), QStringLiteral("chromium"));
    // A stale index from damaged settings leaves the choice alone.
    dialog.setBrowserIndex(7);
    QCOMPARE(dialog.browserCommand(), QStringLiteral("chromium"));
    dialog.insertBrowser(QStringLiteral("lynx"));
    QCOMPARE(box->itemText(0), QStringLiteral("lynx"));
    QCOMPARE(dialog.browserCommand(), QStringLiteral("chromium"));

    // A typed command is no new entry, but goes first in the stored list.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), QStringLiteral("epiphany --private"));
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(box->count(), 4);
    QCOMPARE(dialog.browserCommand(), QStringLiteral("epiphany --private"));
    QCOMPARE(dialog.browserIndex(), 3);
    QCOMPARE(dialog.browserList(),
             (QStringList{QStringLiteral("epiphany --private"), QStringLiteral("lynx"),
                          QStringLiteral("xdg-open"), QStringLiteral("firefox"),
                          QStringLiteral("chromium")}));
    dialog.close();
}

void TstDialogs::preferencesOkEmitsUpdated()
{
    QAvmrPrefDialog dialog(nullptr, "Preferences", true);
    QSignalSpy updated(&dialog, &QAvmrPrefDialog::updated);
    QString urlSeen;
    // Whoever listens to updated() reads the dialog while it still has the new values.
    connect(&dialog, &QAvmrPrefDialog::updated, this, [&dialog, &urlSeen]() {
        urlSeen = dialog.helpUrl();
        QVERIFY(dialog.isVisible());
    });
    VmrTest::onNextModal([&dialog](QWidget *w) {
        dialog.helpUrlField()->clear();
        QTest::keyClicks(dialog.helpUrlField(), QStringLiteral("http://help.example:8080/ic"));
        if (QPushButton *ok = buttonNamed(w, QStringLiteral("OK")))
            QTest::mouseClick(ok, Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(updated.count(), 1);
    QCOMPARE(urlSeen, QStringLiteral("http://help.example:8080/ic"));
    QCOMPARE(dialog.helpUrl(), QStringLiteral("http://help.example:8080/ic"));
}

void TstDialogs::preferencesEscapeEmitsNothing()
{
    QAvmrPrefDialog dialog(nullptr, "Preferences", true);
    dialog.setHelpUrl(QStringLiteral("http://before.example/"));
    QSignalSpy updated(&dialog, &QAvmrPrefDialog::updated);
    VmrTest::onNextModal([&dialog](QWidget *w) {
        dialog.helpUrlField()->setText(QStringLiteral("http://typed.example/"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(updated.count(), 0);
    // The fields keep what the user typed for the next opening.
    QCOMPARE(dialog.helpUrl(), QStringLiteral("http://typed.example/"));
}

// The offscreen platform reads its screens from a file: one 1280 by 1024 desktop.
int main(int argc, char **argv)
{
    QTemporaryFile screens(QDir::tempPath() + QStringLiteral("/vmr-screens-XXXXXX.json"));
    if (!screens.open())
        return 2;
    screens.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1280,
        "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());

    // A "-platform" option on the command line would override the screens file.
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 && i + 1 < argc) {
            ++i;
            continue;
        }
        args.push_back(argv[i]);
    }
    int count = int(args.size());
    args.push_back(nullptr);
    QApplication app(count, args.data());
    TstDialogs test;
    return QTest::qExec(&test, count, args.data());
}

#include "tst_dialogs.moc"
