#include "emulator/module_store.h"
#include "module_fixture.h"
#include "support/scratch_directory.h"

namespace q5480::test {
namespace {

class MemoryFile : public EachLayout {
 protected:
  // A module of the test's layout that keeps its memory in `name`.
  std::unique_ptr<ClockedModule> ModuleWith(std::string_view name) {
    return std::make_unique<ClockedModule>(
        GetParam(), [&](ModuleOptions& o) { o.memoryFile = scratch_ / name; });
  }
  test_support::ScratchDirectory scratch_;
};
INSTANTIATE_TEST_SUITE_P(Module, MemoryFile, testing::Values(kOldId, kNewId));

TEST_P(MemoryFile, ConfigurationCorrectionsAndTextsSurviveARestart) {
  auto module = ModuleWith("module.mem");
  EXPECT_FALSE(std::filesystem::exists(scratch_ / "module.mem")) << "nothing stored yet";
  ASSERT_TRUE(WriteConfiguration(*module, LinearMemory(module->module->Layout(), ModuleSetup{})));
  // Corrections and texts are stored at once, outside a configuration write.
  ASSERT_EQ(module->Send(CorrectionsRequest(At().corrections, 0.5, 0)), Bytes{});
  MemoryBytes text;
  text.fill('x');
  ASSERT_TRUE(module->Send(WriteRequest(At().textFirst, text, 8)));
  const MemoryBytes written = module->module->Memory();
  module.reset();
  EXPECT_EQ(ModuleWith("module.mem")->module->Memory(), written);
}

TEST_P(MemoryFile, FailedStoreLeavesFileAndModuleAsTheyWere) {
  // A memory file below a regular file can never be written, even by root.
  test_support::WriteBytes(scratch_ / "blocker", "x");
  auto module = ModuleWith("blocker/module.mem");
  const MemoryBytes before = module->module->Memory();
  EXPECT_FALSE(WriteConfiguration(*module, LinearMemory(module->module->Layout(), ModuleSetup{})));
  EXPECT_TRUE(module->module->WriteOpen()) << "the program may still restart and try again";
  module->Send({'r'});  // then texts and corrections, which cannot be kept either
  ExpectSilent(*module, {WriteRequest(At().textFirst, before, 8),
                         CorrectionsRequest(At().corrections, 1, 0)});
  EXPECT_EQ(module->module->Memory(), before);
}

TEST_P(MemoryFile, UnusableFilesAreRefusedWithTheirName) {
  ASSERT_TRUE(
      SaveMemoryFile(scratch_ / "other", Old() ? MemoryLayout::New : MemoryLayout::Old, {}));
  const std::string whole = test_support::ReadBytes(scratch_ / "other");
  test_support::WriteBytes(scratch_ / "short", whole.substr(0, whole.size() - 1));
  test_support::WriteBytes(scratch_ / "garbage", "not a memory");
  for (const auto& [name, words] :
       {std::pair{"garbage", "not a module memory file"},
        {"short", "not a module memory file"},
        {"other", Old() ? "holds the new layout" : "holds the old layout"}}) {
    try {
      ModuleWith(name);
      ADD_FAILURE() << name << " was accepted";
    } catch (const std::runtime_error& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find((scratch_ / name).string()), std::string::npos) << message;
      EXPECT_NE(message.find(words), std::string::npos) << message;
    }
  }
}

}  // namespace
}  // namespace q5480::test
