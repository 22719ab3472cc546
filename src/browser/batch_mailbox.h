#pragma once

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace tarvelin {

// Where the worker threads of a folder reader leave their batches for the window's thread. The first batch
// left after a take rings once (a queued call, which must not block); nothing rings once the owner has closed
// it, so workers that outlive their reader while a volume hangs are harmless.
template <class Batch>
class BatchMailbox {
public:
    void setNotify(std::function<void()> notify) {
        const std::lock_guard lock(m_mutex);
        m_notify = std::move(notify);
    }

    // Leaves `batch` when `answered()`, asked under the lock, still holds; returns that.
    template <class Answered>
    bool post(Batch batch, Answered answered) {
        const std::lock_guard lock(m_mutex);
        if (!answered()) return false;
        m_batches.push_back(std::move(batch));
        if (!m_notified && m_notify) {
            m_notified = true;
            m_notify();  // under the lock, so that it never runs after the owner is gone
        }
        return true;
    }

    std::vector<Batch> take() {
        const std::lock_guard lock(m_mutex);
        m_notified = false;
        return std::exchange(m_batches, {});
    }

    // Runs `change` under the lock; with `dropWaiting`, the batches waiting go too (the change made them
    // stale).
    template <class Change>
    auto locked(Change change, bool dropWaiting = false) {
        const std::lock_guard lock(m_mutex);
        if (dropWaiting) m_batches.clear();
        return change();
    }

    // The owner is going: what waits is dropped and nothing rings any more.
    template <class Change>
    void close(Change change) {
        const std::lock_guard lock(m_mutex);
        change();
        m_batches.clear();
        m_notify = nullptr;
    }

private:
    std::mutex m_mutex;
    std::vector<Batch> m_batches;
    std::function<void()> m_notify;
    bool m_notified = false;
};

}  // namespace tarvelin
