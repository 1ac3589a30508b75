#include "sim/LatinFields.h"

#include <cstring>

#include "essbase/library/ByteOrder.h"
#include "sim/Names.h"
#include "sim/Utf8.h"

namespace esbsim {

std::string TrimmedField(const char* text, size_t buffer) {
  return std::string(TrimTrailingBlanks(std::string_view(text, strnlen(text, buffer))));
}

std::string LoginField(const char* text, size_t buffer) {
  std::string utf8;
  Latin1ToUtf8(TrimmedField(text, buffer), utf8);
  return utf8;
}

int32_t NameArgument(const char* text, size_t width, std::string& utf8) {
  if (!text) return ESB_STS_NULL_ARGUMENT;
  // Blank padding may follow a name, so read a bounded stretch and trim it.
  constexpr size_t kScan = 4096;
  const size_t n = strnlen(text, kScan);
  const std::string_view name = TrimTrailingBlanks(std::string_view(text, n));
  if (n == kScan || name.empty() || name.size() > width || HasControlBreak(name))
    return ESB_STS_BAD_NAME;
  Latin1ToUtf8(name, utf8);
  return 0;
}

namespace {

void Argument(const char* text, size_t width, std::string& utf8, int32_t& refused) {
  const int32_t status = NameArgument(text, width, utf8);
  if (status && !refused) refused = status;
}

}  // namespace

Names ApplicationArgument(const char* app) {
  Names n;
  Argument(app, ESB_APPNAME_WIDTH, n.app, n.refused);
  return n;
}

Names DatabaseArguments(const char* app, const char* db) {
  Names n = ApplicationArgument(app);
  Argument(db, ESB_DBNAME_WIDTH, n.db, n.refused);
  return n;
}

Names FilterArguments(const char* app, const char* db, const char* filter) {
  Names n = DatabaseArguments(app, db);
  Argument(filter, ESB_FILTERNAME_WIDTH, n.filter, n.refused);
  return n;
}

bool FitsField(std::string_view utf8, size_t width, std::string& latin1) {
  return Utf8ToLatin1(utf8, latin1) && latin1.size() <= width;
}

int32_t PutItem(int16_t kind, const Item& item, char* buffer) {
  auto* out = reinterpret_cast<uint8_t*>(buffer);
  std::string app, name;
  switch (kind) {
    case ESB_ITEM_APPNAME:
      if (!FitsField(item.name, ESB_APPNAME_WIDTH, name)) return ESB_STS_NAME_NOT_HELD;
      essbase::PutFixed(out, ESB_APPNAME_WIDTH, name);
      return 0;
    case ESB_ITEM_DBNAME:
      if (!FitsField(item.app, ESB_APPNAME_WIDTH, app) ||
          !FitsField(item.name, ESB_DBNAME_WIDTH, name))
        return ESB_STS_NAME_NOT_HELD;
      essbase::PutFixed(out, ESB_APPNAME_WIDTH, app);
      essbase::PutFixed(out + ESB_APPNAME_WIDTH, ESB_DBNAME_WIDTH, name);
      return 0;
    case ESB_ITEM_FILTERNAME:
      if (!FitsField(item.name, ESB_FILTERNAME_WIDTH, name)) return ESB_STS_NAME_NOT_HELD;
      essbase::PutFixed(out, ESB_FILTERNAME_WIDTH, name);
      return 0;
    default: return ESB_STS_BAD_ITEM_KIND;
  }
}

}  // namespace esbsim
