#include "front/tokenizer.h"

namespace bytewarp {

std::optional<std::string> Tokenizer::nextToken(std::string_view delims, std::optional<size_t> start) {
  size_t p = start ? *start : cursor_;
  if (p > line_.size()) p = line_.size();
  while (p < line_.size() && delims.find(line_[p]) != std::string_view::npos) ++p;
  if (p == line_.size()) {
    cursor_ = p;
    return std::nullopt;
  }
  size_t end = line_.find_first_of(delims, p);
  if (delims.empty() || end == std::string::npos) {
    cursor_ = line_.size();
    return line_.substr(p);
  }
  cursor_ = end + 1;  // the delimiter that ended the token is used up
  return line_.substr(p, end - p);
}

std::optional<std::string> Tokenizer::restOfLine() { return nextToken(""); }

std::string_view stripProgramName(std::string_view line) {
  size_t p = 0;
  auto skipBlanksAndTabs = [&] {
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
  };
  skipBlanksAndTabs();
  if (p < line.size() && line[p] == '"') {
    ++p;
    while (p < line.size() && line[p] != '"' && line[p] != '\t') ++p;
    if (p < line.size() && line[p] == '"') ++p;
  } else {
    while (p < line.size() && line[p] != ' ' && line[p] != '\t') ++p;
  }
  skipBlanksAndTabs();
  return line.substr(p);
}

}  // namespace bytewarp
