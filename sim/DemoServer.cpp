#include "sim/DemoServer.h"

#include <sstream>

#include "sim/Description.h"

namespace esbsim {

namespace {

// Written as the description text itself; "|" stands for the TAB between
// fields, "\t" is a TAB inside a row text.
const char* const kDemo[] = {
    "server|essdemo",
    "user|demo|demo|275",
    "user|admin|password|275",
    "user|viewer|viewer|273",
    "app|Sample|loaded",
    "db|Sample|Basic",
    "filter|Sample|Basic|EastRead|1|375",
    "row|273|@IDESCENDANTS(\"East\")",
    "filter|Sample|Basic|WestWrite|1|375",
    "row|275|@IDESCENDANTS(\"West\")",
    "row|273|\"Actual\", \"Budget\"",
    "filter|Sample|Basic|NoBudget|1|375",
    "row|0|\"Budget\"",
    "row|273|\"Actual\"",
    "filter|Sample|Basic|ColaOnly|1|375",
    "row|275|@IDESCENDANTS(\"Colas\")",
    "row|0|@IDESCENDANTS(\"Root Beer\"), @IDESCENDANTS(\"Cream Soda\")",
    "filter|Sample|Basic|Regional_Sales_Managers_Europe|1|375",
    "row|273|@IDESCENDANTS(\"Market\"), \"Sales\"",
    "row|275|\"Budget\", @CHILDREN(\"Qtr1\")",
    "filter|Sample|Basic|TabbedRow|1|375",
    "row|273|\"Actual\",\t\"Budget\"",
    "filter|Sample|Basic|Empty|1|375",
    "filter|Sample|Basic|CentralRead|1|375",
    "row|273|@IDESCENDANTS(\"Central\")",
    "row|0|\"Variance\", \"Variance %\"",
    "filter|Sample|Basic|SouthWrite|1|375",
    "row|275|@IDESCENDANTS(\"South\")",
    "filter|Sample|Basic|MarginAnalysts|1|375",
    "row|273|\"Margin\", \"Margin %\", \"Profit\"",
    "row|0|\"Payroll\", \"Misc\"",
    "filter|Sample|Basic|Inactive|0|375",
    "row|273|\"Year\"",
    "filter|Sample|Basic|NewYorkOnly|1|375",
    "row|275|\"New York\"",
    "row|0|@REMOVE(@IDESCENDANTS(\"East\"), \"New York\")",
    "filter|Sample|Basic|QuarterOne|1|375",
    "row|273|@CHILDREN(\"Qtr1\"), \"Actual\"",
    "db|Sample|Interntl",
    "filter|Sample|Interntl|EuroRead|1|375",
    "row|273|@IDESCENDANTS(\"Europe\")",
    "filter|Sample|Interntl|AsiaWrite|1|375",
    "row|275|@IDESCENDANTS(\"Asia\")",
    "row|273|\"Actual\", \"Budget\"",
    "filter|Sample|Interntl|CurrencyNone|1|375",
    "row|0|@IDESCENDANTS(\"Currency\")",
    "filter|Sample|Interntl|Treasury|1|375",
    "row|275|\"Act xchg\", \"Bud xchg\"",
    "row|273|@LEVMBRS(\"Market\", 0)",
    "filter|Sample|Interntl|LatAmRead|1|375",
    "row|273|@IDESCENDANTS(\"Latin America\")",
    "db|Sample|Xchgrate",
    "app|Demo|loaded",
    "db|Demo|Basic",
    "filter|Demo|Basic|Accounting|1|375",
    "row|275|@IDESCENDANTS(\"Accounts\")",
    "filter|Demo|Basic|AuditRead|1|375",
    "row|273|@IDESCENDANTS(\"Year\"), @IDESCENDANTS(\"Scenario\")",
    "filter|Demo|Basic|Stereo|1|375",
    "row|275|@IDESCENDANTS(\"Stereo\")",
    "row|0|@IDESCENDANTS(\"Compact Disc\")",
    "filter|Demo|Basic|Television|1|375",
    "row|273|@IDESCENDANTS(\"Television\")",
    "filter|Demo|Basic|Headquarters|1|375",
    "row|275|\"Actual\", \"Budget\", \"Forecast\"",
    "filter|Demo|Basic|Contractors|1|375",
    "row|0|@IDESCENDANTS(\"Salaries\")",
    "row|273|@IDESCENDANTS(\"Sales\")",
    "filter|Demo|Basic|Forecasters|1|375",
    "row|275|\"Forecast\"",
    "row|273|\"Actual\", \"Budget\"",
    "app|FinPlan8|loaded",
    "db|FinPlan8|Forecast",
    "filter|FinPlan8|Forecast|PlannerWrite|1|375",
    "row|275|\"Forecast\", @IDESCENDANTS(\"FY2026\")",
    "filter|FinPlan8|Forecast|PlannerRead|1|375",
    "row|273|\"Forecast\"",
    "filter|FinPlan8|Forecast|CfoAll|1|375",
    "row|275|@IDESCENDANTS(\"Entity\")",
    "row|275|@IDESCENDANTS(\"Account\")",
    "filter|FinPlan8|Forecast|NoHeadcount|1|375",
    "row|0|@IDESCENDANTS(\"Headcount\")",
    "filter|FinPlan8|Forecast|CapexOwners|1|375",
    "row|275|@IDESCENDANTS(\"Capex\")",
    "row|273|@IDESCENDANTS(\"Opex\")",
    "filter|FinPlan8|Forecast|Regions|1|375",
    "row|273|@CHILDREN(\"Regions\")",
    "db|FinPlan8|Actuals",
    "filter|FinPlan8|Actuals|CloseTeam|1|375",
    "row|275|@IDESCENDANTS(\"Dec\"), \"Actual\"",
    "filter|FinPlan8|Actuals|Auditors|1|375",
    "row|273|@IDESCENDANTS(\"Account\")",
    "filter|FinPlan8|Actuals|Controllers|1|375",
    "row|275|@IDESCENDANTS(\"Account\"), \"Actual\"",
    "app|Budget|unloaded",
    "db|Budget|Plan",
    "filter|Budget|Plan|DeptHeads|1|375",
    "row|275|@IDESCENDANTS(\"Departments\")",
    "filter|Budget|Plan|Finance|1|375",
    "row|275|@IDESCENDANTS(\"Budget\")",
    "row|273|\"Actual\"",
    "filter|Budget|Plan|ReadOnly|1|375",
    "row|273|@IDESCENDANTS(\"Plan\")",
    "filter|Budget|Plan|Interns|1|375",
    "row|0|@IDESCENDANTS(\"Salaries\")",
    "row|273|\"Travel\", \"Supplies\"",
    "db|Budget|Capital",
    "filter|Budget|Capital|AssetMgrs|1|375",
    "row|275|@IDESCENDANTS(\"Assets\")",
    "filter|Budget|Capital|Depreciation|1|375",
    "row|273|\"Depreciation\"",
    "app|Scratch|loaded",
};

std::string Build() {
  std::string text;
  for (const char* line : kDemo) {
    std::string s(line);
    // Only the separators before a row's text are TABs; a row text keeps
    // its own characters.
    size_t fields = s.rfind("row|", 0) == 0 ? 2 : std::string::npos;
    for (size_t i = 0, n = 0; i < s.size() && n < fields; ++i)
      if (s[i] == '|') {
        s[i] = '\t';
        ++n;
      }
    text += s;
    text += '\n';
  }
  return text;
}

}  // namespace

const std::string& DemoDescription() {
  static const std::string text = Build();
  return text;
}

bool LoadDemoServer(SqliteDb& db) {
  std::istringstream in(DemoDescription());
  std::string error;
  return LoadDescription(db, in, error);
}

}  // namespace esbsim
