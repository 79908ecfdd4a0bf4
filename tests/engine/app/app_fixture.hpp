// A fresh apartment and desktop, a scratch folder for files, and an
// Application whose templates and current folders lie in it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/app/application.hpp"
#include "platform/com/apartment.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/com/error.hpp"
#include "platform/fs/folders.hpp"
#include "platform/win32/desktop.hpp"

namespace engine::app::testing {

using platform::com::Dispatch;
using platform::com::Variant;

class AppTest : public ::testing::Test {
 protected:
  AppTest() {
    platform::com::Apartment::reset();
    std::string pattern = (std::filesystem::temp_directory_path() / "engine-app-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    std::filesystem::create_directories(folder + "/docs");
    options.templates_root = folder + "/data";
    options.current_folder = folder + "/docs";
    app = Application::create(options);
  }
  ~AppTest() override {
    app.reset();
    platform::win32::current_desktop().destroy_all();
    platform::com::Apartment::reset();
    std::filesystem::remove_all(folder);
  }

  static Dispatch& obj(const Variant& v) { return platform::com::object_of(v); }

  // The runtime number of the error `call` raises; 0 when it raises none.
  static std::int32_t error_of(const std::function<void()>& call) {
    try {
      call();
    } catch (const platform::com::Error& e) {
      return e.number();
    }
    return 0;
  }

  // A late-bound call by DISPID, as the module makes some of them.
  static Variant by_id(Dispatch& object, std::int32_t id, platform::com::CallKind kind,
                       std::vector<Variant> args = {}) {
    return object.invoke(id, kind, args);
  }

  std::shared_ptr<Dispatch> workbooks() { return app->get("Workbooks").object(); }

  std::string folder;
  ApplicationOptions options;
  std::shared_ptr<Application> app;
};

}  // namespace engine::app::testing
