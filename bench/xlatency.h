#pragma once

// Latency as the user sees it on an X display: a synthetic key or click goes to the X
// server through XTest, and the time runs until the server next draws into the window
// (a Damage event). It measures the toolkit's event handling, the editor's work, the
// repaint and its transfer to the server, whatever part of them grows.

#include <QPoint>

#include <vector>

namespace XLatency {

/** The time from an input until the window is first drawn, and until it is drawn last. */
struct Latency
{
    double drawn = -1;   // the first drawing after the input: what shows it
    double settled = -1; // the last drawing before 40 ms without any
};

/** Whether the display named by DISPLAY has the XTest and Damage extensions. */
bool available();

/**
 * Types count keys (the letter x) into the X window, which must hold the keyboard
 * focus, and returns the time of each until the window is drawn, in milliseconds.
 * Runs on a thread of its own: the caller's thread keeps running the toolkit.
 */
std::vector<Latency> keystrokes(unsigned long window, int count);

/**
 * Clicks at away, then at target (root coordinates), count times, and returns the time
 * from each press at target until the window is drawn, in milliseconds.
 */
std::vector<Latency> clicks(unsigned long window, QPoint away, QPoint target, int count);

/**
 * Starts program and returns the time from its start until a top-level window that it
 * mapped last is unmapped again: with a program that closes its window right after the
 * first frame, the time to that first frame. Negative when it could not be measured.
 */
double timeToClosedWindow(const char *const *argv, const char *const *envp);

} // namespace XLatency
