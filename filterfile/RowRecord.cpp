#include "filterfile/RowRecord.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace filterfile {

bool WriteRowRecord(std::ostream& out, std::string_view application, std::string_view database,
                    std::string_view filter, int16_t access, std::string_view text) {
  char number[8];
  auto [end, ec] = std::to_chars(number, number + sizeof number, access);
  (void)ec;  // a 16-bit value always fits
  if (!out.good()) return false;
  const std::string_view pieces[] = {application,
                                     "\t",
                                     database,
                                     "\t",
                                     filter,
                                     "\t",
                                     std::string_view(number, static_cast<size_t>(end - number)),
                                     "\t",
                                     text,
                                     "\r\r\n"};
  size_t total = 0;
  for (std::string_view p : pieces) total += p.size();
  // One hand-over to the stream buffer per record: its per-call cost is
  // larger than the copying of a typical row.
  std::streambuf& buf = *out.rdbuf();
  bool whole = true;
  char record[1024];
  if (total <= sizeof record) {
    // The separators byte by byte: a copy call for each would cost more
    // than the texts' own.
    char* at = record;
    const auto put = [&at](std::string_view p) {
      if (p.empty()) return;  // its data() may be null
      std::memcpy(at, p.data(), p.size());
      at += p.size();
    };
    put(application);
    *at++ = '\t';
    put(database);
    *at++ = '\t';
    put(filter);
    *at++ = '\t';
    for (const char* n = number; n != end; ++n) *at++ = *n;
    *at++ = '\t';
    put(text);
    *at++ = '\r';
    *at++ = '\r';
    *at++ = '\n';
    whole = buf.sputn(record, static_cast<std::streamsize>(total)) ==
            static_cast<std::streamsize>(total);
  } else {
    for (std::string_view p : pieces)
      whole = whole && buf.sputn(p.data(), static_cast<std::streamsize>(p.size())) ==
                           static_cast<std::streamsize>(p.size());
  }
  if (!whole) out.setstate(std::ios::badbit);
  return whole;
}

bool ParseAccess(std::string_view field, int16_t& access) {
  // from_chars takes an optional '-' and digits only: no '+', no blanks, and
  // reports a value outside 16 bits as out of range.
  const char* last = field.data() + field.size();
  int16_t value = 0;
  auto [ptr, ec] = std::from_chars(field.data(), last, value);
  if (ec != std::errc() || ptr != last) return false;
  access = value;
  return true;
}

std::optional<std::string_view> RecordName(std::string_view line) {
  size_t tabs[3];
  size_t from = 0;
  for (size_t& tab : tabs) {
    tab = line.find('\t', from);
    if (tab == std::string_view::npos) return std::nullopt;
    from = tab + 1;
  }
  std::string_view name = line.substr(tabs[1] + 1, tabs[2] - tabs[1] - 1);
  if (name.empty() || name.find('\0') != std::string_view::npos) return std::nullopt;
  return name;
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
  // Names and rows reach the server NUL-terminated: a NUL would cut them.
  if (fields.filter.find('\0') != std::string_view::npos ||
      fields.text.find('\0') != std::string_view::npos)
    return std::nullopt;
  return fields;
}

}  // namespace filterfile
