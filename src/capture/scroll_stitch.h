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
// The same but for a few small spots (a blinking caret, a clock): nothing scrolled.
bool NearlySameFrame(const Frame& a, const Frame& b);

// Screen rows of a frame that a step's match leaves out (the row under the pointer,
// which a hot-tracking list highlights wherever the content is); empty when from >= to.
struct RowBand {
    int32_t from = 0, to = 0;
};

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
    // `expected`: the rows the caller thinks the content moved (0: no idea); where several
    // distances fit equally well (blank or identical rows) the nearest wins. `surelyMoved`:
    // the bar says it moved, so "nothing moved" is not an answer.
    Step Add(Frame& next, int32_t expected, bool surelyMoved = false, RowBand ignore = {});
    Step Add(Frame&& next, int32_t expected, bool surelyMoved = false, RowBand ignore = {}) {
        return Add(next, expected, surelyMoved, ignore);
    }

    int32_t Width() const { return last_.width; }
    int32_t LastDistance() const { return lastDistance_; }
    // Rows between the header and the footer the last step found (the whole frame before any).
    int32_t MovingRows() const { return movingRows_; }
    int Steps() const { return steps_; }
    // An overlay bar was taken out of the picture: rows a step shows only once keep it.
    bool OverlaySeen() const { return overlaySeen_; }
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
    struct Parts {
        int32_t top = 0, bottom = 0, left = 0, right = 0;
        int32_t overlay = 0;  // columns left of the right side ones that the match leaves out
    };
    struct Shift {
        bool moved = false;
        int32_t distance = 0;
        bool exact = false;  // every moving row and column compared equal, none left out
    };
    void Keep(const Frame& frame, int32_t from, int32_t to);
    uint32_t* KeptRow(int64_t row);  // a picture row kept already, in its strip
    uint32_t* Kept(int32_t y);  // row y of the last frame as kept (or to be kept)
    // Whether rows [from, to) of `frame` show every row as kept; in the rows `same` the
    // columns [x0, x1) are known to, and only the others are looked at.
    bool AsKept(const Frame& frame, int32_t from, int32_t to, RowBand same = {}, int32_t x0 = 0, int32_t x1 = 0);
    bool Recheck(const Frame& frame, int32_t from, int32_t to);
    Shift Match(const Frame& next, const Parts& fixed, int32_t expected, RowBand ignore);
    Shift Place(const Frame& next, Parts& fixed, int32_t expected, RowBand ignore);

    Frame last_;
    int64_t lastOffset_ = 0;   // picture row of the last frame's row 0
    int64_t reached_ = 0;      // picture rows kept so far
    int32_t lastBottom_ = 0;   // the footer rows the last step found
    int32_t lastTop_ = 0;      // and its header
    int32_t lastDistance_ = 0;
    int32_t movingRows_ = 0;
    int32_t sideLeft_ = -1, sideRight_ = -1;  // fixed side columns over every step
    int32_t firstRows_ = 0;    // picture rows that came from the first frame
    int steps_ = 0;
    bool overlaySeen_ = false;
    uint64_t maxPixels_, maxSide_;
    StripMemory& memory_;
    std::vector<Strip> strips_;
    Frame seen_;  // the rows Recheck compares, as kept
    RowBand asKept_;  // rows of the last frame that the last look found as kept, whole
    std::vector<uint64_t> lastCells_;  // the last frame's cell hashes, for the columns below
    int32_t cellsLeft_ = -1, cellsRight_ = -1;
};

}  // namespace vx
