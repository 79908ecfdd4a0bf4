// A running application with one open workbook of two sheets, and the
// late-bound calls the tests make on it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "engine/app/application.hpp"
#include "engine/app/worksheet_object.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/com/error.hpp"

namespace engine::app::testing {

using platform::com::Dispatch;
using platform::com::Variant;

class SheetTest : public ::testing::Test {
 protected:
  SheetTest() {
    book->add_sheet("Trimestre 1");
    book->add_sheet("Feuil2");
    app->add_workbook(book);
    ws = make_worksheet(app, book, book->sheet(0).id());
  }

  model::Worksheet& sheet() { return book->sheet(0); }
  static std::shared_ptr<Dispatch> obj(const Variant& v) { return platform::com::object_of(v).shared_from_this(); }
  std::shared_ptr<Dispatch> range(const std::string& text) { return obj(ws->get("Range", {text})); }
  Variant value(const std::string& text) { return range(text)->get("Value"); }

  // The runtime number of the error `call` raises; 0 when it raises none.
  static std::int32_t error_of(const std::function<void()>& call) {
    try {
      call();
    } catch (const platform::com::Error& e) {
      return e.number();
    }
    return 0;
  }

  std::shared_ptr<Application> app = Application::create();
  std::shared_ptr<model::Workbook> book = std::make_shared<model::Workbook>("Thor International.xls");
  std::shared_ptr<Worksheet> ws;
};

}  // namespace engine::app::testing
