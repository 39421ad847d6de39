#include "config/text.h"

#include <array>
#include <cstdint>

namespace q5480 {
namespace {

// Code points of the bytes 0x80 to 0xFF. The five bytes that the code page
// leaves undefined keep their own value (C1 controls) so that every byte
// survives a round trip.
constexpr std::array<char32_t, 128> kUpperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

char32_t CodePointOfByte(std::uint8_t byte) {
  return byte < 0x80 ? char32_t{byte} : kUpperHalf[byte - 0x80];
}

// The byte of a code point, or -1 when the code page lacks it.
int ByteOfCodePoint(char32_t codePoint) {
  if (codePoint < 0x80) return static_cast<int>(codePoint);
  for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
    if (kUpperHalf[i] == codePoint) return static_cast<int>(0x80 + i);
  }
  return -1;
}

// Lower-case byte of an upper-case letter of the code page, else the byte.
std::uint8_t LowerByte(std::uint8_t byte) {
  if (byte >= 'A' && byte <= 'Z') return static_cast<std::uint8_t>(byte + 0x20);
  switch (byte) {
    case 0x8A:
    case 0x8C:
    case 0x8D:
    case 0x8E:
    case 0x8F: return static_cast<std::uint8_t>(byte + 0x10);
    case 0xA3: return 0xB3;
    case 0xA5: return 0xB9;
    case 0xAA: return 0xBA;
    case 0xAF: return 0xBF;
    case 0xBC: return 0xBE;
    default: break;
  }
  if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) {
    return static_cast<std::uint8_t>(byte + 0x20);
  }
  return byte;
}

struct Utf8Char {
  char32_t codePoint;
  std::size_t length;  // bytes taken, at least 1
  bool valid;
};

// Decodes one character at `pos`; a malformed sequence counts as one invalid
// byte so that counting and cutting still make progress.
Utf8Char DecodeAt(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<std::uint8_t>(text[pos]);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t length = 0;
  char32_t codePoint = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    codePoint = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    codePoint = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    codePoint = lead & 0x07;
    minimum = 0x10000;
  } else {
    return {lead, 1, false};
  }
  if (pos + length > text.size()) return {lead, 1, false};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<std::uint8_t>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return {lead, 1, false};
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < minimum || codePoint > 0x10FFFF || surrogate) return {lead, 1, false};
  return {codePoint, length, true};
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// Byte offset of character index `index`, or the size when the text is shorter.
std::size_t OffsetOfCharacter(std::string_view utf8, std::size_t index) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < index && pos < utf8.size(); ++n) {
    pos += DecodeAt(utf8, pos).length;
  }
  return pos;
}

bool IsValidUtf8WithNonAscii(std::string_view bytes) {
  bool nonAscii = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const Utf8Char c = DecodeAt(bytes, pos);
    if (!c.valid) return false;
    nonAscii = nonAscii || c.length > 1;
    pos += c.length;
  }
  return nonAscii;
}

}  // namespace

std::string Cp1250ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char byte : bytes) AppendUtf8(out, CodePointOfByte(static_cast<std::uint8_t>(byte)));
  return out;
}

std::string Utf8ToCp1250(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const Utf8Char c = DecodeAt(utf8, pos);
    const int byte = c.valid ? ByteOfCodePoint(c.codePoint) : -1;
    out += byte < 0 ? '?' : static_cast<char>(byte);
    pos += c.length;
  }
  return out;
}

std::string DecodeTextFile(std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.substr(0, kBom.size()) == kBom) return std::string(bytes.substr(kBom.size()));
  if (IsValidUtf8WithNonAscii(bytes)) return std::string(bytes);
  return Cp1250ToUtf8(bytes);
}

std::size_t CharCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < utf8.size(); ++count) pos += DecodeAt(utf8, pos).length;
  return count;
}

std::string Utf8Left(std::string_view utf8, std::size_t count) {
  return std::string(utf8.substr(0, OffsetOfCharacter(utf8, count)));
}

std::string Utf8Mid(std::string_view utf8, std::size_t first, std::size_t count) {
  const std::string_view rest = utf8.substr(OffsetOfCharacter(utf8, first));
  return Utf8Left(rest, count);
}

std::string Utf8ToLower(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const Utf8Char c = DecodeAt(utf8, pos);
    const int byte = c.valid ? ByteOfCodePoint(c.codePoint) : -1;
    if (byte < 0) {
      out.append(utf8.substr(pos, c.length));  // kept as it stands
    } else {
      AppendUtf8(out, CodePointOfByte(LowerByte(static_cast<std::uint8_t>(byte))));
    }
    pos += c.length;
  }
  return out;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return Utf8ToLower(a) == Utf8ToLower(b);
}

}  // namespace q5480
