// Non-blocking opening of regular files, and bounded reading of their content.
#include "platform/files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform {
namespace {

// The first read asks for the size the file reports (and a byte more, to see its end); beyond
// that the buffer grows by at most this much at a time, so a file that grows while it is read
// costs no more than what it really holds.
constexpr std::size_t kMinimumStep = 4096;
constexpr std::size_t kMaximumStep = std::size_t{1} << 20;

bool IsRegular(int descriptor, std::size_t* size = nullptr) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return false;
    if (size != nullptr) *size = static_cast<std::size_t>(std::max<off_t>(status.st_size, 0));
    return true;
}

}  // namespace

FileDescriptor::~FileDescriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = other.Release();
    }
    return *this;
}

int FileDescriptor::Release() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return descriptor;
}

namespace {

// Looked at before opening, so that no device is ever opened (opening some has effects);
// checked again on the open file, which may have been replaced in between. O_NONBLOCK keeps
// that open from waiting for the writer of a named pipe; on the regular file it stays open as
// it has no effect there.
FileDescriptor OpenRegular(const std::string& path, std::size_t* size) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.Valid() || !IsRegular(file.Get(), size)) return {};
    return file;
}

}  // namespace

FileDescriptor OpenRegularFile(const std::string& path) {
    FileDescriptor file = OpenRegular(path, nullptr);
    // Cleared for callers that hand the descriptor on.
    if (file.Valid()) {
        const int flags = ::fcntl(file.Get(), F_GETFL);
        if (flags != -1) ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK);
    }
    return file;
}

long long ReadFully(int descriptor, char* buffer, std::size_t count) {
    std::size_t total = 0;
    while (total < count) {
        const ssize_t got = ::read(descriptor, buffer + total, count - total);
        if (got < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(total);
}

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit) {
    std::size_t size = 0;
    const FileDescriptor file = OpenRegular(path, &size);
    if (!file.Valid()) return std::nullopt;
    if (size > limit) return std::nullopt;
    std::string content;
    // One byte beyond the limit tells a file of exactly `limit` bytes from a longer one.
    std::size_t step = size + 1;
    while (content.size() <= limit) {
        const std::size_t before = content.size();
        step = std::min(step, limit + 1 - before);
        content.resize(before + step);
        long long got = 0;
        if (before == 0) {
            // A regular file gives what it holds in one read: as many bytes as it reported is
            // its end, without asking again (which doubles the calls for small files).
            do {
                got = ::read(file.Get(), content.data(), step);
            } while (got < 0 && errno == EINTR);
            if (got == static_cast<long long>(size) && size < step) {
                content.resize(size);
                break;
            }
            if (got >= 0 && static_cast<std::size_t>(got) < step) {
                const long long rest = ReadFully(file.Get(), content.data() + got,
                                                 step - static_cast<std::size_t>(got));
                got = rest < 0 ? -1 : got + rest;
            }
        } else {
            got = ReadFully(file.Get(), content.data() + before, step);
        }
        if (got < 0) return std::nullopt;
        content.resize(before + static_cast<std::size_t>(got));
        if (static_cast<std::size_t>(got) < step) break;
        step = std::clamp(content.size(), kMinimumStep, kMaximumStep);
    }
    if (content.size() > limit) return std::nullopt;
    return content;
}

}  // namespace platform
