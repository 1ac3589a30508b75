// The window over a server given as a URL: the session sends the login from
// the prompt to the REST backend, and every command runs over HTTP against
// `esbsim serve`, checked in the store.
#include <gtest/gtest.h>

#include <memory>

#include "desktop/Messages.h"
#include "desktop/frmQuorvel.h"
#include "essbase/library/LibraryApi.h"
#include "essbase/rest/RestServer.h"
#include "tests/desktop/ScriptedPort.h"
#include "tests/desktop/SimulatedStore.h"
#include "tests/support/ServeProcess.h"

namespace desktop::testing {
namespace {

const char* const Description =
    "server\tessdemo\nuser\tdemo\tdemo\t275\napp\tSample\tloaded\ndb\tSample\tBasic\n"
    "filter\tSample\tBasic\tEast\t1\t375\nrow\t273\t@IDESCENDANTS(\"East\")\nrow\t0\t\"West\"\n"
    "filter\tSample\tBasic\tOther\t1\t375\nrow\t0\teastern\n";

class RestWindow : public ::testing::Test, protected SimulatedStore {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Load(Description));
    serve = std::make_unique<support::ServeProcess>(ESBSIM_PROGRAM, store);
    ASSERT_FALSE(serve->url().empty()) << serve->errors();
    ASSERT_TRUE(form.session().SetLoginPrompt(
        [this](std::string& server, std::string& user, std::string& password) {
          return Answer(server, user, password);
        }));
    form.Form_Load();
    form.mnuLogin_Click();
  }
  // The prompt the user fills in with the server's address.
  int32_t Answer(std::string& server, std::string& user, std::string& password) {
    ++prompts;
    offered.push_back(server);
    server = serve->url();
    user = "demo";
    password = this->password;
    return 0;
  }

  std::unique_ptr<support::ServeProcess> serve;
  int prompts = 0;
  std::vector<std::string> offered;
  const char* password = "demo";
  essbase::LibraryApi library;
  ScriptedPort port;
  frmQuorvel form{library, port, essbase::Generation::V6, backup::Place{dir / "backups"},
                  [] { return std::make_unique<essbase::rest::RestServer>(); }};
};

TEST_F(RestWindow, ChangeAndDeleteOverAUrlWithALoginAgainAfterTheSessionDropped) {
  EXPECT_EQ(form.connection().Server, serve->url());
  form.tree_NodeClick(form.tree().Find("Db:Sample-Basic"));
  ASSERT_EQ(form.filters().Count(), 2);
  form.filters().SetChecked(2, false);
  port.changeDialogScript.push_back({"Write", "east", 0, true});
  form.mnuChange_Click();
  ASSERT_FALSE(port.messages.empty());
  EXPECT_EQ(port.messages.back().text, "1 filters have been changed!");
  EXPECT_EQ(FilterLines(Dump(), "Sample", "Basic", "East"),
            "filter\tSample\tBasic\tEast\t1\t375\nrow\t275\t@IDESCENDANTS(\"East\")\n"
            "row\t0\t\"West\"\n");

  // The server drops the session at the deletion: 401, a login again through
  // the prompt, and the deletion is made once more.
  ASSERT_TRUE(Load(Dump() + "fault\tEsbDeleteFilter\t1051021\t0\t1\n"));
  form.filters().SetChecked(1, false);
  form.filters().SetChecked(2, true);
  port.messages.clear();
  form.mnuDelete_Click();
  EXPECT_EQ(prompts, 2);
  // The prompt of a login again offers the server that ended the session.
  EXPECT_EQ(offered.at(1), serve->url());
  EXPECT_EQ(port.messages.size(), 1u);  // the question only
  const std::string after = Dump();
  EXPECT_EQ(FilterLines(after, "Sample", "Basic", "Other"), "");
  EXPECT_EQ(after.find("fault\t"), std::string::npos);
  EXPECT_EQ(form.filters().Count(), 1);

  // A refused login says what the server said.
  password = "wrong";
  port.messages.clear();
  form.mnuLogin_Click();
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text.rfind(std::string(msg::LoginFailed) + "\n\nThe server said: ", 0),
            0u)
      << port.messages[0].text;
}

}  // namespace
}  // namespace desktop::testing
