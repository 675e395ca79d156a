#pragma once
// Drawing the markup's objects with GDI+ (anti-aliased; GDI+ is delay-loaded and starts
// with the first session), and the picture they make when applied.
#include <string>

#include "../platform/unique_handle.h"
#include "markup_shapes.h"

namespace vx::markup {

// GDI+ for as long as it lives.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool Ok() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

// The font of a text or a step number `pixels` high (the interface's face, anti-aliased).
UniqueFont TextFont(int pixels);
// The box a text takes when drawn from `at` (its last pixel inclusive, as shapes keep it).
Shape MeasuredText(Shape text, Point at);

// Draws the shapes that are not redactions onto `dc`, where picture pixel p lands at
// p + offset; `only` limits them to those meeting that rectangle of picture pixels.
// `replace` (an index, or -1) is drawn as `preview` instead; a preview with no index is
// drawn on top.
struct Preview {
    int32_t index = -1;
    const Shape* shape = nullptr;
};
void DrawShapes(HDC dc, const Document& doc, Point offset, Rect only, Preview preview = {});

// Draws every object into the picture, anti-aliased, redactions first: the hidden pixels
// of the redactions are gone from the result. With `inPlace`, no crop and a 32-bit picture,
// into `picture`'s own pixels (nothing new is returned); otherwise into a new bitmap of the
// kept part, returned, and `picture` stays as it was. `failed` when memory ran out (nothing drawn).
UniqueBitmap ApplyToBitmap(HBITMAP picture, const Document& doc, bool inPlace, bool* failed);

}  // namespace vx::markup
