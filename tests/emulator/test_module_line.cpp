// The module's end of the pseudo-terminal line. Echo and framing through it
// are tested with the link.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <system_error>

#include "emulator/pty_line.h"

namespace q5480::test {
namespace {

TEST(ModuleOnTheLine, ALineThatCannotOpenItsEndLeavesNoDescriptorBehind) {
  const int lowest = ::dup(0);
  ASSERT_GE(lowest, 0);
  ::close(lowest);
  // Under UndefinedBehaviorSanitizer the first check of an exception's type
  // needs a descriptor of its own: it is made before the descriptors run out.
  [[maybe_unused]] const std::system_error warmUp(EMFILE, std::generic_category(), "warm-up");
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  // Room for the master side only: opening the program's end fails.
  rlimit tight = saved;
  tight.rlim_cur = static_cast<rlim_t>(lowest) + 1;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
  EXPECT_THROW(PtyLine line, std::system_error);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
  const int after = ::dup(0);
  EXPECT_EQ(after, lowest);
  ::close(after);
}

}  // namespace
}  // namespace q5480::test
