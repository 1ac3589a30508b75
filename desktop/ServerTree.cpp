#include "desktop/ServerTree.h"

namespace desktop {

namespace {

void AddApplications(essbase::Server& server, NodeList& tree) {
  std::vector<essbase::Application> applications;
  // A listing that fails part-way keeps what was read.
  server.ListApplications(applications);
  for (const essbase::Application& app : applications)
    tree.Add("", "App:" + app.name, app.name, ImageApplication, ImageApplication);
}

void AddDatabases(essbase::Server& server, NodeList& tree, int appNode) {
  std::vector<essbase::Database> databases;
  server.ListDatabases(tree.Text(appNode), databases);
  for (const essbase::Database& pair : databases) {
    const std::string& app = pair.application;
    const std::string& db = pair.database;
    // A pair naming an application not in the tree finds no parent and adds nothing.
    const std::string parent = "App:" + app, key = "Db:" + app + "-" + db;
    // "A-B" + "C" and "A" + "B-C" make one key: the later database still gets
    // a node, under a key no pair can make (names hold no TAB).
    if (tree.Add(parent, key, db, ImageDatabase) == 0 && tree.Find(parent) != 0)
      tree.Add(parent, key + "\t" + app, db, ImageDatabase);
  }
}

}  // namespace

void FillTree(essbase::Session& session, NodeList& tree) {
  auto policed = session.Under(essbase::policy::None());
  essbase::Server& server = session.server();
  AddApplications(server, tree);
  const int applications = tree.Count();
  for (int node = 1; node <= applications; ++node) AddDatabases(server, tree, node);
}

}  // namespace desktop
