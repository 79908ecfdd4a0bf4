#include "module/registration.hpp"

#include <memory>
#include <string>

#include "module/identity.hpp"
#include "module/module.hpp"
#include "platform/com/apartment.hpp"

namespace d72506 {

void register_module() {
  platform::com::Apartment::current().register_class(platform::com::ClassEntry{
      std::string(identity::kModuleProgId),
      *platform::com::Guid::parse(identity::kModuleClassId),
      [] { return std::make_shared<Module>(); },
      true,
  });
}

}  // namespace d72506
