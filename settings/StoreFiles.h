#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

// The file system steps of the settings store.

// Closes its descriptor, which also releases a lock taken on it.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd();
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// Tells one version of a file from another: a writer replaces the file, or at least changes its
// size or modification time.
struct FileIdentity {
    bool exists = false;
    uint64_t device = 0, inode = 0;
    int64_t size = 0, modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The file at path, links followed; a file that cannot be reached does not exist.
FileIdentity IdentityOf(const std::string& path);

struct FileRead {
    enum class Kind { Missing, Text, NotRegular, TooLarge, Failed } kind = Kind::Missing;
    FileIdentity identity;
    bool link = false;           // path is a symbolic link; what was read is where it leads
    bool readOnly = false;       // the user may not write it (by its mode bits, even as root)
    bool othersMayWrite = false; // see OthersMayWrite
    int error = 0;               // for Failed
    std::string text;
};

// The file at path when it is a regular file of at most limit bytes. A symbolic link is followed
// only with followLink; one that is not reads as NotRegular. Opening never waits, so a FIFO or
// device is refused at once.
FileRead ReadRegularFile(const std::string& path, size_t limit, bool followLink);

// Whether users other than this one (and root) may change what is at path, links followed: it
// belongs to another user, or its group or everybody may write it (the user's own private group
// aside).
bool OthersMayWrite(const std::string& path);

// Opens path without following a link (so never creating a file through one) and locks it:
// alone, creating it when missing, or shared, where an unwritable one still serves. An invalid Fd
// with errno set when that fails.
Fd LockFile(const std::string& path, bool exclusive);

// Where a chain of symbolic links starting at path ends (path itself when it is no link); the
// end need not exist.
std::string LinkTarget(std::string path);

// Creates the folder and every missing one above it.
bool MakeFolders(const std::string& path);

// Renames path to path.bad-<timestamp>; the new name, or the empty text when that failed.
std::string KeepAside(const std::string& path);

// Writes text to a new file beside target, flushes it, renames it over target (whose mode it
// keeps) and flushes the folder; removes temporary files of dead writers first, so the caller
// must hold the exclusive lock. False with errno set when the old file was left as it was.
bool ReplaceFile(const std::string& target, const std::string& text);

// How often the store read a whole file, replaced one and flushed something: for tests and the
// benchmarks.
struct StoreFileCounts {
    long reads = 0, replaces = 0, syncs = 0;
};
StoreFileCounts& StoreFileCounters();
