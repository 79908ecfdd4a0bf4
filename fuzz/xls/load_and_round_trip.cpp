#include "load_and_round_trip.hpp"

#include <cstdio>
#include <cstdlib>

#include "engine/xls/file_error.hpp"
#include "engine/xls/workbook_file.hpp"

namespace fuzz {

namespace {

[[noreturn]] void fault(const char* what, const engine::xls::FileError& error) {
  std::fprintf(stderr, "%s: %s\n", what, error.problem().c_str());
  std::abort();
}

}  // namespace

void load_and_round_trip(std::span<const std::uint8_t> file) {
  std::unique_ptr<engine::model::Workbook> book;
  try {
    book = engine::xls::load_workbook(file, "fuzz.xls");
  } catch (const engine::xls::FileError&) {
    return;  // refused with the error callers expect
  }
  engine::xls::Bytes saved;
  try {
    saved = engine::xls::save_workbook(*book);
  } catch (const engine::xls::FileError&) {
    return;  // a save may refuse what it cannot write, as long as it says so
  }
  try {
    engine::xls::load_workbook(saved, "fuzz.xls");
  } catch (const engine::xls::FileError& error) {
    fault("a workbook we saved does not load again", error);
  }
}

}  // namespace fuzz
