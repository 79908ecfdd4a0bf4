// Reads or writes the benchmark workbook (shaped as in sheetjs_workbook.js)
// in its own process, so that the peak memory it reports is that of one
// operation. Prints JSON: the median time of the repeated operation in ms and
// the process's peak resident memory in MB.
//   xls_bench write OUT.xls   build the workbook, time saving it, keep the file
//   xls_bench read IN.xls     time loading the file
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "engine/model/workbook.hpp"
#include "engine/xls/workbook_file.hpp"

namespace {

namespace f = engine::formula;
namespace x = engine::xls;

constexpr int kRows = 25000;  // four cells a row: 100,000 cells
constexpr int kRepeat = 5;

// A number, a text from a pool of a thousand (so the shared string table
// repeats), a second number, and a formula reading the row.
std::unique_ptr<engine::model::Workbook> benchmark_workbook() {
  auto book = std::make_unique<engine::model::Workbook>("bench.xls");
  auto& sheet = book->add_sheet("Données");
  for (int row = 0; row < kRows; ++row) {
    const std::string r = std::to_string(row + 1);
    sheet.set_value(row, 0, f::Value((row * 7) % 101));
    sheet.set_value(row, 1, f::Value("Article " + std::to_string(row % 1000)));
    sheet.set_value(row, 2, f::Value(row * 0.5));
    sheet.set_formula(row, 3, "=A" + r + "*2+C" + r);
  }
  return book;
}

double elapsed_ms(const std::function<void()>& operation) {
  const auto start = std::chrono::steady_clock::now();
  operation();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double peak_rss_mb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

void report(double ms, std::size_t cells) {
  std::printf("{\"ms\": %.3f, \"peak_rss_mb\": %.1f, \"cells\": %zu}\n", ms, peak_rss_mb(), cells);
}

int write(const std::string& path) {
  const auto book = benchmark_workbook();
  x::Bytes bytes;
  std::vector<double> times;
  for (int i = 0; i < kRepeat; ++i) times.push_back(elapsed_ms([&] { bytes = x::save_workbook(*book); }));
  const double ms = median(times);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  report(ms, book->sheet(0).cell_count());
  return 0;
}

int read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const x::Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  // The previous load's workbook is freed outside the timing: a workbook
  // loaded in the application lives on, and SheetJS's garbage is collected
  // whenever its collector decides.
  std::unique_ptr<engine::model::Workbook> book;
  std::vector<double> times;
  for (int i = 0; i < kRepeat; ++i) {
    book.reset();
    times.push_back(elapsed_ms([&] { book = x::load_workbook(bytes, "bench.xls"); }));
  }
  report(median(times), book->sheet(0).cell_count());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[1] : "";
  if (mode == "write") return write(argv[2]);
  if (mode == "read") return read(argv[2]);
  std::fprintf(stderr, "usage: %s write|read FILE.xls\n", argv[0]);
  return 2;
}
