#pragma once
// A deadline for a step that can block for ever inside a library: an X server that accepts the
// connection but never answers leaves the X library waiting in its first read, with no time-out
// of its own. While a DeadlineWatchdog lives, a second thread waits for it to go; if the
// deadline passes first, that thread writes one line to standard error and ends the program with
// exit status 1. Destroying the watchdog in time stops the thread.
//
// The program is otherwise single-threaded; the thread touches only its own state and stderr.

#include "marrowgate/core/mg_noncopyable.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace mgImplementation {

class DeadlineWatchdog : Marrowgate::Core::Noncopyable
{
public:
    // lineOnExpiry is written as it stands, followed by a line break.
    DeadlineWatchdog(std::chrono::milliseconds deadline, std::string lineOnExpiry);
    ~DeadlineWatchdog();

private:
    std::mutex mMutex;
    std::condition_variable mStepFinished;
    bool mFinished = false;
    // Started last, once everything it reads exists.
    std::thread mThread;
};

} // namespace mgImplementation
