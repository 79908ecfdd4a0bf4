#include "engine/xlsx/drawing_parts.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>

#include "engine/model/cell_range.hpp"
#include "engine/model/constants.hpp"
#include "engine/xlsx/xml_names.hpp"

namespace engine::xlsx {

namespace {

using package::children;
using package::first_child;
using package::local_name;

constexpr double kEmuPerPoint = 12700;
constexpr double kPointsPerPixel = 0.75;  // at 96 pixels to the inch
// Drawing elements nest (groups, alternate content); deeper than this is
// not a drawing any writer makes.
constexpr int kMaxNesting = 16;

std::optional<long long> child_integer(const xmlNode& parent, const char* name) {
  const xmlNode* element = first_child(parent, kAnyNs, name);
  if (!element) return std::nullopt;
  const std::string text = package::text_of(*element);
  long long value = 0;
  const char* begin = text.data();
  while (begin != text.data() + text.size() && *begin == ' ') ++begin;
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  (void)end;
  return value;
}

int clamp_line(long long value, int count) { return static_cast<int>(std::clamp<long long>(value, 0, count)); }

// "position:absolute;margin-left:0pt;width:100.5pt;height:12.75pt": a length in points.
std::optional<double> style_points(std::string_view style, std::string_view property) {
  std::size_t at = 0;
  while ((at = style.find(property, at)) != std::string_view::npos) {
    const bool starts = at == 0 || style[at - 1] == ';' || style[at - 1] == ' ';
    at += property.size();
    if (!starts || at >= style.size() || style[at] != ':') continue;
    const std::string value(style.substr(at + 1, style.find(';', at) - at - 1));
    char* end = nullptr;
    const double number = std::strtod(value.c_str(), &end);
    if (end == value.c_str()) return std::nullopt;
    const std::string_view unit(end);
    if (unit.starts_with("pt") || unit.empty()) return number;
    if (unit.starts_with("px")) return number * kPointsPerPixel;
    if (unit.starts_with("in")) return number * 72;
    return std::nullopt;
  }
  return std::nullopt;
}

// x:Anchor: "LeftColumn, LeftOffset, TopRow, TopOffset, RightColumn,
// RightOffset, BottomRow, BottomOffset", offsets in pixels.
std::optional<std::array<long long, 8>> vml_anchor(const xmlNode& client_data) {
  const xmlNode* anchor = first_child(client_data, kAnyNs, "Anchor");
  if (!anchor) return std::nullopt;
  const std::string text = package::text_of(*anchor);
  std::array<long long, 8> values{};
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (auto& value : values) {
    while (at != end && (*at == ' ' || *at == ',' || *at == '\n' || *at == '\r')) ++at;
    const auto result = std::from_chars(at, end, value);
    if (result.ec != std::errc()) return std::nullopt;
    at = result.ptr;
  }
  return values;
}

// "True"/"False" as VML client data writes them; an empty element means true.
bool vml_flag(const xmlNode& element) {
  const std::string text = package::text_of(element);
  return !(text == "False" || text == "false" || text == "0" || text == "f");
}

}  // namespace

std::vector<CommentRecord> read_comments_part(const package::XmlPart& part) {
  std::vector<std::string> authors;
  if (const xmlNode* list = first_child(part.root(), kAnyNs, "authors"))
    for (const xmlNode& author : children(*list, kAnyNs, "author")) authors.push_back(package::text_of(author));
  std::vector<CommentRecord> comments;
  const xmlNode* list = first_child(part.root(), kAnyNs, "commentList");
  if (!list) return comments;
  for (const xmlNode& comment : children(*list, kAnyNs, "comment")) {
    const std::string ref = attr(comment, "ref").value_or("");
    const auto position = parse_cell(ref);
    if (!position) part.fail_at(comment, "the note's cell '" + ref + "' lies outside Excel 2003's grid");
    CommentRecord record{position->row, position->column, {}, {}};
    if (const xmlNode* text = first_child(comment, kAnyNs, "text")) record.text = rich_text(*text);
    const long long author = integer(comment, "authorId").value_or(-1);
    if (author >= 0 && static_cast<std::size_t>(author) < authors.size())
      record.author = authors[static_cast<std::size_t>(author)];
    comments.push_back(std::move(record));
  }
  return comments;
}

std::vector<VmlShape> read_vml_drawing_part(const package::XmlPart& part) {
  std::vector<VmlShape> shapes;
  for (const xmlNode& element : children(part.root(), ns::kVml, "shape")) {
    const xmlNode* client_data = first_child(element, ns::kVmlExcel, "ClientData");
    if (!client_data) continue;
    VmlShape shape;
    const std::string type = attr(*client_data, "ObjectType").value_or("");
    shape.kind = type == "Note" ? VmlShape::Kind::Note
                 : type == "Checkbox" ? VmlShape::Kind::CheckBox
                                      : VmlShape::Kind::Other;
    const std::string id = attr(element, "id").value_or("");
    if (const auto mark = id.rfind("_s"); mark != std::string::npos) {
      long long number = 0;
      if (std::from_chars(id.data() + mark + 2, id.data() + id.size(), number).ec == std::errc())
        shape.shape_id = number;
    }
    shape.name = attr(element, "ID").value_or("");
    if (const xmlNode* text_box = first_child(element, ns::kVml, "textbox")) shape.text = package::text_of(*text_box);
    while (!shape.text.empty() && (shape.text.back() == '\n' || shape.text.back() == ' ')) shape.text.pop_back();
    while (!shape.text.empty() && (shape.text.front() == '\n' || shape.text.front() == ' ')) shape.text.erase(0, 1);
    if (const auto anchor = vml_anchor(*client_data)) {
      shape.column = clamp_line((*anchor)[0], model::kMaxColumns);
      shape.row = clamp_line((*anchor)[2], model::kMaxRows);
      model::ShapeExtent extent;
      extent.left_offset = std::max<long long>((*anchor)[1], 0) * kPointsPerPixel;
      extent.top_offset = std::max<long long>((*anchor)[3], 0) * kPointsPerPixel;
      const std::string style = attr(element, "style").value_or("");
      const auto width = style_points(style, "width");
      const auto height = style_points(style, "height");
      if (width && height && *width > 0 && *height > 0 && *width < 1e6 && *height < 1e6) {
        extent.width = *width;
        extent.height = *height;
        shape.extent = extent;
      }
    }
    if (auto row = child_integer(*client_data, "Row")) shape.row = clamp_line(*row, model::kMaxRows);
    if (auto column = child_integer(*client_data, "Column")) shape.column = clamp_line(*column, model::kMaxColumns);
    shape.visible = first_child(*client_data, ns::kVmlExcel, "Visible") != nullptr;
    if (auto checked = child_integer(*client_data, "Checked"))
      shape.checked = *checked == 1 ? model::xl::On : *checked == 2 ? model::xl::Mixed : model::xl::Off;
    if (const xmlNode* locked = first_child(*client_data, ns::kVmlExcel, "Locked")) shape.locked = vml_flag(*locked);
    shapes.push_back(std::move(shape));
  }
  return shapes;
}

namespace {

// xdr:from / xdr:to: <xdr:col>, <xdr:colOff> (EMU), <xdr:row>, <xdr:rowOff>.
struct Marker {
  int row = 0, column = 0;
  double row_offset = 0, column_offset = 0;  // points
};
std::optional<Marker> read_marker(const xmlNode* marker) {
  if (!marker) return std::nullopt;
  const auto column = child_integer(*marker, "col");
  const auto row = child_integer(*marker, "row");
  if (!column || !row) return std::nullopt;
  return Marker{clamp_line(*row, model::kMaxRows), clamp_line(*column, model::kMaxColumns),
                std::max<long long>(child_integer(*marker, "rowOff").value_or(0), 0) / kEmuPerPoint,
                std::max<long long>(child_integer(*marker, "colOff").value_or(0), 0) / kEmuPerPoint};
}

// The text of a DrawingML txBody: its paragraphs' runs, one line per paragraph.
std::string body_text(const xmlNode& body) {
  std::string text;
  bool first = true;
  for (const xmlNode& paragraph : children(body, kAnyNs, "p")) {
    if (!first) text += '\n';
    first = false;
    for (const xmlNode& run : children(paragraph, kAnyNs)) {
      if (local_name(run) == "br") text += '\n';
      else if (const xmlNode* t = first_child(run, kAnyNs, "t")) text += package::text_of(*t);
    }
  }
  return text;
}

void read_anchor(const xmlNode& anchor, bool in_alternate, std::vector<DrawingShape>& shapes) {
  const auto from = read_marker(first_child(anchor, kAnyNs, "from"));
  for (const xmlNode& object : children(anchor, kAnyNs)) {
    const std::string_view kind = local_name(object);
    if (kind == "from" || kind == "to" || kind == "pos" || kind == "ext" || kind == "clientData") continue;
    DrawingShape shape;
    shape.form_control = in_alternate;
    if (from) {
      shape.row = from->row;
      shape.column = from->column;
    }
    // nvSpPr, nvPicPr, nvGraphicFramePr...: each kind's non-visual properties.
    const xmlNode* properties = nullptr;
    for (const xmlNode& child : children(object, kAnyNs))
      if (local_name(child).starts_with("nv")) {
        properties = first_child(child, kAnyNs, "cNvPr");
        break;
      }
    if (properties) {
      shape.id = integer(*properties, "id").value_or(0);
      shape.name = attr(*properties, "name").value_or("");
    }
    const xmlNode* body = first_child(object, kAnyNs, "txBody");
    // Inside alternate content, a shape is a form control's DrawingML copy:
    // its caption and state come from the VML and ctrlProps parts.
    if (kind != "sp") shape.other = true;
    if (body) shape.text = body_text(*body);
    shape.text_box = kind == "sp" && !in_alternate && body;
    if (const xmlNode* sp_properties = first_child(object, kAnyNs, "spPr"))
      if (const xmlNode* transform = first_child(*sp_properties, kAnyNs, "xfrm"))
        if (const xmlNode* size = first_child(*transform, kAnyNs, "ext"); size && from) {
          const long long cx = integer(*size, "cx").value_or(0), cy = integer(*size, "cy").value_or(0);
          if (cx > 0 && cy > 0 && cx < (1LL << 40) && cy < (1LL << 40))
            shape.extent = model::ShapeExtent{from->column_offset, from->row_offset, cx / kEmuPerPoint, cy / kEmuPerPoint};
        }
    shapes.push_back(std::move(shape));
    return;  // one object per anchor
  }
}

void read_anchors(const xmlNode& parent, bool in_alternate, int depth, std::vector<DrawingShape>& shapes) {
  if (depth > kMaxNesting) return;
  for (const xmlNode& element : children(parent, kAnyNs)) {
    const std::string_view name = local_name(element);
    if (name == "twoCellAnchor" || name == "oneCellAnchor" || name == "absoluteAnchor") {
      read_anchor(element, in_alternate, shapes);
    } else if (name == "AlternateContent") {
      // The Choice carries the modern description (a form control's shape);
      // the Fallback repeats it for older readers.
      if (const xmlNode* choice = first_child(element, kAnyNs, "Choice")) read_anchors(*choice, true, depth + 1, shapes);
      else if (const xmlNode* fallback = first_child(element, kAnyNs, "Fallback"))
        read_anchors(*fallback, true, depth + 1, shapes);
    }
  }
}

}  // namespace

std::vector<DrawingShape> read_drawing_part(const package::XmlPart& part) {
  std::vector<DrawingShape> shapes;
  read_anchors(part.root(), false, 0, shapes);
  return shapes;
}

ControlProperties read_control_properties_part(const package::XmlPart& part) {
  ControlProperties properties;
  properties.object_type = attr(part.root(), "objectType").value_or("");
  if (auto checked = attr(part.root(), "checked"))
    properties.value = *checked == "Checked" ? model::xl::On : *checked == "Mixed" ? model::xl::Mixed : model::xl::Off;
  return properties;
}

}  // namespace engine::xlsx
