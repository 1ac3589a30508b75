#pragma once
// Names and row texts as the REST backend takes them from a server and gives
// them to one: UTF-8 throughout, checked at the edge, and shown in messages
// with every control character escaped, so that a hostile name can neither
// hide in a message nor act on a terminal.
#include <string>
#include <string_view>

namespace essbase::rest {

bool IsUtf8(std::string_view text);

// The text for a message: C0 controls, DEL and bytes that are not UTF-8 as
// \xNN, C1 controls as \u00NN; everything else as it is.
std::string Shown(std::string_view text);
// Shown, in double quotes.
std::string Quoted(std::string_view text);

// Why a name cannot be used (empty, not UTF-8, holding a control
// character); empty when it can.
std::string NameFault(std::string_view name);
// Why a row text cannot be used (empty, not UTF-8, holding CR, LF or NUL);
// empty when it can.
std::string RowFault(std::string_view text);

// Letter case aside, for ASCII letters.
bool EqualNoCase(std::string_view a, std::string_view b);

// The first bytes of a UTF-8 text, at most `max`, never cutting a character.
std::string Cut(std::string_view text, size_t max);

}  // namespace essbase::rest
