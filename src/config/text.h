// Text encodings and character counting.
//
// Inside the program every text is UTF-8. The module stores one byte per
// character and the program's text files are Windows-1250 ("ANSI"); the codec
// here round-trips all 256 byte values (the five bytes that Windows-1250
// leaves undefined map to the C1 code points of the same value).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace q5480 {

// One Windows-1250 byte per character to UTF-8.
std::string Cp1250ToUtf8(std::string_view bytes);

// UTF-8 to one Windows-1250 byte per character; a character that the code
// page lacks (or a malformed UTF-8 sequence) becomes '?'.
std::string Utf8ToCp1250(std::string_view utf8);

// Decodes the bytes of a text file: a UTF-8 byte-order mark, or valid UTF-8
// that contains non-ASCII bytes, is read as UTF-8 (the mark dropped);
// anything else as Windows-1250.
std::string DecodeTextFile(std::string_view bytes);

// Number of characters (code points) of a UTF-8 text.
std::size_t CharCount(std::string_view utf8);

// The first `count` characters of a UTF-8 text.
std::string Utf8Left(std::string_view utf8, std::size_t count);

// `count` characters from character index `first` (0-based) on.
std::string Utf8Mid(std::string_view utf8, std::size_t first,
                    std::size_t count = std::string::npos);

// Lower-case for the ASCII letters and the letters of Windows-1250.
std::string Utf8ToLower(std::string_view utf8);

// Compares two texts without regard to letter case (as Utf8ToLower).
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace q5480
