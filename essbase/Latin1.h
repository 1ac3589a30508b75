#pragma once
// Texts cross the C ABI as single bytes (Latin-1) and the REST API as UTF-8.
// Nothing outside Latin-1 is ever replaced by a stand-in character: such a
// text is refused, and the caller names it.
#include <cstddef>
#include <string>
#include <string_view>

namespace essbase {

std::string Latin1ToUtf8(std::string_view latin1);
// The same into out, whose storage is reused: for texts converted by the
// million. latin1 must not lie within out.
void Latin1ToUtf8(std::string_view latin1, std::string& out);

// Where the run of ASCII bytes of text that starts at from ends.
size_t AsciiEnd(std::string_view text, size_t from = 0);

// False when utf8 is not valid UTF-8 or holds a character above U+00FF;
// badAt is then the byte offset of the first such character.
bool Utf8ToLatin1(std::string_view utf8, std::string& latin1, size_t& badAt);

}  // namespace essbase
