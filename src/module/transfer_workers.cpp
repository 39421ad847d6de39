#include "module/transfer_workers.h"

#include <algorithm>
#include <span>

namespace q5480 {
namespace {

struct AddressRange {
  std::size_t first;
  std::size_t last;  // inclusive
};

constexpr AddressRange kNewConfigurationRanges[] = {{16, 207}, {1024, 1031}, {2704, 2719}};
constexpr AddressRange kOldConfigurationRanges[] = {{0, 23}, {80, 95}, {1712, 1855}, {2016, 2031}};
constexpr AddressRange kNewVerificationRanges[] = {{16, 47}, {96, 108}, {128, 207}, {1088, 2719}};
constexpr AddressRange kOldVerificationRanges[] = {{0, 7}, {68, 1791}, {2016, 2031}};
constexpr AddressRange kNewFactoryDataRanges[] = {{1024, 1031}};
constexpr AddressRange kOldFactoryDataRanges[] = {{16, 23}};

constexpr std::size_t kOldMemorySize = 2048;

// The newer firmware's settings and segment areas, 16-byte blocks.
constexpr AddressRange kNewWriteRanges[] = {{16, 207}, {1088, 2751}};
// The older firmware's factory area, never written.
constexpr AddressRange kOldFactoryArea = {16, 67};
constexpr std::size_t kOldWriteEnd = 1855;
constexpr std::size_t kOldCorrectionsBlock = 2016;
constexpr std::size_t kOldCompensationBlock = 68;
constexpr std::size_t kOldCompensationLength = 12;

constexpr std::size_t kSegmentCheck = 2751;
constexpr std::size_t kSettingsChecks[] = {508, 509, 510};
constexpr std::size_t kInfoFirst = image_offset::kKod;
constexpr std::size_t kInfoBlocks = 10;
constexpr std::size_t kInfoBlock = 8;
constexpr std::size_t kInfoNewAddress = 128;

std::span<const AddressRange> RangesOf(int kind, bool newLayout) {
  if (kind == kReadKindFactoryData) {
    return newLayout ? std::span<const AddressRange>(kNewFactoryDataRanges)
                     : std::span<const AddressRange>(kOldFactoryDataRanges);
  }
  if (kind == kReadKindConfiguration) {
    return newLayout ? std::span<const AddressRange>(kNewConfigurationRanges)
                     : std::span<const AddressRange>(kOldConfigurationRanges);
  }
  return newLayout ? std::span<const AddressRange>(kNewVerificationRanges)
                   : std::span<const AddressRange>(kOldVerificationRanges);
}

// Stops a sequence once the transfer has been cancelled.
LinkStatus Running(const Link& link) {
  return link.TransferRunning() ? LinkStatus::Success : LinkStatus::Aborted;
}

// One "s" block into `memory`; the reply must repeat count and address.
LinkStatus ReadBlock(CommandSet& commands, std::size_t address, std::size_t count,
                     std::span<std::uint8_t> memory) {
  const LinkBuffer request = commands.PrepareCommand(
      request_code::kRead, static_cast<std::uint32_t>(count << 16 | address));
  LinkBuffer reply{};
  if (const LinkStatus status = commands.GetLink().SendWithRetries(request, reply);
      !Succeeded(status)) {
    return status;
  }
  if (reply[0] != count || reply[1] != HighByte(address) || reply[2] != LowByte(address)) {
    return LinkStatus::BadReply;
  }
  std::copy_n(reply.begin() + kBlockHeader, count, memory.begin() + static_cast<long>(address));
  return LinkStatus::Success;
}

// One "D" block of `data` to `address`. With an awaited reply (L = 3) the
// reply must repeat count and address.
LinkStatus WriteBlock(Link& link, std::size_t address, std::span<const std::uint8_t> data,
                      bool replyAwaited) {
  constexpr std::size_t kHeader = 1 + kBlockHeader;  // "D", count, address
  std::array<std::uint8_t, kHeader + kMaxBlock> bytes{request_code::kWrite,
                                                      static_cast<std::uint8_t>(data.size()),
                                                      HighByte(address), LowByte(address)};
  std::copy(data.begin(), data.end(), bytes.begin() + kHeader);
  const LinkBuffer request =
      MakeRequest(std::span<const std::uint8_t>(bytes.data(), kHeader + data.size()),
                  replyAwaited ? kBlockHeader : 0);
  LinkBuffer reply{};
  if (const LinkStatus status = link.SendFlagged(request, reply); !Succeeded(status)) return status;
  const bool repeated =
      reply[0] == data.size() && reply[1] == HighByte(address) && reply[2] == LowByte(address);
  return !replyAwaited || repeated ? LinkStatus::Success : LinkStatus::BadReply;
}

LinkStatus Store(Link& link, std::initializer_list<std::uint8_t> data) {
  if (!link.TransferRunning()) return LinkStatus::Aborted;
  LinkBuffer reply{};
  return link.SendFlagged(MakeRequest(data, 0), reply);
}

std::uint8_t Not(std::uint8_t value) { return static_cast<std::uint8_t>(~value); }

LinkStatus WriteNewLayout(CommandSet& commands, const MapLimits& limits) {
  Link& link = commands.GetLink();
  const MemoryMap map = PackImage(commands.Image(), limits);
  long done = 0;
  int last = 0;
  for (const AddressRange& range : kNewWriteRanges) {
    for (std::size_t address = range.first; address <= range.last; address += kMaxBlock) {
      LinkStatus status = Running(link);
      if (Succeeded(status)) {
        status = WriteBlock(link, address, std::span(map.data() + address, kMaxBlock), true);
      }
      if (!Succeeded(status)) return status;
      done += kMaxBlock;
      link.ReportProgress(done, kNewLayoutWriteTotal, last);
    }
  }
  const std::uint8_t c = map[kSegmentCheck];
  const std::uint8_t a = map[kSettingsChecks[0]];
  const std::uint8_t b = map[kSettingsChecks[1]];
  const std::uint8_t d = map[kSettingsChecks[2]];
  if (const LinkStatus status =
          Store(link, {request_code::kStore, 1, c, Not(c), c, Not(c), c, Not(c)});
      !Succeeded(status)) {
    return status;
  }
  return Store(link, {request_code::kStore, 2, a, Not(a), b, Not(b), d, Not(d)});
}

LinkStatus WriteOldLayout(CommandSet& commands) {
  Link& link = commands.GetLink();
  // What goes to the module; the image itself keeps the fixed point bit.
  ModuleImage sent = commands.Image();
  if (ClearsFixedPoint(false, commands.IdentifiedId())) {
    sent[image_offset::kUnitsAndPoint] &= static_cast<std::uint8_t>(~kFixedPointBit);
  }
  // The store is refused unless its check covers the bytes actually sent.
  const std::uint8_t c = sent.ComputeCheckByte();

  std::vector<std::pair<std::size_t, std::size_t>> blocks;  // address, length
  for (std::size_t address = 0; address <= kOldWriteEnd; address += kMaxBlock) {
    const bool inFactoryArea =
        address <= kOldFactoryArea.last && address + kMaxBlock > kOldFactoryArea.first;
    if (!inFactoryArea) blocks.emplace_back(address, kMaxBlock);
  }
  blocks.emplace_back(kOldCorrectionsBlock, kMaxBlock);
  blocks.emplace_back(kOldCompensationBlock, kOldCompensationLength);

  long done = 0;
  int last = 0;
  for (const auto& [address, length] : blocks) {
    LinkStatus status = Running(link);
    if (Succeeded(status)) {
      status = WriteBlock(link, address, std::span(sent.bytes.data() + address, length), false);
    }
    if (!Succeeded(status)) return status;
    // The last two blocks lie outside the run of addresses; the bar never
    // goes back.
    done = std::max(done, static_cast<long>(address));
    link.ReportProgress(done, kOldLayoutWriteTotal, last);
  }
  return Store(link, {request_code::kStore, 1, c, c, c});
}

}  // namespace

LinkStatus ReadWorker(CommandSet& commands, int kind, const MapLimits& limits) {
  Link& link = commands.GetLink();
  if (const LinkStatus identified = commands.Identify(); !Succeeded(identified)) return identified;
  const bool newLayout = commands.NewLayout();
  MemoryMap memory{};
  if (newLayout) {
    memory = PackImage(commands.Image(), limits);
  } else {
    std::copy_n(commands.Image().bytes.begin(), kOldMemorySize, memory.begin());
  }

  long total = 0;
  for (const AddressRange& range : RangesOf(kind, newLayout)) total += range.last - range.first + 1;
  long done = 0;
  int last = 0;
  LinkStatus status = LinkStatus::Success;
  for (const AddressRange& range : RangesOf(kind, newLayout)) {
    for (std::size_t address = range.first; address <= range.last; address += kMaxBlock) {
      const std::size_t count = std::min(kMaxBlock, range.last + 1 - address);
      status = Running(link);
      if (Succeeded(status)) status = ReadBlock(commands, address, count, memory);
      if (!Succeeded(status)) break;
      done += static_cast<long>(count);
      link.ReportProgress(done, total, last);
    }
    if (!Succeeded(status)) break;
  }

  if (newLayout) {
    UnpackImage(memory, commands.Image());
  } else {
    std::copy_n(memory.begin(), kOldMemorySize, commands.Image().bytes.begin());
  }
  return status;
}

LinkStatus WriteWorker(CommandSet& commands, const MapLimits& limits) {
  Link& link = commands.GetLink();
  LinkBuffer reply{};
  LinkStatus status = link.SendWithRetries(MakeRequest({request_code::kOpenWrite, 0, 0}, 0), reply);
  if (Succeeded(status)) status = commands.Identify();
  if (Succeeded(status)) {
    status = commands.NewLayout() ? WriteNewLayout(commands, limits) : WriteOldLayout(commands);
  }
  if (Succeeded(status)) {
    // The module has stored the configuration; a cancel now only shortens
    // the settling pauses.
    int last = 0;
    if (link.Pause(commands.Pauses().afterWrite)) {
      link.ReportProgress(1, 1, last);
      link.Pause(commands.Pauses().afterWrite);
    }
  } else if (link.TransferRunning() && status != LinkStatus::PortLost) {
    link.Transact(commands.PrepareCommand(request_code::kRestart), reply);
  }
  return status;
}

LinkStatus InfoWriteWorker(CommandSet& commands) {
  Link& link = commands.GetLink();
  if (const LinkStatus identified = commands.Identify(); !Succeeded(identified)) return identified;
  const std::size_t base = commands.NewLayout() ? kInfoNewAddress : kInfoFirst;
  int last = 0;
  for (std::size_t i = 0; i < kInfoBlocks; ++i) {
    const std::size_t offset = i * kInfoBlock;
    LinkStatus status = Running(link);
    if (Succeeded(status)) {
      status = WriteBlock(
          link, base + offset,
          std::span(commands.Image().bytes.data() + kInfoFirst + offset, kInfoBlock), true);
    }
    if (!Succeeded(status)) return status;
    link.ReportProgress(static_cast<long>(offset + kInfoBlock), kInfoWriteTotal, last);
  }
  return LinkStatus::Success;
}

std::vector<std::size_t> ImageDifferences(const CommandSet& commands, const ModuleImage& expected,
                                          const ModuleImage& read) {
  return VerifyDifferences(expected, read, commands.NewLayout(), commands.Config().ModuleId);
}

}  // namespace q5480
