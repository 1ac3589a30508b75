#include "compare/RowDiff.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace compare {

namespace {

enum class Step : uint8_t { Keep, Remove, Add };

struct Edit {
  Step step;
  uint32_t a;  // index into current (Keep, Remove)
  uint32_t b;  // index into incoming (Keep, Add)
};

// Myers' difference of two sequences of row numbers, after the bisection of
// the diff-match-patch library: each part is split at the middle of its
// shortest edit path, so memory stays linear in the rows.
class Differ {
 public:
  Differ(std::span<const uint32_t> a, std::span<const uint32_t> b) : a_(a), b_(b) {}

  std::vector<Edit> Run() {
    Diff(0, a_.size(), 0, b_.size());
    return std::move(edits_);
  }

 private:
  void Diff(size_t a0, size_t a1, size_t b0, size_t b1) {
    size_t prefix = 0;
    while (a0 + prefix < a1 && b0 + prefix < b1 && a_[a0 + prefix] == b_[b0 + prefix]) ++prefix;
    for (size_t i = 0; i < prefix; ++i) Keep(a0 + i, b0 + i);
    a0 += prefix;
    b0 += prefix;
    size_t suffix = 0;
    while (a1 - suffix > a0 && b1 - suffix > b0 && a_[a1 - suffix - 1] == b_[b1 - suffix - 1])
      ++suffix;
    a1 -= suffix;
    b1 -= suffix;
    const auto split = a0 == a1 || b0 == b1 ? std::nullopt : Bisect(a0, a1, b0, b1);
    // A split at either end would leave the part as large as it was.
    if (!split || split->first + split->second == 0 ||
        (split->first == a1 - a0 && split->second == b1 - b0)) {
      Replace(a0, a1, b0, b1);
    } else {
      Diff(a0, a0 + split->first, b0, b0 + split->second);
      Diff(a0 + split->first, a1, b0 + split->second, b1);
    }
    for (size_t i = 0; i < suffix; ++i) Keep(a1 + i, b1 + i);
  }

  // The point where the forward and the backward shortest paths meet, or
  // nothing when the two parts have nothing in common or the work ran out.
  std::optional<std::pair<size_t, size_t>> Bisect(size_t a0, size_t a1, size_t b0, size_t b1) {
    const int64_t n = static_cast<int64_t>(a1 - a0);
    const int64_t m = static_cast<int64_t>(b1 - b0);
    const int64_t maxD = (n + m + 1) / 2;
    const int64_t offset = maxD;
    const int64_t length = 2 * maxD;
    std::vector<int64_t> v1(static_cast<size_t>(length), -1);
    std::vector<int64_t> v2(static_cast<size_t>(length), -1);
    v1[static_cast<size_t>(offset + 1)] = 0;
    v2[static_cast<size_t>(offset + 1)] = 0;
    const int64_t delta = n - m;
    const bool front = delta % 2 != 0;
    auto A = [&](int64_t i) { return a_[a0 + static_cast<size_t>(i)]; };
    auto B = [&](int64_t i) { return b_[b0 + static_cast<size_t>(i)]; };
    auto V = [](std::vector<int64_t>& v, int64_t i) -> int64_t& {
      return v[static_cast<size_t>(i)];
    };
    int64_t k1start = 0, k1end = 0, k2start = 0, k2end = 0;
    for (int64_t d = 0; d < maxD; ++d) {
      if (work_ > DiffWorkBudget) return std::nullopt;
      for (int64_t k1 = -d + k1start; k1 <= d - k1end; k1 += 2) {
        const int64_t k1o = offset + k1;
        int64_t x1 = (k1 == -d || (k1 != d && V(v1, k1o - 1) < V(v1, k1o + 1)))
                         ? V(v1, k1o + 1)
                         : V(v1, k1o - 1) + 1;
        int64_t y1 = x1 - k1;
        ++work_;
        while (x1 < n && y1 < m && A(x1) == B(y1)) ++x1, ++y1, ++work_;
        V(v1, k1o) = x1;
        if (x1 > n) {
          k1end += 2;
        } else if (y1 > m) {
          k1start += 2;
        } else if (front) {
          const int64_t k2o = offset + delta - k1;
          if (k2o >= 0 && k2o < length && V(v2, k2o) != -1 && x1 >= n - V(v2, k2o))
            return std::pair(static_cast<size_t>(x1), static_cast<size_t>(y1));
        }
      }
      for (int64_t k2 = -d + k2start; k2 <= d - k2end; k2 += 2) {
        const int64_t k2o = offset + k2;
        int64_t x2 = (k2 == -d || (k2 != d && V(v2, k2o - 1) < V(v2, k2o + 1)))
                         ? V(v2, k2o + 1)
                         : V(v2, k2o - 1) + 1;
        int64_t y2 = x2 - k2;
        ++work_;
        while (x2 < n && y2 < m && A(n - x2 - 1) == B(m - y2 - 1)) ++x2, ++y2, ++work_;
        V(v2, k2o) = x2;
        if (x2 > n) {
          k2end += 2;
        } else if (y2 > m) {
          k2start += 2;
        } else if (!front) {
          const int64_t k1o = offset + delta - k2;
          if (k1o >= 0 && k1o < length && V(v1, k1o) != -1) {
            const int64_t x1 = V(v1, k1o);
            const int64_t y1 = offset + x1 - k1o;
            if (x1 >= n - x2) return std::pair(static_cast<size_t>(x1), static_cast<size_t>(y1));
          }
        }
      }
    }
    return std::nullopt;
  }

  void Keep(size_t a, size_t b) {
    edits_.push_back({Step::Keep, static_cast<uint32_t>(a), static_cast<uint32_t>(b)});
  }
  void Replace(size_t a0, size_t a1, size_t b0, size_t b1) {
    for (size_t a = a0; a < a1; ++a) edits_.push_back({Step::Remove, static_cast<uint32_t>(a), 0});
    for (size_t b = b0; b < b1; ++b) edits_.push_back({Step::Add, 0, static_cast<uint32_t>(b)});
  }

  std::span<const uint32_t> a_;
  std::span<const uint32_t> b_;
  std::vector<Edit> edits_;
  uint64_t work_ = 0;
};

// Each distinct text gets one number, so that the diff compares numbers.
void Number(std::span<const Row> current, std::span<const Row> incoming, std::vector<uint32_t>& a,
            std::vector<uint32_t>& b) {
  std::unordered_map<std::string_view, uint32_t> ids;
  ids.reserve(current.size() + incoming.size());
  auto id = [&](const Row& r) {
    return ids.try_emplace(r.text, static_cast<uint32_t>(ids.size())).first->second;
  };
  a.reserve(current.size());
  b.reserve(incoming.size());
  for (const Row& r : current) a.push_back(id(r));
  for (const Row& r : incoming) b.push_back(id(r));
}

}  // namespace

std::vector<RowEdit> DiffRows(std::span<const Row> current, std::span<const Row> incoming) {
  std::vector<uint32_t> a, b;
  Number(current, incoming, a, b);
  std::vector<Edit> edits = Differ(a, b).Run();
  // Within a stretch of edits between kept rows, removals first.
  for (auto at = edits.begin(); at != edits.end();) {
    auto end = std::find_if(at, edits.end(), [](const Edit& e) { return e.step == Step::Keep; });
    std::stable_partition(at, end, [](const Edit& e) { return e.step == Step::Remove; });
    at = end == edits.end() ? end : end + 1;
  }
  std::vector<RowEdit> out;
  for (const Edit& e : edits) {
    switch (e.step) {
      case Step::Keep:
        if (current[e.a].access != incoming[e.b].access)
          out.push_back({RowChange::AccessChanged, std::string(incoming[e.b].text),
                         current[e.a].access, incoming[e.b].access});
        break;
      case Step::Remove:
        out.push_back({RowChange::Removed, std::string(current[e.a].text), current[e.a].access, 0});
        break;
      case Step::Add:
        out.push_back({RowChange::Added, std::string(incoming[e.b].text), 0, incoming[e.b].access});
        break;
    }
  }
  return out;
}

}  // namespace compare
