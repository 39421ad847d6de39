#include "emulator/module_requests.h"

#include <chrono>

#include "config/module_image.h"
#include "emulator/module_store.h"

namespace q5480 {

namespace {

constexpr std::uint8_t kMeasure = 'm';
constexpr std::uint8_t kRead = 's';
constexpr std::uint8_t kWrite = 'D';
constexpr std::uint8_t kStore = 'L';
constexpr std::uint8_t kOpenWrite = 0xEF;
constexpr std::uint8_t kRestart = 'r';
constexpr std::uint8_t kServiceMode = 0x40;
constexpr std::uint8_t kCorrections = 'V';
constexpr std::uint8_t kValue = 'Z';
constexpr std::uint8_t kOutput = 'o';
constexpr std::uint8_t kFlag = 0x80;
constexpr std::uint8_t kIdentifyCount = 0x80;
constexpr std::size_t kMaxBlock = 16;
constexpr std::string_view kServicePassword = "7316";

std::function<double()> SteadyClock() {
  const auto start = std::chrono::steady_clock::now();
  return [start] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
}

std::size_t AddressOf(const std::vector<std::uint8_t>& data) {
  return static_cast<std::size_t>(data[2]) << 8 | data[3];
}

bool Overlaps(std::size_t first, std::size_t end, std::size_t areaFirst, std::size_t areaLast) {
  return first <= areaLast && end > areaFirst;
}

// Each of the three pairs is a byte and its complement.
bool PairsComplement(const std::vector<std::uint8_t>& data) {
  for (std::size_t i = 2; i < 8; i += 2) {
    if (static_cast<std::uint8_t>(~data[i]) != data[i + 1]) return false;
  }
  return true;
}

std::array<std::uint8_t, 4> Take4(const std::vector<std::uint8_t>& data, std::size_t first) {
  return {data[first], data[first + 1], data[first + 2], data[first + 3]};
}

}  // namespace

EmulatedModule::EmulatedModule(ModuleOptions options, std::function<double()> clock)
    : options_(std::move(options)),
      layout_(LayoutOfIdentifier(options_.factory.identifier)),
      clock_(clock ? std::move(clock) : SteadyClock()),
      internalTemperature_(options_.internalTemperature),
      stored_(layout_) {
  if (!options_.memoryFile.empty()) {
    if (auto kept = LoadMemoryFile(options_.memoryFile, layout_)) stored_.Bytes() = *kept;
  }
  stored_.WriteFactoryArea(options_.factory);
  signal_.Set(SignalShape{}, clock_());
}

void EmulatedModule::SetSignal(const SignalShape& shape) { signal_.Set(shape, clock_()); }

void EmulatedModule::SetInternalTemperature(double celsius) { internalTemperature_ = celsius; }

MemoryBytes EmulatedModule::Memory() const {
  std::lock_guard lock(mutex_);
  return stored_.Bytes();
}

void EmulatedModule::PokeMemory(std::size_t address, std::uint8_t value) {
  std::lock_guard lock(mutex_);
  stored_.Bytes().at(address) = value;
}

bool EmulatedModule::WriteOpen() const {
  std::lock_guard lock(mutex_);
  return pending_.has_value();
}

ModuleReply EmulatedModule::Handle(const std::vector<std::uint8_t>& data) {
  if (data.empty()) return std::nullopt;
  std::uint8_t code = data[0];
  if (code == (kWrite | kFlag) || code == (kStore | kFlag)) {
    // The flagged form asks for the same write; older firmware does not know it.
    if (!options_.acceptFlagged) return std::nullopt;
    code &= static_cast<std::uint8_t>(~kFlag);
  }
  std::lock_guard lock(mutex_);
  if (code != kRead && code != kWrite && code != kStore && code != kOpenWrite) {
    // A write that was given up (cancelled without a restart) ends with the
    // first request that is no part of one, so later information writes get
    // their usual reply.
    pending_.reset();
    segmentsConfirmed_ = false;
  }
  switch (code) {
    case kMeasure: return data.size() == 2 ? Measure(data[1]) : std::nullopt;
    case kRead: return Read(data);
    case kWrite: return Write(data);
    case kStore: return Store(data);
    case kOpenWrite:
      if (data.size() != 3 || data[1] != 0 || data[2] != 0) return std::nullopt;
      pending_ = stored_;
      segmentsConfirmed_ = false;
      return std::vector<std::uint8_t>{};
    case kRestart:
      if (data.size() == 1) Restart();
      return std::nullopt;
    case kServiceMode: return EnterServiceMode(data);
    case kCorrections: return WriteCorrections(data);
    case kValue: return Value(data);
    case kOutput: return SetOutput(data);
    default: return std::nullopt;
  }
}

MeasuringConditions EmulatedModule::Conditions() const {
  return MeasuringConditions{internalTemperature_.load(), sensorBroken_.load(),
                             options_.wideCurrent};
}

StatusFlags EmulatedModule::Flags(const Measurement& reading) const {
  StatusFlags flags;
  flags.resultUnit = stored_.Bytes()[stored_.Addresses().unitsAndPoint] & 0x0F;
  flags.calMode = calMode_;
  flags.independentOutput = independentOutput_;
  flags.sensorFault = sensorBroken_;
  flags.eepromError = eepromError_;
  flags.modelIndex = ModelIndexOf(options_.factory.modelNumber);
  flags.wideCurrent = options_.wideCurrent;
  flags.outOfRange = reading.outOfRange;
  return flags;
}

// Mode 0: the corrected signal; 1: the signal at the terminals; 2: the
// result; 4: the position in the input range; 8: the averaged result.
ModuleReply EmulatedModule::Measure(std::uint8_t mode) {
  if (mode != 0 && mode != 1 && mode != 2 && mode != 4 && mode != 8) return std::nullopt;
  const Measurement reading = q5480::Measure(stored_, signal_.ValueAt(clock_()), Conditions());
  const auto step = averaging_.Add(reading.result, reading.fraction,
                                   stored_.Bytes()[stored_.Addresses().filterLimit]);
  double value = reading.result;
  if (mode == 0) value = reading.corrected;
  if (mode == 1) value = reading.raw;
  if (mode == 4) value = reading.fraction;
  if (mode == 8) value = averaging_.Average();

  StatusFlags flags = Flags(reading);
  flags.newAverage = step.newAverage;
  flags.largeError = step.largeError;
  const std::uint16_t current =
      independentOutput_ ? outputCode_ : CurrentCode(reading.current, options_.wideCurrent);
  const auto valueBytes = EncodeModuleFloat(value);
  return std::vector<std::uint8_t>{valueBytes[0],
                                   valueBytes[1],
                                   valueBytes[2],
                                   valueBytes[3],
                                   static_cast<std::uint8_t>(current >> 8),
                                   static_cast<std::uint8_t>(current),
                                   StatusByte1(flags),
                                   StatusByte2(flags)};
}

ModuleReply EmulatedModule::Read(const std::vector<std::uint8_t>& data) {
  if (data.size() != 4) return std::nullopt;
  const std::size_t count = data[1];
  const std::size_t address = AddressOf(data);
  if (count == kIdentifyCount && address == 0) {
    std::vector<std::uint8_t> reply{4, 0, 0};
    for (std::size_t i = 0; i < 4; ++i) {
      const auto& id = options_.factory.identifier;
      reply.push_back(i < id.size() ? static_cast<std::uint8_t>(id[i]) : ' ');
    }
    return reply;
  }
  if (count < 1 || count > kMaxBlock || address + count > kModuleMemorySize) return std::nullopt;
  std::vector<std::uint8_t> reply{data[1], data[2], data[3]};
  const auto& bytes = stored_.Bytes();
  reply.insert(reply.end(), bytes.begin() + address, bytes.begin() + address + count);
  return reply;
}

// Inside an open configuration write the blocks collect until "L" confirms
// them; outside one only the identification texts may change, at once.
ModuleReply EmulatedModule::Write(const std::vector<std::uint8_t>& data) {
  if (data.size() < 4) return std::nullopt;
  const std::size_t count = data[1];
  const std::size_t address = AddressOf(data);
  const std::size_t end = address + count;
  const auto& at = stored_.Addresses();
  if (count < 1 || count > kMaxBlock || data.size() != 4 + count || end > at.writableEnd ||
      Overlaps(address, end, at.factoryFirst, at.factoryLast)) {
    return std::nullopt;
  }
  const bool configuration = pending_.has_value();
  if (configuration) {
    std::copy(data.begin() + 4, data.end(), pending_->Bytes().begin() + address);
  } else {
    if (address < at.textFirst || end > at.textLast + 1) return std::nullopt;
    ModuleMemory candidate = stored_;
    std::copy(data.begin() + 4, data.end(), candidate.Bytes().begin() + address);
    if (!Commit(candidate)) return std::nullopt;
  }
  // The older firmware acknowledges a block of a configuration write with an
  // empty reply; everything else repeats count and address.
  if (configuration && layout_ == MemoryLayout::Old) return std::vector<std::uint8_t>{};
  return std::vector<std::uint8_t>{data[1], data[2], data[3]};
}

ModuleReply EmulatedModule::Store(const std::vector<std::uint8_t>& data) {
  if (!pending_) return std::nullopt;
  return layout_ == MemoryLayout::Old ? StoreOld(data) : StoreNew(data);
}

// "L", 1, c, c, c: c must be the check of what was written.
ModuleReply EmulatedModule::StoreOld(const std::vector<std::uint8_t>& data) {
  if (data.size() != 5 || data[1] != 1 || data[2] != data[3] || data[2] != data[4]) {
    return std::nullopt;
  }
  ModuleMemory candidate = *pending_;
  if (data[2] != candidate.OldConfigurationCheck()) return std::nullopt;
  candidate.Bytes()[2045] = data[2];
  if (!Commit(candidate)) return std::nullopt;
  pending_.reset();
  return std::vector<std::uint8_t>{};
}

// "L", 1 confirms the segment area; "L", 2 brings the three checks of the
// settings and stores the whole configuration.
ModuleReply EmulatedModule::StoreNew(const std::vector<std::uint8_t>& data) {
  if (data.size() != 8 || !PairsComplement(data)) return std::nullopt;
  const MemoryBytes& bytes = pending_->Bytes();
  if (data[1] == 1) {
    const std::uint8_t c = data[2];
    if (data[4] != c || data[6] != c || c != CheckOf(bytes, 1088, 2747)) return std::nullopt;
    for (std::size_t i = 2748; i <= 2751; ++i) {
      if (bytes[i] != c) return std::nullopt;
    }
    segmentsConfirmed_ = true;
    return std::vector<std::uint8_t>{};
  }
  if (data[1] != 2 || !segmentsConfirmed_ || data[2] != CheckOf(bytes, 16, 23) ||
      data[4] != CheckOf(bytes, 24, 95) || data[6] != CheckOf(bytes, 96, 103)) {
    return std::nullopt;
  }
  ModuleMemory candidate = *pending_;
  candidate.Bytes()[508] = data[2];
  candidate.Bytes()[509] = data[4];
  candidate.Bytes()[510] = data[6];
  if (!Commit(candidate)) return std::nullopt;
  pending_.reset();
  segmentsConfirmed_ = false;
  return std::vector<std::uint8_t>{};
}

// "V", 8, address, zero and gain exponent first; stored at once.
ModuleReply EmulatedModule::WriteCorrections(const std::vector<std::uint8_t>& data) {
  if (data.size() != 12 || data[1] != 8 || AddressOf(data) != stored_.Addresses().corrections) {
    return std::nullopt;
  }
  const std::size_t address = stored_.Addresses().corrections;
  auto apply = [&](ModuleMemory& memory) {
    memory.SetFloatBytes(address, Take4(data, 4));
    memory.SetFloatBytes(address + 4, Take4(data, 8));
    if (layout_ == MemoryLayout::New) memory.Bytes()[510] = CheckOf(memory.Bytes(), 96, 103);
  };
  ModuleMemory candidate = stored_;
  apply(candidate);
  if (!Commit(candidate)) return std::nullopt;
  if (pending_) apply(*pending_);
  return std::vector<std::uint8_t>{};
}

// "Z" with a corrected signal as a module float, least significant byte
// first: the result and the current that the module would give for it.
ModuleReply EmulatedModule::Value(const std::vector<std::uint8_t>& data) {
  if (data.size() != 5) return std::nullopt;
  const std::uint8_t bytes[4] = {data[4], data[3], data[2], data[1]};
  MeasuringConditions conditions = Conditions();
  conditions.sensorBroken = false;
  const Measurement reading = MeasureCorrected(stored_, DecodeModuleFloat(bytes), conditions);
  const auto value = EncodeModuleFloat(reading.result);
  const std::uint16_t current = CurrentCode(reading.current, options_.wideCurrent);
  return std::vector<std::uint8_t>{value[0],
                                   value[1],
                                   value[2],
                                   value[3],
                                   static_cast<std::uint8_t>(current >> 8),
                                   static_cast<std::uint8_t>(current)};
}

ModuleReply EmulatedModule::SetOutput(const std::vector<std::uint8_t>& data) {
  if (data.size() != 3) return std::nullopt;
  outputCode_ = static_cast<std::uint16_t>(data[1] << 8 | data[2]);
  independentOutput_ = true;
  return std::vector<std::uint8_t>{};
}

ModuleReply EmulatedModule::EnterServiceMode(const std::vector<std::uint8_t>& data) {
  if (data.size() != 1 + kServicePassword.size() ||
      !std::equal(kServicePassword.begin(), kServicePassword.end(), data.begin() + 1)) {
    return std::nullopt;
  }
  serviceMode_ = true;
  const auto reply = Read({kRead, kIdentifyCount, 0, 0});
  return std::vector<std::uint8_t>(reply->begin() + 3, reply->end());
}

void EmulatedModule::Restart() {
  serviceMode_ = false;
  independentOutput_ = false;
  pending_.reset();
  segmentsConfirmed_ = false;
  averaging_.Reset();
}

bool EmulatedModule::Commit(const ModuleMemory& candidate) {
  if (!options_.memoryFile.empty() &&
      !SaveMemoryFile(options_.memoryFile, layout_, candidate.Bytes())) {
    return false;
  }
  stored_ = candidate;
  averaging_.Reset();
  return true;
}

}  // namespace q5480
