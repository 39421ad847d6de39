#include "config/program_directory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace q5480 {
namespace {

// Sets or removes an environment variable for the life of the object.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The configuration folder follows the XDG rules: an absolute
// XDG_CONFIG_HOME wins, a relative or empty one is ignored.
TEST(UserConfigurationDirectory, FollowsXdgConfigHomeElseTheHomeFolder) {
  const struct {
    const char* configHome;
    const char* home;
    const char* expected;
  } cases[] = {
      {"/srv/settings", "/home/ola", "/srv/settings"},
      {"settings", "/home/ola", "/home/ola/.config"},
      {"", "/home/ola", "/home/ola/.config"},
      {nullptr, "/home/ola", "/home/ola/.config"},
      {"/srv/settings", nullptr, "/srv/settings"},
      {nullptr, "", ""},
      {nullptr, nullptr, ""},
  };
  for (const auto& c : cases) {
    ScopedVariable configHome("XDG_CONFIG_HOME", c.configHome);
    ScopedVariable home("HOME", c.home);
    EXPECT_EQ(UserConfigurationDirectory(), std::filesystem::path(c.expected))
        << (c.configHome ? c.configHome : "(unset)") << ", " << (c.home ? c.home : "(unset)");
  }
}

}  // namespace
}  // namespace q5480
