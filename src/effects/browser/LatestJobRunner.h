#pragma once
// Runs jobs one at a time on a thread of its own, for work that must not
// hold the user-interface thread. Only the newest request matters: a job
// posted while another runs waits, and a newer post replaces the waiting
// one, which then never runs. A running job is never interrupted.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace px {

class LatestJobRunner {
public:
    LatestJobRunner() = default;
    // Drops the waiting job and waits for the running one to end.
    ~LatestJobRunner();
    LatestJobRunner(const LatestJobRunner&) = delete;
    LatestJobRunner& operator=(const LatestJobRunner&) = delete;

    // The thread starts with the first job. A job must not throw.
    void post(std::function<void()> job);
    // Drops the waiting job, if any; the running one goes on.
    void dropWaiting();
    // Returns once no job runs or waits.
    void waitIdle();

private:
    void loop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::function<void()> waiting_;
    bool running_ = false;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace px
