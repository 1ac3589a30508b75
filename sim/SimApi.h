#pragma once
// EssbaseApi over a simulated server living in this process: the same server
// the shared library exports, without loading it.
#include "essbase/library/EssbaseApi.h"
#include "sim/SimServer.h"

namespace esbsim {

class SimApi final : public essbase::EssbaseApi {
 public:
  using Handle = essbase::Handle;

  int32_t EsbInit(const essbase::ApiInitRecord& record, Handle& instance) override;
  int32_t EsbTerm(Handle instance) override;
  int32_t EsbAutoLogin(Handle instance, std::span<char> server, std::span<char> user,
                       std::span<char> password, std::span<char> application,
                       std::span<char> database, int16_t options, int16_t& access,
                       Handle& context) override;
  int32_t EsbLogin(Handle instance, const char* server, const char* user, const char* password,
                   int16_t& count, Handle& context) override;
  int32_t EsbLogout(Handle context) override;
  int32_t EsbListApplications(Handle context, int16_t& count) override;
  int32_t EsbListDatabases(Handle context, const char* application, int16_t& count) override;
  int32_t EsbGetNextItem(Handle context, int16_t kind, std::span<char> buffer) override;
  int32_t EsbGetApplicationInfo(Handle context, const char* application, std::span<uint8_t> record,
                                int16_t& databases) override;
  int32_t EsbUnloadApplication(Handle context, const char* application) override;
  int32_t EsbSetActive(Handle context, const char* application, const char* database,
                       int16_t& access) override;
  int32_t EsbListFilters(Handle context, const char* application, const char* database,
                         int16_t& count) override;
  int32_t EsbGetFilter(Handle context, const char* application, const char* database,
                       const char* filter, int16_t& active, int16_t& access) override;
  int32_t EsbGetFilterRow(Handle context, std::span<char> row, int16_t& access) override;
  int32_t EsbSetFilter(Handle context, const char* application, const char* database,
                       const char* filter, int16_t active, int16_t access) override;
  int32_t EsbSetFilterRow(Handle context, const char* row, int16_t access) override;
  int32_t EsbDeleteFilter(Handle context, const char* application, const char* database,
                          const char* filter) override;
  bool SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData) override;

 private:
  SimServer server_;
  // Context -> instance, to know the record size of its generation.
  std::map<Handle, Handle> owner_;
};

}  // namespace esbsim
