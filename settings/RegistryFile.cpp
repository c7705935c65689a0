#include "settings/RegistryFile.h"
#include "settings/StoreFiles.h"
#include "settings/StoreNotices.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {
const std::string kLimitText = "1 MB";

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

// Whether the file read may be replaced: an unusable one only after it is kept aside, one that is
// no regular file, cannot be read or is read-only never.
enum class Use { Writable, SetAside, Untouchable };

struct Store {
    std::string path;                     // of the file the document was read from
    std::optional<FileIdentity> identity; // none: read the file again at the next call
    RegDocument document;
    Use use = Use::Writable;
    std::string refusal;                 // why an untouchable file is not replaced
    int depth = 0;                       // batches under way
    bool current = false;                // the batch under way has checked the file
    std::vector<RegistryChange> changes; // of the batch, to run again on a file changed meanwhile
};

Store& store() {
    static Store state;
    return state;
}

void refuse(Store& s, const std::string& text) {
    s.use = Use::Untouchable;
    s.refusal = text;
    StoreNotice(text);
}

// Takes what the file at s.path holds.
void take(Store& s, const FileRead& read) {
    s.identity = read.identity;
    s.document = RegDocument();
    s.use = Use::Writable;
    std::string problem;
    switch (read.kind) {
    case FileRead::Kind::Missing:
        return;
    case FileRead::Kind::NotRegular:
    case FileRead::Kind::Failed:
        return refuse(s, "Settings could not be read from " + s.path + " (" +
                             (read.error ? std::strerror(read.error) : "not a regular file") +
                             "); defaults apply and nothing will be saved there.");
    case FileRead::Kind::TooLarge:
        problem = "larger than " + kLimitText;
        break;
    case FileRead::Kind::Text:
        if (auto parsed = ParseRegText(read.text, &problem))
            s.document = std::move(*parsed);
        break;
    }
    if (!problem.empty()) {
        s.use = Use::SetAside;
        StoreNotice(
            "Settings in " + s.path + " could not be used (" + problem + "); defaults apply" +
            (read.readOnly ? "" : ", and the file is set aside when settings are saved") + ".");
    }
    if (read.readOnly)
        refuse(s,
               "Settings file " + s.path + " is read-only; changes to settings will not be kept.");
}

// Reads the file again when it is not the one read last.
void refresh(Store& s) {
    const std::string path = RegistryFilePath();
    // A folder that may not be written still reads: without its lock the read is whole all the
    // same, as a writer replaces the file at once.
    const Fd lock = LockFile(path + ".lock", false);
    if (path == s.path && s.identity && *s.identity == IdentityOf(path))
        return;
    s.path = path;
    take(s, ReadRegularFile(path, kMaxRegistryFileBytes));
}

bool failed(const Store& s, const std::string& why) {
    StoreNotice("Settings could not be saved to " + s.path + " (" + why +
                "); the file keeps what it held before.");
    return false;
}

// Stores the batch's changes under the exclusive lock.
bool save(Store& s) {
    if (s.use == Use::Untouchable) {
        StoreNotice(s.refusal);
        return false;
    }
    if (!MakeFolders(s.path.substr(0, s.path.rfind('/'))))
        return failed(s, std::strerror(errno));
    const Fd lock = LockFile(s.path + ".lock", true);
    if (lock.get() < 0)
        return failed(s, "its lock file " + s.path + ".lock cannot be used: " +
                             (errno == ELOOP ? "it is a symbolic link" : std::strerror(errno)));
    if (!s.identity || *s.identity != IdentityOf(s.path)) {
        // Another process saved meanwhile: its values stay, this batch's changes go on top.
        take(s, ReadRegularFile(s.path, kMaxRegistryFileBytes));
        for (const RegistryChange& change : s.changes)
            change(s.document);
        if (s.use == Use::Untouchable)
            return false;
    }
    const std::string target = LinkTarget(s.path);
    if (s.use == Use::SetAside) {
        const std::string aside = KeepAside(target);
        if (aside.empty())
            return failed(s, std::strerror(errno));
        StoreNotice("The unusable settings file " + target + " was kept as " + aside + ".");
        s.use = Use::Writable;
    }
    const std::string text = RegText(s.document);
    if (text.size() > kMaxRegistryFileBytes)
        return failed(s, "the settings would be larger than " + kLimitText);
    if (!ReplaceFile(target, text))
        return failed(s, std::strerror(errno));
    s.identity = IdentityOf(s.path);
    return true;
}
} // namespace

std::string RegistryFilePath() {
    return configHome() + "/orvan/registry.reg";
}

const RegDocument& ReadRegistryFile() {
    Store& s = store();
    if (s.depth == 0 || !s.current)
        refresh(s);
    s.current = s.depth > 0;
    return s.document;
}

bool UpdateRegistryFile(RegistryChange change) {
    Store& s = store();
    if (s.depth == 0) {
        BeginRegistryBatch();
        UpdateRegistryFile(std::move(change));
        return EndRegistryBatch();
    }
    ReadRegistryFile();
    if (change(s.document))
        s.changes.push_back(std::move(change));
    return true;
}

void BeginRegistryBatch() {
    Store& s = store();
    if (s.depth++ == 0)
        s.current = false;
}

bool EndRegistryBatch() {
    Store& s = store();
    if (--s.depth > 0)
        return true;
    s.current = false;
    if (s.changes.empty())
        return true;
    const bool saved = save(s);
    if (!saved)
        s.identity.reset(); // read again, without what could not be saved
    s.changes.clear();
    return saved;
}
