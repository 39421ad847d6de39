// Language-table keys of the messages and reasons that the conversion gives.
#pragma once

namespace q5480 {

inline constexpr const char* kReasonValuesRise = "Values should rise";
inline constexpr const char* kReasonRiseOrFall = "1st column values should rise or fall";
inline constexpr const char* kReasonOutOfRange = "Value out of range";
inline constexpr const char* kReasonNotEnoughPoints = "Not enough points";
inline constexpr const char* kReasonSeriesError = "Power series calculation error";
// "Transfer function" and "is not monotonic", shown joined by a blank.
inline constexpr const char* kTransferFunction = "Transfer function";
inline constexpr const char* kIsNotMonotonic = "is not monotonic";
inline constexpr const char* kReasonNotMonotonic = "Transfer function is not monotonic";

inline constexpr const char* kMinimumOutOfRange = "Minimum out of range!";
inline constexpr const char* kMaximumOutOfRange = "Maximum out of range!";
inline constexpr const char* kInputRangeTooSmall = "Input range too small!";
inline constexpr const char* kRangeTooSmall = "Range too small";  // followed by "!"
inline constexpr const char* kOutOfRange = "Out of range!";
inline constexpr const char* kCorruptedFile = "Corrupted or wrong data file";  // followed by "!"
inline constexpr const char* kCannotOpenFile = "Cannot open file";
inline constexpr const char* kNoDataAvailable = "No data available";  // followed by "!"
inline constexpr const char* kNoConvergence = "No convergence!";
inline constexpr const char* kNotEnoughRows = "Not enough rows!";

}  // namespace q5480
