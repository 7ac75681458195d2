// Runs a fuzz target once over each file named, or each file in a folder named, without
// libFuzzer: how the normal suite replays the seeds and the inputs that once found a fault.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::set<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    if (!fs::is_directory(argv[i])) files.insert(argv[i]);
    if (fs::is_directory(argv[i])) files.insert(fs::directory_iterator(argv[i]), {});
  }
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string data{std::istreambuf_iterator<char>(in), {}};
    std::printf("%s\n", file.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
  }
  return files.empty() ? 1 : 0;
}
