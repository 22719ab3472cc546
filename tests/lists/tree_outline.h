#pragma once

#include <string>
#include <vector>

#include "lists/list_tree.h"

namespace tarvelin::test {

// The tree as "level text" strings in tree order, built from parent links rather than from the writer.
inline std::vector<std::string> outline(const ListTree& tree) {
    std::vector<std::string> lines;
    for (NodeId node : tree.treeOrder())
        lines.push_back(std::to_string(tree.level(node)) + " " + tree.text(node));
    return lines;
}

}  // namespace tarvelin::test
