#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// One thread of its own that runs the jobs given to it one after another, in
// the order given: a removal posted after a write happens after that write,
// so a slow disk can never bring back a file that was meant to go.
class SerialWorker {
public:
    SerialWorker();
    // Runs what was posted, then ends the thread.
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    void post(std::function<void()> job);
    // Returns once every job posted so far has run.
    void waitForIdle();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_jobs;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};
