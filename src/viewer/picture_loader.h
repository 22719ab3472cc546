#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "viewer/picture_decode.h"

namespace tarvelin {

using PicturePtr = std::shared_ptr<const DecodedPicture>;

// Enough detail for a view fitting the picture into `fitArea` (empty: at full size). A failure is final until
// the file changes.
bool detailSuffices(const DecodedPicture& picture, PixelSize fitArea);
// The memory budget, not the view, keeps the picture below what a view fitting it into `fitArea` (empty: at
// full size) would show.
bool reducedForView(const DecodedPicture& picture, PixelSize fitArea);

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
    // Everything the worker touches. The worker owns a share of it, so a worker stuck in a read on a dead
    // volume is left behind when the window goes instead of holding up the program's end.
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace tarvelin

Q_DECLARE_METATYPE(tarvelin::PicturePtr)
