#include "essbase/library/ApiInitRecord.h"

#include "essbase/library/ByteOrder.h"

namespace essbase {

ApiInitRecord::ApiInitRecord(uint32_t version, std::string_view localPath) {
  bytes_.fill(0);
  PutU32(bytes_.data(), version);
  PutU16(bytes_.data() + 4, 10);
  PutBlankPadded(bytes_.data() + 6, PathWidth, localPath);
  PutBlankPadded(bytes_.data() + 126, PathWidth, {});
  // 246..365 stay NUL
  PutU16(bytes_.data() + 366, 1);
  PutU16(bytes_.data() + 368, 100);
}

uint32_t ApiInitRecord::version() const {
  return GetU32(bytes_.data());
}
uint16_t ApiInitRecord::maxHandles() const {
  return GetU16(bytes_.data() + 4);
}
std::string_view ApiInitRecord::localPath() const {
  return {reinterpret_cast<const char*>(bytes_.data() + 6), PathWidth};
}
uint16_t ApiInitRecord::flag() const {
  return GetU16(bytes_.data() + 366);
}
uint16_t ApiInitRecord::count() const {
  return GetU16(bytes_.data() + 368);
}

}  // namespace essbase
