#include "browser/name_case.h"

#include <iterator>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

namespace tarvelin {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Decodes the well-formed UTF-8 sequence at text[pos]; 0 when the bytes there are not one.
size_t decodeUtf8(std::string_view text, size_t pos, char32_t& cp) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    const size_t left = text.size() - pos;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF && left >= 2 && isContinuation(byte(1))) {
        cp = (char32_t(lead & 0x1F) << 6) | (byte(1) & 0x3F);
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF && left >= 3 && isContinuation(byte(1)) && isContinuation(byte(2))) {
        cp = (char32_t(lead & 0x0F) << 12) | (char32_t(byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        // Overlong forms and surrogates are not characters.
        if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4 && left >= 4 && isContinuation(byte(1)) && isContinuation(byte(2)) &&
        isContinuation(byte(3))) {
        cp = (char32_t(lead & 0x07) << 18) | (char32_t(byte(1) & 0x3F) << 12) |
             (char32_t(byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
        if (cp < 0x10000 || cp > 0x10FFFF) return 0;
        return 4;
    }
    return 0;
}

// Simple lower-case mapping of the scripts file names commonly use. Every mapping keeps the UTF-8 length.
char32_t lowerCase(char32_t cp) {
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;
    if ((cp >= 0x100 && cp <= 0x12F) || (cp >= 0x132 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177))
        return cp | 1;
    if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) return (cp & 1) ? cp + 1 : cp;
    if (cp == 0x178) return 0xFF;
    if (cp >= 0x391 && cp <= 0x3AB && cp != 0x3A2) return cp + 0x20;
    if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;
    if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
    if (cp >= 0xFF21 && cp <= 0xFF3A) return cp + 0x20;
    return cp;
}

void encodeUtf8(char32_t cp, size_t length, char* out) {
    switch (length) {
        case 2:
            out[0] = static_cast<char>(0xC0 | (cp >> 6));
            out[1] = static_cast<char>(0x80 | (cp & 0x3F));
            break;
        case 3:
            out[0] = static_cast<char>(0xE0 | (cp >> 12));
            out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out[2] = static_cast<char>(0x80 | (cp & 0x3F));
            break;
        default:
            break;  // no mapped character needs four bytes
    }
}

struct CaselessSlot {
    uint64_t head = 0;  // eight bytes of the key from the offset being sorted on, big-endian, zero-padded
    size_t item = 0;
};

uint64_t headAt(std::string_view key, size_t offset) {
    if constexpr (std::endian::native == std::endian::little) {
        if (key.size() >= offset + 8) {
            uint64_t word;
            std::memcpy(&word, key.data() + offset, sizeof word);
            return __builtin_bswap64(word);
        }
    }
    uint64_t head = 0;
    for (size_t i = offset; i < offset + 8; ++i)
        head = (head << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0);
    return head;
}

std::string_view tailFrom(std::string_view key, size_t offset) {
    return key.substr(std::min(offset, key.size()));
}

// Orders slots by their heads a byte at a time, skipping the bytes all heads share: of thousands of slots,
// quicker than comparing them.
void sortByHead(std::vector<CaselessSlot>::iterator begin, std::vector<CaselessSlot>::iterator end) {
    const size_t count = size_t(end - begin);
    if (count < 256) {
        std::sort(begin, end, [](const CaselessSlot& a, const CaselessSlot& b) { return a.head < b.head; });
        return;
    }
    std::array<std::array<size_t, 256>, 8> counts{};
    for (auto slot = begin; slot != end; ++slot)
        for (int byte = 0; byte < 8; ++byte) ++counts[byte][(slot->head >> (8 * byte)) & 0xFF];
    std::vector<CaselessSlot> spare(count);
    CaselessSlot* from = &*begin;
    CaselessSlot* to = spare.data();
    for (int byte = 0; byte < 8; ++byte) {
        std::array<size_t, 256>& places = counts[byte];
        if (places[(from->head >> (8 * byte)) & 0xFF] == count) continue;
        size_t place = 0;
        for (size_t& slots : places) place += std::exchange(slots, place);
        for (const CaselessSlot* slot = from; slot != from + count; ++slot)
            to[places[(slot->head >> (8 * byte)) & 0xFF]++] = *slot;
        std::swap(from, to);
    }
    if (from != &*begin) std::copy(from, from + count, begin);
}

// Past this many bytes of equal keys, the rest of them is compared in one go.
constexpr size_t kLongestOffset = 256;

// Sorts slots whose keys agree before `offset`, eight bytes at a time: folders of thousands of names are
// sorted at start, and most comparisons are then between two numbers, even where many names begin alike
// ("IMG_2024", "Folder_1").
void sortFrom(std::vector<CaselessSlot>::iterator begin, std::vector<CaselessSlot>::iterator end,
              size_t offset, const std::vector<std::string>& keys,
              const std::vector<std::string_view>& names) {
    for (auto slot = begin; slot != end; ++slot) slot->head = headAt(keys[slot->item], offset);
    sortByHead(begin, end);
    for (auto run = begin; run != end;) {
        const uint64_t head = run->head;
        const auto runEnd =
            std::find_if(run, end, [head](const CaselessSlot& slot) { return slot.head != head; });
        if (runEnd - run > 1) {
            const bool longer = std::any_of(
                run, runEnd, [&](const CaselessSlot& slot) { return keys[slot.item].size() > offset + 8; });
            if (longer && offset < kLongestOffset)
                sortFrom(run, runEnd, offset + 8, keys, names);
            else
                // The keys of a run agree before `offset`: compare what follows.
                std::sort(run, runEnd, [&](const CaselessSlot& a, const CaselessSlot& b) {
                    const int byKey = tailFrom(keys[a.item], offset).compare(tailFrom(keys[b.item], offset));
                    return byKey != 0 ? byKey < 0 : names[a.item] < names[b.item];
                });
        }
        run = runEnd;
    }
}

}  // namespace

size_t characterLength(std::string_view text, size_t pos) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) return 1;
    char32_t cp;
    const size_t length = decodeUtf8(text, pos, cp);
    return length == 0 ? 1 : length;
}

std::string foldCase(std::string_view name) {
    std::string folded(name);
    for (size_t pos = 0; pos < folded.size();) {
        const unsigned char c = static_cast<unsigned char>(folded[pos]);
        if (c < 0x80) {
            if (c >= 'A' && c <= 'Z') folded[pos] = static_cast<char>(c + 0x20);
            ++pos;
            continue;
        }
        char32_t cp;
        const size_t length = decodeUtf8(folded, pos, cp);
        if (length == 0) {
            ++pos;
            continue;
        }
        const char32_t lower = lowerCase(cp);
        if (lower != cp) encodeUtf8(lower, length, &folded[pos]);
        pos += length;
    }
    return folded;
}

void sortWithoutCase(std::vector<std::string>& names) {
    std::vector<size_t> order = [&names] {
        std::vector<std::string> folded;
        folded.reserve(names.size());
        for (const std::string& name : names) folded.push_back(foldCase(name));
        return orderWithoutCase(folded, std::vector<std::string_view>(names.begin(), names.end()));
    }();
    // Each name moves to its place along the cycles of the order, so that a folder of many thousands of
    // names is not held twice.
    constexpr size_t kPlaced = SIZE_MAX;
    for (size_t start = 0; start < order.size(); ++start) {
        if (order[start] == kPlaced) continue;
        std::string carried = std::move(names[start]);
        for (size_t at = start;;) {
            const size_t from = order[at];
            order[at] = kPlaced;
            if (from == start) {
                names[at] = std::move(carried);
                break;
            }
            names[at] = std::move(names[from]);
            at = from;
        }
    }
}

bool lessWithoutCase(std::string_view a, std::string_view b) {
    // Folding is a matter of each character alone: up to the first byte outside ASCII in either name, the
    // bytes are compared as they are folded, and only the rest, if any, is folded as a whole.
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 0x20 : c; };
    const size_t common = std::min(a.size(), b.size());
    size_t at = 0;
    for (; at < common; ++at) {
        const auto ca = static_cast<unsigned char>(a[at]);
        const auto cb = static_cast<unsigned char>(b[at]);
        if (ca >= 0x80 || cb >= 0x80) break;
        if (lower(ca) != lower(cb)) return lower(ca) < lower(cb);
    }
    const int byKey = at == common ? (a.size() > b.size()) - (a.size() < b.size())
                                   : foldCase(a.substr(at)).compare(foldCase(b.substr(at)));
    return byKey != 0 ? byKey < 0 : a < b;
}

std::vector<std::string> mergeWithoutCase(std::vector<std::string>&& a, std::vector<std::string>&& b) {
    std::vector<std::string> merged;
    merged.reserve(a.size() + b.size());
    std::merge(std::make_move_iterator(a.begin()), std::make_move_iterator(a.end()),
               std::make_move_iterator(b.begin()), std::make_move_iterator(b.end()),
               std::back_inserter(merged), lessWithoutCase);
    return merged;
}

std::vector<size_t> orderWithoutCase(const std::vector<std::string>& keys,
                                     const std::vector<std::string_view>& names) {
    size_t shared = keys.empty() ? 0 : keys.front().size();
    for (const std::string& key : keys) {
        size_t i = 0;
        while (i < shared && i < key.size() && key[i] == keys.front()[i]) ++i;
        shared = i;
    }
    std::vector<CaselessSlot> slots(keys.size());
    for (size_t item = 0; item < slots.size(); ++item) slots[item].item = item;
    sortFrom(slots.begin(), slots.end(), shared, keys, names);
    std::vector<size_t> order;
    order.reserve(slots.size());
    for (const CaselessSlot& slot : slots) order.push_back(slot.item);
    return order;
}

}  // namespace tarvelin
