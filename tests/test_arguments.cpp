#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "front/arguments.h"

using namespace bytewarp;

namespace {

struct NumberCase {
  const char* text;
  int stored;       // values stored by "%I"
  int32_t value;    // the value, when stored
};

TEST(ScanNumber, FollowsTheThirtyTwoBitSyntax) {
  const NumberCase cases[] = {
      {"0x1F", 1, 31}, {"0X1f", 1, 31}, {"017", 1, 15}, {"019", 1, 1}, {"08", 1, 0}, {"0", 1, 0},
      {"0x", 1, 0}, {"-5", 1, -5}, {"+5", 1, 5}, {" \t\n\r\v\f7", 1, 7}, {"12abc", 1, 12}, {"1e5", 1, 1},
      {"5.7", 1, 5}, {"x1F", 0, 0}, {"--5", 0, 0}, {"+-5", 0, 0}, {"- 5", 0, 0}, {"-", 0, 0}, {"+", 0, 0},
      {"", 0, 0}, {"   ", 0, 0}, {"2147483647", 1, INT32_MAX}, {"2147483648", 1, INT32_MIN},
      {"4294967295", 1, -1}, {"0xFFFFFFFF", 1, -1}, {"037777777777", 1, -1}, {"-4294967295", 1, 1},
      {"4294967296", 1, INT32_MAX}, {"0x100000000", 1, INT32_MAX}, {"040000000000", 1, INT32_MAX},
      {"-99999999999", 1, INT32_MIN}, {"-0", 1, 0}, {"\xff" "5", 0, 0},
  };
  for (const auto& c : cases) {
    int32_t v = 4242;
    EXPECT_EQ(scanArguments(c.text, "%I", {numberInto(v)}), c.stored) << c.text;
    EXPECT_EQ(v, c.stored ? c.value : 4242) << c.text;
  }
}

TEST(ScanNumber, LeavesWhatItDoesNotTakeForTheNextNumber) {
  const struct {
    const char* text;
    int stored;
    int32_t a, b;
  } cases[] = {
      {"99999999999 5", 2, INT32_MAX, 9},  // the eleventh nine is the second number
      {"019", 2, 1, 9},
      {"08", 2, 0, 8},
      {"5,7", 1, 5, -1},
      {"0x10 -0x10", 2, 16, -16},
  };
  for (const auto& c : cases) {
    int32_t a = -1, b = -1;
    EXPECT_EQ(scanArguments(c.text, "%I %I", {numberInto(a), numberInto(b)}), c.stored) << c.text;
    EXPECT_EQ(a, c.a) << c.text;
    EXPECT_EQ(b, c.b) << c.text;
  }
}

TEST(ScanWords, CountsWhatWasStoredAndKeepsPresets) {
  const struct {
    const char* text;
    int stored;
    const char* find;
    const char* replacement;
    int32_t repeat;
  } cases[] = {
      {"abc def 3", 3, "abc", "def", 3},
      {"abc", 1, "abc", "", 1},
      {"abc def x", 2, "abc", "def", 1},
      {"   ", 0, "", "", 1},
      {"\"a b\" c", 2, "\"a", "b\"", 1},  // quotes do not group
      {"abc 3", 2, "abc", "3", 1},       // a second word is the replacement even when numeric
      {"\xff\x80 \x01", 2, "\xff\x80", "\x01", 1},
  };
  for (const auto& c : cases) {
    std::string find, replacement;
    int32_t repeat = 1;
    EXPECT_EQ(scanArguments(c.text, "%s %s %I", {wordInto(find), wordInto(replacement), numberInto(repeat)}),
              c.stored)
        << c.text;
    EXPECT_EQ(find, c.find);
    EXPECT_EQ(replacement, c.replacement);
    EXPECT_EQ(repeat, c.repeat);
  }
  int32_t offset = 0, repeat = 7;
  std::string s;
  EXPECT_EQ(scanArguments("10 hello", "%I %s %I", {numberInto(offset), wordInto(s), numberInto(repeat)}), 2);
  EXPECT_EQ(repeat, 7);
  std::string longWord(5000, 'q');
  EXPECT_EQ(scanArguments(longWord, "%s", {wordInto(s)}), 1);
  EXPECT_EQ(s, longWord);
}

TEST(ScanSwitch, TakesOneCharacterAfterTheSlashIntoTheLowBits) {
  int32_t letter = 0x12345600;
  EXPECT_EQ(scanArguments("/abc", "/%c", {charInto(letter)}), 1);
  EXPECT_EQ(letter, 0x12345661);
  letter = 0;
  EXPECT_EQ(scanArguments("/\xe9", "/%c", {charInto(letter)}), 1);
  EXPECT_EQ(letter, 0xe9);  // unsigned code
  EXPECT_EQ(scanArguments("/", "/%c", {charInto(letter)}), 0);
  EXPECT_EQ(scanArguments("a", "/%c", {charInto(letter)}), 0);
  EXPECT_EQ(scanArguments(" /a", "/%c", {charInto(letter)}), 0);  // no blank is skipped before "/"
}

TEST(HexPairs, DecodeTwoCharactersAtATime) {
  const struct {
    const char* text;
    std::string bytes;
    bool complete;
  } cases[] = {
      {"414243", "ABC", true},
      {"4100", std::string("A\0", 2), true},
      {"4a4A", "JJ", true},
      {"414", "A\x04", true},
      {"0x41", std::string("\0A", 2), true},
      {"-1", "\xff", true},
      {"+1", "\x01", true},
      {"-F", "\xf1", true},
      {"1G", "\x01", true},
      {"0X", std::string("\0", 1), true},
      {"G1", std::string("\0", 1), false},
      {"xx41", std::string("\0A", 2), false},
      {"41-G", std::string("A\0", 2), false},
  };
  for (const auto& c : cases) {
    HexBytes h = decodeHexPairs(c.text);
    EXPECT_EQ(h.bytes, c.bytes) << c.text;
    EXPECT_EQ(h.complete, c.complete) << c.text;
  }
  EXPECT_EQ(decodeHexPairs(std::string(4000, 'f')).bytes, std::string(2000, '\xff'));
}

}  // namespace
