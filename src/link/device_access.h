// Whether a user may read and write a device, judged from its owner, mode
// and access control list (the one a udev "uaccess" tag gives the logged-in
// user) without opening it (Linux).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace q5480 {

struct DeviceOwnership {
  unsigned ownerId = 0;
  unsigned groupId = 0;
  unsigned mode = 0;  // type and permission bits, as stat gives them
};

std::optional<DeviceOwnership> ReadOwnership(const std::filesystem::path& file);

bool IsCharacterDevice(const DeviceOwnership& ownership);

// "crw-rw----", as ls shows it.
std::string ModeText(const DeviceOwnership& ownership);

// Whether the owning group's members may read and write.
bool GroupMayReadAndWrite(const DeviceOwnership& ownership);

// Read and write for `userId` with `groupIds`: the file's access control
// list when it has one, else its mode. The superuser may always.
bool MayReadAndWrite(const std::filesystem::path& file, const DeviceOwnership& ownership,
                     unsigned userId, const std::vector<unsigned>& groupIds);

}  // namespace q5480
