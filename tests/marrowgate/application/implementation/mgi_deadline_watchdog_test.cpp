// The watchdog that bounds the window system's start: it ends a program stuck past its deadline
// with its one line and exit status 1, and lets go at once of a step that finished in time.
#include "marrowgate/application/implementation/mgi_deadline_watchdog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using mgImplementation::DeadlineWatchdog;
using namespace std::chrono_literals;

TEST(DeadlineWatchdogDeathTest, AStepPastItsDeadlineEndsTheProgramWithItsLine)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const DeadlineWatchdog watchdog(50ms, "the step does not finish");
            // Stands for a library call that never returns.
            std::this_thread::sleep_for(120s);
        },
        testing::ExitedWithCode(1), "^the step does not finish\n$");
}

TEST(DeadlineWatchdog, AStepThatFinishesInTimeIsLetGoAtOnce)
{
    const auto start = std::chrono::steady_clock::now();
    {
        const DeadlineWatchdog watchdog(120s, "never written");
    }
    // Its thread has ended: it can no longer end the program, and nobody waited for the deadline.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 60s);
}

} // namespace
