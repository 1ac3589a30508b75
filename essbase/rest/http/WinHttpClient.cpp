// The HTTP layer over WinHTTP (Windows): the client and its channels. The
// requests themselves run asynchronously in WinHttpExchange.cpp; a channel
// waits for their completions and holds the whole-request timeout itself,
// since WinHTTP's timeouts are per step.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "essbase/rest/http/HttpClient.h"
#include "essbase/rest/http/HttpSettings.h"
#include "essbase/rest/http/WinHttpExchange.h"
#include "platform/win32/WideText.h"

namespace essbase::rest::http {

namespace {

using Clock = std::chrono::steady_clock;

// The environment in UTF-8: getenv would give the ANSI code page's bytes.
std::string Environment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value ? platform::win32::Narrow(value) : std::string();
}

std::string Base64(const std::string& bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t v = 0;
    for (size_t k = 0; k < 3; ++k)
      v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (size_t k = 0; k < 4; ++k) out += k <= n ? kDigits[(v >> (18 - 6 * k)) & 0x3F] : '=';
  }
  return out;
}

class WinHttpClient;

class WinHttpChannel final : public Channel {
 public:
  explicit WinHttpChannel(WinHttpClient& client)
      : client_(client), outbox_(std::make_shared<Outbox>()) {}
  ~WinHttpChannel() override { CancelAll(); }
  void Start(uint64_t tag, Request request) override;
  size_t InFlight() const override { return inFlight_.size(); }
  std::optional<Completion> Next() override;
  void CancelAll() override;

 private:
  bool Vouched(const Request& request, uint64_t tag);
  void Forget(uint64_t serial) {
    std::erase_if(inFlight_, [&](const auto& ex) { return ex->serial == serial; });
  }
  WinHttpClient& client_;
  std::shared_ptr<Outbox> outbox_;
  std::vector<std::shared_ptr<Exchange>> inFlight_;
  std::vector<Completion> failedAtStart_;
  uint64_t serial_ = 0;
};

class WinHttpClient final : public Client {
 public:
  WinHttpClient() {
    const std::string seconds = Environment(L"QUORVEL_HTTP_TIMEOUT");
    timeout_ = http::TimeoutSeconds(seconds.c_str());
    const std::string path = Environment(L"QUORVEL_CA_FILE");
    const CaFile ca = ReadCaFile(path.c_str());
    setupFailure_ = ca.failure;
    if (!ca.pem.empty()) {
      auto authority = std::make_shared<PrivateAuthority>();
      std::string why;
      if (authority->Load(ca.pem, why))
        authority_ = std::move(authority);
      else
        setupFailure_ = "QUORVEL_CA_FILE \"" + ca.path + "\" " + why;
    }
    session_ = OpenWinHttpSession();
    if (!session_ && setupFailure_.empty()) setupFailure_ = "WinHTTP could not be set up";
  }

  void NewLogin(const std::string& user, const std::string& password) override {
    authorization_ =
        L"Authorization: Basic " + platform::win32::Widen(Base64(user + ":" + password));
    // A session of its own: the previous login's cookies go with the old one,
    // once its requests are done.
    session_ = OpenWinHttpSession();
    if (!session_ && setupFailure_.empty()) setupFailure_ = "WinHTTP could not be set up";
  }

  bool HoldsCookie() override { return session_ && session_->cookieSet; }

  // Whether a request with the login's credentials must wait for the private
  // authority's word on its server: Windows stops a request the check fails
  // in time, Wine does not, so the first request to each server goes bare.
  bool MustVouchFor(const std::string& origin) const {
    return authority_ && session_ && !session_->vouched.contains(origin);
  }
  void Vouch(const std::string& origin) {
    if (session_) session_->vouched.insert(origin);
  }
  long TimeoutSeconds() const override { return timeout_; }
  std::unique_ptr<Channel> OpenChannel() override {
    return std::make_unique<WinHttpChannel>(*this);
  }

  // The exchange of one request; false with why when it cannot be made.
  bool Prepare(Exchange& ex, Request& r, std::string& why) const {
    if (!setupFailure_.empty() || !session_) {
      why = setupFailure_.empty() ? "WinHTTP could not be set up" : setupFailure_;
      return false;
    }
    ex.deadline = Clock::now() + std::chrono::seconds(timeout_);
    ex.session = session_;
    ex.authority = authority_;
    ex.url = std::move(r.url);
    ex.body = std::move(r.body);
    ex.headers = L"Accept: application/json\r\n";
    if (!ex.body.empty()) ex.headers += L"Content-Type: application/json\r\n";
    if (r.basic) ex.headers += authorization_ + L"\r\n";
    return true;
  }

 private:
  long timeout_ = DefaultTimeoutSeconds;
  std::string setupFailure_;
  std::shared_ptr<const PrivateAuthority> authority_;
  std::shared_ptr<WinHttpSession> session_;
  std::wstring authorization_ = L"Authorization: Basic " + platform::win32::Widen(Base64(":"));
};

// "https://host:port" of a URL.
std::string OriginOf(const std::string& url) {
  const size_t host = url.find("://");
  return url.substr(0, host == std::string::npos ? 0 : url.find('/', host + 3));
}

// A request without credentials or body to the same URL, and the private
// authority's check on its way: false with the request's completion queued
// when the server is not to be trusted with the login, or gave no answer.
bool WinHttpChannel::Vouched(const Request& request, uint64_t tag) {
  const std::string origin = OriginOf(request.url);
  if (!request.basic || !client_.MustVouchFor(origin)) return true;
  auto probe = std::make_shared<Exchange>();
  probe->tag = tag;
  probe->outbox = std::make_shared<Outbox>();
  Request bare;
  bare.url = request.url;
  std::string why;
  if (!client_.Prepare(*probe, bare, why)) return true;  // the request itself fails alike
  Launch(probe, Method::Get, client_.TimeoutSeconds());
  Completion c;
  c.tag = tag;
  {
    std::unique_lock<std::mutex> lock(probe->outbox->mutex);
    probe->outbox->ready.wait_until(lock, probe->deadline,
                                    [&] { return !probe->outbox->done.empty(); });
    if (!probe->outbox->done.empty()) c.response = std::move(probe->outbox->done.front().second.response);
  }
  if (c.response.reach == Reach::Answered) {
    client_.Vouch(origin);
    return true;
  }
  {
    std::lock_guard<std::recursive_mutex> hold(probe->mutex);
    if (!probe->over) {
      c.response.reach = Reach::TimedOut;
      c.response.error =
          "no whole answer within " + std::to_string(client_.TimeoutSeconds()) + " s";
    }
    Abandon(*probe);
  }
  // The request itself never left.
  c.response.sent = false;
  failedAtStart_.push_back(std::move(c));
  return false;
}

void WinHttpChannel::Start(uint64_t tag, Request request) {
  const Method method = request.method;
  if (!Vouched(request, tag)) return;
  auto ex = std::make_shared<Exchange>();
  ex->serial = ++serial_;
  ex->tag = tag;
  ex->outbox = outbox_;
  std::string why;
  if (!client_.Prepare(*ex, request, why)) {
    Completion c;
    c.tag = tag;
    c.response.reach = Reach::Setup;
    c.response.error = why;
    failedAtStart_.push_back(std::move(c));
    return;
  }
  inFlight_.push_back(ex);
  Launch(ex, method, client_.TimeoutSeconds());
}

std::optional<Completion> WinHttpChannel::Next() {
  if (!failedAtStart_.empty()) {
    Completion c = std::move(failedAtStart_.front());
    failedAtStart_.erase(failedAtStart_.begin());
    return c;
  }
  while (!inFlight_.empty()) {
    std::unique_lock<std::mutex> lock(outbox_->mutex);
    if (!outbox_->done.empty()) {
      auto [serial, c] = std::move(outbox_->done.front());
      outbox_->done.pop_front();
      lock.unlock();
      Forget(serial);
      return std::move(c);
    }
    const auto first = std::min_element(inFlight_.begin(), inFlight_.end(),
                                        [](auto& a, auto& b) { return a->deadline < b->deadline; });
    const std::shared_ptr<Exchange> ex = *first;
    if (Clock::now() < ex->deadline) {
      outbox_->ready.wait_until(lock, ex->deadline);
      continue;
    }
    lock.unlock();
    Completion c;
    c.tag = ex->tag;
    {
      std::lock_guard<std::recursive_mutex> hold(ex->mutex);
      if (ex->over) continue;  // its answer came meanwhile: it is queued
      c.response.reach = Reach::TimedOut;
      c.response.sent = ex->connected;
      c.response.error =
          "no whole answer within " + std::to_string(client_.TimeoutSeconds()) + " s";
      Abandon(*ex);
    }
    Forget(ex->serial);
    return c;
  }
  return std::nullopt;
}

void WinHttpChannel::CancelAll() {
  for (const auto& ex : inFlight_) {
    std::lock_guard<std::recursive_mutex> hold(ex->mutex);
    Abandon(*ex);
  }
  inFlight_.clear();
  failedAtStart_.clear();
  std::lock_guard<std::mutex> lock(outbox_->mutex);
  outbox_->done.clear();
}

}  // namespace

std::unique_ptr<Client> MakeClient() {
  return std::make_unique<WinHttpClient>();
}

}  // namespace essbase::rest::http
