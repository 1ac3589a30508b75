#include "backup/BackupInfo.h"

#include <cctype>
#include <charconv>
#include <string_view>

#include "essbase/ServerAddress.h"
#include "filterfile/RowRecord.h"
#include "filterfile/TextEncoding.h"

namespace backup {

namespace {

constexpr std::string_view Magic = "quorvel-backup";
constexpr std::string_view Version = "1";

void Line(std::ostream& out, filterfile::FileEncoding encoding,
          std::initializer_list<std::string_view> fields) {
  bool first = true;
  std::string encoded;
  for (std::string_view f : fields) {
    if (!first) out.put('\t');
    filterfile::EncodeText(f, encoding, encoded);
    out.write(encoded.data(), static_cast<std::streamsize>(encoded.size()));
    first = false;
  }
  out.put('\n');
}

// Latin-1, as every description was before names could hold any
// character, unless one of its names does not fit.
filterfile::FileEncoding EncodingFor(const BackupInfo& info) {
  using filterfile::FitsLatin1;
  bool fits = FitsLatin1(info.server) && FitsLatin1(info.command) && FitsLatin1(info.time);
  for (const DatabaseRange& d : info.databases)
    fits = fits && FitsLatin1(d.application) && FitsLatin1(d.database);
  for (const SavedFilter& f : info.filters)
    fits = fits && FitsLatin1(f.application) && FitsLatin1(f.database) && FitsLatin1(f.name);
  for (const CreatedName& c : info.created)
    fits = fits && FitsLatin1(c.application) && FitsLatin1(c.database) && FitsLatin1(c.name);
  return fits ? filterfile::FileEncoding::Latin1 : filterfile::FileEncoding::Utf8;
}

std::vector<std::string_view> Split(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

bool Number(std::string_view text, uint64_t& value) {
  const char* last = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), last, value);
  return !text.empty() && ec == std::errc() && ptr == last;
}

}  // namespace

void WriteBackupInfo(std::ostream& out, const BackupInfo& info) {
  const filterfile::FileEncoding e = EncodingFor(info);
  if (e == filterfile::FileEncoding::Utf8)
    out.write(filterfile::Utf8Mark.data(), filterfile::Utf8Mark.size());
  Line(out, e, {Magic, Version});
  Line(out, e, {"command", info.command});
  Line(out, e, {"time", info.time});
  Line(out, e, {"server", info.server});
  for (const DatabaseRange& d : info.databases)
    Line(out, e, {"database", d.application, d.database, std::to_string(d.offset),
               std::to_string(d.length)});
  for (const SavedFilter& f : info.filters)
    Line(out, e, {"filter", f.application, f.database, f.name, std::to_string(f.active),
               std::to_string(f.access), std::to_string(f.rows)});
  for (const CreatedName& c : info.created)
    Line(out, e, {"created", c.application, c.database, c.name});
  Line(out, e, {"end"});
}

std::optional<BackupInfo> ParseBackupInfo(std::istream& in, std::string& reason) {
  BackupInfo info;
  std::string line;
  uint64_t number = 0;
  bool ended = false;
  const filterfile::FileEncoding encoding = filterfile::ReadEncodingMark(in);
  for (uint64_t n = 1; std::getline(in, line); ++n) {
    if (!filterfile::DecodeLine(line, encoding)) {
      reason = "line " + std::to_string(n) + " of the description is not UTF-8";
      return std::nullopt;
    }
    const std::vector<std::string_view> f = Split(line);
    const std::string_view kind = f[0];
    auto bad = [&]() -> std::optional<BackupInfo> {
      reason = "line " + std::to_string(n) + " of the description is not understood";
      return std::nullopt;
    };
    if (ended) return bad();
    if (n == 1) {
      if (f.size() != 2 || kind != Magic || f[1] != Version) return bad();
    } else if (kind == "command" && f.size() == 2) {
      info.command = f[1];
    } else if (kind == "time" && f.size() == 2) {
      info.time = f[1];
    } else if (kind == "server" && f.size() == 2) {
      info.server = f[1];
    } else if (kind == "database" && f.size() == 5) {
      DatabaseRange d{std::string(f[1]), std::string(f[2])};
      if (!Number(f[3], d.offset) || !Number(f[4], d.length)) return bad();
      info.databases.push_back(std::move(d));
    } else if (kind == "filter" && f.size() == 7) {
      SavedFilter s{std::string(f[1]), std::string(f[2]), std::string(f[3])};
      if (s.name.empty() || !filterfile::ParseAccess(f[4], s.active) ||
          !filterfile::ParseAccess(f[5], s.access) || !Number(f[6], number))
        return bad();
      s.rows = number;
      info.filters.push_back(std::move(s));
    } else if (kind == "created" && f.size() == 4 && !f[3].empty()) {
      info.created.push_back({std::string(f[1]), std::string(f[2]), std::string(f[3])});
    } else if (kind == "end" && f.size() == 1) {
      ended = true;
    } else {
      return bad();
    }
  }
  if (in.bad() || !ended) {
    reason = "the description is cut short";
    return std::nullopt;
  }
  return info;
}

bool SameServer(std::string_view aGiven, std::string_view bGiven) {
  // One server however its URL is spelt.
  const std::string aNormal = essbase::NormalServer(aGiven), bNormal = essbase::NormalServer(bGiven);
  const std::string_view a = aNormal, b = bNormal;
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace backup
