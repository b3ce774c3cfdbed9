#include "tree_compare.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fail.h"

namespace {

// Nodes in pre-order, iteratively: a tree read from a file can be thousands of levels deep.
std::vector<const SettingsNode*> pre_order(const SettingsNode& top) {
    std::vector<const SettingsNode*> nodes;
    std::vector<const SettingsNode*> pending{&top};
    while (!pending.empty()) {
        const SettingsNode* node = pending.back();
        pending.pop_back();
        nodes.push_back(node);
        std::vector<const SettingsNode*> children;
        for (const SettingsNode* child = node->first_child(); child != nullptr; child = child->next()) {
            children.push_back(child);
        }
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return nodes;
}

std::unordered_map<const SettingsNode*, std::size_t> index_of(const std::vector<const SettingsNode*>& nodes) {
    std::unordered_map<const SettingsNode*, std::size_t> index;
    for (std::size_t i = 0; i < nodes.size(); ++i) index.emplace(nodes[i], i);
    return index;
}

// A node's place among the nodes: its index, or nodes.size() for none.
std::size_t place(const SettingsNode* node, const std::unordered_map<const SettingsNode*, std::size_t>& index) {
    if (node == nullptr) return index.size();
    const auto found = index.find(node);
    require(found != index.end(), "a base or parent lies outside its tree");
    return found->second;
}

bool same_value(const SettingsNode& a, const SettingsNode& b) {
    if (a.kind() == SettingsNode::Block) return a.value() == b.value();
    return a.value().value_or(std::string()) == b.value().value_or(std::string());
}

}  // namespace

void require_same_tree(const SettingsNode& a, const SettingsNode& b) {
    const std::vector<const SettingsNode*> nodes_a = pre_order(a);
    const std::vector<const SettingsNode*> nodes_b = pre_order(b);
    require(nodes_a.size() == nodes_b.size(), "the trees have different numbers of nodes");
    const auto index_a = index_of(nodes_a);
    const auto index_b = index_of(nodes_b);
    for (std::size_t i = 0; i < nodes_a.size(); ++i) {
        const SettingsNode& x = *nodes_a[i];
        const SettingsNode& y = *nodes_b[i];
        require(x.kind() == y.kind(), "a node changed its kind");
        require(x.name() == y.name(), "a node changed its name");
        require(same_value(x, y), "a node changed its value");
        if (i == 0) continue;
        require(place(x.parent(), index_a) == place(y.parent(), index_b), "a node moved to another parent");
        require(place(x.base(), index_a) == place(y.base(), index_b), "a block changed its base");
    }
}
