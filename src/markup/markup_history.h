#pragma once
// The markup document and its history: every change is a step that undoes itself, without
// a limit, a crop included. Each change returns the picture rectangle it touched, so only
// that is repainted. Portable: no <windows.h>.
#include <cstddef>
#include <optional>
#include <vector>

#include "markup/markup_shapes.h"

namespace vx::markup {

class History {
public:
    History(int32_t width, int32_t height);

    const Document& Current() const { return doc_; }
    // Anything drawn that has not been undone.
    bool Drawn() const { return done_ > 0; }
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }

    // Each returns what to repaint (empty when nothing changed, and then no step is kept).
    Rect Add(Shape s);
    Rect Remove(size_t index);
    Rect Change(size_t index, Shape after);
    // Keeps `keep` of what is kept so far; an empty result changes nothing.
    Rect Crop(Rect keep);
    std::optional<Rect> Undo();
    std::optional<Rect> Redo();

private:
    enum class Op { Add, Remove, Change, Crop };
    struct Step {
        Op op;
        size_t index;
        Shape before, after;
        Rect cropBefore, cropAfter;
    };
    Rect Push(Step s);
    Rect Apply(const Step& s, bool forward);
    Rect Touched(const Shape& s, size_t index) const;

    Document doc_;
    std::vector<Step> steps_;
    size_t done_ = 0;
};

}  // namespace vx::markup
