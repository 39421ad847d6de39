// Time of one module image build for a type K thermocouple, 0 to 1000 degC,
// linearized, with internal cold-junction compensation.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

#include "config/module_image.h"
#include "conversion/build_image.h"

int main() {
  using namespace q5480;
  ModuleConfig config;
  config.Device = "Q5495";
  config.Typ = 10;
  config.Tryb = 7;
  config.Lin = kLinTable;
  config.MinInput = 0;
  config.MaxInput = 1000;
  InputLimits limits;
  ConversionState state;
  const ConversionContext context{config, limits, state};
  ModuleImage image;

  constexpr int kRuns = 301;
  std::vector<double> microseconds;
  microseconds.reserve(kRuns);
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const std::optional<Refusal> refusal = BuildModuleImage(context, image, 46000);
    const auto stop = std::chrono::steady_clock::now();
    if (refusal) {
      std::fprintf(stderr, "build failed: %s\n", RefusalMessage(*refusal).c_str());
      return 1;
    }
    microseconds.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
  }
  std::sort(microseconds.begin(), microseconds.end());
  std::printf(
      "BuildModuleImage, type K 0..1000 degC, linearized, CJC: median %.1f us, min %.1f us, max "
      "%.1f us (%d runs)\n",
      microseconds[kRuns / 2], microseconds.front(), microseconds.back(), kRuns);
  return 0;
}
