// Throughput of the filter export file's writer, line splitter and grouping
// reader, without any server behind them.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "filterfile/FilterFileReader.h"
#include "filterfile/RowRecord.h"

namespace {

class CountingSink : public filterfile::FilterSink {
 public:
  void OpenFilter(std::string_view) override { ++filters; }
  void AddRow(std::string_view text, int16_t access) override { bytes += text.size() + access; }
  void CloseFilter() override {}
  void PassedOver(uint64_t) override {}
  void RowLost() override {}
  int64_t filters = 0;
  int64_t bytes = 0;
};

std::string File(int filters, int rows) {
  std::ostringstream out;
  for (int f = 0; f < filters; ++f)
    for (int r = 0; r < rows; ++r)
      filterfile::WriteRowRecord(out, "Bench", "Src", "Filter" + std::to_string(f), 273,
                                 "@IDESCENDANTS(\"Member" + std::to_string(r) + "\"), \"Actual\"");
  return out.str();
}

// Into a file stream, as the programs write: its buffer's per-call cost counts.
void BM_WriteRecords(benchmark::State& state) {
  std::ofstream out("/dev/null", std::ios::binary);
  const std::string text = "@IDESCENDANTS(\"Member00001_001\"), \"Actual\"";
  for (auto _ : state)
    for (int i = 0; i < 1000; ++i)
      filterfile::WriteRowRecord(out, "Bench", "Src", "Filter00001", 275, text);
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_WriteRecords);

void BM_ReadFilterFile(benchmark::State& state) {
  const std::string file = File(100, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::istringstream in(file);
    CountingSink sink;
    filterfile::ReadFilterFile(in, sink);
    benchmark::DoNotOptimize(sink.bytes);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
  state.SetItemsProcessed(state.iterations() * 100 * state.range(0));
}
BENCHMARK(BM_ReadFilterFile)->Arg(10)->Arg(100);

}  // namespace
