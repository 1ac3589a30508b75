// Names and rows beyond Latin-1 over the REST API: an export imported into an
// empty database exports to the same bytes; the client library refuses
// exactly the filters its fields cannot hold; the password leaves no trace in
// anything the program writes, in any form a server might echo it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/CliTestSupport.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ServeProcess.h"

namespace cli {
namespace {

namespace fs = std::filesystem;
using support::RunProgram;
using testing::ReadFile;
using testing::TempDir;

const std::string Password = "p+w/\xC3\xA9\"q";                 // p+w/é"q
const std::string LongName = "Filter" + std::string(250, 'L');  // 256 characters

std::string Description(const std::string& app, const std::string& db, bool withFilters) {
  std::string d = "server\tessdemo\nuser\tdemo\t" + Password + "\t275\napp\t" + app +
                  "\tloaded\ndb\t" + app + "\t" + db + "\n";
  if (!withFilters) return d;
  return d + "filter\t" + app + "\t" + db +
         "\tR\xC3\xA9gion\t1\t375\nrow\t273\t\"R\xC3\xA9gion\"\n" + "filter\t" + app + "\t" + db +
         "\tEuro\t1\t375\nrow\t275\t\"\xE2\x82\xAC Budget\"\n" + "filter\t" + app + "\t" + db +
         "\t\xE6\x9D\xB1\xE4\xBA\xAC\t1\t375\nrow\t0\t\"Actual\"\n" + "filter\t" + app + "\t" + db +
         "\t" + LongName + "\t1\t375\nrow\t273\tBudget\n" + "filter\t" + app + "\t" + db +
         "\tPlain\t1\t375\nrow\t273\t\"Z\xC3\xBCrich\"\n";
}

struct Place {
  Place(const std::string& app, const std::string& db, bool withFilters) : app(app), db(db) {
    fs::copy_file(QUORVELCL_PATH, dir / "QuorvelCL");
    fs::copy_file(ESBAPIN_PATH, dir / "libesbapin.so");
    testing::WriteFile(dir / "server.txt", Description(app, db, withFilters));
    EXPECT_EQ(RunProgram(ESBSIM_PATH, {"load", store, dir / "server.txt"}, {}, dir / "out").status,
              0)
        << ReadFile(dir / "out");
  }
  int Run(const std::string& server, const std::string& file, const std::string& op) {
    return RunProgram(dir / "QuorvelCL",
                      {"-s", server, "-a", app, "-d", db, "-i", "demo", "-p", Password, "-f", file,
                       "-t", op},
                      {"ESBSIM_STORE=" + store, "XDG_STATE_HOME=" + (dir / "state")},
                      dir / "console.txt")
        .status;
  }
  std::string Log() const { return ReadFile(dir / "Log.txt"); }
  std::string Dump() {
    RunProgram(ESBSIM_PATH, {"dump", store}, {}, dir / "dump.txt");
    return ReadFile(dir / "dump.txt");
  }
  // Every file the runs left under this place, the store aside.
  std::vector<fs::path> Written() const {
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(dir.path()))
      if (e.is_regular_file() && e.path().filename() != "store.db" &&
          e.path().filename() != "server.txt" && e.path().filename() != "dump.txt" &&
          e.path().filename() != "QuorvelCL" && e.path().filename() != "libesbapin.so")
        files.push_back(e.path());
    return files;
  }

  std::string app, db;
  TempDir dir;
  std::string store = dir / "store.db";
};

std::string Base64(const std::string& in) {
  static const char* abc = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < in.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(in[i]) << 16 |
                       static_cast<unsigned char>(in[i + 1]) << 8 |
                       static_cast<unsigned char>(in[i + 2]);
    for (int s = 18; s >= 0; s -= 6) out += abc[(v >> s) & 63];
  }
  if (i < in.size()) {
    unsigned v = static_cast<unsigned char>(in[i]) << 16;
    if (i + 1 < in.size()) v |= static_cast<unsigned char>(in[i + 1]) << 8;
    out += abc[(v >> 18) & 63];
    out += abc[(v >> 12) & 63];
    out += i + 1 < in.size() ? abc[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

// A file's lines in order of their bytes, the mark kept on its own.
std::vector<std::string> Records(const std::string& file) {
  std::vector<std::string> lines;
  size_t at = 0;
  if (file.rfind("\xEF\xBB\xBF", 0) == 0) {
    lines.push_back("mark");
    at = 3;
  }
  while (at < file.size()) {
    const size_t end = file.find('\n', at);
    lines.push_back(file.substr(at, end == std::string::npos ? end : end + 1 - at));
    at = end == std::string::npos ? file.size() : end + 1;
  }
  std::sort(lines.begin() + (lines.empty() || lines[0] != "mark" ? 0 : 1), lines.end());
  return lines;
}

TEST(RestUnicode, RoundTripKeepsTheBytesAndTheLibraryRefusesWhatItCannotHold) {
  Place from("Efficient", "UserFilters", true), into("Efficient", "UserFilters", false);
  support::ServeProcess fromServe(ESBSIM_PATH, from.store, {"--page-size", "2"});
  support::ServeProcess intoServe(ESBSIM_PATH, into.store, {"--page-size", "2"});
  ASSERT_FALSE(fromServe.url().empty()) << fromServe.errors();
  ASSERT_FALSE(intoServe.url().empty()) << intoServe.errors();

  const fs::path first = from.dir / "first.txt", again = into.dir / "again.txt";
  ASSERT_EQ(from.Run(fromServe.url(), first, "export"), 0) << from.Log();
  const std::string bytes = ReadFile(first);
  EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF", 0), 0u) << "a file beyond Latin-1 is UTF-8 with its mark";
  for (const std::string& text : {std::string("\xE6\x9D\xB1\xE4\xBA\xAC"), LongName,
                                  std::string("\xE2\x82\xAC Budget"), std::string("Z\xC3\xBCrich")})
    EXPECT_NE(bytes.find(text), std::string::npos) << text;

  ASSERT_EQ(into.Run(intoServe.url(), first, "import"), 0) << into.Log();
  ASSERT_EQ(into.Run(intoServe.url(), again, "export"), 0) << into.Log();
  // Writes in flight create filters in the order their answers come, so the
  // server may list them in another order: the same records, the same bytes.
  EXPECT_EQ(Records(ReadFile(again)), Records(bytes));
  EXPECT_EQ(ReadFile(again).size(), bytes.size());

  // The client library's fields: 8-character application and database
  // names, 30-character Latin-1 filter names and Latin-1 rows.
  Place library("Fin", "Plan", false);
  ASSERT_EQ(library.Run("essdemo", first, "import"), 1) << library.Log();
  const std::string log = library.Log(), dump = library.Dump();
  for (const std::string& refused :
       {std::string("\xE6\x9D\xB1\xE4\xBA\xAC"), LongName, std::string("Euro")}) {
    SCOPED_TRACE(refused);
    EXPECT_EQ(dump.find("\t" + refused + "\t"), std::string::npos) << dump;
    EXPECT_NE(log.find("The filter " + refused + " was left unchanged"), std::string::npos) << log;
  }
  EXPECT_NE(dump.find("\tR\xC3\xA9gion\t"), std::string::npos) << dump;
  EXPECT_NE(dump.find("\tPlain\t"), std::string::npos) << dump;
  EXPECT_EQ(log.find("The filter Plain was left"), std::string::npos) << log;

  // No form of the password in anything written: run logs, files, backups,
  // consoles.
  const std::string user = "demo:" + Password;
  const std::vector<std::string> forms = {
      Password,      "p%2Bw%2F%C3%A9%22q", "p+w/\\u00e9\\\"q",       "p+w/\\\"q",
      "p+w/\xE9\"q", Base64(user),         Base64(user).substr(0, 8)};
  for (Place* place : {&from, &into, &library})
    for (const fs::path& file : place->Written()) {
      const std::string text = ReadFile(file);
      for (const std::string& form : forms)
        EXPECT_EQ(text.find(form), std::string::npos) << file << " holds " << form;
    }
}

}  // namespace
}  // namespace cli
