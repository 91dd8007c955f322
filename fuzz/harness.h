// Shared by the whole-run fuzz targets: a fuzz input is a command line, a
// line feed, and the content of the input file. Runs happen in one private
// folder, and a command line that could name a path outside it is skipped.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <optional>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "front/commands.h"
#include "front/tokenizer.h"
#include "platform/message_box.h"

namespace bytewarp::fuzz {

struct Case {
  std::string line;
  std::string content;
};

// Splits the input; none when it has no line feed.
inline std::optional<Case> parse(const uint8_t* data, size_t size) {
  std::string all(reinterpret_cast<const char*>(data), size);
  size_t nl = all.find('\n');
  if (nl == std::string::npos || nl > 300 || size - nl - 1 > 4096) return std::nullopt;
  if (all.find('\0') < nl) return std::nullopt;  // a process command line holds no zero byte
  return Case{all.substr(0, nl), all.substr(nl + 1)};
}

// The names a run opens are the first name (and what is formed from it) and,
// in the name swap, the rest of the line: none of them may hold a slash.
inline std::optional<std::string> confinedFirstName(const std::string& line) {
  size_t p = line.find_first_not_of(' ');
  if (p == std::string::npos) return std::string();
  bool swap = line.compare(p, 2, "/n") == 0;
  if (swap) {
    p += 2;
    while (p < line.size() && line[p] == ' ') ++p;
    if (line.find('/', p) != std::string::npos) return std::nullopt;
  }
  Tokenizer t(line);
  auto name = p < line.size() && line[p] == '"' ? t.nextToken("\"", p + 1) : t.nextToken(" ", p);
  if (!name) return std::string();
  if (name->find('/') != std::string::npos || name->size() > 200) return std::nullopt;
  return *name;
}

inline void emptyFolder() {
  DIR* d = ::opendir(".");
  std::vector<std::string> names;
  while (dirent* e = ::readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  ::closedir(d);
  for (const auto& n : names)
    if (::unlink(n.c_str()) != 0) ::rmdir(n.c_str());
}

inline void enterPrivateFolder() {
  static bool done = false;
  if (done) return;
  done = true;
  static char tmpl[] = "/tmp/bytewarp-fuzz-XXXXXX";
  if (!::mkdtemp(tmpl) || ::chdir(tmpl) != 0) std::abort();
  std::atexit([] {
    emptyFolder();
    ::rmdir(tmpl);
  });
  // Files stay small whatever sizes the fuzzer types: a larger write fails
  // with EFBIG, which the tool reports as an I/O error.
  ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit {16 << 20, 16 << 20};
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

struct Result {
  int exitCode = 0;
  std::string boxes;
  std::map<std::string, std::string> files;
  bool operator==(const Result&) const = default;
};

inline std::string readAll(const std::string& name) {
  std::string s;
  int fd = ::open(name.c_str(), O_RDONLY);
  if (fd < 0) return "<unreadable>";
  char buf[65536];
  ssize_t r;
  while ((r = ::read(fd, buf, sizeof buf)) > 0) s.append(buf, static_cast<size_t>(r));
  ::close(fd);
  return s;
}

// A fuzz input as a case and the first name it opens; none when it is not
// a case or could reach outside the folder.
inline std::optional<std::pair<Case, std::string>> prepare(const uint8_t* data, size_t size) {
  auto c = parse(data, size);
  if (!c) return std::nullopt;
  auto name = confinedFirstName(c->line);
  if (!name) return std::nullopt;
  return std::make_pair(*c, *name);
}

// Runs one case in the private folder and returns what it showed and left.
inline std::optional<Result> runCase(const Case& c, const std::string& firstName, const StreamOptions& options) {
  enterPrivateFolder();
  emptyFolder();
  for (const std::string& name : {std::string("d"), firstName}) {
    if (name.empty() || name == "." || name == "..") continue;
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) continue;
    if (::write(fd, c.content.data(), c.content.size()) < 0) {}
    ::close(fd);
  }
  Result r;
  setBoxSink([&r](std::string_view text, std::string_view caption, BoxIcon icon) {
    r.boxes.append(icon == BoxIcon::Warning ? "W:" : "I:").append(caption).append("|").append(text).append("\n");
  });
  r.exitCode = runCommand(c.line, options);
  setBoxSink({});
  DIR* d = ::opendir(".");
  while (dirent* e = ::readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") r.files[n] = readAll(n);
  }
  ::closedir(d);
  emptyFolder();
  return r;
}

}  // namespace bytewarp::fuzz
