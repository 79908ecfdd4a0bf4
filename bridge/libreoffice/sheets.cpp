// Sheets and Worksheet over a document's spreadsheets.
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>

#include "bridge/libreoffice/objects.hpp"
#include "platform/com/members.hpp"
#include "platform/excel/dispids.hpp"

namespace bridge::libreoffice {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

// Excel 2003's grid.
constexpr std::int32_t kRows = 65536;
constexpr std::int32_t kColumns = 256;

std::vector<Sheet> sheets_of(Application& app, const Document& document) {
  return app.office().call([&] {
    const Reference<css::container::XIndexAccess> sheets(document->getSheets(), UNO_QUERY_THROW);
    std::vector<Sheet> all;
    for (sal_Int32 i = 0; i < sheets->getCount(); ++i) all.emplace_back(sheets->getByIndex(i), UNO_QUERY_THROW);
    return all;
  });
}

std::string sheet_name(Application& app, const Sheet& sheet) {
  return app.office().call([&] { return from_uno(Reference<css::container::XNamed>(sheet, UNO_QUERY_THROW)->getName()); });
}

std::shared_ptr<Worksheet> sheet_at(Sheets& s, const Variant& index) {
  Application& app = s.app();
  app.require_answering();
  const std::vector<Sheet> all = sheets_of(app, s.document());
  std::vector<std::string> names;
  for (const Sheet& sheet : all) names.push_back(sheet_name(app, sheet));
  return std::make_shared<Worksheet>(s.app_ref(), s.document(), all[item_position(index, names)]);
}

std::string column_letters(std::int32_t column) {
  std::string letters;
  for (; column > 0; column = (column - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
  return letters;
}

// A range's text as Excel takes it: "D1", "A1:B3", or a Range object.
std::string address_of(const Variant& cell) {
  if (cell.is_object()) {
    if (const auto* range = dynamic_cast<const Range*>(&com::object_of(cell))) return range->address();
  }
  return com::cstr(cell);
}

void activate_sheet(Worksheet& w) {
  Application& app = w.app();
  app.require_answering();
  app.activate(w.document());
  app.office().call([&] {
    const Reference<css::frame::XModel> model(w.document(), UNO_QUERY_THROW);
    const Reference<css::sheet::XSpreadsheetView> view(model->getCurrentController(), UNO_QUERY);
    if (view.is()) view->setActiveSheet(w.sheet());
  });
}

}  // namespace

std::shared_ptr<Range> sheet_range(const std::shared_ptr<Application>& app, const Sheet& sheet, const Variant& cell1,
                                   const std::optional<Variant>& cell2) {
  app->require_answering();
  std::string address = address_of(cell1);
  if (cell2 && !cell2->is_missing()) {
    address += ':';
    address += address_of(*cell2);
  }
  // Calc names what Excel names here; what it cannot find, Excel cannot either.
  app->office().call([&] { sheet->getCellRangeByName(to_uno(address)); });
  return std::make_shared<Range>(app, sheet, address);
}

std::shared_ptr<Range> sheet_cell(const std::shared_ptr<Application>& app, const Sheet& sheet, std::int32_t row,
                                  std::int32_t column) {
  app->require_answering();
  if (row < 1 || row > kRows || column < 1 || column > kColumns) {
    com::raise(com::err::ApplicationDefined, "Microsoft Excel", "Application-defined or object-defined error");
  }
  return std::make_shared<Range>(app, sheet, column_letters(column) + std::to_string(row));
}

const com::MemberTable& Sheets::members() const {
  static const com::MemberTable table =
      com::Members<Sheets>("Sheets")
          .get("Count", dispid::Count,
               [](Sheets& s) {
                 s.app().require_answering();
                 return static_cast<std::int32_t>(sheets_of(s.app(), s.document()).size());
               })
          .get("Item", dispid::Item, [](Sheets& s, const Variant& i) { return sheet_at(s, i); }, {"Index"})
          .get("_Default", com::DISPID_VALUE, [](Sheets& s, const Variant& i) { return sheet_at(s, i); }, {"Index"});
  return table;
}

const com::MemberTable& Worksheet::members() const {
  static const com::MemberTable table =
      com::Members<Worksheet>("Worksheet")
          .get("Name", dispid::Name,
               [](Worksheet& w) {
                 w.app().require_answering();
                 return sheet_name(w.app(), w.sheet());
               })
          .put("Name", dispid::Name,
               [](Worksheet& w, const std::string& name) {
                 w.app().require_answering();
                 w.app().office().call(
                     [&] { Reference<css::container::XNamed>(w.sheet(), UNO_QUERY_THROW)->setName(to_uno(name)); });
               })
          .get("Parent", dispid::Parent, [](Worksheet& w) { return std::make_shared<Workbook>(w.app_ref(), w.document()); })
          .get("Range", dispid::Range,
               [](Worksheet& w, const Variant& cell1, std::optional<Variant> cell2) {
                 return sheet_range(w.app_ref(), w.sheet(), cell1, cell2);
               },
               {"Cell1", "Cell2"})
          .get("Cells", dispid::Cells,
               [](Worksheet& w, std::int32_t row, std::int32_t column) {
                 return sheet_cell(w.app_ref(), w.sheet(), row, column);
               },
               {"RowIndex", "ColumnIndex"})
          .method("Activate", dispid::Activate, [](Worksheet& w) { activate_sheet(w); })
          .method("Select", dispid::Select, [](Worksheet& w, std::optional<Variant>) { activate_sheet(w); }, {"Replace"});
  return table;
}

}  // namespace bridge::libreoffice
