#include <cinttypes>

#include "front/arguments.h"
#include "front/commands.h"
#include "front/format.h"
#include "front/run_frame.h"
#include "ops/search/insert.h"
#include "ops/search/replace.h"

namespace bytewarp {
int runReplace(RunState& s) {
  // The index file comes first: a refused command still leaves it, empty.
  int err = 0;
  auto index = createCompanion(s, s.inputName + "_index.txt", err);
  if (!index) {
    abandonOutput(s);
    return failWith("Error Opening Index File", err);
  }
  if (!s.argLine) return showUsage(s);
  std::string find, replacement;
  int32_t repeat = 1;
  int values = scanArguments(*s.argLine, "%s %s %I", {wordInto(find), wordInto(replacement), numberInto(repeat)});
  if (values < 1 || repeat < 1) return showUsage(s);
  if (s.switchLetter == 'b' && (!decodeHexInPlace(find) || !decodeHexInPlace(replacement))) return showUsage(s);
  if (!startOutput(s)) return 0;

  int64_t changes = replaceAll(*s.input, *s.output, *index, {find, replacement, repeat});
  if (!index->close()) return failWith("I/O Error", index->error());
  s.message = format("%" PRId64 " changes made...", changes);
  return reportAndFinish(s);
}

int runInsertAtOffset(RunState& s) {
  if (!s.argLine) return showUsage(s);
  int32_t offset = 0, repeat = 1;
  std::string str;
  int values = scanArguments(*s.argLine, "%I %s %I", {numberInto(offset), wordInto(str), numberInto(repeat)});
  if (values < 2 || repeat < 0) return showUsage(s);
  if (s.switchLetter == 'x' && !decodeHexInPlace(str)) return showUsage(s);
  if (!startOutput(s)) return 0;

  // A negative offset inserts after every block of its magnitude; in 64 bits
  // -2147483648 has one.
  const bool periodic = offset < 0;
  const int64_t block = periodic ? -static_cast<int64_t>(offset) : offset;
  int64_t places = insertString(*s.input, *s.output, block, periodic, str, repeat);
  s.message = format("%" PRId64 " bytes inserted...", places * repeat * static_cast<int64_t>(str.size()));
  return reportAndFinish(s);
}

}  // namespace bytewarp
