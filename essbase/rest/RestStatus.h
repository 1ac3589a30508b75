#pragma once
// Statuses of the REST backend's own failures, in a range no ESB_STS_* and
// no server status uses. Where the server's answer names an Essbase status,
// that status is returned instead, so that faults map back to the statuses the
// library path gives. FailureText tells the details.
#include <cstdint>

namespace essbase::rest {

constexpr int32_t RestStatusConnect = 1079001;          // no connection (host, port, proxy, reset)
constexpr int32_t RestStatusTimeout = 1079002;          // no answer in time
constexpr int32_t RestStatusTls = 1079003;              // TLS handshake or certificate refused
constexpr int32_t RestStatusRedirect = 1079004;         // a 3xx answer: redirects are not followed
constexpr int32_t RestStatusTooLarge = 1079005;         // answer over the size cap
constexpr int32_t RestStatusHttp = 1079006;             // HTTP failure naming no Essbase status
constexpr int32_t RestStatusBadAnswer = 1079007;        // answer is not the JSON the call expects
constexpr int32_t RestStatusNameNotServed = 1079008;    // listed name too long or not Latin-1
constexpr int32_t RestStatusFilterNotServed = 1079009;  // rows the C ABI cannot carry
constexpr int32_t RestStatusNoAccessWord = 1079010;     // access code the REST API has no word for
constexpr int32_t RestStatusSetup = 1079011;            // client set-up failed (curl, CA file)
constexpr int32_t RestStatusTransfer = 1079012;         // any other transfer failure

}  // namespace essbase::rest
