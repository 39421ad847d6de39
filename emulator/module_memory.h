// The emulated module's configuration memory in either firmware layout, and
// the factory area that every module carries from production.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace q5480 {

inline constexpr std::size_t kModuleMemorySize = 4096;
using MemoryBytes = std::array<std::uint8_t, kModuleMemorySize>;

// Old: the configuration image itself at 0 to 2047, floats exponent first.
// New: the later memory map with check bytes, floats least significant first.
enum class MemoryLayout { Old, New };

// The first identifier character above "1" marks the newer firmware.
MemoryLayout LayoutOfIdentifier(const std::string& identifier);

// Where the module finds what it measures with.
struct LayoutAddresses {
  std::size_t inputCode;
  std::size_t unitsAndPoint;
  std::size_t filterLimit;
  std::size_t typ;
  std::size_t signalLow;
  std::size_t signalStep;
  std::size_t minInput;
  std::size_t span;
  std::size_t segments;      // 202 pairs: offset, then slope
  std::size_t corrections;   // zero, then gain
  std::size_t textFirst;     // the identification texts, the only area an
  std::size_t textLast;      // information write may change
  std::size_t factoryFirst;  // read only
  std::size_t factoryLast;
  std::size_t writableEnd;  // first address that no write reaches
};
const LayoutAddresses& AddressesOf(MemoryLayout layout);

// What production wrote into the module.
struct FactoryData {
  std::string identifier = "2104";   // four characters
  std::uint16_t modelNumber = 5495;  // digits of the model name
  std::uint16_t factoryDay = 45000;  // day number from 30 December 1899
  std::uint32_t serial = 1234567;
  std::array<double, 10> values{1.0, 0.5, -0.25, 100.0, 0.001, 2.5, 0, 0, 0, 0};
  std::array<std::uint16_t, 2> words{0x1234, 0xABCD};
};

// 255 minus the 8-bit sum of the bytes first to last.
std::uint8_t CheckOf(const MemoryBytes& bytes, std::size_t first, std::size_t last);

class ModuleMemory {
 public:
  explicit ModuleMemory(MemoryLayout layout) : layout_(layout) {}

  MemoryLayout Layout() const { return layout_; }
  const LayoutAddresses& Addresses() const { return AddressesOf(layout_); }

  MemoryBytes& Bytes() { return bytes_; }
  const MemoryBytes& Bytes() const { return bytes_; }

  // A module float at `address`, in the byte order of the layout.
  double Float(std::size_t address) const;
  void SetFloat(std::size_t address, double value);
  // Four bytes exponent first, whatever the layout holds.
  std::array<std::uint8_t, 4> FloatBytes(std::size_t address) const;
  void SetFloatBytes(std::size_t address, const std::array<std::uint8_t, 4>& bytes);

  // Writes the factory area (and, for the old layout, the identifier after
  // the image) in the layout's encodings.
  void WriteFactoryArea(const FactoryData& factory);

  // The check byte over the configuration that "L" confirms (old layout).
  std::uint8_t OldConfigurationCheck() const;

 private:
  MemoryLayout layout_;
  MemoryBytes bytes_{};
};

}  // namespace q5480
