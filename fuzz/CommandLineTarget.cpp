// QuorvelCL's command-line grammar on any text: in the masked text that the
// run log shows, every password switch carries the mask or nothing, and
// masking changes no other value the grammar takes.
#include <cstdint>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Messages.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const cli::BatchArguments given = cli::ParseCommandLine(text);
  const std::string masked = cli::MaskPasswords(text);
  const cli::BatchArguments logged = cli::ParseCommandLine(masked);

  // A password that was given is never shown; one that was not (a bare -p
  // followed by words the split cut off) may show as the mask.
  if (!given.password.empty()) FUZZ_CHECK(logged.password == cli::msg::PasswordMask);
  // Each piece on its own, so that no earlier password hides behind a later switch.
  size_t from = 0;
  for (;;) {
    const size_t at = masked.find(" -", from);
    const std::string piece = masked.substr(from, at == std::string::npos ? at : at - from);
    const std::string shown = cli::ParseCommandLine(" -" + piece).password;
    FUZZ_CHECK(shown.empty() || shown == cli::msg::PasswordMask);
    if (at == std::string::npos) break;
    from = at + 2;
  }
  FUZZ_CHECK(logged.server == given.server);
  FUZZ_CHECK(logged.application == given.application);
  FUZZ_CHECK(logged.database == given.database);
  FUZZ_CHECK(logged.user == given.user);
  FUZZ_CHECK(logged.file == given.file);
  FUZZ_CHECK(logged.operation == given.operation);
  return 0;
}
