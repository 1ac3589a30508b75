#pragma once
// The 372-byte record handed to EsbInit, built byte by byte (little-endian):
//   0 version u32 | 4 max handles u16 | 6 local path, 120 bytes blank-padded
//   126 message file, 120 blanks | 246 120 NUL bytes | 366 flag u16 | 368 count u16
//   370 two zero bytes
#include <array>
#include <cstdint>
#include <string_view>

namespace essbase {

class ApiInitRecord {
 public:
  static constexpr size_t Size = 372;
  static constexpr size_t PathWidth = 120;

  // The desktop program passes "C:\ESSBASE", the command-line utility "C:\".
  // A path longer than its field is cut at 120 bytes.
  ApiInitRecord(uint32_t version, std::string_view localPath);
  explicit ApiInitRecord(const std::array<uint8_t, Size>& bytes) : bytes_(bytes) {}

  const uint8_t* data() const { return bytes_.data(); }
  const std::array<uint8_t, Size>& bytes() const { return bytes_; }

  uint32_t version() const;
  uint16_t maxHandles() const;
  std::string_view localPath() const;  // with its blank padding
  uint16_t flag() const;
  uint16_t count() const;

 private:
  std::array<uint8_t, Size> bytes_{};
};

}  // namespace essbase
