// Reads or writes the benchmark workbook (shaped as in sheetjs_workbook.js)
// in its own process, so that the peak memory it reports is that of one
// operation. Prints JSON: the median time of the repeated operation in ms,
// the process's peak resident memory in MB and, for a read, the heap the
// loaded workbook keeps in MB.
//   xls_bench write OUT.xls [CELLS]   build the workbook, time saving it, keep the file
//   xls_bench read IN.xls              time loading the file
// CELLS (100,000 by default) sets the size: four cells a row, in as many
// blocks of four columns side by side as keep the rows within the grid.
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "engine/formula/reference.hpp"
#include "engine/model/workbook.hpp"
#include "engine/xls/workbook_file.hpp"

namespace {

namespace f = engine::formula;
namespace x = engine::xls;

constexpr int kDefaultCells = 100000;
constexpr int kBlock = 4;  // cells in a block: A number, a text, a number, a formula
constexpr int kRepeat = 5;

// Each block is a number, a text from a pool of a thousand (so the shared
// string table repeats), a second number, and a formula reading the block.
// A row holds as many blocks as keep the rows within Excel's 65,536.
std::unique_ptr<engine::model::Workbook> benchmark_workbook(int cells) {
  const int blocks = (cells + kBlock * f::max_rows - 1) / (kBlock * f::max_rows);
  const int rows = cells / (kBlock * blocks);
  auto book = std::make_unique<engine::model::Workbook>("bench.xls");
  auto& sheet = book->add_sheet("Données");
  for (int row = 0; row < rows; ++row) {
    const std::string r = std::to_string(row + 1);
    for (int block = 0; block < blocks; ++block) {
      const int column = block * kBlock;
      sheet.set_value(row, column, f::Value((row * 7 + block) % 101));
      sheet.set_value(row, column + 1, f::Value("Article " + std::to_string((row + block) % 1000)));
      sheet.set_value(row, column + 2, f::Value(row * 0.5));
      std::string formula = "=";
      formula.append(f::column_name(column)).append(r).append("*2+").append(f::column_name(column + 2)).append(r);
      sheet.set_formula(row, column + 3, formula);
    }
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

void report(double ms, std::size_t cells, double model_mb = 0) {
  std::printf("{\"ms\": %.3f, \"peak_rss_mb\": %.1f, \"model_mb\": %.2f, \"cells\": %zu}\n", ms, peak_rss_mb(),
              model_mb, cells);
}

// What the heap holds, in MB: around a load, what the loaded workbook keeps.
double heap_mb() { return static_cast<double>(mallinfo2().uordblks) / (1024 * 1024); }

int write(const std::string& path, int cells) {
  const auto book = benchmark_workbook(cells);
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
  // The model's own size: the heap a loaded workbook keeps, the file apart.
  book.reset();
  const double before = heap_mb();
  book = x::load_workbook(bytes, "bench.xls");
  report(median(times), book->sheet(0).cell_count(), heap_mb() - before);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc >= 3 ? argv[1] : "";
  const int cells = argc == 4 ? std::atoi(argv[3]) : kDefaultCells;
  if (mode == "write" && argc <= 4 && cells > 0) return write(argv[2], cells);
  if (mode == "read" && argc == 3) return read(argv[2]);
  std::fprintf(stderr, "usage: %s write FILE.xls [CELLS] | read FILE.xls\n", argv[0]);
  return 2;
}
