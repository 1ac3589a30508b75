// A second process for the store-sharing tests: logs in to server "srv" as
// u/pw through libesbapin.so and writes COUNT filters PREFIX0.. with two rows
// each into APP.DB. Exit status 0 when every call succeeded.
#include <cstdio>
#include <string>

#include "essbase/library/LibraryApi.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: sim_writer APP DB PREFIX COUNT\n");
    return 2;
  }
  essbase::LibraryApi api(ESBAPIN_PATH);
  essbase::Handle instance = 0, context = 0;
  int16_t count = 0;
  if (api.EsbInit(essbase::ApiInitRecord(0x60000, "C:\\"), instance) != 0) return 3;
  if (api.EsbLogin(instance, "srv", "u", "pw", count, context) != 0) return 4;
  const int n = std::stoi(argv[4]);
  for (int i = 0; i < n; ++i) {
    const std::string name = argv[3] + std::to_string(i);
    if (api.EsbSetFilter(context, argv[1], argv[2], name.c_str(), 1, 375) != 0 ||
        api.EsbSetFilterRow(context, ("\"" + name + "\"").c_str(), 273) != 0 ||
        api.EsbSetFilterRow(context, "@IDESCENDANTS(\"East\")", 275) != 0 ||
        api.EsbSetFilterRow(context, nullptr, 375) != 0)
      return 5;
  }
  return api.EsbTerm(instance) == 0 ? 0 : 6;
}
