#include "cli/LogText.h"

#include "essbase/Latin1.h"
#include "filterfile/TextEncoding.h"

namespace cli {

std::string Text(std::string_view utf8) {
  std::string latin1;
  size_t badAt = 0;
  if (essbase::Utf8ToLatin1(utf8, latin1, badAt)) return latin1;
  return std::string(utf8);
}

std::string ArgumentText(std::string_view bytes) {
  if (filterfile::IsUtf8(bytes)) return std::string(bytes);
  return essbase::Latin1ToUtf8(bytes);
}

}  // namespace cli
