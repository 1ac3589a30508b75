// Filters over REST: listing with rows read ahead, reading, writing whole
// definitions, deleting.
#include <cstring>
#include <set>

#include "essbase/Latin1.h"
#include "essbase/rest/RestApi.h"
#include "essbase/rest/RestJson.h"
#include "essbase/rest/RestOutcome.h"
#include "essbase/rest/RestPaths.h"
#include "essbase/rest/RestSession.h"
#include "essbase/rest/RestStatus.h"
#include "essbase/rest/WireMapping.h"

namespace essbase::rest {

namespace {

std::string Named(const std::string& filter) {
  return "filter \"" + Latin1ToUtf8(filter) + "\": ";
}

// The rows of one filter from the answer to its rows request.
FilterRows RowsFromAnswer(const std::string& filter, const HttpResponse& r) {
  FilterRows out;
  Outcome o = Judge(r, false);
  std::vector<WireRow> wire;
  std::string why;
  if (o.status == 0 && !ParseRowList(r.body, wire, why)) o = {RestStatusBadAnswer, why};
  if (o.status != 0) {
    out.status = o.status;
    out.text = Named(filter) + o.text;
    return out;
  }
  return ToCallerRows(filter, wire);
}

// Failures of Get Filter that say nothing about whether the filter exists.
bool DecidesNothing(const HttpResponse& r, const Outcome& o) {
  return r.transport != Transport::Ok || r.code == 401 || r.code >= 500 ||
         o.status == ESB_STS_UNKNOWN_APPLICATION || o.status == ESB_STS_UNKNOWN_DATABASE ||
         o.status == ESB_STS_BAD_NAME || o.status == RestStatusRedirect;
}

}  // namespace

int32_t RestApi::EsbListFilters(Handle context, const char* application, const char* database,
                                int16_t& count) {
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  std::string app, db, body, why;
  if (int32_t status = NameArgument(application, ApplicationNameWidth, app)) return status;
  if (int32_t status = NameArgument(database, ESB_DBNAME_WIDTH, db)) return status;
  if (int32_t status = Call(*s, "GET", FiltersUrl(s->base(), app, db), body)) return status;
  NameList list;
  if (!ParseNameList(body, list, why))
    return Fail(*s, {RestStatusBadAnswer, "the filter list: " + why});
  if (list.names.size() > MaxListing)
    return Fail(*s, {ESB_STS_TOO_MANY_ITEMS, "more than 32767 filters"});

  std::vector<Item> items;
  std::vector<std::string> names, urls;
  for (const auto& n : list.names) {
    items.push_back(ToItem(n, FilterNameWidth, {}, "filter"));
    const Item& item = items.back();
    if (item.status != 0) continue;
    names.emplace_back(item.field.c_str(), strnlen(item.field.data(), FilterNameWidth));
    urls.push_back(FilterUrl(s->base(), app, db, names.back()) + "/rows");
  }
  // Every filter's rows at once, several in flight: an export then costs one
  // request per filter and no waiting one after another.
  const std::vector<HttpResponse> answers = s->http().GetAll(urls);
  std::map<std::string, FilterRows> readAhead;
  for (size_t i = 0; i < names.size(); ++i)
    readAhead[names[i]] = RowsFromAnswer(names[i], answers[i]);
  s->SetFilterListing(app, db, std::set<std::string>(names.begin(), names.end()),
                      std::move(readAhead));
  count = static_cast<int16_t>(items.size());
  s->StartListing(ItemFilterName, std::move(items));
  return 0;
}

int32_t RestApi::EsbGetFilter(Handle context, const char* application, const char* database,
                              const char* filter, int16_t& active, int16_t& access) {
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  s->CloseRows();
  std::string app, db, name;
  if (int32_t status = NameArgument(application, ApplicationNameWidth, app)) return status;
  if (int32_t status = NameArgument(database, ESB_DBNAME_WIDTH, db)) return status;
  if (int32_t status = NameArgument(filter, FilterNameWidth, name)) return status;
  std::optional<FilterRows> rows = s->TakeReadAhead(app, db, name);
  if (!rows)
    rows = RowsFromAnswer(
        name, s->http().Send({"GET", FilterUrl(s->base(), app, db, name) + "/rows", {}}));
  if (rows->status != 0) return Fail(*s, {rows->status, rows->text});
  s->OpenRows(std::move(rows->rows));
  active = FilterActive;
  access = FilterAccess;
  return 0;
}

int32_t RestApi::EsbGetFilterRow(Handle context, std::span<char> row, int16_t& access) {
  if (row.empty()) return ESB_STS_BUFFER_TOO_SMALL;
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  return s->NextRow(row, access);
}

int32_t RestApi::EsbSetFilter(Handle context, const char* application, const char* database,
                              const char* filter, int16_t /*active*/, int16_t /*access*/) {
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  // A new definition replaces one left open: the old one is never sent.
  s->definition = {};
  Definition d;
  if (int32_t status = NameArgument(application, ApplicationNameWidth, d.app)) return status;
  if (int32_t status = NameArgument(database, ESB_DBNAME_WIDTH, d.db)) return status;
  if (int32_t status = NameArgument(filter, FilterNameWidth, d.filter)) return status;
  if (std::optional<bool> listed = s->Listed(d.app, d.db, d.filter)) {
    d.exists = *listed;
  } else {
    // Not listed in this login: one Get Filter tells update from create and
    // checks the application and database on the way.
    HttpResponse r = s->http().Send({"GET", FilterUrl(s->base(), d.app, d.db, d.filter), {}});
    const Outcome o = Judge(r, false);
    if (o.status != 0 && DecidesNothing(r, o)) return Fail(*s, o);
    d.exists = o.status == 0;
  }
  d.open = true;
  s->definition = std::move(d);
  return 0;
}

int32_t RestApi::EsbSetFilterRow(Handle context, const char* row, int16_t access) {
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  if (!row) return s->definition.open ? SendDefinition(*s) : 0;
  if (!s->definition.open) return ESB_STS_ROWS_NOT_OPEN;
  WireRow wire;
  std::string why;
  if (int32_t status = ToWireRow(row, access, wire, why)) return Fail(*s, {status, why});
  s->definition.rows.push_back(std::move(wire));
  return 0;
}

int32_t RestApi::SendDefinition(RestSession& s) {
  const Definition d = std::move(s.definition);
  s.definition = {};
  const std::string payload = FilterBody(Latin1ToUtf8(d.filter), d.rows);
  if (payload.empty()) return Fail(s, {RestStatusFilterNotServed, Named(d.filter) + "not UTF-8"});
  const std::string filterUrl = FilterUrl(s.base(), d.app, d.db, d.filter);
  HttpResponse r;
  Outcome o{ESB_STS_UNKNOWN_FILTER, {}};
  if (d.exists) {
    r = s.http().Send({"PUT", filterUrl, payload});
    o = Judge(r, false);
  }
  // Created when it was not there, or when it went away since the listing.
  if (o.status == ESB_STS_UNKNOWN_FILTER) {
    r = s.http().Send({"POST", FiltersUrl(s.base(), d.app, d.db), payload});
    o = Judge(r, false);
  }
  if (o.status != 0) return Fail(s, {o.status, Named(d.filter) + o.text});
  s.FilterWritten(d.app, d.db, d.filter);
  std::string name, why;
  std::vector<WireRow> echoed;
  if (!r.body.empty() && !ParseFilter(r.body, name, echoed, why))
    return Fail(s, {RestStatusBadAnswer, Named(d.filter) + "sent, but the answer: " + why});
  return 0;
}

int32_t RestApi::EsbDeleteFilter(Handle context, const char* application, const char* database,
                                 const char* filter) {
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  std::string app, db, name, body;
  if (int32_t status = NameArgument(application, ApplicationNameWidth, app)) return status;
  if (int32_t status = NameArgument(database, ESB_DBNAME_WIDTH, db)) return status;
  if (int32_t status = NameArgument(filter, FilterNameWidth, name)) return status;
  const int32_t status = Call(*s, "DELETE", FilterUrl(s->base(), app, db, name), body);
  if (status == 0) s->FilterDeleted(app, db, name);
  return status;
}

}  // namespace essbase::rest
