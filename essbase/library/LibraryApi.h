#pragma once
// EssbaseApi over the client library loaded by name at run time. A missing
// library or symbol never crashes: EsbInit returns ESB_STS_LIBRARY_UNAVAILABLE
// and every other operation does too. Buffers smaller than an operation's
// documented size are refused with ESB_STS_BUFFER_TOO_SMALL before the library
// is called, so the library can never write past them.
#include <memory>
#include <string>

#include "essbase/library/EssbaseApi.h"

namespace essbase {

// The client library's file name, as each system's loader looks for it.
#ifdef _WIN32
inline constexpr const char* ClientLibraryName = "esbapin.dll";
#else
inline constexpr const char* ClientLibraryName = "libesbapin.so";
#endif

class LibraryApi final : public EssbaseApi {
 public:
  // The default name finds a real client library on the loader's path first,
  // then the one beside the running program.
  explicit LibraryApi(std::string libraryName = ClientLibraryName);
  ~LibraryApi() override;
  LibraryApi(const LibraryApi&) = delete;
  LibraryApi& operator=(const LibraryApi&) = delete;

  // True when the library and every operation were found.
  bool loaded() const;
  // Why loading failed, empty when it did not.
  const std::string& loadError() const;

  int32_t EsbInit(const ApiInitRecord& record, Handle& instance) override;
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
  struct Table;
  std::unique_ptr<Table> table_;
  int16_t infoSize_ = 0;  // largest record size of the versions given to EsbInit
};

}  // namespace essbase
