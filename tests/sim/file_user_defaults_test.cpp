#include "platform/sim/file_user_defaults.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

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
using Lines = std::vector<std::string>;

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
  FileUserDefaults::Tell tell() {
    return [this](const std::string& line) { told.push_back(line); };
  }
  static void put(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }
  static std::string contents(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  }
  // Each entry's name, or its name, type, link target and what a regular file holds.
  static Names names(const fs::path& in, bool isDetailed = false) {
    Names names;
    for (const auto& entry : fs::directory_iterator(in)) {
      std::string text = entry.path().filename();
      if (isDetailed) {
        text += std::to_string(static_cast<int>(entry.symlink_status().type()));
        if (entry.is_symlink()) text += " -> " + fs::read_symlink(entry).string();
        if (entry.is_regular_file()) text += " " + contents(entry);
      }
      names.insert(text);
    }
    return names;
  }
  // What is at the path stays as it is, told once; the run keeps its values in memory.
  void expectLeftAlone(const std::string& reason) {
    const Names before = names(folder, true);
    told.clear();
    FileUserDefaults store(folder, tell());
    EXPECT_EQ(told, Lines{"settings not read from " + file().string() + ": " + reason +
                          "; kept in memory for this run"});
    EXPECT_EQ(store.storedValues(), Values{});
    store.setBool(false, "isEnabled");
    store.relaunch();
    store.setBool(true, "reverseHorizontal");
    EXPECT_EQ(told.size(), 1u);
    EXPECT_EQ(store.storedValues(), (Values{{"isEnabled", false}, {"reverseHorizontal", true}}));
    EXPECT_FALSE(store.isStored());
    EXPECT_EQ(names(folder, true), before) << reason;
  }

  fs::path folder;
  Lines told;
};

// One bad line loses that line only, and is told; a line is ended by LF, CR LF or a lone CR.
TEST_F(FileUserDefaultsTest, FilesAreReadKeyByKey) {
  const std::string mebibyte =
      "a=true\n#" + std::string(FileUserDefaults::maximumFileSize - 9, ' ') + "\n";
  const auto damaged = [this](const std::string& lines) {
    return Lines{"settings in " + file().string() + ": " + lines +
                 "; the file is kept aside at the next change"};
  };
  // The file, the values read, what is told.
  const std::vector<std::tuple<std::string, Values, Lines>> rows = {
      {"", {}, {}},
      {"a=true\n\n# note\n  b = false \r\nc=true", {{"a", true}, {"b", false}, {"c", true}}, {}},
      {"a=true\ra=false\r", {{"a", false}}, {}},
      {"a=true\rb=false\r\nc=true\n\rd=true",
       {{"a", true}, {"b", false}, {"c", true}, {"d", true}},
       {}},
      {"reverseHorizontal=true\nstray\nreverseVertical=false\n",
       {{"reverseHorizontal", true}, {"reverseVertical", false}},
       damaged("1 damaged line skipped (line 2)")},
      // Keys that would not survive being written back as they were read, and odd values.
      {"odd=key=true\nodd key=true\nodd\tkey=true\nodd\x01key=true\nodd\x7Fkey=true\n \t=false\n"
       "a=yes\nb=TRUE\nok=true",
       {{"ok", true}},
       damaged("8 damaged lines skipped (line 1, 2, 3, 4, 5, ...)")},
      {"a=true\r\r\rstray\r", {{"a", true}}, damaged("1 damaged line skipped (line 4)")},
      {mebibyte, {{"a", true}}, {}},
  };
  for (const auto& [text, values, lines] : rows) {
    emptyFolder();
    put(file(), text);
    told.clear();
    const FileUserDefaults store(folder, tell());
    EXPECT_EQ(store.storedValues(), values) << text.substr(0, 40);
    EXPECT_EQ(told, lines);
    EXPECT_TRUE(store.isStored());
    EXPECT_EQ(contents(file()), text) << "reading changes nothing on disk";
  }
}

TEST_F(FileUserDefaultsTest, AnythingButASmallReadableRegularFileIsLeftAlone) {
  // Root gets a copy of the device: a store that wrote through a link could replace the real one.
  const auto device = [&](const char* path) {
    struct stat real {};
    if (::geteuid() != 0) return fs::create_symlink(path, file());
    if (::stat(path, &real) == 0) ::mknod(file().c_str(), S_IFCHR | 0666, real.st_rdev);
  };
  // Mode 000 keeps out everyone but root, who opens it.
  const auto unreadable = [&] {
    put(file(), "isEnabled=true\n");
    fs::permissions(file(), fs::perms::none);
  };
  const std::vector<std::tuple<std::function<void()>, std::string, bool>> rows = {
      {[&] { fs::create_directory(file()); }, "it is a directory, not a regular file", true},
      {[&] { ::mkfifo(file().c_str(), 0600); }, "it is a FIFO, not a regular file", true},
      {[&] { device("/dev/null"); }, "it is a device, not a regular file", true},
      {[&] { put(file(), std::string(FileUserDefaults::maximumFileSize + 1, '\n')); },
       "it is larger than 1 MiB", true},
      {unreadable, "cannot open it: Permission denied", ::geteuid() != 0},
  };
  for (const auto& [make, reason, applies] : rows) {
    if (!applies) continue;
    emptyFolder();
    make();
    if (fs::exists(fs::symlink_status(file()))) expectLeftAlone(reason);
  }
}

// A full disk in the middle of the new file: the damaged original is neither replaced nor kept
// aside, and what was set waits in memory for the next write that reaches the disk.
TEST_F(FileUserDefaultsTest, AWriteThatFailsLeavesTheFileAsItWasAndIsToldOnceUntilOneSucceeds) {
  const std::string damaged = "reverseVertical=false\nstray\n";
  put(file(), damaged);
  put(folder / "defaults.txt.damaged-1", "an older copy\n");
  bool isFull = true;
  FileUserDefaults store(folder, tell(), [&isFull](int fd, const std::string& text) {
    const std::size_t size = isFull ? text.size() / 2 : text.size();
    if (::write(fd, text.data(), size) != static_cast<ssize_t>(size)) return false;
    if (!isFull) return true;
    errno = ENOSPC;
    return false;
  });
  told.clear();
  store.setBool(false, "isEnabled");
  store.setBool(true, "reverseHorizontal");
  const std::string notSaved = "settings not saved to " + file().string() +
                               ": cannot write the temporary file: No space left on device";
  EXPECT_EQ(told, Lines{notSaved});
  EXPECT_EQ(names(folder), (Names{"defaults.txt", "defaults.txt.damaged-1"}));
  EXPECT_EQ(contents(file()), damaged);
  store.relaunch();
  EXPECT_FALSE(store.isStored());
  EXPECT_FALSE(store.boolForKey("isEnabled")) << "kept in memory, also by a new launch";

  isFull = false;
  told.clear();
  store.setBool(true, "a");
  store.setBool(true, "a");
  EXPECT_EQ(told, Lines{"the damaged settings file is kept as " + file().string() + ".damaged-2"});
  EXPECT_TRUE(store.isStored());
  const Values all{
      {"a", true}, {"isEnabled", false}, {"reverseHorizontal", true}, {"reverseVertical", false}};
  EXPECT_EQ(FileUserDefaults(folder, {}).storedValues(), all);
  EXPECT_EQ(contents(folder / "defaults.txt.damaged-2"), damaged) << "under a name not yet taken";
  EXPECT_EQ(names(folder).size(), 3u) << "kept aside once, not at every write";

  isFull = true;
  told.clear();
  store.setBool(false, "a");
  EXPECT_EQ(told, Lines{notSaved}) << "told again after a success";
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
    FileUserDefaults store(folder, {});
    fs::permissions(target, fs::perms(0600));
    put(target, "isEnabled=true\nreverseHorizontal=true\n");
    fs::permissions(target, mode);
    store.setBool(false, "isEnabled");
    const Values expected{{"isEnabled", false}, {"reverseHorizontal", true}};
    EXPECT_EQ(store.storedValues(), expected);
    EXPECT_EQ(FileUserDefaults(folder, {}).storedValues(), expected);
    EXPECT_EQ(fs::is_symlink(file()), isLinked);
    EXPECT_EQ(fs::status(target).permissions(), mode);
    EXPECT_EQ(names(target.parent_path()), Names{target.filename()}) << "nothing left beside it";
  }
}

TEST_F(FileUserDefaultsTest, TheFolderFollowsAnAbsoluteXdgConfigHomeThenHome) {
  const char* rows[][3] = {{"rel", "/h", "/h/.config/wheelright"}, {"rel", nullptr, ""}};
  const auto set = [](const char* name, const char* value) {
    value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
  };
  const std::string xdg = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  for (const auto& [xdgValue, homeValue, expected] : rows) {
    set("XDG_CONFIG_HOME", xdgValue);
    set("HOME", homeValue);
    EXPECT_EQ(FileUserDefaults::standardDirectory(), fs::path(expected));
  }
  set("XDG_CONFIG_HOME", xdg.empty() ? nullptr : xdg.c_str());
  set("HOME", home.empty() ? nullptr : home.c_str());
}

}  // namespace
}  // namespace wheelright::sim
