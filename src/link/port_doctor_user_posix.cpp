// The running user for the port doctor: the groups of this session, those
// the account database gives at the next login, and group names.
#include "link/port_doctor.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace q5480 {
namespace {

constexpr std::size_t kFirstBufferSize = 4096;
constexpr std::size_t kLargestBufferSize = 1 << 20;

std::optional<std::string> LookUpGroupName(unsigned id) {
  std::vector<char> buffer(kFirstBufferSize);
  for (;;) {
    group entry{};
    group* found = nullptr;
    const int error = ::getgrgid_r(id, &entry, buffer.data(), buffer.size(), &found);
    if (error == ERANGE && buffer.size() < kLargestBufferSize) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (error != 0 || found == nullptr) return std::nullopt;
    return std::string(found->gr_name);
  }
}

std::vector<gid_t> SessionGroupIds() {
  std::vector<gid_t> ids(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
  const int count = ::getgroups(static_cast<int>(ids.size()), ids.data());
  ids.resize(static_cast<std::size_t>(std::max(count, 0)));
  if (std::find(ids.begin(), ids.end(), ::getegid()) == ids.end()) ids.push_back(::getegid());
  return ids;
}

std::vector<gid_t> AccountGroupIds(uid_t user) {
  std::vector<char> buffer(kFirstBufferSize);
  passwd entry{};
  passwd* found = nullptr;
  while (::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
         buffer.size() < kLargestBufferSize) {
    buffer.resize(buffer.size() * 2);
  }
  if (found == nullptr) return {};
  int count = 32;
  std::vector<gid_t> ids;
  do {
    ids.resize(static_cast<std::size_t>(count));
  } while (::getgrouplist(found->pw_name, found->pw_gid, ids.data(), &count) < 0);
  ids.resize(static_cast<std::size_t>(count));
  return ids;
}

}  // namespace

PortDoctorEnvironment PortDoctorEnvironment::ForThisUser(PortEnvironment ports) {
  PortDoctorEnvironment env;
  env.ports = std::move(ports);
  env.userId = ::geteuid();
  env.groupName = LookUpGroupName;
  const auto named = [](gid_t id) {
    return UserGroup{LookUpGroupName(id).value_or(std::to_string(id)), id};
  };
  for (gid_t id : SessionGroupIds()) env.groups.push_back(named(id));
  for (gid_t id : AccountGroupIds(env.userId)) env.accountGroups.push_back(named(id));
  return env;
}

}  // namespace q5480
