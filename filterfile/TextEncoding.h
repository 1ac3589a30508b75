#pragma once
// The files of the programs hold their text in one of two encodings: Latin-1
// (every file written before names could hold any character, and every file
// whose text still fits) or UTF-8 behind the UTF-8 byte order mark. Inside
// the programs text is UTF-8; the conversions happen here.
#include <istream>
#include <string>
#include <string_view>

namespace filterfile {

enum class FileEncoding { Latin1, Utf8 };

inline constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

// Reads the byte order mark at the stream's start, if there is one, and
// says which encoding the file's text is in; without the mark the stream is
// left where it was.
FileEncoding ReadEncodingMark(std::istream& in);

// A line of a file as UTF-8, in place: Latin-1 is widened, UTF-8 checked.
// False for a UTF-8 file's line that is not UTF-8 (the line is then left as
// it was).
bool DecodeLine(std::string& line, FileEncoding encoding);

// UTF-8 text as a file in `encoding` holds it; false, with `out` undefined,
// when Latin-1 cannot hold it.
bool EncodeText(std::string_view utf8, FileEncoding encoding, std::string& out);
// The same without a copy where none is needed: `out` is utf8 itself when
// the file holds it as it is, else the Latin-1 made in `scratch`.
bool EncodeText(std::string_view utf8, FileEncoding encoding, std::string& scratch,
                std::string_view& out);

// Whether every character of UTF-8 text fits Latin-1.
bool FitsLatin1(std::string_view utf8);

// Whether `text` is valid UTF-8.
bool IsUtf8(std::string_view text);

}  // namespace filterfile
