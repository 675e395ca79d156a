#pragma once
// The document tests' helpers (pattern pictures, pixels, file bytes) live with the
// other shared test pieces.
#include "win_test_support.h"
