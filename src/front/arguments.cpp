#include "front/arguments.h"

#include <optional>

namespace bytewarp {
namespace {

int digitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

struct NumberRead {
  bool ok = false;
  uint32_t value = 0;
  size_t end = 0;
};

// Reads a number at `pos` with at most `width` characters (sign, prefix and
// digits together). `fixedHex` selects the hex-pair rules: base 16, where a
// leading 0 is just a digit but 0x is still a prefix.
NumberRead readNumber(std::string_view t, size_t pos, size_t width, bool fixedHex) {
  NumberRead r;
  size_t used = 0;
  auto more = [&] { return pos < t.size() && used < width; };
  bool negative = false;
  if (more() && (t[pos] == '+' || t[pos] == '-')) {
    negative = t[pos] == '-';
    ++pos, ++used;
  }
  unsigned base = fixedHex ? 16 : 10;
  bool digit = false;
  if (more() && t[pos] == '0') {
    digit = true;
    ++pos, ++used;
    if (more() && (t[pos] == 'x' || t[pos] == 'X')) {
      base = 16;
      ++pos, ++used;
    } else if (!fixedHex) {
      base = 8;
    }
  }
  uint64_t value = 0;
  bool overflow = false;
  while (more()) {
    int d = digitValue(static_cast<unsigned char>(t[pos]));
    if (d >= static_cast<int>(base)) break;
    digit = true;
    ++pos, ++used;
    value = value * base + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFull) {  // the overflowing digit is taken, the rest stay
      overflow = true;
      break;
    }
  }
  if (!digit) return r;
  r.ok = true;
  r.end = pos;
  if (overflow) {
    r.value = negative ? 0x80000000u : 0x7FFFFFFFu;
  } else {
    r.value = static_cast<uint32_t>(value);
    if (negative) r.value = 0u - r.value;
  }
  return r;
}

}  // namespace

bool isScanBlank(unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); }

int scanArguments(std::string_view text, std::string_view pattern, std::initializer_list<ScanTarget> targets) {
  auto target = targets.begin();
  size_t pos = 0;
  int stored = 0;
  auto skipBlanks = [&] {
    while (pos < text.size() && isScanBlank(static_cast<unsigned char>(text[pos]))) ++pos;
  };
  for (size_t p = 0; p < pattern.size(); ++p) {
    char c = pattern[p];
    if (c == ' ') {
      skipBlanks();
      continue;
    }
    if (c != '%' || p + 1 == pattern.size()) {
      if (pos >= text.size() || text[pos] != c) return stored;
      ++pos;
      continue;
    }
    char conv = pattern[++p];
    if (target == targets.end()) return stored;
    if (conv == 'I') {
      skipBlanks();
      NumberRead n = readNumber(text, pos, text.size(), false);
      if (!n.ok) return stored;
      *static_cast<int32_t*>(target->place) = static_cast<int32_t>(n.value);
      pos = n.end;
    } else if (conv == 's') {
      skipBlanks();
      if (pos >= text.size()) return stored;
      size_t start = pos;
      while (pos < text.size() && !isScanBlank(static_cast<unsigned char>(text[pos]))) ++pos;
      *static_cast<std::string*>(target->place) = std::string(text.substr(start, pos - start));
    } else if (conv == 'c') {
      if (pos >= text.size()) return stored;
      auto& field = *static_cast<int32_t*>(target->place);
      field = static_cast<int32_t>((static_cast<uint32_t>(field) & 0xFFFFFF00u) |
                                   static_cast<unsigned char>(text[pos]));
      ++pos;
    } else {
      return stored;
    }
    ++target;
    ++stored;
  }
  return stored;
}

HexBytes decodeHexPairs(std::string_view text) {
  HexBytes out;
  out.bytes.reserve((text.size() + 1) / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    // Whitespace before a pair is skipped and not counted.
    size_t start = i;
    while (start < text.size() && isScanBlank(static_cast<unsigned char>(text[start]))) ++start;
    NumberRead n = readNumber(text, start, 2, true);
    if (!n.ok) out.complete = false;
    out.bytes += static_cast<char>(n.ok ? n.value & 0xFF : 0);
  }
  return out;
}

bool decodeHexInPlace(std::string& text) {
  HexBytes decoded = decodeHexPairs(text);
  text = std::move(decoded.bytes);
  return decoded.complete;
}

}  // namespace bytewarp
