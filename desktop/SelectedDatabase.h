#pragma once
// A database as the filter commands name it.
#include <string>

namespace desktop {

struct SelectedDatabase {
  std::string application;
  std::string database;
  bool operator==(const SelectedDatabase&) const = default;
};

}  // namespace desktop
