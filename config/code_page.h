// The device's 8-bit code page for INI text, which is UTF-8 here: conversion to and from wide
// strings, with fixed-size buffers filled bounded and cut at a character boundary.
#pragma once

#include <string>
#include <string_view>

// Invalid bytes become U+FFFD.
std::wstring WideFromAnsi(std::string_view text);
// At most `capacity` - 1 bytes (room for a terminator), never ending inside a character.
std::string AnsiFromWide(std::wstring_view text, std::size_t capacity);

// The size of the text buffers of the original file formats, terminator included.
constexpr std::size_t kTextBufferSize = 260;
