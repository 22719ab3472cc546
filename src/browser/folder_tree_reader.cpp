#include "browser/folder_tree_reader.h"

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

#include "browser/batch_mailbox.h"
#include "browser/name_case.h"
#include "browser/startup_folder.h"

namespace tarvelin {

struct FolderTreeReader::State {
    BatchMailbox<Batch> mailbox;
    std::uint64_t nextTicket = 1;
    std::uint64_t firstLive = 1;  // tickets below it are not answered; under the mailbox's lock
    bool includeHidden = false;
    Scan scan;
};

namespace {

using Clock = std::chrono::steady_clock;

int scanWithStartupReading(const std::string& folder, FolderScanSink& sink) {
    const std::shared_ptr<const FolderEntries> read = takeStartupEntries(folder);
    if (!read) return scanFolder(folder, sink);
    for (const FolderEntry& entry : read->entries)
        if (!sink.take(FolderEntry(entry))) break;
    return read->error;
}

// Keeps the folders a pass reads and sends them when the disk is asked again: the first at once (the next
// question may never be answered), then at once when the disk answered slowly (each answer of a slow volume
// shows), else at most every so often, so that a big folder on a fast disk comes in a few batches.
class FolderBatches final : public FolderScanSink {
    static constexpr auto kPause = std::chrono::milliseconds(100);
    static constexpr auto kSlowAnswer = std::chrono::milliseconds(20);

public:
    FolderBatches(std::shared_ptr<FolderTreeReader::State> state, std::uint64_t ticket)
        : m_state(std::move(state)), m_ticket(ticket), m_includeHidden(m_state->includeHidden) {}

    bool take(FolderEntry&& entry) override {
        if (entry.kind == EntryKind::Folder && (m_includeHidden || entry.name.front() != '.'))
            m_names.push_back(std::move(entry.name));
        return m_live;
    }
    void beforeAsking() override {
        const Clock::time_point now = Clock::now();
        const bool slow = now - m_asked >= kSlowAnswer;
        if (!m_names.empty() && (!m_sentAny || slow || now - m_sent >= kPause)) m_live = send(false, 0);
        m_asked = Clock::now();
    }
    // False once the ticket is no longer answered.
    bool send(bool last, int error) {
        sortWithoutCase(m_names);
        m_sent = Clock::now();
        m_sentAny = true;
        return m_state->mailbox.post({m_ticket, std::exchange(m_names, {}), last, error},
                                     [&] { return m_ticket >= m_state->firstLive; });
    }

private:
    std::shared_ptr<FolderTreeReader::State> m_state;
    std::uint64_t m_ticket;
    bool m_includeHidden;
    bool m_live = true;  // a pass no longer answered stops
    bool m_sentAny = false;
    std::vector<std::string> m_names;
    Clock::time_point m_sent = Clock::now();
    Clock::time_point m_asked = m_sent;
};

}  // namespace

FolderTreeReader::FolderTreeReader(bool includeHidden, Scan scan) : m_state(std::make_shared<State>()) {
    m_state->includeHidden = includeHidden;
    m_state->scan = scan ? std::move(scan) : Scan(scanWithStartupReading);
}

FolderTreeReader::~FolderTreeReader() {
    m_state->mailbox.close([&] { m_state->firstLive = m_state->nextTicket; });
}

void FolderTreeReader::setNotify(std::function<void()> notify) {
    m_state->mailbox.setNotify(std::move(notify));
}

std::uint64_t FolderTreeReader::read(std::string folder) {
    const std::uint64_t ticket = m_state->mailbox.locked([&] { return m_state->nextTicket++; });
    auto batches = std::make_shared<FolderBatches>(m_state, ticket);
    try {
        std::thread([state = m_state, batches, folder = std::move(folder)] {
            const int error = state->scan(folder, *batches);
            batches->send(true, error);
        }).detach();
    } catch (const std::system_error&) {
        batches->send(true, EAGAIN);  // no thread to be had: as a folder not read
    }
    return ticket;
}

void FolderTreeReader::cancelAll() {
    m_state->mailbox.locked([&] { m_state->firstLive = m_state->nextTicket; }, true);
}

std::vector<FolderTreeReader::Batch> FolderTreeReader::takeBatches() {
    return m_state->mailbox.take();
}

}  // namespace tarvelin
