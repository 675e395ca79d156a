#pragma once
// The windows on the screen as a tree of rectangles, taken once when a pick starts:
// which window or control is under a point, and how deep the wheel has stepped into
// it. Portable: no <windows.h>.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "../platform/geometry.h"

namespace vx {

class WindowTree {
public:
    static constexpr int kNone = -1;

    // Adds a window with its rectangle on the screen, after its parent and in front-to-
    // back order among its siblings (top-level windows with parent kNone). A child is
    // seen only inside its parent's `inner` rectangle (the client area) and the
    // parent's own visible part. Returns the node's index.
    int Add(const Rect& bounds, int parent, const Rect& inner);
    // What shows of the node: its rectangle cut to its ancestors' client areas.
    const Rect& Visible(int node) const { return nodes_[static_cast<size_t>(node)].visible; }
    int Parent(int node) const { return nodes_[static_cast<size_t>(node)].parent; }
    size_t Size() const { return nodes_.size(); }

    // The windows under the point from the top-level window down to the innermost
    // control (the frontmost at each level); empty over no window.
    std::vector<int> ChainAt(Point p) const;

private:
    struct Node {
        Rect visible;
        Rect inner;  // where its children show
        int parent;
    };
    std::vector<Node> nodes_;
};

// How deep the pick is: 0 is the top-level window; each wheel notch towards the user
// steps one control inwards, away from the user one outwards. The depth is kept as the
// pointer moves and cut to the chain under it.
class PickDepth {
public:
    // The node of the chain at the current depth; kNone for an empty chain.
    int At(const std::vector<int>& chain) const;
    // notches > 0: inwards (the wheel turned towards the user).
    void Step(const std::vector<int>& chain, int notches);

private:
    int depth_ = 0;
};

}  // namespace vx
