// Shapes and check boxes: counting as Excel counts, lookup by name, the
// selection a shape's Select leaves, check boxes on protected sheets, and
// where shapes lie (Left, Top, Width, Height).
#include "engine/app/shapes.hpp"
#include "engine/model/constants.hpp"
#include "engine/model/sheet_geometry.hpp"

#include "platform/com/convert.hpp"
#include "platform/excel/constants.hpp"
#include "engine/xls/workbook_file.hpp"
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

TEST_F(ShapesTest, RenamingKeepsNamesUniqueInAnyCase) {
  obj(shapes()->get("Item", {1}))->put("Name", "Question");
  EXPECT_EQ(shape("QUESTION")->get("Type"), Variant(8));
  EXPECT_EQ(error_of([&] { shape("Question")->put("Name", "case à cocher 2"); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { shape("Question")->put("Name", ""); }), com::err::ApplicationDefined);
  EXPECT_EQ(shape("Question")->get("Name"), Variant("Question"));
  // Its own name in another case is a rename, not a clash.
  shape("Question")->put("Name", "QUESTION");
  EXPECT_EQ(obj(shapes()->get("Item", {1}))->get("Name"), Variant("QUESTION"));
  obj(ws->get("CheckBoxes", {2}))->put("Name", "Réponse B");
  EXPECT_EQ(obj(ws->get("CheckBoxes", {"réponse b"}))->get("Caption"), Variant("Non"));
  EXPECT_EQ(error_of([&] { shape("Case à cocher 2"); }), com::err::SubscriptOutOfRange);
  // A protected sheet keeps the names of its locked shapes.
  ws->call("Protect");
  EXPECT_EQ(error_of([&] { shape("QUESTION")->put("Name", "Q"); }), com::err::ApplicationDefined);
}

TEST_F(ShapesTest, NewControlsAreNamedInExcelsLanguage) {
  auto box = obj(shapes()->call("AddFormControl", {1, 20.0, 160.0, 150.0, 18.0}));
  EXPECT_EQ(box->get("Name"), Variant("Case à cocher 4"));
  EXPECT_EQ(obj(ws->get("CheckBoxes", {"Case à cocher 4"}))->get("Caption"), Variant("Case à cocher 4"));
  // The caption a box was born with stays when it is renamed, as in Excel.
  box->put("Name", "Case à cocher 5");
  EXPECT_EQ(obj(ws->get("CheckBoxes", {3}))->get("Caption"), Variant("Case à cocher 4"));
  // The next number is taken: the next free one is used.
  EXPECT_EQ(obj(shapes()->call("AddFormControl", {1, 0.0, 0.0, 10.0, 10.0}))->get("Name"), Variant("Case à cocher 6"));
  EXPECT_EQ(obj(shapes()->call("AddTextbox", {1, 0.0, 0.0, 10.0, 10.0}))->get("Name"), Variant("Zone de texte 6"));

  ApplicationOptions options;
  options.language = Language::English;
  auto english = Application::create(options);
  auto other = std::make_shared<model::Workbook>("Book1");
  other->add_sheet("Sheet1");
  english->add_workbook(other);
  auto english_shapes = obj(make_worksheet(english, other, other->sheet(0).id())->get("Shapes"));
  EXPECT_EQ(obj(english_shapes->call("AddTextbox", {1, 0.0, 0.0, 10.0, 10.0}))->get("Name"), Variant("Text Box 1"));
  EXPECT_EQ(obj(english_shapes->call("AddFormControl", {1, 0.0, 0.0, 10.0, 10.0}))->get("Name"),
            Variant("Check Box 2"));
}

TEST_F(ShapesTest, TextBoxTextThroughTextFrameCharacters) {
  obj(shapes()->call("AddTextbox", {1, 20.0, 40.0, 420.0, 100.0}))->put("Name", "Question");
  auto characters = [&](std::optional<std::int32_t> start = {}, std::optional<std::int32_t> length = {}) {
    auto frame = obj(shape("Question")->get("TextFrame"));
    if (length) return obj(frame->call("Characters", {*start, *length}));
    if (start) return obj(frame->call("Characters", {*start}));
    return obj(frame->call("Characters"));
  };
  EXPECT_EQ(characters()->get("Text"), Variant(""));
  characters()->put("Text", "Vous créez un classeur.\nQue faites-vous ?");
  EXPECT_EQ(sheet().find_shape("Question")->text, "Vous créez un classeur.\nQue faites-vous ?");
  // Positions count characters, not bytes: "é" is one.
  EXPECT_EQ(characters(6, 5)->get("Text"), Variant("créez"));
  EXPECT_EQ(characters(6, 5)->get("Count"), Variant(5));
  characters(6, 5)->put("Text", "ouvrez");
  EXPECT_EQ(characters(1, 23)->get("Text"), Variant("Vous ouvrez un classeur"));
  characters(26)->put("Text", "Bien.");  // without Length: to the end
  EXPECT_EQ(characters()->get("Text"), Variant("Vous ouvrez un classeur.\nBien."));
  EXPECT_EQ(characters(100)->get("Text"), Variant(""));
  EXPECT_EQ(error_of([&] { characters(0); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { characters(1, -1); }), com::err::ApplicationDefined);
  ws->call("Protect");
  EXPECT_EQ(error_of([&] { characters()->put("Text", "x"); }), com::err::ApplicationDefined);
  EXPECT_EQ(characters(1, 4)->get("Text"), Variant("Vous"));
}

TEST_F(ShapesTest, TextFrameOfCheckBoxesAndNotes) {
  auto text_of = [&](const Variant& index) {
    return obj(obj(obj(shapes()->get("Item", {index}))->get("TextFrame"))->call("Characters"));
  };
  EXPECT_EQ(text_of(1)->get("Text"), Variant("Oui"));
  EXPECT_EQ(text_of(3)->get("Text"), Variant("Ne pas supprimer ce commentaire. Merci !"));
  text_of(3)->put("Text", "Merci !");
  EXPECT_EQ(range("F13")->call("NoteText"), Variant("Merci !"));
  auto gone = text_of(2);
  shape("Case à cocher 2")->call("Delete");
  EXPECT_EQ(error_of([&] { gone->get("Text"); }), com::err::ObjectRequired);
}

TEST_F(ShapesTest, CheckBoxCaptionIsWrittenAndRead) {
  auto box = obj(ws->get("CheckBoxes", {1}));
  box->put("Caption", "Réponse 1");
  EXPECT_EQ(box->get("Text"), Variant("Réponse 1"));
  shape("Case à cocher 1")->call("Select");
  EXPECT_EQ(obj(app->get("Selection"))->get("Caption"), Variant("Réponse 1"));
  EXPECT_EQ(sheet().find_shape("Case à cocher 1")->value, model::xl::Off);
  ws->call("Protect");
  EXPECT_EQ(error_of([&] { box->put("Caption", "Réponse 2"); }), com::err::ApplicationDefined);
  EXPECT_EQ(box->get("Caption"), Variant("Réponse 1"));
}

// --- Left, Top, Width, Height -------------------------------------------------------

class PlacedShapesTest : public ShapesTest {
 protected:
  static constexpr double kColumn = 48.0075;  // the default 8.43 characters
  static constexpr double kRow = 12.75;

  double measure(const std::string& name, const char* member) { return com::cdbl(shape(name)->get(member)); }
  void expect_place(const std::string& name, double left, double top, double width, double height) {
    SCOPED_TRACE(name);
    EXPECT_NEAR(measure(name, "Left"), left, 1e-9);
    EXPECT_NEAR(measure(name, "Top"), top, 1e-9);
    EXPECT_NEAR(measure(name, "Width"), width, 1e-9);
    EXPECT_NEAR(measure(name, "Height"), height, 1e-9);
  }
};

TEST_F(PlacedShapesTest, NewShapesLieWhereAddPutThemAndMoveAsTheirMembersSay) {
  obj(shapes()->call("AddTextbox", {1, 20.0, 40.0, 420.0, 100.0}))->put("Name", "Question");
  expect_place("Question", 20, 40, 420, 100);
  const model::Shape* question = sheet().find_shape("Question");
  EXPECT_EQ(question->row, 3);  // the cell under the corner: A4
  EXPECT_EQ(question->column, 0);

  // A new Left or Top moves the anchor to the cell under the new corner
  // and keeps the size; a new size keeps the corner.
  shape("Question")->put("Left", 100.0);
  EXPECT_EQ(question->column, 2);
  shape("Question")->put("Top", 0.0);
  EXPECT_EQ(question->row, 0);
  shape("Question")->put("Width", 50.5);
  shape("Question")->put("Height", 0.0);
  expect_place("Question", 100, 0, 50.5, 0);

  // Off the sheet, a shape is brought back onto it.
  shape("Question")->put("Left", -30.0);
  EXPECT_NEAR(measure("Question", "Left"), 0, 1e-9);
  shape("Question")->put("Top", 1e9);
  EXPECT_NEAR(measure("Question", "Top") + measure("Question", "Height"), model::row_top(sheet(), model::kMaxRows), 1e-6);

  // It moves with its cell when columns before it widen.
  shape("Question")->put("Left", 100.0);
  range("A:A")->put("ColumnWidth", 20.0);  // 108.75 points
  EXPECT_NEAR(measure("Question", "Left"), 100 + 108.75 - kColumn, 1e-9);
}

TEST_F(PlacedShapesTest, SizesThatAreNoSizesAreRefusedAndNothingIsAdded) {
  EXPECT_EQ(error_of([&] { shapes()->call("AddTextbox", {1, 0.0, 0.0, -1.0, 10.0}); }), com::err::InvalidCall);
  EXPECT_EQ(error_of([&] { shapes()->call("AddFormControl", {1, 0.0, 0.0, 10.0, -0.5}); }), com::err::InvalidCall);
  EXPECT_EQ(error_of([&] { shapes()->call("AddTextbox", {1, -1.0, 0.0, 1.0, 1.0}); }), com::err::ApplicationDefined);
  EXPECT_EQ(shapes()->get("Count"), Variant(3));
  EXPECT_EQ(error_of([&] { shape("Case à cocher 1")->put("Width", -2.0); }), com::err::InvalidCall);
  EXPECT_EQ(error_of([&] { shape("Case à cocher 1")->put("Height", "grand"); }), com::err::TypeMismatch);
  EXPECT_FALSE(sheet().find_shape("Case à cocher 1")->extent);  // still at its default place
}

// The boxes made by the fixture were never placed: they show their kind's
// default place from their cell's corner (B4 and B6), the note its box to
// the right of F13, a row above.
TEST_F(PlacedShapesTest, ShapesNeverPlacedShowTheirDefaultPlaceAndNotesStayWithTheirCells) {
  expect_place("Case à cocher 1", kColumn, 3 * kRow, 2 * kColumn, kRow);
  const std::string note = com::cstr(obj(shapes()->get("Item", {3}))->get("Name"));
  EXPECT_NEAR(measure(note, "Left"), 6 * kColumn, 1e-9);
  EXPECT_NEAR(measure(note, "Top"), 11 * kRow, 1e-9);
  EXPECT_EQ(error_of([&] { shape(note)->put("Left", 10.0); }), com::err::ApplicationDefined);
  // The first change places the box, from where it showed.
  shape("Case à cocher 1")->put("Width", 150.0);
  expect_place("Case à cocher 1", kColumn, 3 * kRow, 150, kRow);
}

TEST_F(PlacedShapesTest, CheckBoxesAndTheSelectionAreTheirShapesPlace) {
  auto box = obj(ws->get("CheckBoxes", {"Case à cocher 2"}));
  box->put("Left", 20.0);
  box->put("Top", 185.0);
  box->put("Width", 150.0);
  box->put("Height", 18.0);
  expect_place("Case à cocher 2", 20, 185, 150, 18);
  shape("Case à cocher 2")->call("Select");
  EXPECT_NEAR(com::cdbl(obj(app->get("Selection"))->get("Top")), 185, 1e-9);
}

TEST_F(PlacedShapesTest, ProtectedSheetsKeepTheirLockedShapesInPlace) {
  shape("Case à cocher 2")->put("Locked", false);
  ws->call("Protect");
  EXPECT_EQ(error_of([&] { shape("Case à cocher 1")->put("Left", 200.0); }), com::err::ApplicationDefined);
  EXPECT_NEAR(measure("Case à cocher 1", "Left"), kColumn, 1e-9);
  shape("Case à cocher 2")->put("Left", 200.0);
  EXPECT_NEAR(measure("Case à cocher 2", "Left"), 200, 1e-9);
}

}  // namespace
}  // namespace engine::app::testing

namespace engine::app::testing {
namespace {

using AutoShapeTest = SheetTest;

// A rectangle or an oval drawn from the Drawing toolbar, as the recorder
// writes it (ActiveSheet.Shapes.AddShape(msoShapeRectangle, ...).Select).
TEST_F(AutoShapeTest, AddShapeDrawsANamedShapeWhereItIsToldAndCountsAmongTheShapes) {
  const auto shapes = obj(ws->get("Shapes"));
  const auto before = shapes->get("Count");
  const auto rectangle = obj(shapes->call("AddShape", {1, 30.0, 45.0, 120.0, 60.0}));
  EXPECT_EQ(rectangle->get("Left"), Variant(30.0));
  EXPECT_EQ(rectangle->get("Height"), Variant(60.0));
  const std::string name = platform::com::cstr(rectangle->get("Name"));
  EXPECT_TRUE(name.starts_with("Rectangle ")) << name;
  EXPECT_TRUE(platform::com::cstr(obj(shapes->call("AddShape", {9, 0.0, 0.0, 10.0, 10.0}))->get("Name")).starts_with("Oval "));
  EXPECT_EQ(platform::com::clng(shapes->get("Count")), platform::com::clng(before) + 2);
  EXPECT_EQ(obj(shapes->get("Item", {Variant(name)}))->get("Top"), Variant(45.0));
  EXPECT_EQ(error_of([&] { shapes->call("AddShape", {0, 0.0, 0.0, 10.0, 10.0}); }), 5);
}

// Type and AutoShapeType as Excel gives them for each kind of shape, the
// autoshapes' kept through a save and a load.
TEST_F(AutoShapeTest, EachShapeKeepsItsKindThroughASaveAndALoad) {
  const auto shapes = obj(ws->get("Shapes"));
  shapes->call("AddShape", {1, 30.0, 45.0, 120.0, 60.0});
  shapes->call("AddShape", {9, 0.0, 0.0, 10.0, 10.0});
  shapes->call("AddTextbox", {1, 0.0, 100.0, 50.0, 20.0});
  shapes->call("AddFormControl", {1, 0.0, 150.0, 50.0, 20.0});
  const auto kinds = [&](const std::shared_ptr<Dispatch>& all) {
    std::vector<std::pair<std::int32_t, std::int32_t>> found;
    for (int i = 1; i <= platform::com::clng(all->get("Count")); ++i) {
      const auto shape = obj(all->get("Item", {Variant(i)}));
      found.emplace_back(platform::com::clng(shape->get("Type")), platform::com::clng(shape->get("AutoShapeType")));
    }
    return found;
  };
  // msoAutoShape rectangle and oval, msoTextBox, msoFormControl.
  const std::vector<std::pair<std::int32_t, std::int32_t>> expected = {{1, 1}, {1, 9}, {17, 1}, {8, -2}};
  EXPECT_EQ(kinds(shapes), expected);
  auto back = xls::load_workbook(xls::save_workbook(*book), book->name());
  app->add_workbook(std::shared_ptr<model::Workbook>(std::move(back)));
  const auto reopened = obj(app->get("Workbooks"))->get("Item", {Variant(std::int32_t{2})});
  const auto sheet = obj(obj(reopened)->get("Worksheets", {Variant(std::int32_t{1})}));
  EXPECT_EQ(kinds(obj(sheet->get("Shapes"))), expected);
}

}  // namespace
}  // namespace engine::app::testing
