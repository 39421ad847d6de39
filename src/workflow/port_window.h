// The port selection window (PortDialog): the list of serial ports, the
// priority option and the switch to another port.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "workflow/options_window.h"
#include "workflow/program_context.h"

namespace q5480 {

class PortWindowLogic {
 public:
  explicit PortWindowLogic(ProgramContext& context);

  std::map<std::string, std::string> Texts() const;
  const std::vector<std::string>& Items() const { return items_; }
  int Selected() const { return selected_; }
  void Select(int index) { selected_ = index; }
  bool RTPriorityChecked() const { return rtPriority_; }
  void SetRTPriority(bool on) { rtPriority_ = on; }

  // OK: the same open port keeps the link and takes only the priority
  // option; another port stops the link, waits a second and opens the new
  // one. StayOpen when the port does not open.
  DialogResult OKClick();

  // The "Switching the serial port" panel while the link is switched.
  std::function<void(bool shown)> OnSwitchingPanel;
  // Waits `milliseconds`; the window lets its events run meanwhile.
  std::function<void(int milliseconds)> Wait;

 private:
  ProgramContext& context_;
  std::vector<std::string> items_;
  int selected_ = -1;
  bool rtPriority_ = false;
};

// Opens COM `port` at 4800 baud; on failure the message
// "COM%d initialization failed!" with the port's number and the reason.
bool OpenLinkOrTell(ProgramContext& context, int port);

}  // namespace q5480
