#include "effects/browser/LatestJobRunner.h"

#include <sys/resource.h>
#include <unistd.h>

#include <utility>

namespace px {

namespace {
constexpr int kNiceness = 10;
} // namespace

LatestJobRunner::~LatestJobRunner()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        waiting_ = nullptr;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void LatestJobRunner::post(std::function<void()> job)
{
    {
        const std::lock_guard lock(mutex_);
        waiting_ = std::move(job);
        if (!thread_.joinable())
            thread_ = std::thread([this] { loop(); });
    }
    wake_.notify_one();
}

void LatestJobRunner::dropWaiting()
{
    const std::lock_guard lock(mutex_);
    waiting_ = nullptr;
    if (!running_)
        idle_.notify_all();
}

void LatestJobRunner::waitIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !running_ && !waiting_; });
}

void LatestJobRunner::loop()
{
    // Below the user-interface thread, so that a machine busy with the jobs
    // still answers the user first; the threads a job starts inherit it.
    setpriority(PRIO_PROCESS, id_t(gettid()), kNiceness);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || waiting_; });
        if (stop_)
            return;
        std::function<void()> job = std::exchange(waiting_, nullptr);
        running_ = true;
        lock.unlock();
        job();
        job = nullptr; // whatever the job holds is released off the caller's thread too
        lock.lock();
        running_ = false;
        if (!waiting_)
            idle_.notify_all();
    }
}

} // namespace px
