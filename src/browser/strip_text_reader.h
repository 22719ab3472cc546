#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tarvelin {

// Reads what the information strip shows of the focused file on a worker thread, so that a file on a volume
// that answers slowly or not at all never holds the window. A later question supersedes an earlier one.
class StripTextReader {
public:
    StripTextReader();
    // Returns at once, also while a question hangs: its thread is left to end on its own.
    ~StripTextReader();
    StripTextReader(const StripTextReader&) = delete;
    StripTextReader& operator=(const StripTextReader&) = delete;

    // Called on the worker thread when the answer to the last question comes; it must not block (a queued
    // call to the window's thread). Never called once the reader is destroyed.
    void setNotify(std::function<void()> notify);
    // Asks for informationStripText(path).
    void ask(std::string path);
    // Forgets the last question.
    void cancel();
    // A question is asked and its answer not taken yet.
    bool waiting() const;
    // The answer to the last question, once.
    std::optional<std::string> takeAnswer();

    struct State;  // shared with the workers

private:
    std::shared_ptr<State> m_state;
};

}  // namespace tarvelin
