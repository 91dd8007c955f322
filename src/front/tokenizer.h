// Takes the command line apart token by token, with one cursor that only
// moves forward.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bytewarp {

class Tokenizer {
 public:
  explicit Tokenizer(std::string line) : line_(std::move(line)) {}

  // Skips every character of `delims` (from `start` when given, else from the
  // cursor); the token then runs to the next delimiter or the end of the line.
  // The cursor ends up just after the delimiter that ended the token.
  std::optional<std::string> nextToken(std::string_view delims, std::optional<size_t> start = {});
  // Everything from the cursor on, unchanged; none when the cursor is at the end.
  std::optional<std::string> restOfLine();

  const std::string& line() const { return line_; }
  size_t cursor() const { return cursor_; }

 private:
  std::string line_;
  size_t cursor_ = 0;
};

// Removes the program's own name (quoted or not) and the blanks and tabs
// around it from the front of a process command line.
std::string_view stripProgramName(std::string_view line);

}  // namespace bytewarp
