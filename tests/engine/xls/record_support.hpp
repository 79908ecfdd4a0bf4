// Reading back the records of a saved workbook, for tests that check what
// the writer put in the file.
#pragma once

#include <vector>

#include "engine/xls/compound_file.hpp"
#include "engine/xls/record_reader.hpp"

namespace engine::xls {

// Every record of the file's Workbook stream, CONTINUE pieces joined to
// their record, up to the zeros that pad a small stream to 4096 bytes (no
// record has the type 0). The records view `stream`, which must outlive them.
inline std::vector<Record> workbook_records(const Bytes& file, Bytes& stream) {
  stream = *CompoundFileReader(file).read_stream("Workbook");
  RecordReader reader(stream);
  std::vector<Record> records;
  Record record;
  while (reader.next(record) && record.type != 0) records.push_back(record);
  return records;
}

}  // namespace engine::xls
