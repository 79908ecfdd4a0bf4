#include "engine/app/page_setup.hpp"

#include <type_traits>

#include "engine/app/application.hpp"
#include "engine/app/fixed_property.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;

namespace {

constexpr com::DispId kLeftMargin = 999;
constexpr com::DispId kRightMargin = 1000;
constexpr com::DispId kTopMargin = 1001;
constexpr com::DispId kBottomMargin = 1002;
constexpr com::DispId kCenterVertically = 1006;
constexpr com::DispId kPaperSize = 1007;
constexpr com::DispId kCenterFooter = 1010;
constexpr com::DispId kCenterHeader = 1011;
constexpr com::DispId kFooterMargin = 1015;
constexpr com::DispId kHeaderMargin = 1016;
constexpr com::DispId kPrintGridlines = 1021;

template <auto Field>
using FieldType = std::remove_cvref_t<decltype(std::declval<model::PageSetup&>().*Field)>;

template <auto Field>
constexpr auto read_field = [](PageSetup& p) { return FieldType<Field>(p.settings().*Field); };

template <auto Field>
constexpr auto write_field = [](PageSetup& p, FieldType<Field> value) {
  p.change([&value](model::PageSetup& s) { s.*Field = value; });
};

}  // namespace

PageSetup::PageSetup(std::shared_ptr<Application> app, SheetRef sheet)
    : AppObject(std::move(app)), sheet_(std::move(sheet)) {}

const model::PageSetup& PageSetup::settings() const { return sheet_.get(application()).page_setup(); }

void PageSetup::change(const std::function<void(model::PageSetup&)>& change) {
  model::Worksheet& sheet = sheet_.get(application());
  if (sheet.protection().contents) raise_refused("Unable to set a property of the PageSetup class: the sheet is protected");
  model::PageSetup updated = sheet.page_setup();
  change(updated);
  model::validate(updated);
  sheet.set_page_setup(updated);
}

const GuardedMembers& PageSetup::member_table() const {
  using S = model::PageSetup;
  static const GuardedMembers table =
      AppMembers<PageSetup>("PageSetup")
          .get("Orientation", dispid::Orientation, read_field<&S::orientation>)
          .put("Orientation", dispid::Orientation, write_field<&S::orientation>)
          .get("CenterHorizontally", dispid::CenterHorizontally, read_field<&S::center_horizontally>)
          .put("CenterHorizontally", dispid::CenterHorizontally, write_field<&S::center_horizontally>)
          .get("CenterVertically", kCenterVertically, read_field<&S::center_vertically>)
          .put("CenterVertically", kCenterVertically, write_field<&S::center_vertically>)
          .get("LeftMargin", kLeftMargin, read_field<&S::left_margin>)
          .put("LeftMargin", kLeftMargin, write_field<&S::left_margin>)
          .get("RightMargin", kRightMargin, read_field<&S::right_margin>)
          .put("RightMargin", kRightMargin, write_field<&S::right_margin>)
          .get("TopMargin", kTopMargin, read_field<&S::top_margin>)
          .put("TopMargin", kTopMargin, write_field<&S::top_margin>)
          .get("BottomMargin", kBottomMargin, read_field<&S::bottom_margin>)
          .put("BottomMargin", kBottomMargin, write_field<&S::bottom_margin>)
          .get("HeaderMargin", kHeaderMargin, read_field<&S::header_margin>)
          .put("HeaderMargin", kHeaderMargin, write_field<&S::header_margin>)
          .get("FooterMargin", kFooterMargin, read_field<&S::footer_margin>)
          .put("FooterMargin", kFooterMargin, write_field<&S::footer_margin>)
          .get("CenterHeader", kCenterHeader, read_field<&S::center_header>)
          .put("CenterHeader", kCenterHeader, write_field<&S::center_header>)
          .get("CenterFooter", kCenterFooter, read_field<&S::center_footer>)
          .put("CenterFooter", kCenterFooter, write_field<&S::center_footer>)
          .get("PaperSize", kPaperSize, read_field<&S::paper_size>)
          .put("PaperSize", kPaperSize, write_field<&S::paper_size>)
          .get("Zoom", dispid::Zoom, read_field<&S::zoom>)
          .put("Zoom", dispid::Zoom, write_field<&S::zoom>)
          .get("PrintGridlines", kPrintGridlines, read_field<&S::print_gridlines>)
          .put("PrintGridlines", kPrintGridlines, write_field<&S::print_gridlines>)
          // The Page Setup dialog's recording sets these too, to what a sheet has
          // when nothing else was chosen; headers other than the centre ones,
          // print titles and areas are not kept here.
          .get("PrintTitleRows", 1024, [](PageSetup&) { return com::Variant(std::string()); })
          .put("PrintTitleRows", 1024, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(std::string()), "PrintTitleRows", "PageSetup"); })
          .get("PrintTitleColumns", 1023, [](PageSetup&) { return com::Variant(std::string()); })
          .put("PrintTitleColumns", 1023, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(std::string()), "PrintTitleColumns", "PageSetup"); })
          .get("PrintArea", 1019, [](PageSetup&) { return com::Variant(std::string()); })
          .put("PrintArea", 1019, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(std::string()), "PrintArea", "PageSetup"); })
          .get("LeftHeader", 1018, [](PageSetup&) { return com::Variant(std::string()); })
          .put("LeftHeader", 1018, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(std::string()), "LeftHeader", "PageSetup"); })
          .get("RightHeader", 1026, [](PageSetup&) { return com::Variant(std::string()); })
          .put("RightHeader", 1026, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(std::string()), "RightHeader", "PageSetup"); })
          .get("LeftFooter", 1017, [](PageSetup&) { return com::Variant(std::string()); })
          .put("LeftFooter", 1017, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(std::string()), "LeftFooter", "PageSetup"); })
          .get("RightFooter", 1025, [](PageSetup&) { return com::Variant(std::string()); })
          .put("RightFooter", 1025, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(std::string()), "RightFooter", "PageSetup"); })
          .get("PrintHeadings", 1003, [](PageSetup&) { return com::Variant(false); })
          .put("PrintHeadings", 1003, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(false), "PrintHeadings", "PageSetup"); })
          .get("PrintComments", 1524, [](PageSetup&) { return com::Variant(platform::excel::xlPrintNoComments); })
          .put("PrintComments", 1524, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(platform::excel::xlPrintNoComments), "PrintComments", "PageSetup"); })
          .get("Draft", 1020, [](PageSetup&) { return com::Variant(false); })
          .put("Draft", 1020, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(false), "Draft", "PageSetup"); })
          .get("FirstPageNumber", 1008, [](PageSetup&) { return com::Variant(platform::excel::xlAutomatic); })
          .put("FirstPageNumber", 1008, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(platform::excel::xlAutomatic), "FirstPageNumber", "PageSetup"); })
          .get("Order", 192, [](PageSetup&) { return com::Variant(platform::excel::xlDownThenOver); })
          .put("Order", 192, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(platform::excel::xlDownThenOver), "Order", "PageSetup"); })
          .get("BlackAndWhite", 1009, [](PageSetup&) { return com::Variant(false); })
          .put("BlackAndWhite", 1009, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(false), "BlackAndWhite", "PageSetup"); })
          .get("PrintErrors", 2149, [](PageSetup&) { return com::Variant(platform::excel::xlPrintErrorsDisplayed); })
          .put("PrintErrors", 2149, [](PageSetup&, const com::Variant& v) { keep_fixed(v, com::Variant(platform::excel::xlPrintErrorsDisplayed), "PrintErrors", "PageSetup"); })
          // The printer's resolution is the driver's, not the sheet's: any is taken.
          .get("PrintQuality", 1022, [](PageSetup&) { return com::Variant(std::int32_t{600}); })
          .put("PrintQuality", 1022, [](PageSetup&, const com::Variant&) {})
          .get("Parent", dispid::Parent,
               [](PageSetup& p) { return make_worksheet(p.application_ref(), p.sheet_.book, p.sheet_.id); })
          .get("Application", dispid::Application, [](PageSetup& p) { return p.application_ref(); });
  return table;
}

}  // namespace engine::app
