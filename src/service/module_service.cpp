#include "service/module_service.h"

#include <algorithm>

#include "config/scoped_flag.h"
#include "module/transfer_workers.h"

namespace q5480 {
namespace {

constexpr int kModelCodeOffset = 100;

std::uint16_t DayNumberOf(const CivilDate& date) {
  return static_cast<std::uint16_t>(DayNumber(date));
}

}  // namespace

int ReportedModelCode(const DeviceStatus& status) {
  int code = ModelCodeAt(status.ModelIndex);
  if (code >= kModelCodeOffset) code -= kModelCodeOffset;
  return code;
}

bool ReadBroughtNoCoefficients(const ModuleConfig& config) {
  return HoldsCoefficients(config.Lin) &&
         std::all_of(config.Coefficients.begin(), config.Coefficients.end(),
                     [](double value) { return value == 0; });
}

ModuleService::ModuleService(Link& link, const ConversionContext& conversion, ModuleImage& image,
                             CommandPauses pauses)
    : link_(link),
      conversion_(conversion),
      image_(image),
      commands_(link, conversion.config, image, pauses) {}

LinkStatus ModuleService::Transfer(Link::Worker worker, const TransferObserver& observer) {
  if (transferRunning_) return LinkStatus::Busy;
  ScopedFlag busy(transferRunning_);
  const bool polling = link_.LinkStarted();
  link_.StopPolling();
  LinkStatus status = link_.RunWorker(std::move(worker));
  if (Succeeded(status)) status = link_.AwaitWorker(observer.progress, observer.idle);
  if (polling) link_.StartPolling();
  return status;
}

LinkStatus ModuleService::Identify(const TransferObserver& observer) {
  return Transfer([this] { return commands_.Identify(); }, observer);
}

LinkStatus ModuleService::ReadConfiguration(const TransferObserver& observer) {
  ModuleConfig& config = conversion_.config;
  // The worker fills the image block by block and the identifier into the
  // record: a read that fails must leave both as they were, or the next
  // write or verify would work on a mixture of two modules.
  const ModuleConfig configBefore = config;
  const ModuleImage imageBefore = image_;
  const MapLimits limits = MapLimitsOf(config);
  const LinkStatus status = Transfer(
      [this, limits] { return ReadWorker(commands_, kReadKindConfiguration, limits); }, observer);
  if (!Succeeded(status)) {
    config = configBefore;
    image_ = imageBefore;
    return status;
  }
  const std::string tableInMemory = config.TableLoaded ? config.File : std::string();
  DecodeModuleImage(image_, config, conversion_.limits);
  if (config.File.empty() || config.File != tableInMemory) config.TableLoaded = false;
  return status;
}

bool ModuleService::ModelMatches(const DeviceStatus& status) const {
  return ReportedModelCode(status) == ModelCode(conversion_.config);
}

std::optional<Refusal> ModuleService::BuildForWrite(const CivilDate& today) {
  conversion_.config.data = FormatDate(today);
  return BuildModuleImage(conversion_, image_, DayNumberOf(today));
}

void ModuleService::StoreInformationTexts(const CivilDate& today) {
  ModuleImage record = image_;
  StoreRecordInImage(conversion_.config, record, DayNumberOf(today));
  std::copy(record.bytes.begin() + image_offset::kKod, record.bytes.begin() + image_offset::kMarker,
            image_.bytes.begin() + image_offset::kKod);
}

LinkStatus ModuleService::Write(const TransferObserver& observer) {
  const MapLimits limits = MapLimitsOf(conversion_.config);
  return Transfer([this, limits] { return WriteWorker(commands_, limits); }, observer);
}

LinkStatus ModuleService::WriteInformation(const TransferObserver& observer) {
  return Transfer([this] { return InfoWriteWorker(commands_); }, observer);
}

LinkStatus ModuleService::ReadFactoryData(const TransferObserver& observer) {
  const MapLimits limits = MapLimitsOf(conversion_.config);
  const LinkStatus status = Transfer(
      [this, limits] { return ReadWorker(commands_, kReadKindFactoryData, limits); }, observer);
  if (Succeeded(status)) DecodeFactoryData(image_, conversion_.config);
  return status;
}

VerifyOutcome ModuleService::Verify(const TransferObserver& observer) {
  const ModuleImage expected = image_;
  const MapLimits limits = MapLimitsOf(conversion_.config);
  VerifyOutcome outcome;
  outcome.status = Transfer(
      [this, limits] { return ReadWorker(commands_, kReadKindVerification, limits); }, observer);
  outcome.read = image_;
  if (Succeeded(outcome.status))
    outcome.differences = ImageDifferences(commands_, expected, image_);
  // A part read before a failure, or a module that differs, must not become
  // what the next verify compares against.
  if (!outcome.Matches()) image_ = expected;
  return outcome;
}

}  // namespace q5480
