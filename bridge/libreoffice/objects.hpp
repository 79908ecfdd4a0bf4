// The Excel objects the bridge answers, each over its LibreOffice
// counterpart: Application over the office process (its desktop), Workbook
// over a spreadsheet document, Worksheet over a sheet, Range over a cell
// range, Window over a document's frame. Command bars and the few settings
// LibreOffice has no counterpart for are kept by the Application itself.
//
// Ownership is COM's: every object holds the Application, which holds the
// Office; the Application holds no object of its own in return (each is made
// on demand), so releasing the Application ends LibreOffice.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCellRange.hpp>

#include "bridge/libreoffice/office.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/win32/types.hpp"

namespace bridge::libreoffice {

using platform::com::Variant;
using Document = Reference<css::sheet::XSpreadsheetDocument>;
using Sheet = Reference<css::sheet::XSpreadsheet>;


// An Excel 2003 command bar as the module arranges it. LibreOffice's
// counterpart (a toolbar of its layout manager, or its sidebar for the task
// pane) is named by `resource`; empty when it has none.
struct CommandBarState {
  std::string name;
  std::string resource;
  bool enabled = true;
  bool visible = false;
  std::int32_t position = 1;
};

class Application final : public platform::com::Dispatch {
 public:
  // Starts (or attaches to) LibreOffice; its main window "XLMAIN" is made
  // in the calling thread's window manager, hidden until Visible.
  static std::shared_ptr<Application> create(BridgeOptions options);
  ~Application() override;

  const platform::com::MemberTable& members() const override;

  Office& office() { return *office_; }
  const BridgeOptions& options() const { return options_; }
  platform::win32::HWND main_window() const { return main_window_; }
  // Raises the dead server's error once LibreOffice is gone or has quit.
  void require_answering();

  // The open spreadsheet documents, in the order they were opened (those a
  // person opened in LibreOffice itself come after, as they are found).
  const std::vector<Document>& documents();
  Document active_document();
  // Workbooks(index) and Windows(index): by position, or by the workbook's name.
  Document document_at(const Variant& index);
  void activate(const Document& document);
  void forget(const Document& document);
  Document open(const std::string& filename);
  Document add(const std::optional<Variant>& template_name);
  std::string name_of(const Document& document);
  Sheet active_sheet_of(const Document& document);
  // A workbook's file may be written there: under one of the writable folders.
  void require_writable(const std::filesystem::path& file);

  bool window_visible(const Document& document);
  std::int32_t window_state(const Document& document);
  void set_window_state(const Document& document, std::int32_t state);

  std::vector<CommandBarState>& command_bars() { return bars_; }
  void apply(const CommandBarState& bar);

  // Excel's templates folder, ending with its separator: under the run's
  // templates root as the stand-in's, or LibreOffice's own (the writable
  // one of its template paths) when the run names none.
  std::string templates_path();

  const std::string& current_folder() const { return current_folder_; }
  void set_current_folder(const std::string& folder);

  void set_visible(bool visible);
  bool visible() const;
  void quit();

 private:
  explicit Application(BridgeOptions options);
  void create_main_window();
  void watch_office();
  void office_gone();
  void register_running(bool running);
  std::shared_ptr<Application> self_ref();

  BridgeOptions options_;
  std::shared_ptr<Office> office_;
  std::vector<Document> documents_;
  std::vector<Document> activated_;  // in the order they were activated, the active one last
  std::vector<std::pair<Document, std::int32_t>> window_states_;  // headless windows only
  std::vector<CommandBarState> bars_;
  std::string current_folder_;
  bool show_tool_tips_ = true;
  bool show_startup_dialog_ = true;
  bool display_full_screen_ = false;
  std::int32_t comment_indicator_ = -1;  // xlCommentIndicatorOnly
  bool quit_ = false;
  bool visible_ = false;
  platform::win32::HWND main_window_ = 0;
  std::optional<std::uint32_t> running_cookie_;

};

// Every object but the Application: it holds the Application.
class BridgeObject : public platform::com::Dispatch {
 public:
  explicit BridgeObject(std::shared_ptr<Application> app) : app_(std::move(app)) {}
  Application& app() const { return *app_; }
  const std::shared_ptr<Application>& app_ref() const { return app_; }

 private:
  std::shared_ptr<Application> app_;
};

class Workbooks final : public BridgeObject {
 public:
  using BridgeObject::BridgeObject;
  const platform::com::MemberTable& members() const override;
};

class Workbook final : public BridgeObject {
 public:
  Workbook(std::shared_ptr<Application> app, Document document)
      : BridgeObject(std::move(app)), document_(std::move(document)) {}
  const platform::com::MemberTable& members() const override;
  const Document& document() const { return document_; }

  std::string name() const;
  void activate();
  void close(std::optional<bool> save_changes, std::optional<std::string> filename);
  void save();
  void save_as(const std::string& filename);

 private:
  Document document_;
};

class Sheets final : public BridgeObject {
 public:
  Sheets(std::shared_ptr<Application> app, Document document)
      : BridgeObject(std::move(app)), document_(std::move(document)) {}
  const platform::com::MemberTable& members() const override;
  const Document& document() const { return document_; }

 private:
  Document document_;
};

class Worksheet final : public BridgeObject {
 public:
  Worksheet(std::shared_ptr<Application> app, Document document, Sheet sheet)
      : BridgeObject(std::move(app)), document_(std::move(document)), sheet_(std::move(sheet)) {}
  const platform::com::MemberTable& members() const override;
  const Document& document() const { return document_; }
  const Sheet& sheet() const { return sheet_; }

 private:
  Document document_;
  Sheet sheet_;
};

class Range final : public BridgeObject {
 public:
  Range(std::shared_ptr<Application> app, Sheet sheet, std::string address)
      : BridgeObject(std::move(app)), sheet_(std::move(sheet)), address_(std::move(address)) {}
  const platform::com::MemberTable& members() const override;
  const Sheet& sheet() const { return sheet_; }
  const std::string& address() const { return address_; }

 private:
  Sheet sheet_;
  std::string address_;  // "D1", "A1:B3", as Calc names a range
};

class Windows final : public BridgeObject {
 public:
  using BridgeObject::BridgeObject;
  const platform::com::MemberTable& members() const override;
};

class Window final : public BridgeObject {
 public:
  Window(std::shared_ptr<Application> app, Document document)
      : BridgeObject(std::move(app)), document_(std::move(document)) {}
  const platform::com::MemberTable& members() const override;
  const Document& document() const { return document_; }

 private:
  Document document_;
};

class CommandBars final : public BridgeObject {
 public:
  using BridgeObject::BridgeObject;
  const platform::com::MemberTable& members() const override;
};

class CommandBar final : public BridgeObject {
 public:
  CommandBar(std::shared_ptr<Application> app, std::size_t index) : BridgeObject(std::move(app)), index_(index) {}
  const platform::com::MemberTable& members() const override;
  CommandBarState& state() const { return app().command_bars()[index_]; }

 private:
  std::size_t index_;
};

// Excel's Item argument: a 1-based position or a name (any case); the
// 0-based index among `names`, or 9 (subscript out of range).
std::size_t item_position(const Variant& index, const std::vector<std::string>& names);

// Range(Cell1, Cell2) and Cells(Row, Column) of a sheet.
std::shared_ptr<Range> sheet_range(const std::shared_ptr<Application>& app, const Sheet& sheet, const Variant& cell1,
                                   const std::optional<Variant>& cell2);
std::shared_ptr<Range> sheet_cell(const std::shared_ptr<Application>& app, const Sheet& sheet, std::int32_t row,
                                  std::int32_t column);
// Application.Run: a macro of an open workbook ("Book.xls!module1.Proc").
Variant run_macro(const std::shared_ptr<Application>& app, const std::string& macro, std::span<Variant> args);

}  // namespace bridge::libreoffice
