// The parameter panel of the main window as a view model: what every control
// shows, which are enabled, their colours, and the user-data prompt that a
// configuration without its table or series needs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "workflow/program_context.h"

namespace q5480 {

// The nine fields whose colour tells what differs from the module.
enum class PanelField {
  FiltrZakresE, FiltrCzasE, FiltrLimitE, MinInputE, MaxInputE,  // first group
  BurnoutE, SiecE, KodE, OgolneE,                               // second group
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
bool noTab(const ProgramContext& context);

// The label of the burnout list: every text it can show, and the one for
// the configuration.
std::array<std::string, 3> ReakcjaTexts(const LanguageTable& language);
std::string ReakcjaField(const ProgramContext& context);

class ParameterPanel {
 public:
  explicit ParameterPanel(ProgramContext& context) : context_(context) {}

  const PanelView& View() const { return view_; }
  bool ConfigurationShown() const { return shown_; }

  // Shows the whole configuration with a colour mode (0 to 4).
  void pokaz(int colourMode);
  // New: the defaults of a new configuration, nothing shown.
  void odnowa();
  // The absolute limits beside the range fields.
  void dispABSy();
  // The configuration date after it changed.
  void ShowDate() { view_.DataE = context_.config.data; }

  // True while the user data are still missing: asks for the table file,
  // or rebuilds the table from the stored power series.
  bool nietypo();

  // The check that guards Save, Save as and Write.
  bool CheckParam(bool checkUserData, bool quiet);

  // A field's text or selection changed in the window.
  void MarkChanged(PanelField field);
  // After a successful write every field shows the window colour again.
  void ClearChangedMarks();
  // Only the ID tag or the user information changed, no parameter field.
  bool OnlyInformationChanged() const;

 private:
  void ApplyColourMode(int mode);
  bool RebuildFromSeries();
  bool ReadTableFile();

  ProgramContext& context_;
  PanelView view_;
  bool shown_ = false;
};

}  // namespace q5480
