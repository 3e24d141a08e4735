// Runs a fuzz target over stored inputs, without libFuzzer: how the ordinary native build
// (g++, ASan/UBSan) keeps every corpus file, and every input that once broke something,
// passing as a plain test.
//   <target> FILE_OR_FOLDER...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool Replay(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  // Like libFuzzer, hand over a buffer of exactly the input's size, so that ASan sees any
  // read past its end.
  std::vector<uint8_t> data(bytes.begin(), bytes.end());
  static const uint8_t kNothing = 0;
  LLVMFuzzerTestOneInput(data.empty() ? &kNothing : data.data(), data.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg = argv[i];
    if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::directory_iterator(arg))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    } else {
      inputs.push_back(arg);
    }
  }
  std::sort(inputs.begin(), inputs.end());
  // An empty corpus would pass without having run anything.
  if (inputs.empty()) {
    std::fprintf(stderr, "replay: no inputs\n");
    return 1;
  }
  for (const auto& path : inputs) {
    std::printf("replay: %s\n", path.c_str());
    std::fflush(stdout);
    if (!Replay(path)) return 1;
  }
  std::printf("replay: %zu inputs passed\n", inputs.size());
  return 0;
}
