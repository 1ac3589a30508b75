#include "RowRecord.h"

#include <charconv>

namespace filterfile {

bool WriteRowRecord(std::ostream& out, std::string_view application, std::string_view database,
                    std::string_view filter, int16_t access, std::string_view text) {
  char number[8];
  auto [end, ec] = std::to_chars(number, number + sizeof number, access);
  (void)ec;  // a 16-bit value always fits
  if (!out.good()) return false;
  // Straight to the stream buffer: one record is nine small pieces, and a
  // sentry per piece costs more than the copying.
  std::streambuf& buf = *out.rdbuf();
  bool whole = true;
  auto put = [&](std::string_view piece) {
    whole = whole && buf.sputn(piece.data(), static_cast<std::streamsize>(piece.size())) ==
                         static_cast<std::streamsize>(piece.size());
  };
  put(application);
  put("\t");
  put(database);
  put("\t");
  put(filter);
  put("\t");
  put(std::string_view(number, static_cast<size_t>(end - number)));
  put("\t");
  put(text);
  put("\r\r\n");
  if (!whole) out.setstate(std::ios::badbit);
  return whole;
}

bool ParseAccess(std::string_view field, int16_t& access) {
  const char* first = field.data();
  const char* last = first + field.size();
  if (first != last && *first == '-' && first + 1 == last) return false;
  // from_chars takes an optional '-' and digits only: no '+', no blanks.
  int16_t value = 0;
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last || field.empty()) return false;
  access = value;
  return true;
}

std::optional<RowFields> ParseRowRecord(std::string_view line) {
  size_t tabs[4];
  size_t from = 0;
  for (size_t& tab : tabs) {
    tab = line.find('\t', from);
    if (tab == std::string_view::npos) return std::nullopt;
    from = tab + 1;
  }
  RowFields fields;
  fields.filter = line.substr(tabs[1] + 1, tabs[2] - tabs[1] - 1);
  if (fields.filter.empty()) return std::nullopt;
  if (!ParseAccess(line.substr(tabs[2] + 1, tabs[3] - tabs[2] - 1), fields.access))
    return std::nullopt;
  fields.text = line.substr(tabs[3] + 1);
  return fields;
}

}  // namespace filterfile
