// A fixed-size thread pool with a FIFO queue.
#include "oslayer/os.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace os {

namespace {

// Shared by the pool and its threads, so a thread detached by a destructor that runs on it
// (a task destroying its own pool) still finds its state.
struct PoolState {
    std::mutex m;
    std::condition_variable cv;
    std::deque<std::function<void()>> queue;
    bool stopping = false;
};

void RunWorker(const std::shared_ptr<PoolState>& s) {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock<std::mutex> lock(s->m);
            s->cv.wait(lock, [&] { return s->stopping || !s->queue.empty(); });
            if (s->stopping) return;
            task = std::move(s->queue.front());
            s->queue.pop_front();
        }
        try {
            task();
        } catch (...) {
            // A task's exception must not take the process down; it is dropped.
        }
    }
}

}  // namespace

struct ThreadPool::Impl {
    std::shared_ptr<PoolState> state = std::make_shared<PoolState>();
    std::vector<std::thread> threads;
};

ThreadPool::ThreadPool(int threads) : impl_(std::make_unique<Impl>()) {
    const int n = std::max(1, threads);
    impl_->threads.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        impl_->threads.emplace_back([s = impl_->state] { RunWorker(s); });
}

ThreadPool::~ThreadPool() {
    auto& s = *impl_->state;
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(s.m);
        s.stopping = true;
        dropped.swap(s.queue);
    }
    s.cv.notify_all();
    dropped.clear();  // the queued tasks are dropped (their captures released outside the lock)
    for (auto& t : impl_->threads) {
        if (t.get_id() == std::this_thread::get_id())
            t.detach();  // destroyed from one of its own tasks: it cannot join itself
        else if (t.joinable())
            t.join();
    }
}

bool ThreadPool::Schedule(std::function<void()> task) {
    if (!task) return false;
    auto& s = *impl_->state;
    {
        std::lock_guard<std::mutex> lock(s.m);
        if (s.stopping) return false;
        s.queue.push_back(std::move(task));
    }
    s.cv.notify_one();
    return true;
}

int ThreadPool::ThreadCount() const { return static_cast<int>(impl_->threads.size()); }

}  // namespace os
