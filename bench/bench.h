#pragma once
// A small benchmark harness: every figure is a ratio against a baseline measured in
// the same run, as medians over repetitions after a warm-up.
#include <functional>
#include <string>
#include <vector>

namespace vx::bench {

struct Figure {
    std::string name;       // what was measured
    double measured = 0;    // median, milliseconds (or bytes, see unit)
    double baseline = 0;    // median of the baseline, same unit
    double goal = 0;        // largest acceptable ratio; 0 = report only
    std::string unit = "ms";
    std::string baselineName;
    double Ratio() const { return baseline > 0 ? measured / baseline : 0; }
};

struct Context {
    int repetitions = 15;
    int screenWidth = 0, screenHeight = 0;
};

using Benchmark = std::function<std::vector<Figure>(const Context&)>;

// Registers a benchmark at static-initialisation time.
struct Register {
    Register(const char* name, Benchmark benchmark);
};

// Median wall time in milliseconds of `run`, after one warm-up; `prepare` runs
// before each repetition and is not timed.
double MedianMs(int repetitions, const std::function<void()>& run, const std::function<void()>& prepare = {});

}  // namespace vx::bench
