#include "viewer/picture_loader.h"

#include <QMetaObject>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <list>
#include <mutex>
#include <optional>
#include <thread>

namespace tarvelin {

namespace {

constexpr size_t kCachedPictures = 4;

struct Job {
    std::string path;
    PixelSize fitArea;
    uint64_t ticket = 0;  // 0 for decoding ahead
};

bool imageCovers(const DecodedPicture& p, PixelSize fitArea) {
    const PixelSize needed = fitArea.width > 0 && fitArea.height > 0 ? fitSize(p.full, fitArea) : p.full;
    return p.image.width() >= std::min(needed.width, p.full.width) &&
           p.image.height() >= std::min(needed.height, p.full.height);
}

}  // namespace

// A picture the budget kept small is as detailed as it gets.
bool detailSuffices(const DecodedPicture& p, PixelSize fitArea) {
    return !p.ok() || p.reduced || imageCovers(p, fitArea);
}

bool reducedForView(const DecodedPicture& p, PixelSize fitArea) {
    return p.ok() && p.reduced && !imageCovers(p, fitArea);
}

struct PictureLoader::State {
    PictureLimits limits;
    std::mutex mutex;
    std::condition_variable wake, idle;
    PictureLoader* receiver;  // null once the loader is gone
    std::optional<Job> showJob;
    std::deque<Job> aheadJobs;
    std::list<PicturePtr> cache;  // most recent first
    uint64_t lastTicket = 0;
    bool busy = false;
    std::string busyPath;
    bool stop = false;
    std::atomic<bool> cancel{false};

    PicturePtr cachedLocked(const std::string& path, PixelSize fitArea) const {
        for (const PicturePtr& p : cache)
            if (p->path == path && detailSuffices(*p, fitArea)) return p;
        return nullptr;
    }
    void store(const PicturePtr& picture) {
        cache.remove_if([&](const PicturePtr& p) { return p->path == picture->path; });
        cache.push_front(picture);
        while (cache.size() > kCachedPictures) cache.pop_back();
    }
    void run();
};

PictureLoader::PictureLoader(QObject* parent, PictureLimits limits)
    : QObject(parent), m_state(std::make_shared<State>()) {
    qRegisterMetaType<PicturePtr>();
    m_state->limits = limits;
    m_state->limits.cancel = &m_state->cancel;
    m_state->receiver = this;
    std::thread([state = m_state] { state->run(); }).detach();
}

PictureLoader::~PictureLoader() {
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stop = true;
        m_state->cancel = true;
        m_state->receiver = nullptr;
    }
    m_state->wake.notify_all();
}

PicturePtr PictureLoader::cached(const std::string& path, PixelSize fitArea) const {
    std::lock_guard lock(m_state->mutex);
    return m_state->cachedLocked(path, fitArea);
}

uint64_t PictureLoader::show(const std::string& path, PixelSize fitArea) {
    uint64_t ticket;
    {
        std::lock_guard lock(m_state->mutex);
        ticket = ++m_state->lastTicket;
        m_state->showJob = Job{path, fitArea, ticket};
        // Whatever else is being decoded is no longer what the user waits for.
        m_state->cancel = m_state->busy && m_state->busyPath != path;
    }
    m_state->wake.notify_all();
    return ticket;
}

void PictureLoader::prefetch(const std::vector<std::string>& paths, PixelSize fitArea) {
    {
        std::lock_guard lock(m_state->mutex);
        m_state->aheadJobs.clear();
        for (const std::string& path : paths) m_state->aheadJobs.push_back(Job{path, fitArea, 0});
    }
    m_state->wake.notify_all();
}

void PictureLoader::waitIdle() {
    std::unique_lock lock(m_state->mutex);
    m_state->idle.wait(lock,
                       [this] { return !m_state->busy && !m_state->showJob && m_state->aheadJobs.empty(); });
}

void PictureLoader::State::run() {
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stop || showJob || !aheadJobs.empty(); });
        if (stop) return;
        Job job;
        if (showJob) {
            job = std::move(*showJob);
            showJob.reset();
        } else {
            job = std::move(aheadJobs.front());
            aheadJobs.pop_front();
        }
        busy = true;
        busyPath = job.path;
        cancel = false;
        PicturePtr have = cachedLocked(job.path, job.fitArea);
        lock.unlock();

        // A copy in the cache is used as long as the file is unchanged; the stamp is read here, off the
        // window's thread, because a dead volume may hang a stat.
        PicturePtr result;
        if (have && have->stamp == fileStamp(job.path) && have->stamp != FileStamp{})
            result = have;
        else
            result = std::make_shared<const DecodedPicture>(decodePictureFile(job.path, job.fitArea, limits));

        lock.lock();
        busy = false;
        const bool cancelled = result->status == DecodeStatus::Cancelled;
        if (!cancelled)
            store(result);
        else if (job.ticket == 0)
            aheadJobs.push_front(job);  // still wanted ahead, after what is to be shown
        if (!cancelled && job.ticket != 0 && job.ticket == lastTicket && receiver) {
            QMetaObject::invokeMethod(
                receiver, [r = receiver, ticket = job.ticket, result] { emit r->ready(ticket, result); },
                Qt::QueuedConnection);
        }
        if (!showJob && aheadJobs.empty()) idle.notify_all();
    }
}

}  // namespace tarvelin
