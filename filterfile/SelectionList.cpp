#include "filterfile/SelectionList.h"

#include "filterfile/LineReader.h"

namespace filterfile {

namespace {

// Far beyond any filter name: a longer line shows the file is no selection
// list (an endless device, a binary file).
constexpr size_t MaxName = 4096;

}  // namespace

bool WriteSelectionList(std::ostream& out, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (!out.write(name.data(), static_cast<std::streamsize>(name.size()))) return false;
    if (!out.write("\r\n", 2)) return false;
  }
  return out.flush().good();
}

SelectionReadOutcome ReadSelectionList(std::istream& in,
                                       const std::function<void(std::string_view)>& onName) {
  LineReader reader(in, MaxName);
  std::string line;
  for (;;) {
    switch (reader.Next(line)) {
      case LineReader::Result::ReadError: return SelectionReadOutcome::ReadError;
      case LineReader::Result::TooLong: return SelectionReadOutcome::LineTooLong;
      case LineReader::Result::End: return SelectionReadOutcome::Complete;
      case LineReader::Result::Line: onName(line); break;
    }
  }
}

}  // namespace filterfile
