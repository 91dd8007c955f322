// The argument syntax of every switch: numbers (32-bit, decimal, octal or
// hexadecimal, with a sign), words, single characters, and hex text.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace bytewarp {

// Where one conversion of a pattern stores its value.
struct ScanTarget {
  enum class Kind { Number, Word, Char } kind;
  void* place;
};
inline ScanTarget numberInto(int32_t& v) { return {ScanTarget::Kind::Number, &v}; }
inline ScanTarget wordInto(std::string& s) { return {ScanTarget::Kind::Word, &s}; }
// A character goes into the lowest 8 bits of a 32-bit field; the rest stay.
inline ScanTarget charInto(int32_t& v) { return {ScanTarget::Kind::Char, &v}; }

// Matches `text` against `pattern` ("%I" number, "%s" word, "%c" character,
// a blank skips any whitespace, anything else must match literally) and
// returns how many values were stored before the first failure.
int scanArguments(std::string_view text, std::string_view pattern, std::initializer_list<ScanTarget> targets);

// Hex text decoded two characters at a time. `complete` is false when some
// pair yielded no number at all (G1, xx, a sign and a non-digit); such a pair
// contributes a 0 byte to `bytes`.
struct HexBytes {
  std::string bytes;
  bool complete = true;
};
HexBytes decodeHexPairs(std::string_view text);

// Replaces hex text by the bytes it decodes to; false when some pair yields
// no number (the switch then refuses the argument).
bool decodeHexInPlace(std::string& text);

bool isScanBlank(unsigned char c);

}  // namespace bytewarp
