#include "essbase/library/AppInfoRecord.h"

#include <cstring>

#include "essbase/library/ByteOrder.h"

namespace essbase {

void WriteAppInfo(std::span<uint8_t> record, Generation g, const AppInfo& info) {
  const size_t size = AppInfoSize(g);
  if (record.size() < size) return;
  uint8_t* p = record.data();
  std::memset(p, 0, size);
  PutFixed(p, 8, info.application);
  PutFixed(p + 8, 30, info.server);
  const uint16_t load = info.loaded ? 1 : 0;
  if (g == Generation::V6) {
    PutU16(p + 38, info.other);
    PutU16(p + 40, load);
    PutU16(p + 42, info.databases);
    PutU16(p + 44, 0);
    PutU32(p + 48, info.elapsed);
  } else {
    PutU16(p + 38, load);
    PutU16(p + 40, info.other);
    PutU16(p + 42, info.databases);
    PutU32(p + 44, info.elapsed);
  }
}

bool ReadLoadState(std::span<const uint8_t> record, Generation g) {
  const size_t at = LoadStateOffset(g);
  if (record.size() < at + 2) return false;
  return GetU16(record.data() + at) != 0;
}

}  // namespace essbase
