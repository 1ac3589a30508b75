#include "desktop/ServerTree.h"

#include <array>

#include "essbase/ByteOrder.h"

namespace desktop {

using namespace essbase;

std::string FieldText(std::span<const char> field) {
  return std::string(GetFixed(field.data(), field.size()));
}

namespace {

void AddApplications(WindowState& state) {
  auto& conn = state.conn;
  int16_t n = 0;
  conn.Status = state.api.EsbListApplications(conn.ContextHandle, n);
  if (conn.Status != 0) return;
  for (int i = 0; i < n; ++i) {
    std::array<char, ApplicationNameWidth> name{};
    conn.Status = state.api.EsbGetNextItem(conn.ContextHandle, ItemApplicationName, name);
    if (conn.Status != 0) return;
    const std::string app = FieldText(name);
    state.tree.Add("", "App:" + app, app, ImageApplication, ImageApplication);
  }
}

void AddDatabases(WindowState& state, int appNode) {
  auto& conn = state.conn;
  int16_t k = 0;
  conn.Status = state.api.EsbListDatabases(conn.ContextHandle, state.tree.Text(appNode).c_str(), k);
  if (conn.Status != 0) return;
  for (int i = 0; i < k; ++i) {
    std::array<char, DatabaseItemWidth> pair{};
    conn.Status = state.api.EsbGetNextItem(conn.ContextHandle, ItemDatabaseName, pair);
    if (conn.Status != 0) return;
    const std::span<const char> bytes(pair);
    const std::string app = FieldText(bytes.first(ApplicationNameWidth));
    const std::string db = FieldText(bytes.subspan(ApplicationNameWidth, DatabaseNameWidth));
    // A pair naming an application not in the tree finds no parent and adds nothing.
    const std::string parent = "App:" + app, key = "Db:" + app + "-" + db;
    // "A-B" + "C" and "A" + "B-C" make one key: the later database still gets
    // a node, under a key no pair can make (names hold no TAB).
    if (state.tree.Add(parent, key, db, ImageDatabase) == 0 && state.tree.Find(parent) != 0)
      state.tree.Add(parent, key + "\t" + app, db, ImageDatabase);
  }
}

}  // namespace

void FillTree(WindowState& state) {
  AddApplications(state);
  const int applications = state.tree.Count();
  for (int node = 1; node <= applications; ++node) AddDatabases(state, node);
}

}  // namespace desktop
