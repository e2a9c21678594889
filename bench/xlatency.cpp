#include "bench/xlatency.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>

namespace XLatency {

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

/** One connection to the display with Damage watching a window. */
class Connection
{
public:
    explicit Connection(unsigned long window)
        : m_display(XOpenDisplay(nullptr))
    {
        int error = 0;
        if (!m_display || !XDamageQueryExtension(m_display, &m_damageEvent, &error))
            return;
        m_damage = XDamageCreate(m_display, window, XDamageReportNonEmpty);
        XSync(m_display, False);
    }
    ~Connection()
    {
        if (!m_display)
            return;
        if (m_damage)
            XDamageDestroy(m_display, m_damage);
        XCloseDisplay(m_display);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool ok() const { return m_damage != 0; }
    Display *display() const { return m_display; }

    /**
     * Waits until nothing has been drawn for quietMs, then forgets what was drawn, so
     * that the next Damage event comes from the next input.
     */
    void settle(int quietMs = kQuietMs)
    {
        while (waitForDamage(quietMs)) {
        }
        XDamageSubtract(m_display, m_damage, None, None);
        XSync(m_display, False);
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
        }
    }

    /** Whether the window was drawn into within timeoutMs; the next wait sees the next. */
    bool waitForDamage(int timeoutMs)
    {
        const Clock::time_point start = Clock::now();
        for (;;) {
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type == m_damageEvent + XDamageNotify) {
                    XDamageSubtract(m_display, m_damage, None, None);
                    return true;
                }
            }
            const int left = timeoutMs - int(msSince(start));
            if (left <= 0)
                return false;
            pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
            poll(&fd, 1, left);
        }
    }

    /** The times until the window is drawn after the input that send sends. */
    template<class Send>
    Latency time(Send send)
    {
        Latency latency;
        const Clock::time_point start = Clock::now();
        send();
        XFlush(m_display);
        if (!waitForDamage(5000))
            return latency;
        latency.drawn = msSince(start);
        latency.settled = latency.drawn;
        while (waitForDamage(kQuietMs))
            latency.settled = msSince(start);
        return latency;
    }

    static constexpr int kQuietMs = 40;

private:
    Display *m_display = nullptr;
    int m_damageEvent = 0;
    Damage m_damage = 0;
};

} // namespace

bool available()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    const bool ok = XTestQueryExtension(display, &event, &error, &major, &minor)
        && XDamageQueryExtension(display, &event, &error);
    XCloseDisplay(display);
    return ok;
}

std::vector<Latency> keystrokes(unsigned long window, int count)
{
    std::vector<Latency> times;
    Connection x(window);
    if (!x.ok())
        return times;
    Display *d = x.display();
    XSetInputFocus(d, window, RevertToParent, CurrentTime);
    const KeyCode key = XKeysymToKeycode(d, XK_x);
    for (int i = 0; i < count; ++i) {
        x.settle();
        times.push_back(x.time([&]() {
            XTestFakeKeyEvent(d, key, True, CurrentTime);
            XTestFakeKeyEvent(d, key, False, CurrentTime);
        }));
    }
    return times;
}

std::vector<Latency> clicks(unsigned long window, QPoint away, QPoint target, int count)
{
    std::vector<Latency> times;
    Connection x(window);
    if (!x.ok())
        return times;
    Display *d = x.display();
    const auto click = [d](QPoint at, bool timed, Connection &c) {
        // The pointer moves first: the hover it causes is drawn before the press.
        XTestFakeMotionEvent(d, -1, at.x(), at.y(), CurrentTime);
        XFlush(d);
        c.settle();
        const auto press = [d]() {
            XTestFakeButtonEvent(d, 1, True, CurrentTime);
            XTestFakeButtonEvent(d, 1, False, CurrentTime);
        };
        if (!timed) {
            press();
            XFlush(d);
            return Latency();
        }
        return c.time(press);
    };
    for (int i = 0; i < count; ++i) {
        click(away, false, x);
        times.push_back(click(target, true, x));
    }
    x.settle();
    return times;
}

double timeToClosedWindow(const char *const *argv, const char *const *envp)
{
    Display *d = XOpenDisplay(nullptr);
    if (!d)
        return -1;
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char *const *>(argv),
                    const_cast<char *const *>(envp))
        != 0) {
        XCloseDisplay(d);
        return -1;
    }
    Window lastMapped = 0;
    std::map<Window, double> unmapped;
    int status = 0;
    bool exited = false;
    while (!exited) {
        while (XPending(d)) {
            XEvent event;
            XNextEvent(d, &event);
            if (event.type == MapNotify)
                lastMapped = event.xmap.window;
            else if (event.type == UnmapNotify)
                unmapped[event.xunmap.window] = msSince(start);
        }
        exited = waitpid(pid, &status, WNOHANG) == pid;
        if (!exited) {
            pollfd fd{ConnectionNumber(d), POLLIN, 0};
            poll(&fd, 1, 5);
        }
    }
    XSync(d, False);
    while (XPending(d)) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.type == UnmapNotify)
            unmapped.emplace(event.xunmap.window, msSince(start));
    }
    XCloseDisplay(d);
    const auto found = unmapped.find(lastMapped);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || found == unmapped.end())
        return -1;
    return found->second;
}

} // namespace XLatency
