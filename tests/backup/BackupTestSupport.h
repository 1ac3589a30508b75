#pragma once
// A backups folder of its own per test, a clock that stands still in UTC,
// and the fake server's content as text for before/after comparisons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestEnvironment.h"
#include "backup/Place.h"
#include "tests/support/FakeEssbaseApi.h"
#include "tests/support/TestFiles.h"

namespace backup::testing {

// 2026-03-07 13:05:09 UTC
inline constexpr std::time_t FixedTime = 1772888709;

class FixedClock final : public Clock {
 public:
  std::time_t now = FixedTime;
  std::time_t Now() const override { return now; }
};

using support::ReadFile;
using support::WriteFile;

// A backups folder of its own per test.
class TempFolder : public support::TempDir {
 public:
  TempFolder() : TempDir("quorvel-bk") {}
};

// Names of the folder's entries, sorted; hidden ones included.
inline std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Every filter of the fake server with its values and rows, in order.
inline std::string ServerText(const essbase::testing::FakeEssbaseApi& api) {
  std::string out;
  for (const auto& a : api.applications)
    for (const auto& d : a.databases)
      for (const auto& f : d.filters) {
        out += a.name + "/" + d.name + "/" + f.name + " " + std::to_string(f.active) + " " +
               std::to_string(f.access) + "\n";
        for (const auto& r : f.rows) out += "  " + std::to_string(r.access) + " " + r.text + "\n";
      }
  return out;
}

// Names and times in UTC, whatever the machine's zone.
class UtcZone : public ::testing::Environment {
 public:
  void SetUp() override {
    testing_support::SetZone("UTC");
  }
};

}  // namespace backup::testing
