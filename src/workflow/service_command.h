// The corrections command of the main window (menu item, tool button and
// picture): the checks, the password window, the configuration read when
// needed, then the corrections window, or the diagnostics window behind its
// access code, with the main window's polling suspended meanwhile.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "service/service_session.h"
#include "workflow/main_window.h"

namespace q5480 {

inline constexpr std::string_view kDiagnosticsAccessCode = "@kesvra";

enum class PasswordVerdict { Refused, Corrections, Diagnostics };

// Enter in the password window with `typed`; nothing when Esc or a click
// closed it.
PasswordVerdict CheckServicePassword(const std::optional<std::string>& typed,
                                     const std::string& password);

// The windows the command shows, each modal.
struct ServiceWindows {
  // The password form of the message window: the text typed when Enter
  // ended it.
  std::function<std::optional<std::string>()> password;
  std::function<void(ServiceSession&)> corrections;
  std::function<void(ServiceSession&)> diagnostics;
};

// True when a service window was shown.
bool Regulacja1Click(MainWindowLogic& window, const ServiceWindows& windows);

}  // namespace q5480
