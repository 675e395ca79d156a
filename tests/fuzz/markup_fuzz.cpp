// Random sequences of markup steps: never a crash, undoing everything gives the starting
// document, redoing as many steps the last one, and the redactions hide what is under them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "markup/markup_history.h"
#include "markup/redaction.h"

using namespace vx::markup;

namespace {

struct Reader {
    const uint8_t* p;
    size_t n;
    uint8_t Byte() { return n ? (--n, *p++) : 0; }
    int32_t Coord() { return int32_t(Byte() % 96) - 24; }  // a little past every edge of the picture
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr int32_t W = 48, H = 40;
    Reader in{data, size};
    History h(W, H);
    const Document start = h.Current();
    while (in.n) {
        const uint8_t op = in.Byte();
        const size_t count = h.Current().shapes.size(), index = count ? in.Byte() % count : 0;
        switch (op % 8) {
        case 0:
        case 1: {
            Shape s;
            s.kind = Kind(in.Byte() % 9);
            s.style = RedactStyle(in.Byte() % 2);
            s.size = in.Byte() % 40;
            for (int i = 0, k = 1 + in.Byte() % 4; i < k; ++i) s.points.push_back({in.Coord(), in.Coord()});
            h.Add(s);
            break;
        }
        case 2: if (count) h.Change(index, Moved(h.Current().shapes[index], in.Coord(), in.Coord())); break;
        case 3: {
            if (!count) break;
            const Shape& s = h.Current().shapes[index];
            Shape r = Resized(s, in.Byte() % 9, {in.Coord(), in.Coord()});
            // A resized stroke keeps every point; a text its size in bounds.
            if ((s.kind == Kind::Pen || s.kind == Kind::Highlighter) && r.points.size() != s.points.size()) std::abort();
            if (s.kind == Kind::Text && r != s && (r.size < kMinTextSize || r.size > kMaxTextSize)) std::abort();
            h.Change(index, std::move(r));
            break;
        }
        case 4: {
            if (!count) break;
            Shape s = h.Current().shapes[index];
            s.text.push_back(char16_t(in.Byte() | in.Byte() << 8));
            h.Change(index, s);
            break;
        }
        case 5: if (count) h.Remove(index); break;
        case 6: h.Crop({in.Coord(), in.Coord(), in.Coord(), in.Coord()}); break;
        case 7: (in.Byte() & 1) ? (void)h.Undo() : (void)h.Redo(); break;
        }
        HitTest(h.Current(), {in.Coord(), in.Coord()}, 2);
    }
    const Document end = h.Current();
    // Two pictures that differ only under the boxes and outside the kept part.
    const std::vector<Redaction> boxes = RedactionsOf(end);
    std::vector<uint32_t> a(W * H), b(W * H);
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x) {
            bool hidden = !end.crop.Contains({x, y});
            for (const Redaction& r : boxes) hidden |= r.box.Contains({x, y});
            const size_t i = size_t(y * W + x);
            a[i] = uint32_t(i * 2654435761u);
            b[i] = hidden ? ~a[i] : a[i];
        }
    Pixels pa{a.data(), W, H, W}, pb{b.data(), W, H, W};
    PaintRedactions(pa, pa, boxes, end.crop, {0, 0, W, H});
    PaintRedactions(pb, pb, boxes, end.crop, {0, 0, W, H});
    for (int32_t y = end.crop.top; y < end.crop.bottom; ++y)
        for (int32_t x = end.crop.left; x < end.crop.right; ++x)
            if (a[size_t(y * W + x)] != b[size_t(y * W + x)]) std::abort();

    size_t undone = 0;
    while (h.Undo()) ++undone;
    if (!(h.Current() == start)) std::abort();
    while (undone--) h.Redo();
    if (!(h.Current() == end)) std::abort();
    return 0;
}
