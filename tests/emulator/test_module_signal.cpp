#include <gtest/gtest.h>

#include "emulator/module_signal.h"

namespace q5480 {
namespace {

TEST(SimulatedSignal, ShapesOverTime) {
  const SignalShape constant{.level = 3.5};
  const SignalShape ramp{.kind = SignalKind::Ramp, .level = 10, .extent = 20, .periodSeconds = 4};
  const SignalShape sine{.kind = SignalKind::Sine, .level = 1, .extent = 2, .periodSeconds = 8};
  const struct {
    const SignalShape* shape;
    double seconds;
    double expected;
  } cases[] = {
      {&constant, 0, 3.5}, {&constant, 1e6, 3.5},
      {&ramp, 0, 10},      {&ramp, 1, 15},      {&ramp, 3.999, 29.995}, {&ramp, 4, 10}, {&ramp, 9, 15},
      {&sine, 0, 1},       {&sine, 2, 3},       {&sine, 6, -1},         {&sine, 8, 1},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(SignalAt(*c.shape, c.seconds), c.expected, 1e-9) << c.seconds;
  }
}

TEST(SimulatedSignal, NonPositivePeriodHoldsTheLevel) {
  EXPECT_EQ(SignalAt({.kind = SignalKind::Ramp, .level = 2, .extent = 5, .periodSeconds = 0}, 3), 2);
  EXPECT_EQ(SignalAt({.kind = SignalKind::Sine, .level = 2, .extent = 5, .periodSeconds = -1}, 3), 2);
}

TEST(SimulatedSignal, StartsFromTheMomentItIsSet) {
  SimulatedSignal signal;
  signal.Set({.kind = SignalKind::Ramp, .level = 0, .extent = 10, .periodSeconds = 10}, 100.0);
  EXPECT_NEAR(signal.ValueAt(100.0), 0.0, 1e-12);
  EXPECT_NEAR(signal.ValueAt(103.0), 3.0, 1e-12);
}

TEST(SignalOption, AcceptedForms) {
  std::string error;
  const auto constant = ParseSignalShape("const:-1.25", error);
  ASSERT_TRUE(constant) << error;
  EXPECT_EQ(constant->kind, SignalKind::Constant);
  EXPECT_EQ(constant->level, -1.25);

  const auto ramp = ParseSignalShape("ramp:4:20:30", error);
  ASSERT_TRUE(ramp) << error;
  EXPECT_EQ(ramp->kind, SignalKind::Ramp);
  EXPECT_EQ(ramp->level, 4);
  EXPECT_EQ(ramp->extent, 16);
  EXPECT_EQ(ramp->periodSeconds, 30);

  const auto sine = ParseSignalShape("sine:10:0.5:2", error);
  ASSERT_TRUE(sine) << error;
  EXPECT_EQ(sine->kind, SignalKind::Sine);
  EXPECT_EQ(sine->extent, 0.5);
}

TEST(SignalOption, RejectedFormsSayWhy) {
  const struct {
    const char* text;
    const char* words;
  } cases[] = {
      {"const", "const:LEVEL"},        {"const:1:2", "const:LEVEL"}, {"square:1:2:3", "square"},
      {"ramp:1:2", "ramp:FROM"},       {"ramp:1:2:0", "period"},     {"sine:1:2:-3", "period"},
      {"const:1,5", "\"1,5\""},        {"const:", "\"\""},           {"const:nan", "\"nan\""},
      {"ramp:1:x:3", "\"x\""},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseSignalShape(c.text, error)) << c.text;
    EXPECT_NE(error.find(c.words), std::string::npos) << c.text << ": " << error;
  }
}

}  // namespace
}  // namespace q5480
