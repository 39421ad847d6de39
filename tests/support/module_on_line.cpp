#include "support/module_on_line.h"

#include "config/module_image.h"

namespace q5480::test_support {

double HeldFloat(const EmulatedModule& module, std::size_t address) {
  const MemoryBytes memory = module.Memory();
  const std::uint8_t bytes[4] = {memory[address + 3], memory[address + 2], memory[address + 1],
                                 memory[address]};
  return DecodeModuleFloat(bytes);
}

std::optional<Bytes> Interposer::Handle(const Bytes& data) {
  std::lock_guard lock(mutex_);
  requests_.push_back(data);
  const long seen = static_cast<long>(requests_.size());
  if (silentAfter_ >= 0 && seen > silentAfter_) {
    // The whole line dies: no echo, no reply.
    faults_.SilenceFor(std::chrono::minutes(1));
    return std::nullopt;
  }
  if (lateEvery_ > 0 && seen % lateEvery_ == 0 && seen < lateUntil_) faults_.Arm(Fault::LateAnswer);
  const auto overridden = overrides_.find(static_cast<std::uint8_t>(data[0] & 0x7F));
  if (overridden != overrides_.end()) return overridden->second;
  if (spoilShare_ > 0 && std::uniform_real_distribution<>(0, 1)(random_) < spoilShare_) {
    // Bytes spoiled on the line; silence has tests of its own.
    static constexpr Fault kLineFaults[] = {Fault::CorruptEcho, Fault::CorruptReplyCheck,
                                            Fault::WrongLength, Fault::WrongStart};
    faults_.Arm(kLineFaults[std::uniform_int_distribution<std::size_t>(0, 3)(random_)]);
  }
  return module_.Handle(data);
}

void Interposer::Override(std::uint8_t code, std::optional<Bytes> reply) {
  std::lock_guard lock(mutex_);
  overrides_[static_cast<std::uint8_t>(code & 0x7F)] = std::move(reply);
}

void Interposer::SilentAfter(long count) {
  std::lock_guard lock(mutex_);
  silentAfter_ = count;
}

void Interposer::LateAfterEvery(long count, long until) {
  std::lock_guard lock(mutex_);
  lateEvery_ = count;
  lateUntil_ = until;
}

void Interposer::SpoilAtRandom(double share, unsigned seed) {
  std::lock_guard lock(mutex_);
  spoilShare_ = share;
  random_.seed(seed);
}

std::vector<Bytes> Interposer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void Interposer::ClearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

long Interposer::CountOf(std::uint8_t code) const {
  long count = 0;
  for (const Bytes& request : Requests()) count += (request[0] & 0x7F) == (code & 0x7F);
  return count;
}

ModuleOptions ModuleWith(const std::string& identifier, std::uint16_t model) {
  ModuleOptions options;
  options.factory.identifier = identifier;
  options.factory.modelNumber = model;
  return options;
}

LinkSettings TestLinkSettings(const std::filesystem::path& portsFolder) {
  LinkSettings settings;
  settings.ports = PortEnvironment::OnlyLinksIn(portsFolder);
  settings.portSettleTime = std::chrono::milliseconds(1);
  settings.workerSilenceBound = std::chrono::seconds(5);
  settings.progressAckBound = std::chrono::seconds(3);
  return settings;
}

ModuleOnLine::ModuleOnLine(ModuleOptions options, const std::filesystem::path& portsFolder,
                           int port, int baud)
    : module(std::move(options)),
      emulator(interposer, baud),
      interposer(module, emulator.Faults()) {
  std::filesystem::create_directories(portsFolder);
  link_ = portsFolder / ("com" + std::to_string(port));
  std::filesystem::remove(link_);
  std::filesystem::create_symlink(emulator.SlavePath(), link_);
  emulator.Start();
}

void ModuleOnLine::Unplug() {
  emulator.Unplug();
  std::filesystem::remove(link_);
}

void ModuleOnLine::Replug() {
  emulator.Plug();
  std::filesystem::create_symlink(emulator.SlavePath(), link_);
}

ModuleOnLine::~ModuleOnLine() { emulator.Stop(); }

bool ModuleOnLine::Settle() {
  if (!emulator.SettleAndResetCounts(std::chrono::milliseconds(20), std::chrono::seconds(5))) {
    return false;
  }
  interposer.ClearRequests();
  return true;
}

}  // namespace q5480::test_support
