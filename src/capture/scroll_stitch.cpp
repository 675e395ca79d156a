#include "scroll_stitch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vx {
namespace {

// Columns of the moving part are compared in this many bands, so that a caret or an
// animated spot spoils a few cells of a row, not the whole row.
constexpr int32_t kBands = 8;

bool SameRow(const Frame& a, const Frame& b, int32_t y, int32_t x0, int32_t x1) {
    return std::memcmp(a.Row(y) + x0, b.Row(y) + x0, static_cast<size_t>(x1 - x0) * sizeof(uint32_t)) == 0;
}

// Rows in [y0, y1) where column x differs, up to `enough`.
int32_t ColumnChanges(const Frame& a, const Frame& b, int32_t x, int32_t y0, int32_t y1, int32_t enough) {
    int32_t changed = 0;
    for (int32_t y = y0; y < y1 && changed <= enough; ++y) changed += a.Row(y)[x] != b.Row(y)[x];
    return changed;
}

// One hash per row and band, the bands over the columns between the side columns.
std::vector<uint64_t> CellHashes(const Frame& f, int32_t left, int32_t right, int32_t bands) {
    const int32_t x1 = f.width - right;
    std::vector<uint64_t> cells(static_cast<size_t>(f.height) * bands);
    for (int32_t y = 0; y < f.height; ++y) {
        const uint32_t* row = f.Row(y);
        for (int32_t b = 0; b < bands; ++b) {
            uint64_t h = 1469598103934665603ull;
            int32_t x = left + (x1 - left) * b / bands;
            const int32_t end = left + (x1 - left) * (b + 1) / bands;
            for (; x + 1 < end; x += 2) h = (h ^ (row[x] | uint64_t{row[x + 1]} << 32)) * 1099511628211ull;
            if (x < end) h = (h ^ row[x]) * 1099511628211ull;
            cells[static_cast<size_t>(y) * bands + b] = h;
        }
    }
    return cells;
}

// True when every changed pixel lies in one small box: a caret, not a scroll.
bool OnlyASpotChanged(const Frame& a, const Frame& b) {
    const int32_t w = a.width, h = a.height, tall = std::max(8, h / 8), wide = std::max(8, w / 16);
    int32_t y0 = 0, y1 = h - 1;
    while (y0 < h && SameRow(a, b, y0, 0, w)) ++y0;
    if (y0 == h) return true;
    while (SameRow(a, b, y1, 0, w)) --y1;
    if (y1 - y0 >= tall) return false;
    int32_t x0 = w, x1 = -1;
    for (int32_t y = y0; y <= y1; ++y) {
        const uint32_t *ra = a.Row(y), *rb = b.Row(y);
        for (int32_t x = 0; x < w; ++x)
            if (ra[x] != rb[x]) x0 = std::min(x0, x), x1 = std::max(x1, x);
    }
    return x1 - x0 < wide;
}

// The shift search on cell hashes of the rows [top, top + rows).
Shift MatchCells(const uint64_t* was, const uint64_t* now, int32_t rows, int32_t bands, int32_t expected) {
    const int32_t minOverlap = std::max(4, rows / 4);
    Shift best;
    int64_t bestMisses = 0, bestRows = 1;
    for (int32_t d = 1; d <= rows - minOverlap; ++d) {
        // Row y of `now` shows what row y + d of `was` showed.
        const int64_t overlap = rows - d;
        const int64_t allowed = 2 + overlap * bands / 25;
        int64_t misses = 0;
        for (int64_t i = 0, n = overlap * bands; i < n && misses <= allowed; ++i) misses += now[i] != was[i + int64_t{d} * bands];
        if (misses > allowed) continue;
        // The lower share of changed cells wins; equal shares go to the expected distance.
        const int64_t lhs = misses * bestRows, rhs = bestMisses * overlap;
        const bool nearer = expected > 0 && std::abs(d - expected) < std::abs(best.distance - expected);
        if (best.kind != Shift::Moved || lhs < rhs || (lhs == rhs && nearer)) {
            best = {Shift::Moved, d};
            bestMisses = misses;
            bestRows = overlap;
        }
    }
    return best;
}

int32_t BandsOf(const Frame& f, const FixedParts& p) { return std::min(kBands, f.width - p.left - p.right); }

}  // namespace

bool SameFrame(const Frame& a, const Frame& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

FixedParts FindFixedParts(const Frame& before, const Frame& after, bool barColumns) {
    FixedParts p;
    const int32_t w = before.width, h = before.height;
    while (p.top < h && SameRow(before, after, p.top, 0, w)) ++p.top;
    while (p.bottom < h - p.top && SameRow(before, after, h - 1 - p.bottom, 0, w)) ++p.bottom;
    if (p.top == h) return p;
    // A bar's thumb changes a few rows of its columns; content changes most of them.
    const int32_t y0 = p.top, y1 = h - p.bottom, few = barColumns ? std::max(2, (y1 - y0) / 4) : 0;
    const int32_t widest = barColumns ? std::max(8, w / 8) : w - 1;
    while (p.left < widest && ColumnChanges(before, after, p.left, y0, y1, few) <= few) ++p.left;
    while (p.right < std::min(widest, w - 1 - p.left) && ColumnChanges(before, after, w - 1 - p.right, y0, y1, few) <= few) ++p.right;
    return p;
}

Shift FindShift(const Frame& before, const Frame& after, const FixedParts& fixed, int32_t expected, bool surelyMoved) {
    const int32_t rows = before.height - fixed.top - fixed.bottom, bands = BandsOf(before, fixed);
    if (!surelyMoved && (rows <= 0 || OnlyASpotChanged(before, after))) return {Shift::Unmoved, 0};
    if (bands <= 0 || rows <= std::max(4, rows / 4)) return {};
    const std::vector<uint64_t> was = CellHashes(before, fixed.left, fixed.right, bands);
    const std::vector<uint64_t> now = CellHashes(after, fixed.left, fixed.right, bands);
    const size_t first = static_cast<size_t>(fixed.top) * bands;
    return MatchCells(was.data() + first, now.data() + first, rows, bands, expected);
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

Shift ScrollStitcher::Match(const Frame& next, const FixedParts& fixed, int32_t expected) {
    const int32_t rows = next.height - fixed.top - fixed.bottom, bands = BandsOf(next, fixed);
    if (bands <= 0 || rows <= std::max(4, rows / 4)) return {};
    // The last frame's hashes are kept from its own step when the columns agree.
    if (cellsLeft_ != fixed.left || cellsRight_ != fixed.right) lastCells_ = CellHashes(last_, fixed.left, fixed.right, bands);
    std::vector<uint64_t> cells = CellHashes(next, fixed.left, fixed.right, bands);
    const size_t first = static_cast<size_t>(fixed.top) * bands;
    const Shift shift = MatchCells(lastCells_.data() + first, cells.data() + first, rows, bands, expected);
    cellsLeft_ = fixed.left;
    cellsRight_ = fixed.right;
    if (shift.kind == Shift::Moved) lastCells_.swap(cells);
    return shift;
}

ScrollStitcher::Step ScrollStitcher::Add(Frame& next, int32_t expected, bool surelyMoved) {
    if (next.width != last_.width || next.height != last_.height) return Step::Unmatched;
    FixedParts fixed = FindFixedParts(last_, next);
    int32_t rows = next.height - fixed.top - fixed.bottom;
    Shift shift;
    if (!surelyMoved && (rows <= 0 || OnlyASpotChanged(last_, next))) {
        shift.kind = Shift::Unmoved;
    } else if (rows <= 0 && expected > 0 && expected < movingRows_) {
        // The two frames look alike (one colour fills the area) but the bar moved: it
        // says how far. The footer and the moving part stay what the last step found.
        shift = {Shift::Moved, expected};
        fixed = {0, lastBottom_, std::max(0, sideLeft_), std::max(0, sideRight_)};
        rows = movingRows_;
        cellsLeft_ = -1;
    } else if ((shift = Match(next, fixed, expected)).kind == Shift::Unmatched) {
        // A scroll bar inside a dragged area: its thumb moves, but not with the content.
        const FixedParts bar = FindFixedParts(last_, next, true);
        if (bar.left != fixed.left || bar.right != fixed.right) shift = Match(next, fixed = bar, expected);
    }
    if (shift.kind == Shift::Unmoved) return Step::Unmoved;
    if (shift.kind == Shift::Unmatched) return Step::Unmatched;
    const uint64_t height = static_cast<uint64_t>(lastOffset_ + shift.distance + next.height);
    if (height > maxSide_ || height * static_cast<uint64_t>(next.width) > maxPixels_) {
        cellsLeft_ = -1;  // the hashes kept are the refused frame's
        return Step::TooLarge;
    }

    // The last frame's rows down to this step's footer are content now.
    Keep(last_, static_cast<int32_t>(reached_ - lastOffset_), last_.height - fixed.bottom);
    if (steps_ == 0) firstRows_ = static_cast<int32_t>(reached_);
    sideLeft_ = sideLeft_ < 0 ? fixed.left : std::min(sideLeft_, fixed.left);
    sideRight_ = sideRight_ < 0 ? fixed.right : std::min(sideRight_, fixed.right);
    lastOffset_ += shift.distance;
    lastBottom_ = fixed.bottom;
    lastDistance_ = shift.distance;
    movingRows_ = rows;
    std::swap(last_, next);
    ++steps_;
    return Step::Appended;
}

int32_t ScrollStitcher::FinalHeight(bool withFooter) const {
    const int64_t end = lastOffset_ + last_.height - (withFooter || steps_ == 0 ? 0 : lastBottom_);
    return static_cast<int32_t>(std::max(reached_, end));
}

void ScrollStitcher::Join(uint32_t* out, bool withFooter) {
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
