#include "settings/RegistryFile.h"
#include "settings/ConfigFolder.h"
#include "settings/StoreFiles.h"
#include "settings/StoreNotices.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {
const std::string kLimitText = "1 MB";

// Whether the file read may be replaced: an unusable one only after it is kept aside, one that is
// no regular file, cannot be read or is read-only never.
enum class Use { Writable, SetAside, Untouchable };

struct Store {
    std::string path;                     // of the file the document was read from
    std::string target;                   // what a save replaces: path, or where its link leads
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

const char* const kLeftAlone =
    "; it is left as it is: defaults apply and nothing will be saved there.";

// Why a link's target is no settings file to read and replace, or nothing when it is one.
std::string notSettings(const FileRead& read, std::optional<RegDocument>& parsed) {
    switch (read.kind) {
    case FileRead::Kind::Missing:
        return "it leads nowhere";
    case FileRead::Kind::NotRegular:
        return "not a regular file";
    case FileRead::Kind::TooLarge:
        return "larger than " + kLimitText;
    case FileRead::Kind::Failed:
        return std::strerror(read.error);
    case FileRead::Kind::Text:
        break;
    }
    if (read.text.empty())
        return "an empty file";
    if (read.othersMayWrite)
        return "a file other users may write";
    std::string problem;
    parsed = ParseRegText(read.text, &problem);
    return problem;
}

// Whether the link at s.path is read through, to the settings file it leads to; a save then
// replaces that file. Any other link, and every link in a folder other users may write, is left
// exactly as it is, and the user is told.
bool followLink(Store& s, const FileRead& read, bool sharedFolder) {
    if (sharedFolder) {
        refuse(s,
               "Settings file " + s.path + " is a symbolic link that is not followed" + kLeftAlone);
        return false;
    }
    // Another user could put a link to any file in place of a target in a folder they may write.
    const std::string target = LinkTarget(s.path);
    std::optional<RegDocument> parsed;
    const std::string why = OthersMayWrite(target.substr(0, target.rfind('/')))
                                ? "a file in a folder other users may write"
                                : notSettings(read, parsed);
    if (!parsed) {
        refuse(s, "Settings file " + s.path + " is a symbolic link to no settings file (" + why +
                      ")" + kLeftAlone);
        return false;
    }
    s.document = std::move(*parsed);
    s.target = target;
    return true;
}

// Takes what the file at s.path holds.
void take(Store& s) {
    const std::string folder = s.path.substr(0, s.path.rfind('/'));
    const bool sharedFolder = OthersMayWrite(folder);
    if (sharedFolder)
        StoreNotice("Settings folder " + folder +
                    " may be written by other users; links in it are not followed.");
    const FileRead read = ReadRegularFile(s.path, kMaxRegistryFileBytes, !sharedFolder);
    s.identity = read.identity;
    s.document = RegDocument();
    s.use = Use::Writable;
    s.target = s.path;
    if (read.link && !followLink(s, read, sharedFolder))
        return;
    if (!read.link && read.othersMayWrite)
        StoreNotice("Settings file " + s.path + " may be written by other users.");
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
        if (read.link)
            break; // parsed already
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
    take(s);
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
        take(s);
        for (const RegistryChange& change : s.changes)
            change(s.document);
        if (s.use == Use::Untouchable)
            return false;
    }
    if (s.use == Use::SetAside) {
        const std::string aside = KeepAside(s.path);
        if (aside.empty())
            return failed(s, std::strerror(errno));
        StoreNotice("The unusable settings file " + s.path + " was kept as " + aside + ".");
        s.use = Use::Writable;
    }
    const std::string text = RegText(s.document);
    if (text.size() > kMaxRegistryFileBytes)
        return failed(s, "the settings would be larger than " + kLimitText);
    if (!ReplaceFile(s.target, text))
        return failed(s, std::strerror(errno));
    s.identity = IdentityOf(s.path);
    return true;
}
} // namespace

std::string RegistryFilePath() {
    return ConfigFolder() + "/registry.reg";
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
