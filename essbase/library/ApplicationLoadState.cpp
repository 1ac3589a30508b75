#include "essbase/library/ApplicationLoadState.h"

#include <vector>

#include "essbase/library/AppInfoRecord.h"

namespace essbase {

int32_t ReadApplicationLoaded(EssbaseApi& api, Handle context, const std::string& application,
                              Generation generation, bool& loaded) {
  std::vector<uint8_t> record(AppInfoSize(generation));
  int16_t databases = 0;
  const int32_t status = api.EsbGetApplicationInfo(context, application.c_str(), record, databases);
  if (status == 0) loaded = ReadLoadState(record, generation);
  return status;
}

}  // namespace essbase
