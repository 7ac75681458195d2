// The settings file: read whatever a hand edit left, write one change (the disk may fill up
// part-way), read it back. A write that succeeds comes back with every other key as it was (a
// damaged file kept aside first); one that fails leaves the file byte for byte as it was. The
// reading rules themselves are the unit test's table.
// Input: a byte choosing the key and value, a byte choosing whether and where the write fails,
// then the file.

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/sim/file_user_defaults.h"
#include "scroll/scroll_configuration.h"

namespace {

namespace fs = std::filesystem;
using Values = std::map<std::string, bool>;

// One folder of our own for the whole run, under the system's temporary folder.
const fs::path& folder() {
  static const fs::path path = [] {
    std::string pattern = (fs::temp_directory_path() / "wheelright-fuzz-XXXXXX").string();
    FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
    std::atexit([] { fs::remove_all(folder()); });
    return fs::path(pattern);
  }();
  return path;
}

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using wheelright::sim::FileUserDefaults;
  if (size < 2) return -1;
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> all;
    for (const auto& which : wheelright::scrollSwitches) all.emplace_back(which.key);
    all.emplace_back("a");
    return all;
  }();
  const std::string& key = keys[(data[0] >> 1) % keys.size()];
  const bool value = (data[0] & 1) != 0;
  // Even: the disk fills up after that many bytes of the new file.
  const bool isFull = (data[1] & 1) == 0;
  const std::size_t room = data[1] >> 1;
  const std::string original(reinterpret_cast<const char*>(data) + 2, size - 2);

  fs::remove_all(folder());
  fs::create_directories(folder());
  const fs::path file = folder() / FileUserDefaults::fileName;
  std::ofstream(file, std::ios::binary) << original;

  FileUserDefaults store(folder(), {}, [&](int fd, const std::string& text) {
    const std::size_t count = isFull ? std::min(room, text.size()) : text.size();
    if (::write(fd, text.data(), count) != static_cast<ssize_t>(count)) return false;
    if (isFull) errno = ENOSPC;
    return !isFull;
  });
  const Values before = store.storedValues();
  const bool isDamaged = !store.damagedLines().empty();
  store.setBool(value, key);
  FUZZ_CHECK(store.boolForKey(key) == value);

  if (isFull) {
    FUZZ_CHECK(!store.isStored());
    FUZZ_CHECK(contents(file) == original);
  } else {
    FUZZ_CHECK(store.isStored());
    Values after = before;
    after[key] = value;
    FUZZ_CHECK(FileUserDefaults(folder(), {}).storedValues() == after);
    const fs::path aside = folder() / "defaults.txt.damaged-1";
    FUZZ_CHECK(fs::exists(aside) == isDamaged);
    if (isDamaged) FUZZ_CHECK(contents(aside) == original);
  }
  // Nothing but the file and at most its damaged copy: no temporary file stays behind.
  FUZZ_CHECK(std::distance(fs::directory_iterator(folder()), fs::directory_iterator()) <= 2);
  return 0;
}
