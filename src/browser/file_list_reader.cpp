#include "browser/file_list_reader.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

#include "browser/batch_mailbox.h"
#include "browser/file_mask.h"
#include "browser/folder_listing.h"

namespace tarvelin {

// Shared with the workers, which may outlive the reader while a reading hangs.
struct FileListReader::State {
    BatchMailbox<Batch> mailbox;
    std::atomic<std::uint64_t> generation = 0;  // of the reading answered; written under the mailbox's lock
    Scan scan;
};

namespace {

using Clock = std::chrono::steady_clock;

void post(FileListReader::State& state, std::uint64_t generation, FileListReader::Batch batch) {
    state.mailbox.post(std::move(batch), [&] { return state.generation == generation; });
}

// Gathers what a pass reads and sends it when the disk is asked again after a while: the first names as soon
// as there are some, then at growing pauses, so that a big folder on a fast disk comes in a few batches, each
// of which the window sorts in, and never more than a second apart. On a slow volume each answer shows at
// once.
class BatchSender final : public FolderScanSink {
    static constexpr auto kFirstPause = std::chrono::milliseconds(50);
    static constexpr auto kLongestPause = std::chrono::seconds(1);
    static constexpr auto kSlowAnswer = std::chrono::milliseconds(20);

public:
    BatchSender(std::shared_ptr<FileListReader::State> state, std::uint64_t generation, FileMask mask)
        : m_state(std::move(state)), m_generation(generation), m_mask(std::move(mask)) {}

    bool take(FolderEntry&& entry) override {
        if (m_state->generation != m_generation) return false;
        if (!m_answered) {
            m_answered = true;
            m_slow = Clock::now() - m_asked >= kSlowAnswer;
        }
        m_read.entries.push_back(std::move(entry));
        return true;
    }
    void beforeAsking() override {
        const Clock::time_point now = Clock::now();
        const auto pause = std::clamp<Clock::duration>(m_sent - m_start, kFirstPause, kLongestPause);
        if (!m_read.entries.empty() && (!m_sentAny || m_slow || now - m_sent >= pause)) send(false, 0);
        m_asked = Clock::now();
        m_answered = false;
    }
    void send(bool last, int error) {
        FolderListing listing = listFolderFiles(m_read, m_mask);
        m_read.entries.clear();
        m_sentAny = true;
        m_sent = Clock::now();
        if (listing.names.empty() && !last) return;
        post(*m_state, m_generation, {std::move(listing.names), last, error});
    }

private:
    std::shared_ptr<FileListReader::State> m_state;
    std::uint64_t m_generation;
    FileMask m_mask;
    FolderEntries m_read;
    Clock::time_point m_start = Clock::now();
    Clock::time_point m_sent = m_start;
    Clock::time_point m_asked = m_start;
    bool m_answered = false;  // since the disk was last asked
    bool m_slow = false;      // the last answer took long
    bool m_sentAny = false;
};

}  // namespace

FileListReader::FileListReader(Scan scan) : m_state(std::make_shared<State>()) {
    m_state->scan = std::move(scan);
}

FileListReader::~FileListReader() {
    m_state->mailbox.close([&] { ++m_state->generation; });
}

void FileListReader::setNotify(std::function<void()> notify) {
    m_state->mailbox.setNotify(std::move(notify));
}

void FileListReader::read(std::string folder, std::string mask) {
    const std::uint64_t generation = m_state->mailbox.locked([&] { return ++m_state->generation; }, true);
    try {
        std::thread([state = m_state, generation, folder = std::move(folder), mask = FileMask(mask)] {
            BatchSender sender(state, generation, mask);
            const int error = state->scan(folder, sender);
            if (state->generation == generation) sender.send(true, error);
        }).detach();
    } catch (const std::system_error&) {
        post(*m_state, generation, {{}, true, EAGAIN});  // no thread to be had: as a folder not read
    }
}

void FileListReader::cancel() {
    m_state->mailbox.locked([&] { ++m_state->generation; }, true);
}

std::vector<FileListReader::Batch> FileListReader::takeBatches() {
    return m_state->mailbox.take();
}

}  // namespace tarvelin
