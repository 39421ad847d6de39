#include "conversion/refusal.h"

namespace q5480 {

std::string RefusalMessage(const Refusal& refusal) {
  std::string message = refusal.key;
  if (refusal.exclamation) message += "!";
  if (!refusal.detail.empty()) message += "\n(" + refusal.detail + ".)";
  return message;
}

}  // namespace q5480
