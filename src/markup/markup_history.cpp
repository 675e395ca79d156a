#include "markup/markup_history.h"

#include <algorithm>
#include <utility>

namespace vx::markup {
History::History(int32_t width, int32_t height) {
    doc_.width = width;
    doc_.height = height;
    doc_.crop = {0, 0, width, height};
}

// A shape's own pixels, plus what it changes elsewhere: a step number renumbers the ones
// above it; a redaction changes the mosaic of the redactions whose edge it covers.
Rect History::Touched(const Shape& s, size_t index) const {
    Rect r = Bounds(s);
    if (s.kind == Kind::Step) {
        for (size_t i = index; i < doc_.shapes.size(); ++i)
            if (doc_.shapes[i].kind == Kind::Step) r = Union(r, Bounds(doc_.shapes[i]));
    } else if (s.kind == Kind::Redaction) {
        const Rect box = OutlineBox(s), ring{box.left - 1, box.top - 1, box.right + 1, box.bottom + 1};
        for (const Shape& o : doc_.shapes) {
            if (o.kind != Kind::Redaction) continue;
            const Rect b = OutlineBox(o);
            if (!Rect{b.left - 1, b.top - 1, b.right + 1, b.bottom + 1}.Intersect(ring).Empty()) r = Union(r, b);
        }
    }
    return r;
}

Rect History::Apply(const Step& s, bool forward) {
    auto& shapes = doc_.shapes;
    const auto at = shapes.begin() + std::ptrdiff_t(s.index);
    const bool inserting = (s.op == Op::Add) == forward;
    switch (s.op) {
    case Op::Add:
    case Op::Remove: {
        const Shape& shape = s.op == Op::Add ? s.after : s.before;
        if (inserting) {
            shapes.insert(at, shape);
            return Touched(shape, s.index);
        }
        const Rect before = Touched(shape, s.index);
        shapes.erase(at);
        return Union(before, Touched(shape, s.index));
    }
    case Op::Change: {
        const Rect old = Touched(*at, s.index);
        *at = forward ? s.after : s.before;
        return Union(old, Touched(*at, s.index));
    }
    case Op::Crop: doc_.crop = forward ? s.cropAfter : s.cropBefore; return {0, 0, doc_.width, doc_.height};
    }
    return {};
}

Rect History::Push(Step s) {
    steps_.resize(done_);  // a new step drops what was undone
    steps_.push_back(std::move(s));
    ++done_;
    return Apply(steps_.back(), true);
}

Rect History::Add(Shape s) {
    if (s.points.empty()) return {};
    return Push({Op::Add, doc_.shapes.size(), {}, std::move(s), {}, {}});
}

Rect History::Remove(size_t index) {
    if (index >= doc_.shapes.size()) return {};
    return Push({Op::Remove, index, doc_.shapes[index], {}, {}, {}});
}

Rect History::Change(size_t index, Shape after) {
    if (index >= doc_.shapes.size() || doc_.shapes[index] == after || after.points.empty()) return {};
    return Push({Op::Change, index, doc_.shapes[index], std::move(after), {}, {}});
}

Rect History::Crop(Rect keep) {
    const Rect next = doc_.crop.Intersect(keep.Normalized());
    if (next.Empty() || next == doc_.crop) return {};
    return Push({Op::Crop, 0, {}, {}, doc_.crop, next});
}

std::optional<Rect> History::Undo() {
    if (!CanUndo()) return std::nullopt;
    return Apply(steps_[--done_], false);
}

std::optional<Rect> History::Redo() {
    if (!CanRedo()) return std::nullopt;
    return Apply(steps_[done_++], true);
}

}  // namespace vx::markup
