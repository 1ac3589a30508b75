// The shared library exports the client library's C ABI and nothing of its
// own inner code, which a host program could otherwise collide with.
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace simtest {
namespace {

class AbiExport : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(ESBAPIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
  }
  void* handle_ = nullptr;  // stays loaded: other tests use the same library
};

TEST_F(AbiExport, EveryOperationAndThePromptHookAreExported) {
  for (const char* name :
       {"EsbInit", "EsbTerm", "EsbAutoLogin", "EsbLogin", "EsbLogout", "EsbListApplications",
        "EsbListDatabases", "EsbGetNextItem", "EsbGetApplicationInfo", "EsbUnloadApplication",
        "EsbSetActive", "EsbListFilters", "EsbGetFilter", "EsbGetFilterRow", "EsbSetFilter",
        "EsbSetFilterRow", "EsbDeleteFilter", "EsbSimSetLoginPrompt"})
    EXPECT_NE(dlsym(handle_, name), nullptr) << name;
}

TEST_F(AbiExport, InnerClassesStayHidden) {
  // esbsim::SimServer::Init(const void*, unsigned int*) and esbsim::Store::open.
  EXPECT_EQ(dlsym(handle_, "_ZN6esbsim9SimServer4InitEPKvPj"), nullptr);
  EXPECT_EQ(dlsym(handle_,
                  "_ZN6esbsim5Store4openERKNSt7__cxx1112basic_stringIcSt11char_"
                  "traitsIcESaIcEEEb"),
            nullptr);
}

}  // namespace
}  // namespace simtest
