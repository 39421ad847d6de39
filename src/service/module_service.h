// What a person does with the module on the link, one implementation for
// the desktop program and the command-line tool alike: identify it, read
// its configuration, check and build a configuration for it, write it and
// verify it. One transfer at a time; no texts are shown here, every
// operation gives its status.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "config/dates.h"
#include "config/module_image.h"
#include "conversion/build_image.h"
#include "conversion/conversion_state.h"
#include "link/link.h"
#include "module/command_set.h"
#include "module/measurement.h"

namespace q5480 {

// Who waits for a transfer: the new percentage, and a chance to run while
// the worker is silent.
struct TransferObserver {
  std::function<void(int percent)> progress;
  std::function<void()> idle;
};

struct VerifyOutcome {
  LinkStatus status = LinkStatus::Success;
  // Offsets of the image where the module differs (by its layout's rules).
  std::vector<std::size_t> differences;
  // What the module holds, as read (whole only when the read succeeded).
  ModuleImage read;

  bool Matches() const { return Succeeded(status) && differences.empty(); }
};

// The model code that a module reports in its samples, as Write compares it
// with the configuration's (codes of 100 and more count less 100).
int ReportedModelCode(const DeviceStatus& status);

// A read brought a linear conversion or power series without coefficients.
bool ReadBroughtNoCoefficients(const ModuleConfig& config);

class ModuleService {
 public:
  ModuleService(Link& link, const ConversionContext& conversion, ModuleImage& image,
                CommandPauses pauses = {});
  ModuleService(const ModuleService&) = delete;
  ModuleService& operator=(const ModuleService&) = delete;

  Link& GetLink() { return link_; }
  CommandSet& Commands() { return commands_; }
  ModuleConfig& Config() { return conversion_.config; }
  ModuleImage& Image() { return image_; }
  bool TransferRunning() const { return transferRunning_; }

  // One transfer: polling stopped, `worker` run and awaited, polling started
  // again when it ran before. Busy while another transfer runs.
  LinkStatus Transfer(Link::Worker worker, const TransferObserver& observer = {});

  // The module's identifier and memory layout.
  LinkStatus Identify(const TransferObserver& observer = {});
  // The configuration read into the image and decoded into the record. A
  // table counts as loaded afterwards only when the module names the same
  // table file as before. A read that fails leaves both as they were.
  LinkStatus ReadConfiguration(const TransferObserver& observer = {});

  // The module's model number, factory date and serial number into the image
  // and the record, nothing else: who the module is, quickly.
  LinkStatus ReadFactoryData(const TransferObserver& observer = {});

  // Write's check: the module on the line is of the configuration's model.
  bool ModelMatches(const DeviceStatus& status) const;
  // The record dated `today` and built into the image, or why it cannot be
  // (the image then stays as it was). Throws ConversionError on a
  // floating-point error of the conversion.
  std::optional<Refusal> BuildForWrite(const CivilDate& today);
  // The identification texts of the record into the image, as a build would
  // store them, for a write of the texts alone.
  void StoreInformationTexts(const CivilDate& today);
  LinkStatus Write(const TransferObserver& observer = {});
  LinkStatus WriteInformation(const TransferObserver& observer = {});

  // The module's memory against the image as it stands (what the last read,
  // write or build left). Unless the module matches, the image is put back
  // as it was before the read.
  VerifyOutcome Verify(const TransferObserver& observer = {});

 private:
  // A session of direct service exchanges holds the link as a transfer does.
  friend class ServiceSession;

  Link& link_;
  ConversionContext conversion_;
  ModuleImage& image_;
  CommandSet commands_;
  bool transferRunning_ = false;
};

}  // namespace q5480
