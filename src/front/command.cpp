#include "front/arguments.h"
#include "front/commands.h"
#include "front/run_frame.h"

namespace bytewarp {
namespace {

// Reads the letter of a switch token ("/" and at least one more character).
bool readSwitch(Tokenizer& t, int32_t& letter) {
  auto token = t.nextToken(" ");
  return token && scanArguments(*token, "/%c", {charInto(letter)}) == 1;
}

int dispatch(RunState& s) {
  switch (s.switchLetter) {
    case 'a': case 'b': return runReplace(s);
    case 'o': case 'x': return runInsertAtOffset(s);
    case 'd': return runDeletePerLine(s);
    case 'i': case 'h': return runInsertPerLine(s);
    case 't': case 's': return runTabConversion(s);
    case 'c': case 'r': case 'e': return runCropRemoveExtract(s);
    case 'j': return runSplit(s);
    case 'z': return runChangeFileSize(s);
    case 'm': case 'u': case 'l': case '-': case '+': return runBitRewrite(s);
    case 'p': return runTranspose(s);
    default: return showUsage(s);
  }
}

}  // namespace

int runCommand(const std::string& line, const StreamOptions& options) {
  RunState s;
  s.streamOptions = options;
  if (line.empty()) return showUsage(s);

  size_t p = 0;
  auto skipBlanks = [&] {
    while (p < line.size() && line[p] == ' ') ++p;
  };
  skipBlanks();
  if (line.compare(p, 2, "/n") == 0) {
    s.swapMode = true;
    p += 2;
    skipBlanks();
  }

  Tokenizer t(line);
  auto name = p < line.size() && line[p] == '"' ? t.nextToken("\"", p + 1) : t.nextToken(" ", p);
  if (!name) return showUsage(s);  // no first name at all
  s.inputName = *name;
  s.outputName = s.inputName + ".new";
  if (s.swapMode) return swapNames(t, s);

  if (!readSwitch(t, s.switchLetter)) return showUsage(s);
  if (s.switchLetter == 'w') {
    s.overwrite = true;
    if (!readSwitch(t, s.switchLetter)) return showUsage(s);
  }
  s.argLine = t.restOfLine();

  if (!openFiles(s)) return 0;
  return dispatch(s);
}

}  // namespace bytewarp
