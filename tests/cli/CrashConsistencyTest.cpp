// A large import killed with SIGKILL at random moments: the store opens
// afterwards and every filter in it is as it was or as the file defines it,
// never a part of either. The moments are drawn over the time one whole
// import takes on this machine; nothing is asserted about timing.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "tests/cli/SimulatedRun.h"

namespace cli {
namespace {

constexpr int Filters = 300;
constexpr int Rows = 40;
constexpr int Kills = 6;

std::string Name(int f) {
  return "F" + std::to_string(f);
}

// Copy holds every filter with one old row; the file gives each many new rows.
std::string OldServer() {
  std::string text =
      "server\tessdemo\nuser\tdemo\tdemo\t275\napp\tFin\tloaded\ndb\tFin\tPlan\ndb\tFin\tCopy\n";
  for (int f = 0; f < Filters; ++f)
    text += "filter\tFin\tCopy\t" + Name(f) + "\t0\t273\nrow\t0\told " + Name(f) + "\n";
  return text;
}

std::string ImportFile() {
  std::string text;
  for (int f = 0; f < Filters; ++f)
    for (int r = 0; r < Rows; ++r)
      text += "x\ty\t" + Name(f) + "\t" + std::to_string(r % 2 ? 273 : 0) + "\t@IDESC(\"M" +
              std::to_string(r) + "\")\r\r\n";
  return text;
}

std::string OldDefinition(int f) {
  return "filter\tFin\tCopy\t" + Name(f) + "\t0\t273\nrow\t0\told " + Name(f) + "\n";
}

std::string NewDefinition(int f) {
  std::string text = "filter\tFin\tCopy\t" + Name(f) + "\t1\t375\n";
  for (int r = 0; r < Rows; ++r)
    text +=
        "row\t" + std::to_string(r % 2 ? 273 : 0) + "\t@IDESC(\"M" + std::to_string(r) + "\")\n";
  return text;
}

class KilledImport : public testing::SimulatedRun {
 protected:
  std::vector<std::string> Args() {
    return {"-s",   "essdemo", "-a",   "Fin", "-d",           "Copy", "-i",
            "demo", "-p",      "demo", "-f",  dir / "in.txt", "-t",   "import"};
  }

  // Every filter old or new; returns how many are new.
  int CheckStore() {
    const std::string dump = Dump();
    const auto filters = testing::DumpedFilters(dump, "Fin", "Copy");
    EXPECT_EQ(filters.size(), static_cast<size_t>(Filters));
    int fresh = 0;
    for (int f = 0; f < Filters; ++f) {
      const auto it = filters.find(Name(f));
      if (it == filters.end()) {
        ADD_FAILURE() << Name(f) << " is gone";
        continue;
      }
      if (it->second == NewDefinition(f))
        ++fresh;
      else
        EXPECT_EQ(it->second, OldDefinition(f)) << Name(f) << " is neither old nor complete";
    }
    return fresh;
  }
};

TEST_F(KilledImport, EveryFilterOldOrComplete) {
  const std::string server = OldServer();
  testing::WriteFile(dir / "in.txt", ImportFile());

  Load(server);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Run(Args()), 0);
  const auto whole = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(CheckStore(), Filters);

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int64_t> moment(
      0, std::chrono::duration_cast<std::chrono::microseconds>(whole).count());
  for (int kill = 0; kill < Kills; ++kill) {
    Load(server);
    const pid_t pid = testing::StartProgram(
        dir / "QuorvelCL", Args(), {"ESBSIM_STORE=" + (dir / "store.db")}, dir / "console.txt");
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(pid, SIGKILL);
    testing::WaitProgram(pid);
    CheckStore();
  }

  // The killed runs left the store usable: a whole import still goes through.
  ASSERT_EQ(Run(Args()), 0);
  EXPECT_EQ(CheckStore(), Filters);
}

}  // namespace
}  // namespace cli
