#pragma once
// The scrolling capture as plain arithmetic on frames: whether the screen has settled,
// which rows and columns stay put between two frames (a header, a footer, side
// columns), how far the rest moved, and the new rows of each frame kept as strips
// until they are joined once into the picture. Portable: no <windows.h>.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx {

// One copy of the area: 32-bit pixels, rows top down.
struct Frame {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
    const uint32_t* Row(int32_t y) const { return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
};

// The settle check: two copies in a row that are the same.
bool SameFrame(const Frame& a, const Frame& b);

// Rows at the top and the bottom, and columns at the sides, that are the same in both
// frames. Equal frames are all "top". With `barColumns`, narrow side columns that
// changed in only a few rows count as fixed too (a scroll bar whose thumb moved).
struct FixedParts {
    int32_t top = 0, bottom = 0, left = 0, right = 0;
};
FixedParts FindFixedParts(const Frame& before, const Frame& after, bool barColumns = false);

// What a step did, seen from the frames.
struct Shift {
    enum Kind { Moved, Unmoved, Unmatched } kind = Unmatched;
    int32_t distance = 0;  // rows the content moved up (Moved only)
};

// How far the part between the fixed rows and columns moved up from `before` to
// `after`. A few changed pixels (a caret, an animated spot) are tolerated. Where
// several distances fit equally well (blank or identical rows) the one nearest
// `expected` wins (0: none expected, the smallest wins). `surelyMoved`: the bar says
// the content moved, so "nothing moved" is not an answer.
Shift FindShift(const Frame& before, const Frame& after, const FixedParts& fixed, int32_t expected, bool surelyMoved);

// Where the strips live: the heap by default; the program gives pages of its own,
// which go back to the system the moment a strip is freed.
class StripMemory {
public:
    virtual uint32_t* Take(size_t pixels) = 0;  // nullptr: no memory
    virtual void Give(uint32_t* strip, size_t pixels) = 0;

protected:
    ~StripMemory() = default;
};
StripMemory& HeapStrips();

// The picture being built: the first frame, then the rows each placed frame adds.
// Out of memory for a strip throws std::bad_alloc.
class ScrollStitcher {
public:
    enum class Step { Appended, Unmoved, Unmatched, TooLarge };

    // maxPixels and maxSide: the size limit of a picture; a step that would pass it is
    // not taken.
    ScrollStitcher(Frame first, uint64_t maxPixels, uint64_t maxSide, StripMemory& memory = HeapStrips());
    ~ScrollStitcher();
    ScrollStitcher(const ScrollStitcher&) = delete;
    ScrollStitcher& operator=(const ScrollStitcher&) = delete;

    // Places the frame that followed one scroll step and keeps its new rows. A frame
    // that is placed is taken: `next` then holds the one before it.
    Step Add(Frame& next, int32_t expected, bool surelyMoved = false);
    Step Add(Frame&& next, int32_t expected, bool surelyMoved = false) { return Add(next, expected, surelyMoved); }

    int32_t Width() const { return last_.width; }
    int32_t LastDistance() const { return lastDistance_; }
    // Rows between the header and the footer the last step found (the whole frame before any).
    int32_t MovingRows() const { return movingRows_; }
    int Steps() const { return steps_; }
    const Frame& Last() const { return last_; }
    // Rows the picture has with the last frame's footer (the content's end reached) or
    // without it (stopped half-way: the picture is then an exact prefix).
    int32_t FinalHeight(bool withFooter) const;
    // Writes FinalHeight(withFooter) rows of Width() pixels to `out`, strip by strip,
    // freeing each strip once it is written.
    void Join(uint32_t* out, bool withFooter);

private:
    struct Strip {
        uint32_t* pixels;
        size_t count;
    };
    void Keep(const Frame& frame, int32_t from, int32_t to);
    Shift Match(const Frame& next, const FixedParts& fixed, int32_t expected);

    Frame last_;
    int64_t lastOffset_ = 0;   // picture row of the last frame's row 0
    int64_t reached_ = 0;      // picture rows kept so far
    int32_t lastBottom_ = 0;   // the footer rows the last step found
    int32_t lastDistance_ = 0;
    int32_t movingRows_ = 0;
    int32_t sideLeft_ = -1, sideRight_ = -1;  // fixed side columns over every step
    int32_t firstRows_ = 0;    // picture rows that came from the first frame
    int steps_ = 0;
    uint64_t maxPixels_, maxSide_;
    StripMemory& memory_;
    std::vector<Strip> strips_;
    std::vector<uint64_t> lastCells_;  // the last frame's cell hashes, for the columns below
    int32_t cellsLeft_ = -1, cellsRight_ = -1;
};

}  // namespace vx
