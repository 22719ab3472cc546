#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvelin {

// The message a later start sends to the running program: a 32-bit byte count, then the paths, each as a
// 32-bit length and its bytes, all counts big-endian (a length of all ones is an empty path).
std::string encodeHandoverMessage(const std::vector<std::string>& files);

// Reads one message as its pieces come from the socket. The bound on its size keeps a stray writer on the
// socket from making the program allocate without limit.
class HandoverMessageReader {
public:
    enum class State { More, Done, Bad };

    // Adds the next piece: More while the message is incomplete, Done once it is whole (files() then holds
    // its paths), Bad when it is too large or no list of paths. Once Done or Bad, further pieces change
    // nothing.
    State add(std::string_view piece);
    const std::vector<std::string>& files() const { return m_files; }

private:
    State m_state = State::More;
    std::string m_bytes;
    std::vector<std::string> m_files;
};

}  // namespace tarvelin
