// The user table window (TableDialog): loads a ".dat" file for `TableType`, shows
// it with the ranges it spans, and confirms it as the selection's table.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "conversion/range_rules.h"
#include "workflow/program_context.h"

namespace q5480 {

class TableWindowLogic {
 public:
  // Shows the example for `TableType`; OK and the unit list start disabled.
  explicit TableWindowLogic(ProgramContext& context);

  // Captions by control name; the window's caption follows the file.
  std::map<std::string, std::string> Texts() const;
  const std::string& Caption() const { return caption_; }
  // The text view: the example, or the lines of the file loaded last, with
  // the line that failed selected (-1 for none).
  const std::vector<std::string>& Lines() const { return lines_; }
  int SelectedLine() const { return selectedLine_; }
  // The name of the file loaded last, without its folder.
  const std::string& FileName() const { return fileName_; }
  // The signal and result ranges of the table (InMin, InMax, ResMin, ResMax);
  // empty while no table was read.
  const std::string& FieldText(DialogField field) const;
  int Unit() const { return unit_; }
  void SelectUnit(int index);
  bool UnitsEnabled() const { return unitsEnabled_; }
  bool OkEnabled() const { return okEnabled_; }
  // The control to focus after the last event; empty for none.
  const std::string& Focus() const { return focus_; }

  // "Load": asks for a table file and loads it. True when the table was
  // accepted (OK is then enabled).
  bool LoadClick();
  // Loads the table file at `path` as one chosen in the file dialog: it
  // becomes `File`, its folder the data directory. Every failure disables
  // OK, so that a rejected table is never confirmed.
  bool LoadFile(const std::string& path);
  // OK: the table becomes the selection's: user limits, unit, confirmed and
  // loaded. False (nothing changes) while OK is disabled.
  bool OkClick();
  // "Exit": the data directory and `File` as they were before the window.
  void ExitClick();

 private:
  void Reject();

  ProgramContext& context_;
  std::string savedDataDir_;
  std::string savedFile_;
  std::string caption_;
  std::vector<std::string> lines_;
  int selectedLine_ = -1;
  std::string fileName_;
  std::map<DialogField, std::string> texts_;
  int unit_ = 0;
  bool unitsEnabled_ = false;
  bool okEnabled_ = false;
  std::string focus_;
};

}  // namespace q5480
