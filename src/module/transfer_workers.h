// The long transfers of the configuration memory, each run as a worker of
// the link: the read and verification reads, the write, the write of the
// information texts alone, and the comparison that Verify makes. Each gives
// the status of the first exchange that failed.
#pragma once

#include <cstddef>
#include <vector>

#include "config/module_image.h"
#include "module/command_set.h"
#include "module/image_packing.h"

namespace q5480 {

inline constexpr int kReadKindConfiguration = 4;
inline constexpr int kReadKindVerification = 5;
// The model number, factory date and serial number alone.
inline constexpr int kReadKindFactoryData = 6;

// Progress totals of the writes.
inline constexpr long kNewLayoutWriteTotal = 1856;
inline constexpr long kOldLayoutWriteTotal = 1831;
inline constexpr long kInfoWriteTotal = 80;

// The workers read nothing of the record, which the window thread owns:
// the limits that they pack are copied from it on the calling thread before
// the transfer starts. (Identification still stores `ModuleId` into it.)

// Identifies the module and reads the address ranges of `kind` into the
// image (through the memory map with the newer firmware); parts not read
// keep their values, and what was read before a failure stays.
LinkStatus ReadWorker(CommandSet& commands, int kind, const MapLimits& limits);

// Opens a configuration write, identifies the module and writes the image
// that the caller built; a failure that was not a cancel ends with one "r".
LinkStatus WriteWorker(CommandSet& commands, const MapLimits& limits);

// Writes only the identification texts (image bytes 1712 to 1791).
LinkStatus InfoWriteWorker(CommandSet& commands);

// Offsets where `read` differs from `expected` by the rules of the layout
// the last identification found.
std::vector<std::size_t> ImageDifferences(const CommandSet& commands, const ModuleImage& expected,
                                          const ModuleImage& read);

}  // namespace q5480
