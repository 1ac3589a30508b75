// QuorvelCL's command-line grammar on any text: masking never lets a parsed
// password through, and changes no other value the grammar takes.
#include <cstdint>
#include <string>

#include "CommandLine.h"
#include "FuzzCheck.h"
#include "Messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const cli::BatchArguments given = cli::ParseCommandLine(text);
  const std::string masked = cli::MaskPasswords(text);
  const cli::BatchArguments logged = cli::ParseCommandLine(masked);

  FUZZ_CHECK(logged.password.empty() == given.password.empty());
  FUZZ_CHECK(logged.password.empty() || logged.password == cli::msg::PasswordMask);
  FUZZ_CHECK(logged.server == given.server);
  FUZZ_CHECK(logged.application == given.application);
  FUZZ_CHECK(logged.database == given.database);
  FUZZ_CHECK(logged.user == given.user);
  FUZZ_CHECK(logged.file == given.file);
  FUZZ_CHECK(logged.operation == given.operation);
  return 0;
}
