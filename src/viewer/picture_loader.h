#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "viewer/picture_decode.h"

namespace tarvelin {

using PicturePtr = std::shared_ptr<const DecodedPicture>;

// Enough detail for a view fitting the picture into `fitArea` (empty: at full size). A failure is final until
// the file changes.
bool detailSuffices(const DecodedPicture& picture, PixelSize fitArea);

// Decodes pictures on a worker thread so the window never waits. Only the latest request to show is decoded
// (a run of arrow keys shows the last picture); a newer one cancels the decode under way. Neighbours are
// decoded ahead while nothing is to be shown, and a few decoded pictures are kept for paging back and forth.
class PictureLoader final : public QObject {
    Q_OBJECT
public:
    explicit PictureLoader(QObject* parent = nullptr, PictureLimits limits = {});
    ~PictureLoader() override;

    // A decoded picture of `path` good enough for a view fitting it into `fitArea` (empty: full size), or
    // null. Never touches the disk.
    PicturePtr cached(const std::string& path, PixelSize fitArea) const;
    // Asks for `path`; `ready` follows with the same ticket unless a later show comes first. A cached copy of
    // an unchanged file is answered without decoding.
    uint64_t show(const std::string& path, PixelSize fitArea);
    // Replaces the pictures to decode ahead.
    void prefetch(const std::vector<std::string>& paths, PixelSize fitArea);
    // Blocks until nothing is queued or being decoded (tests and benchmarks).
    void waitIdle();

signals:
    void ready(uint64_t ticket, tarvelin::PicturePtr picture);

private:
    struct Job {
        std::string path;
        PixelSize fitArea;
        uint64_t ticket = 0;  // 0 for decoding ahead
    };
    void run();
    PicturePtr cachedLocked(const std::string& path, PixelSize fitArea) const;
    void store(const PicturePtr& picture);

    PictureLimits m_limits;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake, m_idle;
    std::optional<Job> m_showJob;
    std::deque<Job> m_aheadJobs;
    struct Entry {
        PicturePtr picture;
    };
    std::list<Entry> m_cache;  // most recent first
    uint64_t m_lastTicket = 0;
    bool m_busy = false;
    std::string m_busyPath;
    bool m_stop = false;
    std::atomic<bool> m_cancel{false};
    std::thread m_thread;
};

}  // namespace tarvelin

Q_DECLARE_METATYPE(tarvelin::PicturePtr)
