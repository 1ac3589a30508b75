#pragma once
// The filter commands over the recording fake and the scripted port, with a
// server of three Finance databases and an empty Ledger one, and a folder of
// the test's own for files.
#include <string>

#include "desktop/Messages.h"
#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {

class FileCommandTest : public DesktopTest {
 protected:
  void SetUp() override { ASSERT_FALSE(dir.empty()); }

  // Finance: Plan (ReadEast, NoBudget), Actuals (ReadEast), Budget (ReadEast,
  // Other); Ledger: Actuals (no filters).
  void AddFinanceServer() {
    fake.AddFilter("Finance", "Plan", "ReadEast", {{273, "East"}, {275, "West"}});
    fake.AddFilter("Finance", "Plan", "NoBudget", {{0, "Budget"}});
    fake.AddFilter("Finance", "Actuals", "ReadEast", {{273, "A-East"}});
    fake.AddFilter("Finance", "Budget", "ReadEast", {{273, "B-East"}});
    fake.AddFilter("Finance", "Budget", "Other", {{0, "B-Other"}});
    fake.AddDatabase("Ledger", "Actuals");
  }
  // On the Finance server, logged in, `key` clicked (its filters listed, all
  // ticked), records cleared.
  void StartAt(const std::string& key) {
    AddFinanceServer();
    LoginAt(key);
  }
  void LoginAt(const std::string& key) {
    form.Form_Load();
    form.mnuLogin_Click();
    form.tree_NodeClick(Node(key));
    fake.ClearCalls();
    port.ClearLog();
  }
  void Tick(const std::string& name, bool ticked) {
    form.filters().SetChecked(form.filters().Find("_" + name), ticked);
  }
  void ChooseFile(const std::string& path) {
    port.fileAnswers.push_back({FileDialogResult::Outcome::Chosen, path});
  }
  std::string Path(const std::string& name) const { return dir + "/" + name; }
  // Ticked entries as "name,name,".
  std::string Ticks() const {
    std::string out;
    for (int i = 1; i <= form.filters().Count(); ++i)
      if (form.filters().Checked(i)) out += form.filters().Text(i) + ",";
    return out;
  }
  std::string Names() const {
    std::string out;
    for (int i = 1; i <= form.filters().Count(); ++i) out += form.filters().Text(i) + ",";
    return out;
  }

  support::TempDir files{"quorvel-files"};
  const std::string dir = files.path();
};

}  // namespace desktop::testing
