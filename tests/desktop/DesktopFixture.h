#pragma once
// The main window's logic over the recording fake API and the scripted port.
#include <gtest/gtest.h>

#include "desktop/frmQuorvel.h"
#include "tests/backup/BackupTestSupport.h"
#include "tests/desktop/ScriptedPort.h"
#include "tests/support/FakeEssbaseApi.h"
#include "tests/support/TestFiles.h"

namespace desktop::testing {

class DesktopTest : public ::testing::Test {
 protected:
  explicit DesktopTest(essbase::Generation g = essbase::Generation::V6)
      : form(fake, port, g, {stateHome / "backups", backup::DefaultKeepDays, &clock}) {}

  // Sample (Basic, Interim), Demo (Basic), Empty (no databases).
  void AddSampleServer() {
    fake.AddFilter("Sample", "Basic", "ReadAll");
    fake.AddFilter("Sample", "Basic", "NoEast");
    fake.AddFilter("Sample", "Basic", "WriteWest");
    fake.AddDatabase("Sample", "Interim");
    fake.AddFilter("Demo", "Basic", "DemoRead");
    fake.AddApplication("Empty");
  }

  // Started window, logged in to the sample server.
  void StartAndLogin() {
    AddSampleServer();
    form.Form_Load();
    form.Form_Resize(9000, 8000);
    form.mnuLogin_Click();
  }

  int Node(const std::string& key) const { return form.tree().Find(key); }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : port.messages) out.push_back(m.text);
    return out;
  }

  // The backups of the commands that write go to a folder of the test's own.
  support::TempDir stateHome{"quorvel-state"};
  backup::testing::FixedClock clock;
  essbase::testing::FakeEssbaseApi fake;
  ScriptedPort port;
  frmQuorvel form;
};

inline MenuStates Menus(bool exp, bool imp, bool del, bool chg) {
  MenuStates m;
  m.Export = exp;
  m.Import = imp;
  m.Compare = imp;  // Compare with File goes with Import
  m.Delete = del;
  m.Change = chg;
  return m;
}

inline std::ostream& operator<<(std::ostream& os, const MenuStates& m) {
  return os << "Export=" << m.Export << " Import=" << m.Import << " Delete=" << m.Delete
            << " Change=" << m.Change << " Compare=" << m.Compare;
}

}  // namespace desktop::testing
