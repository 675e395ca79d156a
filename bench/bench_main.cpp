// vx_bench: runs every registered benchmark (or those whose name contains the first
// argument) and prints one table of ratios against same-run baselines.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>

#include "bench.h"
#include "platform/win32.h"

namespace vx::bench {
namespace {
std::map<std::string, Benchmark>& Registry() {
    static std::map<std::string, Benchmark> registry;
    return registry;
}
}  // namespace

Register::Register(const char* name, Benchmark benchmark) { Registry()[name] = std::move(benchmark); }

bool RunChild(const wchar_t* child, const wchar_t* flag, double& first, double& second) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring command = L"\"" + std::wstring(self) + L"\" " + child;
    _wputenv((std::wstring(flag) + L"=1").c_str());
    FILE* out = _wpopen(command.c_str(), L"r");
    _wputenv((std::wstring(flag) + L"=").c_str());
    first = second = 0;
    if (!out) return false;
    const bool read = std::fscanf(out, "%lf %lf", &first, &second) == 2;
    _pclose(out);
    if (!read) first = second = 0;
    return read;
}

double MedianMs(int repetitions, const std::function<void()>& run, const std::function<void()>& prepare) {
    if (prepare) prepare();
    run();  // warm-up
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        if (prepare) prepare();
        const auto start = std::chrono::steady_clock::now();
        run();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

namespace {
double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
double TimedMs(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

void SetFromPairs(Figure& figure, std::vector<double> measured, std::vector<double> baseline) {
    std::vector<double> ratios;
    for (size_t i = 0; i < measured.size() && i < baseline.size(); ++i)
        if (baseline[i] > 0) ratios.push_back(measured[i] / baseline[i]);
    figure.measured = Median(measured);
    figure.baseline = Median(baseline);
    figure.pairedRatio = Median(ratios);
    figure.low = ratios.empty() ? 0 : *std::min_element(ratios.begin(), ratios.end());
    figure.high = ratios.empty() ? 0 : *std::max_element(ratios.begin(), ratios.end());
}

void MeasurePairs(Figure& figure, int repetitions, const std::function<void()>& measured,
                  const std::function<void()>& baseline, const std::function<void()>& prepare) {
    auto timed = [&](const std::function<void()>& run) {
        if (prepare) prepare();
        return TimedMs(run);
    };
    timed(measured), timed(baseline);  // warm-up
    std::vector<double> a, b;
    for (int i = 0; i < repetitions; ++i) {
        if (i % 2 == 0) {
            a.push_back(timed(measured));
            b.push_back(timed(baseline));
        } else {
            b.push_back(timed(baseline));
            a.push_back(timed(measured));
        }
    }
    SetFromPairs(figure, std::move(a), std::move(b));
}

}  // namespace vx::bench

int wmain(int argc, wchar_t** argv) {
    using namespace vx::bench;
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    std::wstring filter = argc > 1 ? argv[1] : L"";
    Context context;
    context.screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    context.screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    // A copy of this program started to measure one figure alone prints no header.
    const bool child = argc > 1 && std::wstring(argv[1]).find(L"_child") != std::wstring::npos;
    if (!child) {
        std::printf("screen %dx%d, %d repetitions (medians)\n", context.screenWidth, context.screenHeight,
                    context.repetitions);
        std::printf("%-46s %12s %12s %8s %13s %6s  %s\n", "figure", "measured", "baseline", "ratio", "spread",
                    "goal", "baseline is");
    }
    int failures = 0;
    for (const auto& [name, benchmark] : Registry()) {
        if (!filter.empty() && std::wstring(name.begin(), name.end()).find(filter) == std::wstring::npos) continue;
        for (const Figure& f : benchmark(context)) {
            const bool met = f.goal <= 0 || f.Ratio() <= f.goal;
            if (!met) ++failures;
            char goal[16] = "-";
            if (f.goal > 0) std::snprintf(goal, sizeof goal, "%.2f", f.goal);
            char spread[32] = "-";
            if (f.pairedRatio > 0) std::snprintf(spread, sizeof spread, "%.2f-%.2f", f.low, f.high);
            std::printf("%-46s %9.3f %-2s %9.3f %-2s %8.3f %13s %6s  %s%s\n", f.name.c_str(), f.measured,
                        f.unit.c_str(), f.baseline, f.unit.c_str(), f.Ratio(), spread, goal, f.baselineName.c_str(),
                        met ? "" : "  (goal missed)");
        }
    }
    ::OleUninitialize();
    return failures == 0 ? 0 : 1;
}
