#include "filterfile/SelectionList.h"

#include <algorithm>

#include "filterfile/LineReader.h"
#include "filterfile/TextEncoding.h"

namespace filterfile {

namespace {

// Far beyond any filter name: a longer line shows the file is no selection
// list (an endless device, a binary file).
constexpr size_t MaxName = 4096;

}  // namespace

bool WriteSelectionList(std::ostream& out, const std::vector<std::string>& names) {
  // Latin-1, as every list was, unless a name does not fit.
  const bool fits = std::all_of(names.begin(), names.end(), FitsLatin1);
  const FileEncoding encoding = fits ? FileEncoding::Latin1 : FileEncoding::Utf8;
  if (!fits && !out.write(Utf8Mark.data(), static_cast<std::streamsize>(Utf8Mark.size())))
    return false;
  std::string encoded;
  for (const std::string& name : names) {
    EncodeText(name, encoding, encoded);
    if (!out.write(encoded.data(), static_cast<std::streamsize>(encoded.size()))) return false;
    if (!out.write("\r\n", 2)) return false;
  }
  return out.flush().good();
}

SelectionReadOutcome ReadSelectionList(std::istream& in,
                                       const std::function<void(std::string_view)>& onName) {
  const FileEncoding encoding = ReadEncodingMark(in);
  LineReader reader(in, MaxName);
  std::string line;
  for (;;) {
    switch (reader.Next(line)) {
      case LineReader::Result::ReadError: return SelectionReadOutcome::ReadError;
      case LineReader::Result::TooLong: return SelectionReadOutcome::LineTooLong;
      case LineReader::Result::End: return SelectionReadOutcome::Complete;
      case LineReader::Result::Line:
        // A line that is not UTF-8 in a UTF-8 list names no filter.
        if (DecodeLine(line, encoding)) onName(line);
        break;
    }
  }
}

}  // namespace filterfile
