#include "scroll_stitch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vx {
namespace {

// Columns of the moving part are compared in this many bands, so that a caret or an
// animated spot spoils a few cells of a row, not the whole row.
constexpr int32_t kBands = 8;

bool SameRow(const Frame& a, const Frame& b, int32_t y, int32_t x0, int32_t x1) {
    return std::memcmp(a.Row(y) + x0, b.Row(y) + x0, static_cast<size_t>(x1 - x0) * sizeof(uint32_t)) == 0;
}

bool SameColumn(const Frame& a, const Frame& b, int32_t x, int32_t y0, int32_t y1) {
    for (int32_t y = y0; y < y1; ++y)
        if (a.Row(y)[x] != b.Row(y)[x]) return false;
    return true;
}

// One hash per row and band of the moving part.
std::vector<uint64_t> CellHashes(const Frame& f, const FixedParts& p, int32_t bands) {
    const int32_t x0 = p.left, x1 = f.width - p.right, rows = f.height - p.top - p.bottom;
    std::vector<uint64_t> cells(static_cast<size_t>(rows) * bands);
    for (int32_t y = 0; y < rows; ++y) {
        const uint32_t* row = f.Row(p.top + y);
        for (int32_t b = 0; b < bands; ++b) {
            uint64_t h = 1469598103934665603ull;
            for (int32_t x = x0 + (x1 - x0) * b / bands, end = x0 + (x1 - x0) * (b + 1) / bands; x < end; ++x)
                h = (h ^ row[x]) * 1099511628211ull;
            cells[static_cast<size_t>(y) * bands + b] = h;
        }
    }
    return cells;
}

// True when every changed pixel lies in one small box: a caret, not a scroll.
bool OnlyASpotChanged(const Frame& a, const Frame& b) {
    int32_t x0 = a.width, x1 = -1, y0 = a.height, y1 = -1;
    for (int32_t y = 0; y < a.height; ++y) {
        const uint32_t *ra = a.Row(y), *rb = b.Row(y);
        for (int32_t x = 0; x < a.width; ++x)
            if (ra[x] != rb[x]) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    return x1 < 0 || (x1 - x0 < std::max(8, a.width / 16) && y1 - y0 < std::max(8, a.height / 8));
}

}  // namespace

bool SameFrame(const Frame& a, const Frame& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

FixedParts FindFixedParts(const Frame& before, const Frame& after) {
    FixedParts p;
    const int32_t w = before.width, h = before.height;
    while (p.top < h && SameRow(before, after, p.top, 0, w)) ++p.top;
    while (p.bottom < h - p.top && SameRow(before, after, h - 1 - p.bottom, 0, w)) ++p.bottom;
    if (p.top == h) return p;
    while (p.left < w - 1 && SameColumn(before, after, p.left, p.top, h - p.bottom)) ++p.left;
    while (p.right < w - 1 - p.left && SameColumn(before, after, w - 1 - p.right, p.top, h - p.bottom)) ++p.right;
    return p;
}

Shift FindShift(const Frame& before, const Frame& after, const FixedParts& fixed, int32_t expected, bool surelyMoved) {
    const int32_t rows = before.height - fixed.top - fixed.bottom;
    if (!surelyMoved && (rows <= 0 || OnlyASpotChanged(before, after))) return {Shift::Unmoved, 0};
    const int32_t bands = std::min(kBands, before.width - fixed.left - fixed.right);
    const int32_t minOverlap = std::max(4, rows / 4);
    if (bands <= 0 || rows <= minOverlap) return {};
    const std::vector<uint64_t> was = CellHashes(before, fixed, bands), now = CellHashes(after, fixed, bands);

    Shift best;
    int64_t bestMisses = 0, bestRows = 1;
    for (int32_t d = 1; d <= rows - minOverlap; ++d) {
        // Row y of `after` shows what row y + d of `before` showed.
        const int64_t overlap = rows - d;
        const int64_t allowed = 2 + overlap * bands / 25;
        int64_t misses = 0;
        for (int64_t i = 0, n = overlap * bands; i < n && misses <= allowed; ++i)
            misses += now[static_cast<size_t>(i)] != was[static_cast<size_t>(i + int64_t{d} * bands)];
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

ScrollStitcher::ScrollStitcher(Frame first, uint64_t maxPixels, uint64_t maxSide)
    : last_(std::move(first)), movingRows_(last_.height), maxPixels_(maxPixels), maxSide_(maxSide) {}

void ScrollStitcher::Keep(const Frame& frame, int32_t from, int32_t to) {
    if (to <= from) return;
    strips_.emplace_back(frame.Row(from), frame.Row(from) + static_cast<size_t>(to - from) * frame.width);
    reached_ += to - from;
}

ScrollStitcher::Step ScrollStitcher::Add(const Frame& next, int32_t expected, bool surelyMoved) {
    if (next.width != last_.width || next.height != last_.height) return Step::Unmatched;
    const FixedParts fixed = FindFixedParts(last_, next);
    const Shift shift = FindShift(last_, next, fixed, expected, surelyMoved);
    if (shift.kind == Shift::Unmoved) return Step::Unmoved;
    if (shift.kind == Shift::Unmatched) return Step::Unmatched;
    const uint64_t height = static_cast<uint64_t>(lastOffset_ + shift.distance + next.height);
    if (height > maxSide_ || height * static_cast<uint64_t>(next.width) > maxPixels_) return Step::TooLarge;

    // The last frame's rows down to this step's footer are content now.
    Keep(last_, static_cast<int32_t>(reached_ - lastOffset_), last_.height - fixed.bottom);
    if (steps_ == 0) firstRows_ = static_cast<int32_t>(reached_);
    sideLeft_ = sideLeft_ < 0 ? fixed.left : std::min(sideLeft_, fixed.left);
    sideRight_ = sideRight_ < 0 ? fixed.right : std::min(sideRight_, fixed.right);
    lastOffset_ += shift.distance;
    lastBottom_ = fixed.bottom;
    lastDistance_ = shift.distance;
    movingRows_ = next.height - fixed.top - fixed.bottom;
    last_ = next;
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
    const uint32_t* edge = firstRows_ > 0 ? strips_.front().data() + (firstRows_ - 1) * w : nullptr;
    int64_t row = 0;
    for (std::vector<uint32_t>& strip : strips_) {
        for (size_t i = 0, n = strip.size() / w; i < n; ++i, ++row) {
            uint32_t* to = out + static_cast<size_t>(row) * w;
            std::memcpy(to, strip.data() + i * w, w * sizeof(uint32_t));
            // Side columns that never moved appear once, beside the first frame; below
            // it they carry on in the colour of their last row there.
            if (edge && row >= firstRows_ && row < contentEnd) {
                for (int32_t x = 0; x < sideLeft_; ++x) to[x] = edge[x];
                for (size_t x = w - static_cast<size_t>(sideRight_); x < w; ++x) to[x] = edge[x];
            }
        }
        if (&strip == &strips_.front()) continue;  // the edge row lives in it
        std::vector<uint32_t>().swap(strip);
    }
    strips_.clear();
}

}  // namespace vx
