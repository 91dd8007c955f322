// The one buffered byte stream of the tool. A stream is used either for
// reading or for writing a file; it moves data in blocks of `blockSize`
// bytes at explicit file offsets, so positioning costs no system call. A
// regular file is read through a mapped window of that size where it can be.
//
// Reading follows the usual byte-stream convention: the end of the input is
// known only once a read finds no byte. A failed read sets the error flag and
// also counts as the end. A failed write sets the error flag of the stream,
// and every later write to it is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace bytewarp {

struct StreamOptions {
  size_t blockSize = 256 << 10;
  bool kernelCopy = true;  // let copyBytes use copy_file_range between files
  bool mapInput = true;    // read regular files through a mapping (blocks of 64 KiB and more)
};

class Stream {
 public:
  Stream(int fd, StreamOptions options);  // takes the descriptor over
  ~Stream();                              // releases the descriptor, unchecked
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  int fd() const { return fd_; }
  const StreamOptions& options() const { return options_; }
  bool atEnd() const { return eof_; }
  bool failed() const { return failed_; }
  int error() const { return error_; }

  // ---- reading ----
  // The bytes buffered ahead of the read position; refills when none are left.
  // Empty only at the end of the input or after a read error.
  std::span<const uint8_t> peek() {
    if (rpos_ == rend_) refill();
    return {rbase_ + rpos_, rend_ - rpos_};
  }
  void consume(size_t n) { rpos_ += n; }
  // One byte, or -1 when the read finds none.
  int get() {
    if (rpos_ == rend_ && !refill()) return -1;
    return rbase_[rpos_++];
  }
  // Bytes handed out so far: the read offset.
  int64_t tell() const;
  // Moves the read position to `pos` bytes from the start. A negative position
  // is refused and changes nothing. Clears the end flag, not the error flag.
  bool seekTo(int64_t pos);
  bool skip(int64_t n);
  // Reads up to `n` bytes at `pos`, outside the buffer; fewer only at the end
  // of the file or on an error (which sets the error flag).
  size_t readAt(int64_t pos, uint8_t* out, size_t n);

  // ---- writing ----
  void put(uint8_t b) {
    if (wlen_ == buf_.size()) flush();
    buf_[wlen_++] = b;
  }
  // Large writes go to the file straight from `data`, after what is buffered.
  void write(const void* data, size_t n) {
    if (n <= buf_.size() - wlen_ && n < kDirectWrite) {
      std::memcpy(buf_.data() + wlen_, data, n);
      wlen_ += n;
    } else {
      writeSlow(data, n);
    }
  }
  void writeRepeated(const void* data, size_t n, int64_t times);
  void writeFill(uint8_t b, int64_t n);
  // Free room at the end of the write buffer (at least one byte), filled by
  // the caller and then handed over with commit().
  std::span<uint8_t> space() {
    if (wlen_ == buf_.size()) flush();
    return {buf_.data() + wlen_, buf_.size() - wlen_};
  }
  void commit(size_t n) { wlen_ += n; }
  // write() for the short runs of the line engines: when 32 bytes can be read
  // at `data` (before `readable`) and stored, they are moved in one piece,
  // which spares the branches of a variable-length copy.
  void writeShort(const uint8_t* data, size_t n, const uint8_t* readable) {
    if (n <= 32 && readable - data >= 32 && buf_.size() - wlen_ >= 32) {
      std::memcpy(buf_.data() + wlen_, data, 32);
      wlen_ += n;
    } else {
      write(data, n);
    }
  }
  // Free room of at least `n` bytes (or the whole buffer, when smaller).
  std::span<uint8_t> reserve(size_t n) {
    if (buf_.size() - wlen_ < n) flush();
    return {buf_.data() + wlen_, buf_.size() - wlen_};
  }
  size_t capacity() const { return buf_.size(); }
  // Writes the buffer out; false when this or an earlier write failed.
  bool flush();
  // The length of what has been written (the output's size).
  int64_t written() const { return wpos_ + static_cast<int64_t>(wlen_); }
  // Writes out and syncs the file to disk.
  bool sync();
  // Writes out and closes; false on any failure. The stream is unusable after.
  bool close();

  // Copies up to `n` bytes from `in` to `out`; returns the number copied.
  // Fewer than `n` only when `in` ends or fails (its flags then tell which).
  friend int64_t copyBytes(Stream& in, Stream& out, int64_t n);

  // Sets the error flag, for failures the caller detects itself (a file that
  // ends before the length it had when it was opened).
  void fail(int err);

 private:
  static constexpr size_t kDirectWrite = 64 << 10;
  void writeSlow(const void* data, size_t n);
  bool refill();
  bool refillMapped();
  void dropMapping();
  bool writeOut(const uint8_t* data, size_t n);

  int fd_;
  StreamOptions options_;
  std::vector<uint8_t> buf_;
  const uint8_t* rbase_;        // reading: buf_ or the mapped window
  size_t rpos_ = 0, rend_ = 0;  // reading: bytes [rpos_, rend_) of rbase_ not handed out
  const uint8_t* map_ = nullptr;
  size_t mapLength_ = 0;
  bool mapped_ = false;         // reading through mappings
  int64_t rfile_ = 0;           // reading: file offset just after rend_
  size_t wlen_ = 0;             // writing: buffered bytes [0, wlen_)
  int64_t wpos_ = 0;            // writing: file offset of buf_[0]
  bool eof_ = false, failed_ = false;
  int error_ = 0;
};

int64_t copyBytes(Stream& in, Stream& out, int64_t n);

}  // namespace bytewarp
