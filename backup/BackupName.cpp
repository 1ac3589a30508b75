#include "backup/BackupName.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "essbase/ServerAddress.h"
#include "platform/LocalTime.h"

namespace backup {

namespace {

std::string Format(std::time_t t, const char* form) {
  const std::tm tm = platform::LocalTimeOf(t);
  char text[64];
  const size_t n = std::strftime(text, sizeof text, form, &tm);
  return std::string(text, n);
}

std::string Safe(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    out += u < 128 && (std::isalnum(u) || c == '.' || c == '-' || c == '+') ? c : '_';
  }
  // A name made only of dots would read as "." or "..".
  if (out.empty() || std::all_of(out.begin(), out.end(), [](char c) { return c == '.'; }))
    out.insert(out.begin(), '_');
  return out;
}

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

bool StartsWithTime(std::string_view name) {
  // "YYYYMMDD-HHMMSS_"
  if (name.size() < 16) return false;
  for (size_t i = 0; i < 15; ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(name[i])) != 0;
    if (i == 8 ? name[i] != '-' : !digit) return false;
  }
  return name[15] == '_';
}

}  // namespace

std::string NameTime(std::time_t t) {
  return Format(t, "%Y%m%d-%H%M%S");
}

std::string DescriptionTime(std::time_t t) {
  // Not strftime's %z: Windows' C runtime writes the zone's name there.
  const long offset = platform::UtcOffsetOf(t);
  const long minutes = (offset < 0 ? -offset : offset) / 60;
  char zone[48];
  std::snprintf(zone, sizeof zone, " %c%02ld%02ld", offset < 0 ? '-' : '+', minutes / 60,
                minutes % 60);
  return Format(t, "%Y-%m-%d %H:%M:%S") + zone;
}

std::string BackupStem(std::time_t t, std::string_view server, std::string_view command,
                       std::string_view application, std::string_view database,
                       size_t moreDatabases, int attempt) {
  // A URL names its server by host and port; no part may outgrow a file name.
  std::string stem = NameTime(t) + "_" + Safe(essbase::ServerLabel(server)).substr(0, 64) + "_" +
                     Safe(command) + "_" + Safe(application) + "-" + Safe(database);
  if (moreDatabases > 0) stem += "+" + std::to_string(moreDatabases);
  if (attempt > 1) stem += "." + std::to_string(attempt);
  return stem;
}

bool IsBackupFileName(std::string_view name) {
  return StartsWithTime(name) &&
         (EndsWith(name, RecordsExtension) || EndsWith(name, InfoExtension));
}

bool IsTemporaryFileName(std::string_view name) {
  return name.starts_with(".pending-");
}

std::string StemOf(const std::string& path) {
  for (std::string_view ext : {RecordsExtension, InfoExtension})
    if (EndsWith(path, ext)) return path.substr(0, path.size() - ext.size());
  return path;
}

}  // namespace backup
