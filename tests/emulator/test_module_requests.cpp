#include <gtest/gtest.h>

#include "config/module_image.h"
#include "module_fixture.h"

namespace q5480::test {
namespace {

constexpr std::uint8_t Not(std::uint8_t v) { return static_cast<std::uint8_t>(~v); }

// ---- Identification and reads ------------------------------------------------

TEST(ModuleReads, IdentifyAnswersTheFourCharactersInBothLayouts) {
  for (const char* id : {kOldId, kNewId}) {
    ClockedModule module(id);
    EXPECT_EQ(module.Send({'s', 0x80, 0, 0}),
              (Bytes{4, 0, 0, std::uint8_t(id[0]), std::uint8_t(id[1]), std::uint8_t(id[2]),
                     std::uint8_t(id[3])}))
        << id;
  }
}

TEST(ModuleReads, IdentifierCharacterChoosesTheLayout) {
  EXPECT_EQ(ClockedModule("1.99").module->Layout(), MemoryLayout::Old);
  EXPECT_EQ(ClockedModule("0ABC").module->Layout(), MemoryLayout::Old);
  EXPECT_EQ(ClockedModule("2000").module->Layout(), MemoryLayout::New);
  EXPECT_EQ(ClockedModule("A000").module->Layout(), MemoryLayout::New);
}

TEST(ModuleReads, FactoryDataSitsWhereEachLayoutKeepsIt) {
  // Model 5495 (0x1577), day 45000 (0xAFC8), serial 1234567 (0x0012D687),
  // first factory value 1.0, words 0x1234 and 0xABCD.
  ClockedModule old(kOldId);
  EXPECT_EQ(old.Send(ReadRequest(8, 16)),
            (Bytes{8, 0, 16, 0x15, 0x77, 0xAF, 0xC8, 0x00, 0x12, 0xD6, 0x87}));
  EXPECT_EQ(old.Send(ReadRequest(4, 24)), (Bytes{4, 0, 24, 0x7F, 0, 0, 0}));
  EXPECT_EQ(old.Send(ReadRequest(4, 64)), (Bytes{4, 0, 64, 0x12, 0x34, 0xAB, 0xCD}));
  EXPECT_EQ(old.Send(ReadRequest(4, 2048)), (Bytes{4, 0x08, 0x00, '1', '.', '2', '3'}));

  ClockedModule fresh(kNewId);
  EXPECT_EQ(fresh.Send(ReadRequest(8, 1024)),
            (Bytes{8, 0x04, 0x00, 0x77, 0x15, 0xAF, 0xC8, 0x00, 0x12, 0xD6, 0x87}));
  EXPECT_EQ(fresh.Send(ReadRequest(4, 1032)), (Bytes{4, 0x04, 0x08, 0, 0, 0, 0x7F}));
  EXPECT_EQ(fresh.Send(ReadRequest(4, 1080)), (Bytes{4, 0x04, 0x38, 0x34, 0x12, 0xCD, 0xAB}));
  const MemoryBytes memory = fresh.module->Memory();
  EXPECT_EQ(memory[1087], Check(memory, 1024, 1086));
}

TEST(ModuleReads, MalformedReadsStaySilent) {
  ClockedModule module(kNewId);
  EXPECT_TRUE(module.Send(ReadRequest(16, 4080)).has_value());
  const Bytes silent[] = {
      ReadRequest(0, 100),    // nothing to read
      ReadRequest(17, 100),   // more than a block
      ReadRequest(16, 4081),  // past the end
      {'s', 4, 0},            // too short
      {'s', 4, 0, 0, 0},      // too long
      {'s', 0x80, 0, 1},      // identify with an address
  };
  for (const auto& request : silent) EXPECT_FALSE(module.Send(request).has_value());
}

// ---- Configuration writes ---------------------------------------------------

TEST(ModuleWrites, WrittenConfigurationIsStoredInBothLayouts) {
  for (const char* id : {kOldId, kNewId}) {
    ClockedModule module(id);
    const ModuleMemory wanted = LinearMemory(module.module->Layout(), ModuleSetup{});
    ASSERT_TRUE(WriteConfiguration(module, wanted)) << id;
    const MemoryBytes stored = module.module->Memory();
    const auto& at = wanted.Addresses();
    for (std::size_t a = at.segments; a < at.segments + 202 * 8; ++a) {
      ASSERT_EQ(stored[a], wanted.Bytes()[a]) << id << " at " << a;
    }
    EXPECT_FALSE(module.module->WriteOpen());
    if (module.module->Layout() == MemoryLayout::New) {
      EXPECT_EQ(stored[508], Check(stored, 16, 23));
      EXPECT_EQ(stored[509], Check(stored, 24, 95));
      EXPECT_EQ(stored[510], Check(stored, 96, 103));
    } else {
      int sum = 0;
      for (std::size_t i = 0; i <= 7; ++i) sum += stored[i];
      for (std::size_t i = 68; i <= 1711; ++i) sum += stored[i];
      EXPECT_EQ(stored[2045], 255 - sum % 256);
    }
  }
}

TEST(ModuleWrites, BlocksAreAnsweredByLayoutAndKindOfWrite) {
  MemoryBytes source{};
  source.fill(0x41);
  ClockedModule old(kOldId);
  // An information write (no 0xEF before it) repeats count and address.
  EXPECT_EQ(old.Send(WriteRequest(1712, source, 8)), (Bytes{8, 0x06, 0xB0}));
  ASSERT_EQ(old.Send({0xEF, 0, 0}), Bytes{});
  EXPECT_EQ(old.Send(WriteRequest(96, source, 16)), Bytes{});

  ClockedModule fresh(kNewId);
  EXPECT_EQ(fresh.Send(WriteRequest(128, source, 8)), (Bytes{8, 0, 128}));
  ASSERT_EQ(fresh.Send({0xEF, 0, 0}), Bytes{});
  EXPECT_EQ(fresh.Send(WriteRequest(1088, source, 16)), (Bytes{16, 0x04, 0x40}));
}

TEST(ModuleWrites, InformationWriteChangesTheTextsAtOnceAndNothingElse) {
  for (const char* id : {kOldId, kNewId}) {
    ClockedModule module(id);
    const auto& at = AddressesOf(module.module->Layout());
    MemoryBytes source{};
    source.fill('x');
    ASSERT_TRUE(module.Send(WriteRequest(at.textFirst, source, 16)).has_value());
    ASSERT_TRUE(module.Send(WriteRequest(at.textLast - 7, source, 8)).has_value());
    EXPECT_EQ(module.module->Memory()[at.textFirst], 'x');
    EXPECT_EQ(module.module->Memory()[at.textLast], 'x');
    // Outside the texts a write needs an open configuration write.
    const MemoryBytes before = module.module->Memory();
    EXPECT_FALSE(module.Send(WriteRequest(at.segments, source, 16)).has_value()) << id;
    EXPECT_FALSE(module.Send(WriteRequest(at.textLast - 7, source, 9)).has_value()) << id;
    EXPECT_EQ(module.module->Memory(), before);
  }
}

TEST(ModuleWrites, FactoryAreaAndBadBlocksAreRefused) {
  for (const char* id : {kOldId, kNewId}) {
    ClockedModule module(id);
    const auto& at = AddressesOf(module.module->Layout());
    MemoryBytes source{};
    ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
    const Bytes refused[] = {
        WriteRequest(at.factoryFirst, source, 1),
        WriteRequest(at.factoryLast, source, 1),
        WriteRequest(at.factoryFirst - 8, source, 9),
        WriteRequest(at.writableEnd - 8, source, 9),
        WriteRequest(200, source, 17),
        {'D', 4, 0, 200, 1, 2, 3},  // count and data disagree
        {'D', 0, 0, 200},
    };
    for (const auto& request : refused) {
      EXPECT_FALSE(module.Send(request).has_value()) << id << " at " << int(request[3]);
    }
    EXPECT_TRUE(module.Send(WriteRequest(at.factoryLast + 1, source, 16)).has_value());
    EXPECT_TRUE(module.Send(WriteRequest(at.factoryFirst - 16, source, 16)).has_value());
  }
}

TEST(ModuleWrites, OldStoreNeedsTheCheckOfWhatWasWritten) {
  ClockedModule module(kOldId);
  ModuleMemory wanted = LinearMemory(MemoryLayout::Old, ModuleSetup{});
  ASSERT_TRUE(WriteConfiguration(module, wanted));
  const MemoryBytes stored = module.module->Memory();

  // A second write whose check byte is wrong leaves the first in place.
  ModuleMemory changed = LinearMemory(MemoryLayout::Old, ModuleSetup{.maxInput = 500});
  ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
  ASSERT_EQ(module.Send(WriteRequest(80, changed.Bytes(), 16)), Bytes{});
  const std::uint8_t right = changed.OldConfigurationCheck();
  const std::uint8_t wrong = static_cast<std::uint8_t>(right + 1);
  EXPECT_FALSE(module.Send({'L', 1, wrong, wrong, wrong}).has_value());
  EXPECT_FALSE(module.Send({'L', 1, right, right, wrong}).has_value());
  EXPECT_FALSE(module.Send({'L', 2, right, right, right}).has_value());
  EXPECT_EQ(module.module->Memory(), stored);
  EXPECT_TRUE(module.module->WriteOpen());
  // The segment blocks of `changed` equal those of `wanted`, so the check
  // over what the module now holds is that of `changed`.
  EXPECT_EQ(module.Send({'L', 1, right, right, right}), Bytes{});
  EXPECT_EQ(module.module->Memory()[92], changed.Bytes()[92]);
  EXPECT_EQ(module.module->Memory()[2045], right);
}

TEST(ModuleWrites, NewStoreNeedsBothChecksInOrder) {
  ClockedModule module(kNewId);
  const MemoryBytes blank = module.module->Memory();
  const ModuleMemory wanted = LinearMemory(MemoryLayout::New, ModuleSetup{});
  const auto& bytes = wanted.Bytes();
  ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
  for (std::size_t a = 16; a < 208; a += 16) ASSERT_TRUE(module.Send(WriteRequest(a, bytes, 16)));
  for (std::size_t a = 1088; a < 2752; a += 16) ASSERT_TRUE(module.Send(WriteRequest(a, bytes, 16)));
  const std::uint8_t c = bytes[2751];
  const std::uint8_t a = Check(bytes, 16, 23), b = Check(bytes, 24, 95), d = Check(bytes, 96, 103);
  const Bytes second{'L', 2, a, Not(a), b, Not(b), d, Not(d)};

  EXPECT_FALSE(module.Send(second).has_value()) << "settings stored before the segments";
  const std::uint8_t c1 = static_cast<std::uint8_t>(c + 1);
  EXPECT_FALSE(module.Send({'L', 1, c1, Not(c1), c1, Not(c1), c1, Not(c1)}).has_value());
  EXPECT_FALSE(module.Send({'L', 1, c, c, c, Not(c), c, Not(c)}).has_value());
  ASSERT_EQ(module.Send({'L', 1, c, Not(c), c, Not(c), c, Not(c)}), Bytes{});
  const std::uint8_t a1 = static_cast<std::uint8_t>(a + 1);
  EXPECT_FALSE(module.Send({'L', 2, a1, Not(a1), b, Not(b), d, Not(d)}).has_value());
  EXPECT_EQ(module.module->Memory(), blank) << "nothing stored before the last check";
  ASSERT_EQ(module.Send(second), Bytes{});
  EXPECT_EQ(module.module->Memory()[2751], c);
  EXPECT_EQ(module.module->Memory()[508], a);
}

TEST(ModuleWrites, RestartDropsAnOpenWrite) {
  for (const char* id : {kOldId, kNewId}) {
    ClockedModule module(id);
    const MemoryBytes blank = module.module->Memory();
    const ModuleMemory wanted = LinearMemory(module.module->Layout(), ModuleSetup{});
    ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
    ASSERT_TRUE(module.Send(WriteRequest(96, wanted.Bytes(), 16)).has_value());
    EXPECT_FALSE(module.Send({'r'}).has_value());
    EXPECT_FALSE(module.module->WriteOpen());
    const std::uint8_t c = wanted.OldConfigurationCheck();
    EXPECT_FALSE(module.Send({'L', 1, c, c, c}).has_value());
    EXPECT_EQ(module.module->Memory(), blank) << id;
  }
}

TEST(ModuleWrites, AnyOtherRequestEndsAGivenUpWrite) {
  ClockedModule module(kOldId);
  const MemoryBytes blank = module.module->Memory();
  const ModuleMemory wanted = LinearMemory(MemoryLayout::Old, ModuleSetup{});
  ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
  ASSERT_EQ(module.Send(ReadRequest(4, 0)).value_or(Bytes{}).size(), 7u);
  ASSERT_EQ(module.Send(WriteRequest(96, wanted.Bytes(), 16)), Bytes{});
  EXPECT_TRUE(module.module->WriteOpen()) << "reads belong to a write";
  ASSERT_TRUE(module.Send({'m', 2}).has_value());
  EXPECT_FALSE(module.module->WriteOpen());
  // The texts now go in as an information write, with its reply.
  EXPECT_EQ(module.Send(WriteRequest(1712, wanted.Bytes(), 8)), (Bytes{8, 0x06, 0xB0}));
  const std::uint8_t c = wanted.OldConfigurationCheck();
  EXPECT_FALSE(module.Send({'L', 1, c, c, c}).has_value());
  EXPECT_EQ(module.module->Memory(), blank) << "the blocks were dropped";
}

TEST(ModuleWrites, FlaggedCodesWriteLikePlainOnesUnlessTheFirmwareLacksThem) {
  MemoryBytes source{};
  source.fill(7);
  ClockedModule module(kNewId);
  ASSERT_EQ(module.Send({0xEF, 0, 0}), Bytes{});
  Bytes flagged = WriteRequest(1088, source, 16);
  flagged[0] = 0xC4;
  EXPECT_EQ(module.Send(flagged), (Bytes{16, 0x04, 0x40}));

  ModuleOptions options = ClockedModule::OptionsWithId(kNewId);
  options.acceptFlagged = false;
  ClockedModule plainOnly(options);
  ASSERT_EQ(plainOnly.Send({0xEF, 0, 0}), Bytes{});
  EXPECT_FALSE(plainOnly.Send(flagged).has_value());
  EXPECT_FALSE(plainOnly.Send({0xCC, 1, 0, 0xFF, 0, 0xFF, 0, 0xFF}).has_value());
  EXPECT_EQ(plainOnly.Send(WriteRequest(1088, source, 16)), (Bytes{16, 0x04, 0x40}));
}

TEST(ModuleWrites, StoreWithoutAnOpenWriteOrMalformedOpeningStaysSilent) {
  ClockedModule module(kOldId);
  const std::uint8_t c = module.module->Memory()[2045];
  EXPECT_FALSE(module.Send({'L', 1, c, c, c}).has_value());
  EXPECT_FALSE(module.Send({0xEF, 0, 1}).has_value());
  EXPECT_FALSE(module.Send({0xEF, 0}).has_value());
  EXPECT_FALSE(module.module->WriteOpen());
}

// ---- Service requests -------------------------------------------------------

TEST(ModuleService, ServiceModeNeedsThePasswordAndEndsWithRestart) {
  ClockedModule module(kNewId);
  EXPECT_FALSE(module.Send({0x40, '7', '3', '1', '7'}).has_value());
  EXPECT_FALSE(module.module->InServiceMode());
  EXPECT_EQ(module.Send({0x40, '7', '3', '1', '6'}), (Bytes{'2', '1', '0', '4'}));
  EXPECT_TRUE(module.module->InServiceMode());
  EXPECT_FALSE(module.Send({'r'}).has_value());
  EXPECT_FALSE(module.module->InServiceMode());
}

TEST(ModuleService, CorrectionsAreStoredInTheLayoutsByteOrder) {
  const std::array<std::uint8_t, 4> zero = EncodeModuleFloat(1.5);
  const std::array<std::uint8_t, 4> gain = EncodeModuleFloat(-0.25);

  ClockedModule old(kOldId);
  Bytes request{'V', 8, 0x07, 0xE4, zero[0], zero[1], zero[2], zero[3],
                gain[0], gain[1], gain[2], gain[3]};
  EXPECT_EQ(old.Send(request), Bytes{});
  EXPECT_EQ(old.Send(ReadRequest(8, 2020)),
            (Bytes{8, 0x07, 0xE4, zero[0], zero[1], zero[2], zero[3], gain[0], gain[1], gain[2],
                   gain[3]}));

  ClockedModule fresh(kNewId);
  EXPECT_FALSE(fresh.Send(request).has_value()) << "the old address on a new module";
  request[2] = 0;
  request[3] = 96;
  EXPECT_EQ(fresh.Send(request), Bytes{});
  EXPECT_EQ(fresh.Send(ReadRequest(8, 96)),
            (Bytes{8, 0, 96, zero[3], zero[2], zero[1], zero[0], gain[3], gain[2], gain[1],
                   gain[0]}));
  const MemoryBytes memory = fresh.module->Memory();
  EXPECT_EQ(memory[510], Check(memory, 96, 103));
}

TEST(ModuleService, MalformedServiceRequestsStaySilent) {
  ClockedModule module(kNewId);
  const Bytes silent[] = {
      {'V', 8, 0, 96, 1, 2, 3},  // too short
      {'Z', 1, 2, 3},            {'o', 1},       {'r', 0},
      {'m'},                     {'m', 3},       {'m', 2, 0},
      {0x40, '7', '3', '1'},     {0x99, 0, 0},
  };
  for (const auto& request : silent) EXPECT_FALSE(module.Send(request).has_value());
}

}  // namespace
}  // namespace q5480::test
