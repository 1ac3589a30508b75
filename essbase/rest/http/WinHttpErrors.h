#pragma once
// What a WinHTTP error means for a request, in the layer's terms.
#include <windows.h>

#include <string>

#include "essbase/rest/http/HttpClient.h"

namespace essbase::rest::http {

Reach ReachOfWinHttp(DWORD error);

// Windows' own words for the error, with its number.
std::string DescribeWinHttp(DWORD error);

}  // namespace essbase::rest::http
