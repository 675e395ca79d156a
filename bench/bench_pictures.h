#pragma once
// Pictures the benchmarks work on.
#include "document/picture_object.h"

namespace vx::bench {

// A screen-format bitmap with text-like busy rows, as screens usually are.
ComPtr<IPicture> BusyPicture(int width, int height);

}  // namespace vx::bench
