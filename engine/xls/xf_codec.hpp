// Cell formats as BIFF8 stores them: a FONT record and an XF record (with
// the alignment, borders, fill and protection packed in bits), colours as
// palette indexes 8..63.
#pragma once

#include <cstdint>

#include "engine/model/cell_format.hpp"
#include "engine/xls/record_reader.hpp"
#include "engine/xls/record_writer.hpp"

namespace engine::xls {

RecordBody font_record(const model::Font& font);
model::Font read_font(RecordCursor& in);

// An XF's body without its font and number-format indexes (written first by
// the caller) and without its style parent.
struct XfFields {
  std::uint16_t font = 0;
  std::uint16_t number_format = 0;
  bool is_style = false;
  std::uint16_t parent = 0;  // the style XF of a cell XF
  model::CellFormat format;  // alignment, borders, fill, protection, quote prefix
};

RecordBody xf_record(const XfFields& xf);
XfFields read_xf(RecordCursor& in);

// Colour indexes: the model's palette index (1..56) or its automatic/none
// values, against BIFF's 8..63 and system colours.
std::uint16_t color_to_biff(int color_index, std::uint16_t automatic);
int color_from_biff(std::uint16_t icv);

}  // namespace engine::xls
