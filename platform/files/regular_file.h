// Opening and reading the files the programs are handed (their INI files, icon themes, desktop
// entries, icons): without blocking, only when they are regular files, and never more than a
// limit that suits the kind of file. A named pipe, a device, a directory or an oversized file is
// simply unreadable, so no file can stall the program or exhaust its memory.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// An open file descriptor, closed with the object.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : descriptor_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool Valid() const { return descriptor_ >= 0; }
    int Get() const { return descriptor_; }
    int Release();

  private:
    int descriptor_ = -1;
};

// Opens `path` (symbolic links followed) for reading. Invalid unless it is a regular file; the
// open never waits, whatever the path names.
FileDescriptor OpenRegularFile(const std::string& path);

// Reads up to `count` bytes, retrying interrupted and partial reads; fewer only at the end of the
// file. -1 when a read fails.
long long ReadFully(int descriptor, char* buffer, std::size_t count);

// The whole content of a regular file of at most `limit` bytes; nullopt when it cannot be opened,
// is no regular file, holds more than `limit` bytes or a read fails.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit);

}  // namespace platform
