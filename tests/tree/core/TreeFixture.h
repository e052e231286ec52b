#pragma once
// A small named tree for the model's tests, built from a text such as "A(A1 A2(A2a)) B C(C1)",
// with helpers that print walk orders as names.

#include "tree/core/LazyTrees.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zfw::test {

// Exposes the references a control keeps, so that tests can check they never dangle.
class ProbeTree : public LazyTreeModel {
public:
    void setSearchNode(PLazyNode n) { FLastSearchNode = n; }
    void setCheckNode(PLazyNode n) { FCheckNode = n; }
    void setHotNode(PLazyNode n) { FCurrentHotNode = n; }
    void setRangeAnchor(PLazyNode n) { FRangeAnchor = n; }
    void setDragTarget(PLazyNode n) { FLastVCLDragTarget = n; }
    PLazyNode searchNode() const { return FLastSearchNode; }
    PLazyNode checkNode() const { return FCheckNode; }
    using LazyTreeModel::InitNode;
};

struct NamedTree {
    ProbeTree tree;
    std::map<PLazyNode, std::string> names;

    // Several nodes may be selected, as the walks and deletions of selections need.
    NamedTree()
    {
        tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree.SetSelectionOptions(tree.options().SelectionOptions
                                 + TLTSelectionOptions{toMultiSelect});
    }

    // Builds top-level nodes and their children; every node starts collapsed.
    PLazyNode build(const std::string& text, PLazyNode parent = nullptr)
    {
        std::size_t pos = 0;
        parse(text, pos, parent);
        return tree.GetFirstNoInit();
    }

    PLazyNode operator[](const std::string& name) const
    {
        for (const auto& [node, n] : names)
            if (n == name)
                return node;
        ADD_FAILURE() << "no node " << name;
        return nullptr;
    }

    std::string name(PLazyNode n) const
    {
        if (!n)
            return "nil";
        auto it = names.find(n);
        return it == names.end() ? "*" : it->second;
    }

    PLazyNode add(PLazyNode parent, const std::string& n)
    {
        PLazyNode node = tree.AddChild(parent);
        names[node] = n;
        return node;
    }

    // Names of the nodes from `first` on, following `step`.
    std::string walk(PLazyNode first, const std::function<PLazyNode(PLazyNode)>& step) const
    {
        std::string out;
        int guard = 0;
        for (PLazyNode n = first; n && guard < 1000; n = step(n), ++guard) {
            if (!out.empty())
                out += ' ';
            out += name(n);
        }
        return out;
    }

    std::string list(const TLTLazyNodeEnumeration& nodes) const
    {
        std::string out;
        for (PLazyNode n : nodes) {
            if (!out.empty())
                out += ' ';
            out += name(n);
        }
        return out;
    }

    std::string documentOrder() const
    {
        return walk(tree.GetFirstNoInit(), [this](PLazyNode n) { return tree.GetNextNoInit(n); });
    }

    std::string visibleOrder() const
    {
        return walk(tree.GetFirstVisibleNoInit(nullptr, true, false),
                    [this](PLazyNode n) { return tree.GetNextVisibleNoInit(n); });
    }

    void forget(PLazyNode n)
    {
        for (PLazyNode c = n->FirstChild; c; c = c->NextSibling)
            forget(c);
        names.erase(n);
    }

private:
    void parse(const std::string& text, std::size_t& pos, PLazyNode parent)
    {
        PLazyNode last = nullptr;
        while (pos < text.size()) {
            const char c = text[pos];
            if (c == ' ') {
                ++pos;
            } else if (c == '(') {
                ++pos;
                parse(text, pos, last);
            } else if (c == ')') {
                ++pos;
                return;
            } else {
                std::size_t end = text.find_first_of(" ()", pos);
                if (end == std::string::npos)
                    end = text.size();
                last = add(parent, text.substr(pos, end - pos));
                pos = end;
            }
        }
    }
};

}  // namespace zfw::test
