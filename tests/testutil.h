#pragma once

// Shared helpers of the widget tests: a private home, the staged installation, and
// answers to modal dialogs.

#include "support/qauserlibrary.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>

#include <functional>
#include <memory>

namespace VmrTest {

/** Points settings, application data and config at a fresh temporary home. */
inline std::unique_ptr<QTemporaryDir> privateHome()
{
    auto home = std::make_unique<QTemporaryDir>();
    const QByteArray base = home->path().toLocal8Bit();
    qputenv("HOME", base);
    qputenv("XDG_CONFIG_HOME", base + "/config");
    qputenv("XDG_DATA_HOME", base + "/data");
    qputenv("XDG_CACHE_HOME", base + "/cache");
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Quintar Software"));
    QCoreApplication::setApplicationName(QStringLiteral("vmreditor"));
    QALogMessageBox::setQuiet(true);
    return home;
}

inline QString orbiskDir() { return QString::fromLocal8Bit(qgetenv("ORBISKDIR")); }
inline QString sourceDir() { return QString::fromLocal8Bit(qgetenv("VMR_SOURCE_DIR")); }
inline QString program() { return QString::fromLocal8Bit(qgetenv("VMREDITOR")); }
inline QString templatePath(const QString &name)
{
    return orbiskDir() + QStringLiteral("/targets/xml/") + name;
}

/** How a program run by a test ended: code is -1 when it did not start, crashed or ran out of time. */
struct Run
{
    int code = -1;
    QString out, err;
    QString report() const
    {
        return QStringLiteral("exit %1\n--- out\n%2--- err\n%3").arg(code).arg(out, err);
    }
};

/** Runs a program to its end in the test's environment, or in env. */
inline Run run(const QString &program, const QStringList &args,
               const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
               int timeoutMs = 180000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    const bool ended = p.waitForFinished(timeoutMs);
    p.kill();
    p.waitForFinished();
    return {ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError()) + (ended ? QString() : p.errorString())};
}

/** Runs handler on the next modal widget within timeoutMs; call before opening it. */
inline void onNextModal(std::function<void(QWidget *)> handler, int timeoutMs = 10000)
{
    auto *timer = new QTimer(qApp);
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, handler, elapsed, timeoutMs]() {
        QWidget *w = QApplication::activeModalWidget();
        if (w || (*elapsed += 20) > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
        if (w)
            handler(w);
    });
    timer->start(20);
}

/** What a context menu showed: its entries as "text", "-" or "sub-menu>text". */
struct MenuSeen
{
    bool opened = false;
    QStringList entries;
};

inline QStringList menuEntries(QMenu *menu, bool enabledOnly = false,
                               const QString &prefix = QString())
{
    QStringList list;
    for (QAction *a : menu->actions()) {
        if (enabledOnly && (!a->isEnabled() || a->isSeparator()))
            continue;
        if (a->menu())
            list += menuEntries(a->menu(), enabledOnly, prefix + a->text() + u'>');
        else
            list << prefix + (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return list;
}

/**
 * Chooses an entry of the next popup menu that opens, as a user does: each sub-menu on
 * the way is hovered and clicked, then the entry clicked. pick gets the menu's enabled
 * entries ("A&ppend>Binary File": '>' after each sub-menu) and returns the path to choose; an
 * empty path closes the menu with Escape. Call before the menu opens; the watch ends
 * when the result is dropped.
 */
inline std::shared_ptr<MenuSeen>
chooseFromNextMenu(std::function<QString(const QStringList &)> pick, int timeoutMs = 10000)
{
    auto seen = std::make_shared<MenuSeen>();
    std::weak_ptr<MenuSeen> watched = seen;
    auto *timer = new QTimer(qApp);
    auto elapsed = std::make_shared<int>(0);
    auto steps = std::make_shared<QStringList>();
    auto level = std::make_shared<int>(0);
    auto handled = std::make_shared<QPointer<QMenu>>();
    QObject::connect(timer, &QTimer::timeout, qApp, [=]() {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        const auto stop = [timer]() {
            timer->stop();
            timer->deleteLater();
        };
        // Nobody waits for a menu any longer, or it never came.
        const std::shared_ptr<MenuSeen> seen = watched.lock();
        if (!seen || (*elapsed += 10) > timeoutMs)
            return stop();
        if (!menu || !menu->isVisible() || menu == handled->data())
            return;
        if (!seen->opened) {
            seen->opened = true;
            seen->entries = menuEntries(menu);
            *steps = pick(menuEntries(menu, true)).split(u'>', Qt::SkipEmptyParts);
        }
        if (steps->isEmpty()) {
            QTest::keyClick(menu, Qt::Key_Escape);
            return stop();
        }
        QAction *chosen = nullptr;
        for (QAction *a : menu->actions()) {
            if (a->text() == steps->value(*level))
                chosen = a;
        }
        if (!chosen || !chosen->isEnabled()) {
            // Not there: close every menu, so that the test fails instead of hanging.
            while (QWidget *open = QApplication::activePopupWidget())
                open->close();
            return stop();
        }
        const QPoint at = menu->actionGeometry(chosen).center();
        QTest::mouseMove(menu, at);
        QTest::mouseClick(menu, Qt::LeftButton, {}, at);
        *handled = menu;
        if (++*level == steps->size())
            stop();
    });
    timer->start(10);
    return seen;
}

inline std::shared_ptr<MenuSeen> chooseFromNextMenu(const QString &path)
{
    return chooseFromNextMenu([path](const QStringList &) { return path; });
}

/** Turns the wheel over widget by notches (down when negative), as the mouse does. */
inline void turnWheel(QWidget *widget, int notches)
{
    const QPointF at = QRectF(widget->rect()).center();
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // As from the window system: the application hands it on to the widgets around.
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::sendEvent(widget, &event);
}

/** Drags data over target and drops it there, as from another program; whether it was taken. */
inline bool dropOn(QWidget *target, const QMimeData &data)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &move);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted();
}

/** Right-clicks pos of widget through its window, so that its context menu opens as on screen. */
inline void rightClick(QWidget *widget, const QPoint &pos)
{
    QWindow *window = widget->window()->windowHandle();
    const QPoint at = widget->mapTo(widget->window(), pos);
    QTest::mousePress(window, Qt::RightButton, {}, at);
    QTest::mouseRelease(window, Qt::RightButton, {}, at);
}

} // namespace VmrTest
