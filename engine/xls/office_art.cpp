#include "engine/xls/office_art.hpp"

#include <algorithm>

#include "engine/xls/file_error.hpp"
#include "engine/xls/record_writer.hpp"
#include "engine/xls/utf16.hpp"

namespace engine::xls {

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::uint16_t kComplexBit = 0x8000;
constexpr std::uint16_t kIdMask = 0x3FFF;

std::uint16_t le16(ByteSpan bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t le32(ByteSpan bytes, std::size_t at) {
  return le16(bytes, at) | (static_cast<std::uint32_t>(le16(bytes, at + 2)) << 16);
}

struct ArtRecord {
  std::uint8_t version;
  std::uint16_t instance;
  std::uint16_t type;
  ByteSpan body;
};

// The records laid end to end in `bytes`; none may run past its end.
std::vector<ArtRecord> split_records(ByteSpan bytes) {
  std::vector<ArtRecord> records;
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < kHeaderSize) fail("a drawing record header is cut short");
    const std::uint16_t version_instance = le16(bytes, at);
    const std::uint32_t length = le32(bytes, at + 4);
    if (length > bytes.size() - at - kHeaderSize) fail("a drawing record runs past its container");
    records.push_back({static_cast<std::uint8_t>(version_instance & 0x0F),
                       static_cast<std::uint16_t>(version_instance >> 4), le16(bytes, at + 2),
                       bytes.subspan(at + kHeaderSize, length)});
    at += kHeaderSize + length;
  }
  return records;
}

bool is_container(const ArtRecord& record) { return record.version == 0x0F; }

// The shape's name among its properties: the complex data follows the
// fixed entries in the order of the complex properties.
std::string shape_name(ByteSpan body, std::size_t count) {
  if (count > body.size() / 6) fail("a shape's property table is longer than its record");
  std::size_t complex_at = count * 6;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint16_t id = le16(body, i * 6);
    const std::uint32_t value = le32(body, i * 6 + 2);
    if (!(id & kComplexBit)) continue;
    if (value > body.size() - complex_at) fail("a shape's property data runs past its record");
    if ((id & kIdMask) == art::ShapeName) {
      std::u16string text;
      for (std::size_t k = 0; k + 1 < value; k += 2) text += static_cast<char16_t>(le16(body, complex_at + k));
      while (!text.empty() && text.back() == u'\0') text.pop_back();
      return utf16_to_utf8(text);
    }
    complex_at += value;
  }
  return {};
}

bool shape_hidden(ByteSpan body, std::size_t count) {
  for (std::size_t i = 0; i < count && (i + 1) * 6 <= body.size(); ++i) {
    if ((le16(body, i * 6) & kIdMask) != art::GroupBooleans) continue;
    const std::uint32_t value = le32(body, i * 6 + 2);
    return (value & (art::HiddenBit << 16)) && (value & art::HiddenBit);
  }
  return false;
}

ArtShape read_shape(ByteSpan container) {
  ArtShape shape;
  for (const ArtRecord& record : split_records(container)) {
    switch (record.type) {
      case art::Sp:
        if (record.body.size() < 8) fail("a shape record is cut short");
        shape.type = record.instance;
        shape.spid = le32(record.body, 0);
        shape.flags = le32(record.body, 4);
        break;
      case art::Opt:
        shape.name = shape_name(record.body, record.instance);
        shape.hidden = shape_hidden(record.body, record.instance);
        break;
      case art::ClientAnchor:
        if (record.body.size() < 18) fail("a shape's anchor is cut short");
        shape.anchor = ArtAnchor{le16(record.body, 2),  le16(record.body, 6),  le16(record.body, 10),
                                 le16(record.body, 14), le16(record.body, 4),  le16(record.body, 8),
                                 le16(record.body, 12), le16(record.body, 16)};
        break;
      case art::ClientData: shape.has_client_data = true; break;
      default: break;
    }
  }
  return shape;
}

void collect_shapes(ByteSpan bytes, int depth, std::vector<ArtShape>& shapes) {
  if (depth > kMaxArtDepth) fail("the drawing objects are nested too deeply");
  for (const ArtRecord& record : split_records(bytes)) {
    if (!is_container(record)) continue;
    if (record.type == art::SpContainer) shapes.push_back(read_shape(record.body));
    else collect_shapes(record.body, depth + 1, shapes);
  }
}

}  // namespace

Bytes art_header(std::uint16_t type, std::uint16_t instance, std::uint8_t version, std::uint32_t length) {
  RecordBody header;
  header.u16(static_cast<std::uint16_t>((instance << 4) | (version & 0x0F))).u16(type).u32(length);
  return header.take();
}

Bytes art_atom(std::uint16_t type, std::uint16_t instance, std::uint8_t version, const Bytes& data) {
  Bytes bytes = art_header(type, instance, version, static_cast<std::uint32_t>(data.size()));
  append(bytes, data);
  return bytes;
}

Bytes art_container(std::uint16_t type, const Bytes& children) { return art_atom(type, 0, 0x0F, children); }

Bytes art_properties(std::vector<ArtProperty> properties) {
  std::sort(properties.begin(), properties.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
  RecordBody fixed, complex;
  for (const ArtProperty& property : properties) {
    if (property.complex.empty()) {
      fixed.u16(property.id).u32(property.value);
      continue;
    }
    // Names end with a null character, counted in the length.
    const auto length = static_cast<std::uint32_t>((property.complex.size() + 1) * 2);
    fixed.u16(static_cast<std::uint16_t>(property.id | kComplexBit)).u32(length);
    for (char16_t c : property.complex) complex.u16(static_cast<std::uint16_t>(c));
    complex.u16(0);
  }
  fixed.bytes(complex.data());
  return art_atom(art::Opt, static_cast<std::uint16_t>(properties.size()), 3, fixed.data());
}

Bytes art_anchor(const ArtAnchor& anchor, std::uint16_t flags) {
  RecordBody body;
  body.u16(flags)
      .u16(static_cast<std::uint16_t>(anchor.first_column)).u16(static_cast<std::uint16_t>(anchor.first_dx))
      .u16(static_cast<std::uint16_t>(anchor.first_row)).u16(static_cast<std::uint16_t>(anchor.first_dy))
      .u16(static_cast<std::uint16_t>(anchor.last_column)).u16(static_cast<std::uint16_t>(anchor.last_dx))
      .u16(static_cast<std::uint16_t>(anchor.last_row)).u16(static_cast<std::uint16_t>(anchor.last_dy));
  return art_atom(art::ClientAnchor, 0, 0, body.data());
}

void append(Bytes& to, const Bytes& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

std::vector<ArtShape> read_art_shapes(ByteSpan drawing) {
  std::vector<ArtShape> shapes;
  collect_shapes(drawing, 0, shapes);
  return shapes;
}

}  // namespace engine::xls
