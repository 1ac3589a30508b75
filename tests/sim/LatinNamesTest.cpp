// The library face over a Unicode store: a listed name its Latin-1 field
// cannot hold is refused item by item, the listing going on, with nothing
// cut or stood in for; names passed in stay within the fields.
#include <cstring>

#include "tests/sim/ConformanceFixture.h"

namespace simtest {
namespace {

using namespace essbase;

const std::string kTokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";                 // 東京
const std::string k31 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234";               // 31 characters
const std::string k30Latin = "R\xC3\xA9gion_Sales_Managers_Europe_1";  // 30, with é
const std::string k30Euro = "Budget_in_Euro_only_up_to_one\xE2\x82\xAC";  // 30, with €

const std::string kUnicode =
    "server\tsrv\n"
    "user\tu\tpw\t275\n"
    "user\tj\xC3\xBCrgen\tp\xC3\xA4ss\t275\n"
    "app\tSample\tloaded\n"
    "db\tSample\tBasic\n"
    "filter\tSample\tBasic\tFits\t1\t375\n"
    "filter\tSample\tBasic\t" + kTokyo + "\t1\t375\n"
    "filter\tSample\tBasic\t" + k31 + "\t1\t375\n"
    "filter\tSample\tBasic\tR\xC3\xA9gion\t1\t375\n"
    "filter\tSample\tBasic\t" + k30Latin + "\t1\t375\n"
    "filter\tSample\tBasic\t" + k30Euro + "\t1\t375\n"
    "app\tApplicat9\tloaded\n"
    "app\tCaf\xC3\xA9\tloaded\n"
    "db\tCaf\xC3\xA9\tDatabase9\n"
    "db\tCaf\xC3\xA9\tPr\xC3\xAAt\n"
    "db\tCaf\xC3\xA9\t\xE2\x82\xACuro\n"
    "app\t" + kTokyo + "\tloaded\n"
    "app\tFULLNAM8\tunloaded\n";

struct Got {
  int32_t status;
  std::string field;
  bool operator==(const Got&) const = default;
};

void PrintTo(const Got& g, std::ostream* os) {
  *os << g.status << " \"" << g.field << "\"";
}

std::string Field(const std::string& text, size_t width) {
  std::string f(width, '\0');
  std::memcpy(f.data(), text.data(), text.size());
  return f;
}

// A refused item leaves the buffer as it was.
Got Untouched(size_t width) {
  return {ESB_STS_NAME_NOT_HELD, std::string(width, '#')};
}

class LatinNames : public Conformance {
 protected:
  void SetUp() override {
    Conformance::SetUp();
    store_.Load(kUnicode);
  }
  std::vector<Got> Walk(Handle c, int16_t kind, int16_t count) {
    std::vector<Got> got;
    for (int16_t i = 0; i < count; ++i) {
      std::string buffer(static_cast<size_t>(ItemWidth(kind)), '#');
      const int32_t status = api().EsbGetNextItem(c, kind, buffer);
      got.push_back({status, buffer});
    }
    return got;
  }
};

TEST_P(LatinNames, FilterListingGivesWhatFitsAndRefusesTheRestInOrder) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListFilters(c, "Sample", "Basic", count), 0);
  ASSERT_EQ(count, 6);
  EXPECT_EQ(Walk(c, ItemFilterName, count),
            (std::vector<Got>{{0, Field("Fits", 30)},
                              Untouched(30),
                              Untouched(30),
                              {0, Field("R\xE9gion", 30)},
                              {0, "R\xE9gion_Sales_Managers_Europe_1"},
                              Untouched(30)}));
  std::string after(30, '#');
  EXPECT_EQ(api().EsbGetNextItem(c, ItemFilterName, after), ESB_STS_NO_ITEM_PENDING);
}

TEST_P(LatinNames, ApplicationListingGivesWhatFitsAndRefusesTheRestInOrder) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListApplications(c, count), 0);
  ASSERT_EQ(count, 5);
  EXPECT_EQ(Walk(c, ItemApplicationName, count),
            (std::vector<Got>{{0, Field("Sample", 8)},
                              Untouched(8),
                              {0, Field("Caf\xE9", 8)},
                              Untouched(8),
                              {0, "FULLNAM8"}}));
}

TEST_P(LatinNames, DatabaseListingGivesWhatFitsAndRefusesTheRestInOrder) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListDatabases(c, "Caf\xE9", count), 0);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(Walk(c, ItemDatabaseName, count),
            (std::vector<Got>{
                Untouched(16), {0, Field("Caf\xE9", 8) + Field("Pr\xEAt", 8)}, Untouched(16)}));
}

// The last item refused still ends the listing.
TEST_P(LatinNames, RefusedLastItemEndsTheListing) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListDatabases(c, "Caf\xE9", count), 0);
  Walk(c, ItemDatabaseName, count);
  std::string buffer(16, '#');
  EXPECT_EQ(api().EsbGetNextItem(c, ItemDatabaseName, buffer), ESB_STS_NO_ITEM_PENDING);
}

// A refused item is no success: a fault after two successes fires at the
// fifth call, the second and third having been refused.
TEST_P(LatinNames, RefusedItemsDoNotCountForFaults) {
  store_.Load(kUnicode + "fault\tEsbGetNextItem\t1030030\t2\t1\n");
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListFilters(c, "Sample", "Basic", count), 0);
  std::vector<int32_t> statuses;
  for (const Got& g : Walk(c, ItemFilterName, count)) statuses.push_back(g.status);
  EXPECT_EQ(statuses, (std::vector<int32_t>{0, ESB_STS_NAME_NOT_HELD, ESB_STS_NAME_NOT_HELD, 0,
                                            1030030, 0}));
}

TEST_P(LatinNames, NamesLongerThanTheFieldsStayRefusedOnTheWayIn) {
  Handle c = Connect();
  int16_t count = -1, active, access;
  EXPECT_EQ(api().EsbListDatabases(c, "Applicat9", count), ESB_STS_BAD_NAME);
  EXPECT_EQ(api().EsbListFilters(c, "Caf\xE9", "Database9", count), ESB_STS_BAD_NAME);
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", k31.c_str(), active, access),
            ESB_STS_BAD_NAME);
  EXPECT_EQ(api().EsbDeleteFilter(c, "Sample", "Basic", k31.c_str()), ESB_STS_BAD_NAME);
}

TEST_P(LatinNames, Latin1NamesFindTheirUtf8Objects) {
  Handle c = Connect();
  int16_t count = -1, active = -1, access = -1;
  ASSERT_EQ(api().EsbListFilters(c, "Caf\xE9", "Pr\xEAt", count), 0);
  EXPECT_EQ(count, 0);
  ASSERT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "R\xE9gion", active, access), 0);
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "R\xC9gion", active, access),
            ESB_STS_UNKNOWN_FILTER);
  EXPECT_EQ(api().EsbLogin(Init(), "srv", "j\xFCrgen", "p\xE4ss", count, c), 0);
}

TEST_P(LatinNames, Latin1NameWrittenIsStoredAsUtf8) {
  Handle c = Connect();
  Write(c, "Caf\xE9", "Pr\xEAt", "Z\xFCrich", {{273, "\"M\xFCnchen\""}});
  EXPECT_NE(store_.Dump().find("db\tCaf\xC3\xA9\tPr\xC3\xAAt\nfilter\tCaf\xC3\xA9\tPr\xC3\xAAt\t"
                               "Z\xC3\xBCrich\t1\t375\nrow\t273\t\"M\xC3\xBCnchen\"\n"),
            std::string::npos)
      << store_.Dump();
  EXPECT_EQ(FilterNames(c, "Caf\xE9", "Pr\xEAt"), std::vector<std::string>{"Z\xFCrich"});
}

int32_t RecordServer(void* seen, char* server, char*, char*) {
  *static_cast<std::string*>(seen) = server;
  std::strcpy(server, "elsewhere");
  return 0;
}

// The login prompt is offered no server name rather than a cut or altered one.
TEST_P(LatinNames, ServerNameOutsideLatin1IsNotOffered) {
  store_.Load("server\t" + kTokyo + "\nuser\tu\tpw\t275\n");
  std::string seen = "(not called)";
  ASSERT_TRUE(api().SetLoginPrompt(&RecordServer, &seen));
  char server[31] = {}, user[31] = "u", password[101] = "pw", app[9], db[9];
  int16_t access = 0;
  Handle c = 0;
  EXPECT_EQ(api().EsbAutoLogin(Init(), server, user, password, app, db, 2, access, c),
            ESB_STS_UNKNOWN_SERVER);
  EXPECT_EQ(seen, "");
  EXPECT_EQ(std::string(server), "elsewhere");
}

// A server renamed under a live login: the record's server field cannot
// hold the new name, and the record is left as it was.
TEST_P(LatinNames, ApplicationInfoWithAServerNameOutsideLatin1IsRefused) {
  Handle c = Connect();
  store_.Load("server\t" + kTokyo + "\nuser\tu\tpw\t275\napp\tSample\tloaded\n");
  std::vector<uint8_t> record(52, 0xAA);
  int16_t databases = -1;
  EXPECT_EQ(api().EsbGetApplicationInfo(c, "Sample", record, databases), ESB_STS_NAME_NOT_HELD);
  EXPECT_EQ(record, std::vector<uint8_t>(52, 0xAA));
  EXPECT_EQ(databases, -1);
  store_.Load("server\tsrv\nuser\tu\tpw\t275\napp\tSample\tloaded\n");
  EXPECT_EQ(api().EsbGetApplicationInfo(c, "Sample", record, databases), 0);
  EXPECT_EQ(databases, 0);
}

SIM_EVERY_WAY(LatinNames);

}  // namespace
}  // namespace simtest
