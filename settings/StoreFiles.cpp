#include "settings/StoreFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <limits.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string_view>

namespace {
FileIdentity identityOf(const struct stat& info) {
    return {true, static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
            static_cast<int64_t>(info.st_size),
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

bool othersMayWrite(const struct stat& info) {
    const uid_t user = ::geteuid();
    if (info.st_uid != user && info.st_uid != 0)
        return true;
    if (info.st_mode & S_IWOTH)
        return true;
    if (!(info.st_mode & S_IWGRP))
        return false;
    // A group of the user's own: the user's primary group, named after the user.
    const passwd* owner = ::getpwuid(user);
    const group* members = ::getgrgid(info.st_gid);
    return !owner || !members || owner->pw_gid != info.st_gid ||
           std::strcmp(owner->pw_name, members->gr_name) != 0;
}

bool sync(int fd) {
    ++StoreFileCounters().syncs;
    return ::fsync(fd) == 0;
}

bool writeAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            done += static_cast<size_t>(n);
    }
    return true;
}

// Temporary files left by a writer that died; only a writer holding the lock may remove them.
void removeStaleTemps(const std::string& dir, std::string_view prefix) {
    DIR* listing = ::opendir(dir.c_str());
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing)) {
        if (std::string_view(entry->d_name).starts_with(prefix))
            ::unlink((dir + "/" + entry->d_name).c_str());
    }
    ::closedir(listing);
}
} // namespace

Fd::~Fd() {
    if (fd_ >= 0)
        ::close(fd_);
}

Fd& Fd::operator=(Fd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FileIdentity IdentityOf(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? identityOf(info) : FileIdentity{};
}

FileRead ReadRegularFile(const std::string& path, size_t limit, bool followLink) {
    FileRead read;
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    Fd fd(::open(path.c_str(), kFlags | O_NOFOLLOW));
    if (fd.get() < 0 && errno == ELOOP) {
        read.link = true;
        if (!followLink) {
            read.kind = FileRead::Kind::NotRegular;
            read.identity = IdentityOf(path);
            return read;
        }
        fd = Fd(::open(path.c_str(), kFlags));
    }
    struct stat info;
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
        read.kind = errno == ENOENT ? FileRead::Kind::Missing : FileRead::Kind::Failed;
        read.error = errno;
        return read;
    }
    read.identity = identityOf(info);
    if (!S_ISREG(info.st_mode)) {
        read.kind = FileRead::Kind::NotRegular;
        return read;
    }
    read.readOnly =
        (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
    read.othersMayWrite = othersMayWrite(info);
    read.kind = FileRead::Kind::TooLarge;
    if (static_cast<uint64_t>(info.st_size) > limit)
        return read;
    // The size may change while it is read: never more than limit bytes are taken.
    read.text.resize(limit + 1);
    size_t done = 0;
    while (done < read.text.size()) {
        const ssize_t n = ::read(fd.get(), read.text.data() + done, read.text.size() - done);
        if (n == 0)
            break;
        if (n < 0 && errno != EINTR) {
            read.kind = FileRead::Kind::Failed;
            read.error = errno;
            return read;
        }
        if (n > 0)
            done += static_cast<size_t>(n);
    }
    if (done > limit)
        return read;
    read.text.resize(done);
    read.kind = FileRead::Kind::Text;
    ++StoreFileCounters().reads;
    return read;
}

bool OthersMayWrite(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && othersMayWrite(info);
}

Fd LockFile(const std::string& path, bool exclusive) {
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    Fd fd(::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0600));
    if (fd.get() < 0 && !exclusive)
        fd = Fd(::open(path.c_str(), O_RDONLY | kFlags));
    while (fd.get() >= 0 && ::flock(fd.get(), exclusive ? LOCK_EX : LOCK_SH) != 0) {
        if (errno != EINTR)
            return Fd();
    }
    return fd;
}

std::string LinkTarget(std::string path) {
    // As many links as the kernel follows; a longer chain is left for open() to refuse.
    for (int hop = 0; hop < 40; ++hop) {
        char link[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), link, sizeof link);
        if (n < 0 || static_cast<size_t>(n) == sizeof link)
            return path;
        const std::string to(link, static_cast<size_t>(n));
        path = to.starts_with('/') ? to : path.substr(0, path.rfind('/') + 1) + to;
    }
    return path;
}

bool MakeFolders(const std::string& path) {
    for (size_t sep = path.find('/', 1);; sep = path.find('/', sep + 1)) {
        const std::string part = path.substr(0, sep);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (sep == std::string::npos)
            return true;
    }
}

std::string KeepAside(const std::string& path) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string aside = path + ".bad-" + stamp;
    struct stat info;
    for (int n = 2; ::lstat(aside.c_str(), &info) == 0; ++n)
        aside = path + ".bad-" + stamp + "-" + std::to_string(n);
    return ::rename(path.c_str(), aside.c_str()) == 0 ? aside : std::string();
}

bool ReplaceFile(const std::string& target, const std::string& text) {
    const size_t slash = target.rfind('/');
    const std::string dir = target.substr(0, slash);
    const std::string prefix = target.substr(slash + 1) + ".tmp-";
    removeStaleTemps(dir, prefix);
    std::string temp = dir + "/" + prefix + "XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    struct stat old;
    const bool modeKept =
        ::stat(target.c_str(), &old) != 0 || ::fchmod(fd.get(), old.st_mode & 07777) == 0;
    const bool written = modeKept && writeAll(fd.get(), text) && sync(fd.get()) &&
                         ::close(fd.release()) == 0 && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!written) {
        const int error = errno;
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }
    ++StoreFileCounters().replaces;
    const Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0)
        sync(dirFd.get());
    return true;
}

StoreFileCounts& StoreFileCounters() {
    static StoreFileCounts counts;
    return counts;
}
