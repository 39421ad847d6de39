#include "link/device_access.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace q5480 {
namespace {

constexpr unsigned kReadWrite = 06;

// The kernel's form of an access control list: a 4-byte version, then
// entries of tag (16 bits), permissions (16 bits) and id (32 bits), little-endian.
constexpr const char* kAclAttribute = "system.posix_acl_access";
constexpr std::uint32_t kAclVersion = 2;
constexpr std::size_t kAclHeaderSize = 4;
constexpr std::size_t kAclEntrySize = 8;
enum AclTag : std::uint16_t {
  kUserObj = 0x01,
  kUser = 0x02,
  kGroupObj = 0x04,
  kGroup = 0x08,
  kMask = 0x10,
  kOther = 0x20,
};

struct AclEntry {
  std::uint16_t tag = 0;
  unsigned permissions = 0;
  std::uint32_t id = 0;
};

std::uint32_t LittleEndian(const unsigned char* bytes, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = count; i-- > 0;) value = value << 8 | bytes[i];
  return value;
}

std::optional<std::vector<AclEntry>> ReadAcl(const std::filesystem::path& file) {
  std::array<unsigned char, 1024> buffer{};
  const ssize_t size = ::getxattr(file.c_str(), kAclAttribute, buffer.data(), buffer.size());
  if (size < static_cast<ssize_t>(kAclHeaderSize) ||
      LittleEndian(buffer.data(), 4) != kAclVersion) {
    return std::nullopt;
  }
  std::vector<AclEntry> entries;
  for (std::size_t at = kAclHeaderSize; at + kAclEntrySize <= static_cast<std::size_t>(size);
       at += kAclEntrySize) {
    entries.push_back({static_cast<std::uint16_t>(LittleEndian(&buffer[at], 2)),
                       LittleEndian(&buffer[at + 2], 2), LittleEndian(&buffer[at + 4], 4)});
  }
  return entries;
}

bool Grants(unsigned permissions) { return (permissions & kReadWrite) == kReadWrite; }

// The access check of POSIX access control lists: the owner's entry, a named
// user's, then any matching group's (through the mask), else the others'.
bool AclGrants(const std::vector<AclEntry>& acl, const DeviceOwnership& ownership, unsigned userId,
               const std::vector<unsigned>& groupIds) {
  const auto inGroup = [&](unsigned id) {
    return std::find(groupIds.begin(), groupIds.end(), id) != groupIds.end();
  };
  unsigned mask = 07;
  for (const AclEntry& entry : acl) {
    if (entry.tag == kMask) mask = entry.permissions;
  }
  for (const AclEntry& entry : acl) {
    if (entry.tag == kUserObj && ownership.ownerId == userId) return Grants(entry.permissions);
  }
  for (const AclEntry& entry : acl) {
    if (entry.tag == kUser && entry.id == userId) return Grants(entry.permissions & mask);
  }
  bool groupMatched = false;
  for (const AclEntry& entry : acl) {
    const bool matches = (entry.tag == kGroupObj && inGroup(ownership.groupId)) ||
                         (entry.tag == kGroup && inGroup(entry.id));
    if (!matches) continue;
    if (Grants(entry.permissions & mask)) return true;
    groupMatched = true;
  }
  if (groupMatched) return false;
  for (const AclEntry& entry : acl) {
    if (entry.tag == kOther) return Grants(entry.permissions);
  }
  return false;
}

}  // namespace

std::optional<DeviceOwnership> ReadOwnership(const std::filesystem::path& file) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return std::nullopt;
  return DeviceOwnership{status.st_uid, status.st_gid, status.st_mode};
}

bool IsCharacterDevice(const DeviceOwnership& ownership) { return S_ISCHR(ownership.mode); }

std::string ModeText(const DeviceOwnership& ownership) {
  std::string text = S_ISCHR(ownership.mode) ? "c" : S_ISDIR(ownership.mode) ? "d" : "-";
  constexpr const char* kLetters = "rwx";
  for (int bit = 8; bit >= 0; --bit) {
    text += (ownership.mode >> bit & 1u) != 0 ? kLetters[(8 - bit) % 3] : '-';
  }
  return text;
}

bool GroupMayReadAndWrite(const DeviceOwnership& ownership) { return Grants(ownership.mode >> 3); }

bool MayReadAndWrite(const std::filesystem::path& file, const DeviceOwnership& ownership,
                     unsigned userId, const std::vector<unsigned>& groupIds) {
  if (userId == 0) return true;
  if (const std::optional<std::vector<AclEntry>> acl = ReadAcl(file)) {
    return AclGrants(*acl, ownership, userId, groupIds);
  }
  if (ownership.ownerId == userId) return Grants(ownership.mode >> 6);
  if (std::find(groupIds.begin(), groupIds.end(), ownership.groupId) != groupIds.end()) {
    return Grants(ownership.mode >> 3);
  }
  return Grants(ownership.mode);
}

}  // namespace q5480
