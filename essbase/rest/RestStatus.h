#pragma once
// Statuses of the REST backend's own failures, in a range no ESB_STS_* and
// no server status uses. Where the server's answer names an Essbase status,
// that status is returned instead, so that faults map back to the statuses
// the library path gives. The numbers are kept from release to release.
#include <cstdint>

namespace essbase::rest {

constexpr int32_t RestStatusConnect = 1079001;   // refused, host unknown, connection broken
constexpr int32_t RestStatusTimeout = 1079002;   // no answer in time
constexpr int32_t RestStatusTls = 1079003;       // TLS handshake or certificate refused
constexpr int32_t RestStatusRedirect = 1079004;  // a 3xx answer: redirects are not followed
constexpr int32_t RestStatusTooLarge = 1079005;  // answer over the size cap
constexpr int32_t RestStatusHttp = 1079006;      // HTTP failure naming no Essbase status
// An answer that is not the JSON the call expects, or list pages that do
// not add up.
constexpr int32_t RestStatusBadAnswer = 1079007;
// A listed name that is empty, not UTF-8 or holds a control character.
constexpr int32_t RestStatusNameNotServed = 1079008;
// A filter's rows the programs cannot hold: an empty row, or one with CR,
// LF or NUL.
constexpr int32_t RestStatusFilterNotServed = 1079009;
// An access code the REST API has no word for, or a word no code stands for.
constexpr int32_t RestStatusNoAccessWord = 1079010;
constexpr int32_t RestStatusSetup = 1079011;     // client set-up failed (curl, CA file)
constexpr int32_t RestStatusTransfer = 1079012;  // any other transfer failure

}  // namespace essbase::rest
