#include "tests/bridge/libreoffice/live_run.hpp"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XModel.hpp>

#include "bridge/libreoffice/registration.hpp"
#include "module/registration.hpp"
#include "platform/com/apartment.hpp"
#include "platform/win32/desktop.hpp"

namespace bridge::libreoffice::testing {

using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

LiveRun::LiveRun(OfficeOptions office)
    : working_(d72506::player::Folder::temporary("d72506-live-work")),
      templates_(d72506::player::Folder::temporary("d72506-live-templates")) {
  platform::com::Apartment::reset();
  platform::win32::current_desktop().destroy_all();
  BridgeOptions options;
  options.office = std::move(office);
  options.templates_root = templates_.path().string();
  options.printer = d72506::player::kDefaultPrinter;
  options.writable_folders = {templates_.path().string(), working_.path().string()};
  register_libreoffice(std::move(options));
  d72506::register_module();
  player_ = std::make_unique<d72506::player::Player>(D72506_EXERCISE_FILES, working_.path(), notes_);
}

// Whatever the test left, the run's calls are made and LibreOffice ends
// with the apartment that holds it.
LiveRun::~LiveRun() {
  player_->abandon();
  player_.reset();
  platform::com::Apartment::reset();
  platform::win32::current_desktop().destroy_all();
}

Application& LiveRun::app() {
  auto app = std::dynamic_pointer_cast<Application>(player_->application());
  if (!app) throw std::logic_error("the player holds no LibreOffice");
  return *app;
}

std::string LiveRun::verdict() {
  const d72506::player::Verdict v = player_->teste_point();
  return (v.erreur_generale ? "!" : "") + v.cause_erreur;
}

Document LiveRun::document(const std::string& name) {
  Office& office = app().office();
  const auto components = office.desktop()->getComponents()->createEnumeration();
  while (components->hasMoreElements()) {
    const Reference<css::frame::XModel> model(components->nextElement(), UNO_QUERY);
    if (model.is() && path_of_url(model->getURL()).filename() == name) return Document(model, UNO_QUERY_THROW);
  }
  throw std::logic_error(name + " is not open in LibreOffice");
}

Sheet LiveRun::first_sheet(const std::string& name) {
  const Reference<css::container::XIndexAccess> sheets(document(name)->getSheets(), UNO_QUERY_THROW);
  return Sheet(sheets->getByIndex(0), UNO_QUERY_THROW);
}

Cell LiveRun::cell(const std::string& address, const std::string& name) {
  return first_sheet(name)->getCellRangeByName(to_uno(address))->getCellByPosition(0, 0);
}

}  // namespace bridge::libreoffice::testing
