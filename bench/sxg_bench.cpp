// Sexagesimal arithmetic and text forms: time per call, and heap allocations per call (the
// "allocs" counter; it must stay 0).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "data/sxg.h"
#include "data/sxg_text.h"

namespace {
std::atomic<long long> allocations{0};
}

// The replaced operators pair malloc with free; the compiler cannot see that they belong together.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace zorvat {
namespace {

constexpr std::size_t COUNT = 1024;  // a power of two, so that i & (COUNT - 1) cycles

std::vector<SXG> values() {
    std::mt19937_64 gen(20240503);
    std::uniform_int_distribution<int> degrees(0, 359), place(0, 59);
    std::vector<SXG> v(COUNT);
    for (SXG& s : v) {
        s.DEGREES = degrees(gen);
        for (std::size_t i = 1; i <= 10; ++i)
            s.DIGITS[i] = static_cast<std::int8_t>(place(gen));
    }
    return v;
}

std::vector<long double> reals() {
    std::mt19937_64 gen(20240503);
    std::uniform_real_distribution<double> r(0.0, 360.0);
    std::vector<long double> v(COUNT);
    for (long double& x : v)
        x = r(gen);
    return v;
}

// Runs body(i) for i = 0, 1, ... and reports the allocations made per call.
template <typename Body>
void measure(benchmark::State& state, Body body) {
    const long long before = allocations.load();
    std::size_t i = 0;
    for (auto _ : state) {
        body(i & (COUNT - 1));
        ++i;
    }
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocations.load() - before),
                                                  benchmark::Counter::kAvgIterations);
}

void BM_ADD(benchmark::State& state) {
    const auto v = values();
    SXG c;
    measure(state, [&](std::size_t i) {
        ADD(v[i], v[(i + 1) & (COUNT - 1)], c);
        benchmark::DoNotOptimize(c);
    });
}

void BM_SUBTRACT(benchmark::State& state) {
    const auto v = values();
    SXG c;
    measure(state, [&](std::size_t i) {
        SUBTRACT(v[i], v[(i + 1) & (COUNT - 1)], c);
        benchmark::DoNotOptimize(c);
    });
}

// Factors and dividers as the tables have them (periods in days, hours, years), and the
// largest one allowed: the time of a hardware division grows with its operands.
void BM_MULTIPLYINTEGER(benchmark::State& state) {
    const auto v = values();
    const auto m = static_cast<std::int32_t>(state.range(0));
    SXG c;
    measure(state, [&](std::size_t i) {
        MULTIPLYINTEGER(v[i], m, c);
        benchmark::DoNotOptimize(c);
    });
}

void BM_DIVIDEINTEGER(benchmark::State& state) {
    const auto v = values();
    const auto d = static_cast<std::int32_t>(state.range(0));
    SXG c;
    measure(state, [&](std::size_t i) {
        DIVIDEINTEGER(v[i], d, c, (i & 1) != 0);
        benchmark::DoNotOptimize(c);
    });
}

void BM_MULTIPLY(benchmark::State& state) {
    const auto v = values();
    const long double factors[] = {0.5L, 2.0L / 3.0L, 0.3L, 2.5L, 365.25L, 29.5L, 0.0L, 7.0L};
    SXG c;
    measure(state, [&](std::size_t i) {
        MULTIPLY(v[i], factors[i & 7], c);
        benchmark::DoNotOptimize(c);
    });
}

void BM_MODERNROUNDINGSXG(benchmark::State& state) {
    const auto v = values();
    measure(state, [&](std::size_t i) {
        SXG c = v[i];
        MODERNROUNDINGSXG(c, static_cast<std::int16_t>(i % 10));
        benchmark::DoNotOptimize(c);
    });
}

void BM_SXGTOREAL(benchmark::State& state) {
    const auto v = values();
    measure(state, [&](std::size_t i) { benchmark::DoNotOptimize(SXGTOREAL(v[i])); });
}

void BM_REALTOSXG(benchmark::State& state) {
    const auto r = reals();
    SXG c;
    measure(state, [&](std::size_t i) {
        REALTOSXG(r[i], c);
        benchmark::DoNotOptimize(c);
    });
}

void BM_SXGTOSTR(benchmark::State& state) {
    const auto v = values();
    const auto mode = static_cast<std::uint8_t>(state.range(0));
    measure(state, [&](std::size_t i) {
        const SxgText t = SXGTOSTR(v[i], static_cast<std::int16_t>(i % 11), mode);
        benchmark::DoNotOptimize(t);
    });
}

void BM_SXGTOSTRCOMPR(benchmark::State& state) {
    const auto v = values();
    measure(state, [&](std::size_t i) {
        const SxgText t = SXGTOSTRCOMPR(v[i], static_cast<std::int16_t>(i % 11), DEGREES);
        benchmark::DoNotOptimize(t);
    });
}

BENCHMARK(BM_ADD);
BENCHMARK(BM_SUBTRACT);
BENCHMARK(BM_MULTIPLYINTEGER)->Arg(7)->Arg(365)->Arg(10000)->Arg(35791393);
BENCHMARK(BM_DIVIDEINTEGER)->Arg(7)->Arg(365)->Arg(10000)->Arg(35791393);
BENCHMARK(BM_MULTIPLY);
BENCHMARK(BM_MODERNROUNDINGSXG);
BENCHMARK(BM_SXGTOREAL);
BENCHMARK(BM_REALTOSXG);
BENCHMARK(BM_SXGTOSTR)->Arg(DEGREES)->Arg(SIGNS)->Arg(DAYSHOURS);
BENCHMARK(BM_SXGTOSTRCOMPR);

}  // namespace
}  // namespace zorvat

BENCHMARK_MAIN();
