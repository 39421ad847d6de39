// What the benchmark programs share.
#pragma once

#include <cstdio>
#include <string>

#include "config/user_interface.h"

namespace q5480::bench {

// Messages of the link go to standard error; a benchmark makes no sound.
class QuietUi : public UserInterface {
 public:
  MessageResult ShowMessage(const std::string& text, const std::string&, MessageIcon,
                            MessageButtons) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return MessageResult::Ok;
  }
  void Beep(BeepKind) override {}
};

}  // namespace q5480::bench
