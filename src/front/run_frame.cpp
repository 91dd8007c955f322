#include "front/run_frame.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

#include "platform/file_ops.h"
#include "platform/message_box.h"

namespace bytewarp {
namespace {

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Opens a file for writing beside the input. A name that leads back to the
// input (a link) is refused before anything is emptied.
int openWriter(const RunState& s, const std::string& name, bool& created, int& err) {
  created = true;
  int fd = fileops::createFile(name, true);
  if (fd < 0 && errno == EEXIST) {
    created = false;
    fd = fileops::createFile(name, false);
  }
  if (fd < 0) {
    err = fileops::lastError();
    return -1;
  }
  struct stat st {};
  if (!fileops::statFile(fd, st)) {
    err = fileops::lastError();
    fileops::closeFile(fd);
    return -1;
  }
  if (sameFile(st, s.inputStat)) {
    err = EEXIST;
    fileops::closeFile(fd);
    return -1;
  }
  return fd;
}

bool emptyIfRegular(int fd, int& err) {
  struct stat st {};
  if (!fileops::statFile(fd, st)) {
    err = fileops::lastError();
    return false;
  }
  // Devices such as /dev/null cannot be cut and need not be.
  if (S_ISREG(st.st_mode) && st.st_size != 0 && !fileops::setLength(fd, 0)) {
    err = fileops::lastError();
    return false;
  }
  return true;
}

int ioError(int err) { return failWith("I/O Error", err); }

// With /w only a plain file written by this run may take the input's place:
// renaming a link named NAME.new (to /dev/null, say) would put the link there.
bool replaceable(const RunState& s, int fd) {
  struct stat opened {}, named {};
  return fileops::statFile(fd, opened) && ::lstat(s.outputName.c_str(), &named) == 0 && S_ISREG(named.st_mode) &&
         sameFile(opened, named);
}

}  // namespace

std::string describeError(int err) { return std::string(std::strerror(err)) + "\n"; }

int failWith(std::string_view caption, int err) {
  showBox(describeError(err), caption, BoxIcon::Warning);
  return 0;
}

bool openFiles(RunState& s) {
  int fd = fileops::openExisting(s.inputName, O_RDWR);
  if (fd < 0 || !fileops::statFile(fd, s.inputStat)) {
    int err = fileops::lastError();
    if (fd >= 0) fileops::closeFile(fd);
    failWith("Error Opening Input File", err);
    return false;
  }
  s.input = std::make_unique<Stream>(fd, s.streamOptions);
  s.inputSize = s.inputStat.st_size;

  int err = 0;
  int out = openWriter(s, s.outputName, s.outputCreated, err);
  if (out < 0) {
    failWith("Error Opening Output File", err);
    return false;
  }
  s.output = std::make_unique<Stream>(out, s.streamOptions);
  return true;
}

bool startOutput(RunState& s) {
  int err = 0;
  if (s.outputCreated || emptyIfRegular(s.output->fd(), err)) return true;
  s.output.reset();
  failWith("Error Opening Output File", err);
  return false;
}

std::unique_ptr<Stream> createCompanion(const RunState& s, const std::string& name, int& err) {
  bool created = false;
  int fd = openWriter(s, name, created, err);
  if (fd < 0) return nullptr;
  if (!created && !emptyIfRegular(fd, err)) {
    fileops::closeFile(fd);
    return nullptr;
  }
  return std::make_unique<Stream>(fd, s.streamOptions);
}

void discardOutput(RunState& s) {
  if (!s.output) return;
  s.output.reset();
  fileops::removeFile(s.outputName);
}

int reportAndFinish(RunState& s) {
  Stream& in = *s.input;
  Stream& out = *s.output;
  if (in.failed()) {
    out.flush();  // the output keeps what was written before the failure
    return ioError(in.error());
  }
  if (!out.flush()) return ioError(out.error());
  const int64_t length = out.written();
  const bool replace = s.overwrite && replaceable(s, out.fd());
  if (replace) {
    // The result must be on disk, with the input's permissions, before it
    // takes the input's place.
    if (!fileops::copyPermissions(out.fd(), s.inputStat)) return ioError(fileops::lastError());
    if (!out.sync()) return ioError(out.error());
  }
  char sizeLine[80];
  std::snprintf(sizeLine, sizeof sizeLine, "\nFile size changed from %" PRId64 " to %" PRId64 ".", s.inputSize,
                length);
  s.message += sizeLine;
  s.input.reset();
  if (!out.close()) return ioError(out.error());
  s.output.reset();
  showBox(s.message, s.inputName, BoxIcon::Information);
  if (!s.overwrite) return 1;
  if (!replace) return failWith("Error Renaming Output File", EINVAL);
  // One rename puts the result in the input's place: there is no moment at
  // which neither the old nor the new content stands under the name.
  if (!fileops::renameReplace(s.outputName, s.inputName))
    return failWith("Error Renaming Output File", fileops::lastError());
  if (!fileops::syncFolderOf(s.inputName)) return ioError(fileops::lastError());
  return 1;
}

void abandonOutput(RunState& s) {
  if (!s.output) return;
  s.output.reset();
  if (s.outputCreated) fileops::removeFile(s.outputName);
}

int showUsage(RunState& s) {
  showBox(kUsageText, "Bytewarp", BoxIcon::Warning);
  abandonOutput(s);
  return 0;
}

const char* const kUsageText =
    "Command Line  Bytewarp\n"
    "\n"
    "Bytewarp.exe  file_name  [/w]  switch\n"
    "\n"
    "\t/a  find  [replace  repeat]\t-->  ASCII replace\n"
    "\t/b  find  [replace  repeat]\t-->  HEX replace\n"
    "\t/c  offset  length\t\t-->  Crop bytes\n"
    "\t/r  offset  length\t\t-->  Remove bytes\n"
    "\t/e  length  block_size\t-->  Extract bytes per block\n"
    "\t/j  length  \t\t-->  Split file\n"
    "\t/o  offset  string  [repeat]\t-->  Insert ASCII\n"
    "\t/x  offset  string  [repeat]\t-->  Insert HEX\n"
    "\t/d  column  length\t\t-->  Delete characters per line\n"
    "\t/i  column  string  [repeat]\t-->  Add ASCII per line\n"
    "\t/h  column  string  [repeat]\t-->  Add HEX per line\n"
    "\t/t  [TAB_length]\t\t-->  Convert SPACEs to TAB\n"
    "\t/s  [TAB_length]\t\t-->  Convert TABs to SPACE\n"
    "\t/p  block_size\t\t-->  Transpose bytes per block\n"
    "\t/p  1\t\t\t-->  Swap nibbles per byte\n"
    "\t/p  0\t\t\t-->  Transpose bits per byte\n"
    "\t/p  -1\t\t\t-->  Transpose bytes per file\n"
    "\t/m  \t\t\t-->  2's complement\n"
    "\t/u  \t\t\t-->  Extract upper nipples\n"
    "\t/l  \t\t\t-->  Extract lower nipples\n"
    "\t/-  \t\t\t-->  Extract odd bits\n"
    "\t/+  \t\t\t-->  Extract even bits\n"
    "\t/z  size\t\t\t-->  Change file size\n"
    "\n"
    "\t/w  overwrites the original file.\n"
    "\n"
    "Bytewarp.exe  /n  file1  file2\t\t--> Swap file names\n"
    "\n";

}  // namespace bytewarp
