#include <gtest/gtest.h>

#include <fstream>

#include "emulator/module_store.h"
#include "config/module_image.h"
#include "module_fixture.h"

namespace q5480::test {
namespace {

namespace fs = std::filesystem;

class MemoryFile : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("q5480-module-store-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  ModuleOptions Options(const char* identifier, const fs::path& file) const {
    ModuleOptions options = ClockedModule::OptionsWithId(identifier);
    options.memoryFile = file;
    return options;
  }

  fs::path directory_;
};

TEST_F(MemoryFile, ConfigurationSurvivesARestartInBothLayouts) {
  for (const char* id : {kOldId, kNewId}) {
    const fs::path file = directory_ / (std::string(id) + ".mem");
    MemoryBytes written;
    {
      ClockedModule module(Options(id, file));
      ASSERT_TRUE(WriteConfiguration(module, LinearMemory(module.module->Layout(), ModuleSetup{})));
      written = module.module->Memory();
    }
    ClockedModule again(Options(id, file));
    EXPECT_EQ(again.module->Memory(), written) << id;
  }
}

TEST_F(MemoryFile, CorrectionsAndTextsAreKeptAsSoonAsTheyAreStored) {
  const fs::path file = directory_ / "new.mem";
  ClockedModule module(Options(kNewId, file));
  const auto zero = EncodeModuleFloat(0.5);
  ASSERT_EQ(module.Send({'V', 8, 0, 96, zero[0], zero[1], zero[2], zero[3], 0, 0, 0, 0}), Bytes{});
  MemoryBytes text{};
  text.fill('t');
  ASSERT_TRUE(module.Send(WriteRequest(128, text, 8)).has_value());
  EXPECT_EQ(ClockedModule(Options(kNewId, file)).module->Memory(), module.module->Memory());
}

TEST_F(MemoryFile, FailedStoreLeavesFileAndModuleAsTheyWere) {
  // A memory file below a regular file can never be written, even by root.
  const fs::path blocker = directory_ / "blocker";
  std::ofstream(blocker) << "x";
  ClockedModule module(Options(kOldId, blocker / "old.mem"));
  const MemoryBytes before = module.module->Memory();
  EXPECT_FALSE(WriteConfiguration(module, LinearMemory(MemoryLayout::Old, ModuleSetup{})));
  EXPECT_EQ(module.module->Memory(), before);
  EXPECT_TRUE(module.module->WriteOpen()) << "the program may still restart and try again";
}

TEST_F(MemoryFile, UnusableFilesAreRefusedWithTheirName) {
  const fs::path garbage = directory_ / "garbage.mem";
  std::ofstream(garbage) << "not a memory";
  const fs::path newLayout = directory_ / "new.mem";
  ASSERT_TRUE(SaveMemoryFile(newLayout, MemoryLayout::New, MemoryBytes{}));

  const struct {
    const char* id;
    fs::path file;
    const char* words;
  } cases[] = {{kNewId, garbage, "not a module memory file"},
               {kOldId, newLayout, "holds the new layout"}};
  for (const auto& c : cases) {
    try {
      ClockedModule module(Options(c.id, c.file));
      ADD_FAILURE() << c.file << " was accepted";
    } catch (const std::runtime_error& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(c.file.string()), std::string::npos) << message;
      EXPECT_NE(message.find(c.words), std::string::npos) << message;
    }
  }
}

TEST_F(MemoryFile, MissingFileStartsABlankModule) {
  ClockedModule module(Options(kNewId, directory_ / "absent.mem"));
  EXPECT_EQ(module.module->Memory()[16], 0);
  EXPECT_FALSE(fs::exists(directory_ / "absent.mem")) << "nothing stored yet";
}

}  // namespace
}  // namespace q5480::test
