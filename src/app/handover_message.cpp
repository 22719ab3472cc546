#include "app/handover_message.h"

#include <cstdint>

namespace tarvelin {
namespace {

constexpr std::uint32_t kMaxMessageBytes = 4 * 1024 * 1024;
constexpr std::uint32_t kNoBytes = 0xFFFFFFFF;

void appendCount(std::string& out, std::uint32_t count) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((count >> shift) & 0xFF));
}

std::uint32_t countAt(std::string_view bytes) {
    std::uint32_t count = 0;
    for (int i = 0; i < 4; ++i)
        count = (count << 8) | static_cast<unsigned char>(bytes[static_cast<size_t>(i)]);
    return count;
}

// False when the body is malformed.
bool decode(std::string_view body, std::vector<std::string>& files) {
    while (!body.empty()) {
        if (body.size() < 4) return false;
        const std::uint32_t size = countAt(body);
        body.remove_prefix(4);
        if (size == kNoBytes) {
            files.emplace_back();
            continue;
        }
        if (size > body.size()) return false;
        files.emplace_back(body.substr(0, size));
        body.remove_prefix(size);
    }
    return true;
}

}  // namespace

std::string encodeHandoverMessage(const std::vector<std::string>& files) {
    std::string body;
    for (const std::string& file : files) {
        appendCount(body, static_cast<std::uint32_t>(file.size()));
        body += file;
    }
    std::string message;
    appendCount(message, static_cast<std::uint32_t>(body.size()));
    return message + body;
}

HandoverMessageReader::State HandoverMessageReader::add(std::string_view piece) {
    if (m_state != State::More) return m_state;
    m_bytes += piece;
    if (m_bytes.size() < 4) return m_state;
    const std::uint32_t size = countAt(m_bytes);
    if (size > kMaxMessageBytes) return m_state = State::Bad;
    if (m_bytes.size() - 4 < size) return m_state;
    m_state = decode(std::string_view(m_bytes).substr(4, size), m_files) ? State::Done : State::Bad;
    if (m_state == State::Bad) m_files.clear();
    m_bytes = std::string();
    return m_state;
}

}  // namespace tarvelin
