#include "front/commands.h"
#include "front/format.h"
#include "platform/file_ops.h"
#include "platform/message_box.h"

namespace bytewarp {
namespace {

int swapFailed(const std::string& first, const std::string& second) {
  showBox(format("Filenames cannot be swapped :\n\n%s\n%s", first.c_str(), second.c_str()), "Bytewarp",
          BoxIcon::Information);
  return 0;
}

}  // namespace

int swapNames(Tokenizer& t, RunState& s) {
  const std::string& first = s.inputName;
  const std::string& temporary = s.outputName;
  auto rest = t.restOfLine();
  if (!rest) return swapFailed(first, "");  // no second name at all: nothing is renamed

  size_t p = rest->find_first_not_of(' ');
  std::string second;
  if (p != std::string::npos && (*rest)[p] == '"') {
    // A quoted name loses the last character of the line, meant to be its
    // closing quote.
    second = rest->substr(p + 1);
    if (!second.empty()) second.pop_back();
  } else if (p != std::string::npos) {
    second = rest->substr(p);
  }

  // No rename replaces an existing file, and a failed step undoes the
  // earlier ones, so every name holds what it held before.
  if (!fileops::renameNoReplace(first, temporary)) return swapFailed(first, second);
  if (!fileops::renameNoReplace(second, first)) {
    fileops::renameNoReplace(temporary, first);
    return swapFailed(first, second);
  }
  if (!fileops::renameNoReplace(temporary, second)) {
    fileops::renameNoReplace(first, second);
    fileops::renameNoReplace(temporary, first);
    return swapFailed(first, second);
  }
  return 1;
}

}  // namespace bytewarp
