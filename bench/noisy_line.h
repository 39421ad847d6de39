// Transfers over a noisy line: the emulated module on a pseudo-terminal
// whose bytes are spoiled or lost at a set rate, and the program's link and
// module service talking to it. Each transfer is judged against the same
// transfer made again on a clean line: a success, a failure the program
// reported, or a false success (the program said success, but the module
// does not hold what was sent, or the image read is not what the module
// holds, or a verify passed a module that differs).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace q5480::noisy {

enum class TransferKind { Write, Read, Verify };
const char* KindName(TransferKind kind);

struct NoiseLevel {
  double corruptShare = 0.001;  // of the bytes, either way
  double dropShare = 0.0005;
};

struct Counts {
  long transfers = 0;
  long successes = 0;
  long failures = 0;  // reported: a failed transfer, or a verify that found differences
  long falseSuccesses = 0;
  double seconds = 0;
};

class NoisyLine {
 public:
  // A module with the identifier's layout and a configuration written to it
  // while the line is still clean; `folder` holds its ports folder.
  NoisyLine(const std::string& identifier, const std::filesystem::path& folder);
  ~NoisyLine();
  NoisyLine(const NoisyLine&) = delete;
  NoisyLine& operator=(const NoisyLine&) = delete;

  // False when the clean start failed.
  bool Ready() const;
  // `count` transfers of `kind` at `noise`, each judged by the clean line.
  Counts Run(TransferKind kind, int count, const NoiseLevel& noise, unsigned seed);

 private:
  struct Rig;
  std::unique_ptr<Rig> rig_;
};

}  // namespace q5480::noisy
