#include "browser/folder_tree.h"

#include <sys/stat.h>

#include <algorithm>
#include <iterator>
#include <unordered_set>

#include "browser/folder_entries.h"
#include "browser/name_case.h"
#include "platform/item_path.h"

namespace tarvelin {

namespace {

bool isDesktopWord(std::string_view root) {
    if (root.empty()) return true;
    if (root.size() != FolderTree::kDesktop.size()) return false;
    for (size_t i = 0; i < root.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; };
        if (lower(root[i]) != lower(FolderTree::kDesktop[i])) return false;
    }
    return true;
}

bool isFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string lastComponent(const std::string& folder) {
    const std::string_view name = fileNamePart(folder);
    return name.empty() ? folder : std::string(name);
}

}  // namespace

std::vector<std::string> listSubfolders(const std::string& folder, bool includeHidden, int* error) {
    const std::shared_ptr<const FolderEntries> read = readFolderEntries(folder);
    std::vector<std::string> names;
    for (const FolderEntry& entry : read->entries)
        if (entry.kind == EntryKind::Folder && (includeHidden || entry.name.front() != '.'))
            names.push_back(entry.name);
    sortWithoutCase(names);
    if (error) *error = read->error;
    return names;
}

size_t FolderNode::row() const {
    return m_parent ? m_row : 0;
}

namespace {

void renumber(std::vector<std::unique_ptr<FolderNode>>& children, size_t from, size_t FolderNode::*row) {
    for (size_t i = from; i < children.size(); ++i) (*children[i]).*row = i;
}

}  // namespace

FolderTree::FolderTree(bool showHidden, DesktopPlaces places, FirstRead firstRead)
    : m_showHidden(showHidden), m_places(std::move(places)) {
    m_places.desktop = normaliseFolder(m_places.desktop);
    m_places.home = normaliseFolder(m_places.home);  // a trailing "/" would leave the node without a name
    setRoot(kDesktop, firstRead);
}

bool FolderTree::setRoot(std::string_view root, FirstRead firstRead) {
    const bool desktop = isDesktopWord(root);
    if (m_rootNode) {
        const bool wasDesktop = isDesktopWord(m_root);
        if (desktop && wasDesktop) return false;
        if (!desktop && !wasDesktop && normaliseFolder(root) == normaliseFolder(m_root)) return false;
    }
    if (m_observer) m_observer->beginReset();
    m_root = desktop ? std::string(kDesktop) : std::string(root);
    auto node = std::make_unique<FolderNode>();
    node->m_desktop = desktop;
    node->m_path = desktop ? m_places.desktop : normaliseFolder(root);
    node->m_name = desktop ? std::string(kDesktopName) : lastComponent(node->m_path);
    m_rootNode = std::move(node);
    // Built with its first level, silently: the reset covers it.
    FolderTreeObserver* observer = m_observer;
    m_observer = nullptr;
    if (firstRead == FirstRead::Now) readChildren(*m_rootNode);
    m_observer = observer;
    if (m_observer) m_observer->endReset();
    return true;
}

std::vector<FolderTree::ChildEntry> FolderTree::placeEntries() const {
    // The desktop holds the home folder, the file system, the mounted volumes, then the desktop's folders.
    std::vector<ChildEntry> entries;
    std::unordered_set<std::string> seen;
    const auto add = [&](std::string name, std::string path) {
        if (seen.insert(path).second) entries.push_back({std::move(name), std::move(path)});
    };
    add(lastComponent(m_places.home), normaliseFolder(m_places.home));
    add("/", "/");
    for (const std::string& volume : m_places.volumes)
        add(lastComponent(normaliseFolder(volume)), normaliseFolder(volume));
    return entries;
}

std::vector<FolderTree::ChildEntry> FolderTree::folderEntries(const FolderNode& node,
                                                              std::vector<std::string> names,
                                                              const PathSet& places) const {
    std::vector<ChildEntry> entries;
    entries.reserve(names.size());
    for (std::string& name : names) {
        std::string path = itemPath(node.m_path, name);
        if (!places.contains(path)) entries.push_back({std::move(name), std::move(path)});
    }
    return entries;
}

void FolderTree::startChildren(FolderNode& node) {
    if (!node.m_desktop) return;
    std::vector<ChildEntry> places = placeEntries();
    m_placeCount = places.size();
    insertChildren(node, 0, places.begin(), places.end());
}

void FolderTree::addChildren(FolderNode& node, std::vector<std::string> sortedNames) {
    auto& children = node.m_children;
    const size_t first = node.m_desktop ? std::min(m_placeCount, children.size()) : 0;
    PathSet places;
    for (size_t row = 0; row < first; ++row) places.insert(children[row]->m_path);
    std::vector<ChildEntry> entries = folderEntries(node, std::move(sortedNames), places);
    if (entries.empty()) return;
    const size_t old = children.size();
    const bool inOrder = old == first || !lessWithoutCase(entries.front().name, children.back()->m_name);
    insertChildren(node, old, entries.begin(), entries.end());
    if (inOrder) return;
    // The batch goes in at the end and is merged in as one move: a view keeps its nodes and its state.
    if (m_observer) m_observer->beginReorder(node);
    const auto begin = children.begin();
    std::inplace_merge(begin + static_cast<std::ptrdiff_t>(first), begin + static_cast<std::ptrdiff_t>(old),
                       children.end(),
                       [](const auto& a, const auto& b) { return lessWithoutCase(a->m_name, b->m_name); });
    renumber(children, first, &FolderNode::m_row);
    if (m_observer) m_observer->endReorder(node);
}

void FolderTree::finishChildren(FolderNode& node, int error) {
    node.m_childrenRead = true;
    node.m_readError = node.m_desktop ? 0 : error;  // a missing desktop folder still leaves the places
}

std::unique_ptr<FolderNode> FolderTree::makeNode(FolderNode* parent, ChildEntry entry) const {
    auto node = std::make_unique<FolderNode>();
    node->m_name = std::move(entry.name);
    node->m_path = std::move(entry.path);
    node->m_parent = parent;
    return node;
}

void FolderTree::readChildren(FolderNode& node) {
    if (node.m_childrenRead) return;
    int error = 0;
    std::vector<std::string> names = listSubfolders(node.m_path, m_showHidden, &error);
    startChildren(node);
    addChildren(node, std::move(names));
    finishChildren(node, error);
}

void FolderTree::insertChildren(FolderNode& parent, size_t row, std::vector<ChildEntry>::iterator first,
                                std::vector<ChildEntry>::iterator last) {
    if (first == last) return;
    if (m_observer) m_observer->beginInsert(parent, row, row + static_cast<size_t>(last - first) - 1);
    std::vector<std::unique_ptr<FolderNode>> nodes;
    nodes.reserve(static_cast<size_t>(last - first));
    for (auto entry = first; entry != last; ++entry) nodes.push_back(makeNode(&parent, std::move(*entry)));
    auto& children = parent.m_children;
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(row),
                    std::make_move_iterator(nodes.begin()), std::make_move_iterator(nodes.end()));
    renumber(children, row, &FolderNode::m_row);
    if (m_observer) m_observer->endInsert();
}

void FolderTree::removeChildren(FolderNode& parent, size_t first, size_t end) {
    if (first == end) return;
    if (m_observer) m_observer->beginRemove(parent, first, end - 1);
    auto& children = parent.m_children;
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(first),
                   children.begin() + static_cast<std::ptrdiff_t>(end));
    renumber(children, first, &FolderNode::m_row);
    if (m_observer) m_observer->endRemove();
}

void FolderTree::refresh(FolderNode& node) {
    if (!node.m_childrenRead) return;  // nothing read yet, so nothing shown to bring up to date
    int error = 0;
    std::vector<std::string> names = listSubfolders(node.m_path, m_showHidden, &error);
    refreshWith(node, std::move(names), error);
    for (const auto& child : node.m_children) refresh(*child);
}

void FolderTree::refreshWith(FolderNode& node, std::vector<std::string> sortedNames, int error) {
    std::vector<ChildEntry> entries = node.m_desktop ? placeEntries() : std::vector<ChildEntry>{};
    if (node.m_desktop) m_placeCount = entries.size();
    {
        PathSet places;
        for (const ChildEntry& place : entries) places.insert(place.path);
        std::vector<ChildEntry> folders = folderEntries(node, std::move(sortedNames), places);
        std::move(folders.begin(), folders.end(), std::back_inserter(entries));
    }
    node.m_readError = node.m_desktop ? 0 : error;
    auto& children = node.m_children;
    // A folder mostly comes back as it was: the runs that still match at both ends are left as they are, and
    // only what lies between them is compared. A folder's entries name each path once, so nothing of the ends
    // can turn up between them.
    const size_t common = std::min(children.size(), entries.size());
    size_t head = 0;
    while (head < common && children[head]->m_path == entries[head].path) ++head;
    size_t tail = 0;
    while (tail < common - head &&
           children[children.size() - 1 - tail]->m_path == entries[entries.size() - 1 - tail].path)
        ++tail;
    const auto middleEnd = [&] { return children.size() - tail; };
    const auto freshBegin = entries.begin() + static_cast<std::ptrdiff_t>(head);
    const auto freshEnd = entries.end() - static_cast<std::ptrdiff_t>(tail);

    // First the vanished folders go, so that the kept ones stand in the order of the fresh list.
    {
        std::unordered_set<std::string_view> fresh;
        fresh.reserve(static_cast<size_t>(freshEnd - freshBegin));
        for (auto entry = freshBegin; entry != freshEnd; ++entry) fresh.insert(entry->path);
        const auto vanished = [&](size_t row) { return !fresh.contains(children[row]->m_path); };
        for (size_t end = middleEnd(); end > head;) {
            if (!vanished(end - 1)) {
                --end;
                continue;
            }
            size_t first = end - 1;
            while (first > head && vanished(first - 1)) --first;
            removeChildren(node, first, end);
            end = first;
        }
    }
    // Then the fresh list is walked in order: runs of new folders go in where they belong; a kept node found
    // further down (the order changed) is replaced.
    std::unordered_set<std::string_view> kept;
    kept.reserve(middleEnd() - head);
    for (size_t row = head; row < middleEnd(); ++row) kept.insert(children[row]->m_path);
    size_t row = head;
    for (auto entry = freshBegin; entry != freshEnd;) {
        if (row < middleEnd() && children[row]->m_path == entry->path) {
            ++row;
            ++entry;
            continue;
        }
        auto end = entry;
        while (end != freshEnd && !kept.contains(end->path)) ++end;
        if (end == entry) {
            for (size_t later = row + 1; later < middleEnd(); ++later) {
                if (children[later]->m_path == entry->path) {
                    kept.erase(entry->path);
                    removeChildren(node, later, later + 1);
                    break;
                }
            }
            ++end;
        }
        const auto count = static_cast<size_t>(end - entry);
        insertChildren(node, row, entry, end);
        row += count;
        entry = end;
    }
    removeChildren(node, row, middleEnd());
}

bool FolderTree::resetVanishedRoot() {
    if (m_rootNode->m_desktop || isFolder(m_rootNode->m_path)) return false;
    return setRoot(kDesktop);
}

}  // namespace tarvelin
