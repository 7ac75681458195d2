#include "platform/sim/file_user_defaults.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace wheelright::sim {
namespace {

namespace fs = std::filesystem;
using Values = std::map<std::string, bool>;
using Names = std::set<std::string>;

class FileUserDefaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(::testing::TempDir()) / "defaults-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }
  void emptyFolder() const {
    fs::remove_all(folder);
    fs::create_directories(folder);
  }

  fs::path file() const { return folder / FileUserDefaults::fileName; }
  static void put(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }
  static std::string contents(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  }
  // Each entry's name, or its name, type, link target and a digest of what a regular file holds.
  static Names names(const fs::path& in, bool isDetailed = false) {
    Names names;
    for (const auto& entry : fs::directory_iterator(in)) {
      std::string text = entry.path().filename();
      if (isDetailed) {
        text += std::to_string(static_cast<int>(entry.symlink_status().type()));
        if (entry.is_symlink()) text += " -> " + fs::read_symlink(entry).string();
        if (entry.is_regular_file())
          text += std::to_string(std::hash<std::string>()(contents(entry)));
      }
      names.insert(text);
    }
    return names;
  }
  static std::string stderrOf(const std::function<void()>& run) {
    ::testing::internal::CaptureStderr();
    run();
    return ::testing::internal::GetCapturedStderr();
  }
  // What is at the path stays as it is, told once; the run keeps its values in memory.
  void expectLeftAlone(const std::string& reason) const {
    const Names before = names(folder, true);
    std::optional<FileUserDefaults> store;
    const std::string told = stderrOf([&] { store.emplace(folder); });
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    EXPECT_NE(told.find(file().string() + ": " + reason), std::string::npos) << told;
    EXPECT_EQ(store->storedValues(), Values{});
    const auto change = [&] {
      store->setBool(false, "isEnabled");
      store->relaunch();
      store->setBool(true, "reverseHorizontal");
    };
    EXPECT_EQ(stderrOf(change), "");
    EXPECT_EQ(store->storedValues(), (Values{{"isEnabled", false}, {"reverseHorizontal", true}}));
    EXPECT_FALSE(store->isStored());
    EXPECT_EQ(names(folder, true), before) << reason;
  }

  fs::path folder;
};

// One bad line loses that line only, and is told; a line is ended by LF, CR LF or a lone CR.
TEST_F(FileUserDefaultsTest, FilesAreReadKeyByKey) {
  const std::string mebibyte =
      "a=true\n#" + std::string(FileUserDefaults::maximumFileSize - 9, ' ') + "\n";
  // The file, the values read, the lines told as damaged.
  const std::vector<std::tuple<std::string, Values, std::vector<int>>> rows = {
      {"", {}, {}},
      {"a=true\n\n# note\n  b = false \r\nc=true", {{"a", true}, {"b", false}, {"c", true}}, {}},
      {"a=true\ra=false\r", {{"a", false}}, {}},
      {"a=true\rb=false\r\nc=true\n\rd=true", {{"a", true}, {"b", false}, {"c", true}, {"d", true}},
       {}},
      {"reverseHorizontal=true\nstray\nreverseVertical=false\n",
       {{"reverseHorizontal", true}, {"reverseVertical", false}},
       {2}},
      {"a=yes\nb=TRUE\n=true\nc=true\n{\"json\": 1}\n", {{"c", true}}, {1, 2, 3, 5}},
      // Keys that would not survive being written back as they were read.
      {"odd=key=true\nodd key=true\nodd\tkey=true\nodd\x01key=true\nodd\x7Fkey=true\n \t=false\nok=true",
       {{"ok", true}},
       {1, 2, 3, 4, 5, 6}},
      {"a=true\r\r\rstray\r", {{"a", true}}, {4}},
      {mebibyte, {{"a", true}}, {}},
  };
  for (const auto& [text, values, damaged] : rows) {
    emptyFolder();
    put(file(), text);
    std::optional<FileUserDefaults> store;
    const std::string told = stderrOf([&] { store.emplace(folder); });
    EXPECT_EQ(store->storedValues(), values) << text.substr(0, 40);
    EXPECT_EQ(store->damagedLines(), damaged) << text.substr(0, 40);
    EXPECT_EQ(told.empty(), damaged.empty()) << told;
    EXPECT_TRUE(store->isStored());
    EXPECT_EQ(contents(file()), text) << "reading changes nothing on disk";
  }
}

TEST_F(FileUserDefaultsTest, AnythingButASmallRegularFileIsLeftAloneAndTheRunKeepsItsValues) {
  const std::string oversized(FileUserDefaults::maximumFileSize + 1, '\n');
  // Root gets a copy of the device: a store that wrote through a link could replace the real one.
  const auto device = [&](const char* path) {
    struct stat real {};
    if (::geteuid() != 0) return fs::create_symlink(path, file());
    if (::stat(path, &real) == 0) ::mknod(file().c_str(), S_IFCHR | 0666, real.st_rdev);
  };
  const std::vector<std::pair<std::function<void()>, std::string>> rows = {
      {[&] { fs::create_directory(file()); }, "it is a directory, not a regular file"},
      {[&] { ::mkfifo(file().c_str(), 0600); }, "it is a FIFO, not a regular file"},
      {[&] { device("/dev/null"); }, "it is a device, not a regular file"},
      {[&] { put(file(), oversized); }, "it is larger than 1 MiB"},
  };
  for (const auto& [make, reason] : rows) {
    emptyFolder();
    make();
    if (fs::exists(file())) expectLeftAlone(reason);
  }
}

// A file of mode 000 for everyone but root, who opens it; for root, Linux's /proc/self/mem, a
// regular file whose first byte cannot be read.
TEST_F(FileUserDefaultsTest, AFileThatCannotBeReadIsLeftAlone) {
  if (::geteuid() != 0) {
    put(file(), "isEnabled=true\n");
    fs::permissions(file(), fs::perms::none);
    expectLeftAlone("cannot open it: Permission denied");
  } else if (fs::exists("/proc/self/mem")) {
    fs::create_symlink("/proc/self/mem", file());
    expectLeftAlone("cannot read it");
  } else {
    GTEST_SKIP() << "root opens a file of mode 000, and there is no /proc/self/mem to read";
  }
}

// A full disk in the middle of the new file: the damaged original is neither replaced nor kept
// aside, and what was set waits in memory for the next write that reaches the disk.
TEST_F(FileUserDefaultsTest, AWriteThatFailsLeavesTheFileAsItWasAndIsToldOnceUntilOneSucceeds) {
  const std::string damaged = "reverseVertical=false\nstray\n";
  put(file(), damaged);
  put(folder / "defaults.txt.damaged-1", "an older copy\n");
  bool isFull = true;
  FileUserDefaults store(folder, [&isFull](int fd, const std::string& text) {
    const std::size_t size = isFull ? text.size() / 2 : text.size();
    if (::write(fd, text.data(), size) != static_cast<ssize_t>(size)) return false;
    if (!isFull) return true;
    errno = ENOSPC;
    return false;
  });
  const std::string told = stderrOf([&] {
    store.setBool(false, "isEnabled");
    store.setBool(true, "reverseHorizontal");
  });
  EXPECT_EQ(told, "wheelright: settings not saved to " + file().string() +
                      ": cannot write the temporary file: No space left on device\n");
  EXPECT_EQ(names(folder), (Names{"defaults.txt", "defaults.txt.damaged-1"}));
  EXPECT_EQ(contents(file()), damaged);
  store.relaunch();
  EXPECT_FALSE(store.isStored());
  EXPECT_FALSE(store.boolForKey("isEnabled")) << "kept in memory, also by a new launch";

  isFull = false;
  EXPECT_EQ(stderrOf([&] { store.setBool(true, "a"); }),
            "wheelright: the damaged settings file is kept as " + file().string() + ".damaged-2\n");
  EXPECT_EQ(stderrOf([&] { store.setBool(true, "a"); }), "");
  EXPECT_TRUE(store.isStored());
  const Values all{
      {"a", true}, {"isEnabled", false}, {"reverseHorizontal", true}, {"reverseVertical", false}};
  EXPECT_EQ(FileUserDefaults(folder).storedValues(), all);
  EXPECT_EQ(contents(folder / "defaults.txt.damaged-2"), damaged) << "under a name not yet taken";
  EXPECT_EQ(names(folder).size(), 3u) << "kept aside once, not at every write";

  isFull = true;
  EXPECT_EQ(stderrOf([&] { store.setBool(false, "a"); }), told) << "told again after a success";
}

// A write changes its own key over the file as it is then, edited by hand meanwhile.
TEST_F(FileUserDefaultsTest, AWriteGoesThroughALinkKeepsTheModeAndChangesOnlyItsOwnKey) {
  // The file's mode, and whether the settings file is a link to it.
  const std::pair<fs::perms, bool> rows[] = {
      {fs::perms(0644), false}, {fs::perms(0444), false}, {fs::perms(0640), true}};
  for (const auto& [mode, isLinked] : rows) {
    emptyFolder();
    const fs::path target = isLinked ? folder / "elsewhere" / "mine.txt" : file();
    fs::create_directories(target.parent_path());
    put(target, "isEnabled=true\n");
    fs::permissions(target, mode);
    if (isLinked) fs::create_symlink("elsewhere/mine.txt", file());
    FileUserDefaults store(folder);
    fs::permissions(target, fs::perms(0600));
    put(target, "isEnabled=true\nreverseHorizontal=true\n");
    fs::permissions(target, mode);
    store.setBool(false, "isEnabled");
    const Values expected{{"isEnabled", false}, {"reverseHorizontal", true}};
    EXPECT_EQ(store.storedValues(), expected);
    EXPECT_EQ(FileUserDefaults(folder).storedValues(), expected);
    EXPECT_EQ(fs::is_symlink(file()), isLinked);
    EXPECT_EQ(fs::status(target).permissions(), mode);
    EXPECT_EQ(names(target.parent_path()), Names{target.filename()}) << "nothing left beside it";
  }
}

TEST_F(FileUserDefaultsTest, OurOwnLeftoverTemporaryFilesAreRemovedAtStart) {
  fs::create_directories(folder / "elsewhere");
  fs::create_symlink("elsewhere/defaults.txt", file());
  for (const fs::path& name :
       {folder / ".defaults.txt.tmp-a1B2c3", folder / ".defaults.txt.tmp-abcdefg",
        folder / ".defaults.txt.Ab12Cd", folder / "notes.txt",
        folder / "elsewhere" / ".defaults.txt.tmp-Zz9Yy8"}) {
    put(name, "isEnabled=false\n");
  }
  FileUserDefaults store(folder);
  EXPECT_EQ(names(folder), (Names{".defaults.txt.Ab12Cd", ".defaults.txt.tmp-abcdefg",
                                  "defaults.txt", "elsewhere", "notes.txt"}));
  EXPECT_EQ(names(folder / "elsewhere"), Names{});
}

TEST_F(FileUserDefaultsTest, TheFolderFollowsAnAbsoluteXdgConfigHomeThenHome) {
  // The transcripts run with an absolute XDG_CONFIG_HOME.
  const char* rows[][3] = {{"rel", "/h", "/h/.config/wheelright"},
                           {nullptr, "/h", "/h/.config/wheelright"},
                           {"rel", nullptr, ""}};
  const auto put = [](const char* name, const char* value) {
    value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
  };
  const std::string xdg = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  for (const auto& [xdgValue, homeValue, expected] : rows) {
    put("XDG_CONFIG_HOME", xdgValue);
    put("HOME", homeValue);
    EXPECT_EQ(FileUserDefaults::standardDirectory(), fs::path(expected));
  }
  put("XDG_CONFIG_HOME", xdg.empty() ? nullptr : xdg.c_str());
  put("HOME", home.empty() ? nullptr : home.c_str());
}

}  // namespace
}  // namespace wheelright::sim
