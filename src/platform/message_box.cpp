#include "platform/message_box.h"

#include <cerrno>
#include <string>
#include <unistd.h>

namespace bytewarp {
namespace {

BoxSink& sink() {
  static BoxSink s;
  return s;
}

void writeAll(int fd, const std::string& s) {
  size_t done = 0;
  while (done < s.size()) {
    ssize_t r = ::write(fd, s.data() + done, s.size() - done);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return;  // nobody is told that a box could not be shown
    done += static_cast<size_t>(r);
  }
}

}  // namespace

void setBoxSink(BoxSink s) { sink() = std::move(s); }

void showBox(std::string_view text, std::string_view caption, BoxIcon icon) {
  if (sink()) {
    sink()(text, caption, icon);
    return;
  }
  std::string out;
  out.reserve(caption.size() + text.size() + 2);
  out.append(caption).append("\n").append(text);
  if (text.empty() || text.back() != '\n') out += '\n';
  writeAll(icon == BoxIcon::Information ? STDOUT_FILENO : STDERR_FILENO, out);
}

}  // namespace bytewarp
