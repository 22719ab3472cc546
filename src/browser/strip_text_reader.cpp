#include "browser/strip_text_reader.h"

#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "browser/information_strip.h"

namespace tarvelin {

// Shared with the workers, which may outlive the reader while a question hangs.
struct StripTextReader::State {
    std::mutex mutex;
    std::uint64_t question = 0;  // the one answered
    bool waiting = false;
    std::optional<std::string> answer;
    std::function<void()> notify;
};

StripTextReader::StripTextReader() : m_state(std::make_shared<State>()) {}

StripTextReader::~StripTextReader() {
    const std::lock_guard lock(m_state->mutex);
    ++m_state->question;
    m_state->notify = nullptr;
}

void StripTextReader::setNotify(std::function<void()> notify) {
    const std::lock_guard lock(m_state->mutex);
    m_state->notify = std::move(notify);
}

void StripTextReader::ask(std::string path) {
    std::uint64_t question;
    {
        const std::lock_guard lock(m_state->mutex);
        question = ++m_state->question;
        m_state->waiting = true;
        m_state->answer.reset();
    }
    const auto answer = [state = m_state, question](std::string text) {
        const std::lock_guard lock(state->mutex);
        if (state->question != question) return;
        state->answer = std::move(text);
        if (state->notify) state->notify();  // under the lock, so that it never runs after the reader is gone
    };
    try {
        std::thread([answer, path = std::move(path)] { answer(informationStripText(path)); }).detach();
    } catch (const std::system_error&) {
        answer({});  // no thread to be had: as a time that cannot be read
    }
}

void StripTextReader::cancel() {
    const std::lock_guard lock(m_state->mutex);
    ++m_state->question;
    m_state->waiting = false;
    m_state->answer.reset();
}

bool StripTextReader::waiting() const {
    const std::lock_guard lock(m_state->mutex);
    return m_state->waiting;
}

std::optional<std::string> StripTextReader::takeAnswer() {
    const std::lock_guard lock(m_state->mutex);
    if (m_state->answer) m_state->waiting = false;
    return std::exchange(m_state->answer, std::nullopt);
}

}  // namespace tarvelin
