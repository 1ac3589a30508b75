#include "compare/Difference.h"

namespace compare {

void Tally::Count(Verdict verdict) {
  switch (verdict) {
    case Verdict::Same: ++same; break;
    case Verdict::Changed: ++changed; break;
    case Verdict::Created: ++created; break;
    case Verdict::OnlyCurrent: ++onlyCurrent; break;
    case Verdict::Deleted: ++deleted; break;
    case Verdict::Unreadable: ++unreadable; break;
  }
}

Tally& Tally::operator+=(const Tally& other) {
  same += other.same;
  changed += other.changed;
  created += other.created;
  onlyCurrent += other.onlyCurrent;
  deleted += other.deleted;
  unreadable += other.unreadable;
  return *this;
}

}  // namespace compare
