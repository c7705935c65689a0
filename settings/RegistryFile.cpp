#include "settings/RegistryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string_view>
#include <utility>

namespace {
constexpr const char* kTempPrefix = "registry.reg.tmp-";

std::string configHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : "";
    }
    return std::string(home) + "/.config";
}

std::string folder() {
    return configHome() + "/orvan";
}

// Closes its descriptor, which also releases a lock taken on it.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

bool makeFolders(const std::string& path) {
    for (size_t sep = path.find('/', 1);; sep = path.find('/', sep + 1)) {
        const std::string part = path.substr(0, sep);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (sep == std::string::npos)
            return true;
    }
}

bool lock(const Fd& fd, int operation) {
    while (::flock(fd.get(), operation) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

// The whole file; an empty text when it does not exist; nothing when it cannot be read.
std::optional<std::string> readAll(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return errno == ENOENT ? std::optional<std::string>("") : std::nullopt;
    std::string text;
    char buffer[8192];
    while (true) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0)
            return text;
        if (n < 0 && errno != EINTR)
            return std::nullopt;
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
    }
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
void removeStaleTemps(const std::string& dir) {
    DIR* listing = ::opendir(dir.c_str());
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing)) {
        if (std::string_view(entry->d_name).starts_with(kTempPrefix))
            ::unlink((dir + "/" + entry->d_name).c_str());
    }
    ::closedir(listing);
}

bool keepAside(const std::string& path) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string aside = path + ".bad-" + stamp;
    struct stat info;
    for (int n = 2; ::lstat(aside.c_str(), &info) == 0; ++n)
        aside = path + ".bad-" + stamp + "-" + std::to_string(n);
    return ::rename(path.c_str(), aside.c_str()) == 0;
}

// Writes text beside path, flushes it, puts it in place of path and flushes the folder.
bool replaceFile(const std::string& dir, const std::string& path, const std::string& text) {
    std::string temp = dir + "/" + kTempPrefix + "XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    const bool written = writeAll(fd.get(), text) && ::fsync(fd.get()) == 0 &&
                         ::close(fd.release()) == 0 && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!written) {
        ::unlink(temp.c_str());
        return false;
    }
    Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0)
        ::fsync(dirFd.get());
    return true;
}
} // namespace

std::string RegistryFilePath() {
    return folder() + "/registry.reg";
}

RegDocument ReadRegistryFile() {
    const std::string path = RegistryFilePath();
    // A folder that may not be written still reads: without its lock the read is whole all the
    // same, as a writer replaces the file at once.
    const std::string lockPath = path + ".lock";
    int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0)
        lockFd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    const Fd held(lockFd);
    if (held.get() >= 0)
        lock(held, LOCK_SH);
    const auto text = readAll(path);
    auto document = text ? ParseRegText(*text) : std::nullopt;
    return document ? std::move(*document) : RegDocument{};
}

bool UpdateRegistryFile(const std::function<bool(RegDocument&)>& change) {
    const std::string dir = folder();
    const std::string path = dir + "/registry.reg";
    if (!makeFolders(dir))
        return false;
    Fd lockFd(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lockFd.get() < 0 || !lock(lockFd, LOCK_EX))
        return false;
    removeStaleTemps(dir);

    const auto text = readAll(path);
    if (!text)
        return false; // never replace what could not be read
    auto parsed = ParseRegText(*text);
    RegDocument document = parsed ? std::move(*parsed) : RegDocument{};
    if (!change(document))
        return true;
    if (!parsed && !keepAside(path))
        return false;
    return replaceFile(dir, path, RegText(document));
}
