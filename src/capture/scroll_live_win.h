#pragma once
// The scrolling capture on the live screen, in a private loop on the calling thread:
// copy the area, scroll the target one step, wait until the screen has settled, place
// the frame, and so on, until the content's end, Escape or a click, the size limit, or
// a target that closed or hung. A small label beside the area tells the progress.
#include "../document/outcome.h"
#include "../platform/unique_handle.h"
#include "scroll_pick_win.h"
#include "scroll_stitch.h"

namespace vx {

struct ScrollLimits {
    uint64_t maxPixels, maxSide;  // the picture's size limit
};

// The stitched picture as a 32-bit bitmap; NoMemory when it could not be made.
Result<UniqueBitmap> RunScrollCapture(const ScrollTarget& target, const ScrollLimits& limits);

// Strips in pages of their own, which go back to the system as soon as a strip has been
// joined into the picture (the heap would keep some), so the end costs about one picture.
StripMemory& PageStrips();

// The pieces the loop is made of, for the benchmarks.
class AreaCopier {
public:
    explicit AreaCopier(const Rect& area);
    AreaCopier(const AreaCopier&) = delete;
    AreaCopier& operator=(const AreaCopier&) = delete;
    bool Ready() const { return bits_ != nullptr; }
    // One copy of the area as the screen shows it now (one BitBlt into a DIB section).
    void Copy(Frame& into);
    // The same into a frame that holds the last copy: false, and nothing copied out of
    // the DIB section, when the screen still shows exactly that.
    bool CopyIfChanged(Frame& last);

private:
    Rect area_;
    UniqueWindowDc screen_;
    UniqueCreatedDc memory_;
    UniqueBitmap dib_;
    void* bits_ = nullptr;
    SelectGuard selected_;  // dib_ in memory_
};

}  // namespace vx
