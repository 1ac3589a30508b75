#pragma once
// The client library's texts as its face reads and gives them: Latin-1,
// names in fields of fixed widths. The store's UTF-8 is converted both ways;
// what a field cannot hold is refused, never cut or stood in for.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/SimCore.h"

namespace esbsim {

// A NUL-terminated Latin-1 argument, trailing blanks dropped, as UTF-8.
std::string LoginField(const char* text, size_t buffer);
// The same text as Latin-1, for a field the face writes back.
std::string TrimmedField(const char* text, size_t buffer);

// A name argument as UTF-8: NULL_ARGUMENT, or BAD_NAME unless 1..width
// characters without line breaks (a longer one is not read through).
int32_t NameArgument(const char* text, size_t width, std::string& utf8);

// The names of a call; the first refusal, in argument order, is kept.
Names ApplicationArgument(const char* app);
Names DatabaseArguments(const char* app, const char* db);
Names FilterArguments(const char* app, const char* db, const char* filter);

// utf8 as Latin-1 within width characters; false when it does not fit.
bool FitsField(std::string_view utf8, size_t width, std::string& latin1);

// An item into its fixed-width field (ESB_STS_NAME_NOT_HELD, writing
// nothing, when a name does not fit).
int32_t PutItem(int16_t kind, const Item& item, char* buffer);

}  // namespace esbsim
