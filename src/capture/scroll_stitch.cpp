#include "scroll_stitch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>

namespace vx {
namespace {

// Columns of the moving part are compared in this many bands, so that a caret or an
// animated spot spoils a few cells of a row, not the whole row.
constexpr int32_t kBands = 8;

bool SameRow(const Frame& a, const Frame& b, int32_t y, int32_t x0, int32_t x1) {
    return std::memcmp(a.Row(y) + x0, b.Row(y) + x0, static_cast<size_t>(x1 - x0) * sizeof(uint32_t)) == 0;
}

// The columns of [from, to) where row ya of a and row yb of b differ, from x0 to x1
// (inclusive); x0 == to when they do not.
struct Span {
    int32_t x0, x1;
};
Span Changed(const Frame& a, int32_t ya, const Frame& b, int32_t yb, int32_t from = 0, int32_t to = -1) {
    const uint32_t *ra = a.Row(ya), *rb = b.Row(yb);
    Span s{from, to < 0 ? a.width - 1 : to - 1};
    // Most rows compared are the same: one comparison of the whole span answers them.
    if (s.x0 <= s.x1 && std::memcmp(ra + s.x0, rb + s.x0, static_cast<size_t>(s.x1 - s.x0 + 1) * sizeof(uint32_t)) == 0)
        return {s.x1 + 1, s.x1};
    while (s.x0 <= s.x1 && ra[s.x0] == rb[s.x0]) ++s.x0;
    while (s.x1 > s.x0 && ra[s.x1] == rb[s.x1]) --s.x1;
    return s;
}
int32_t Narrow(int32_t width) { return std::max(12, width / 12); }

// A row whose changes, if any, lie in one narrow span: a caret, a clock's digits, a
// spinner. Rows of content that moved differ all over.
bool NearlySameRow(const Frame& a, const Frame& b, int32_t y) {
    const Span s = Changed(a, y, b, y);
    return s.x1 - s.x0 < Narrow(a.width);
}

// Rows at the top and at the bottom that stay (exactly, or but for a spot), up to `most`.
struct Edges {
    int32_t top = 0, bottom = 0;
};
Edges FixedEdges(const Frame& a, const Frame& b, bool loose, int32_t most) {
    auto fixed = [&](int32_t y) { return loose ? NearlySameRow(a, b, y) : SameRow(a, b, y, 0, a.width); };
    Edges e;
    while (e.top < most && fixed(e.top)) ++e.top;
    while (e.bottom < std::min(most, a.height - e.top) && fixed(a.height - 1 - e.bottom)) ++e.bottom;
    return e;
}

// Rows in [y0, y1) where column x differs, up to `enough`.
int32_t ColumnChanges(const Frame& a, const Frame& b, int32_t x, int32_t y0, int32_t y1, int32_t enough) {
    int32_t changed = 0;
    for (int32_t y = y0; y < y1 && changed <= enough; ++y) changed += a.Row(y)[x] != b.Row(y)[x];
    return changed;
}

// Whether column x of `after` shows what it showed in `before` `d` rows lower: it moves
// with the content (a column of equal sizes in a list), whatever else it does.
bool ColumnMoves(const Frame& before, const Frame& after, int32_t x, int32_t y0, int32_t y1, int32_t d) {
    const int32_t few = std::max(2, (y1 - y0 - d) / 16);
    int32_t changed = 0;
    for (int32_t y = y0; y + d < y1 && changed <= few; ++y) changed += after.Row(y)[x] != before.Row(y + d)[x];
    return changed <= few;
}

// Columns at the sides that stay between the rows [y0, y1). With `barColumns`, narrow
// side columns that changed in only a few rows count too (a scroll bar whose thumb moved).
void SideColumns(const Frame& a, const Frame& b, int32_t y0, int32_t y1, bool barColumns, int32_t& left, int32_t& right) {
    const int32_t w = a.width, few = barColumns ? std::max(2, (y1 - y0) / 4) : 0;
    const int32_t widest = barColumns ? std::max(8, w / 8) : w - 1;
    left = right = 0;
    while (left < widest && ColumnChanges(a, b, left, y0, y1, few) <= few) ++left;
    while (right < std::min(widest, w - 1 - left) && ColumnChanges(a, b, w - 1 - right, y0, y1, few) <= few) ++right;
}

// Nothing moved: only a few rows changed, each in one narrow span (a caret in the
// header, a clock in the status bar, a blinking cursor), however many spots there are,
// and whatever changed in the rows left out. Rows that changed only at the right edge
// (an overlay bar fading in or out) are not counted, however tall the bar.
bool Unmoved(const Frame& a, const Frame& b, RowBand ignore) {
    const int32_t few = std::max(8, a.height / 8);
    int32_t changed = 0;
    for (int32_t y = 0; y < a.height; ++y) {
        if (SameRow(a, b, y, 0, a.width) || (y >= ignore.from && y < ignore.to)) continue;
        const Span s = Changed(a, y, b, y);
        if (s.x1 - s.x0 >= Narrow(a.width)) return false;
        if (s.x0 < a.width - Narrow(a.width) && ++changed > few) return false;
    }
    return true;
}

// Statistics of the pixels of rows [y0, y1) and columns [x0, x1] of a frame, for telling
// which of two views of the same content has an overlay bar over it.
struct Look {
    int64_t continuous = 0;  // pixels of the first and last rows equal to the row beside them
    int64_t spread = 0;      // n times the sum of squares less the squared sum, over channels
};
Look LookAt(const Frame& f, int32_t y0, int32_t y1, int32_t x0, int32_t x1) {
    Look look;
    for (int32_t x = x0; x <= x1; ++x) {
        look.continuous += y0 > 0 && f.Row(y0)[x] == f.Row(y0 - 1)[x];
        look.continuous += y1 < f.height && f.Row(y1 - 1)[x] == f.Row(y1)[x];
    }
    const int64_t n = int64_t{y1 - y0} * (x1 - x0 + 1);
    for (int shift : {0, 8, 16}) {
        int64_t sum = 0, squares = 0;
        for (int32_t y = y0; y < y1; ++y)
            for (int32_t x = x0; x <= x1; ++x) {
                const int64_t v = f.Row(y)[x] >> shift & 0xFF;
                sum += v, squares += v * v;
            }
        look.spread += n * squares - sum * sum;
    }
    return look;
}

// Whether the first view is the one with the bar over it: a bar breaks the content
// where it begins and ends, and a bar of one colour, however translucent, evens out
// what it covers (blended with a share a of one colour, the spread shrinks by (1-a)^2).
bool FirstCovered(const Look& a, const Look& b) {
    if (a.continuous != b.continuous) return a.continuous < b.continuous;
    return a.spread * 5 < b.spread * 4;
}

// One hash per row and band, the bands over the columns between the side columns.
std::vector<uint64_t> CellHashes(const Frame& f, int32_t left, int32_t right, int32_t bands) {
    const int32_t x1 = f.width - right;
    std::vector<uint64_t> cells(static_cast<size_t>(f.height) * bands);
    for (int32_t y = 0; y < f.height; ++y) {
        const uint32_t* row = f.Row(y);
        for (int32_t b = 0; b < bands; ++b) {
            // Four chains side by side, so that the multiplications do not wait for each
            // other; joined in order, a change in any one chain changes the cell's hash.
            constexpr uint64_t kPrime = 1099511628211ull;
            uint64_t h[4] = {1469598103934665603ull, 1, 2, 3};
            int32_t x = left + (x1 - left) * b / bands;
            const int32_t end = left + (x1 - left) * (b + 1) / bands;
            const auto pair = [row](int32_t at) { return row[at] | uint64_t{row[at + 1]} << 32; };
            for (; x + 7 < end; x += 8)
                for (int k = 0; k < 4; ++k) h[k] = (h[k] ^ pair(x + 2 * k)) * kPrime;
            for (; x < end; ++x) h[0] = (h[0] ^ row[x]) * kPrime;
            cells[static_cast<size_t>(y) * bands + b] = ((h[0] * kPrime ^ h[1]) * kPrime ^ h[2]) * kPrime ^ h[3];
        }
    }
    return cells;
}

int32_t MinOverlap(int32_t rows) { return std::max(4, rows / 4); }

// Rows compared at distance d: those of the overlap that neither frame leaves out
// (`skip` marks them, `skipped` lists them).
int64_t Overlap(const std::vector<int32_t>& skipped, const std::vector<char>& skip, int32_t rows, int32_t d) {
    int64_t overlap = rows - d;
    for (int32_t y : skipped) overlap -= (y < rows - d) + (y >= d && !skip[y - d]);
    return overlap;
}

// The shift search on cell hashes of `rows` rows; rows marked in `skip` are left out.
// Returns 0 when nothing fits.
int32_t MatchCells(const uint64_t* was, const uint64_t* now, int32_t rows, int32_t bands, int32_t expected,
                   const std::vector<char>& skip, const std::vector<int32_t>& skipped) {
    const int32_t minOverlap = MinOverlap(rows);
    int32_t best = 0;
    int64_t bestMisses = 0, bestRows = 1;
    for (int32_t d = 1; d <= rows - minOverlap; ++d) {
        // Row y of `now` shows what row y + d of `was` showed.
        const int64_t overlap = Overlap(skipped, skip, rows, d);
        if (overlap < minOverlap) continue;
        const int64_t allowed = 2 + overlap * bands / 25;
        int64_t misses = 0;
        for (int32_t y = 0; y < rows - d && misses <= allowed; ++y) {
            if (skip[y] || skip[y + d]) continue;
            const uint64_t *n = now + int64_t{y} * bands, *w = was + int64_t{y + d} * bands;
            for (int32_t b = 0; b < bands; ++b) misses += n[b] != w[b];
        }
        if (misses > allowed) continue;
        // The lower share of changed cells wins; equal shares go to the expected distance.
        const int64_t lhs = misses * bestRows, rhs = bestMisses * overlap;
        const bool nearer = expected > 0 && std::abs(d - expected) < std::abs(best - expected);
        if (best == 0 || lhs < rhs || (lhs == rhs && nearer)) {
            best = d;
            bestMisses = misses;
            bestRows = overlap;
        }
    }
    return best;
}

// Whether the moving rows [top, top + rows) of `now`, between the columns x0 and x1,
// show exactly what those of `was` showed d rows lower (rows left out aside). Then no
// distance fits better than d: it has no changed cell, and ties go to the expected one.
bool MovedExactly(const Frame& was, const Frame& now, int32_t top, int32_t rows, int32_t x0, int32_t x1, int32_t d,
                  const std::vector<char>& skip, const std::vector<int32_t>& skipped) {
    if (d < 1 || d > rows - MinOverlap(rows) || Overlap(skipped, skip, rows, d) < MinOverlap(rows)) return false;
    for (int32_t y = 0; y < rows - d; ++y)
        if (!skip[y] && !skip[y + d] &&
            std::memcmp(now.Row(top + y) + x0, was.Row(top + y + d) + x0, static_cast<size_t>(x1 - x0) * sizeof(uint32_t)) != 0)
            return false;
    return true;
}

// Rows [from, to) of `last` were seen again in `next`, `d` rows higher (where that is
// within next's rows [top, bottom)). Where a run of them differs, between the side
// columns `left` and `x1`, only from column x0 on (an overlay bar over the content's
// edge in one view), the view without the bar goes into `last`. Whether it changed.
bool Uncover(Frame& last, const Frame& next, int32_t d, int32_t from, int32_t to, int32_t top, int32_t bottom,
             int32_t left, int32_t x0, int32_t x1) {
    bool changed = false;
    int32_t y0 = -1;
    Span run{x1, x0};
    for (int32_t y = std::max(from, top + d), end = std::min(to, bottom + d); y <= end; ++y) {
        const Span s = y < end ? Changed(last, y, next, y - d, left, x1) : Span{x1, 0};
        const bool inside = s.x0 < x1 && s.x0 >= x0;
        if (inside) {
            if (y0 < 0) y0 = y;
            run = {std::min(run.x0, s.x0), std::max(run.x1, s.x1)};
            continue;
        }
        if (y0 >= 0 && FirstCovered(LookAt(last, y0, y, run.x0, run.x1), LookAt(next, y0 - d, y - d, run.x0, run.x1))) {
            for (int32_t r = y0; r < y; ++r)
                std::memcpy(last.pixels.data() + static_cast<size_t>(r) * last.width + run.x0, next.Row(r - d) + run.x0,
                            static_cast<size_t>(run.x1 - run.x0 + 1) * sizeof(uint32_t));
            changed = true;
        }
        y0 = -1, run = {x1, x0};
    }
    return changed;
}

}  // namespace

bool SameFrame(const Frame& a, const Frame& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

bool NearlySameFrame(const Frame& a, const Frame& b) {
    return a.width == b.width && a.height == b.height && Unmoved(a, b, {});
}

namespace {

struct HeapStripMemory final : StripMemory {
    uint32_t* Take(size_t pixels) override { return new (std::nothrow) uint32_t[pixels]; }
    void Give(uint32_t* strip, size_t) override { delete[] strip; }
};

}  // namespace

StripMemory& HeapStrips() {
    static HeapStripMemory heap;
    return heap;
}

ScrollStitcher::ScrollStitcher(Frame first, uint64_t maxPixels, uint64_t maxSide, StripMemory& memory)
    : last_(std::move(first)), movingRows_(last_.height), maxPixels_(maxPixels), maxSide_(maxSide), memory_(memory) {}

ScrollStitcher::~ScrollStitcher() {
    for (const Strip& s : strips_) memory_.Give(s.pixels, s.count);
}

void ScrollStitcher::Keep(const Frame& frame, int32_t from, int32_t to) {
    if (to <= from) return;
    const size_t count = static_cast<size_t>(to - from) * static_cast<size_t>(frame.width);
    if (strips_.size() == strips_.capacity()) strips_.reserve(strips_.size() * 2 + 16);
    uint32_t* pixels = memory_.Take(count);
    if (!pixels) throw std::bad_alloc();
    std::memcpy(pixels, frame.Row(from), count * sizeof(uint32_t));
    strips_.push_back({pixels, count});
    reached_ += to - from;
}

uint32_t* ScrollStitcher::KeptRow(int64_t row) {
    const size_t w = static_cast<size_t>(last_.width);
    int64_t end = reached_;
    for (auto s = strips_.rbegin(); s != strips_.rend(); ++s) {
        const int64_t rows = static_cast<int64_t>(s->count / w);
        if (row >= end - rows) return s->pixels + static_cast<size_t>(row - (end - rows)) * w;
        end -= rows;
    }
    return nullptr;
}

uint32_t* ScrollStitcher::Kept(int32_t y) {
    return lastOffset_ + y < reached_ ? KeptRow(lastOffset_ + y) : last_.pixels.data() + static_cast<size_t>(y) * last_.width;
}

bool ScrollStitcher::AsKept(const Frame& frame, int32_t from, int32_t to, RowBand same, int32_t x0, int32_t x1) {
    const size_t w = static_cast<size_t>(frame.width), left = static_cast<size_t>(x0), right = w - static_cast<size_t>(x1);
    for (int32_t y = from; y < to; ++y) {
        const uint32_t *k = Kept(y), *f = frame.Row(y);
        const bool differs = y >= same.from && y < same.to
                                 ? std::memcmp(k, f, left * sizeof(uint32_t)) != 0 || std::memcmp(k + x1, f + x1, right * sizeof(uint32_t)) != 0
                                 : std::memcmp(k, f, w * sizeof(uint32_t)) != 0;
        if (differs) return false;
    }
    return true;
}

// Rows [from, to) of `frame`, which shows the picture from the last frame's place on,
// against those rows as kept (or to be kept from the last frame): where they had an
// overlay bar that this frame shows them without, this frame's pixels go in. Two frames
// in a row may show the bar over the same rows after a short step; a later one does not.
bool ScrollStitcher::Recheck(const Frame& frame, int32_t from, int32_t to) {
    const int32_t w = frame.width, right = std::max(0, sideRight_);
    // Mostly the frame shows every such row as kept: nothing to look at.
    if (from >= to || AsKept(frame, from, to)) return false;
    seen_.width = w, seen_.height = frame.height;
    seen_.pixels.resize(frame.pixels.size());
    for (int32_t y = std::max(0, from - 1); y < std::min(frame.height, to + 1); ++y)
        std::memcpy(seen_.pixels.data() + static_cast<size_t>(y) * w, y >= from && y < to ? Kept(y) : last_.Row(y), w * sizeof(uint32_t));
    if (!Uncover(seen_, frame, 0, from, to, 0, frame.height, std::max(0, sideLeft_), w - right - Narrow(w), w - right)) return false;
    for (int32_t y = from; y < to; ++y) std::memcpy(Kept(y), seen_.Row(y), w * sizeof(uint32_t));
    return overlaySeen_ = true;
}

ScrollStitcher::Shift ScrollStitcher::Match(const Frame& next, const Parts& fixed, int32_t expected, RowBand ignore) {
    const int32_t right = fixed.right + fixed.overlay;
    const int32_t rows = next.height - fixed.top - fixed.bottom, bands = std::min(kBands, next.width - fixed.left - right);
    if (bands <= 0 || rows <= MinOverlap(rows)) return {};
    std::vector<char> skip(static_cast<size_t>(rows));
    std::vector<int32_t> skipped;
    for (int32_t y = std::max(ignore.from, fixed.top); y < std::min(ignore.to, fixed.top + rows); ++y)
        skip[y - fixed.top] = 1, skipped.push_back(y - fixed.top);
    // Mostly the content moved by just the rows the bar said: the hashes can wait until
    // a step needs them.
    if (MovedExactly(last_, next, fixed.top, rows, fixed.left, next.width - right, expected, skip, skipped)) {
        cellsLeft_ = -1;
        return {true, expected, fixed.overlay == 0 && skipped.empty()};
    }
    // The last frame's hashes are kept from its own step when the columns agree.
    if (cellsLeft_ != fixed.left || cellsRight_ != right) lastCells_ = CellHashes(last_, fixed.left, right, bands);
    cellsLeft_ = fixed.left;
    cellsRight_ = right;
    std::vector<uint64_t> cells = CellHashes(next, fixed.left, right, bands);
    const size_t first = static_cast<size_t>(fixed.top) * bands;
    const int32_t d = MatchCells(lastCells_.data() + first, cells.data() + first, rows, bands, expected, skip, skipped);
    if (d > 0) lastCells_.swap(cells);
    return {d > 0, d};
}

// Tries the fixed parts from the most likely to the least: the rows that stayed exactly;
// those with the header and footer the last step found, where they changed only in a
// spot; every row that changed only in a spot (up to a quarter at each end); and the
// top quarter left out, for a header that changed its height once. Each with the side
// columns that stayed, then with a bar's thumb moving in them; then all once more with
// the content's right edge left out (an overlay bar drawn over it in one frame only).
ScrollStitcher::Shift ScrollStitcher::Place(const Frame& next, Parts& fixed, int32_t expected, RowBand ignore) {
    const int32_t h = next.height;
    const Edges exact = FixedEdges(last_, next, false, h);
    Edges loose = FixedEdges(last_, next, true, h / 4);
    loose.top = std::max(loose.top, std::min(exact.top, h / 4));
    loose.bottom = std::max(loose.bottom, std::min(exact.bottom, h / 4));
    Edges known = exact;
    if (steps_ > 0) {
        const Edges spots = FixedEdges(last_, next, true, std::max(lastTop_, lastBottom_));
        if (spots.top >= lastTop_) known.top = std::max(known.top, lastTop_);
        if (spots.bottom >= lastBottom_) known.bottom = std::max(known.bottom, lastBottom_);
    }
    // The right edge is left out only once nothing else fits, and then with the parts
    // the last step found first: a footer with a clock, left out of the exact edges,
    // would otherwise fit as content after a short step.
    const Edges quarter{std::max(loose.top, h / 4), loose.bottom};
    const Edges tries[] = {exact, known, loose, quarter, known, exact, loose, quarter};
    for (size_t i = 0; i < std::size(tries); ++i) {
        const Edges& e = tries[i];
        const bool overlay = i >= std::size(tries) / 2;
        bool again = false;
        for (size_t j = overlay ? std::size(tries) / 2 : 0; j < i; ++j) again |= tries[j].top == e.top && tries[j].bottom == e.bottom;
        if (again || e.top + e.bottom >= h) continue;
        for (bool bar : {false, true}) {
            if (overlay && bar) continue;
            Parts p{e.top, e.bottom, 0, 0};
            SideColumns(last_, next, e.top, h - e.bottom, bar, p.left, p.right);
            if (bar && p.left == 0 && p.right == 0) continue;
            if (overlay) p.overlay = Narrow(next.width);
            const Shift shift = Match(next, p, expected, ignore);
            if (shift.moved) {
                fixed = p;
                return shift;
            }
        }
    }
    return {};
}

ScrollStitcher::Step ScrollStitcher::Add(Frame& next, int32_t expected, bool surelyMoved, RowBand ignore) {
    if (next.width != last_.width || next.height != last_.height) return Step::Unmatched;
    const int32_t w = next.width;
    if (!surelyMoved && Unmoved(last_, next, ignore)) {
        // The same content again, perhaps without an overlay bar the last frame had.
        if (Recheck(next, steps_ > 0 ? lastTop_ : 0, last_.height - lastBottom_)) cellsLeft_ = -1, asKept_ = {};
        return Step::Unmoved;
    }
    Parts fixed;
    Shift shift;
    if (SameFrame(last_, next)) {
        // The two frames look alike (one colour fills the area) but the bar moved: it
        // says how far. The footer and the moving part stay what the last step found.
        if (expected <= 0 || expected >= movingRows_) return Step::Unmatched;
        shift = {true, expected};
        fixed = {lastTop_, lastBottom_, std::max(0, sideLeft_), std::max(0, sideRight_)};
        cellsLeft_ = -1;
    } else if (!(shift = Place(next, fixed, expected, ignore)).moved) {
        return Step::Unmatched;
    }
    const int32_t rows = next.height - fixed.top - fixed.bottom;
    const uint64_t height = static_cast<uint64_t>(lastOffset_ + shift.distance + next.height);
    if (height > maxSide_ || height * static_cast<uint64_t>(next.width) > maxPixels_) {
        cellsLeft_ = -1;  // the hashes kept are the refused frame's
        return Step::TooLarge;
    }
    // A column that stayed is a side column only where it does not move with the content
    // too (a column of equal sizes in a list looks the same after a step of whole rows).
    const int32_t y0 = fixed.top, y1 = next.height - fixed.bottom;
    const Parts matched = fixed;
    while (fixed.left > 0 && ColumnMoves(last_, next, fixed.left - 1, y0, y1, shift.distance)) --fixed.left;
    while (fixed.right > 0 && ColumnMoves(last_, next, w - fixed.right, y0, y1, shift.distance)) --fixed.right;

    // The last frame's rows down to this step's footer are content now, without an
    // overlay bar where this frame shows them without it (all its rows are looked at:
    // the parts found may leave out content, and a fixed part never differs only there),
    // unless the match compared all of them equal already.
    const int32_t from = static_cast<int32_t>(reached_ - lastOffset_), to = last_.height - fixed.bottom;
    const bool compared = shift.exact && from >= fixed.top + shift.distance && fixed.left == matched.left && fixed.right == matched.right;
    if (!compared) overlaySeen_ |= Uncover(last_, next, shift.distance, from, to, 0, next.height, fixed.left, w - fixed.right - Narrow(w), w - fixed.right);
    Keep(last_, from, to);
    if (steps_ == 0) firstRows_ = static_cast<int32_t>(reached_);
    sideLeft_ = sideLeft_ < 0 ? fixed.left : std::min(sideLeft_, fixed.left);
    sideRight_ = sideRight_ < 0 ? fixed.right : std::min(sideRight_, fixed.right);
    lastOffset_ += shift.distance;
    lastTop_ = fixed.top;
    lastBottom_ = fixed.bottom;
    lastDistance_ = shift.distance;
    movingRows_ = rows;
    // Between the columns the match compared, this frame shows as kept the rows kept from
    // the last frame now, and those the last look found as kept where the last frame did.
    RowBand same{};
    if (compared) {
        const bool looked = asKept_.from < asKept_.to && asKept_.from <= fixed.top + shift.distance && asKept_.to >= from;
        same = {looked ? fixed.top : from - shift.distance, to - shift.distance};
    }
    std::swap(last_, next);
    ++steps_;
    const int32_t end = static_cast<int32_t>(std::min<int64_t>(last_.height - lastBottom_, reached_ - lastOffset_));
    asKept_ = {};
    if (AsKept(last_, lastTop_, end, same, fixed.left, w - fixed.right)) asKept_ = {lastTop_, end};
    else Recheck(last_, lastTop_, end);
    return Step::Appended;
}

int32_t ScrollStitcher::FinalHeight(bool withFooter) const {
    const int64_t end = lastOffset_ + last_.height - (withFooter || steps_ == 0 ? 0 : lastBottom_);
    return static_cast<int32_t>(std::max(reached_, end));
}

void ScrollStitcher::Join(uint32_t* out, bool withFooter) {
    seen_ = Frame{};
    const int32_t from = static_cast<int32_t>(reached_ - lastOffset_);
    const int32_t footer = withFooter || steps_ == 0 ? 0 : lastBottom_;
    Keep(last_, from, last_.height - lastBottom_);
    const int64_t contentEnd = steps_ == 0 ? 0 : reached_;
    Keep(last_, std::max(from, last_.height - lastBottom_), last_.height - footer);

    const size_t w = static_cast<size_t>(last_.width);
    const uint32_t* edge = firstRows_ > 0 ? strips_.front().pixels + (firstRows_ - 1) * w : nullptr;
    int64_t row = 0;
    for (size_t s = 0; s < strips_.size(); ++s) {
        const Strip& strip = strips_[s];
        for (size_t i = 0, n = strip.count / w; i < n; ++i, ++row) {
            uint32_t* to = out + static_cast<size_t>(row) * w;
            std::memcpy(to, strip.pixels + i * w, w * sizeof(uint32_t));
            // Side columns that never moved appear once, beside the first frame; below
            // it they carry on in the colour of their last row there.
            if (edge && row >= firstRows_ && row < contentEnd) {
                for (int32_t x = 0; x < sideLeft_; ++x) to[x] = edge[x];
                for (size_t x = w - static_cast<size_t>(sideRight_); x < w; ++x) to[x] = edge[x];
            }
        }
        if (s == 0) continue;  // the edge row lives in it
        memory_.Give(strip.pixels, strip.count);
        strips_[s] = {nullptr, 0};
    }
    if (!strips_.empty()) memory_.Give(strips_.front().pixels, strips_.front().count);
    strips_.clear();
}

}  // namespace vx
