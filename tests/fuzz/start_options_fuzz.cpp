// The start options: arguments (one a line of the input) that parse give options whose own
// arguments parse to the same options; arguments that do not parse give one line of error.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/start_options.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wheelright::console;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> args;
  for (std::size_t start = 0; start <= input.size();) {
    const std::size_t end = std::min(input.find('\n', start), input.size());
    args.push_back(input.substr(start, end - start));
    start = end + 1;
  }
  const auto parsed = parseStartOptions(args);
  if (!parsed) {
    FUZZ_CHECK(parsed.error().starts_with("wheelright: "));
    return 0;
  }
  const StartOptions& options = parsed.value();
  const std::vector<std::string> again = startOptionArguments(options);
  const auto reparsed = parseStartOptions(std::vector<std::string_view>(again.begin(), again.end()));
  FUZZ_CHECK(reparsed && reparsed.value() == options);
  return 0;
}
