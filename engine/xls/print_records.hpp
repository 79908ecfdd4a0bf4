// A sheet's print settings as records: HEADER, FOOTER, HCENTER, VCENTER,
// the four margins and SETUP. A sheet carries them, and so does each custom
// view recorded with its print settings.
#pragma once

#include "engine/model/page_setup.hpp"
#include "engine/xls/record_reader.hpp"
#include "engine/xls/record_writer.hpp"

namespace engine::xls {

void write_print_settings(RecordWriter& out, const model::PageSetup& setup);

// Applies `record` to `setup` when it is one of those records; false otherwise.
bool read_print_setting(const Record& record, model::PageSetup& setup);

}  // namespace engine::xls
