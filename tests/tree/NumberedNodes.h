#pragma once
// Trees whose nodes carry a number in their first four bytes of data: adding such nodes and
// writing a tree's shape as "1(11 12) 2 3", children in brackets.

#include "tree/LazyTreesControl.h"

#include <cstdint>
#include <string>

namespace zfw::test {

inline PLazyNode add(TBaseLazyTree& tree, PLazyNode parent, std::uint32_t value)
{
    PLazyNode n = tree.AddChild(parent);
    *tree.nodeData<std::uint32_t>(n) = value;
    return n;
}

inline std::string shape(TBaseLazyTree& tree, PLazyNode parent = nullptr)
{
    std::string out;
    PLazyNode first = parent ? parent->FirstChild : tree.RootNode()->FirstChild;
    for (PLazyNode n = first; n; n = n->NextSibling) {
        if (!out.empty())
            out += ' ';
        out += std::to_string(*tree.nodeData<std::uint32_t>(n));
        if (n->FirstChild)
            out += '(' + shape(tree, n) + ')';
    }
    return out;
}

}  // namespace zfw::test
