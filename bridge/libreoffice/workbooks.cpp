// Workbooks and Workbook over LibreOffice's spreadsheet documents. Files
// are opened and saved by LibreOffice itself; Excel's formats map to its
// filters by the file's extension.
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>

#include "bridge/libreoffice/objects.hpp"
#include "platform/com/members.hpp"
#include "platform/com/text.hpp"
#include "platform/excel/dispids.hpp"
#include "platform/fs/path.hpp"

namespace bridge::libreoffice {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;
namespace stdfs = std::filesystem;
using css::uno::UNO_QUERY_THROW;

namespace {

// LibreOffice's filter for the format a file name's extension says.
std::string filter_for(const stdfs::path& file) {
  const std::string extension = com::lcase(file.extension().string());
  if (extension == ".xls") return "MS Excel 97";
  if (extension == ".xlt") return "MS Excel 97 Vorlage/Template";
  if (extension == ".xlsx" || extension == ".xlsm") return "Calc MS Excel 2007 XML";
  if (extension == ".ods") return "calc8";
  com::raise(com::err::ApplicationDefined, "Microsoft Excel",
             "Microsoft Excel cannot save '" + file.filename().string() + "' in a format its extension names");
}

std::shared_ptr<Workbook> workbook_at(Workbooks& books, const Variant& index) {
  return std::make_shared<Workbook>(books.app_ref(), books.app().document_at(index));
}

}  // namespace

const com::MemberTable& Workbooks::members() const {
  static const com::MemberTable table =
      com::Members<Workbooks>("Workbooks")
          .get("Count", dispid::Count, [](Workbooks& w) { return static_cast<std::int32_t>(w.app().documents().size()); })
          .get("Item", dispid::Item, [](Workbooks& w, const Variant& i) { return workbook_at(w, i); }, {"Index"})
          .get("_Default", com::DISPID_VALUE, [](Workbooks& w, const Variant& i) { return workbook_at(w, i); },
               {"Index"})
          .get("Application", dispid::Application, [](Workbooks& w) { return w.app_ref(); })
          .method("Open", dispid::Open,
                  [](Workbooks& w, const std::string& filename) {
                    return std::make_shared<Workbook>(w.app_ref(), w.app().open(filename));
                  },
                  {"Filename"})
          .method("Add", dispid::Add,
                  [](Workbooks& w, std::optional<Variant> template_name) {
                    return std::make_shared<Workbook>(w.app_ref(), w.app().add(template_name));
                  },
                  {"Template"});
  return table;
}

std::string Workbook::name() const {
  app().require_answering();
  return app().name_of(document_);
}

void Workbook::activate() {
  app().require_answering();
  app().activate(document_);
}

// Excel asks before it drops changes; through automation the caller says.
// A changed workbook closed without SaveChanges is refused rather than
// either saved or lost.
void Workbook::close(std::optional<bool> save_changes, std::optional<std::string> filename) {
  app().require_answering();
  Office& office = app().office();
  if (save_changes.value_or(false)) {
    filename ? save_as(*filename) : save();
  } else if (!save_changes && office.call([&] { return Reference<css::util::XModifiable>(document_, UNO_QUERY_THROW)->isModified(); })) {
    com::raise(com::err::ApplicationDefined, "Microsoft Excel",
               "'" + name() + "' has changes: Close needs SaveChanges to say whether to keep them");
  }
  office.call([&] { Reference<css::util::XCloseable>(document_, UNO_QUERY_THROW)->close(true); });
  app().forget(document_);
}

void Workbook::save() {
  app().require_answering();
  Office& office = app().office();
  const rtl::OUString url = office.call([&] { return Reference<css::frame::XModel>(document_, UNO_QUERY_THROW)->getURL(); });
  if (url.isEmpty()) {
    com::raise(com::err::ApplicationDefined, "Microsoft Excel", "'" + name() + "' has no file yet: save it with SaveAs");
  }
  app().require_writable(path_of_url(url));
  office.call([&] { Reference<css::frame::XStorable>(document_, UNO_QUERY_THROW)->store(); });
}

void Workbook::save_as(const std::string& filename) {
  app().require_answering();
  const stdfs::path file = platform::fs::host_path(filename);
  const std::string filter = filter_for(file);
  app().require_writable(file);
  const auto arguments =
      properties({property("FilterName", css::uno::Any(to_uno(filter))), property("Overwrite", css::uno::Any(true))});
  app().office().call(
      [&] { Reference<css::frame::XStorable>(document_, UNO_QUERY_THROW)->storeAsURL(file_url(file), arguments); });
}

const com::MemberTable& Workbook::members() const {
  static const com::MemberTable table =
      com::Members<Workbook>("Workbook")
          .get("Name", dispid::Name, &Workbook::name)
          .get("Application", dispid::Application, [](Workbook& w) { return w.app_ref(); })
          .method("Activate", dispid::Activate, &Workbook::activate)
          .method("Close", dispid::Close, &Workbook::close, {"SaveChanges", "Filename"})
          .method("Save", dispid::Save, &Workbook::save)
          .method("SaveAs", dispid::SaveAs, &Workbook::save_as, {"Filename"})
          .get("Sheets", dispid::Sheets,
               [](Workbook& w) {
                 w.app().require_answering();
                 return std::make_shared<Sheets>(w.app_ref(), w.document());
               })
          .get("Worksheets", dispid::Worksheets,
               [](Workbook& w) {
                 w.app().require_answering();
                 return std::make_shared<Sheets>(w.app_ref(), w.document());
               })
          .get("ActiveSheet", dispid::ActiveSheet, [](Workbook& w) {
            w.app().require_answering();
            return std::make_shared<Worksheet>(w.app_ref(), w.document(), w.app().active_sheet_of(w.document()));
          });
  return table;
}

}  // namespace bridge::libreoffice
