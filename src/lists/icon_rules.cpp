#include "lists/icon_rules.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

#include "lists/node_kinds.h"

namespace tarvelin {
namespace {

// What every node's text names on disk, in tree order. The checks are independent and the results land in
// their own slots, so they are spread over the cores; the icons are then set in one pass in tree order as
// before.
std::vector<PathKind> pathKinds(const ListTree& tree, const std::vector<NodeId>& order) {
    std::vector<PathKind> kinds(order.size());
    constexpr size_t kBlock = 512;
    constexpr size_t kMinForThreads = 4 * kBlock;
    std::atomic<size_t> nextBlock{0};
    const auto work = [&] {
        for (;;) {
            const size_t begin = nextBlock.fetch_add(kBlock, std::memory_order_relaxed);
            if (begin >= order.size()) return;
            const size_t end = std::min(order.size(), begin + kBlock);
            for (size_t i = begin; i < end; ++i) kinds[i] = pathKind(tree.text(order[i]));
        }
    };
    std::vector<std::thread> helpers;
    struct JoinAll {
        std::vector<std::thread>& threads;
        ~JoinAll() {
            for (std::thread& t : threads) t.join();
        }
    } joinAll{helpers};
    const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
    if (order.size() >= kMinForThreads) {
        try {
            for (unsigned i = 1; i < cores; ++i) helpers.emplace_back(work);
        } catch (const std::system_error&) {
            // No thread to be had: this thread does all the checks.
        }
    }
    work();
    return kinds;
}

}  // namespace

int openingIcon(PathKind kind, std::string_view text, bool hasChildren) {
    switch (kind) {
        case PathKind::Folder:
            return icons::kFolder;
        case PathKind::File:
            return extensionIcon(text);
        case PathKind::Absent:
            break;
    }
    if (looksLikePath(text)) return icons::kMissing;
    return hasChildren ? icons::kBinder : icons::kEmptyBinder;
}

int simpleIcon(PathKind kind) {
    return kind == PathKind::Folder ? icons::kFolder : kind == PathKind::File ? icons::kFile : icons::kBinder;
}

int selectedIcon(PathKind kind, bool hasChildren) {
    if (kind != PathKind::Absent) return icons::kSelectedItem;
    return hasChildren ? icons::kSelectedBinder : icons::kEmptyBinder;
}

void assignIconsOnOpening(ListTree& tree) {
    const std::vector<NodeId> order = tree.treeOrder();
    const std::vector<PathKind> kinds = pathKinds(tree, order);
    for (size_t i = 0; i < order.size(); ++i)
        tree.setIcon(order[i], openingIcon(kinds[i], tree.text(order[i]), tree.hasChildren(order[i])));
    if (const NodeId root = tree.first(); root != kNoNode) {
        tree.setIcon(root, icons::kRoot);
        tree.expand(root, false);
    }
}

void assignIconsSimple(ListTree& tree) {
    const std::vector<NodeId> order = tree.treeOrder();
    const std::vector<PathKind> kinds = pathKinds(tree, order);
    for (size_t i = 0; i < order.size(); ++i) {
        tree.setIcon(order[i], simpleIcon(kinds[i]));
        tree.setSelectedIcon(order[i], icons::kSelectedItem);
    }
    if (const NodeId root = tree.first(); root != kNoNode) tree.setIcon(root, icons::kRoot);
}

void applySelectedIconRule(ListTree& tree, NodeId selected) {
    if (selected == kNoNode) return;
    tree.setSelectedIcon(selected, selectedIcon(pathKind(tree.text(selected)), tree.hasChildren(selected)));
}

void assignIcons(ListTree& tree, IconAssignment which) {
    if (which == IconAssignment::Simple)
        assignIconsSimple(tree);
    else
        assignIconsOnOpening(tree);
}

}  // namespace tarvelin
