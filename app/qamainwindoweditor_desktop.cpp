// How the main window first comes up on a desktop: its size and its place.

#include "app/qamainwindoweditor.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// A first window smaller than this shows a form of a few lines; a screen smaller than
// this gets all of its free area instead.
constexpr int kFirstWidth = 1024;
constexpr int kFirstHeight = 700;
// What the window manager adds around the window: its title bar and borders.
constexpr int kFrameAllowance = 40;

QRect freeArea(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, kFirstWidth, kFirstHeight);
}

} // namespace

QSize QAMainWindowEditor::firstStartSize() const
{
    const QRect area = freeArea(this);
    const QSize wanted(qMax(area.width() * 3 / 4, kFirstWidth),
                       qMax(area.height() * 3 / 4, kFirstHeight));
    return wanted.boundedTo(area.size() - QSize(kFrameAllowance, kFrameAllowance));
}

void QAMainWindowEditor::centreOnScreen()
{
    const QRect area = freeArea(this);
    QRect frame(QPoint(), size());
    frame.moveCenter(area.center());
    move(frame.topLeft());
}
