// Writes the seed corpus: the content.xml of the tests' .ods files, which
// LibreOffice wrote from the exercise files and their answers.
//   ods_seed_corpus FOLDER
#include <filesystem>
#include <fstream>

#include "fuzz/ods/content_package.hpp"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  int index = 0;
  for (const auto& content : fuzz_ods::seed_contents(D72506_ODS_FIXTURES))
    std::ofstream(folder / ("seed" + std::to_string(index++) + ".xml"), std::ios::binary) << content;
  return 0;
}
