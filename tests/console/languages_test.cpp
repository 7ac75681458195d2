#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "console/console.h"
#include "console/console_command.h"
#include "platform/sim/sim_localizer.h"

namespace wheelright::console {
namespace {

// Every table but the Korean one carries a whole session, from the checklist through each status
// to the tap's error: the console shows that table itself, not a fallback, and no Hangul at all.
TEST(ConsoleTest, EveryLanguageButKoreanShowsNoHangul) {
  // Hangul jamo, compatibility jamo and syllables: three bytes each in UTF-8.
  const auto hasHangul = [](const std::string& text) {
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
      const auto byte = [&](std::size_t k) {
        return char32_t{static_cast<unsigned char>(text[i + k])};
      };
      const char32_t c = (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
      if ((byte(0) & 0xF0) == 0xE0 && ((c >= 0x1100 && c < 0x1200) || (c >= 0x3130 && c < 0x3190) ||
                                       (c >= 0xAC00 && c < 0xD7B0)))
        return true;
    }
    return false;
  };
  for (const std::string& language : sim::localizationsIn(WHEELRIGHT_LOCALIZATION_DIR)) {
    if (language == "ko") continue;
    std::istringstream in(
        "press 1\nnatural on\nwait 1.5\npress 2\nmenu\ntrust on\nwait 1.5\nmenu\nnatural off\n"
        "wait 1.5\npress 2\nmenu\nchoose 2\nmenu\ntap fail create\nnatural on\nchoose 1\nmenu\n");
    std::ostringstream out;
    StreamInput input(in);
    sim::SimDesktop::Options options;
    options.preferredLanguage = language;
    const auto desktop = sim::SimDesktop::create(options).value();
    const Command naturalOff = parseCommand("natural off").value();
    EXPECT_EQ(Console(desktop, input, out, {.echoesInput = false, .desktop = {naturalOff}}).run(),
              0);
    EXPECT_EQ(desktop->localizer().localization(), language);
    EXPECT_FALSE(hasHangul(out.str())) << language << ":\n" << out.str();
  }
}

}  // namespace
}  // namespace wheelright::console
