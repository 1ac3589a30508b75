#pragma once
// The store keeps UTF-8; the client library's fields hold Latin-1. Both
// directions run once per row read or written, so plain ASCII, by far the
// most common text, takes a fast path.
#include <cstddef>
#include <string>
#include <string_view>

namespace esbsim {

constexpr size_t NotUtf8 = static_cast<size_t>(-1);

// The characters of text, or NotUtf8 when it is not well-formed UTF-8
// (overlong forms, surrogates and values past U+10FFFF are not).
size_t Utf8Length(std::string_view text);

// True when every character of (valid UTF-8) utf8 is within Latin-1.
bool FitsLatin1(std::string_view utf8);

// Replaces out with latin1 as UTF-8.
void Latin1ToUtf8(std::string_view latin1, std::string& out);

// Replaces out with utf8 as Latin-1; false when utf8 holds a character past
// U+00FF or is not UTF-8 (out is then unspecified).
bool Utf8ToLatin1(std::string_view utf8, std::string& out);

// What ToLatin1InPlace made of a text.
enum class InPlace {
  Latin1,     // the text is now its Latin-1 form
  NotLatin1,  // FitsLatin1 is false for it (the text is then unspecified)
  NotUtf8,    // FitsLatin1 holds but it is no UTF-8: Utf8ToLatin1 refuses it
              // (the text is then unspecified)
};

// Utf8ToLatin1 of text into text itself, never longer than it was, with
// FitsLatin1's answer for the whole of it: one pass where the two took two.
InPlace ToLatin1InPlace(std::string& text);

}  // namespace esbsim
