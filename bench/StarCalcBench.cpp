// One calculation end to end (conversion, arithmetic, formatting), and the
// result formatting against the C library's "%.2Lf" on the same values.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "app/StarCalc.h"
#include "framework/rtl/FloatText.h"
#include "tests/support/Settings.h"

namespace {

void BM_CalcScaleRotation(benchmark::State& state) {
  const std::array<AnsiString, 8> texts = {"100", "200", "300,5", "250",
                                           "120", "180", "250",   "330,25"};
  const TFormatSettings settings = CommaSettings();
  for (auto _ : state) benchmark::DoNotOptimize(CalcScaleRotation(texts, settings));
}
BENCHMARK(BM_CalcScaleRotation);

const long double kValues[] = {
    103.859530282284893L, -35.0493733120484L, 1234.5L, -109.653824058053306L, 0.125L,
    269.427061302316L};

void BM_FloatToStrF_Currency(benchmark::State& state) {
  const TFormatSettings settings = CommaSettings();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FloatToStrF(kValues[i++ % 6], ffCurrency, 18, 2, settings));
  }
}
BENCHMARK(BM_FloatToStrF_Currency);

// Baseline: the C library's fixed two-decimal form of the same values.
void BM_Snprintf_2Lf(benchmark::State& state) {
  char buffer[64];
  size_t i = 0;
  for (auto _ : state) {
    std::snprintf(buffer, sizeof buffer, "%.2Lf", kValues[i++ % 6]);
    benchmark::DoNotOptimize(buffer);
  }
}
BENCHMARK(BM_Snprintf_2Lf);

void BM_StrToFloat(benchmark::State& state) {
  const TFormatSettings settings = CommaSettings();
  for (auto _ : state) benchmark::DoNotOptimize(StrToFloat("1234,5678", settings));
}
BENCHMARK(BM_StrToFloat);

}  // namespace

BENCHMARK_MAIN();
