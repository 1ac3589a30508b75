#pragma once
// The resources the REST front serves, told from a request's path segments,
// and the methods each one answers.
#include <string>
#include <vector>

namespace esbsim::serve {

enum class Resource {
  None,  // a path that is no resource: 404
  About,
  Session,
  Sessions,
  Applications,
  Application,
  Databases,
  Database,
  Filters,
  Filter,
  Rows
};

Resource Identify(const std::vector<std::string>& segments);

// The methods served, as an Allow header lists them.
const char* Allowed(Resource resource);
bool Serves(Resource resource, const std::string& method);

}  // namespace esbsim::serve
