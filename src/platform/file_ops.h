// Thin wrappers over the POSIX file calls the tool makes. Every call goes
// through here so that a test can make the n-th call of a kind fail with a
// chosen errno; the check is one compare per call when no fault is armed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace bytewarp::fileops {

enum class Call { Open, Create, Read, Write, Sync, SetLength, Rename, Delete, Close, Stat, kCount };

// Arms a fault: the n-th future call (1 = the next one) of `call` fails with `err`.
void failNth(Call call, int n, int err);
// Disarms every fault and resets the call counters.
void clearFaults();

// The errno of the last failed call made through these wrappers.
int lastError();

int openExisting(const std::string& name, int flags);     // Call::Open
// Opens `name` for writing, creating it; with `exclusive` only when it does not
// exist yet. Never truncates.
int createFile(const std::string& name, bool exclusive);  // Call::Create
ssize_t readAt(int fd, void* buf, size_t n, int64_t pos);  // Call::Read
ssize_t writeAt(int fd, const void* buf, size_t n, int64_t pos);  // Call::Write
// In-kernel copy between two files at explicit offsets (Call::Read): returns bytes
// copied, 0 at end of input, -1 with errno set.
ssize_t copyRange(int fromFd, int64_t fromPos, int toFd, int64_t toPos, size_t n);
// Maps `length` bytes of a file from `pos` (a multiple of the page size) for
// reading; null with errno set on failure (Call::Read).
const uint8_t* mapForReading(int fd, int64_t pos, size_t length);
void unmap(const uint8_t* at, size_t length);
// True once a mapped page could not be read (the file shrank under the
// mapping); the page then reads as zeros. Clears the mark.
bool takeMapFault();
bool syncFile(int fd);                                    // Call::Sync
bool setLength(int fd, int64_t length);                   // Call::SetLength
bool renameNoReplace(const std::string& from, const std::string& to);  // Call::Rename
bool renameReplace(const std::string& from, const std::string& to);    // Call::Rename
bool removeFile(const std::string& name);                 // Call::Delete
bool closeFile(int fd);                                   // Call::Close
bool statFile(int fd, struct stat& st);                   // Call::Stat
// Gives the file the owner (best effort) and permission bits of `like`.
bool copyPermissions(int fd, const struct stat& like);    // Call::Stat
// Syncs the folder that holds `name`, so that a rename in it is durable.
bool syncFolderOf(const std::string& name);               // Call::Sync

}  // namespace bytewarp::fileops
