// Shapes and check boxes: counting as Excel counts, lookup by name, the
// selection a shape's Select leaves, and check boxes on protected sheets.
#include "engine/app/shapes.hpp"

#include "platform/com/convert.hpp"
#include "platform/excel/constants.hpp"
#include "sheet_fixture.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
namespace xl = platform::excel;

class ShapesTest : public SheetTest {
 protected:
  ShapesTest() {
    sheet().add_check_box(3, 1, "Oui", "Case à cocher 1");
    sheet().add_check_box(5, 1, "Non", "Case à cocher 2");
    sheet().set_note(12, 5, "Ne pas supprimer ce commentaire. Merci !");
  }
  std::shared_ptr<Dispatch> shapes() { return obj(ws->get("Shapes")); }
  std::shared_ptr<Dispatch> shape(const std::string& name) { return obj(ws->get("Shapes", {name})); }
  Variant selected_value() { return obj(app->get("Selection"))->get("Value"); }
};

TEST_F(ShapesTest, CountIncludesNotesAndItemsMatchNamesInAnyCase) {
  EXPECT_EQ(shapes()->get("count"), Variant(3));
  EXPECT_EQ(shape("CASE À COCHER 2")->get("Name"), Variant("Case à cocher 2"));
  EXPECT_EQ(obj(shapes()->get("Item", {3}))->get("Type"), Variant(4));
  EXPECT_EQ(shape("Case à cocher 1")->get("Type"), Variant(8));
  EXPECT_EQ(error_of([&] { shape("Case à cocher 3"); }), com::err::SubscriptOutOfRange);
  EXPECT_EQ(error_of([&] { shapes()->get("Item", {4}); }), com::err::SubscriptOutOfRange);
  EXPECT_EQ(obj(ws->get("CheckBoxes"))->get("Count"), Variant(2));
}

TEST_F(ShapesTest, SelectingACheckBoxMakesItTheSelection) {
  obj(ws->get("CheckBoxes", {"Case à cocher 1"}))->put("Value", xl::xlOn);
  shape("Case à cocher 1")->call("Select");
  EXPECT_EQ(selected_value(), Variant(xl::xlOn));
  shape("Case à cocher 2")->call("Select");
  EXPECT_EQ(com::clng(selected_value()), xl::xlOff);
  EXPECT_EQ(obj(app->get("Selection"))->get("Caption"), Variant("Non"));
  // Selecting cells again gives cells back.
  range("A1")->call("Select");
  EXPECT_EQ(obj(app->get("Selection"))->get("Address"), Variant("$A$1"));
}

TEST_F(ShapesTest, ShapesOfAnInactiveSheetCannotBeSelected) {
  book->activate_sheet(book->sheet(1).id());
  EXPECT_EQ(error_of([&] { shape("Case à cocher 1")->call("Select"); }), com::err::ApplicationDefined);
}

TEST_F(ShapesTest, CheckBoxStatesAndProtection) {
  auto box = obj(ws->get("CheckBoxes", {"case à cocher 2"}));
  box->put("Value", true);
  EXPECT_EQ(box->get("Value"), Variant(xl::xlOn));
  box->put("Value", xl::xlMixed);
  EXPECT_EQ(obj(shape("Case à cocher 2")->get("ControlFormat"))->get("Value"), Variant(xl::xlMixed));
  EXPECT_EQ(error_of([&] { box->put("Value", 5); }), com::err::ApplicationDefined);
  ws->call("Protect");
  EXPECT_EQ(error_of([&] { box->put("Value", xl::xlOff); }), com::err::ApplicationDefined);
  EXPECT_EQ(box->get("Value"), Variant(xl::xlMixed));
  ws->call("Unprotect");
  box->put("Locked", false);
  ws->call("Protect");
  box->put("Value", xl::xlOff);
  EXPECT_EQ(box->get("Value"), Variant(xl::xlOff));
  EXPECT_EQ(error_of([&] { obj(ws->get("CheckBoxes", {"Case à cocher 1"}))->put("Value", false); }),
            com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { ws->get("CheckBoxes", {"Comment 3"}); }), com::err::SubscriptOutOfRange);
}

TEST_F(ShapesTest, AddedControlsAndDeletion) {
  auto added = obj(shapes()->call("AddFormControl", {1, 100.0, 40.0, 80.0, 16.0}));
  EXPECT_EQ(added->get("Type"), Variant(8));
  const model::Shape* made = sheet().find_shape(com::cstr(added->get("Name")));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->row, 3);     // 40 points down: the fourth row of 12.75 points
  EXPECT_EQ(made->column, 2);  // 100 points across: the third column of 48 points
  EXPECT_EQ(shapes()->get("Count"), Variant(4));
  EXPECT_EQ(error_of([&] { shapes()->call("AddFormControl", {2, 0.0, 0.0, 10.0, 10.0}); }),
            com::err::ApplicationDefined);
  obj(shapes()->get("Item", {3}))->call("Delete");
  EXPECT_EQ(sheet().note(12, 5), nullptr);
  added->call("Delete");
  EXPECT_EQ(shapes()->get("Count"), Variant(2));
  EXPECT_EQ(error_of([&] { added->get("Name"); }), com::err::ObjectRequired);
  EXPECT_EQ(error_of([&] { obj(shapes()->call("AddTextbox", {1, 0.0, 0.0, 50.0, 20.0}))->get("ControlFormat"); }),
            com::err::ApplicationDefined);
}

}  // namespace
}  // namespace engine::app::testing
