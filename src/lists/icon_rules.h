#pragma once

#include <string_view>

#include "lists/list_tree.h"
#include "lists/node_kinds.h"

namespace tarvelin {

// The icon on opening of a node that is not the root, from what its text names.
int openingIcon(PathKind kind, std::string_view text, bool hasChildren);
// The icon of the simple assignment.
int simpleIcon(PathKind kind);
// The selected icon of a node from what its text names.
int selectedIcon(PathKind kind, bool hasChildren);

// Run right after a list is read for showing in its own window: every node gets the icon of its kind (folder,
// file by extension, missing item, binder with or without children), then the root gets the root icon and is
// expanded one level. Selected icons are left alone.
void assignIconsOnOpening(ListTree& tree);

// The reduced variant for a list opened as an item of another list: folders, files and everything else, every
// selected icon the item arrow, the root the root icon; nothing is expanded.
void assignIconsSimple(ListTree& tree);

enum class IconAssignment { OnOpening, Simple };
void assignIcons(ListTree& tree, IconAssignment which);

// Sets the selected icon of the selected node from what its text names now. Does nothing for kNoNode.
void applySelectedIconRule(ListTree& tree, NodeId selected);

}  // namespace tarvelin
