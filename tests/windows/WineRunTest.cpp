// QuorvelCL.exe under Wine against `esbsim serve` running on this machine,
// side by side with the Linux QuorvelCL on a copy of the same store: the same
// exit statuses, file bytes and run-log lines, paths and times aside.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "cli/Messages.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ServeProcess.h"
#include "tests/support/TestCertificates.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using support::ReadFile;
using support::RunProgram;
using support::TempDir;

// Names no single code page holds; a row in Latin-1 and one beyond it.
const std::string Tokyo = "\xe6\x9d\xb1\xe4\xba\xac";
const std::string Server =
    "server\tessdemo\nuser\tdemo\tdemo\t275\napp\tFin\tloaded\ndb\tFin\tPlan\ndb\tFin\tCopy\n"
    "filter\tFin\tPlan\tReadEast\t1\t375\nrow\t273\t@IDESCENDANTS(\"Z\xc3\xbcrich\")\n"
    "row\t275\t\"West\",\t\"Budget\"\n"
    "filter\tFin\tPlan\tR\xc3\xa9gion-" +
    Tokyo +
    "\t1\t375\nrow\t273\t\"\xe2\x82\xac\"\n"
    "filter\tFin\tPlan\tNoRows\t1\t375\n"
    "filter\tFin\tCopy\tReadEast\t1\t375\nrow\t0\told\n";

// Wine reaches this machine's files through drive Z:.
std::string WindowsPath(const std::string& path) {
  return "Z:" + std::regex_replace(path, std::regex("/"), "\\");
}

// One program: its own folder (a name with non-ASCII letters), its own store
// and server.
struct Way {
  Way(const std::string& name, bool windows, const std::vector<std::string>& serveOptions = {})
      : windows(windows) {
    folder = dir / ("R\xc3\xa9gion " + Tokyo + " " + name);
    fs::create_directories(folder);
    fs::copy_file(windows ? QUORVELCL_EXE : QUORVELCL_PATH,
                  folder + (windows ? "/QuorvelCL.exe" : "/QuorvelCL"));
    support::WriteFile(dir / "server.txt", Server);
    RunProgram(ESBSIM_PATH, {"load", store, dir / "server.txt"}, {}, dir / "out");
    serve = std::make_unique<support::ServeProcess>(ESBSIM_PATH, store, serveOptions);
    server = serve->url();
  }
  // The path the program is given for a file of its folder.
  std::string File(const std::string& name) const {
    return windows ? WindowsPath(folder + "/" + name) : folder + "/" + name;
  }
  int Run(const std::string& db, const std::string& file, const std::string& op,
          std::vector<std::string> env = {}, const std::string& password = "demo") {
    std::vector<std::string> args = {"-s",   server, "-a",     "Fin", "-d", db,   "-i",
                                     "demo", "-p",   password, "-f",  file, "-t", op};
    env.push_back("XDG_STATE_HOME=" + (dir / "state"));
    if (!windows) return RunProgram(folder + "/QuorvelCL", args, env, dir / "console.txt").status;
    env.push_back("WINEDEBUG=-all");
    args.insert(args.begin(), folder + "/QuorvelCL.exe");
    return RunProgram(WINE, args, env, dir / "console.txt").status;
  }
  // The run log with dates, server addresses and this way's folder made alike.
  std::string Log() const {
    std::string log = ReadFile(folder + "/Log.txt");
    log = std::regex_replace(log, std::regex("//Process starting at [^\r]*"), "//DATE");
    log = std::regex_replace(log, std::regex("https?://(127\\.0\\.0\\.1|localhost):[0-9]+"), "URL");
    // A backup's path is each system's own state folder.
    log = std::regex_replace(log, std::regex("[^ ]*[/\\\\]backups[/\\\\][^ :]*"), "BACKUP");
    for (const std::string& path : {WindowsPath(folder) + "\\", folder + "/"})
      for (size_t at; (at = log.find(path)) != std::string::npos;)
        log.replace(at, path.size(), "FOLDER/");
    return log;
  }
  std::string Dump() const {
    const std::string out = dir / ("dump" + std::to_string(dumps++));
    RunProgram(ESBSIM_PATH, {"dump", store}, {}, out);
    return ReadFile(out);
  }
  // The import's backup. Wine gives its programs its own %LOCALAPPDATA%, in
  // the prefix shared by every test: this way's server port tells its own.
  std::string Backup() const {
    std::vector<fs::path> folders = {dir / "state/quorvel/backups"};
    if (windows) {
      const char* prefix = std::getenv("WINEPREFIX");
      const fs::path users =
          fs::path(prefix ? prefix : std::string(std::getenv("HOME")) + "/.wine") / "drive_c/users";
      for (const auto& user : fs::directory_iterator(users))
        folders.push_back(user.path() / "AppData/Local/Quorvel/backups");
    }
    const std::string port =
        server.substr(server.rfind(':') + 1, server.find('/', 8) - server.rfind(':') - 1);
    std::error_code ec;
    for (const fs::path& folder : folders)
      for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.path().extension() == ".txt" &&
            e.path().filename().string().find("_" + port + "_import_") != std::string::npos)
          return e.path();
    return "";
  }

  bool windows;
  TempDir dir;
  std::string folder;
  std::string store = dir / "store.db";
  std::unique_ptr<support::ServeProcess> serve;
  std::string server;
  mutable int dumps = 0;
};

TEST(WineRun, ExportImportDiffAndRestoreMatchTheLinuxProgram) {
  Way linux_("linux", false), windows("windows", true);
  ASSERT_FALSE(windows.server.empty()) << windows.serve->errors();
  // Replaces one filter with a name beyond Latin-1, creates one, leaves one
  // unchanged for a line it cannot read.
  const std::string in = "\xef\xbb\xbfx\ty\tReadEast\t275\tnew " + Tokyo + "\r\r\nx\ty\t" + Tokyo +
                         "\t273\tc\r\r\n"
                         "x\ty\tNoRows\t273\tgets one\r\r\nx\ty\tNoRows\tbad\tline\r\r\n";
  for (Way* way : {&linux_, &windows}) {
    SCOPED_TRACE(way->windows ? "windows" : "linux");
    const std::string exported = Tokyo + " plan.txt";
    EXPECT_EQ(way->Run("Plan", way->File(exported), "export"), 0) << way->Log();
    // NoRows has no line in a file: only on the server.
    EXPECT_EQ(way->Run("Plan", way->File(exported), "diff"), 2) << way->Log();
    support::WriteFile(way->folder + "/in " + Tokyo + ".txt", in);
    EXPECT_EQ(way->Run("Copy", way->File("in " + Tokyo + ".txt"), "import"), 1) << way->Log();
    EXPECT_EQ(way->Run("Copy", way->File("in " + Tokyo + ".txt"), "diff"), 1) << way->Log();
    const std::string backup = way->Backup();
    ASSERT_FALSE(backup.empty());
    EXPECT_EQ(way->Run("Copy", way->windows ? WindowsPath(backup) : backup, "restore"), 0)
        << way->Log();
    EXPECT_EQ(ReadFile(way->dir / "console.txt"), "");
  }
  const std::string plan = ReadFile(windows.folder + "/" + Tokyo + " plan.txt");
  EXPECT_EQ(plan, ReadFile(linux_.folder + "/" + Tokyo + " plan.txt"));
  EXPECT_EQ(plan.rfind("\xef\xbb\xbf", 0), 0u) << "a UTF-8 file for a name beyond Latin-1";
  EXPECT_EQ(windows.Log(), linux_.Log());
  EXPECT_EQ(ReadFile(windows.Backup()), ReadFile(linux_.Backup()));
  EXPECT_EQ(windows.Dump(), linux_.Dump());
  EXPECT_EQ(windows.Dump().find("\t" + Tokyo + "\t"),
            std::string::npos);  // restored: deleted again
}

TEST(WineRun, WrongPasswordAndASlowServerFailAsOnLinux) {
  Way linux_("linux", false, {"--latency-ms", "1500"}),
      windows("windows", true, {"--latency-ms", "1500"});
  for (Way* way : {&linux_, &windows}) {
    SCOPED_TRACE(way->windows ? "windows" : "linux");
    EXPECT_EQ(way->Run("Plan", way->File("a.txt"), "export", {}, "wrong"), 1);
    EXPECT_EQ(way->Run("Plan", way->File("b.txt"), "export", {"QUORVEL_HTTP_TIMEOUT=1"}), 1);
    EXPECT_FALSE(fs::exists(way->folder + "/b.txt"));
  }
  const std::string log = windows.Log();
  EXPECT_EQ(log, linux_.Log());
  EXPECT_NE(log.find(" did not answer in 1 s\r\n"), std::string::npos) << log;
}

// A server certificate signed by an authority the test makes: trusted only
// when QUORVEL_CA_FILE names it.
TEST(WineRun, HttpsTrustsThePrivateAuthorityOnlyWhenNamed) {
  TempDir certs("wine-tls");
  const std::string d = certs.path();
  ASSERT_TRUE(support::MakeTestCertificates(d, {"ca"})) << "openssl could not make them";
  const std::vector<std::string> tls = {"--tls", d + "/server.pem", d + "/server.key"};
  Way linux_("linux", false, tls), windows("windows", true, tls);
  ASSERT_EQ(windows.server.rfind("https://", 0), 0u) << windows.server;
  for (Way* way : {&linux_, &windows})
    way->server = std::regex_replace(way->server, std::regex("127\\.0\\.0\\.1"), "localhost");
  for (Way* way : {&linux_, &windows}) {
    SCOPED_TRACE(way->windows ? "windows" : "linux");
    EXPECT_EQ(way->Run("Plan", way->File("untrusted.txt"), "export"), 1);
    const std::string ca = way->windows ? WindowsPath(d + "/ca.pem") : d + "/ca.pem";
    EXPECT_EQ(way->Run("Plan", way->File("trusted.txt"), "export", {"QUORVEL_CA_FILE=" + ca}), 0)
        << way->Log();
  }
  EXPECT_EQ(ReadFile(windows.folder + "/trusted.txt"), ReadFile(linux_.folder + "/trusted.txt"));
  EXPECT_FALSE(fs::exists(windows.folder + "/untrusted.txt"));
  const std::string log = windows.Log();
  EXPECT_NE(log.find("certificate"), std::string::npos) << log;
}

// The client library is found beside the program and called as on Linux: a
// wrong password is the library's refusal, not a missing library.
TEST(WineRun, ClientLibraryBesideTheProgramIsLoadedAndCalled) {
  TempDir dir;
  std::vector<std::string> logs;
  for (bool windows : {false, true}) {
    const std::string here = dir / ("R\xc3\xa9gion " + Tokyo + (windows ? " windows" : " linux"));
    fs::create_directories(here);
    const std::string program = here + (windows ? "/QuorvelCL.exe" : "/QuorvelCL");
    fs::copy_file(windows ? QUORVELCL_EXE : QUORVELCL_PATH, program);
    fs::copy_file(windows ? STANDIN_DLL : STANDIN_SO,
                  here + (windows ? "/esbapin.dll" : "/libesbapin.so"));
    for (const char* password : {"wrong", "secret"}) {
      std::vector<std::string> args = {"-s",   "standin", "-a",      "Fin",   "-d",
                                       "Plan", "-i",      "standin", "-p",    password,
                                       "-f",   "x.txt",   "-t",      "export"};
      if (windows) args.insert(args.begin(), program);
      const int status =
          RunProgram(windows ? WINE : program, args,
                     {"WINEDEBUG=-all", "XDG_STATE_HOME=" + (dir / "state")}, dir / "console.txt")
              .status;
      EXPECT_EQ(status, 1) << (windows ? "windows, " : "linux, ") << password;
    }
    const std::string log = ReadFile(here + "/Log.txt");
    logs.push_back(std::regex_replace(log, std::regex("//Process starting at [^\r]*"), "//DATE"));
  }
  EXPECT_EQ(logs[1], logs[0]);
  // The wrong password is refused, the right one gets in and finds nothing.
  EXPECT_NE(logs[1].find(std::string(cli::msg::LoginFailed) + "1051293"), std::string::npos)
      << logs[1];
  EXPECT_NE(logs[1].find(cli::msg::ExportFailed), std::string::npos) << logs[1];
}

}  // namespace
