// The console's input: a script played on the virtual clock ends with status 0, and every line
// that is not a command is answered with exactly one `error:` line and nothing else. Waits are
// bounded so that a run stays short.

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "console/console.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wheelright::console;
  using namespace wheelright::sim;
  const std::string script(reinterpret_cast<const char*>(data), size);
  double waited = 0;
  std::istringstream lines(script);
  for (std::string line; std::getline(lines, line);) {
    const auto parsed = parseCommand(line);
    if (const auto* wait = parsed ? std::get_if<Wait>(&parsed.value()) : nullptr) {
      waited += wait->seconds;
    }
  }
  if (waited > 600) return -1;  // hours of polling teach nothing that minutes do not

  std::istringstream in(script);
  std::ostringstream out;
  StreamInput input(in);
  FUZZ_CHECK(Console(SimDesktop::create(), input, out, {.echoesInput = true, .desktop = {}}).run() == 0);

  // Each echoed line heads the output of that line.
  std::vector<std::vector<std::string>> blocks;
  std::istringstream output(out.str());
  for (std::string line; std::getline(output, line);) {
    if (line.starts_with("> ")) blocks.emplace_back();
    if (!blocks.empty()) blocks.back().push_back(line);
  }
  for (const auto& block : blocks) {
    if (parseCommand(block[0].substr(2))) continue;
    FUZZ_CHECK(block.size() == 2);
    FUZZ_CHECK(block[1].starts_with("error: "));
  }
  return 0;
}
