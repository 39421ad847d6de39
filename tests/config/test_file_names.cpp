// File names with letters beyond ASCII, and files that must not be replaced,
// on every system: Windows reads a narrow file name in its own code page and
// keeps permissions in other ways than Linux.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "config/atomic_file.h"
#include "config/parameters_file.h"
#include "config/path_text.h"
#include "config/program_directory.h"
#include "support/sample_configurations.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::ScratchDirectory;

constexpr char kFolder[] = "Dane pomiarów – Łódź";
constexpr char kFile[] = "czujnik żółty.par";

// A parameters file written under a UTF-8 name lands under that name, is
// read back from it, and its folder becomes the data directory as the same
// UTF-8 text.
TEST(FileNames, Utf8NamesReachTheFileSystemAndComeBackUnchanged) {
  ScratchDirectory scratch;
  const fs::path folder = scratch.Path() / PathFromUtf8(kFolder);
  fs::create_directory(folder);
  ModuleConfig written;
  test_support::SetThermocoupleK(written);
  std::string dataDir;
  ASSERT_TRUE(
      WriteParametersFile(folder / PathFromUtf8(kFile), written, RegionalSettings{}, dataDir));

  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(scratch.Path())) {
    names.push_back(
        Utf8FromPath(fs::relative(entry.path(), scratch.Path()).generic_string<char8_t>()));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{kFolder, std::string(kFolder) + "/" + kFile}));

  ModuleConfig read;
  InputLimits limits;
  EXPECT_TRUE(ReadParametersFile(folder / PathFromUtf8(kFile), read, limits, dataDir));
  EXPECT_EQ(read.MaxInput, written.MaxInput);
  EXPECT_EQ(DataDirOf(PathFromUtf8(std::string(kFolder) + "/" + kFile)), kFolder);
  EXPECT_EQ(FindDataFile(kFile, folder), folder / PathFromUtf8(kFile));
}

// A file without write permission is refused and keeps its bytes; a writable
// one is replaced, and a new one made, in a folder with such a name too.
TEST(FileNames, ReplacementRefusesAProtectedFileAndReplacesOthers) {
  ScratchDirectory scratch;
  const fs::path folder = scratch.Path() / PathFromUtf8(kFolder);
  fs::create_directory(folder);
  const fs::path file = folder / PathFromUtf8(kFile);

  ASSERT_TRUE(ReplaceFileAtomically(file, "first"));
  ASSERT_TRUE(ReplaceFileAtomically(file, "second"));
  EXPECT_EQ(ReadBytes(file), "second");
  EXPECT_FALSE(IsWriteProtected(file));

  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_TRUE(IsWriteProtected(file));
  EXPECT_FALSE(ReplaceFileAtomically(file, "third"));
  EXPECT_EQ(ReadBytes(file), "second");
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  // Nothing was left behind beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace q5480
