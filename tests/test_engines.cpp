#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "engine_harness.h"
#include "ops/bits/byte_maps.h"
#include "ops/bits/transpose.h"
#include "ops/extent/split.h"
#include "ops/extent/windows.h"
#include "ops/lines/column_edits.h"
#include "ops/lines/tabs.h"
#include "ops/search/insert.h"
#include "ops/search/replace.h"

using namespace bytewarp;
using namespace bytewarp::testing;

namespace {

constexpr int64_t kAll = std::numeric_limits<int64_t>::max();

std::string hex(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

struct Case {
  const char* name;
  std::string input;
  Engine engine;
  std::string expected;
};

void expectAllBlockSizes(const std::vector<Case>& cases) {
  for (const auto& c : cases)
    for (size_t block : kBlockSizes)
      EXPECT_EQ(runEngine(c.input, block, c.engine), c.expected) << c.name << " with blocks of " << block;
}

TEST(BitEngines, RewriteEveryByteOrPair) {
  auto pack = [](PairRule r) { return [r](Stream& i, Stream& o) { packPairs(i, o, r); }; };
  const std::string abc = hex({0x12, 0x34, 0x56}), mix = hex({0x00, 0xFF, 0xA5, 0x3C});
  const std::string seven = "ABCDEFG";
  expectAllBlockSizes({
      {"complement", abc, complementBytes, hex({0xED, 0xCB, 0xA9})},
      {"complement one byte", hex({0x80}), complementBytes, hex({0x7F})},
      {"complement empty", "", complementBytes, ""},
      {"upper", abc, pack(PairRule::UpperNibbles), hex({0x13})},
      {"lower", abc, pack(PairRule::LowerNibbles), hex({0x24})},
      {"odd", abc, pack(PairRule::OddBits), hex({0x46})},
      {"even", abc, pack(PairRule::EvenBits), hex({0x14})},
      {"upper mix", mix, pack(PairRule::UpperNibbles), hex({0x0F, 0xA3})},
      {"lower mix", mix, pack(PairRule::LowerNibbles), hex({0x0F, 0x5C})},
      {"odd mix", mix, pack(PairRule::OddBits), hex({0x0F, 0x36})},
      {"even mix", mix, pack(PairRule::EvenBits), hex({0x0F, 0xC6})},
      {"upper seven", seven, pack(PairRule::UpperNibbles), hex({0x44, 0x44, 0x44})},
      {"lower seven", seven, pack(PairRule::LowerNibbles), hex({0x12, 0x34, 0x56})},
      {"one byte pair", hex({0x80}), pack(PairRule::EvenBits), ""},
      {"bits", abc, reverseBitsPerByte, hex({0x48, 0x2C, 0x6A})},
      {"bits 01 A5", hex({0x01, 0xA5}), reverseBitsPerByte, hex({0x80, 0xA5})},
      {"nibbles", abc, swapNibblesPerByte, hex({0x21, 0x43, 0x65})},
  });
}

TEST(BlockReversal, ReversesWholeBlocksAndDropsTheTail) {
  auto blocks = [](int64_t n, int64_t size, size_t buffer) {
    return [=](Stream& i, Stream& o) { reverseBlocks(i, o, n, size, buffer); };
  };
  const std::string seven = "ABCDEFG", mix = hex({0x00, 0xFF, 0xA5, 0x3C});
  for (size_t buffer : {size_t{1}, size_t{2}, size_t{3}, size_t{5}, kReverseBuffer}) {
    expectAllBlockSizes({
        {"2", seven, blocks(2, 7, buffer), "BADCFE"},
        {"3", seven, blocks(3, 7, buffer), "CBAFED"},
        {"file", seven, blocks(7, 7, buffer), "GFEDCBA"},
        {"too large", seven, blocks(10, 7, buffer), ""},
        {"mix 2", mix, blocks(2, 4, buffer), hex({0xFF, 0x00, 0x3C, 0xA5})},
        {"mix 3", mix, blocks(3, 4, buffer), hex({0xA5, 0xFF, 0x00})},
        {"empty", "", blocks(0, 0, buffer), ""},
    });
  }
  StreamOptions o{7, false};
  Stream in(memoryFile("ABCDEFG"), o), out(memoryFile(""), o);
  EXPECT_EQ(reverseBlocks(in, out, 3, 7), 2);
  // A file shorter than the length it had when opened is an error, not a shorter result.
  Stream shrunk(memoryFile("ABC"), o), sink(memoryFile(""), o);
  reverseBlocks(shrunk, sink, 2, 6);
  EXPECT_TRUE(shrunk.failed());
}

TEST(ExtentEngines, KeepAndDropWindows) {
  const std::string ten = "ABCDEFGHIJ";
  auto crop = [](int64_t o, int64_t n) { return [=](Stream& i, Stream& s) { cropBytes(i, s, o, n); }; };
  auto remove = [](int64_t o, int64_t n) { return [=](Stream& i, Stream& s) { removeBytes(i, s, o, n); }; };
  auto extract = [](int64_t n, int64_t b) { return [=](Stream& i, Stream& s) { extractPerBlock(i, s, n, b); }; };
  expectAllBlockSizes({
      {"crop 3 4", ten, crop(3, 4), "DEFG"},
      {"crop 8 5", ten, crop(8, 5), "IJ"},
      {"crop -3 4", ten, crop(-3, 4), "ABCD"},
      {"crop 20 5", ten, crop(20, 5), ""},
      {"remove 3 4", ten, remove(3, 4), "ABCHIJ"},
      {"remove 0 3", ten, remove(0, 3), "DEFGHIJ"},
      {"remove 8 5", ten, remove(8, 5), "ABCDEFGH"},
      {"remove -1 3", ten, remove(-1, 3), ten},
      {"remove 20 3", ten, remove(20, 3), ten},
      {"remove huge", ten, remove(2, kAll), "AB"},
      {"extract 2 4", ten, extract(2, 4), "ABEFIJ"},
      {"extract -2 4", ten, extract(-2, 4), "CDGH"},
      {"extract -1 3", ten, extract(-1, 3), "CFI"},
      {"extract 0 4", ten, extract(0, 4), ""},
      {"extract 9 4", ten, extract(9, 4), ten},
      {"extract -9 4", ten, extract(-9, 4), ten},
      {"extract -3 1", ten, extract(-3, 1), ten},
      {"extract 3 100", ten, extract(3, 100), "ABC"},
      {"extract -3 100", ten, extract(-3, 100), ""},
      {"extract 3 7", ten, extract(3, 7), "ABCHIJ"},
      {"extract -2 7", ten, extract(-2, 7), "FG"},
  });
  StreamOptions o{3, false};
  Stream in(memoryFile(ten), o), out(memoryFile(""), o);
  EXPECT_EQ(extractPerBlock(in, out, -2, 4), 6);
}

TEST(ExtentEngines, KernelCopyGivesTheSameBytes) {
  std::string big(3 << 20, '\0');
  std::mt19937 rng(7);
  for (auto& c : big) c = static_cast<char>(rng());
  auto crop = [](Stream& i, Stream& s) { cropBytes(i, s, 1000, 2 << 20); };
  auto remove = [](Stream& i, Stream& s) { removeBytes(i, s, 1000, 1 << 20); };
  EXPECT_EQ(runEngine(big, 4096, crop, true), big.substr(1000, 2 << 20));
  EXPECT_EQ(runEngine(big, 4096, remove, true), big.substr(0, 1000) + big.substr(1000 + (1 << 20)));
}

TEST(Split, PlansChunksBySizeAndByCount) {
  const struct {
    int64_t size, length, chunkSize, chunks;
  } cases[] = {
      {10, 3, 3, 4},   {10, 20, 20, 1}, {10, -3, 4, 3}, {10, -4, 3, 4},      {9, -4, 3, 4},
      {10, -20, 1, 20}, {0, 5, 5, 0},   {0, -3, 0, 3},  {1000, 1, 1, 1000}, {5000, -1000, 5, 1000},
      {int64_t{3} << 30, 1 << 20, 1 << 20, 3072},      {100, INT32_MIN, 1, int64_t{1} << 31},
  };
  for (const auto& c : cases) {
    SplitPlan p = planSplit(c.size, c.length);
    EXPECT_EQ(p.chunkSize, c.chunkSize) << c.size << " " << c.length;
    EXPECT_EQ(p.chunks, c.chunks) << c.size << " " << c.length;
  }
}

TEST(Split, FillsChunksInOrder) {
  for (size_t block : kBlockSizes) {
    StreamOptions o{block, false};
    Stream in(memoryFile("ABCDEFGHI"), o);
    std::vector<int> fds;
    int err = 0;
    auto open = [&](int64_t, int&) {
      fds.push_back(memoryFile(""));
      return std::make_unique<Stream>(::dup(fds.back()), o);
    };
    ASSERT_EQ(splitIntoChunks(in, planSplit(9, -4), open, err), SplitOutcome::Done);
    std::vector<std::string> got;
    for (int fd : fds) got.push_back(contentOf(fd)), ::close(fd);
    EXPECT_EQ(got, (std::vector<std::string>{"ABC", "DEF", "GHI", ""})) << block;
  }
}

TEST(Replace, FindsLeftmostNonOverlappingOccurrences) {
  struct R {
    const char* name;
    std::string input, find, replacement;
    int64_t repeat;
    std::string expected;
    int64_t count;
  };
  const R cases[] = {
      {"empty", "", "ab", "", 1, "", 0},
      {"delete", "XAB", "AB", "", 1, "X", 1},
      {"fall back", "aab", "ab", "#", 1, "a#", 1},
      {"fall back longer", "aaab", "aab", "#", 1, "a#", 1},
      {"no overlap", "aaaa", "aa", "#", 1, "##", 2},
      {"odd run", "aaaaa", "aa", "#", 1, "##a", 2},
      {"crlf", "a\r\nb\r\n", "\r\n", "\n", 1, "a\nb\n", 2},
      {"repeat", "-ab-", "ab", "xy", 3, "-xyxyxy-", 1},
      {"cut short", "abcab", "abc", "Z", 1, "Zab", 1},
      {"zero bytes", std::string("a\0b\0", 4), std::string("\0", 1), "0", 1, "a0b0", 2},
      {"border", "abababac", "ababac", "#", 1, "ab#", 1},
      {"border miss", "ababab", "ababac", "#", 1, "ababab", 0},
      {"self", "abcabcabd", "abcabd", "!", 1, "abc!", 1},
      {"single", "banana", "a", "", 1, "bnn", 3},
  };
  for (const auto& c : cases) {
    for (size_t block : kBlockSizes) {
      int64_t count = -1;
      int indexFd = memoryFile("");
      auto engine = [&](Stream& in, Stream& out) {
        Stream index(::dup(indexFd), in.options());
        count = replaceAll(in, out, index, {c.find, c.replacement, c.repeat});
        index.flush();
      };
      EXPECT_EQ(runEngine(c.input, block, engine), c.expected) << c.name << " blocks " << block;
      EXPECT_EQ(count, c.count) << c.name;
      ::close(indexFd);
    }
  }
}

// Leftmost, non-overlapping occurrences, found the plain way.
std::string replacedPlainly(const std::string& in, const std::string& find, const std::string& by, int64_t& count) {
  std::string out;
  count = 0;
  for (size_t i = 0; i < in.size();) {
    if (in.compare(i, find.size(), find) == 0) {
      out += by, i += find.size(), ++count;
    } else {
      out += in[i++];
    }
  }
  return out;
}

TEST(Replace, AgreesWithAPlainSearchOnRandomInputs) {
  std::mt19937 rng(11);
  for (int round = 0; round < 400; ++round) {
    auto randomText = [&](size_t n) {
      std::string t;
      for (size_t i = 0; i < n; ++i) t += static_cast<char>('a' + rng() % 3);
      return t;
    };
    std::string input = randomText(rng() % 200), find = randomText(1 + rng() % 5), by = randomText(rng() % 3);
    int64_t expectedCount = 0;
    std::string expected = replacedPlainly(input, find, by, expectedCount);
    for (size_t block : kBlockSizes) {
      int64_t count = -1;
      int indexFd = memoryFile("");
      auto engine = [&](Stream& in, Stream& out) {
        Stream index(::dup(indexFd), in.options());
        count = replaceAll(in, out, index, {find, by, 1});
      };
      ASSERT_EQ(runEngine(input, block, engine), expected) << input << " " << find << " " << by << " " << block;
      ASSERT_EQ(count, expectedCount);
      ::close(indexFd);
    }
  }
}

TEST(Replace, WritesOneIndexRecordPerOccurrence) {
  int indexFd = memoryFile("");
  std::string input = std::string(26, '.') + "XY" + std::string(0x1000 - 28, '.') + "XY";
  runEngine(input, 5, [&](Stream& in, Stream& out) {
    Stream index(::dup(indexFd), in.options());
    replaceAll(in, out, index, {"XY", "", 1});
    index.flush();
  });
  EXPECT_EQ(contentOf(indexFd), "\r\n#     1:      1A =       26\r\n#     2:    1000 =     4096");
  ::close(indexFd);
}

TEST(InsertAtOffset, OnceOrAfterEveryBlock) {
  auto ins = [](int64_t off, bool periodic, std::string s, int64_t rep) {
    return [=](Stream& i, Stream& o) { insertString(i, o, off, periodic, s, rep); };
  };
  expectAllBlockSizes({
      {"at 2", "ABCDEF", ins(2, false, "#", 1), "AB#CDEF"},
      {"past end", "ABCDEF", ins(10, false, "#", 1), "ABCDEF#"},
      {"start repeat", "ABCDEF", ins(0, false, "#", 3), "###ABCDEF"},
      {"every 2", "ABCDEF", ins(2, true, "#", 1), "AB#CD#EF##"},
      {"every 2 odd", "ABCDEFG", ins(2, true, "#", 1), "AB#CD#EF#G#"},
      {"every 1", "AB", ins(1, true, "#", 1), "A#B##"},
      {"empty", "", ins(3, true, "xy", 2), "xyxy"},
      {"empty once", "", ins(3, false, "xy", 1), "xy"},
      {"repeat 0", "ABC", ins(1, true, "#", 0), "ABC"},
  });
  StreamOptions o{2, false};
  Stream in(memoryFile("ABCDEF"), o), out(memoryFile(""), o);
  EXPECT_EQ(insertString(in, out, 2, true, "#", 1), 4);
}

TEST(LineEdits, DeleteAndInsertAtAColumn) {
  auto del = [](int64_t col, int64_t last) { return [=](Stream& i, Stream& o) { deletePerLine(i, o, col, last); }; };
  auto add = [](int64_t col, std::string s, int64_t rep) {
    return [=](Stream& i, Stream& o) { insertPerLine(i, o, col, s, rep); };
  };
  const std::string lines = "abcdef\r\nxy\r\n\r\nabcdefgh";
  expectAllBlockSizes({
      {"delete 2 3", lines, del(2, 5), "abf\r\nxy\r\n\r\nabfgh"},
      {"cut at 2", lines, del(2, kAll), "ab\r\nxy\r\n\r\nab"},
      {"first char", "abc\nd\n\nef", del(0, 1), "bc\n\n\nf"},
      {"everything", "abc\rd\n\nef", del(0, kAll), "\r\n\n"},
      {"exact length", "ab\nabc", del(2, 3), "ab\nab"},
      {"insert 2", "abcdef\r\nxy\r\n\r\nabc", add(2, "--", 1), "ab--cdef\r\nxy\r\n\r\nab--c"},
      {"insert 0 twice", "abc\nab\n\n", add(0, ">", 2), ">>abc\n>>ab\n\n"},
      {"negative column", "abc\n", add(-1, ">", 1), "abc\n"},
      {"crlf string", "abcd\nabcd", add(1, "\r\n", 1), "a\r\nbcd\na\r\nbcd"},
      {"empty", "", add(0, ">", 1), ""},
  });
  StreamOptions o{3, false};
  Stream in(memoryFile(lines), o), out(memoryFile(""), o);
  EXPECT_EQ(deletePerLine(in, out, 2, 5), 2);
  Stream in2(memoryFile("abc\nab\n\nx"), o), out2(memoryFile(""), o);
  EXPECT_EQ(insertPerLine(in2, out2, 0, ">", 2), 3);
}

TEST(Tabs, BlanksToTabsAndBack) {
  auto toTabs = [](int64_t n) { return [=](Stream& i, Stream& o) { blanksToTabs(i, o, n); }; };
  auto toBlanks = [](int64_t n) { return [=](Stream& i, Stream& o) { tabsToBlanks(i, o, n); }; };
  expectAllBlockSizes({
      {"nine blanks", "a         b", toTabs(8), "a\t  b"},
      {"one blank to stop", "abcdefg h", toTabs(8), "abcdefg\th"},
      {"trailing", "ab          \n", toTabs(8), "ab\t\n"},
      {"tab swallows", "ab   \tc", toTabs(8), "ab\tc"},
      {"three blanks", "   \n", toTabs(8), "\n"},
      {"eight blanks", "        \n", toTabs(8), "\t\n"},
      {"four", "        x", toTabs(4), "\t\tx"},
      {"quoted", "a \"        \" b", toTabs(4), "a \"        \" b"},
      {"quote open to line end", "'       \n        x", toTabs(8), "'       \n\tx"},
      {"mixed quotes close", "\"   '        x", toTabs(4), "\"   '\t\t x"},
      {"end of input drops", "x   ", toTabs(8), "x"},
      {"cr ends line", "ab\r      x", toTabs(4), "ab\r\t  x"},
      {"s4", "a\tb\tc", toBlanks(4), "a   b   c"},
      {"s4 at stop", "abcd\te", toBlanks(4), "abcd    e"},
      {"s quotes too", "\"\t\"\n\t", toBlanks(2), "\" \"\n  "},
      {"empty", "", toBlanks(8), ""},
  });
  StreamOptions o{2, false};
  Stream in(memoryFile("        x  \t"), o), out(memoryFile(""), o);
  EXPECT_EQ(blanksToTabs(in, out, 4), 2);
  Stream in2(memoryFile("a\tb\tc"), o), out2(memoryFile(""), o);
  EXPECT_EQ(tabsToBlanks(in2, out2, 4), 2);
}

}  // namespace

namespace {

// The line edits written out byte by byte, the plain way, to compare the
// block engines with on random text.
std::string tabsPlainly(const std::string& in, int64_t t, int64_t& tabs) {
  std::string out;
  int64_t column = 0, pending = 0;
  bool quoted = false;
  tabs = 0;
  for (char c : in) {
    if (c == ' ') {
      ++column;
      if (quoted) {
        out += c;
      } else if (++pending; column % t == 0) {
        ++tabs, pending = 0, out += '\t';
      }
    } else if (c == '\t') {
      pending = 0, column += t - column % t, out += c;
    } else if (c == '\r' || c == '\n') {
      quoted = false, pending = 0, column = 0, out += c;
    } else {
      if (c == '"' || c == '\'') quoted = !quoted;
      ++column, out += std::string(static_cast<size_t>(pending), ' '), pending = 0, out += c;
    }
  }
  return out;
}

std::string columnsPlainly(const std::string& in, int64_t column, int64_t last, const std::string* insert) {
  std::string out;
  int64_t pos = 0;
  for (char c : in) {
    if (c == '\r' || c == '\n') {
      pos = 0, out += c;
      continue;
    }
    ++pos;
    if (insert) {
      if (pos == column + 1) out += *insert;
      out += c;
    } else if (pos <= column || pos > last) {
      out += c;
    }
  }
  return out;
}

TEST(LineEdits, AgreeWithByteByByteEditsOnRandomText) {
  std::mt19937 rng(5);
  const char alphabet[] = {'a', 'b', ' ', ' ', ' ', '\t', '\n', '\r', '"', '\''};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (size_t n = rng() % 80; n > 0; --n) text += alphabet[rng() % sizeof alphabet];
    const int64_t t = 2 + rng() % 5, column = rng() % 5, length = rng() % 4;
    const int64_t last = length == 0 ? kAll : column + length;
    const std::string ins = "<>";
    int64_t expectedTabs = 0;
    const std::string tabbed = tabsPlainly(text, t, expectedTabs);
    for (size_t block : kBlockSizes) {
      int64_t tabs = -1;
      ASSERT_EQ(runEngine(text, block, [&](Stream& i, Stream& o) { tabs = blanksToTabs(i, o, t); }), tabbed)
          << round << " " << block;
      ASSERT_EQ(tabs, expectedTabs);
      ASSERT_EQ(runEngine(text, block, [&](Stream& i, Stream& o) { deletePerLine(i, o, column, last); }),
                columnsPlainly(text, column, last, nullptr));
      ASSERT_EQ(runEngine(text, block, [&](Stream& i, Stream& o) { insertPerLine(i, o, column, ins, 1); }),
                columnsPlainly(text, column, 0, &ins));
    }
  }
}

}  // namespace

namespace {

TEST(MappedInput, AFileCutUnderTheMappingIsAnErrorNotACrash) {
  char name[] = "/tmp/bytewarp-map-XXXXXX";
  int fd = ::mkstemp(name);
  ASSERT_GE(fd, 0);
  ::unlink(name);
  std::string data(1 << 20, 'x');
  ASSERT_EQ(::pwrite(fd, data.data(), data.size(), 0), static_cast<ssize_t>(data.size()));
  Stream in(fd, StreamOptions{});
  auto window = in.peek();
  ASSERT_FALSE(window.empty());
  ASSERT_EQ(::ftruncate(fd, 0), 0);  // another program cuts the file
  unsigned sum = 0;
  for (uint8_t b : window) sum += b;  // the lost pages read as zeros
  EXPECT_EQ(sum, 0u);
  in.consume(window.size());
  EXPECT_TRUE(in.peek().empty());
  EXPECT_TRUE(in.failed());
  EXPECT_EQ(in.error(), EIO);
}

}  // namespace
