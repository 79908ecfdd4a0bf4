#include "engine/xls/obj_records.hpp"

#include "engine/model/constants.hpp"
#include "engine/xls/file_error.hpp"

namespace engine::xls {

namespace {

namespace ft {
constexpr std::uint16_t End = 0x0000;
constexpr std::uint16_t Cbls = 0x000A;
constexpr std::uint16_t Nts = 0x000D;
constexpr std::uint16_t CblsData = 0x0012;
constexpr std::uint16_t LbsData = 0x0013;
constexpr std::uint16_t Cmo = 0x0015;
}  // namespace ft

constexpr std::uint16_t kLocked = 0x0001;
constexpr std::uint16_t kPrinted = 0x0010;
constexpr std::uint16_t kAutoFill = 0x2000;
constexpr std::uint16_t kAutoLine = 0x4000;
constexpr std::uint16_t kNoteShown = 0x0002;

RecordBody& common(RecordBody& body, std::uint16_t type, std::uint16_t id, std::uint16_t flags) {
  return body.u16(ft::Cmo).u16(0x12).u16(type).u16(id).u16(flags).zeros(12);
}

RecordBody& end(RecordBody& body) { return body.u16(ft::End).u16(0); }

std::uint16_t checked_state(int value) {
  if (value == model::xl::On) return 1;
  if (value == model::xl::Mixed) return 2;
  return 0;
}

int check_box_value(std::uint16_t state) {
  if (state == 1) return model::xl::On;
  if (state == 2) return model::xl::Mixed;
  return model::xl::Off;
}

}  // namespace

RecordBody note_obj(std::uint16_t id) {
  RecordBody body;
  common(body, obj::Comment, id, kLocked | kPrinted | kAutoLine);
  // The note's identifier stays zero: it only matters to shared workbooks.
  body.u16(ft::Nts).u16(0x16).zeros(0x16);
  return end(body);
}

RecordBody check_box_obj(std::uint16_t id, bool locked, int value) {
  RecordBody body;
  common(body, obj::CheckBox, id, static_cast<std::uint16_t>(kPrinted | (locked ? kLocked : 0)));
  // The state goes in both places: some readers take it from the first.
  const std::uint16_t state = checked_state(value);
  body.u16(ft::Cbls).u16(0x0C).u16(state).zeros(10);
  body.u16(ft::CblsData).u16(0x08).u16(state).u16(0).u16(0).u16(0);
  return end(body);
}

RecordBody text_box_obj(std::uint16_t id, bool locked, std::uint16_t type) {
  RecordBody body;
  common(body, type, id, static_cast<std::uint16_t>(kPrinted | kAutoFill | kAutoLine | (locked ? kLocked : 0)));
  return end(body);
}

RecordBody note_record(int row, int column, const model::Note& note, std::uint16_t object_id) {
  RecordBody body;
  body.u16(static_cast<std::uint16_t>(row)).u16(static_cast<std::uint16_t>(column))
      .u16(note.visible ? kNoteShown : 0).u16(object_id).string16(note.author).u8(0);
  return body;
}

ObjInfo read_obj(const Record& record) {
  RecordCursor in(record);
  ObjInfo info;
  if (in.u16() != ft::Cmo) return info;
  const std::size_t size = in.u16();
  info.type = in.u16();
  info.id = in.u16();
  info.locked = in.u16() & kLocked;
  in.skip(size >= 6 ? size - 6 : 0);
  std::optional<std::uint16_t> cbls_state;
  std::optional<std::uint16_t> data_state;
  while (in.remaining() >= 4) {
    const std::uint16_t type = in.u16();
    const std::size_t length = in.u16();
    // A list's data does not give its true length; nothing after it matters here.
    if (type == ft::End || type == ft::LbsData || length > in.remaining()) break;
    if ((type == ft::Cbls || type == ft::CblsData) && length >= 2) {
      (type == ft::Cbls ? cbls_state : data_state) = in.u16();
      in.skip(length - 2);
    } else {
      in.skip(length);
    }
  }
  info.value = check_box_value(data_state.value_or(cbls_state.value_or(0)));
  return info;
}

NoteInfo read_note(const Record& record) {
  RecordCursor in(record);
  NoteInfo info;
  info.row = in.u16();
  info.column = in.u16();
  info.visible = in.u16() & kNoteShown;
  info.object_id = in.u16();
  if (in.remaining() >= 3) info.author = in.string16();
  return info;
}

std::string read_txo(const Record& record) {
  if (record.pieces.front().size() < 14) fail("a text object record is cut short");
  RecordCursor in(record);
  in.skip(10);
  const std::size_t count = in.u16();
  // The characters start in the first CONTINUE record, after whatever
  // remains of TXO's own body.
  in.skip(record.pieces.front().size() - 12);
  if (count == 0 || record.pieces.size() < 2) return {};
  return in.string_chars(count);
}

}  // namespace engine::xls
