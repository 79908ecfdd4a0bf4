// The OfficeArt drawing records that MSODRAWINGGROUP and MSODRAWING carry:
// a tree of containers and atoms, each with an 8-byte header (version and
// instance, type, length). Built here as bytes; read back into the list of
// shapes a sheet draws, with every length checked against its container.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/xls/record_reader.hpp"

namespace engine::xls {

using Bytes = std::vector<std::uint8_t>;

namespace art {

inline constexpr std::uint16_t DggContainer = 0xF000;
inline constexpr std::uint16_t DgContainer = 0xF002;
inline constexpr std::uint16_t SpgrContainer = 0xF003;
inline constexpr std::uint16_t SpContainer = 0xF004;
inline constexpr std::uint16_t Dgg = 0xF006;
inline constexpr std::uint16_t Dg = 0xF008;
inline constexpr std::uint16_t Spgr = 0xF009;
inline constexpr std::uint16_t Sp = 0xF00A;
inline constexpr std::uint16_t Opt = 0xF00B;
inline constexpr std::uint16_t ClientTextbox = 0xF00D;
inline constexpr std::uint16_t ClientAnchor = 0xF010;
inline constexpr std::uint16_t ClientData = 0xF011;
inline constexpr std::uint16_t SplitMenuColors = 0xF11E;

// Shape types (FSP instance).
inline constexpr std::uint16_t NotPrimitive = 0;
inline constexpr std::uint16_t Rectangle = 1;
inline constexpr std::uint16_t Ellipse = 3;
inline constexpr std::uint16_t HostControl = 201;
inline constexpr std::uint16_t TextBox = 202;

// FSP flags.
inline constexpr std::uint32_t Group = 0x0001;
inline constexpr std::uint32_t Patriarch = 0x0004;
inline constexpr std::uint32_t HaveAnchor = 0x0200;
inline constexpr std::uint32_t HaveSpt = 0x0800;

// Property identifiers (OPT).
inline constexpr std::uint16_t Protection = 0x007F;
inline constexpr std::uint16_t TextBooleans = 0x00BF;
inline constexpr std::uint16_t ConnectionType = 0x0158;
inline constexpr std::uint16_t FillColor = 0x0181;
inline constexpr std::uint16_t FillBackColor = 0x0183;
inline constexpr std::uint16_t FillBooleans = 0x01BF;
inline constexpr std::uint16_t LineColor = 0x01C0;
inline constexpr std::uint16_t LineBooleans = 0x01FF;
inline constexpr std::uint16_t ShadowColor = 0x0201;
inline constexpr std::uint16_t ShadowBooleans = 0x023F;
inline constexpr std::uint16_t ShapeName = 0x0380;
inline constexpr std::uint16_t GroupBooleans = 0x03BF;
inline constexpr std::uint32_t HiddenBit = 0x0002;  // in GroupBooleans, with its "used" bit 16 places up

}  // namespace art

// One OPT entry; a complex one (a shape's name) carries its data, written
// after the fixed part of the OPT record.
struct ArtProperty {
  std::uint16_t id = 0;
  std::uint32_t value = 0;
  std::u16string complex;
};

// The cells a shape's corners lie in, with offsets within them as Excel
// counts them (1/1024 of a column, 1/256 of a row).
// The cells under a shape's corners, with the corners' offsets into them
// in 1/1024 of the column's width and 1/256 of the row's height.
struct ArtAnchor {
  int first_column = 0;
  int first_row = 0;
  int last_column = 0;
  int last_row = 0;
  int first_dx = 0;
  int first_dy = 0;
  int last_dx = 0;
  int last_dy = 0;
};

Bytes art_header(std::uint16_t type, std::uint16_t instance, std::uint8_t version, std::uint32_t length);
Bytes art_atom(std::uint16_t type, std::uint16_t instance, std::uint8_t version, const Bytes& data);
Bytes art_container(std::uint16_t type, const Bytes& children);
// Sorted by identifier, as Excel writes them.
Bytes art_properties(std::vector<ArtProperty> properties);
Bytes art_anchor(const ArtAnchor& anchor, std::uint16_t flags);
void append(Bytes& to, const Bytes& bytes);

// A shape as a sheet's drawing describes it. Only shapes followed by client
// data have an OBJ record of their own; they come in the order of those
// OBJ records.
struct ArtShape {
  std::uint16_t type = 0;
  std::uint32_t spid = 0;
  std::uint32_t flags = 0;
  std::string name;  // the shape's own name, empty when the file gives none
  std::optional<ArtAnchor> anchor;
  bool hidden = false;
  bool has_client_data = false;
};

// Containers deeper than this (groups within groups) are taken for damage.
inline constexpr int kMaxArtDepth = 32;

// The shapes of a sheet's drawing (every MSODRAWING of the sheet, joined),
// in drawing order. Throws FileError when a record runs past its container
// or containers nest deeper than kMaxArtDepth.
std::vector<ArtShape> read_art_shapes(ByteSpan drawing);

}  // namespace engine::xls
