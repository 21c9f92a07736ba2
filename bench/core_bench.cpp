// Speed of the four numeric cores, through their public functions only, with a
// plain memcpy of the same matrix as the floor (every core starts by copying
// its input into its output, so no core can beat it).
//
// Names:  <core>/<shape>/<rows>x<cols>/K<taps>[/L<levels>]   and  memcpy/<rows>x<cols>
//   core   dwt, idwt, cyclic_split, cyclic_merge
//   shape  matrix (n x n), row (1 x n^2) or column (n^2 x 1)
// and peak/mul_add/<isa>: the peak throughput of separate multiplies and adds
// on the widest vector unit the machine has (counter "flops", per second),
// the unit of the cores' arithmetic floor.
// Counters: items_per_second and bytes_per_second count the pixels (8 bytes
// each) of the matrix once per call; time_per_pixel_tap is the time of one call
// divided by pixels x K (flat when the cost grows like the work).
//
// The whole grid takes several minutes; a --benchmark_filter picks a part of it,
// e.g. --benchmark_filter='/2048x2048/K8(/L3)?/real_time|^memcpy/2048x2048/', and
// --benchmark_min_time / --benchmark_repetitions trade time for steadiness.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/cyclic_merge.h"
#include "core/cyclic_split.h"
#include "core/dwt.h"
#include "core/idwt.h"
#include "core/fast/isa.h"
#include "peak.h"

namespace {

const int kSides[] = {256, 1024, 2048, 4096};
const int kTaps[] = {2, 8, 20};
const int kLevels[] = {1, 3, 5};

enum class Shape { Matrix, Row, Column };

struct Dims {
    int rows;
    int cols;
};

Dims dimsOf(Shape shape, int side) {
    const int count = side * side;
    switch (shape) {
        case Shape::Row: return {1, count};
        case Shape::Column: return {count, 1};
        default: return {side, side};
    }
}

const char* nameOf(Shape shape) {
    switch (shape) {
        case Shape::Row: return "row";
        case Shape::Column: return "column";
        default: return "matrix";
    }
}

// Reproducible data in [-1, 1): the values do not change the speed, but they
// stay away from subnormal numbers through every level.  Google Benchmark runs
// a benchmark's function several times (to size the iteration count, then per
// repetition); the last array is kept so that 2^24 samples are drawn once per
// benchmark, not once per run.
const std::vector<double>& randomData(std::size_t count, unsigned seed) {
    static std::vector<double> data;
    static std::size_t lastCount = 0;
    static unsigned lastSeed = 0;
    if (count != lastCount || seed != lastSeed || data.size() != count) {
        std::mt19937_64 generator(seed);
        std::uniform_real_distribution<double> uniform(-1.0, 1.0);
        data.resize(count);
        for (double& value : data) value = uniform(generator);
        lastCount = count;
        lastSeed = seed;
    }
    return data;
}

// A smooth low-pass filter of K taps with sum sqrt(2) and its alternating-sign
// mirror: the shape of an orthonormal pair, enough to keep magnitudes steady.
void filterPair(int K, std::vector<double>& low, std::vector<double>& high) {
    low.assign(K, 0.0);
    high.assign(K, 0.0);
    double sum = 0.0;
    for (int k = 0; k < K; ++k) {
        low[k] = std::sin(M_PI * (k + 0.5) / K);
        sum += low[k];
    }
    for (int k = 0; k < K; ++k) low[k] *= std::sqrt(2.0) / sum;
    for (int k = 0; k < K; ++k) high[k] = ((k % 2) ? -1.0 : 1.0) * low[K - 1 - k];
}

void setCounters(benchmark::State& state, std::int64_t pixels, int K) {
    state.SetItemsProcessed(state.iterations() * pixels);
    state.SetBytesProcessed(state.iterations() * pixels * static_cast<std::int64_t>(sizeof(double)));
    state.counters["time_per_pixel_tap"] = benchmark::Counter(
        static_cast<double>(pixels) * K,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["pixels"] = static_cast<double>(pixels);
    state.counters["K"] = K;
}

void benchDwt(benchmark::State& state, Dims d, int K, int L) {
    const std::int64_t pixels = static_cast<std::int64_t>(d.rows) * d.cols;
    const std::vector<double>& input = randomData(pixels, 1);
    std::vector<double> output(pixels);
    std::vector<double> h0, h1;
    filterPair(K, h0, h1);
    for (auto _ : state) {
        if (!wavelet::dwt(input.data(), d.rows, d.cols, h0.data(), h1.data(), K, L, output.data()))
            state.SkipWithError("dwt: out of scratch memory");
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, pixels, K);
    state.counters["L"] = L;
}

void benchIdwt(benchmark::State& state, Dims d, int K, int L) {
    const std::int64_t pixels = static_cast<std::int64_t>(d.rows) * d.cols;
    const std::vector<double>& input = randomData(pixels, 2);
    std::vector<double> output(pixels);
    std::vector<double> h0, h1;
    filterPair(K, h0, h1);
    const std::vector<double> g0(h0.rbegin(), h0.rend());
    const std::vector<double> g1(h1.rbegin(), h1.rend());
    for (auto _ : state) {
        if (!wavelet::idwt(output.data(), d.rows, d.cols, g0.data(), g1.data(), K, L, input.data()))
            state.SkipWithError("idwt: out of scratch memory");
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, pixels, K);
    state.counters["L"] = L;
}

using Circular = bool (*)(const double*, double*, int, int, const double*, const double*, int);

void benchCircular(benchmark::State& state, Circular core, Dims d, int K) {
    const std::int64_t pixels = static_cast<std::int64_t>(d.rows) * d.cols;
    const std::vector<double>& input = randomData(pixels, 3);
    std::vector<double> output(pixels);
    std::vector<double> columnTaps, rowTaps;
    filterPair(K, columnTaps, rowTaps);
    for (auto _ : state) {
        if (!core(input.data(), output.data(), d.rows, d.cols, columnTaps.data(), rowTaps.data(), K))
            state.SkipWithError("circular core: out of scratch memory");
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, pixels, K);
}

void benchMemcpy(benchmark::State& state, Dims d) {
    const std::int64_t pixels = static_cast<std::int64_t>(d.rows) * d.cols;
    const std::vector<double>& input = randomData(pixels, 4);
    std::vector<double> output(pixels);
    for (auto _ : state) {
        std::memcpy(output.data(), input.data(), pixels * sizeof(double));
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, pixels, 1);
}

std::string dimsName(Dims d) { return std::to_string(d.rows) + "x" + std::to_string(d.cols); }

// Wall-clock time: the cores run on one thread, and a loaded machine shows
// up as a gap between the real and CPU columns.
void configure(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

// Independent multiply-then-add chains in registers: no memory traffic, only
// the multiply and add units.  flops counts one multiply and one add per lane.
void benchPeak(benchmark::State& state, peak::MulAddLoop loop) {
    const std::int64_t steps = 1 << 16;
    double sink = 0.0;
    std::int64_t flops = 0;
    for (auto _ : state) {
        flops += loop(steps, &sink);
        benchmark::DoNotOptimize(sink);
    }
    state.counters["flops"] = benchmark::Counter(static_cast<double>(flops), benchmark::Counter::kIsRate);
}

// The widest instruction set this processor runs, as the cores pick it.
void registerPeak() {
    const char* name = "baseline";
    peak::MulAddLoop loop = peak::mulAddBaseline;
#if defined(__x86_64__) || defined(_M_X64)
    if (fast::best() == fast::Isa::Avx512) {
        name = "avx512";
        loop = peak::mulAddAvx512;
    } else if (fast::best() == fast::Isa::Avx2) {
        name = "avx2";
        loop = peak::mulAddAvx2;
    }
#endif
    configure(benchmark::RegisterBenchmark((std::string("peak/mul_add/") + name).c_str(), benchPeak, loop));
}

void registerAll() {
    registerPeak();
    for (int side : kSides) {
        const Dims square = dimsOf(Shape::Matrix, side);
        configure(benchmark::RegisterBenchmark(("memcpy/" + dimsName(square)).c_str(), benchMemcpy,
                                               square));
        for (Shape shape : {Shape::Matrix, Shape::Row, Shape::Column}) {
            const Dims d = dimsOf(shape, side);
            const std::string where = std::string("/") + nameOf(shape) + "/" + dimsName(d) + "/K";
            for (int K : kTaps) {
                for (int L : kLevels) {
                    const std::string tail = std::to_string(K) + "/L" + std::to_string(L);
                    configure(benchmark::RegisterBenchmark(("dwt" + where + tail).c_str(), benchDwt,
                                                           d, K, L));
                    configure(benchmark::RegisterBenchmark(("idwt" + where + tail).c_str(), benchIdwt,
                                                           d, K, L));
                }
                configure(benchmark::RegisterBenchmark(("cyclic_split" + where + std::to_string(K)).c_str(),
                                                       benchCircular, cyclic_split::filterColumnsANDrows,
                                                       d, K));
                configure(benchmark::RegisterBenchmark(("cyclic_merge" + where + std::to_string(K)).c_str(),
                                                       benchCircular, cyclic_merge::filterColumnsANDrows,
                                                       d, K));
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
