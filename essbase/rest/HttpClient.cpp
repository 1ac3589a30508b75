#include "essbase/rest/HttpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace essbase::rest {

namespace {

constexpr long kConnectTimeoutSeconds = 15;
constexpr long kDefaultTimeoutSeconds = 120;
constexpr const char* kSystemBundle = "/etc/ssl/certs/ca-certificates.crt";

long RequestTimeout() {
  const char* text = std::getenv("QUORVEL_HTTP_TIMEOUT");
  if (!text || !*text) return kDefaultTimeoutSeconds;
  char* end = nullptr;
  const long seconds = std::strtol(text, &end, 10);
  return *end == '\0' && seconds > 0 ? seconds : kDefaultTimeoutSeconds;
}

bool ReadWhole(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  out = s.str();
  return !in.bad();
}

void InitCurlOnce() {
  static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)done;
}

struct Transfer {
  CURL* easy = nullptr;
  std::string body;
  bool tooLarge = false;
  char error[CURL_ERROR_SIZE] = {};
  size_t index = 0;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (t->body.size() + bytes > MaxAnswerBytes) {
    t->tooLarge = true;
    return 0;  // curl ends the transfer with a write error
  }
  t->body.append(data, bytes);
  return bytes;
}

Transport Classify(CURLcode code, bool tooLarge) {
  switch (code) {
    case CURLE_OPERATION_TIMEDOUT: return Transport::Timeout;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_USE_SSL_FAILED: return Transport::Tls;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE: return Transport::Connect;
    case CURLE_FILESIZE_EXCEEDED: return Transport::TooLarge;
    case CURLE_WRITE_ERROR: return tooLarge ? Transport::TooLarge : Transport::Failed;
    default: return Transport::Failed;
  }
}

}  // namespace

struct HttpClient::Impl {
  std::string user, password;
  long timeout = kDefaultTimeoutSeconds;
  std::string caBlob;  // the system's CAs and the private one; empty: curl's own store
  std::string setupError;
  CURLM* multi = nullptr;
  curl_slist* headers = nullptr;
  std::vector<std::unique_ptr<Transfer>> pool;  // pool[0] also serves single requests

  Transfer* Slot(size_t i);
  void Prepare(Transfer& t, const HttpRequest& r);
  HttpResponse Finish(Transfer& t, CURLcode code);
  std::vector<HttpResponse> Run(const std::vector<const HttpRequest*>& requests);
};

Transfer* HttpClient::Impl::Slot(size_t i) {
  while (pool.size() <= i) {
    auto t = std::make_unique<Transfer>();
    t->easy = curl_easy_init();
    if (!t->easy) return nullptr;
    CURL* e = t->easy;
    curl_easy_setopt(e, CURLOPT_PRIVATE, t.get());
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, t.get());
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t->error);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(e, CURLOPT_TIMEOUT, timeout);
    curl_easy_setopt(e, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caBlob.empty()) {
      curl_blob blob{caBlob.data(), caBlob.size(), CURL_BLOB_COPY};
      curl_easy_setopt(e, CURLOPT_CAINFO_BLOB, &blob);
    }
    // A redirect could carry the credentials to another host: never follow one.
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(e, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
    curl_easy_setopt(e, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(e, CURLOPT_PASSWORD, password.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(MaxAnswerBytes));
    pool.push_back(std::move(t));
  }
  return pool[i].get();
}

void HttpClient::Impl::Prepare(Transfer& t, const HttpRequest& r) {
  t.body.clear();
  t.tooLarge = false;
  t.error[0] = '\0';
  CURL* e = t.easy;
  curl_easy_setopt(e, CURLOPT_URL, r.url.c_str());
  curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, nullptr);
  if (r.method != "GET") {
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(r.body.size()));
    curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, r.body.c_str());
    curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, r.method.c_str());
  }
}

HttpResponse HttpClient::Impl::Finish(Transfer& t, CURLcode code) {
  HttpResponse r;
  if (code != CURLE_OK) {
    r.transport = Classify(code, t.tooLarge);
    const std::string detail = t.error[0] ? t.error : curl_easy_strerror(code);
    switch (r.transport) {
      case Transport::Timeout:
        r.error = "timeout: no answer within " + std::to_string(timeout) + " s (" + detail + ")";
        break;
      case Transport::Tls: r.error = "TLS/certificate failure: " + detail; break;
      case Transport::Connect: r.error = "no connection: " + detail; break;
      case Transport::TooLarge:
        r.error = "answer larger than " + std::to_string(MaxAnswerBytes >> 20) + " MiB: cut off";
        break;
      default: r.error = "transfer failed: " + detail; break;
    }
    t.body.clear();
    return r;
  }
  curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &r.code);
  if (r.code >= 300 && r.code < 400) {
    char* location = nullptr;
    curl_easy_getinfo(t.easy, CURLINFO_REDIRECT_URL, &location);
    if (location) r.location = location;
  }
  r.body.swap(t.body);
  t.body.clear();
  return r;
}

std::vector<HttpResponse> HttpClient::Impl::Run(const std::vector<const HttpRequest*>& requests) {
  std::vector<HttpResponse> out(requests.size());
  std::vector<Transfer*> idle;
  const size_t slots = std::min(MaxGetsInFlight, requests.size());
  for (size_t i = 0; i < slots && setupError.empty(); ++i) {
    Transfer* t = Slot(i);
    if (!t) setupError = "curl could not be set up";
    idle.push_back(t);
  }
  if (!setupError.empty()) {
    for (auto& r : out) r = {Transport::Setup, setupError, 0, {}, {}};
    return out;
  }
  std::vector<bool> done(requests.size(), false);
  size_t next = 0, running = 0;
  while (next < requests.size() || running > 0) {
    while (!idle.empty() && next < requests.size()) {
      Transfer* t = idle.back();
      idle.pop_back();
      t->index = next;
      Prepare(*t, *requests[next++]);
      curl_multi_add_handle(multi, t->easy);
      ++running;
    }
    int still = 0;
    if (curl_multi_perform(multi, &still) != CURLM_OK) break;
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
      if (msg->msg != CURLMSG_DONE) continue;
      CURL* easy = msg->easy_handle;
      const CURLcode result = msg->data.result;
      char* data = nullptr;
      curl_easy_getinfo(easy, CURLINFO_PRIVATE, &data);
      auto* t = reinterpret_cast<Transfer*>(data);
      curl_multi_remove_handle(multi, easy);
      out[t->index] = Finish(*t, result);
      done[t->index] = true;
      --running;
      idle.push_back(t);
    }
    if (running > 0) curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
  }
  // Only a broken multi handle gets here with transfers left.
  for (auto& t : pool) curl_multi_remove_handle(multi, t->easy);
  for (size_t i = 0; i < requests.size(); ++i)
    if (!done[i]) out[i] = {Transport::Failed, "transfer failed: curl multi interface", 0, {}, {}};
  return out;
}

HttpClient::HttpClient(std::string user, std::string password) : impl_(std::make_unique<Impl>()) {
  InitCurlOnce();
  Impl& i = *impl_;
  i.user = std::move(user);
  i.password = std::move(password);
  i.timeout = RequestTimeout();
  const char* ca = std::getenv("QUORVEL_CA_FILE");
  if (ca && *ca) {
    std::string extra, system;
    if (!ReadWhole(ca, extra)) {
      i.setupError = std::string("QUORVEL_CA_FILE ") + ca + " cannot be read";
    } else {
      // The private CA comes on top of the system's, never instead of it.
      if (ReadWhole(kSystemBundle, system)) i.caBlob = system + "\n";
      i.caBlob += extra;
    }
  }
  i.multi = curl_multi_init();
  if (!i.multi) {
    i.setupError = "curl could not be set up";
    return;
  }
  curl_multi_setopt(i.multi, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(MaxGetsInFlight));
  curl_multi_setopt(i.multi, CURLMOPT_MAXCONNECTS, static_cast<long>(MaxGetsInFlight));
  i.headers = curl_slist_append(i.headers, "Accept: application/json");
  i.headers = curl_slist_append(i.headers, "Content-Type: application/json");
}

HttpClient::~HttpClient() {
  Impl& i = *impl_;
  for (auto& t : i.pool) curl_easy_cleanup(t->easy);
  if (i.multi) curl_multi_cleanup(i.multi);
  curl_slist_free_all(i.headers);
}

HttpResponse HttpClient::Send(const HttpRequest& request) {
  return impl_->Run({&request}).front();
}

std::vector<HttpResponse> HttpClient::GetAll(const std::vector<std::string>& urls) {
  std::vector<HttpRequest> requests(urls.size());
  std::vector<const HttpRequest*> pointers;
  for (size_t i = 0; i < urls.size(); ++i) {
    requests[i].url = urls[i];
    pointers.push_back(&requests[i]);
  }
  return impl_->Run(pointers);
}

}  // namespace essbase::rest
