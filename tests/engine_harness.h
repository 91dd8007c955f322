// Runs an engine from one in-memory file to another with a chosen stream
// block size, so that block boundaries fall everywhere.
#pragma once

#include <functional>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/stream.h"

namespace bytewarp::testing {

inline int memoryFile(const std::string& content) {
  int fd = ::memfd_create("engine", MFD_CLOEXEC);
  if (!content.empty() && ::pwrite(fd, content.data(), content.size(), 0) != static_cast<ssize_t>(content.size()))
    return -1;
  return fd;
}

inline std::string contentOf(int fd) {
  std::string out;
  char buf[65536];
  for (off_t pos = 0;;) {
    ssize_t r = ::pread(fd, buf, sizeof buf, pos);
    if (r <= 0) return out;
    out.append(buf, static_cast<size_t>(r));
    pos += r;
  }
}

// The block sizes every engine is run with: tiny ones put boundaries inside
// every pattern, the default shows the fast paths.
inline const size_t kBlockSizes[] = {1, 2, 3, 7, 1 << 20};

using Engine = std::function<void(Stream& in, Stream& out)>;

inline std::string runEngine(const std::string& input, size_t blockSize, const Engine& engine,
                             bool kernelCopy = false) {
  StreamOptions options{blockSize, kernelCopy};
  Stream in(memoryFile(input), options);
  int outFd = memoryFile("");
  int keep = ::dup(outFd);
  {
    Stream out(outFd, options);
    engine(in, out);
    out.flush();
  }
  std::string result = contentOf(keep);
  ::close(keep);
  return result;
}

}  // namespace bytewarp::testing
