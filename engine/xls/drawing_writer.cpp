#include "engine/xls/drawing_writer.hpp"

#include <algorithm>
#include <map>

#include "engine/model/constants.hpp"
#include "engine/xls/file_error.hpp"
#include "engine/xls/obj_records.hpp"
#include "engine/xls/office_art.hpp"
#include "engine/xls/record_types.hpp"
#include "engine/xls/shape_anchor.hpp"
#include "engine/xls/utf16.hpp"

namespace engine::xls {

namespace {

constexpr std::uint32_t kClusterSize = 1024;
constexpr std::size_t kMaxObjectText = 32767;
constexpr std::uint16_t kCommentAnchorFlags = 0x0003;  // neither moved nor sized with cells
constexpr std::uint16_t kControlAnchorFlags = 0x0000;  // moved and sized with cells

// A shape's part of the drawing (its SpContainer, the client text box that
// ends it written apart), its OBJ record and its text.
struct ShapeParts {
  Bytes container;
  RecordBody obj;
  std::string text;
};

std::vector<ArtProperty> note_properties(bool visible) {
  return {{art::TextBooleans, 0x00080008, {}},      {art::ConnectionType, 0, {}},
          {art::FillColor, 0x08000050, {}},         {art::FillBackColor, 0x08000050, {}},
          {art::FillBooleans, 0x00100010, {}},      {art::ShadowColor, 0, {}},
          {art::ShadowBooleans, 0x00030003, {}},
          {art::GroupBooleans, visible ? 0x00020000u : 0x00020002u, {}}};
}

std::vector<ArtProperty> control_properties(const model::Shape& shape) {
  std::vector<ArtProperty> properties = {{art::TextBooleans, 0x00080008, {}},
                                         {art::FillColor, 0x08000041, {}},
                                         {art::LineColor, 0x08000040, {}},
                                         {art::ShapeName, 0, utf8_to_utf16(shape.name)},
                                         {art::GroupBooleans, 0x00080008, {}}};
  if (shape.kind == model::ShapeKind::CheckBox) {
    properties.push_back({art::Protection, 0x01040104, {}});
    properties.push_back({art::FillBooleans, 0x00100000, {}});
    properties.push_back({art::LineBooleans, 0x00080000, {}});
  }
  return properties;
}

// The drawing's shape type and the OBJ's object type of a check box or text
// box; an autoshape other than an oval is kept as a rectangle.
std::pair<std::uint16_t, std::uint16_t> drawn_types(const model::Shape& shape) {
  constexpr int kShapeOval = 9;  // msoShapeOval
  if (shape.kind == model::ShapeKind::CheckBox) return {art::HostControl, obj::CheckBox};
  if (shape.auto_shape_type == 0) return {art::TextBox, obj::Text};
  if (shape.auto_shape_type == kShapeOval) return {art::Ellipse, obj::Oval};
  return {art::Rectangle, obj::Rectangle};
}

Bytes shape_container(std::uint16_t type, std::uint32_t spid, const std::vector<ArtProperty>& properties,
                      const ArtAnchor& anchor, std::uint16_t anchor_flags) {
  RecordBody sp;
  sp.u32(spid).u32(art::HaveAnchor | art::HaveSpt);
  Bytes children = art_atom(art::Sp, type, 2, sp.data());
  append(children, art_properties(properties));
  append(children, art_anchor(anchor, anchor_flags));
  append(children, art_atom(art::ClientData, 0, 0, {}));
  // The length counts the client text box that follows in the next MSODRAWING.
  Bytes container = art_header(art::SpContainer, 0, 0x0F, static_cast<std::uint32_t>(children.size() + 8));
  append(container, children);
  return container;
}

Bytes group_container(std::uint32_t spid) {
  Bytes children = art_atom(art::Spgr, 0, 1, Bytes(16, 0));
  RecordBody sp;
  sp.u32(spid).u32(art::Group | art::Patriarch);
  append(children, art_atom(art::Sp, art::NotPrimitive, 2, sp.data()));
  return art_container(art::SpContainer, children);
}

// The text follows TXO in CONTINUE records, each restating whether its
// characters are one byte or two, then the formatting runs: one run with
// the default font, and the closing run at the end of the text.
void write_txo(RecordWriter& out, const std::string& text) {
  const std::u16string chars = utf8_to_utf16(text);
  if (chars.size() > kMaxObjectText) fail("a note or text box holds more than 32,767 characters");
  const bool compressed = fits_latin1(chars);
  const std::size_t runs_size = chars.empty() ? 0 : 16;
  RecordBody txo;
  txo.u16(0x0212).u16(0).zeros(6).u16(static_cast<std::uint16_t>(chars.size()))
      .u16(static_cast<std::uint16_t>(runs_size)).u16(0).u16(0);
  out.record(rt::Txo, txo);
  if (chars.empty()) return;
  const std::size_t per_piece = compressed ? kMaxRecordBody - 1 : (kMaxRecordBody - 1) / 2;
  for (std::size_t start = 0; start < chars.size(); start += per_piece) {
    RecordBody piece;
    piece.string_chars(std::u16string_view(chars).substr(start, per_piece));
    out.record(rt::Continue, piece);
  }
  RecordBody runs;
  runs.u16(0).u16(0).u32(0).u16(static_cast<std::uint16_t>(chars.size())).u16(0).u32(0);
  out.record(rt::Continue, runs);
}

}  // namespace

std::uint32_t DrawingWriter::next_shape_id(std::uint32_t drawing) {
  if (clusters_.empty() || clusters_.back().drawing != drawing || clusters_.back().used == kClusterSize)
    clusters_.push_back({drawing, 0});
  const auto cluster = static_cast<std::uint32_t>(clusters_.size());
  return cluster * kClusterSize + clusters_.back().used++;
}

void DrawingWriter::write_sheet(RecordWriter& out, const model::Worksheet& sheet) {
  if (sheet.shapes().empty()) return;
  const std::uint32_t drawing = ++drawings_;
  const std::uint32_t group_spid = next_shape_id(drawing);
  std::map<int, std::pair<std::pair<int, int>, const model::Note*>> notes;  // by shape id
  for (const auto& [cell, note] : sheet.notes()) notes[note.shape_id] = {cell, &note};

  std::vector<ShapeParts> parts;
  std::uint32_t last_spid = group_spid;
  for (const model::Shape& shape : sheet.shapes()) {
    const auto object_id = static_cast<std::uint16_t>(parts.size() + 1);
    last_spid = next_shape_id(drawing);
    ShapeParts part;
    if (shape.kind == model::ShapeKind::Comment) {
      const model::Note* note = notes.at(shape.id).second;
      part.container = shape_container(art::TextBox, last_spid, note_properties(note->visible),
                                       shape_anchor(sheet, shape), kCommentAnchorFlags);
      part.obj = note_obj(object_id);
      part.text = note->text;
    } else {
      const bool check_box = shape.kind == model::ShapeKind::CheckBox;
      const auto [art_type, obj_type] = drawn_types(shape);
      part.container = shape_container(art_type, last_spid, control_properties(shape), shape_anchor(sheet, shape),
                                       kControlAnchorFlags);
      part.obj = check_box ? check_box_obj(object_id, shape.locked, sheet.check_box_state(shape))
                           : text_box_obj(object_id, shape.locked, obj_type);
      part.text = shape.text;
    }
    parts.push_back(std::move(part));
  }
  shapes_saved_ += static_cast<std::uint32_t>(parts.size() + 1);

  const Bytes group = group_container(group_spid);
  std::size_t spgr_size = group.size();
  for (const auto& part : parts) spgr_size += part.container.size() + 8;
  RecordBody dg;
  dg.u32(static_cast<std::uint32_t>(parts.size() + 1)).u32(last_spid);
  const Bytes dg_atom = art_atom(art::Dg, static_cast<std::uint16_t>(drawing), 0, dg.data());
  Bytes head = art_header(art::DgContainer, 0, 0x0F, static_cast<std::uint32_t>(dg_atom.size() + 8 + spgr_size));
  append(head, dg_atom);
  append(head, art_header(art::SpgrContainer, 0, 0x0F, static_cast<std::uint32_t>(spgr_size)));
  append(head, group);

  for (std::size_t i = 0; i < parts.size(); ++i) {
    Bytes drawing_part = i == 0 ? head : Bytes{};
    append(drawing_part, parts[i].container);
    out.record(rt::MsoDrawing, drawing_part);
    out.record(rt::Obj, parts[i].obj);
    out.record(rt::MsoDrawing, art_atom(art::ClientTextbox, 0, 0, {}));
    write_txo(out, parts[i].text);
  }
  std::uint16_t object_id = 0;
  for (const model::Shape& shape : sheet.shapes()) {
    ++object_id;
    if (shape.kind != model::ShapeKind::Comment) continue;
    const auto& [cell, note] = notes.at(shape.id);
    out.record(rt::Note, note_record(cell.first, cell.second, *note, object_id));
  }
}

void DrawingWriter::write_group(RecordWriter& out) const {
  if (clusters_.empty()) return;
  RecordBody dgg;
  dgg.u32(static_cast<std::uint32_t>(clusters_.size()) * kClusterSize + clusters_.back().used)
      .u32(static_cast<std::uint32_t>(clusters_.size() + 1)).u32(shapes_saved_).u32(drawings_);
  for (const Cluster& cluster : clusters_) dgg.u32(cluster.drawing).u32(cluster.used);
  Bytes children = art_atom(art::Dgg, 0, 0, dgg.data());
  append(children, art_properties({{art::TextBooleans, 0x00080008, {}},
                                   {art::FillColor, 0x08000041, {}},
                                   {art::LineColor, 0x08000040, {}}}));
  RecordBody colors;
  colors.u32(0x0800000D).u32(0x0800000C).u32(0x08000017).u32(0x100000F7);
  append(children, art_atom(art::SplitMenuColors, 4, 0, colors.data()));
  out.record(rt::MsoDrawingGroup, art_container(art::DggContainer, children));
}

}  // namespace engine::xls
