// Whole runs inside the process: raw command lines that no argument list can
// produce, injected failures of every file call, and block-size independence.
#include <gtest/gtest.h>

#include <cerrno>

#include "front/run_frame.h"
#include "in_process.h"
#include "platform/file_ops.h"

using namespace bytewarp;
using namespace bytewarp::testing;
using fileops::Call;

namespace {

using Files = std::map<std::string, std::string>;

Box usage() { return {"Bytewarp", kUsageText, BoxIcon::Warning}; }
Box swapFailed(const std::string& a, const std::string& b) {
  return {"Bytewarp", "Filenames cannot be swapped :\n\n" + a + "\n" + b, BoxIcon::Information};
}

TEST(RawLines, BlanksAndQuotesAsTyped) {
  const Files ab{{"a.txt", "A"}, {"b.txt", "B"}};
  const struct {
    const char* line;
    int exitCode;
    std::vector<Box> boxes;
    Files after;
  } cases[] = {
      {"/n a.txt ", 0, {swapFailed("a.txt", "")}, ab},    // one blank: no second name, nothing renamed
      {"/n a.txt  ", 0, {swapFailed("a.txt", "")}, ab},   // two blanks: an empty second name, undone
      {"/n a.txt \"b.txt\" ", 0, {swapFailed("a.txt", "b.txt\"")}, ab},  // the trailing blank lost instead
      {"/n a.txt \"b.txt\"", 1, {}, {{"a.txt", "B"}, {"b.txt", "A"}}},
      {"/n a.txt \"", 0, {swapFailed("a.txt", "")}, ab},
      {"/n \"a.txt\" b.txt", 1, {}, {{"a.txt", "B"}, {"b.txt", "A"}}},
      {"/n   ", 0, {usage()}, ab},
      {"\"\"\"", 0, {usage()}, ab},
      {"a.txt /z ", 0, {usage()}, ab},
      {"a.txt /z  ", 0, {usage()}, ab},
      {"  a.txt   /p   -1  ", 1, {{"a.txt", "1 blocks of 1 bytes transposed...\nFile size changed from 1 to 1.", BoxIcon::Information}},
       {{"a.txt", "A"}, {"b.txt", "B"}, {"a.txt.new", "A"}}},
  };
  for (const auto& c : cases) {
    InProcessRun r = runInFolder(c.line, ab);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.line;
    EXPECT_EQ(r.boxes, c.boxes) << c.line;
    EXPECT_EQ(r.files, c.after) << c.line;
  }
}

// The n-th call of a kind fails; the last box must name the failed step,
// and nothing that existed may be lost or replaced by a partial result.
TEST(InjectedFaults, EveryFailurePointReportsAndLosesNothing) {
  const std::string data = "ABCDEFGH";
  const struct {
    const char* name;
    const char* line;
    Call call;
    int n, err;
    const char* caption;
    bool inputKept;  // false: the run completed an edit of the input itself
  } cases[] = {
      {"open input", "d /m", Call::Open, 1, ENOENT, "Error Opening Input File", true},
      {"create output", "d /m", Call::Create, 1, EACCES, "Error Opening Output File", true},
      {"stat input", "d /m", Call::Stat, 1, EIO, "Error Opening Input File", true},
      {"read", "d /m", Call::Read, 1, EIO, "I/O Error", true},
      {"write", "d /w /m", Call::Write, 1, ENOSPC, "I/O Error", true},
      {"permissions", "d /w /m", Call::Stat, 4, EPERM, "I/O Error", true},
      {"sync", "d /w /m", Call::Sync, 1, EIO, "I/O Error", true},
      {"close output", "d /w /m", Call::Close, 2, EIO, "I/O Error", true},
      {"rename", "d /w /m", Call::Rename, 1, EXDEV, "Error Renaming Output File", true},
      {"folder sync", "d /w /m", Call::Sync, 2, EIO, "I/O Error", false},
      {"index create", "d /a B", Call::Create, 2, EACCES, "Error Opening Index File", true},
      {"index write", "d /w /a B", Call::Write, 1, ENOSPC, "I/O Error", true},
      {"insert read", "d /w /o 2 x", Call::Read, 1, EIO, "I/O Error", true},
      {"line read", "d /w /d 1 1", Call::Read, 1, EIO, "I/O Error", true},
      {"tab write", "d /w /s", Call::Write, 1, ENOSPC, "I/O Error", true},
      {"crop read", "d /w /c 1 3", Call::Read, 1, EIO, "I/O Error", true},
      {"remove write", "d /w /r 1 3", Call::Write, 1, ENOSPC, "I/O Error", true},
      {"extract read", "d /w /e 1 2", Call::Read, 1, EIO, "I/O Error", true},
      {"transpose read", "d /w /p -1", Call::Read, 1, EIO, "I/O Error", true},
      {"chunk create", "d /j 3", Call::Create, 3, EACCES, "Error Opening Output File", true},
      {"chunk write", "d /j 3", Call::Write, 2, ENOSPC, "I/O Error", true},
      {"chunk close", "d /j 3", Call::Close, 2, EIO, "I/O Error", true},
      {"split read", "d /j 3", Call::Read, 1, EIO, "I/O Error", true},
      {"set length", "d /z 3", Call::SetLength, 1, ENOSPC, "Error Changing File Size", true},
  };
  for (const auto& c : cases) {
    fileops::failNth(c.call, c.n, c.err);
    InProcessRun r = runInFolder(c.line, {{"d", data}}, {3, false});
    fileops::clearFaults();
    EXPECT_EQ(r.exitCode, 0) << c.name;
    ASSERT_FALSE(r.boxes.empty()) << c.name;
    EXPECT_EQ(r.boxes.back().caption, c.caption) << c.name;
    EXPECT_EQ(r.boxes.back().text, describeError(c.err)) << c.name;
    EXPECT_EQ(r.boxes.back().icon, BoxIcon::Warning) << c.name;
    if (c.inputKept) EXPECT_EQ(r.files["d"], data) << c.name;
    // A result box may only stand before a failure that comes after it (the replacement).
    for (size_t i = 0; i + 1 < r.boxes.size(); ++i) EXPECT_EQ(r.boxes[i].icon, BoxIcon::Information) << c.name;
  }
}

TEST(InjectedFaults, FailedSwapStepsAreUndone) {
  const Files ab{{"a", "A"}, {"b", "B"}};
  for (int step = 1; step <= 3; ++step) {
    fileops::failNth(Call::Rename, step, EIO);
    InProcessRun r = runInFolder("/n a b", ab);
    fileops::clearFaults();
    EXPECT_EQ(r.exitCode, 0) << step;
    EXPECT_EQ(r.boxes, std::vector<Box>{swapFailed("a", "b")}) << step;
    EXPECT_EQ(r.files, ab) << step;
  }
}

// The same run with tiny stream blocks and with the default ones leaves the
// same files and the same messages.
TEST(BlockSizes, NoBoundaryChangesAResult) {
  const std::string input = "ab\tc  \"d  e\"   f\r\ngh  ij\n\nabcabab\x00\xff tail   ";
  const char* lines[] = {"d /a ab XY 2", "d /b 6162 00", "d /o -3 #", "d /x 4 0D0A 2", "d /d 1 2", "d /i 1 --",
                         "d /h 0 2B", "d /t 4", "d /s 3", "d /c 5 9", "d /r 2 30", "d /e -2 5", "d /j 7", "d /j -4",
                         "d /m", "d /u", "d /l", "d /-", "d /+", "d /p 0", "d /p 1", "d /p 3", "d /p -1", "d /z -3"};
  for (const char* line : lines) {
    InProcessRun reference = runInFolder(line, {{"d", input}});
    for (size_t block : {1, 2, 3, 7}) {
      InProcessRun small = runInFolder(line, {{"d", input}}, {block, false});
      EXPECT_EQ(small.exitCode, reference.exitCode) << line << " " << block;
      EXPECT_EQ(small.boxes, reference.boxes) << line << " " << block;
      EXPECT_EQ(small.files, reference.files) << line << " " << block;
    }
  }
}

}  // namespace
