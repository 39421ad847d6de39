// The parameter panel of the main window as a view model: what every control
// shows, which are enabled, their colours, and the user-data prompt that a
// configuration without its table or series needs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "service/user_data.h"
#include "workflow/program_context.h"

namespace q5480 {

// The nine fields whose colour tells what differs from the module.
enum class PanelField {
  FiltrZakresE,
  FiltrCzasE,
  FiltrLimitE,
  MinInputE,
  MaxInputE,  // first group
  BurnoutE,
  SiecE,
  KodE,
  OgolneE,  // second group
};
inline constexpr std::size_t kPanelFieldCount = 9;
inline constexpr std::size_t kFirstGroupCount = 5;
inline constexpr std::size_t kParameterFieldCount = 7;  // all but KodE and OgolneE

enum class FieldColour { ButtonFace, Window, Aqua };
inline constexpr std::uint32_t kAquaColour = 0x00FFFF00;  // 0x00BBGGRR

// Colour modes of a shown configuration: 0 leaves the colours, 1 grey,
// 2 white, 3 aqua for the first group only, 4 aqua for both.
inline constexpr int kColourKeep = 0;
inline constexpr int kColourGrey = 1;
inline constexpr int kColourWhite = 2;
inline constexpr int kColourChangedRange = 3;
inline constexpr int kColourChangedAll = 4;

struct PanelView {
  std::string SenTypeG;
  std::string SenTypeText;
  std::string Reakcja;
  std::string JednostkiE;
  std::string JednostkiE1;
  std::string MinInputE;
  std::string MaxInputE;
  std::string FiltrZakresE;
  std::string FiltrCzasE;
  std::string FiltrLimitE;
  int FiltrLimitUpDown = 0;
  int BurnoutE = 0;  // item index
  int SiecE = 0;     // 0: 50 Hz, 1: 60 Hz
  std::string RegulZV;
  std::string RegulGV;
  std::string AbsMinE;
  std::string AbsMaxE;
  std::string SerialE;
  std::string DataE;
  bool InfoCaptionsVisible = false;  // the captions of SerialE and DataE
  std::string KodE;
  std::string OgolneE;
  // FiltrZakresE, FiltrCzasE, FiltrLimitE with its up-down, MinInputE,
  // MaxInputE and SiecE: editable only while the user data are in memory.
  bool RangeFieldsEnabled = false;
  // FiltrDobierz, BurnoutE, KodE and OgolneE.
  bool OtherFieldsEnabled = false;
  std::array<FieldColour, kPanelFieldCount> Colours{};

  FieldColour Colour(PanelField field) const { return Colours[static_cast<std::size_t>(field)]; }
};

// The user-data rule: the configuration needs a table or series that is not
// in memory, or the last read brought a conversion without coefficients.
bool NeedsUserData(const ProgramContext& context);

// The label of the burnout list: every text it can show, and the one for
// the configuration.
std::array<std::string, 3> BurnoutLabelTexts(const LanguageTable& language);
std::string BurnoutLabelText(const ProgramContext& context);

class ParameterPanel {
 public:
  explicit ParameterPanel(ProgramContext& context) : context_(context) {}

  const PanelView& View() const { return view_; }
  bool ConfigurationShown() const { return shown_; }

  // Shows the whole configuration with a colour mode (0 to 4).
  void ShowConfiguration(int colourMode);
  // New: the defaults of a new configuration, nothing shown.
  void NewConfiguration();
  // The absolute limits beside the range fields.
  void ShowAbsoluteLimits();
  // The configuration date after it changed.
  void ShowDate() { view_.DataE = context_.config.data; }
  // The zero and gain corrections after the corrections window.
  void ShowCorrections();

  // True while the user data are still missing: asks for the table file,
  // or rebuilds the table from the stored power series.
  bool AskForMissingUserData();

  // A command over the configuration, through RunConversionCommand: a
  // refused one also leaves the panel showing what it showed before.
  bool RunCommand(const std::function<bool()>& work);

  // The check that guards Save, Save as and Write.
  bool CheckParam(bool checkUserData, bool quiet);
  // The checks of the numeric fields before a command that uses the whole
  // configuration: a value not yet taken (typed or set) is checked as on
  // leaving its field, and only a refusal now stops the command; it has said
  // why and taken the focus.
  bool CheckFields();

  // The checks of the numeric fields, run when the field is left or Enter
  // is pressed: the text is read, checked and taken into the record, or
  // refused with a beep and a message. The field shows the record's value
  // again either way. False when refused: the focus goes back to the field.
  bool MinInputEExit(const std::string& text);
  bool MaxInputEExit(const std::string& text);
  bool FiltrZakresEExit(const std::string& text);
  bool FiltrCzasEExit(const std::string& text);
  bool FiltrLimitEExit(const std::string& text);
  // Typing in the threshold takes a readable number over at once.
  void FiltrLimitEChange(const std::string& text);
  // The threshold's arrows: off (0), or at least twice the filtration range.
  void FiltrLimitUpDownClick(bool up);
  // The optimal filter for the signal span of the range; false when the
  // configuration has none (its user data missing, or its conversion failed).
  bool FiltrDobierzClick();
  // The person's changes of the lists and the texts.
  void BurnoutEChange(int index);
  void SiecEChange(int index);
  void KodEChange(const std::string& text);
  void OgolneEChange(const std::string& text);

  // The value being typed into a field, taken over before Save, Write and
  // the other commands that use the whole configuration; the window sets it
  // (it runs the check of the field that holds uncommitted text).
  std::function<void()> CommitTyping;

  // A field's text or selection changed in the window.
  void MarkChanged(PanelField field);
  // After a successful write every field shows the window colour again.
  void ClearChangedMarks();
  // Only the ID tag or the user information changed, no parameter field.
  bool OnlyInformationChanged() const;

 private:
  void ApplyColourMode(int mode);
  // The checks of the range fields; `minimum` tells which end was edited.
  bool RangeFieldExit(const std::string& text, bool minimum);
  bool CheckRangeField(const std::string& text, bool minimum);
  // The check of a filter field as it is left: the typed number times
  // `scale`, rounded, is taken when it lies in 0 to `maximum` and refused
  // otherwise; `snap` then puts the record's value where the module takes it.
  bool FilterFieldExit(const std::string& text, std::int32_t& field, double scale,
                       std::int32_t maximum, const std::function<void()>& snap);
  void Refuse(const std::string& key);
  void ShowRange();
  void ShowFilter();
  // Editing makes the configuration differ from what the module holds.
  void Edited(PanelField field);
  bool UserDataMissing();
  // "User defined sensor or conversion!", "No data available." on two lines.
  std::string NoUserDataText() const;
  void TellUserDataMissing(const UserDataResult& result);

  ProgramContext& context_;
  PanelView view_;
  bool shown_ = false;
};

}  // namespace q5480
