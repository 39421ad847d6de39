// A link and the module service talking over a pseudo-terminal to the
// emulated module, with the interposer between line and module.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "config/module_config.h"
#include "config/module_image.h"
#include "conversion/build_image.h"
#include "emulator/module_emulator.h"
#include "emulator/module_requests.h"
#include "link/link.h"
#include "module/command_set.h"
#include "module/measurement_polling.h"
#include "module/transfer_workers.h"
#include "service/module_service.h"
#include "support/module_on_line.h"
#include "support/sample_configurations.h"
#include "support/scratch_directory.h"
#include "support/wait_until.h"

namespace q5480::test_support {

inline constexpr int kPort = 9;
inline constexpr int kTestBaud = 9600;

// Everything a transfer needs: a module on a line of its own, the link, the
// program's configuration with its image and the module service over them.
class DeviceRig {
 public:
  explicit DeviceRig(ModuleOptions options)
      : line(std::move(options), scratch.Path() / "ports", kPort),
        module(line.module),
        emulator(line.emulator),
        interposer(line.interposer),
        link(MeasurementPolling(), TestLinkSettings(scratch.Path() / "ports")),
        service(link, {config, limits, state}, image, kShortPauses),
        commands(service.Commands()) {}
  ~DeviceRig() { link.StopLink(); }

  // The port open, polling stopped: the state a transfer starts from. The
  // line is set faster than a module's: the link lets the bytes of a frame
  // gather for their time on the line, which the unpaced emulator does not
  // need. Requests before that (polls while the link opened) are forgotten.
  bool OpenIdle() {
    if (!link.OpenLink(kPort, 3)) return false;
    link.StopPolling();
    return link.ConfigurePort(kTestBaud) && line.Settle();
  }

  bool Write() { return Succeeded(service.Write()); }
  bool Read() { return Succeeded(service.ReadConfiguration()); }
  // Builds the image from the record as a write does.
  bool Build(std::uint16_t today = 46000) {
    return !BuildModuleImage({config, limits, state}, image, today);
  }

  test_support::ScratchDirectory scratch;
  ModuleOnLine line;
  EmulatedModule& module;
  ModuleEmulator& emulator;
  Interposer& interposer;
  ModuleConfig config;
  ModuleImage image;
  InputLimits limits;
  ConversionState state;
  Link link;
  ModuleService service;
  CommandSet& commands;
};

// The part of an image that a module's memory holds (without the identifier).
inline std::vector<std::uint8_t> Held(const ModuleImage& image) {
  return std::vector<std::uint8_t>(image.bytes.begin(), image.bytes.begin() + 2048);
}

}  // namespace q5480::test_support
