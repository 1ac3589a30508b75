#include "filterfile/Widen.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "filterfile/TextEncoding.h"
#include "platform/Descriptor.h"
#include "platform/ReadAt.h"

namespace filterfile {

int WidenLatin1(int from, int to, std::vector<uint64_t>& offsets, uint64_t& written) {
  // The offsets are mapped in ascending order as the copy passes them.
  std::vector<size_t> order(offsets.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return offsets[a] < offsets[b]; });
  std::vector<uint64_t> mapped(offsets.size());
  size_t next = 0;
  uint64_t at = 0, high = 0;
  if (int error = platform::WriteAll(to, Utf8Mark.data(), Utf8Mark.size())) return error;
  written = Utf8Mark.size();
  std::vector<char> chunk(64 * 1024);
  std::string out;
  for (;;) {
    size_t n = 0;
    if (int error = platform::ReadAt(from, chunk.data(), chunk.size(), at, n)) return error;
    if (n == 0) break;
    out.clear();
    for (size_t i = 0; i < n; ++i, ++at) {
      for (; next < order.size() && offsets[order[next]] <= at; ++next)
        mapped[order[next]] = WidenedOffset(offsets[order[next]], high);
      const auto c = static_cast<unsigned char>(chunk[i]);
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else {
        ++high;
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    if (int error = platform::WriteAll(to, out.data(), out.size())) return error;
    written += out.size();
  }
  for (; next < order.size(); ++next)
    mapped[order[next]] = WidenedOffset(offsets[order[next]], high);
  offsets = std::move(mapped);
  return 0;
}

}  // namespace filterfile
