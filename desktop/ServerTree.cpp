#include "desktop/ServerTree.h"

#include <array>

#include "essbase/library/ByteOrder.h"

namespace desktop {

using namespace essbase;

std::string FieldText(std::span<const char> field) {
  return std::string(GetFixed(field.data(), field.size()));
}

namespace {

void AddApplications(Session& session, NodeList& tree) {
  int16_t n = 0;
  if (session.Run([&](EssbaseApi& api, Handle c) { return api.EsbListApplications(c, n); }) != 0)
    return;
  for (int i = 0; i < n; ++i) {
    std::array<char, ApplicationNameWidth> name{};
    if (session.Run([&](EssbaseApi& api, Handle c) {
          return api.EsbGetNextItem(c, ItemApplicationName, name);
        }) != 0)
      return;
    const std::string app = FieldText(name);
    tree.Add("", "App:" + app, app, ImageApplication, ImageApplication);
  }
}

void AddDatabases(Session& session, NodeList& tree, int appNode) {
  int16_t k = 0;
  const std::string application = tree.Text(appNode);
  if (session.Run([&](EssbaseApi& api, Handle c) {
        return api.EsbListDatabases(c, application.c_str(), k);
      }) != 0)
    return;
  for (int i = 0; i < k; ++i) {
    std::array<char, DatabaseItemWidth> pair{};
    if (session.Run([&](EssbaseApi& api, Handle c) {
          return api.EsbGetNextItem(c, ItemDatabaseName, pair);
        }) != 0)
      return;
    const std::span<const char> bytes(pair);
    const std::string app = FieldText(bytes.first(ApplicationNameWidth));
    const std::string db = FieldText(bytes.subspan(ApplicationNameWidth, DatabaseNameWidth));
    // A pair naming an application not in the tree finds no parent and adds nothing.
    const std::string parent = "App:" + app, key = "Db:" + app + "-" + db;
    // "A-B" + "C" and "A" + "B-C" make one key: the later database still gets
    // a node, under a key no pair can make (names hold no TAB).
    if (tree.Add(parent, key, db, ImageDatabase) == 0 && tree.Find(parent) != 0)
      tree.Add(parent, key + "\t" + app, db, ImageDatabase);
  }
}

}  // namespace

void FillTree(Session& session, NodeList& tree) {
  AddApplications(session, tree);
  const int applications = tree.Count();
  for (int node = 1; node <= applications; ++node) AddDatabases(session, tree, node);
}

}  // namespace desktop
