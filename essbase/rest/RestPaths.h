#pragma once
// The resources of the REST API that the client uses, from Latin-1 names.
#include <string>

#include "essbase/Latin1.h"
#include "essbase/rest/Url.h"

namespace essbase::rest {

inline std::string Segment(const std::string& latin1) {
  return PathSegment(Latin1ToUtf8(latin1));
}
inline std::string ApplicationUrl(const std::string& base, const std::string& app) {
  return base + "/applications/" + Segment(app);
}
inline std::string DatabaseUrl(const std::string& base, const std::string& app,
                               const std::string& db) {
  return ApplicationUrl(base, app) + "/databases/" + Segment(db);
}
inline std::string FiltersUrl(const std::string& base, const std::string& app,
                              const std::string& db) {
  return DatabaseUrl(base, app, db) + "/filters";
}
inline std::string FilterUrl(const std::string& base, const std::string& app, const std::string& db,
                             const std::string& filter) {
  return FiltersUrl(base, app, db) + "/" + Segment(filter);
}

}  // namespace essbase::rest
