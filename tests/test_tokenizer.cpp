#include <gtest/gtest.h>

#include "front/tokenizer.h"
#include "platform/command_line.h"

using namespace bytewarp;

TEST(Tokenizer, CutsTokensAndKeepsTheRestOfTheLine) {
  Tokenizer t("  data.bin /w   /a  foo bar ");
  EXPECT_EQ(t.nextToken(" ", 0), "data.bin");
  EXPECT_EQ(t.nextToken(" "), "/w");
  EXPECT_EQ(t.nextToken(" "), "/a");
  EXPECT_EQ(t.restOfLine(), " foo bar ");  // leading blanks kept after the one that ended the token
  EXPECT_EQ(t.restOfLine(), std::nullopt);
  EXPECT_EQ(t.nextToken(" "), std::nullopt);
}

TEST(Tokenizer, RestOfLineIsNoneWhenOnlyTheEndingBlankFollows) {
  Tokenizer a("f /z ");
  a.nextToken(" ", 0);
  a.nextToken(" ");
  EXPECT_EQ(a.restOfLine(), std::nullopt);
  Tokenizer b("f /z  ");
  b.nextToken(" ", 0);
  b.nextToken(" ");
  EXPECT_EQ(b.restOfLine(), " ");
}

TEST(Tokenizer, QuoteDelimitedNameMayHoldBlanksAndTabs) {
  Tokenizer t("\"my data.bin\" /m");
  EXPECT_EQ(t.nextToken("\"", 1), "my data.bin");
  EXPECT_EQ(t.nextToken(" "), "/m");
  Tokenizer open("\"my data.bin /m");
  EXPECT_EQ(open.nextToken("\"", 1), "my data.bin /m");
  EXPECT_EQ(open.nextToken(" "), std::nullopt);
  Tokenizer tab("data.bin\t/m");
  EXPECT_EQ(tab.nextToken(" ", 0), "data.bin\t/m");
}

TEST(ProgramName, IsRemovedWithTheBlanksAroundIt) {
  const struct {
    const char* line;
    const char* rest;
  } cases[] = {
      {"bytewarp data.bin /m", "data.bin /m"},
      {"  \tbytewarp \t data.bin", "data.bin"},
      {"\"C:\\my tools\\bytewarp\" data.bin", "data.bin"},
      {"\"my tools\tx\" a", "x\" a"},  // a quoted name also ends at a tab
      {"\"unclosed name", ""},
      {"bytewarp", ""},
      {"bytewarp   \t ", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(stripProgramName(c.line), c.rest) << c.line;
}

TEST(ProcessCommandLine, JoinsArgumentsAndQuotesThoseWithBlanks) {
  const char* argv[] = {"/usr/bin/bytewarp", "my file.bin", "/a", "x", "y"};
  EXPECT_EQ(joinArguments(5, argv), "\"my file.bin\" /a x y");
  EXPECT_EQ(stripProgramName(processCommandLine(5, argv)), "\"my file.bin\" /a x y");
  EXPECT_EQ(joinArguments(1, argv), "");
}
