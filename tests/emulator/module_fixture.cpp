#include "module_fixture.h"

namespace q5480::test {

namespace {

bool Acknowledged(const std::optional<Bytes>& reply, MemoryLayout layout, const Bytes& request) {
  if (!reply) return false;
  if (layout == MemoryLayout::Old) return reply->empty();
  return *reply == Bytes{request[1], request[2], request[3]};
}

bool SendBlocks(ClockedModule& module, const ModuleMemory& wanted, std::size_t first,
                std::size_t end) {
  for (std::size_t address = first; address < end; address += 16) {
    const std::size_t count = std::min<std::size_t>(16, end - address);
    const Bytes request = WriteRequest(address, wanted.Bytes(), count);
    if (!Acknowledged(module.Send(request), wanted.Layout(), request)) return false;
  }
  return true;
}

}  // namespace

Bytes ReadRequest(std::size_t count, std::size_t address) {
  return {'s', static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(address >> 8),
          static_cast<std::uint8_t>(address)};
}

Bytes WriteRequest(std::size_t address, const MemoryBytes& from, std::size_t count) {
  Bytes request{'D', static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(address >> 8),
                static_cast<std::uint8_t>(address)};
  for (std::size_t i = 0; i < count; ++i) request.push_back(from[address + i]);
  return request;
}

ModuleMemory LinearMemory(MemoryLayout layout, const ModuleSetup& setup) {
  ModuleMemory memory(layout);
  const auto& at = memory.Addresses();
  auto& bytes = memory.Bytes();
  bytes[at.inputCode] = setup.inputCode;
  bytes[at.unitsAndPoint] = setup.unitsAndPoint;
  bytes[at.filterLimit] = setup.filterLimit;
  bytes[at.typ] = setup.typ;
  const double span = setup.signalHigh - setup.signalLow;
  memory.SetFloat(at.signalLow, setup.signalLow);
  memory.SetFloat(at.signalStep, span / 200);
  memory.SetFloat(at.minInput, setup.minInput);
  memory.SetFloat(at.span, setup.maxInput - setup.minInput);
  for (std::size_t k = 0; k < 202; ++k) {
    memory.SetFloat(at.segments + 8 * k, -setup.signalLow / span);
    memory.SetFloat(at.segments + 8 * k + 4, 1 / span);
  }
  memory.SetFloat(at.corrections, setup.zero);
  memory.SetFloat(at.corrections + 4, setup.gain);
  if (layout == MemoryLayout::Old) {
    for (std::size_t i = 0; i < 3; ++i) memory.SetFloat(68 + 4 * i, setup.coldJunction[i]);
  }
  SealSegments(memory);
  return memory;
}

void SealSegments(ModuleMemory& memory) {
  if (memory.Layout() != MemoryLayout::New) return;
  auto& bytes = memory.Bytes();
  const std::uint8_t c = Check(bytes, 1088, 2747);
  for (std::size_t i = 2748; i <= 2751; ++i) bytes[i] = c;
}

bool WriteConfiguration(ClockedModule& module, const ModuleMemory& wanted) {
  if (module.Send({0xEF, 0, 0}) != Bytes{}) return false;
  const auto& bytes = wanted.Bytes();
  if (wanted.Layout() == MemoryLayout::New) {
    if (!SendBlocks(module, wanted, 16, 208) || !SendBlocks(module, wanted, 1088, 2752)) return false;
    const std::uint8_t c = bytes[2751];
    const auto n = [](std::uint8_t v) { return static_cast<std::uint8_t>(~v); };
    if (module.Send({'L', 1, c, n(c), c, n(c), c, n(c)}) != Bytes{}) return false;
    const std::uint8_t a = Check(bytes, 16, 23), b = Check(bytes, 24, 95), d = Check(bytes, 96, 103);
    return module.Send({'L', 2, a, n(a), b, n(b), d, n(d)}) == Bytes{};
  }
  // Blocks 0 to 1855 that stay clear of the factory area, the corrections
  // block, then the compensation floats.
  for (std::size_t address = 0; address < 1856; address += 16) {
    if (address + 16 > 16 && address < 68) continue;
    if (!SendBlocks(module, wanted, address, address + 16)) return false;
  }
  if (!SendBlocks(module, wanted, 2016, 2032) || !SendBlocks(module, wanted, 68, 80)) return false;
  int sum = 0;
  for (std::size_t i = 0; i <= 7; ++i) sum += bytes[i];
  for (std::size_t i = 68; i <= 1711; ++i) sum += bytes[i];
  const auto c = static_cast<std::uint8_t>(255 - sum % 256);
  return module.Send({'L', 1, c, c, c}) == Bytes{};
}

}  // namespace q5480::test
