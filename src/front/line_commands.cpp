#include <cinttypes>
#include <limits>

#include "front/arguments.h"
#include "front/commands.h"
#include "front/format.h"
#include "front/run_frame.h"
#include "ops/lines/column_edits.h"
#include "ops/lines/tabs.h"

namespace bytewarp {

int runDeletePerLine(RunState& s) {
  if (!s.argLine) return showUsage(s);
  int32_t column = 0, length = 0;
  if (scanArguments(*s.argLine, "%I %I", {numberInto(column), numberInto(length)}) < 2 || column < 0)
    return showUsage(s);
  if (!startOutput(s)) return 0;
  // A length below 1 deletes to the end of every line.
  const int64_t lastDeleted =
      length < 1 ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(column) + length;
  int64_t lines = deletePerLine(*s.input, *s.output, column, lastDeleted);
  s.message = format("%" PRId64 " deletions made...", lines);
  return reportAndFinish(s);
}

int runInsertPerLine(RunState& s) {
  if (!s.argLine) return showUsage(s);
  int32_t column = 0, repeat = 1;
  std::string str;
  int values = scanArguments(*s.argLine, "%I %s %I", {numberInto(column), wordInto(str), numberInto(repeat)});
  if (values < 2 || repeat < 1) return showUsage(s);
  if (s.switchLetter == 'h' && !decodeHexInPlace(str)) return showUsage(s);
  if (!startOutput(s)) return 0;
  int64_t lines = insertPerLine(*s.input, *s.output, column, str, repeat);
  s.message = format("%" PRId64 " insertions made...", lines);
  return reportAndFinish(s);
}

int runTabConversion(RunState& s) {
  int32_t tabLength = 8;
  if (s.argLine) scanArguments(*s.argLine, "%I", {numberInto(tabLength)});
  if (tabLength < 2) return showUsage(s);
  if (!startOutput(s)) return 0;
  int64_t tabs = s.switchLetter == 't' ? blanksToTabs(*s.input, *s.output, tabLength)
                                       : tabsToBlanks(*s.input, *s.output, tabLength);
  s.message = format("%" PRId64 " tabs converted...", tabs);
  return reportAndFinish(s);
}

}  // namespace bytewarp
