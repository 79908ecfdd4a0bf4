// Times loading a workbook of any format through engine/formats, in its own
// process so that the peak memory it reports is that of the load. Prints
// JSON: the median time of five loads in ms and the peak resident memory in MB.
//   xlsx_bench FILE
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/formats/workbook_formats.hpp"

namespace {

constexpr int kRepeat = 5;

double peak_rss_mb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: xlsx_bench FILE\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<double> times;
  std::size_t cells = 0;
  for (int i = 0; i < kRepeat; ++i) {
    std::unique_ptr<engine::model::Workbook> book;
    const auto start = std::chrono::steady_clock::now();
    book = engine::formats::load_workbook(bytes, "bench");
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    cells = book->sheet(0).cell_count();
    // The workbook is freed outside the timing, as xls_bench does.
  }
  std::sort(times.begin(), times.end());
  std::printf("{\"ms\": %.3f, \"peak_rss_mb\": %.1f, \"cells\": %zu}\n", times[times.size() / 2], peak_rss_mb(), cells);
  return 0;
}
