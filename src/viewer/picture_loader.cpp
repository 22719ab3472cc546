#include "viewer/picture_loader.h"

#include <QMetaObject>
#include <algorithm>

namespace tarvelin {

namespace {

constexpr size_t kCachedPictures = 4;

}  // namespace

// Enough detail for a fit view of that area: the fitted size, or the whole picture; a failure stays a failure
// until the file changes.
bool detailSuffices(const DecodedPicture& p, PixelSize fitArea) {
    if (!p.ok()) return true;
    const PixelSize needed = fitArea.width > 0 && fitArea.height > 0 ? fitSize(p.full, fitArea) : p.full;
    return p.image.width() >= std::min(needed.width, p.full.width) &&
           p.image.height() >= std::min(needed.height, p.full.height);
}

PictureLoader::PictureLoader(QObject* parent, PictureLimits limits) : QObject(parent), m_limits(limits) {
    qRegisterMetaType<PicturePtr>();
    m_limits.cancel = &m_cancel;
    m_thread = std::thread([this] { run(); });
}

PictureLoader::~PictureLoader() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_cancel = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

PicturePtr PictureLoader::cachedLocked(const std::string& path, PixelSize fitArea) const {
    for (const Entry& e : m_cache)
        if (e.picture->path == path && detailSuffices(*e.picture, fitArea)) return e.picture;
    return nullptr;
}

PicturePtr PictureLoader::cached(const std::string& path, PixelSize fitArea) const {
    std::lock_guard lock(m_mutex);
    return cachedLocked(path, fitArea);
}

uint64_t PictureLoader::show(const std::string& path, PixelSize fitArea) {
    uint64_t ticket;
    {
        std::lock_guard lock(m_mutex);
        ticket = ++m_lastTicket;
        m_showJob = Job{path, fitArea, ticket};
        // Whatever else is being decoded is no longer what the user waits for.
        m_cancel = m_busy && m_busyPath != path;
    }
    m_wake.notify_all();
    return ticket;
}

void PictureLoader::prefetch(const std::vector<std::string>& paths, PixelSize fitArea) {
    {
        std::lock_guard lock(m_mutex);
        m_aheadJobs.clear();
        for (const std::string& path : paths) m_aheadJobs.push_back(Job{path, fitArea, 0});
    }
    m_wake.notify_all();
}

void PictureLoader::waitIdle() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && !m_showJob && m_aheadJobs.empty(); });
}

void PictureLoader::store(const PicturePtr& picture) {
    m_cache.remove_if([&](const Entry& e) { return e.picture->path == picture->path; });
    m_cache.push_front(Entry{picture});
    while (m_cache.size() > kCachedPictures) m_cache.pop_back();
}

void PictureLoader::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_showJob || !m_aheadJobs.empty(); });
        if (m_stop) return;
        Job job;
        if (m_showJob) {
            job = std::move(*m_showJob);
            m_showJob.reset();
        } else {
            job = std::move(m_aheadJobs.front());
            m_aheadJobs.pop_front();
        }
        m_busy = true;
        m_busyPath = job.path;
        m_cancel = false;
        PicturePtr have = cachedLocked(job.path, job.fitArea);
        lock.unlock();

        // A copy in the cache is used as long as the file is unchanged; the stamp is read here, off the
        // window's thread, because a dead volume may hang a stat.
        PicturePtr result;
        if (have && have->stamp == fileStamp(job.path) && have->stamp != FileStamp{})
            result = have;
        else
            result =
                std::make_shared<const DecodedPicture>(decodePictureFile(job.path, job.fitArea, m_limits));

        lock.lock();
        m_busy = false;
        const bool cancelled = result->status == DecodeStatus::Cancelled;
        if (!cancelled)
            store(result);
        else if (job.ticket == 0)
            m_aheadJobs.push_front(std::move(job));  // still wanted ahead, after what is to be shown
        const bool stillWanted = !cancelled && job.ticket != 0 && job.ticket == m_lastTicket;
        if (stillWanted) {
            QMetaObject::invokeMethod(
                this, [this, ticket = job.ticket, result] { emit ready(ticket, result); },
                Qt::QueuedConnection);
        }
        if (!m_showJob && m_aheadJobs.empty()) m_idle.notify_all();
    }
}

}  // namespace tarvelin
