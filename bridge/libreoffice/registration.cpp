#include "bridge/libreoffice/registration.hpp"

#include "bridge/libreoffice/objects.hpp"
#include "platform/com/apartment.hpp"

namespace bridge::libreoffice {

const platform::com::Guid& excel_clsid() {
  static const platform::com::Guid clsid = *platform::com::Guid::parse("{00024500-0000-0000-C000-000000000046}");
  return clsid;
}

void register_libreoffice(BridgeOptions options) {
  for (const char* prog_id : {"Excel.application.11", "Excel.Application"}) {
    platform::com::Apartment::current().register_class(
        {prog_id, excel_clsid(), [options] { return std::shared_ptr<platform::com::Dispatch>(Application::create(options)); }, true});
  }
}

}  // namespace bridge::libreoffice
