// The INI library: a file held in memory as ordered sections of ordered key/value pairs (8-bit
// text), read from and written to files, with lookup and update of single values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/win_types.h"

// Strings that stay where they are while more are added: a value returned by IniGetValue must
// survive keys added after it. The first two live inside the object (a section is always held by
// pointer, so they never move), each further one in an allocation of its own, so that the common
// section of a key or two costs no allocation beyond its texts.
class StableStrings {
  public:
    StableStrings() = default;
    StableStrings(const StableStrings&) = delete;
    StableStrings& operator=(const StableStrings&) = delete;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string& operator[](std::size_t index) {
        return index < kInline ? first_[index] : *more_[index - kInline];
    }
    const std::string& operator[](std::size_t index) const {
        return index < kInline ? first_[index] : *more_[index - kInline];
    }
    template <typename... Arguments>
    std::string& emplace_back(Arguments&&... arguments) {
        if (size_ < kInline) {
            std::string& slot = first_[size_];
            slot = std::string(std::forward<Arguments>(arguments)...);
        } else {
            more_.push_back(std::make_unique<std::string>(std::forward<Arguments>(arguments)...));
        }
        return (*this)[size_++];
    }
    void push_back(std::string text) { emplace_back(std::move(text)); }
    friend bool operator==(const StableStrings& first, const StableStrings& second) {
        if (first.size_ != second.size_) return false;
        for (std::size_t index = 0; index < first.size_; ++index) {
            if (first[index] != second[index]) return false;
        }
        return true;
    }

  private:
    static constexpr std::size_t kInline = 2;
    std::string first_[kInline];
    std::vector<std::unique_ptr<std::string>> more_;
    std::size_t size_ = 0;
};

struct IniSection {
    // Parallel: values[i] belongs to keys[i].
    StableStrings keys;
    StableStrings values;
    std::string name;
};

// Sections in file order; an element may be null and is then skipped.
struct IniDocument {
    std::vector<std::unique_ptr<IniSection>> sections;
};

// Appends the sections of the file to the document. False (after a message box "!CreateFile" or
// "!ReadFile", or silently for an empty file) when nothing was read.
bool IniRead(IniDocument& document, const std::wstring& path);
// Replaces the file with the document's content; false (after the box "!CreateFile") when the
// file could not be written whole, in which case the old file is kept.
bool IniWrite(const IniDocument& document, const std::wstring& path);
// The value of the first key of that name in the first section of that name, or null. The text
// belongs to the document.
const char* IniGetValue(const IniDocument& document, const char* section, const char* key);
// Replaces the value of an existing key (true); otherwise, when the lowest byte of `create` is
// set, appends the key (and, if needed, the section) and returns false.
bool IniSetValue(IniDocument& document, const char* section, const char* key, const char* value,
                 int create);
bool IniSetInt(IniDocument& document, const char* section, const char* key, std::int32_t value,
               int create);
void IniFree(IniDocument& document);
// The value of the first key of that name in one section, or null.
const char* IniSectionValue(const IniSection& section, std::string_view key);

// Parses INI text that ends in "\r\n" and holds no zero byte, appending its sections.
void IniParse(IniDocument& document, std::string_view text);
// The bytes IniWrite puts into the file.
std::string IniFormat(const IniDocument& document);
