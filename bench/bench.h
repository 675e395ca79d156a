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
    // Measured in pairs: the median of the pairs' ratios, and the lowest and highest.
    double pairedRatio = 0, low = 0, high = 0;
    double Ratio() const { return pairedRatio > 0 ? pairedRatio : baseline > 0 ? measured / baseline : 0; }
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

// Times `measured` and `baseline` in pairs, in turn (A B, then B A, ...), after one
// warm-up of each, so that the machine's other work weighs on both alike; `prepare`
// runs untimed before every timed call. Fills the figure's two medians, the median of
// the pairs' ratios and their spread.
void MeasurePairs(Figure& figure, int repetitions, const std::function<void()>& measured,
                  const std::function<void()>& baseline, const std::function<void()>& prepare = {});
// The same from times already taken in pairs (index i of both is one pair).
void SetFromPairs(Figure& figure, std::vector<double> measured, std::vector<double> baseline);

// Runs this program again as the registered benchmark `child` with the variable `flag`
// set, and reads the two numbers it prints (a peak and what it is measured against):
// a figure of peak memory needs a process of its own. False, and zeros, when it did not.
bool RunChild(const wchar_t* child, const wchar_t* flag, double& first, double& second);

}  // namespace vx::bench
