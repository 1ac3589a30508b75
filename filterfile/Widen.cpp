#include "filterfile/Widen.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <numeric>
#include <string>

#include "filterfile/TextEncoding.h"

namespace filterfile {

namespace {

int WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

}  // namespace

int WidenLatin1(int from, int to, std::vector<uint64_t>& offsets, uint64_t& written) {
  // The offsets are mapped in ascending order as the copy passes them.
  std::vector<size_t> order(offsets.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return offsets[a] < offsets[b]; });
  std::vector<uint64_t> mapped(offsets.size());
  size_t next = 0;
  uint64_t at = 0, high = 0;
  if (int error = WriteAll(to, Utf8Mark.data(), Utf8Mark.size())) return error;
  written = Utf8Mark.size();
  std::vector<char> chunk(64 * 1024);
  std::string out;
  for (;;) {
    const ssize_t n = ::pread(from, chunk.data(), chunk.size(), static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) break;
    out.clear();
    for (ssize_t i = 0; i < n; ++i, ++at) {
      for (; next < order.size() && offsets[order[next]] <= at; ++next)
        mapped[order[next]] = WidenedOffset(offsets[order[next]], high);
      const auto c = static_cast<unsigned char>(chunk[static_cast<size_t>(i)]);
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else {
        ++high;
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    if (int error = WriteAll(to, out.data(), out.size())) return error;
    written += out.size();
  }
  for (; next < order.size(); ++next)
    mapped[order[next]] = WidenedOffset(offsets[order[next]], high);
  offsets = std::move(mapped);
  return 0;
}

}  // namespace filterfile
