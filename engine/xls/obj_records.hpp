// The BIFF8 records that give a drawn shape its Excel meaning: OBJ (the
// object's type, identifier, locked flag and, for a check box, its state),
// TXO (its text) and NOTE (the cell, author and visibility of a note).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/model/drawing.hpp"
#include "engine/xls/record_reader.hpp"
#include "engine/xls/record_writer.hpp"

namespace engine::xls {

namespace obj {
inline constexpr std::uint16_t Rectangle = 0x0002;
inline constexpr std::uint16_t Oval = 0x0003;
inline constexpr std::uint16_t Text = 0x0006;
inline constexpr std::uint16_t CheckBox = 0x000B;
inline constexpr std::uint16_t Comment = 0x0019;
inline constexpr std::uint16_t OfficeArt = 0x001E;  // any other autoshape
}  // namespace obj

RecordBody note_obj(std::uint16_t id);
// `value` is xlOn, xlOff or xlMixed.
RecordBody check_box_obj(std::uint16_t id, bool locked, int value);
// A text box, or with `type` Rectangle or Oval the autoshape it was drawn as.
RecordBody text_box_obj(std::uint16_t id, bool locked, std::uint16_t type = obj::Text);
RecordBody note_record(int row, int column, const model::Note& note, std::uint16_t object_id);

struct ObjInfo {
  std::uint16_t type = 0;
  std::uint16_t id = 0;
  bool locked = true;
  int value = model::xl::Off;  // check boxes
};

struct NoteInfo {
  int row = 0;
  int column = 0;
  bool visible = false;
  std::uint16_t object_id = 0;
  std::string author;
};

// Throw FileError when a record is shorter than its fixed part; what
// follows an OBJ's common part is read as far as it is whole.
ObjInfo read_obj(const Record& record);
NoteInfo read_note(const Record& record);
std::string read_txo(const Record& record);

}  // namespace engine::xls
