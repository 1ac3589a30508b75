#pragma once
// Turns what the comparison engine reports into the lines of a comparison
// window: one per row added, removed or given another access, one per
// change of a filter's own values, one per filter created (with its number
// of rows), deleted or only on the server. The filters that are the same get
// a line only when asked for (`keepSame`): a window holds the differences,
// not the database. Row access shows as the Change dialog names it.
#include <string>
#include <vector>

#include "compare/Difference.h"
#include "compare/backup/CompareBackup.h"
#include "desktop/ToolkitPort.h"

namespace desktop {

class ComparisonReport final : public compare::BackupDifferenceSink {
 public:
  // `withDatabase`: each line starts with its application/database (a
  // backup holds several).
  ComparisonReport(bool withDatabase, bool keepSame = false)
      : withDatabase_(withDatabase), keepSame_(keepSame) {}

  void Database(const std::string& application, const std::string& database) override;
  void Filter(const compare::FilterDifference& d) override;

  // The window's view with these lines, in the columns that go with them.
  ComparisonView View(std::string title, std::string summary);
  // The lines alone (of the filters that are the same, when kept).
  std::vector<ComparisonLine> TakeLines() { return std::move(lines_); }

 private:
  void Line(const std::string& filter, std::string_view difference, std::string row = {},
            std::string now = {}, std::string then = {}, bool differs = true);

  bool withDatabase_;
  bool keepSame_;
  std::string database_;
  std::vector<ComparisonLine> lines_;
};

// The counts in words, as a summary starts.
std::string CountsOf(const compare::Tally& tally);

}  // namespace desktop
