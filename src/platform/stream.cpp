#include "platform/stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_ops.h"

namespace bytewarp {

Stream::Stream(int fd, StreamOptions options)
    : fd_(fd), options_(options), buf_(std::max<size_t>(options.blockSize, 1)), rbase_(buf_.data()) {
  struct stat st {};
  mapped_ = options.mapInput && options.blockSize >= (64 << 10) && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

Stream::~Stream() {
  dropMapping();
  if (fd_ >= 0) fileops::closeFile(fd_);
}

void Stream::dropMapping() {
  fileops::unmap(map_, mapLength_);
  map_ = nullptr;
  mapLength_ = 0;
}

// Maps the next window of the file instead of copying it into the buffer.
// Returns false when the buffer has to be filled by reading instead: at the
// file's recorded end (a file may say 0 and still hold bytes, as in /proc)
// and where the file cannot be mapped.
bool Stream::refillMapped() {
  dropMapping();
  rbase_ = buf_.data();
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || rfile_ >= st.st_size) return false;
  const int64_t page = ::sysconf(_SC_PAGESIZE);
  const int64_t start = rfile_ / page * page;
  const auto length = static_cast<size_t>(std::min<int64_t>(st.st_size - start, static_cast<int64_t>(buf_.size())));
  map_ = fileops::mapForReading(fd_, start, length);
  if (map_ == nullptr) {
    int err = fileops::lastError();
    if (err == ENODEV || err == EINVAL || err == EACCES || err == EPERM || err == EOPNOTSUPP) {
      mapped_ = false;  // this file is read the ordinary way from now on
      return false;
    }
    fail(err);
    eof_ = true;
    return true;
  }
  mapLength_ = length;
  rbase_ = map_;
  rpos_ = static_cast<size_t>(rfile_ - start);
  rend_ = length;
  rfile_ = start + static_cast<int64_t>(length);
  return true;
}

void Stream::fail(int err) {
  failed_ = true;
  error_ = err ? err : EIO;
}

bool Stream::refill() {
  rpos_ = rend_ = 0;
  if (mapped_ && fileops::takeMapFault()) fail(EIO);  // a page of the last window was lost
  if (eof_ || failed_) return false;
  if (mapped_ && refillMapped()) return rpos_ < rend_;
  ssize_t r = fileops::readAt(fd_, buf_.data(), buf_.size(), rfile_);
  if (r < 0) {
    fail(errno);
    eof_ = true;  // a failed read ends the input as well
    return false;
  }
  if (r == 0) {
    eof_ = true;
    return false;
  }
  rend_ = static_cast<size_t>(r);
  rfile_ += r;
  return true;
}

int64_t Stream::tell() const {
  return rfile_ - static_cast<int64_t>(rend_ - rpos_);
}

bool Stream::seekTo(int64_t pos) {
  if (pos < 0) return false;
  dropMapping();
  rbase_ = buf_.data();
  rpos_ = rend_ = 0;
  rfile_ = pos;
  eof_ = false;
  return true;
}

bool Stream::skip(int64_t n) {
  int64_t here = tell();
  if (n > std::numeric_limits<int64_t>::max() - here) n = std::numeric_limits<int64_t>::max() - here;
  return seekTo(here + n);
}

size_t Stream::readAt(int64_t pos, uint8_t* out, size_t n) {
  size_t got = 0;
  while (got < n && !failed_) {
    ssize_t r = fileops::readAt(fd_, out + got, n - got, pos + static_cast<int64_t>(got));
    if (r < 0) {
      fail(errno);
      break;
    }
    if (r == 0) break;
    got += static_cast<size_t>(r);
  }
  return got;
}

void Stream::writeSlow(const void* data, size_t n) {
  auto p = static_cast<const uint8_t*>(data);
  if (n >= kDirectWrite && n >= buf_.size() / 2) {
    if (flush() && !writeOut(p, n)) wlen_ = 0;
    return;
  }
  while (n > 0) {
    if (wlen_ == buf_.size()) flush();
    size_t take = std::min(n, buf_.size() - wlen_);
    std::memcpy(buf_.data() + wlen_, p, take);
    wlen_ += take;
    p += take;
    n -= take;
  }
}

void Stream::writeRepeated(const void* data, size_t n, int64_t times) {
  for (int64_t i = 0; i < times && !failed_; ++i) write(data, n);
}

void Stream::writeFill(uint8_t b, int64_t n) {
  while (n > 0 && !failed_) {
    auto room = space();
    size_t take = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(room.size())));
    std::memset(room.data(), b, take);
    commit(take);
    n -= static_cast<int64_t>(take);
  }
}

// Writes `n` bytes at the write position; a short write is retried, and a
// write that makes no progress is an error.
bool Stream::writeOut(const uint8_t* data, size_t n) {
  size_t done = 0;
  while (done < n) {
    ssize_t r = fileops::writeAt(fd_, data + done, n - done, wpos_ + static_cast<int64_t>(done));
    if (r <= 0) {
      fail(r < 0 ? errno : EIO);
      return false;
    }
    done += static_cast<size_t>(r);
  }
  wpos_ += static_cast<int64_t>(n);
  return true;
}

bool Stream::flush() {
  bool ok = !failed_ && writeOut(buf_.data(), wlen_);
  wlen_ = 0;  // after a failure, what was buffered is dropped with every later write
  return ok;
}

bool Stream::sync() {
  if (!flush()) return false;
  if (!fileops::syncFile(fd_)) {
    fail(errno);
    return false;
  }
  return true;
}

bool Stream::close() {
  bool ok = flush();
  int fd = fd_;
  fd_ = -1;
  if (!fileops::closeFile(fd) && ok) {
    fail(errno);
    ok = false;
  }
  return ok;
}

namespace {

// copy_file_range refuses some pairs of files (other filesystems, special
// files); those copies fall back to the buffers.
bool kernelRefuses(int err) {
  return err == EXDEV || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP || err == EBADF ||
         err == ETXTBSY || err == EPERM || err == EOVERFLOW;
}

bool outputSide(int err) { return err == ENOSPC || err == EDQUOT || err == EFBIG; }

// Below this a copy through the buffers costs less than the system calls of
// an in-kernel copy (which also writes out the output's buffer first).
constexpr int64_t kKernelCopyMin = 1 << 20;

}  // namespace

int64_t copyBytes(Stream& in, Stream& out, int64_t n) {
  int64_t copied = 0;
  // What the input has buffered goes first.
  if (in.rpos_ < in.rend_) {
    size_t take = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(in.rend_ - in.rpos_)));
    out.write(in.rbase_ + in.rpos_, take);
    in.rpos_ += take;
    copied += static_cast<int64_t>(take);
  }
  bool kernel = in.options_.kernelCopy && out.options_.kernelCopy;
  if (kernel && n - copied >= kKernelCopyMin && !in.eof_ && !in.failed_) {
    if (!out.flush()) kernel = false;
    while (kernel && copied < n) {
      size_t want = static_cast<size_t>(std::min<int64_t>(n - copied, int64_t{1} << 30));
      ssize_t r = fileops::copyRange(in.fd_, in.rfile_, out.fd_, out.wpos_, want);
      if (r > 0) {
        in.rfile_ += r;
        out.wpos_ += r;
        copied += r;
      } else if (r == 0) {
        in.eof_ = true;
        return copied;
      } else if (int err = errno; kernelRefuses(err)) {
        kernel = false;
      } else if (outputSide(err)) {
        out.fail(err);
        return copied;
      } else {
        in.fail(err);
        in.eof_ = true;
        return copied;
      }
    }
  }
  while (copied < n && !out.failed_) {
    auto avail = in.peek();
    if (avail.empty()) break;
    size_t take = static_cast<size_t>(std::min<int64_t>(n - copied, static_cast<int64_t>(avail.size())));
    out.write(avail.data(), take);
    in.consume(take);
    copied += static_cast<int64_t>(take);
  }
  return copied;
}

}  // namespace bytewarp
