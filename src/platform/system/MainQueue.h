#pragma once

#include <QObject>

#include <functional>

// Work queued on the main thread's event loop. Safe to call from any thread;
// a block queued from a block runs after the current one has returned.

// Runs `block` on the main thread as soon as the current work is done.
void mainQueueAsync(std::function<void()> block);

// Runs `block` on the main thread `seconds` from now (at once for 0 or less).
void mainQueueAfter(double seconds, std::function<void()> block);

// As above, but skipped when `context` has been destroyed by then.
void mainQueueAsync(QObject* context, std::function<void()> block);
void mainQueueAfter(double seconds, QObject* context, std::function<void()> block);
