// A question run with LibreOffice behind the module, as the course player
// makes it, and the trainee's hands on LibreOffice: cells typed into through
// UNO, as a person's typing fills them, never through the bridge.
#pragma once

#include <memory>
#include <sstream>
#include <string>

#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCell.hpp>

#include "bridge/libreoffice/objects.hpp"
#include "player/folder.hpp"
#include "player/player.hpp"

namespace bridge::libreoffice::testing {

namespace stdfs = std::filesystem;
using Cell = Reference<css::table::XCell>;

inline constexpr const char* kWorkingCopy = "Thor International.xls";

class LiveRun {
 public:
  // A fresh apartment and desktop with LibreOffice registered as Excel; the
  // module obtains it at InitQuestion. Each run starts its own.
  explicit LiveRun(OfficeOptions office = own_office());
  static OfficeOptions own_office() {
    OfficeOptions office;
    office.attach_pipe.clear();
    return office;
  }
  ~LiveRun();

  d72506::player::Player& player() { return *player_; }
  Application& app();
  const stdfs::path& working() const { return working_.path(); }
  const stdfs::path& templates() const { return templates_.path(); }

  // TestePoint; the cause code, with "!" before it for a general error.
  std::string verdict();

  // The open document whose file is `name`, found through LibreOffice's desktop.
  Document document(const std::string& name = kWorkingCopy);
  Sheet first_sheet(const std::string& name = kWorkingCopy);
  Cell cell(const std::string& address, const std::string& name = kWorkingCopy);

 private:
  d72506::player::Folder working_;
  d72506::player::Folder templates_;
  std::ostringstream notes_;
  std::unique_ptr<d72506::player::Player> player_;
};

}  // namespace bridge::libreoffice::testing
