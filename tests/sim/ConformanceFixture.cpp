#include "tests/sim/ConformanceFixture.h"

#include "essbase/library/LibraryApi.h"
#include "sim/SimApi.h"
#include "tests/support/SampleServer.h"

namespace simtest {

const char* const kLongFilter = support::SampleLongFilter;
const char* const kContent = support::SampleServer;

void Conformance::SetUp() {
  store_.Load(kContent);
  if (GetParam() == Via::InProcess) {
    api_ = std::make_unique<esbsim::SimApi>();
  } else {
    auto library = std::make_unique<essbase::LibraryApi>(ESBAPIN_PATH);
    ASSERT_TRUE(library->loaded()) << library->loadError();
    api_ = std::move(library);
  }
  ASSERT_TRUE(api().SetLoginPrompt(nullptr, nullptr));
}

void Conformance::TearDown() {
  // The library's server outlives the test: leave no instance behind.
  if (api_)
    for (auto h : instances_) api_->EsbTerm(h);
  if (api_) api_->SetLoginPrompt(nullptr, nullptr);
}

essbase::Handle Conformance::Init(essbase::Generation g) {
  essbase::Handle instance = 0;
  EXPECT_EQ(api().EsbInit(essbase::ApiInitRecord(essbase::InitVersion(g), "C:\\ESSBASE"), instance),
            0);
  instances_.push_back(instance);
  return instance;
}

essbase::Handle Conformance::Login(essbase::Handle instance, const char* user,
                                   const char* password) {
  int16_t count = 0;
  essbase::Handle context = 0;
  EXPECT_EQ(api().EsbLogin(instance, "srv", user, password, count, context), 0);
  return context;
}

std::vector<std::string> Conformance::Items(essbase::Handle context, int16_t kind, int16_t count) {
  std::vector<std::string> items;
  const size_t width = static_cast<size_t>(essbase::ItemWidth(kind));
  for (int i = 0; i < count; ++i) {
    std::string field(width, '\x7f');
    EXPECT_EQ(api().EsbGetNextItem(context, kind, field), 0) << "item " << i;
    items.push_back(field);
  }
  return items;
}

std::vector<std::string> Conformance::FilterNames(essbase::Handle context, const char* app,
                                                  const char* db) {
  int16_t count = -1;
  EXPECT_EQ(api().EsbListFilters(context, app, db, count), 0);
  std::vector<std::string> names;
  for (const auto& f : Items(context, essbase::ItemFilterName, count))
    names.push_back(FieldText(f));
  return names;
}

std::vector<Row> Conformance::ReadRows(essbase::Handle context, const char* app, const char* db,
                                       const char* filter, size_t buffer) {
  int16_t active = 0, access = 0;
  std::vector<Row> rows;
  EXPECT_EQ(api().EsbGetFilter(context, app, db, filter, active, access), 0);
  std::vector<char> text(buffer);
  for (int guard = 0; guard < 10000; ++guard) {
    int16_t rowAccess = -1;
    const int32_t status = api().EsbGetFilterRow(context, text, rowAccess);
    EXPECT_EQ(status, 0);
    if (status != 0 || text[0] == '\0') break;
    rows.push_back({rowAccess, text.data()});
  }
  return rows;
}

void Conformance::Write(essbase::Handle context, const char* app, const char* db,
                        const char* filter, const std::vector<Row>& rows) {
  ASSERT_EQ(api().EsbSetFilter(context, app, db, filter, 1, essbase::FilterAccess), 0);
  for (const Row& r : rows) ASSERT_EQ(api().EsbSetFilterRow(context, r.text.c_str(), r.access), 0);
  ASSERT_EQ(api().EsbSetFilterRow(context, nullptr, essbase::FilterAccess), 0);
}

std::string FieldText(const std::string& field) {
  return field.substr(0, field.find('\0'));
}

}  // namespace simtest
