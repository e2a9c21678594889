#pragma once

// Shared helpers of the widget tests: a private home, the staged installation, and
// answers to modal dialogs.

#include "support/qauserlibrary.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
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

} // namespace VmrTest
