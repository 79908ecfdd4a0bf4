#include "engine/xls/print_records.hpp"

#include <algorithm>

#include "engine/model/constants.hpp"
#include "engine/xls/record_types.hpp"

namespace engine::xls {

namespace {

constexpr std::uint16_t kPortrait = 0x0002;
constexpr std::uint16_t kNoOrientation = 0x0004;  // the printer's settings were never filled in

RecordBody u16_body(std::uint16_t value) {
  RecordBody body;
  body.u16(value);
  return body;
}

RecordBody inches(double points) {
  RecordBody body;
  body.f64(points / 72);
  return body;
}

// Only the centre section is kept: "&C" is where Excel puts plain text.
RecordBody header_footer(const std::string& text) {
  RecordBody body;
  body.string16(text.empty() ? "" : "&C" + text);
  return body;
}

std::string header_footer_text(const Record& record) {
  if (record.pieces.front().empty()) return {};
  RecordCursor in(record);
  std::string text = in.string16();
  return text.rfind("&C", 0) == 0 ? text.substr(2) : text;
}

}  // namespace

void write_print_settings(RecordWriter& out, const model::PageSetup& setup) {
  out.record(rt::Header, header_footer(setup.center_header));
  out.record(rt::Footer, header_footer(setup.center_footer));
  out.record(rt::HCenter, u16_body(setup.center_horizontally ? 1 : 0));
  out.record(rt::VCenter, u16_body(setup.center_vertically ? 1 : 0));
  out.record(rt::LeftMargin, inches(setup.left_margin));
  out.record(rt::RightMargin, inches(setup.right_margin));
  out.record(rt::TopMargin, inches(setup.top_margin));
  out.record(rt::BottomMargin, inches(setup.bottom_margin));
  RecordBody body;
  const std::uint16_t flags = setup.orientation == model::xl::Portrait ? kPortrait : 0;
  body.u16(static_cast<std::uint16_t>(setup.paper_size)).u16(static_cast<std::uint16_t>(setup.zoom))
      .u16(1).u16(1).u16(1).u16(flags).u16(600).u16(600)
      .f64(setup.header_margin / 72).f64(setup.footer_margin / 72).u16(1);
  out.record(rt::Setup, body);
}

bool read_print_setting(const Record& record, model::PageSetup& setup) {
  RecordCursor in(record);
  switch (record.type) {
    case rt::Setup: {
      setup.paper_size = in.u16();
      setup.zoom = std::clamp<int>(in.u16(), 10, 400);
      in.skip(6);
      const std::uint16_t flags = in.u16();
      if (!(flags & kNoOrientation)) setup.orientation = (flags & kPortrait) ? model::xl::Portrait : model::xl::Landscape;
      return true;
    }
    case rt::HCenter: setup.center_horizontally = in.u16() != 0; return true;
    case rt::VCenter: setup.center_vertically = in.u16() != 0; return true;
    case rt::LeftMargin: setup.left_margin = in.f64() * 72; return true;
    case rt::RightMargin: setup.right_margin = in.f64() * 72; return true;
    case rt::TopMargin: setup.top_margin = in.f64() * 72; return true;
    case rt::BottomMargin: setup.bottom_margin = in.f64() * 72; return true;
    case rt::PrintGrid: setup.print_gridlines = in.u16() != 0; return true;
    case rt::Header: setup.center_header = header_footer_text(record); return true;
    case rt::Footer: setup.center_footer = header_footer_text(record); return true;
    default: return false;
  }
}

}  // namespace engine::xls
