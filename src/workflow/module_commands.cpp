#include "workflow/module_commands.h"

#include "link/transfer_workers.h"

namespace q5480 {

ModuleCommands MakeModuleCommands(CommandSet& commands) {
  ModuleCommands result;
  result.TakeSample = [&commands](MeasurementSample& sample, DeviceStatus& status) {
    return commands.TakeSample(sample, status);
  };
  result.ReadWorker = [&commands](int kind) -> Link::Worker {
    return [&commands, kind] { return ReadWorker(commands, kind); };
  };
  result.WriteWorker = [&commands]() -> Link::Worker {
    return [&commands] { return WriteWorker(commands); };
  };
  result.InfoWriteWorker = [&commands]() -> Link::Worker {
    return [&commands] { return InfoWriteWorker(commands); };
  };
  result.ImagesMatch = [&commands](const ModuleImage& expected, const ModuleImage& read) {
    return ImageDifferences(commands, expected, read).empty();
  };
  return result;
}

}  // namespace q5480
