// Replacing a file's whole content, all or nothing. The new content goes into a file of its own in
// the target's folder, unnamed (O_TMPFILE) until it is complete and on the disk, then named and
// renamed over the target, whose owner, group and permissions it keeps. Only a regular file that
// may be written is replaced. A kill at any moment leaves the old file or the new one, and at most
// a complete copy under a temporary name, which the next save of that file removes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "platform/base/last_error.h"
#include "platform/base/text_encoding.h"
#include "platform/files/file_api.h"
#include "platform/files/file_steps.h"
#include "platform/files/regular_file.h"

namespace platform {
namespace {

// Temporary names are "." + the file's name + "." + this many letters or digits (as mkstemp
// makes them), not all of them lowercase letters.
constexpr std::size_t kSuffixLength = 6;
constexpr std::string_view kSuffixCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

struct Target {
    std::string path;  // symbolic links followed
    std::string folder;
    std::string name;
};

std::string InFolder(const std::string& folder, std::string_view name) {
    return folder + (folder.back() == '/' ? "" : "/") + std::string(name);
}

// The file that writing to `path` replaces: symbolic links are followed to their target.
Target ResolveTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) break;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length <= 0) break;
        link.resize(static_cast<std::size_t>(length));
        const auto slash = current.rfind('/');
        current = link.front() == '/' || slash == std::string::npos
                      ? link
                      : current.substr(0, slash + 1) + link;
    }
    const auto slash = current.rfind('/');
    if (slash == std::string::npos) return Target{current, ".", current};
    return Target{current, slash == 0 ? "/" : current.substr(0, slash), current.substr(slash + 1)};
}

bool IsTemporaryNameOf(std::string_view candidate, std::string_view name) {
    if (candidate.size() != name.size() + 2 + kSuffixLength || candidate.front() != '.' ||
        candidate.substr(1, name.size()) != name || candidate[name.size() + 1] != '.') {
        return false;
    }
    const std::string_view suffix = candidate.substr(name.size() + 2);
    const auto lowercase = [](char character) { return character >= 'a' && character <= 'z'; };
    // Six lowercase letters are a word ("backup") a user may have named a copy with: a
    // temporary name always holds a capital letter or a digit.
    return std::all_of(suffix.begin(), suffix.end(),
                       [](char character) {
                           return kSuffixCharacters.find(character) != std::string_view::npos;
                       }) &&
           !std::all_of(suffix.begin(), suffix.end(), lowercase);
}

std::string RandomSuffix() {
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kSuffixCharacters.size() - 1);
    std::string suffix(kSuffixLength, ' ');
    const auto lowercase = [](char character) { return character >= 'a' && character <= 'z'; };
    do {
        for (char& character : suffix) character = kSuffixCharacters[pick(generator)];
    } while (std::all_of(suffix.begin(), suffix.end(), lowercase));
    return suffix;
}

// Removes the copies that interrupted saves of the target left under temporary names. Links and
// anything but regular files stay.
void RemoveLeftovers(const Target& target) {
    const int folder = ::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    std::unique_ptr<DIR, int (*)(DIR*)> listing(::fdopendir(folder), ::closedir);
    if (!listing) {
        ::close(folder);
        return;
    }
    while (const dirent* entry = ::readdir(listing.get())) {
        if (!IsTemporaryNameOf(entry->d_name, target.name)) continue;
        struct stat status {};
        if (::fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode)) {
            ::unlinkat(folder, entry->d_name, 0);
        }
    }
}

// Whether an existing file may be replaced: a regular file that its permissions let us write.
// Root, whom the system lets write anything, still leaves a file alone that grants nobody write
// permission: its owner has marked it read-only. 0 or the reason.
DWORD CheckExistingTarget(const Target& target, const struct stat& status) {
    if (S_ISDIR(status.st_mode)) return EISDIR;
    if (!S_ISREG(status.st_mode)) return kErrorNotRegularFile;
    if (::geteuid() == 0) {
        return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 ? 0 : EACCES;
    }
    if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) == 0) return 0;
    return errno != 0 ? static_cast<DWORD>(errno) : EACCES;
}

// The new content's file: unnamed where the file system allows, else under a temporary name.
struct NewFile {
    FileDescriptor descriptor;
    std::string path;  // empty while unnamed

    NewFile() = default;
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    // A file given a name but never renamed over the target is no use to anyone.
    ~NewFile() {
        if (!path.empty()) ::unlink(path.c_str());
    }
};

bool CreateNewFile(const Target& target, NewFile& file) {
    if (InjectedFailure(FileStep::Open)) return false;
    file.descriptor =
        FileDescriptor(::open(target.folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (file.descriptor.Valid()) return true;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
    std::string path = InFolder(target.folder, "." + target.name + ".XXXXXX");
    file.descriptor = FileDescriptor(::mkostemp(path.data(), O_CLOEXEC));
    if (!file.descriptor.Valid()) return false;
    file.path = std::move(path);
    return true;
}

// Links an unnamed file into the folder under a fresh temporary name.
bool NameNewFile(const Target& target, NewFile& file) {
    if (!file.path.empty()) return true;
    const std::string open = "/proc/self/fd/" + std::to_string(file.descriptor.Get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = InFolder(target.folder, "." + target.name + "." + RandomSuffix());
        int linked = ::linkat(AT_FDCWD, open.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW);
        // Without /proc only a privileged process may link a descriptor directly.
        if (linked != 0 && errno != EEXIST) {
            linked = ::linkat(file.descriptor.Get(), "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH);
        }
        if (linked == 0) {
            file.path = std::move(path);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

// What errno says went wrong, for a step that may fail without saying.
DWORD Reason() { return errno != 0 ? static_cast<DWORD>(errno) : static_cast<DWORD>(EIO); }

// The mode, owner and group the new file takes: the old file's, else what a new file gets.
void TakeOwnership(int descriptor, const struct stat* existing) {
    mode_t mode = 0666;
    if (existing != nullptr) {
        // Another user's file saved by root stays theirs; where the system refuses the owner,
        // the group may still be kept.
        if (::fchown(descriptor, existing->st_uid, existing->st_gid) != 0) {
            [[maybe_unused]] const int kept =
                ::fchown(descriptor, static_cast<uid_t>(-1), existing->st_gid);
        }
        mode = existing->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(descriptor, mode);  // after the owner: a change of owner clears set-id bits
}

// The steps of ReplaceFileContent; 0, or the reason it failed.
DWORD Replace(const std::wstring& widePath, std::string_view content) {
    const Target target = ResolveTarget(Utf8FromWide(widePath));
    struct stat existing {};
    const bool exists = ::stat(target.path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return Reason();
    if (exists) {
        if (const DWORD refused = CheckExistingTarget(target, existing)) return refused;
    }
    RemoveLeftovers(target);

    NewFile file;
    if (!CreateNewFile(target, file)) return Reason();
    TakeOwnership(file.descriptor.Get(), exists ? &existing : nullptr);
    if (!WriteAll(file.descriptor.Get(), content)) return Reason();
    if (InjectedFailure(FileStep::Sync) || ::fsync(file.descriptor.Get()) != 0) {
        return Reason();
    }
    if (InjectedFailure(FileStep::Rename) || !NameNewFile(target, file)) {
        return Reason();
    }
    const bool injectedClose = InjectedFailure(FileStep::Close);
    if (::close(file.descriptor.Release()) != 0 || injectedClose) {
        return injectedClose ? EIO : Reason();
    }
    if (::rename(file.path.c_str(), target.path.c_str()) != 0) return Reason();
    file.path.clear();  // it is the target now
    // Make the rename itself durable; the content is already safe if this fails.
    const FileDescriptor folder(::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Valid()) ::fsync(folder.Get());
    return 0;
}

}  // namespace

bool ReplaceFileContent(const std::wstring& path, std::string_view content) {
    errno = 0;
    const DWORD error = Replace(path, content);
    if (error == 0) return true;
    SetLastError(error);
    return false;
}

}  // namespace platform
