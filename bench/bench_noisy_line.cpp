// Writes, reads and verifies a configuration again and again over a line
// that spoils and loses bytes at a set rate, for both memory layouts, and
// counts the successes, the failures the program reported and the false
// successes: a success after which the module does not hold what was sent,
// or the image read differs from what the module holds, or a verify passed
// a module that differs (every other verify is given one). The goal is no
// false success at all. Half the verifies meet a module that differs: a
// reported failure is the right answer for them.
//
// usage: bench_noisy_line [TRANSFERS [CORRUPT [DROP [old|new]]]]
//        (1000 transfers, 0.001 spoiled, 0.0005 lost, both layouts)
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "noisy_line.h"

namespace {

namespace fs = std::filesystem;
using namespace q5480::noisy;

}  // namespace

int main(int argc, char** argv) {
  const int transfers = argc > 1 ? std::atoi(argv[1]) : 1000;
  NoiseLevel noise;
  if (argc > 2) noise.corruptShare = std::atof(argv[2]);
  if (argc > 3) noise.dropShare = std::atof(argv[3]);
  const std::string only = argc > 4 ? argv[4] : "";
  std::string pattern = (fs::temp_directory_path() / "q5480-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path folder = pattern;

  std::printf("noise: %g of the bytes spoiled, %g lost, either way; %d transfers of each kind\n\n",
              noise.corruptShare, noise.dropShare, transfers);
  std::printf("%-6s %-7s %9s %10s %9s %15s %9s %8s\n", "layout", "kind", "transfers", "successes",
              "failures", "false successes", "success", "took s");
  long falseSuccesses = 0;
  bool ok = true;
  for (const auto& [name, identifier] : {std::pair{"old", "1.45"}, std::pair{"new", "2104"}}) {
    if (!only.empty() && only != name) continue;
    NoisyLine line(identifier, folder / name);
    if (!line.Ready()) {
      std::fprintf(stderr, "bench_noisy_line: the %s module cannot be set up\n", name);
      ok = false;
      continue;
    }
    for (TransferKind kind : {TransferKind::Write, TransferKind::Read, TransferKind::Verify}) {
      const Counts counts =
          line.Run(kind, transfers, noise, 1000u * static_cast<unsigned>(kind) + 1);
      falseSuccesses += counts.falseSuccesses;
      ok = ok && counts.transfers == transfers;
      std::printf("%-6s %-7s %9ld %10ld %9ld %15ld %8.1f%% %8.1f\n", name, KindName(kind),
                  counts.transfers, counts.successes, counts.failures, counts.falseSuccesses,
                  counts.transfers > 0 ? 100.0 * counts.successes / counts.transfers : 0.0,
                  counts.seconds);
      std::fflush(stdout);
    }
  }
  std::printf("\nfalse successes: %ld (goal 0)\n", falseSuccesses);
  std::error_code error;
  fs::remove_all(folder, error);
  return ok && falseSuccesses == 0 ? 0 : 1;
}
