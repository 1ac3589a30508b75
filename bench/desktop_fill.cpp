// Filling the tree (1,000 applications x 10 databases) and the filter list
// (3,000 and 30,000 filters) through the real handlers. The
// filter list must fill linearly: the 30,000-vs-3,000 ratio should be near 10.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <map>

#include "desktop/frmQuorvel.h"
#include "tests/support/FakeEssbaseApi.h"

namespace {

using desktop::Control;
using desktop::FileDialogOptions;
using desktop::FileDialogResult;

// A screen that accepts everything and shows nothing.
class QuietPort : public desktop::ToolkitPort {
 public:
  desktop::MessageAnswer ShowMessage(std::string_view, std::string_view, desktop::MessageIcon,
                                     desktop::MessageButtons) override {
    ++messages;
    return desktop::MessageAnswer::OK;
  }
  void SetBusy(bool) override {}
  void HoldInput(bool) override {}
  bool ShowChangeDialog(desktop::ChangeDialogValues&,
                        const std::function<void(const desktop::ChangeDialogValues&)>&) override {
    return false;
  }
  void ShowProgress(std::string_view) override {}
  void ShowPreview(const desktop::ChangePreview&) override {}
  void ShowComparison(const desktop::ComparisonView&) override {}
  void ShowBackups(desktop::BackupsHandler&) override {}
  FileDialogResult ShowSave(const FileDialogOptions&) override { return {}; }
  FileDialogResult ShowOpen(const FileDialogOptions&) override { return {}; }
  void ProcessEvents() override {}
  void ShowAbout(std::string_view) override {}
  void OpenUrl(std::string_view) override {}
  std::optional<std::string> HttpGet(std::string_view) override { return std::nullopt; }
  void PopupOtherMenu() override {}
  bool SetEnabled(Control, bool) override { return true; }
  bool SetVisible(Control, bool) override { return true; }
  bool SetWidth(Control, int) override { return true; }
  bool SetHeight(Control, int) override { return true; }
  bool SetLeft(Control, int) override { return true; }
  bool SetTop(Control, int) override { return true; }
  void SetCaption(Control, std::string_view) override {}
  int messages = 0;
};

void BM_FillTree(benchmark::State& state) {
  essbase::testing::FakeEssbaseApi fake;
  const int apps = static_cast<int>(state.range(0));
  for (int a = 0; a < apps; ++a) {
    const std::string app = "A" + std::to_string(a);
    for (int d = 0; d < 10; ++d) fake.AddDatabase(app, "D" + std::to_string(d));
  }
  QuietPort port;
  desktop::frmQuorvel form(fake, port, essbase::Generation::V6, backup::Place{});
  form.Form_Load();
  for (auto _ : state) {
    fake.ClearCalls();
    form.mnuLogin_Click();
    benchmark::DoNotOptimize(form.tree().Count());
  }
  if (form.tree().Count() != apps * 11 || port.messages) state.SkipWithError("tree not filled");
  state.SetItemsProcessed(state.iterations() * apps * 11);
}
BENCHMARK(BM_FillTree)->Arg(1000)->Unit(benchmark::kMillisecond);

// Serves the filter listing from ready-made name fields without recording the
// calls, so that the figures are the handlers' and the lists' own.
class LeanFilterServer : public essbase::testing::FakeEssbaseApi {
 public:
  explicit LeanFilterServer(int filters) {
    AddDatabase("Big", "Db");
    names_.reserve(static_cast<size_t>(filters));
    for (int f = 0; f < filters; ++f) {
      std::array<char, essbase::FilterNameWidth> field{};
      const std::string name = "Filter_" + std::to_string(f);
      std::copy(name.begin(), name.end(), field.begin());
      names_.push_back(field);
    }
  }
  int32_t EsbListFilters(essbase::Handle, const char*, const char*, int16_t& count) override {
    next_ = 0;
    count = static_cast<int16_t>(names_.size());
    return 0;
  }
  int32_t EsbGetNextItem(essbase::Handle context, int16_t kind, std::span<char> buffer) override {
    if (kind != essbase::ItemFilterName)
      return FakeEssbaseApi::EsbGetNextItem(context, kind, buffer);
    if (next_ >= names_.size() || buffer.size() < names_[next_].size())
      return ESB_STS_NO_ITEM_PENDING;
    std::copy(names_[next_].begin(), names_[next_].end(), buffer.begin());
    ++next_;
    return 0;
  }

 private:
  std::vector<std::array<char, essbase::FilterNameWidth>> names_;
  size_t next_ = 0;
};

void BM_FillFilters(benchmark::State& state) {
  const int filters = static_cast<int>(state.range(0));
  LeanFilterServer server(filters);
  QuietPort port;
  desktop::frmQuorvel form(server, port, essbase::Generation::V6, backup::Place{});
  form.Form_Load();
  form.mnuLogin_Click();
  const int node = form.tree().Find("Db:Big-Db");
  for (auto _ : state) {
    form.tree_NodeClick(node);
    benchmark::DoNotOptimize(form.filters().Count());
  }
  if (form.filters().Count() != filters || !form.filters().Checked(filters) || port.messages)
    state.SkipWithError("filter list not filled");
  state.SetItemsProcessed(state.iterations() * filters);
}
BENCHMARK(BM_FillFilters)
    ->Arg(3000)
    ->Arg(10000)
    ->Arg(30000)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

// Keeps each benchmark's best time per iteration (the least disturbed by
// other work on the machine) so the ratio can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) {
      if (r.run_type != Run::RT_Iteration) continue;
      const std::string name = r.run_name.function_name + "/" + r.run_name.args;
      const double t = r.GetAdjustedCPUTime();
      if (!times.count(name) || t < times[name]) times[name] = t;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto& t = reporter.times;
  auto ratio = [&](const char* big, const char* small, const char* label, const char* linear) {
    if (t.count(big) && t.count(small) && t.at(small) > 0)
      std::cout << label << " (best CPU time): ratio " << t.at(big) / t.at(small)
                << " (linear = " << linear << ")\n";
  };
  ratio("BM_FillFilters/30000", "BM_FillFilters/3000", "filter list 30,000 vs 3,000", "10");
  // Both sizes outside the processor's second-level cache: the growth without
  // the step from cache to memory.
  ratio("BM_FillFilters/30000", "BM_FillFilters/10000", "filter list 30,000 vs 10,000", "3");
  return 0;
}
