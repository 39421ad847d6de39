#include <gtest/gtest.h>

#include "config/module_image.h"
#include "module_fixture.h"

namespace q5480::test {
namespace {

class ModuleRequests : public EachLayout {};
INSTANTIATE_TEST_SUITE_P(Module, ModuleRequests, testing::Values(kOldId, kNewId));

TEST(ModuleReads, IdentityAndFactoryDataSitWhereEachLayoutKeepsThem) {
  // Model 5495 (0x1577), day 45000 (0xAFC8), serial 1234567 (0x0012D687),
  // first factory value 1.0, words 0x1234 and 0xABCD.
  const struct {
    const char* id;
    Bytes request, reply;
  } cases[] = {
      {kOldId, {'s', 0x80, 0, 0}, {4, 0, 0, '1', '.', '2', '3'}},
      {kOldId, ReadRequest(8, 16), {8, 0, 16, 0x15, 0x77, 0xAF, 0xC8, 0x00, 0x12, 0xD6, 0x87}},
      {kOldId, ReadRequest(4, 24), {4, 0, 24, 0x7F, 0, 0, 0}},
      {kOldId, ReadRequest(4, 64), {4, 0, 64, 0x12, 0x34, 0xAB, 0xCD}},
      {kOldId, ReadRequest(4, 2048), {4, 0x08, 0x00, '1', '.', '2', '3'}},
      {kNewId, {'s', 0x80, 0, 0}, {4, 0, 0, '2', '1', '0', '4'}},
      {kNewId,
       ReadRequest(8, 1024),
       {8, 0x04, 0x00, 0x77, 0x15, 0xAF, 0xC8, 0x00, 0x12, 0xD6, 0x87}},
      {kNewId, ReadRequest(4, 1032), {4, 0x04, 0x08, 0, 0, 0, 0x7F}},
      {kNewId, ReadRequest(4, 1080), {4, 0x04, 0x38, 0x34, 0x12, 0xCD, 0xAB}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClockedModule(c.id).Send(c.request), c.reply) << c.id << " at " << int(c.request[3]);
  }
  const MemoryBytes memory = ClockedModule(kNewId).module->Memory();
  EXPECT_EQ(memory[1087], Check(memory, 1024, 1086));
}

TEST_P(ModuleRequests, MalformedOrForbiddenRequestsStaySilentAndChangeNothing) {
  ClockedModule module(GetParam());
  const MemoryBytes blank = module.module->Memory(), source{};
  ExpectSilent(
      module, {ReadRequest(0, 100),
               ReadRequest(17, 100),
               ReadRequest(16, 4081),  // none, too many, past the end
               {'s', 4, 0},
               {'s', 4, 0, 0, 0},
               {'s', 0x80, 0, 1},  // identify with an address
               {0xEF, 0, 1},
               {0xEF, 0},
               {'L', 1, 0xFF, 0xFF, 0xFF},  // the check of a blank old module, but no write is open
               {'V', 8, 0, 96, 1, 2, 3},
               {'Z', 1, 2, 3},
               {'o', 1},
               {'r', 0},
               {'m'},
               {'m', 3},
               {'m', 2, 0},
               {0x40, '7', '3', '1'},
               {0x99, 0, 0},
               // Outside the texts a write needs an open configuration write.
               WriteRequest(At().segments, source, 16),
               WriteRequest(At().textLast - 7, source, 9),
               WriteRequest(At().textFirst - 1, source, 2)});
  EXPECT_FALSE(module.module->WriteOpen());
  ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
  ExpectSilent(module, {WriteRequest(At().factoryFirst, source, 1),
                        WriteRequest(At().factoryLast, source, 1),
                        WriteRequest(At().factoryFirst - 8, source, 9),
                        WriteRequest(At().writableEnd - 8, source, 9),
                        WriteRequest(200, source, 17),
                        {'D', 4, 0, 200, 1, 2, 3},
                        {'D', 0, 0, 200}});
  EXPECT_EQ(module.module->Memory(), blank);
  EXPECT_TRUE(module.Send(ReadRequest(16, 4080)));
  EXPECT_TRUE(module.Send(WriteRequest(At().factoryLast + 1, source, 16)));
  EXPECT_TRUE(module.Send(WriteRequest(At().factoryFirst - 16, source, 16)));
}

TEST(ModuleStores, OldStoreNeedsTheCheckOfWhatWasWritten) {
  ClockedModule module(kOldId);
  ASSERT_TRUE(WriteConfiguration(module, LinearMemory(MemoryLayout::Old, ModuleSetup{})));
  const MemoryBytes stored = module.module->Memory();
  EXPECT_EQ(stored[2045], OldCheck(stored));
  // A second write that differs in the block at 80 only; refused stores keep the first.
  const ModuleMemory changed = LinearMemory(MemoryLayout::Old, ModuleSetup{.maxInput = 500});
  ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
  ASSERT_EQ(module.Send(WriteRequest(80, changed.Bytes(), 16)), Bytes{});
  const std::uint8_t c = OldCheck(changed.Bytes()), w = c ^ 1;
  ExpectSilent(
      module,
      {{'L', 1, w, w, w}, {'L', 1, c, c, w}, {'L', 1, c, w, c}, {'L', 2, c, c, c}, {'L', 1, c, c}});
  EXPECT_EQ(module.module->Memory(), stored);
  EXPECT_EQ(module.Send({'L', 1, c, c, c}), Bytes{});
  EXPECT_EQ(module.module->Memory()[92], changed.Bytes()[92]);
  EXPECT_EQ(module.module->Memory()[2045], c);
  ExpectSilent(module, {{'L', 1, c, c, c}});  // the write is closed
}

TEST(ModuleStores, NewStoreNeedsTheSegmentCheckThenTheSettingsChecks) {
  ClockedModule module(kNewId);
  const MemoryBytes blank = module.module->Memory();
  ModuleMemory wanted = LinearMemory(MemoryLayout::New, ModuleSetup{});
  auto& bytes = wanted.Bytes();
  const std::uint8_t c = bytes[2751], w = c ^ 1, n = static_cast<std::uint8_t>(~c);
  const std::uint8_t a = Check(bytes, 16, 23), b = Check(bytes, 24, 95), d = Check(bytes, 96, 103);
  const Bytes segments = NewStoreRequest(1, c, c, c), settings = NewStoreRequest(2, a, b, d);
  ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
  bytes[2749] = w;  // one of the four copies of the segment check
  ASSERT_TRUE(SendBlocks(module, wanted, 16, 208) && SendBlocks(module, wanted, 1088, 2752));
  ExpectSilent(module, {segments});
  bytes[2749] = c;
  ASSERT_TRUE(SendBlocks(module, wanted, 2736, 2752));
  // The settings before the segments, a wrong check, a pair that is no complement.
  ExpectSilent(module, {settings, NewStoreRequest(1, w, w, w), {'L', 1, c, c, c, n, c, n}});
  ASSERT_EQ(module.Send(segments), Bytes{});
  ExpectSilent(module, {NewStoreRequest(2, a ^ 1, b, d), NewStoreRequest(2, a, b ^ 1, d),
                        NewStoreRequest(2, a, b, d ^ 1)});
  EXPECT_EQ(module.module->Memory(), blank) << "nothing stored before the last check";
  ASSERT_EQ(module.Send(settings), Bytes{});
  const MemoryBytes stored = module.module->Memory();
  EXPECT_EQ(Bytes(&stored[508], &stored[511]), (Bytes{a, b, d}));
}

TEST_P(ModuleRequests, RestartOrAnyOtherRequestDropsAnOpenWriteAndTextsGoInAtOnce) {
  for (const Bytes& ending : {Bytes{'r'}, Bytes{'m', 2}}) {
    ClockedModule module(GetParam());
    const MemoryBytes blank = module.module->Memory();
    const ModuleMemory wanted = LinearMemory(module.module->Layout(), ModuleSetup{});
    ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
    ASSERT_TRUE(module.Send(ReadRequest(4, 0)));
    ASSERT_TRUE(SendBlocks(module, wanted, At().segments, At().segments + 16));
    EXPECT_TRUE(module.module->WriteOpen()) << "reads belong to a write";
    module.Send(ending);
    EXPECT_FALSE(module.module->WriteOpen()) << ending[0];
    ExpectSilent(module, {WriteRequest(At().segments, wanted.Bytes(), 16)});
    EXPECT_EQ(module.module->Memory(), blank) << "the blocks were dropped";
    // The texts, first to last, now go in as an information write, with its reply.
    for (const Bytes& text : {WriteRequest(At().textFirst, wanted.Bytes(), 16),
                              WriteRequest(At().textLast - 7, wanted.Bytes(), 8)}) {
      EXPECT_EQ(module.Send(text), Echoed(text));
    }
    EXPECT_EQ(module.module->Memory()[At().textLast], 'T') << "stored at once";
  }
}

TEST(ModuleStores, FlaggedCodesWriteLikePlainOnesUnlessTheFirmwareLacksThem) {
  // A blank segment area sums to 0: its check is 0xFF in all four copies.
  MemoryBytes source{};
  std::fill(&source[2748], &source[2752], 0xFF);
  Bytes flagged = WriteRequest(2736, source, 16);
  flagged[0] = 0xC4;
  for (const bool accepted : {true, false}) {
    ClockedModule module(kNewId, [&](ModuleOptions& options) { options.acceptFlagged = accepted; });
    ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
    EXPECT_EQ(module.Send(flagged), accepted ? ModuleReply(Echoed(flagged)) : std::nullopt);
    EXPECT_EQ(module.Send({0xCC, 1, 0xFF, 0, 0xFF, 0, 0xFF, 0}).has_value(), accepted);
  }
}

TEST_P(ModuleRequests, CorrectionsAreStoredAtOnceInTheLayoutsByteOrder) {
  ClockedModule module(GetParam());
  ExpectSilent(module,
               {CorrectionsRequest(Old() ? 96 : 2020, 1.5, -0.25)});  // the other layout's place
  EXPECT_EQ(module.Send(CorrectionsRequest(At().corrections, 1.5, -0.25)), Bytes{});
  Bytes stored = Echoed(ReadRequest(8, At().corrections));
  for (const double value : {1.5, -0.25}) {
    const auto bytes = EncodeModuleFloat(value);
    for (std::size_t i = 0; i < 4; ++i) stored.push_back(bytes[Old() ? i : 3 - i]);
  }
  EXPECT_EQ(module.Send(ReadRequest(8, At().corrections)), stored);
  const MemoryBytes memory = module.module->Memory();
  EXPECT_TRUE(Old() || memory[510] == Check(memory, 96, 103));
}

}  // namespace
}  // namespace q5480::test
