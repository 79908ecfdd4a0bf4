#include "engine/app/registration.hpp"

#include "platform/com/apartment.hpp"

namespace engine::app {

const platform::com::Guid& excel_clsid() {
  static const platform::com::Guid clsid = *platform::com::Guid::parse("{00024500-0000-0000-C000-000000000046}");
  return clsid;
}

void register_excel(ApplicationOptions options) {
  for (const char* prog_id : {"Excel.application.11", "Excel.Application"}) {
    platform::com::Apartment::current().register_class(
        {prog_id, excel_clsid(), [options] { return Application::create(options); }, true});
  }
}

}  // namespace engine::app
