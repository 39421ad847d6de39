#include "emulator/module_memory.h"

#include "config/module_image.h"

namespace q5480 {

namespace {

constexpr LayoutAddresses kOldAddresses{
    .inputCode = 2,
    .unitsAndPoint = 7,
    .filterLimit = 6,
    .typ = 2030,
    .signalLow = 80,
    .signalStep = 84,
    .minInput = 88,
    .span = 92,
    .segments = 96,
    .corrections = 2020,
    .textFirst = 1712,
    .textLast = 1791,
    .factoryFirst = 16,
    .factoryLast = 67,
    .writableEnd = 2048,
};

constexpr LayoutAddresses kNewAddresses{
    .inputCode = 18,
    .unitsAndPoint = 23,
    .filterLimit = 22,
    .typ = 26,
    .signalLow = 2704,
    .signalStep = 2708,
    .minInput = 2712,
    .span = 2716,
    .segments = 1088,
    .corrections = 96,
    .textFirst = 128,
    .textLast = 207,
    .factoryFirst = 1024,
    .factoryLast = 1087,
    .writableEnd = 2752,
};

void PutBigEndian16(MemoryBytes& bytes, std::size_t address, std::uint16_t value) {
  bytes[address] = static_cast<std::uint8_t>(value >> 8);
  bytes[address + 1] = static_cast<std::uint8_t>(value);
}

void PutLittleEndian16(MemoryBytes& bytes, std::size_t address, std::uint16_t value) {
  bytes[address] = static_cast<std::uint8_t>(value);
  bytes[address + 1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace

MemoryLayout LayoutOfIdentifier(const std::string& identifier) {
  return !identifier.empty() && static_cast<unsigned char>(identifier[0]) > '1' ? MemoryLayout::New
                                                                                : MemoryLayout::Old;
}

const LayoutAddresses& AddressesOf(MemoryLayout layout) {
  return layout == MemoryLayout::New ? kNewAddresses : kOldAddresses;
}

std::uint8_t CheckOf(const MemoryBytes& bytes, std::size_t first, std::size_t last) {
  unsigned sum = 0;
  for (std::size_t i = first; i <= last; ++i) sum += bytes[i];
  return static_cast<std::uint8_t>(255 - (sum & 0xFF));
}

std::array<std::uint8_t, 4> ModuleMemory::FloatBytes(std::size_t address) const {
  std::array<std::uint8_t, 4> result{};
  for (std::size_t i = 0; i < 4; ++i) {
    result[i] = layout_ == MemoryLayout::New ? bytes_[address + 3 - i] : bytes_[address + i];
  }
  return result;
}

void ModuleMemory::SetFloatBytes(std::size_t address, const std::array<std::uint8_t, 4>& value) {
  for (std::size_t i = 0; i < 4; ++i) {
    if (layout_ == MemoryLayout::New) {
      bytes_[address + 3 - i] = value[i];
    } else {
      bytes_[address + i] = value[i];
    }
  }
}

double ModuleMemory::Float(std::size_t address) const {
  const auto value = FloatBytes(address);
  return DecodeModuleFloat(value.data());
}

void ModuleMemory::SetFloat(std::size_t address, double value) {
  SetFloatBytes(address, EncodeModuleFloat(value));
}

void ModuleMemory::WriteFactoryArea(const FactoryData& factory) {
  const std::size_t base = layout_ == MemoryLayout::New ? 1024 : 16;
  if (layout_ == MemoryLayout::New) {
    PutLittleEndian16(bytes_, base, factory.modelNumber);
  } else {
    PutBigEndian16(bytes_, base, factory.modelNumber);
  }
  // Date and serial number keep the image's big-endian order in both layouts.
  PutBigEndian16(bytes_, base + 2, factory.factoryDay);
  PutBigEndian16(bytes_, base + 4, static_cast<std::uint16_t>(factory.serial >> 16));
  PutBigEndian16(bytes_, base + 6, static_cast<std::uint16_t>(factory.serial));
  for (std::size_t i = 0; i < factory.values.size(); ++i) {
    SetFloat(base + 8 + 4 * i, factory.values[i]);
  }
  if (layout_ == MemoryLayout::New) {
    for (std::size_t i = 1072; i < 1080; ++i) bytes_[i] = 0;
    PutLittleEndian16(bytes_, 1080, factory.words[0]);
    PutLittleEndian16(bytes_, 1082, factory.words[1]);
    for (std::size_t i = 1084; i < 1087; ++i) bytes_[i] = 0;
    bytes_[1087] = CheckOf(bytes_, 1024, 1086);
  } else {
    PutBigEndian16(bytes_, 64, factory.words[0]);
    PutBigEndian16(bytes_, 66, factory.words[1]);
    for (std::size_t i = 0; i < 4; ++i) {
      bytes_[2048 + i] = i < factory.identifier.size()
                             ? static_cast<std::uint8_t>(factory.identifier[i])
                             : static_cast<std::uint8_t>(' ');
    }
  }
}

std::uint8_t ModuleMemory::OldConfigurationCheck() const {
  unsigned sum = 0;
  for (std::size_t i = 0; i <= 7; ++i) sum += bytes_[i];
  for (std::size_t i = 68; i <= 1711; ++i) sum += bytes_[i];
  return static_cast<std::uint8_t>(255 - (sum & 0xFF));
}

}  // namespace q5480
