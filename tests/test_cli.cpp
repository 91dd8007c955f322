// The built tool run end to end: exit code, both output streams and every
// file left in the folder.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "e2e_support.h"

using namespace bytewarp::testing;

namespace {

using Files = std::map<std::string, std::string>;

struct CliCase {
  const char* name;
  Files before;
  std::vector<std::string> args;
  int exitCode;
  std::string out;
  std::string err;
  Files after;  // exactly the files left, with their contents
};

std::string sizeLine(long from, long to) {
  return "\nFile size changed from " + std::to_string(from) + " to " + std::to_string(to) + ".";
}

void runCases(const std::vector<CliCase>& cases) {
  for (const auto& c : cases) {
    Sandbox box;
    for (const auto& [n, content] : c.before) box.write(n, content);
    Outcome o = box.run(c.args);
    EXPECT_EQ(o.exitCode, c.exitCode) << c.name;
    EXPECT_EQ(o.out, c.out) << c.name;
    EXPECT_EQ(o.err, c.err) << c.name;
    Files left;
    for (const auto& n : box.names()) left[n] = box.read(n);
    EXPECT_EQ(left, c.after) << c.name;
  }
}

const std::string kData = "\x12\x34\x56";

TEST(CommandLine, UsageAndItsExits) {
  const std::string usage = usageBox();
  const Files data{{"data.bin", kData}};
  runCases({
      {"empty line", data, {}, 0, "", usage, data},
      {"blanks only", data, {" ", "\t"}, 0, "", usage, data},
      {"name alone", data, {"data.bin"}, 0, "", usage, data},
      {"no slash", data, {"data.bin", "m"}, 0, "", usage, data},
      {"slash alone", data, {"data.bin", "/"}, 0, "", usage, data},
      {"w alone", data, {"data.bin", "/w"}, 0, "", usage, data},
      {"upper W opens then refuses", data, {"data.bin", "/W"}, 0, "", usage, data},
      {"second w is a letter", data, {"data.bin", "/w", "/w"}, 0, "", usage, data},
      {"unknown letter", data, {"data.bin", "/q", "1"}, 0, "", usage, data},
      {"tab does not separate", data, {"data.bin\t/m"}, 0, "", usage, data},
      {"unknown letter keeps an earlier result", {{"data.bin", kData}, {"data.bin.new", "old"}}, {"data.bin", "/q"},
       0, "", usage, {{"data.bin", kData}, {"data.bin.new", "old"}}},
      {"missing input beats usage", {}, {"data.bin", "/q"}, 0, "", "Error Opening Input File\nNo such file or directory\n",
       {}},
      {"z without argument", data, {"data.bin", "/z"}, 0, "", usage, data},
      {"z with one blank", data, {"data.bin", "/z "}, 0, "", usage, data},
      {"c with tab in token", data, {"data.bin", "/c\t0", "10"}, 0, "", usage, data},
      {"N is no swap", data, {"/N", "data.bin", "/m"}, 0, "", usage, data},
      {"unclosed quote", data, {"\"data.bin", "/m"}, 0, "", usage, data},
  });
}

TEST(CommandLine, UsageTextIsExact) {
  Sandbox box;
  std::string err = box.run({}).err;
  ASSERT_EQ(err.substr(0, 9), "Bytewarp\n");
  std::string text = err.substr(9);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 32);
  EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
  for (const char* line : {"Command Line  Bytewarp\n\nBytewarp.exe  file_name  [/w]  switch\n\n",
                           "\n\t/a  find  [replace  repeat]\t-->  ASCII replace\n",
                           "\n\t/j  length  \t\t-->  Split file\n", "\n\t/p  -1\t\t\t-->  Transpose bytes per file\n",
                           "\n\t/m  \t\t\t-->  2's complement\n", "\n\t/z  size\t\t\t-->  Change file size\n\n",
                           "\n\t/w  overwrites the original file.\n\n",
                           "\nBytewarp.exe  /n  file1  file2\t\t--> Swap file names\n\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(RunFrame, BitRewritesReportThroughTheFrame) {
  const Files data{{"data.bin", kData}};
  auto with = [](std::string out) { return Files{{"data.bin", "\x12\x34\x56"}, {"data.bin.new", out}}; };
  runCases({
      {"complement", data, {"data.bin", "/m"}, 1, infoBox("data.bin", "File complemented..." + sizeLine(3, 3)), "",
       with("\xED\xCB\xA9")},
      {"upper", data, {"data.bin", "/u"}, 1, infoBox("data.bin", "Upper nipples extracted..." + sizeLine(3, 1)), "",
       with("\x13")},
      {"lower", data, {"data.bin", "/l", "junk"}, 1, infoBox("data.bin", "Lower nipples extracted..." + sizeLine(3, 1)),
       "", with("\x24")},
      {"odd", data, {"data.bin", "/-"}, 1, infoBox("data.bin", "Odd bits extracted..." + sizeLine(3, 1)), "",
       with("\x46")},
      {"even", data, {"data.bin", "/+"}, 1, infoBox("data.bin", "Even bits extracted..." + sizeLine(3, 1)), "",
       with("\x14")},
      {"slash-word switch", data, {"data.bin", "/write", "/m"}, 1,
       infoBox("data.bin", "File complemented..." + sizeLine(3, 3)), "", {{"data.bin", "\xED\xCB\xA9"}}},
      {"overwrite", data, {"data.bin", "/w", "/m"}, 1, infoBox("data.bin", "File complemented..." + sizeLine(3, 3)),
       "", {{"data.bin", "\xED\xCB\xA9"}}},
      {"empty input", {{"e", ""}}, {"e", "/m"}, 1, infoBox("e", "File complemented..." + sizeLine(0, 0)), "",
       {{"e", ""}, {"e.new", ""}}},
      {"existing output is replaced", {{"data.bin", kData}, {"data.bin.new", "older and longer"}}, {"data.bin", "/m"},
       1, infoBox("data.bin", "File complemented..." + sizeLine(3, 3)), "", with("\xED\xCB\xA9")},
      {"quoted name with blank", {{"my data.bin", "\x01"}}, {"my data.bin", "/m"}, 1,
       infoBox("my data.bin", "File complemented..." + sizeLine(1, 1)), "",
       {{"my data.bin", "\x01"}, {"my data.bin.new", "\xFE"}}},
  });
}

TEST(RunFrame, FailuresLoseNothing) {
  Sandbox box;
  box.write("data.bin", kData);
  // A directory as input.
  ::mkdir(box.path("folder").c_str(), 0755);
  Outcome dir = box.run({"folder", "/m"});
  EXPECT_EQ(dir.exitCode, 0);
  EXPECT_EQ(dir.err, "Error Opening Input File\nIs a directory\n");
  EXPECT_FALSE(box.exists("folder.new"));
  // What stands behind the output name; none of it may cost the input.
  const struct {
    const char* name;
    const char* target;  // of a symlink, or null for a hard link to the input
    std::vector<std::string> args;
    bool resultShown;  // the result box comes before the failure
    std::string err;
  } behind[] = {
      {"full disk", "/dev/full", {"data.bin", "/m"}, false, "I/O Error\nNo space left on device\n"},
      {"full disk with /w", "/dev/full", {"data.bin", "/w", "/m"}, false, "I/O Error\nNo space left on device\n"},
      {"link is never renamed over the input", "/dev/null", {"data.bin", "/w", "/m"}, true,
       "Error Renaming Output File\nInvalid argument\n"},
      {"symlink to the input", "data.bin", {"data.bin", "/w", "/m"}, false, "Error Opening Output File\nFile exists\n"},
      {"hard link to the input", nullptr, {"data.bin", "/m"}, false, "Error Opening Output File\nFile exists\n"},
  };
  for (const auto& c : behind) {
    const std::string out = box.path("data.bin.new");
    ASSERT_EQ(c.target ? ::symlink(c.target, out.c_str()) : ::link(box.path("data.bin").c_str(), out.c_str()), 0);
    Outcome o = box.run(c.args);
    EXPECT_EQ(o.exitCode, 0) << c.name;
    EXPECT_EQ(o.out, c.resultShown ? infoBox("data.bin", "File complemented..." + sizeLine(3, 3)) : "") << c.name;
    EXPECT_EQ(o.err, c.err) << c.name;
    EXPECT_EQ(box.read("data.bin"), kData) << c.name;
    ::unlink(out.c_str());
  }
  // A missing folder.
  Outcome folder = box.run({"nowhere/data.bin", "/m"});
  EXPECT_EQ(folder.err, "Error Opening Input File\nNo such file or directory\n");
}

TEST(RunFrame, OverwriteKeepsThePermissionBits) {
  Sandbox box;
  box.write("script", "ab");
  ::chmod(box.path("script").c_str(), 0741);
  ASSERT_EQ(box.run({"script", "/w", "/p", "-1"}).exitCode, 1);
  struct stat st {};
  ::stat(box.path("script").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0741u);
  EXPECT_EQ(box.read("script"), "ba");
  EXPECT_EQ(box.names(), std::vector<std::string>{"script"});
}

TEST(ChangeFileSize, CutsOrExtendsInPlace) {
  const std::string hundred(100, 'x');
  const Files data{{"f", hundred}};
  auto changed = [](long from, long to) { return infoBox("f", "File size changed from " + std::to_string(from) + " to " + std::to_string(to) + "."); };
  runCases({
      {"grow", data, {"f", "/z", "150"}, 1, changed(100, 150), "", {{"f", hundred + std::string(50, '\0')}}},
      {"cut", data, {"f", "/z", "40"}, 1, changed(100, 40), "", {{"f", std::string(40, 'x')}}},
      {"shorten", data, {"f", "/z", "-30"}, 1, changed(100, 70), "", {{"f", std::string(70, 'x')}}},
      {"empty", data, {"f", "/z", "0"}, 1, changed(100, 0), "", {{"f", ""}}},
      {"same", data, {"f", "/z", "0x64"}, 1, changed(100, 100), "", data},
      {"all of it", data, {"f", "/z", "-100"}, 1, changed(100, 0), "", {{"f", ""}}},
      {"too far", data, {"f", "/z", "-101"}, 0, "", "Error Changing File Size\nInvalid argument\n", data},
      {"lone sign", data, {"f", "/z", "-"}, 0, "", usageBox(), data},
      {"blanks", data, {"f", "/z", " ", " "}, 0, "", usageBox(), data},
      {"overwrite changes nothing more", {{"f", hundred}, {"f.new", "old"}}, {"f", "/w", "/z", "10"}, 1, changed(100, 10),
       "", {{"f", std::string(10, 'x')}}},
  });
}

TEST(Search, ReplaceAndInsert) {
  const Files abc{{"t", "XAB-AB"}};
  auto left = [](std::string out, std::string index) { return Files{{"t", "XAB-AB"}, {"t.new", out}, {"t_index.txt", index}}; };
  const std::string twoRecords = "\r\n#     1:       1 =        1\r\n#     2:       4 =        4";
  runCases({
      {"delete", abc, {"t", "/a", "AB"}, 1, infoBox("t", "2 changes made..." + sizeLine(6, 2)), "", left("X-", twoRecords)},
      {"replace repeat", abc, {"t", "/a", "AB", "xy", "2"}, 1, infoBox("t", "2 changes made..." + sizeLine(6, 10)), "",
       left("Xxyxy-xyxy", twoRecords)},
      {"hex", abc, {"t", "/b", "4142", "00"}, 1, infoBox("t", "2 changes made..." + sizeLine(6, 4)), "",
       left(std::string("X\0-\0", 4), twoRecords)},
      {"repeat 0 refused", abc, {"t", "/a", "AB", "x", "0"}, 0, "", usageBox(), {{"t", "XAB-AB"}, {"t_index.txt", ""}}},
      {"no find", abc, {"t", "/a"}, 0, "", usageBox(), {{"t", "XAB-AB"}, {"t_index.txt", ""}}},
      {"bad hex pair", abc, {"t", "/b", "G1"}, 0, "", usageBox(), {{"t", "XAB-AB"}, {"t_index.txt", ""}}},
      {"insert", abc, {"t", "/o", "2", "#"}, 1, infoBox("t", "1 bytes inserted..." + sizeLine(6, 7)), "",
       {{"t", "XAB-AB"}, {"t.new", "XA#B-AB"}}},
      {"insert periodic hex", abc, {"t", "/x", "-4", "2B2B", "2"}, 1, infoBox("t", "8 bytes inserted..." + sizeLine(6, 14)),
       "", {{"t", "XAB-AB"}, {"t.new", "XAB-++++AB++++"}}},
      {"insert needs a string", abc, {"t", "/o", "2"}, 0, "", usageBox(), abc},
  });
  Sandbox box;
  box.write("t", "ab");
  ::mkdir(box.path("t_index.txt").c_str(), 0755);
  Outcome o = box.run({"t", "/a", "a"});
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_EQ(o.err, "Error Opening Index File\nIs a directory\n");
  EXPECT_FALSE(box.exists("t.new"));
}

TEST(Extent, CropRemoveExtractSplit) {
  const std::string ten = "ABCDEFGHIJ";
  const Files data{{"d", ten}};
  auto out = [&](std::string o) { return Files{{"d", ten}, {"d.new", o}}; };
  runCases({
      {"crop", data, {"d", "/c", "3", "4"}, 1, infoBox("d", "4 bytes cropped..." + sizeLine(10, 4)), "", out("DEFG")},
      {"crop overwrite past end", data, {"d", "/w", "/c", "20", "5"}, 1,
       infoBox("d", "0 bytes cropped..." + sizeLine(10, 0)), "", {{"d", ""}}},
      {"remove", data, {"d", "/r", "8", "5"}, 1, infoBox("d", "2 bytes removed..." + sizeLine(10, 8)), "",
       out("ABCDEFGH")},
      {"extract", data, {"d", "/e", "-2", "4"}, 1, infoBox("d", "4 bytes extracted..." + sizeLine(10, 4)), "",
       out("CDGH")},
      {"second number 0", data, {"d", "/c", "1", "0"}, 0, "", usageBox(), data},
      {"split", data, {"d", "/j", "3"}, 1, infoBox("d", "File splitted to 4 chunks of 3 bytes..."), "",
       {{"d", ten}, {"d.001", "ABC"}, {"d.002", "DEF"}, {"d.003", "GHI"}, {"d.004", "J"}}},
      {"split by count", data, {"d", "/w", "/j", "-3"}, 1, infoBox("d", "File splitted to 3 chunks of 4 bytes..."), "",
       {{"d", ten}, {"d.001", "ABCD"}, {"d.002", "EFGH"}, {"d.003", "IJ"}}},
      {"split 999", data, {"d", "/j", "-1000"}, 0, "", "d\nInvalid length\n", data},
      {"split most negative", data, {"d", "/j", "-2147483648"}, 0, "", "d\nInvalid length\n", data},
      {"split 0", data, {"d", "/j", "0"}, 0, "", usageBox(), data},
      {"transpose", data, {"d", "/p", "3"}, 1, infoBox("d", "3 blocks of 3 bytes transposed..." + sizeLine(10, 9)), "",
       out("CBAFEDIHG")},
      {"transpose bits", {{"b", "\x01"}}, {"b", "/p", "0"}, 1, infoBox("b", "Bits transposed..." + sizeLine(1, 1)), "",
       {{"b", "\x01"}, {"b.new", "\x80"}}},
      {"swap nibbles", {{"b", "\x12"}}, {"b", "/p", "1"}, 1, infoBox("b", "Nipples swapped..." + sizeLine(1, 1)), "",
       {{"b", "\x12"}, {"b.new", "\x21"}}},
      {"transpose one byte file", {{"b", "\x80"}}, {"b", "/p", "-5"}, 1,
       infoBox("b", "1 blocks of 1 bytes transposed..." + sizeLine(1, 1)), "", {{"b", "\x80"}, {"b.new", "\x80"}}},
      {"transpose empty", {{"b", ""}}, {"b", "/p", "-1"}, 1,
       infoBox("b", "0 blocks of 0 bytes transposed..." + sizeLine(0, 0)), "", {{"b", ""}, {"b.new", ""}}},
      {"transpose word", data, {"d", "/p", "abc"}, 0, "", usageBox(), data},
  });
  Sandbox box;
  box.write("d", ten);
  ASSERT_EQ(::symlink("/dev/full", box.path("d.002").c_str()), 0);
  Outcome o = box.run({"d", "/j", "4"});
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_EQ(o.err, "I/O Error\nNo space left on device\n");
  EXPECT_EQ(box.read("d.001"), "ABCD");
  ::unlink(box.path("d.002").c_str());
  ::mkdir(box.path("d.002").c_str(), 0755);
  Outcome dir = box.run({"d", "/j", "4"});
  EXPECT_EQ(dir.exitCode, 0);
  EXPECT_EQ(dir.err, "Error Opening Output File\nIs a directory\n");
}

TEST(Lines, ColumnEditsAndTabs) {
  const std::string text = "abcdef\r\nxy\r\n\r\nabcdefgh";
  const Files data{{"l", text}};
  auto out = [&](std::string o) { return Files{{"l", text}, {"l.new", o}}; };
  runCases({
      {"delete", data, {"l", "/d", "2", "3"}, 1, infoBox("l", "2 deletions made..." + sizeLine(22, 16)), "",
       out("abf\r\nxy\r\n\r\nabfgh")},
      {"delete to end huge length", data, {"l", "/d", "1", "2147483647"}, 1,
       infoBox("l", "3 deletions made..." + sizeLine(22, 9)), "", out("a\r\nx\r\n\r\na")},
      {"delete negative column", data, {"l", "/d", "-1", "2"}, 0, "", usageBox(), data},
      {"insert", data, {"l", "/i", "2", "--"}, 1, infoBox("l", "2 insertions made..." + sizeLine(22, 26)), "",
       out("ab--cdef\r\nxy\r\n\r\nab--cdefgh")},
      {"insert hex crlf", {{"l", "abc"}}, {"l", "/h", "1", "0D0A"}, 1,
       infoBox("l", "1 insertions made..." + sizeLine(3, 5)), "", {{"l", "abc"}, {"l.new", "a\r\nbc"}}},
      {"insert bad hex", data, {"l", "/h", "1", "xx"}, 0, "", usageBox(), data},
      {"tabs", {{"l", "a         b"}}, {"l", "/t"}, 1, infoBox("l", "1 tabs converted..." + sizeLine(11, 5)), "",
       {{"l", "a         b"}, {"l.new", "a\t  b"}}},
      {"tab length word keeps 8", {{"l", "a\tb"}}, {"l", "/s", "x"}, 1,
       infoBox("l", "1 tabs converted..." + sizeLine(3, 9)), "", {{"l", "a\tb"}, {"l.new", "a       b"}}},
      {"tab length 1", data, {"l", "/t", "1"}, 0, "", usageBox(), data},
  });
}

TEST(NameSwap, ExchangesOrRestores) {
  const Files ab{{"a.txt", "A"}, {"b.txt", "B"}};
  auto failed = [](std::string one, std::string two) {
    return infoBox("Bytewarp", "Filenames cannot be swapped :\n\n" + one + "\n" + two);
  };
  runCases({
      {"swap", ab, {"/n", "a.txt", "b.txt"}, 1, "", "", {{"a.txt", "B"}, {"b.txt", "A"}}},
      {"glued", ab, {"/na.txt", "b.txt"}, 1, "", "", {{"a.txt", "B"}, {"b.txt", "A"}}},
      {"temporary taken", {{"a.txt", "A"}, {"b.txt", "B"}, {"a.txt.new", "N"}}, {"/n", "a.txt", "b.txt"}, 0,
       failed("a.txt", "b.txt"), "", {{"a.txt", "A"}, {"b.txt", "B"}, {"a.txt.new", "N"}}},
      {"second missing", {{"a.txt", "A"}}, {"/n", "a.txt", "b.txt"}, 0, failed("a.txt", "b.txt"), "", {{"a.txt", "A"}}},
      {"itself", {{"a.txt", "A"}}, {"/n", "a.txt", "a.txt"}, 0, failed("a.txt", "a.txt"), "", {{"a.txt", "A"}}},
      {"blanks in names", {{"a b.txt", "A"}, {"c d.txt", "C"}}, {"/n", "a b.txt", "c d.txt"}, 1, "", "",
       {{"a b.txt", "C"}, {"c d.txt", "A"}}},
      {"words taken together", {{"a.txt", "A"}, {"b.txt c.txt", "BC"}}, {"/n", "a.txt", "b.txt", "c.txt"}, 1, "", "",
       {{"a.txt", "BC"}, {"b.txt c.txt", "A"}}},
      {"nothing after first", ab, {"/n", "a.txt"}, 0, failed("a.txt", ""), "", ab},
      {"empty second", ab, {"/n", "a.txt", ""}, 0, failed("a.txt", ""), "", ab},
      {"no first name", ab, {"/n"}, 0, "", usageBox(), ab},
  });
}

}  // namespace

namespace {

TEST(LargeFiles, SparseFileBeyondFourGiBUsesSixtyFourBitSizes) {
  Sandbox box;
  const int64_t size = (int64_t{5} << 30) + 7;
  {
    int fd = ::open(box.path("big").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
  }
  // Typed numbers stay 32-bit: the largest offset, 2 GiB - 1, is passed over
  // by positioning; the size line carries the 64-bit length.
  Outcome crop = box.run({"big", "/c", "0x7FFFFFFF", "100"});
  EXPECT_EQ(crop.exitCode, 1);
  EXPECT_EQ(crop.out, infoBox("big", "100 bytes cropped..." + sizeLine(size, 100)));
  EXPECT_EQ(box.read("big.new"), std::string(100, '\0'));
  Outcome grown = box.run({"big", "/z", "2147483647"});
  EXPECT_EQ(grown.exitCode, 1);  // shrinks the 5 GiB file to the size typed
  EXPECT_EQ(grown.out, infoBox("big", "File size changed from " + std::to_string(size) + " to 2147483647."));
  ASSERT_EQ(::truncate(box.path("big").c_str(), size), 0);
  Outcome shrink = box.run({"big", "/z", "-3"});
  EXPECT_EQ(shrink.exitCode, 1);
  EXPECT_EQ(shrink.out, infoBox("big", "File size changed from " + std::to_string(size) + " to " +
                                           std::to_string(size - 3) + "."));
  struct stat st {};
  ::stat(box.path("big").c_str(), &st);
  EXPECT_EQ(st.st_size, size - 3);
}

TEST(Overwrite, KilledMidwayLeavesTheInputWhole) {
  Sandbox box;
  std::string data(48 << 20, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + (i >> 12));
  box.write("f", data);
  for (int delayMs : {5, 20, 60}) {
    pid_t pid = ::fork();
    if (pid == 0) {
      int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::dup2(null, 2);
      if (::chdir(box.dir().c_str()) != 0) ::_exit(127);
      ::execl(BYTEWARP_BINARY, BYTEWARP_BINARY, "f", "/w", "/p", "-1", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::usleep(static_cast<useconds_t>(delayMs * 1000));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    std::string now = box.read("f");
    std::string reversed(data.rbegin(), data.rend());
    EXPECT_TRUE(now == data || now == reversed) << "after " << delayMs << " ms the input is partial";
    data = now;  // the next round starts from what is there
  }
}

}  // namespace
