#include "workflow/output_entry.h"

#include <optional>

#include "config/numbers.h"

namespace q5480 {
namespace {

struct EntryLayout {
  int width;
  int decimals;
  std::size_t padded;  // a shorter text gets a "0" in front; 0: never
};

EntryLayout LayoutOf(bool wideFormat, OutputLimits limits) {
  if (limits == OutputLimits::Corrections) return {4, 2, 0};
  return wideFormat ? EntryLayout{5, 3, 6} : EntryLayout{4, 2, 5};
}

std::string Shown(double value, const EntryLayout& layout) {
  std::string text = FormatFixed(value, layout.width, layout.decimals);
  if (text.size() < layout.padded) text.insert(0, 1, '0');
  return text;
}

// The end of the range that replaces a refused entry, always with two
// digits before the point: "03.75", "22.100".
std::string RangeEnd(double value, const EntryLayout& layout) {
  std::string text = FormatFixed(value, layout.width, layout.decimals);
  if (text.find('.') == 1) text.insert(0, 1, '0');
  return text;
}

}  // namespace

OutputEntry ReadOutputEntry(const std::string& text, bool wideFormat, OutputLimits limits) {
  const EntryLayout layout = LayoutOf(wideFormat, limits);
  const std::optional<double> value = ParseNumber(text);
  if (!value) {
    const bool threeDecimals = limits == OutputLimits::Preset && wideFormat;
    return {OutputEntryKind::WrongFormat, threeDecimals ? "12.000" : "12.00", 0};
  }
  const OutputCode code = OutputCodeFor(*value, wideFormat, limits);
  const OutputRange range = OutputRangeOf(wideFormat, limits);
  switch (code.verdict) {
    case OutputVerdict::Accepted:
      return {OutputEntryKind::Accepted, Shown(*value, layout), code.code};
    case OutputVerdict::Below: return {OutputEntryKind::OutOfRange, RangeEnd(range.low, layout), 0};
    case OutputVerdict::Above:
      return {OutputEntryKind::OutOfRange, RangeEnd(range.high, layout), 0};
  }
  return {};
}

OutputEntry TakeOutputEntry(ProgramContext& context, ServiceSession& session,
                            const std::string& text, bool wideFormat, OutputLimits limits,
                            const std::string& wrongFormat, MessageIcon icon) {
  const OutputEntry entry = ReadOutputEntry(text, wideFormat, limits);
  switch (entry.kind) {
    case OutputEntryKind::WrongFormat:
      context.ui.Beep(BeepKind::Exclamation);
      context.ShowMessage(wrongFormat, icon);
      break;
    case OutputEntryKind::OutOfRange: context.ui.Beep(BeepKind::Question); break;
    case OutputEntryKind::Accepted: session.ForceOutput(entry.code); break;
  }
  return entry;
}

}  // namespace q5480
