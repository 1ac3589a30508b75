// The HTTP layer over libcurl: the only file that includes it. One share
// handle keeps the cookies (in memory only), name lookups and TLS sessions
// of a backend; each channel runs a multi handle, taken from a pool so that
// its connections stay open for the next caller.
#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "essbase/rest/http/HttpClient.h"
#include "essbase/rest/http/HttpSettings.h"
#include "essbase/rest/http/WireUrl.h"

namespace essbase::rest::http {

namespace {

constexpr long kConnectSeconds = 15;

void InitCurlOnce() {
  static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)done;
}

// The system's authorities, as this libcurl was built to find them.
std::string SystemBundle() {
  const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
  const char* path = info && info->age >= CURLVERSION_SEVENTH && info->cainfo
                         ? info->cainfo
                         : "/etc/ssl/certs/ca-certificates.crt";
  return ReadCaFile(path).pem;
}

struct Transfer {
  CURL* easy = nullptr;
  uint64_t tag = 0;
  std::string body;
  bool tooLarge = false;
  char error[CURL_ERROR_SIZE] = {};
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

Reach ReachOf(CURLcode code, bool tooLarge) {
  switch (code) {
    case CURLE_OK: return Reach::Answered;
    case CURLE_COULDNT_CONNECT: return Reach::Refused;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return Reach::Unresolved;
    case CURLE_OPERATION_TIMEDOUT: return Reach::TimedOut;
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM: return Reach::Lost;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_USE_SSL_FAILED: return Reach::Tls;
    case CURLE_FILESIZE_EXCEEDED: return Reach::TooLarge;
    case CURLE_WRITE_ERROR: return tooLarge ? Reach::TooLarge : Reach::Failed;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
    case CURLE_OUT_OF_MEMORY: return Reach::Setup;
    default: return Reach::Failed;
  }
}

class CurlClient;

// A multi handle and its easy handles, reused from channel to channel.
struct Multi {
  CURLM* multi = nullptr;
  std::vector<std::unique_ptr<Transfer>> idle;
  std::vector<Transfer*> active;
  ~Multi() {
    for (Transfer* t : active) idle.emplace_back(t);
    for (auto& t : idle) {
      if (multi) curl_multi_remove_handle(multi, t->easy);
      curl_easy_cleanup(t->easy);
    }
    if (multi) curl_multi_cleanup(multi);
  }
};

class CurlChannel final : public Channel {
 public:
  CurlChannel(CurlClient& client, std::unique_ptr<Multi> multi)
      : client_(client), m_(std::move(multi)) {}
  ~CurlChannel() override;
  void Start(uint64_t tag, Request request) override;
  size_t InFlight() const override { return m_->active.size(); }
  std::optional<Completion> Next() override;
  void CancelAll() override;

 private:
  Completion Finish(Transfer& t, CURLcode code);
  CurlClient& client_;
  std::unique_ptr<Multi> m_;
  std::vector<Completion> failedAtStart_;
};

class CurlClient final : public Client {
 public:
  CurlClient() {
    InitCurlOnce();
    timeout_ = http::TimeoutSeconds(std::getenv("QUORVEL_HTTP_TIMEOUT"));
    const CaFile ca = ReadCaFile(std::getenv("QUORVEL_CA_FILE"));
    setupFailure_ = ca.failure;
    // The private authority comes on top of the system's, never instead.
    if (!ca.pem.empty()) caBlob_ = SystemBundle() + "\n" + ca.pem;
    share_ = curl_share_init();
    if (share_) {
      curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
      curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
      curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    }
    cookies_ = curl_easy_init();
    if (!share_ || !cookies_) {
      setupFailure_ = "libcurl could not be set up";
    } else {
      curl_easy_setopt(cookies_, CURLOPT_SHARE, share_);
      curl_easy_setopt(cookies_, CURLOPT_COOKIEFILE, "");
    }
    for (const char* h : {"Accept: application/json", "Content-Type: application/json", "Expect:"})
      withBody_ = curl_slist_append(withBody_, h);
    // curl would otherwise name a form body on a PUT without one.
    for (const char* h : {"Accept: application/json", "Content-Type:", "Expect:"})
      noBody_ = curl_slist_append(noBody_, h);
  }
  ~CurlClient() override {
    pool_.clear();
    if (cookies_) curl_easy_cleanup(cookies_);
    if (share_) curl_share_cleanup(share_);
    curl_slist_free_all(withBody_);
    curl_slist_free_all(noBody_);
  }

  void NewLogin(const std::string& user, const std::string& password) override {
    user_ = user;
    password_ = password;
    if (cookies_) curl_easy_setopt(cookies_, CURLOPT_COOKIELIST, "ALL");
  }

  bool HoldsCookie() override {
    curl_slist* list = nullptr;
    if (!cookies_ || curl_easy_getinfo(cookies_, CURLINFO_COOKIELIST, &list) != CURLE_OK)
      return false;
    const bool any = list != nullptr;
    curl_slist_free_all(list);
    return any;
  }

  long TimeoutSeconds() const override { return timeout_; }

  std::unique_ptr<Channel> OpenChannel() override {
    std::unique_ptr<Multi> m;
    if (!pool_.empty()) {
      m = std::move(pool_.back());
      pool_.pop_back();
    } else {
      m = std::make_unique<Multi>();
      m->multi = curl_multi_init();
      if (m->multi) {
        curl_multi_setopt(m->multi, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(MaxInFlight));
        curl_multi_setopt(m->multi, CURLMOPT_MAXCONNECTS, static_cast<long>(MaxInFlight));
      }
    }
    return std::make_unique<CurlChannel>(*this, std::move(m));
  }

  void Return(std::unique_ptr<Multi> m) { pool_.push_back(std::move(m)); }

  // The options of one request on a fresh (or reset) easy handle; false
  // with why when it cannot be made.
  bool Prepare(Transfer& t, const Request& r, std::string& why) {
    if (!setupFailure_.empty()) {
      why = setupFailure_;
      return false;
    }
    CURL* e = t.easy;
    curl_easy_reset(e);
    t.body.clear();
    t.tooLarge = false;
    t.error[0] = '\0';
    curl_easy_setopt(e, CURLOPT_URL, r.url.c_str());
    curl_easy_setopt(e, CURLOPT_PRIVATE, &t);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t.error);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
    curl_easy_setopt(e, CURLOPT_PIPEWAIT, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, std::min(kConnectSeconds, timeout_));
    curl_easy_setopt(e, CURLOPT_TIMEOUT, timeout_);
    curl_easy_setopt(e, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caBlob_.empty()) {
      curl_blob blob{caBlob_.data(), caBlob_.size(), CURL_BLOB_COPY};
      curl_easy_setopt(e, CURLOPT_CAINFO_BLOB, &blob);
    }
    // A redirect could carry the credentials to another host.
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(e, CURLOPT_SHARE, share_);
    curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");
    // gzip is cheap for a server to make; brotli at a server's default quality
    // made each large listing page take most of a second.
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(MaxAnswerBytes));
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, r.body.empty() ? noBody_ : withBody_);
    if (r.basic) {
      curl_easy_setopt(e, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
      curl_easy_setopt(e, CURLOPT_USERNAME, user_.c_str());
      curl_easy_setopt(e, CURLOPT_PASSWORD, password_.c_str());
    }
    switch (r.method) {
      case Method::Get: break;
      case Method::Delete: curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, "DELETE"); break;
      case Method::Post:
      case Method::Put:
        curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(r.body.size()));
        curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, r.body.c_str());
        if (r.method == Method::Put) curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, "PUT");
        break;
    }
    return true;
  }

 private:
  long timeout_ = DefaultTimeoutSeconds;
  std::string caBlob_;
  std::string setupFailure_;
  std::string user_, password_;
  CURLSH* share_ = nullptr;
  CURL* cookies_ = nullptr;  // the share's cookies are read and cleared through it
  curl_slist* withBody_ = nullptr;
  curl_slist* noBody_ = nullptr;
  std::vector<std::unique_ptr<Multi>> pool_;
};

CurlChannel::~CurlChannel() {
  CancelAll();
  client_.Return(std::move(m_));
}

void CurlChannel::Start(uint64_t tag, Request request) {
  std::unique_ptr<Transfer> t;
  if (!m_->idle.empty()) {
    t = std::move(m_->idle.back());
    m_->idle.pop_back();
  } else {
    t = std::make_unique<Transfer>();
    t->easy = curl_easy_init();
  }
  t->tag = tag;
  std::string why;
  if (!m_->multi || !t->easy) why = "libcurl could not be set up";
  if (why.empty() && client_.Prepare(*t, request, why) &&
      curl_multi_add_handle(m_->multi, t->easy) == CURLM_OK) {
    m_->active.push_back(t.release());
    return;
  }
  if (why.empty()) why = "libcurl could not start the request";
  Completion c;
  c.tag = tag;
  c.response.reach = Reach::Setup;
  c.response.error = why;
  failedAtStart_.push_back(std::move(c));
  if (t->easy) m_->idle.push_back(std::move(t));
}

Completion CurlChannel::Finish(Transfer& t, CURLcode code) {
  Completion c;
  c.tag = t.tag;
  Response& r = c.response;
  r.reach = ReachOf(code, t.tooLarge);
  curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &r.status);
  if (r.reach == Reach::Answered) {
    if (r.status >= 300 && r.status < 400) {
      char* location = nullptr;
      curl_easy_getinfo(t.easy, CURLINFO_REDIRECT_URL, &location);
      // libcurl writes the login's user and password into it.
      if (location) r.location = WithoutUserInfo(location);
    }
    r.body.swap(t.body);
  } else {
    // Once the connection stood, the request may have gone out whole.
    curl_off_t pretransfer = 0;
    curl_easy_getinfo(t.easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    r.sent = pretransfer > 0 || r.reach == Reach::TooLarge;
    r.error = t.error[0] ? t.error : curl_easy_strerror(code);
  }
  t.body = std::string();
  return c;
}

std::optional<Completion> CurlChannel::Next() {
  if (!failedAtStart_.empty()) {
    Completion c = std::move(failedAtStart_.front());
    failedAtStart_.erase(failedAtStart_.begin());
    return c;
  }
  while (!m_->active.empty()) {
    int running = 0;
    if (curl_multi_perform(m_->multi, &running) != CURLM_OK) break;
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(m_->multi, &queued)) {
      if (msg->msg != CURLMSG_DONE) continue;
      char* data = nullptr;
      curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &data);
      auto* t = reinterpret_cast<Transfer*>(data);
      const CURLcode result = msg->data.result;
      curl_multi_remove_handle(m_->multi, t->easy);
      std::erase(m_->active, t);
      m_->idle.emplace_back(t);
      return Finish(*t, result);
    }
    curl_multi_poll(m_->multi, nullptr, 0, 1000, nullptr);
  }
  if (m_->active.empty()) return std::nullopt;
  // Only a broken multi handle gets here: its transfers end as failed.
  Transfer* t = m_->active.front();
  curl_multi_remove_handle(m_->multi, t->easy);
  std::erase(m_->active, t);
  m_->idle.emplace_back(t);
  Completion c;
  c.tag = t->tag;
  c.response.reach = Reach::Failed;
  c.response.sent = true;
  c.response.error = "libcurl's multi interface failed";
  return c;
}

void CurlChannel::CancelAll() {
  for (Transfer* t : m_->active) {
    curl_multi_remove_handle(m_->multi, t->easy);
    m_->idle.emplace_back(t);
  }
  m_->active.clear();
  failedAtStart_.clear();
}

}  // namespace

std::unique_ptr<Client> MakeClient() {
  return std::make_unique<CurlClient>();
}

}  // namespace essbase::rest::http
