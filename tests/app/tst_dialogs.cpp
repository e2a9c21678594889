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

// Points ORBISKDIR at another installation while it lives.
class Installation
{
public:
    explicit Installation(const QString &dir)
        : m_saved(qgetenv("ORBISKDIR"))
    {
        qputenv("ORBISKDIR", dir.toLocal8Bit());
        QAEdition::reload();
    }
    ~Installation()
    {
        qputenv("ORBISKDIR", m_saved);
        QAEdition::reload();
    }

private:
    QByteArray m_saved;
};

// A Zephrin installation: the staged one's images plus the edition file.
void makeZephrin(const QString &dir)
{
    const QString images = dir + QStringLiteral("/lib/images");
    QDir().mkpath(images);
    const QDir staged(VmrTest::orbiskDir() + QStringLiteral("/lib/images"));
    for (const QString &name : staged.entryList(QDir::Files))
        QFile::copy(staged.filePath(name), images + QLatin1Char('/') + name);
    QFile edition(dir + QStringLiteral("/lib/edition"));
    if (edition.open(QIODevice::WriteOnly))
        edition.write("Zephrin\n");
}

QStringList strings(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *item : list)
        out << QString::fromUtf8(item);
    return out;
}

// Clicks the dialog's button with that text once the dialog runs modal.
void clickWhenShown(const QString &text)
{
    VmrTest::onNextModal([text](QWidget *w) {
        for (QPushButton *button : w->findChildren<QPushButton *>()) {
            if (button->text().remove(QLatin1Char('&')) == text)
                QTest::mouseClick(button, Qt::LeftButton);
        }
    });
}

QImage background(const QWidget &w)
{
    return w.palette().brush(QPalette::Window).texture().toImage();
}

} // namespace

class TstDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void errorDialogWritesTheWarningOnce_data();
    void errorDialogWritesTheWarningOnce();
    void aboutBoxShowsTheProduct();
    void editionBranding_data();
    void editionBranding();
    void splashIsCentredOnTheDesktop();
    void splashWithoutItsPicture();

    void newDialogChoices_data();
    void newDialogChoices();

    void preferencesLocalServerEnablesClassPath();
    void preferencesBrowserList();
    void preferencesClosing_data();
    void preferencesClosing();

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

void TstDialogs::errorDialogWritesTheWarningOnce_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("one line") << QStringLiteral("vmrgen.pl: cannot write the port");
    QTest::newRow("lines") << QStringLiteral("first line\nsecond line\n\tthird line");
    QTest::newRow("accents") << QStringLiteral("fichier généré introuvable");
    QTest::newRow("empty") << QString();
}

void TstDialogs::errorDialogWritesTheWarningOnce()
{
    QFETCH(QString, message);
    QAVmrErrorDialog dialog(message);
    QCOMPARE(s_warnings, QStringList{QStringLiteral("VMR error : ") + message});
    auto *text = dialog.findChild<QTextEdit *>();
    QVERIFY(text && text->isReadOnly());
    QCOMPARE(text->toPlainText(), message);
    QCOMPARE(dialog.message(), message);
    // A modal box at least as wide as its 600-pixel row, not resizable; OK, the default
    // button, closes it with the accepted result and no second warning.
    VmrTest::onNextModal([&dialog](QWidget *w) {
        QCOMPARE(w, &dialog);
        QVERIFY(dialog.width() >= 600);
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        auto *ok = dialog.findChild<QPushButton *>();
        QVERIFY(ok && ok->isDefault());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(s_warnings.size(), 1);
}

void TstDialogs::aboutBoxShowsTheProduct()
{
    QAVmrAboutDialog dialog{QString()};
    auto *picture = dialog.findChild<QLabel *>(QStringLiteral("about picture"));
    QVERIFY(picture);
    const QPixmap expected(VmrTest::orbiskDir() + QStringLiteral("/lib/images/about.png"));
    QVERIFY(!expected.isNull());
    QCOMPARE(picture->pixmap().size(), expected.size());

    QStringList texts;
    for (int i = 0; i < 4; ++i) {
        auto *label = dialog.findChild<QLabel *>(QStringLiteral("about text %1").arg(i));
        QVERIFY(label);
        texts << label->text();
    }
    QVERIFY(texts.at(0).contains(QLatin1String("<h2 align=\"left\"><font color=\"#007c7c\">"
                                               "Tarvex Quintar Orbisk</font></h2>")));
    QVERIFY(texts.at(1).contains(QLatin1String("Copyright")));
    QCOMPARE(texts.at(2), QAVmrAboutDialog::versionNumber());
    QCOMPARE(texts.at(3), QAVmrAboutDialog::buildNumber());
    auto *notice = dialog.findChild<QTextBrowser *>(QStringLiteral("legal notice"));
    QVERIFY(notice && !notice->toPlainText().isEmpty());

    clickWhenShown(QStringLiteral("OK"));
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
}

void TstDialogs::editionBranding_data()
{
    QTest::addColumn<bool>("zephrin");
    QTest::newRow("Orbisk") << false;
    QTest::newRow("Zephrin") << true;
}

void TstDialogs::editionBranding()
{
    QFETCH(bool, zephrin);
    QTemporaryDir dir;
    makeZephrin(dir.path());
    std::unique_ptr<Installation> use(zephrin ? new Installation(dir.path()) : nullptr);
    const QString product = zephrin ? QStringLiteral("Tarvex Quintar Zephrin")
                                    : QStringLiteral("Tarvex Quintar Orbisk");
    const QImage icon = QAEdition::windowIcon().pixmap(32, 32).toImage();

    QAVmrErrorDialog error(QStringLiteral("x"));
    QCOMPARE(error.windowTitle(), QStringLiteral("Error ") + product + QLatin1String(" Velmor Editor"));
    QCOMPARE(error.windowIcon().pixmap(32, 32).toImage(), icon);

    QAVmrAboutDialog about{QString()};
    QCOMPARE(about.windowTitle(), QStringLiteral("About ") + product + QLatin1String(" Velmor Editor"));
    auto *heading = about.findChild<QLabel *>(QStringLiteral("about text 0"));
    QVERIFY(heading && heading->text().contains(product));
    QCOMPARE(about.windowIcon().pixmap(32, 32).toImage(), icon);

    QAVmrSplashWindow splash{QString()};
    QCOMPARE(splash.imagePath(), (zephrin ? dir.path() : VmrTest::orbiskDir())
                                     + (zephrin ? QStringLiteral("/lib/images/splash_zphr.png")
                                                : QStringLiteral("/lib/images/splash.png")));
    const QImage picture = background(splash);
    QCOMPARE(picture.size(), QSize(650, 438));
    QCOMPARE(picture, QImage(splash.imagePath()).convertToFormat(picture.format()));
    // The two editions really look different.
    const QImage other(VmrTest::orbiskDir() + QStringLiteral("/lib/images/splash_zphr.png"));
    QCOMPARE(picture == other.convertToFormat(picture.format()), zephrin);
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
    QCOMPARE(splash.frameGeometry().topLeft(), QPoint(315, 293));
    QCOMPARE(splash.windowType(), Qt::SplashScreen);
}

void TstDialogs::splashWithoutItsPicture()
{
    // Without its picture the window still comes up, plain.
    QTemporaryDir empty;
    Installation use(empty.path());
    QAVmrSplashWindow splash{QString()};
    QVERIFY(background(splash).isNull());
    QCOMPARE(splash.size(), QSize(650, 438));
}

void TstDialogs::newDialogChoices_data()
{
    QTest::addColumn<int>("button"); // -1: the default choice
    QTest::addColumn<QString>("close"); // button text or key name
    QTest::addColumn<QString>("templateName");
    QTest::newRow("default") << -1 << QStringLiteral("Open") << QStringLiteral("templatec.xvm");
    QTest::newRow("C/C++") << 0 << QStringLiteral("Open") << QStringLiteral("templatec.xvm");
    QTest::newRow("Ada/Ada83") << 1 << QStringLiteral("Open") << QStringLiteral("templatea.xvm");
    QTest::newRow("J2SE") << 2 << QStringLiteral("Open") << QStringLiteral("templatej2se.xvm");
    QTest::newRow("J2ME") << 3 << QStringLiteral("Open") << QStringLiteral("templatej2me.xvm");
    QTest::newRow("Return") << 3 << QStringLiteral("Return") << QStringLiteral("templatej2me.xvm");
    QTest::newRow("Escape") << 1 << QStringLiteral("Escape") << QString();
    QTest::newRow("Cancel") << 2 << QStringLiteral("Cancel") << QString();
}

void TstDialogs::newDialogChoices()
{
    QFETCH(int, button);
    QFETCH(QString, close);
    QFETCH(QString, templateName);
    QANewVmrDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Velmor Language Selection"));
    QVERIFY(dialog.isModal());
    QCOMPARE(dialog.templateName(), QString());
    QRadioButton *const buttons[] = {dialog.cButton(), dialog.adaButton(), dialog.j2seButton(),
                                     dialog.j2meButton()};
    const QStringList labels = strings({"C/C++", "Ada/Ada83", "J2SE", "J2ME"});
    for (int i = 0; i < 4; ++i)
        QCOMPARE(buttons[i]->text(), labels.at(i));
    VmrTest::onNextModal([&buttons, button, close](QWidget *w) {
        QVERIFY(buttons[0]->isChecked());
        if (button >= 0)
            QTest::mouseClick(buttons[button], Qt::LeftButton);
        // The buttons exclude each other.
        for (int i = 0; i < 4; ++i)
            QCOMPARE(buttons[i]->isChecked(), i == qMax(button, 0));
        if (close == QLatin1String("Return") || close == QLatin1String("Escape"))
            QTest::keyClick(w, close == QLatin1String("Return") ? Qt::Key_Return : Qt::Key_Escape);
        else if (auto *b = w->findChild<QPushButton *>(close))
            QTest::mouseClick(b, Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), int(templateName.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
    QCOMPARE(dialog.templateName(), templateName);
}

void TstDialogs::preferencesLocalServerEnablesClassPath()
{
    QAvmrPrefDialog dialog(nullptr, "Preferences", true);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Preferences"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    dialog.setLocalServer(false);
    QVERIFY(!dialog.classPathField()->isEnabled());
    for (bool on : {true, false}) {
        QTest::mouseClick(dialog.localServerBox(), Qt::LeftButton, {},
                          QPoint(5, dialog.localServerBox()->height() / 2));
        QCOMPARE(dialog.startsLocalServer(), on);
        QCOMPARE(dialog.classPathField()->isEnabled(), on);
    }
    dialog.setLocalServer(true);
    QVERIFY(dialog.localServerBox()->isChecked());
    QVERIFY(dialog.classPathField()->isEnabled());
}

void TstDialogs::preferencesBrowserList()
{
    QAvmrPrefDialog dialog;
    QComboBox *box = dialog.browserBox();
    dialog.insertBrowser(QStringLiteral("xdg-open"));
    QCOMPARE(dialog.browserCommand(), QStringLiteral("xdg-open"));
    dialog.setBrowserList({QStringLiteral("firefox"), QStringLiteral("chromium")});
    QCOMPARE(dialog.browserList(), strings({"xdg-open", "firefox", "chromium"}));
    dialog.setBrowserIndex(2);
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
    QCOMPARE(dialog.browserList(), strings({"epiphany --private", "lynx", "xdg-open", "firefox",
                                             "chromium"}));
}

void TstDialogs::preferencesClosing_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Escape") << false;
}

void TstDialogs::preferencesClosing()
{
    QFETCH(bool, ok);
    const QString typed = QStringLiteral("http://help.example:8080/ic");
    QAvmrPrefDialog dialog(nullptr, "Preferences", true);
    dialog.setHelpUrl(QStringLiteral("http://before.example/"));
    QSignalSpy updated(&dialog, &QAvmrPrefDialog::updated);
    QString urlSeen;
    // Whoever listens to updated() reads the dialog while it still has the new values.
    connect(&dialog, &QAvmrPrefDialog::updated, this, [&dialog, &urlSeen]() {
        urlSeen = dialog.helpUrl();
        QVERIFY(dialog.isVisible());
    });
    VmrTest::onNextModal([&dialog, ok, typed](QWidget *w) {
        dialog.helpUrlField()->clear();
        QTest::keyClicks(dialog.helpUrlField(), typed);
        if (!ok)
            QTest::keyClick(w, Qt::Key_Escape);
        else if (auto *button = w->findChild<QPushButton *>(QStringLiteral("OK")))
            QTest::mouseClick(button, Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), int(ok ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(updated.count(), ok ? 1 : 0);
    QCOMPARE(urlSeen, ok ? typed : QString());
    // Either way the fields keep what the user typed for the next opening.
    QCOMPARE(dialog.helpUrl(), typed);
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
        if (std::strcmp(argv[i], "-platform") == 0 && i + 1 < argc)
            ++i;
        else
            args.push_back(argv[i]);
    }
    int count = int(args.size());
    args.push_back(nullptr);
    QApplication app(count, args.data());
    TstDialogs test;
    return QTest::qExec(&test, count, args.data());
}

#include "tst_dialogs.moc"
