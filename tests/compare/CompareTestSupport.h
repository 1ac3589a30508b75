#pragma once
// A difference sink that keeps each difference as one line of text, so that
// a test states the whole outcome of a comparison in one string.
#include <string>

#include "compare/Difference.h"

namespace compare::testing {

inline const char* VerdictName(Verdict v) {
  switch (v) {
    case Verdict::Same: return "same";
    case Verdict::Changed: return "changed";
    case Verdict::Created: return "created";
    case Verdict::OnlyCurrent: return "only-current";
    case Verdict::Deleted: return "deleted";
    case Verdict::Unreadable: return "unreadable";
  }
  return "?";
}

// "Name verdict[ values 1/375>0/375][ +text@275 -text@273 ~text@273>275][ later-lost]"
inline std::string Describe(const FilterDifference& d) {
  std::string out = d.name + " " + VerdictName(d.verdict);
  if (d.current && d.incoming && !(*d.current == *d.incoming))
    out += " values " + std::to_string(d.current->active) + "/" +
           std::to_string(d.current->access) + ">" + std::to_string(d.incoming->active) + "/" +
           std::to_string(d.incoming->access);
  for (const RowEdit& e : d.rows) {
    switch (e.change) {
      case RowChange::Added: out += " +" + e.text + "@" + std::to_string(e.after); break;
      case RowChange::Removed: out += " -" + e.text + "@" + std::to_string(e.before); break;
      case RowChange::AccessChanged:
        out += " ~" + e.text + "@" + std::to_string(e.before) + ">" + std::to_string(e.after);
        break;
    }
  }
  if (d.laterDefinitionLost) out += " later-lost";
  return out;
}

class Recorder : public DifferenceSink {
 public:
  void Filter(const FilterDifference& d) override { text += Describe(d) + "\n"; }
  std::string text;
};

}  // namespace compare::testing
