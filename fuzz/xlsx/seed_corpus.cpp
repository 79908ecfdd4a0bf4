// Writes the seed corpora: whole packages for the file target, part texts
// for the parts target.
//   xlsx_seed_corpus FILE_FOLDER PARTS_FOLDER
#include <filesystem>
#include <fstream>

#include "fuzz/xlsx/parts_package.hpp"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::filesystem::path files = argv[1], parts = argv[2];
  std::filesystem::create_directories(files);
  std::filesystem::create_directories(parts);
  int index = 0;
  for (const auto& seed : fuzz_xlsx::seed_parts()) {
    const auto bytes = test_support::xlsx_package(seed);
    std::ofstream(files / ("seed" + std::to_string(index) + ".xlsx"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::ofstream(parts / ("seed" + std::to_string(index) + ".txt")) << fuzz_xlsx::join_parts(seed);
    ++index;
  }
  return 0;
}
