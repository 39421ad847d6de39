#include "workflow/port_window.h"

#include <chrono>
#include <thread>

#include "service/port_open_failure.h"

namespace q5480 {
namespace {

constexpr int kSpeedCode4800 = 3;
constexpr int kSwitchPauseMs = 1000;
constexpr int kSwitchStepMs = 100;

}  // namespace

bool OpenLinkOrTell(ProgramContext& context, int port) {
  if (context.link.OpenLink(port, kSpeedCode4800)) return true;
  context.ui.Beep(BeepKind::Information);
  context.ShowMessage(
      PortOpenFailureMessage(port, PortDoctorEnvironment::ForThisUser(context.portEnvironment),
                             context.language),
      MessageIcon::None);
  return false;
}

PortWindowLogic::PortWindowLogic(ProgramContext& context)
    : context_(context),
      items_(ListPorts(context.portEnvironment)),
      rtPriority_(context.settings.RTPriority) {
  if (const auto index = FindPortEntry(items_, context.settings.ComPort)) {
    selected_ = static_cast<int>(*index);
  } else {
    context.settings.ComPort = 0;
  }
  Wait = [](int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  };
}

std::map<std::string, std::string> PortWindowLogic::Texts() const {
  return {
      {"Caption", context_.Tr("Serial port")},
      {"Label", context_.Tr("Select")},
      {"RTPriority", context_.Tr("Force highest priority")},
      {"RTPriorityHint", context_.Tr("Use when other processes disturb communication")},
      {"Cancel", context_.Tr("Cancel")},
      {"Switching", context_.Tr("Switching the serial port")},
      {"PleaseWait", context_.Tr("Please wait", "...")},
  };
}

DialogResult PortWindowLogic::OKClick() {
  // The port must not change under a running transfer.
  if (context_.state.InTransfer) return DialogResult::Cancel;
  int number = context_.settings.ComPort;
  if (selected_ >= 0 && selected_ < static_cast<int>(items_.size())) {
    number = EntryPortNumber(items_[static_cast<std::size_t>(selected_)]).value_or(number);
  }
  Link& link = context_.link;
  if (link.LinkStarted() && number == context_.settings.ComPort) {
    context_.settings.RTPriority = rtPriority_;
    return DialogResult::Ok;
  }
  if (link.LinkStarted()) {
    if (OnSwitchingPanel) OnSwitchingPanel(true);
    link.StopLink();
    // The adapter gets a second before it is opened again.
    for (int waited = 0; waited < kSwitchPauseMs; waited += kSwitchStepMs) Wait(kSwitchStepMs);
  }
  if (OpenLinkOrTell(context_, number)) {
    context_.settings.ComPort = static_cast<std::uint16_t>(number);
    context_.settings.RTPriority = rtPriority_;
    if (OnSwitchingPanel) OnSwitchingPanel(false);
    return DialogResult::Ok;
  }
  if (OnSwitchingPanel) OnSwitchingPanel(false);
  return DialogResult::StayOpen;
}

}  // namespace q5480
