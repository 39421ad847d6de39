#include "workflow/table_window.h"

#include <algorithm>
#include <filesystem>

#include "config/line_buffer.h"
#include "config/numbers.h"
#include "config/parameters_file.h"
#include "config/path_text.h"
#include "config/text.h"
#include "conversion/conversion_messages.h"
#include "conversion/table_file.h"
#include "conversion/user_table.h"
#include "workflow/linear_window.h"

namespace q5480 {
namespace {

// Significant digits of the result range: the first column as the file has it.
constexpr int kResultDigits = 7;

}  // namespace

TableWindowLogic::TableWindowLogic(ProgramContext& context)
    : context_(context),
      savedDataDir_(context.settings.DataDir),
      savedFile_(context.config.File),
      caption_(context.Tr("Table")),
      lines_(TableExampleLines(context.conversion.TableType, context.Tr("Example"))),
      unit_(DefaultResultUnit(context.conversion.TableType)) {}

std::map<std::string, std::string> TableWindowLogic::Texts() const {
  std::map<std::string, std::string> texts = RangeGroupTexts(context_);
  texts["LoadB"] = context_.TextOf("Load");
  texts["ExitB"] = context_.Tr("Exit");
  return texts;
}

const std::string& TableWindowLogic::FieldText(DialogField field) const {
  static const std::string kNone;
  const auto found = texts_.find(field);
  return found == texts_.end() ? kNone : found->second;
}

void TableWindowLogic::SelectUnit(int index) {
  if (unitsEnabled_) unit_ = OfferedUnit(index, unit_);
}

bool TableWindowLogic::LoadClick() {
  FileDialogRequest request;
  request.filter = context_.Tr("Tables") + " (*.dat)|*.dat|" + context_.Tr("All files") + "|*.*";
  request.directory = context_.settings.DataDir;
  const std::optional<std::string> path = context_.ui.AskFileName(request);
  return path && LoadFile(*path);
}

void TableWindowLogic::Reject() {
  okEnabled_ = false;
  unitsEnabled_ = false;
  texts_.clear();
}

bool TableWindowLogic::LoadFile(const std::string& path) {
  focus_.clear();
  selectedLine_ = -1;
  ModuleConfig& config = context_.config;
  // The module keeps at most kFileLength characters of the name: a longer
  // path keeps the name itself, which is what a re-read looks for.
  config.File = CharCount(path) <= kFileLength ? path : TableFileBaseName(path);
  LineBuffer file;
  file.Load(PathFromUtf8(path));
  lines_ = file.Lines();
  caption_ = Utf8FromPath(PathFromUtf8(path).parent_path());
  fileName_ = TableFileBaseName(path);
  context_.settings.DataDir = DataDirOf(PathFromUtf8(path));

  ConversionState& conversion = context_.conversion;
  if (const std::optional<Refusal> refusal =
          LoadTableFile(PathFromUtf8(path), conversion, context_.limits)) {
    Reject();
    if (refusal->key == kCannotOpenFile) {
      context_.ShowMessage(context_.Tr(kCannotOpenFile, ":") + "\n" + path, MessageIcon::Error);
      return false;
    }
    if (const std::optional<int> line = FailingTableLine(conversion.Table, lines_.size())) {
      selectedLine_ = *line;
    }
    std::string text = context_.Tr(kCorruptedFile, "!");
    if (!refusal->detail.empty()) text += "\n(" + context_.TextOf(refusal->detail) + ".)";
    context_.ShowMessage(text, MessageIcon::Error);
    return false;
  }

  const UserTable& table = conversion.Table;
  const TablePoint& first = table[1];
  const TablePoint& last = table[table.Count()];
  texts_[DialogField::InMin] = FormatFixed(std::min(first.y, last.y), 0, 3);
  texts_[DialogField::InMax] = FormatFixed(std::max(first.y, last.y), 0, 3);
  texts_[DialogField::ResMin] = FormatGeneral(std::min(first.x, last.x), kResultDigits, '.');
  texts_[DialogField::ResMax] = FormatGeneral(std::max(first.x, last.x), kResultDigits, '.');
  // A user thermocouple on these models always shows degrees.
  unitsEnabled_ = !(conversion.TableType == kTypUserThermocouple &&
                    GroupOfModelCode(ModelCode(config)) == ModelGroup::B);
  if (!TableSpanSufficient(table, conversion.TableType)) {
    okEnabled_ = false;
    context_.ShowMessage(context_.Tr(kInputRangeTooSmall), MessageIcon::Warning);
    return false;
  }
  okEnabled_ = true;
  focus_ = "OKB";
  return true;
}

bool TableWindowLogic::OkClick() {
  if (!okEnabled_) return false;
  ModuleConfig& config = context_.config;
  context_.conversion.ConversionConfirmed = 1;
  SetUserRange(context_.conversion.Table, context_.limits);
  config.Jednostki = unit_;
  // The table in memory is now the one this selection names.
  config.TableLoaded = true;
  return true;
}

void TableWindowLogic::ExitClick() {
  context_.settings.DataDir = savedDataDir_;
  context_.config.File = savedFile_;
}

}  // namespace q5480
