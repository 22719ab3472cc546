#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelin {

// File names are bytes: a name made on Windows may hold CP932 bytes that are not UTF-8. These helpers treat a
// well-formed UTF-8 sequence as one character and every other byte as a character of its own, so such names
// still match, sort and fold without being changed.

// Length in bytes of the character that starts at text[pos] (pos < text.size()).
size_t characterLength(std::string_view text, size_t pos);

// The name with letters in lower case: ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and full-width
// Latin. Everything else, including bytes that are not UTF-8, is kept, so the result has the same length as
// the name.
std::string foldCase(std::string_view name);

// Sorts names by their folded form, ties broken by their bytes, so the order does not depend on the disk.
void sortWithoutCase(std::vector<std::string>& names);

// Whether `a` goes before `b` in that order.
bool lessWithoutCase(std::string_view a, std::string_view b);

// Two lists in that order as one, in time linear in the two.
std::vector<std::string> mergeWithoutCase(std::vector<std::string>&& a, std::vector<std::string>&& b);

// The same order for items held elsewhere: the positions of the items, where keys[i] is foldCase(names[i]).
std::vector<size_t> orderWithoutCase(const std::vector<std::string>& keys,
                                     const std::vector<std::string_view>& names);

}  // namespace tarvelin
