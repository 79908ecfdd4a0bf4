#include "engine/ods/workbook_file.hpp"

#include <optional>
#include <vector>

#include "engine/import/file_error.hpp"
#include "engine/import/workbook_loader.hpp"
#include "engine/model/text.hpp"
#include "engine/ods/data_styles.hpp"
#include "engine/ods/odf_namespaces.hpp"
#include "engine/ods/style_sheet.hpp"
#include "engine/ods/table_reader.hpp"
#include "engine/ods/view_settings.hpp"
#include "engine/package/xml_part.hpp"
#include "engine/package/zip_archive.hpp"
#include "platform/com/text.hpp"

namespace engine::ods {

namespace {

namespace pkg = engine::package;

// The package's parts, parsed. Every node pointer the styles and readers
// keep points into these, so they outlive the load.
struct Parts {
  std::optional<pkg::XmlPart> styles;
  pkg::XmlPart content;
  std::optional<pkg::XmlPart> settings;
  std::optional<pkg::XmlPart> meta;
};

// The "mimetype" entry, first in every OpenDocument package, says what the
// document is; a package without one is read for its content.xml alone.
void check_mime_type(pkg::ZipArchive& archive) {
  const auto mime_type = archive.read_if_present("mimetype");
  if (!mime_type || *mime_type == kSpreadsheetMimeType || *mime_type == kTemplateMimeType) return;
  import::fail("the package is an OpenDocument file of another kind (" + mime_type->substr(0, 80) + "), not a spreadsheet");
}

// office:styles and office:automatic-styles of styles.xml, then
// office:automatic-styles of content.xml (automatic styles of the content
// take the names cells use).
void read_style_parts(const Parts& parts, DataStyles& data, StyleSheet& styles) {
  if (parts.styles) {
    const xmlNode& root = parts.styles->root();
    if (const xmlNode* named = pkg::first_child(root, ns::office, "styles")) {
      data.add_children_of(*named);
      styles.add_children_of(*named, true);
    }
    if (const xmlNode* automatic = pkg::first_child(root, ns::office, "automatic-styles")) {
      data.add_children_of(*automatic);
      styles.add_children_of(*automatic, false);
    }
  }
  if (const xmlNode* automatic = pkg::first_child(parts.content.root(), ns::office, "automatic-styles")) {
    data.add_children_of(*automatic);
    styles.add_children_of(*automatic, false);
  }
}

// office:body/office:spreadsheet of content.xml.
const xmlNode& spreadsheet_of(const pkg::XmlPart& content) {
  const xmlNode* body = pkg::first_child(content.root(), ns::office, "body");
  if (!body) content.fail_at(content.root(), "the document has no office:body");
  const xmlNode* spreadsheet = pkg::first_child(*body, ns::office, "spreadsheet");
  if (!spreadsheet) content.fail_at(*body, "the document is not a spreadsheet (no office:spreadsheet)");
  return *spreadsheet;
}

// meta.xml: the title, subject and author Excel's summary shows.
void read_meta(const pkg::XmlPart& meta, model::DocumentProperties& properties) {
  const xmlNode* office_meta = pkg::first_child(meta.root(), ns::office, "meta");
  if (!office_meta) return;
  if (const xmlNode* title = pkg::first_child(*office_meta, ns::dc, "title")) properties.title = pkg::text_of(*title);
  if (const xmlNode* subject = pkg::first_child(*office_meta, ns::dc, "subject")) properties.subject = pkg::text_of(*subject);
  if (const xmlNode* author = pkg::first_child(*office_meta, ns::meta, "initial-creator")) properties.author = pkg::text_of(*author);
}

class DocumentReader {
 public:
  DocumentReader(const Parts& parts, const std::string& name, import::LoadReport* report)
      : parts_(parts), book_(std::make_unique<model::Workbook>(name)), report_(report), styles_(data_) {}

  std::unique_ptr<model::Workbook> run() {
    read_style_parts(parts_, data_, styles_);
    const xmlNode& spreadsheet = spreadsheet_of(parts_.content);
    std::vector<const xmlNode*> tables;
    for (const xmlNode& table : pkg::children(spreadsheet, ns::table, "table")) tables.push_back(&table);
    if (tables.empty()) parts_.content.fail_at(spreadsheet, "the spreadsheet has no table");
    for (const xmlNode* table : tables) add_sheet(*table);
    for (const NamedCellStyle& style : styles_.named_cell_styles()) import::add_user_style(*book_, style.name, style.format);
    LoadContext context(*book_, styles_, parts_.content, report_);
    book_->begin_bulk_load();
    for (const xmlNode& names : pkg::children(spreadsheet, ns::table, "named-expressions"))
      read_named_expressions(context, names, std::nullopt);
    for (std::size_t i = 0; i < tables.size(); ++i) read_table(context, *tables[i], book_->sheet(i), i);
    book_->end_bulk_load();
    apply_sheet_visibility(tables);
    if (parts_.settings) apply_view_settings(parts_.settings->root(), *book_, report_);
    if (parts_.meta) read_meta(*parts_.meta, book_->properties());
    // table:structure-protected: sheets cannot be added, moved or deleted.
    if (pkg::attribute(spreadsheet, ns::table, "structure-protected") == "true")
      book_->restore_protection(model::WorkbookProtection{true, false, 0});
    return std::move(book_);
  }

 private:
  // LibreOffice allows longer sheet names than Excel's 31 characters; such
  // a name is cut, as Excel cuts it, so that the workbook still opens.
  void add_sheet(const xmlNode& table) {
    std::string name = pkg::attribute(table, ns::table, "name").value_or("");
    if (model::utf16_length(name) > model::kMaxSheetNameLength) {
      std::u16string units = platform::com::to_utf16(name).substr(0, model::kMaxSheetNameLength);
      if (units.back() >= 0xD800 && units.back() <= 0xDBFF) units.pop_back();  // half a surrogate pair
      import::report_loss(report_, "the end of a long sheet name", "content.xml, sheet '" + name + "'",
                          "Excel's sheet names hold at most 31 characters");
      name = platform::com::to_utf8(units);
    }
    try {
      book_->add_sheet(name);
    } catch (const platform::com::Error& error) {
      parts_.content.fail_at(table, "the sheet name '" + name + "' cannot be used: " + error.description());
    }
  }

  // table:display of each table's style; Excel keeps at least one sheet shown.
  void apply_sheet_visibility(const std::vector<const xmlNode*>& tables) {
    for (std::size_t i = 0; i < tables.size(); ++i) {
      if (styles_.table_displayed(pkg::attribute(*tables[i], ns::table, "style-name").value_or(""))) continue;
      try {
        book_->set_sheet_visibility(book_->sheet(i).id(), model::xl::SheetHidden);
      } catch (const platform::com::Error& error) {
        import::report_loss(report_, "a sheet's hidden state", "content.xml, sheet '" + book_->sheet(i).name() + "'",
                            error.description());
      }
    }
  }

  const Parts& parts_;
  std::unique_ptr<model::Workbook> book_;
  import::LoadReport* report_;
  DataStyles data_;
  StyleSheet styles_;
};

Parts read_parts(pkg::ZipArchive& archive) {
  check_mime_type(archive);
  std::optional<pkg::XmlPart> styles = pkg::read_xml_part_if_present(archive, "styles.xml");
  return Parts{std::move(styles), pkg::read_xml_part(archive, "content.xml"),
               pkg::read_xml_part_if_present(archive, "settings.xml"), pkg::read_xml_part_if_present(archive, "meta.xml")};
}

}  // namespace

std::unique_ptr<model::Workbook> load_workbook(std::span<const std::uint8_t> bytes, const std::string& name,
                                          import::LoadReport* report) {
  try {
    pkg::ZipArchive archive(bytes);
    const Parts parts = read_parts(archive);
    return DocumentReader(parts, name, report).run();
  } catch (const pkg::PackageError& error) {
    throw import::FileError(name, error.what());  // names the part and the element
  } catch (const import::FileError& error) {
    throw error.for_file(name);
  } catch (const platform::com::Error& error) {
    // The model refused something the file holds.
    throw import::FileError(name, error.description());
  }
}

}  // namespace engine::ods
