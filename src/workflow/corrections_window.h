// The corrections window (CorrectionsDialog) without its widgets: the zero and gain
// corrections trimmed against the live reading, their preview before they
// are stored, the store itself, the module's reset and the forced output
// current. The window drives Timer1Timer every kRegulTimerInterval.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "service/service_session.h"
#include "workflow/program_context.h"

namespace q5480 {

inline constexpr int kRegulTimerInterval = 500;  // ms
inline constexpr int kScrollCentre = 200;        // ZeroS and GainS: 0 to 400
inline constexpr int kScrollEnd = 400;
inline constexpr int kScrollPage = 10;

// Colours of the readings, 0x00BBGGRR.
inline constexpr std::uint32_t kReadingBlack = 0x00000000;
inline constexpr std::uint32_t kReadingTeal = 0x00808000;
inline constexpr std::uint32_t kReadingBlue = 0x00FF0000;
inline constexpr std::uint32_t kReadingRed = 0x000000FF;

// A reading panel (PomiarP, Outputp): its text and how it is drawn.
struct ReadingPanel {
  std::string text;
  std::uint32_t colour = kReadingBlack;
  int pointSize = 18;
  bool centred = false;
};

// Controls that an action hands the focus to.
enum class RegulControl { None, ZeroS, ExitB };

struct RegulView {
  int ZeroS = kScrollCentre;
  int GainS = kScrollCentre;
  std::string ZeroP;
  std::string GainP;
  std::string PomiarT;  // the caption over PomiarP
  bool PomiarTEnabled = false;
  bool SimulChecked = false;
  bool SimulEnabled = false;
  ReadingPanel PomiarP;
  ReadingPanel Outputp;
  std::string SetOut = "12.00";
};

// A scroll bar position as its value panel shows it: "+0.50 ", "-2.00 ".
std::string CorrectionPanelText(int position);
// The correction of a position, in percent; the ends (±2.00) store ±1.9999.
double CorrectionOfPosition(int position);
// The position that shows a stored correction.
int PositionOfCorrection(double percent);
// The preview: a signal that the module corrected with the saved
// corrections, corrected with the current ones instead. `span` is the
// signal range of the configuration.
double PreviewSignal(double corrected, double span, double zeroSaved, double gainSaved, double zero,
                     double gain);

class CorrectionsWindowLogic {
 public:
  // The window's start: the saved corrections taken, the scroll bars set,
  // the timer on.
  CorrectionsWindowLogic(ProgramContext& context, ServiceSession& session);

  // Captions by control name ("Caption" for the window) and hints.
  std::map<std::string, std::string> Captions() const;
  std::map<std::string, std::string> Hints() const;

  const RegulView& View() const { return view_; }
  // The timer's ticks do something: not while a tick waits, nor once closed.
  bool TimerOn() const { return !ticking_ && !closed_; }
  bool ShowIntTemp() const { return showIntTemp_; }
  bool Written() const { return written_; }
  bool OutputEntryWrong() const { return outputEntryWrong_; }
  double ZeroSaved() const { return zeroSaved_; }
  // Where the last action sent the focus, once.
  RegulControl TakeFocus();

  void ZeroSChange(int position);
  void GainSChange(int position);
  void AllZeroBClick();
  // One tick of Timer1: the reading, or its preview while simulating.
  void Timer1Timer();
  void PomiarTClick();
  void SimulCBClick(bool checked);
  void ZapiszBClick();
  void ResetBClick();
  // "Set" or Enter in SetOut with the text typed there.
  void SetOutbuttClick(const std::string& text);
  // "Exit" or the close box: the record keeps what the module holds.
  void Close();

  // The preview's waits between the reading and the value request; tests
  // make them instant.
  std::function<void(std::chrono::milliseconds)> Sleep;

 private:
  bool SimulatedReading(MeasurementSample& sample, DeviceStatus& status);
  void Outcome(bool ok, const MeasurementSample& sample, const DeviceStatus& status);
  void ShowResult(double value);
  void ShowOutput(double current);
  void SetShowIntTemp(bool on);
  void LetMessagesRun();

  ProgramContext& context_;
  ServiceSession& session_;
  RegulView view_;
  DeviceStatus status_;
  double zeroSaved_ = 0;
  double gainSaved_ = 0;
  bool written_ = false;
  bool showIntTemp_ = false;
  bool outputEntryWrong_ = false;
  bool resetPending_ = false;
  bool ticking_ = false;  // a tick waits for the module; no second one meanwhile
  bool closed_ = false;
  int failCount_ = 0;
  const int maxFail_;
  RegulControl focus_ = RegulControl::None;
};

}  // namespace q5480
