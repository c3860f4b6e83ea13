#include "marrowgate/application/implementation/mgi_deadline_watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace mgImplementation {

DeadlineWatchdog::DeadlineWatchdog(std::chrono::milliseconds deadline, std::string lineOnExpiry)
    : mThread([this, deadline, line = std::move(lineOnExpiry)] {
          std::unique_lock lock(mMutex);
          if (mStepFinished.wait_for(lock, deadline, [this] { return mFinished; })) {
              return;
          }
          std::fprintf(stderr, "%s\n", line.c_str());
          std::fflush(nullptr);
          // The main thread is stuck inside a library: nothing can be unwound or destroyed.
          std::_Exit(EXIT_FAILURE);
      })
{}

DeadlineWatchdog::~DeadlineWatchdog()
{
    {
        const std::lock_guard lock(mMutex);
        mFinished = true;
    }
    mStepFinished.notify_one();
    mThread.join();
}

} // namespace mgImplementation
