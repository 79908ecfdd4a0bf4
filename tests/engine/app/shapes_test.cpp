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

}  // namespace
}  // namespace engine::app::testing
