#pragma once
// The run log holds single-byte text, as it always has: a text of the
// programs (UTF-8) goes into it as Latin-1 where every character fits, and
// as it is otherwise. Paths and the command line are written as the system
// gave them.
#include <string>
#include <string_view>

namespace cli {

std::string Text(std::string_view utf8);

// An argument as the programs hold texts: UTF-8 when it is UTF-8, else
// single bytes read as Latin-1.
std::string ArgumentText(std::string_view bytes);

}  // namespace cli
