#include "window_tree.h"

#include <algorithm>

namespace vx {

int WindowTree::Add(const Rect& bounds, int parent, const Rect& inner) {
    Rect visible = bounds;
    if (parent != kNone) {
        const Node& p = nodes_[static_cast<size_t>(parent)];
        visible = visible.Intersect(p.inner).Intersect(p.visible);
    }
    nodes_.push_back({visible, inner, parent});
    return static_cast<int>(nodes_.size() - 1);
}

std::vector<int> WindowTree::ChainAt(Point p) const {
    std::vector<int> chain;
    int level = kNone;
    // Nodes come after their parent and front to back among siblings, so the first
    // match among a level's nodes is the one the user sees.
    for (size_t i = 0; i < nodes_.size(); ++i) {
        const Node& n = nodes_[i];
        if (n.parent == level && n.visible.Contains(p)) {
            level = static_cast<int>(i);
            chain.push_back(level);
        }
    }
    return chain;
}

int PickDepth::At(const std::vector<int>& chain) const {
    if (chain.empty()) return WindowTree::kNone;
    return chain[static_cast<size_t>(std::min<int>(depth_, static_cast<int>(chain.size()) - 1))];
}

void PickDepth::Step(const std::vector<int>& chain, int notches) {
    // From what is outlined now, so a step outwards always shows.
    const int deepest = std::max<int>(static_cast<int>(chain.size()) - 1, 0);
    depth_ = std::clamp(std::min(depth_, deepest) + notches, 0, deepest);
}

}  // namespace vx
