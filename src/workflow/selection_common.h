// What the four selection windows share (SensorDialog,
// ResistanceVoltageDialog, VoltageCurrentDialog, LoopCurrentDialog): the state
// of a choice, the result conversions of the input windows with their pages
// and range labels, and the OK processing that brings the dependent fields of
// the record into line.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "workflow/dialog_host.h"
#include "workflow/program_context.h"

namespace q5480 {

// A check box or radio button as the window shows it.
struct ChoiceState {
  bool checked = false;
  bool enabled = true;
};

// The models Q5496 and Q5497, whose terminals take a 4-wire connection.
bool FourWireModel(const ModuleConfig& config);
// The wire count (`Tryb` 2 to 4) a window opens with: the record's when the
// model offers it, else 4-wire where offered, else 3-wire.
std::uint8_t OpeningWires(const ModuleConfig& config);

// The result conversions of the input windows, in the order they are offered.
enum class Conversion { None, PowerSeries, Linear, Table };
inline constexpr int kConversionCount = 4;

// `Lin` of a conversion: 1, 8, 4, 2.
std::uint8_t LinOf(Conversion conversion);
// The language-table key of its caption.
const char* ConversionKey(Conversion conversion);

// The three range labels of an input window's page. `input` and `result`
// are empty while no conversion is selected.
struct RangeLabels {
  std::string maximum;
  std::string input;
  std::string result;
};

// What a page of an input window holds: its input type, the conversion
// chosen there and the labels that go with it.
struct InputPage {
  std::uint8_t typ = kTypNone;
  Conversion conversion = Conversion::None;
  RangeLabels labels;
};

// A page as the window opens: when the record is of the page's type its
// conversion is shown (a table only while it is in memory), else none.
InputPage OpeningPage(const ProgramContext& context, std::uint8_t typ);

// The labels of a page for its conversion: the maximum range in the signal
// unit; with a conversion the signal range it uses and the result range of
// the user limits in `Jednostki`.
RangeLabels InputRangeLabels(const ProgramContext& context, int typ, Conversion conversion);

// A conversion chosen from the radio group of VoltageCurrentDialog and LoopCurrentDialog: "none"
// at once, any other through its window, and "none" again when that window
// is cancelled.
void ChooseConversion(ProgramContext& context, DialogHost& host, InputPage& page,
                      Conversion chosen);

// One of ResistanceVoltageDialog's two check boxes ("table defined", "linear") clicked:
// checking opens the box's window, whose OK unchecks the other box and whose
// Cancel unchecks this one again; unchecking leaves no conversion.
void CheckConversion(ProgramContext& context, DialogHost& host, InputPage& page, Conversion box,
                     bool checked);

// The codes that a window's OK sets.
struct SelectionCodes {
  std::uint8_t Typ = kTypNone;
  std::uint8_t Tryb = kTrybUnset;
  std::uint8_t Lin = kLinNone;
};

// SensorDialog's OK once its codes are known: the codes, `Jednostki` "°C", and the
// common processing; the selection changed when the type did, or is the
// user thermocouple.
void SensorSelectionOk(ProgramContext& context, const SelectionCodes& codes,
                       std::uint8_t typAtOpening);

// The OK of the input windows once their codes are known: the selection
// changed unless it converts nothing and both `Typ` and `Lin` are as at
// opening; without a conversion the range is the input type's and the unit
// its signal's, with one the range is the user limits.
void InputSelectionOk(ProgramContext& context, const SelectionCodes& codes,
                      std::uint8_t typAtOpening, std::uint8_t linAtOpening);

// "More" of SensorDialog and ResistanceVoltageDialog: a table that a conversion window of this
// window confirmed is not the record's any more.
SelectionOutcome HandOver(ProgramContext& context);

// Captions added to `texts`: the connection group "ConnectionG" with
// "Wire2R" to "Wire4R"; the input group "InputG" with "SingleR" and
// "DoubleR"; the conversions "NoneR", "SeriesR", "LinearR", "TableR".
void AddWireTexts(const ProgramContext& context, std::map<std::string, std::string>& texts);
void AddInputGroupTexts(const ProgramContext& context, std::map<std::string, std::string>& texts);
void AddConversionTexts(const ProgramContext& context, std::map<std::string, std::string>& texts);

// The logic of the three input windows: opening clears ConversionConfirmed
// and remembers `Typ` and `Lin`, which their OK compares against.
class InputWindowLogic {
 public:
  SelectionOutcome Cancel() { return SelectionOutcome::Cancel; }

 protected:
  InputWindowLogic(ProgramContext& context, DialogHost& host);

  // OK with the codes the window chose.
  SelectionOutcome OkWith(std::uint8_t typ, std::uint8_t tryb, Conversion conversion);
  // The captions every input window has: "Caption", "ConversionG", "CancelB".
  std::map<std::string, std::string> InputWindowTexts() const;

  ProgramContext& context_;
  DialogHost& host_;

 private:
  const std::uint8_t typAtOpening_;
  const std::uint8_t linAtOpening_;
};

// An input window with a page for each of two input types; it opens on the
// page of the record's type.
class TwoPageInputLogic : public InputWindowLogic {
 public:
  int CurrentPage() const { return page_; }
  // A page's input type, the chosen conversion and its range labels.
  const InputPage& PageState(int page) const;
  void PageChange(int page);

 protected:
  TwoPageInputLogic(ProgramContext& context, DialogHost& host, std::uint8_t firstTyp,
                    std::uint8_t secondTyp);

  static bool IsPage(int page) { return page == 0 || page == 1; }
  InputPage& PageAt(int page) { return pages_[static_cast<std::size_t>(page)]; }
  // OK with the shown page's type and conversion.
  SelectionOutcome OkOnPage(std::uint8_t tryb);

  int page_ = 0;

 private:
  std::array<InputPage, 2> pages_;
};

}  // namespace q5480
