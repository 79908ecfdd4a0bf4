// Notes, check boxes and text boxes through a save and a load: what the
// model holds comes back, in the same order, and damaged drawing records end
// in FileError rather than in a crash, a hang or an unbounded allocation.
#include <gtest/gtest.h>

#include "engine/model/constants.hpp"
#include "engine/model/sheet_geometry.hpp"
#include "engine/xls/compound_file.hpp"
#include "engine/xls/file_error.hpp"
#include "platform/com/error.hpp"
#include "engine/xls/workbook_file.hpp"
#include "engine/xls/shape_anchor.hpp"

namespace engine::xls {
namespace {

namespace m = engine::model;
namespace f = engine::formula;

std::unique_ptr<m::Workbook> round_trip(const m::Workbook& book) {
  return load_workbook(save_workbook(book), book.name());
}

TEST(Notes, KeepTheirTextCellAuthorAndVisibility) {
  m::Workbook book("Thor International.xls");
  auto& sheet = book.add_sheet("Trimestre 1");
  book.add_sheet("Vide");
  sheet.set_value(0, 0, f::Value("Région"));
  sheet.set_note(12, 5, "Ne pas supprimer ce commentaire. Merci !", "Formateur");
  sheet.set_note(2, 4, "Deux lignes :\nété, à côté", "Zoé Müller");
  sheet.set_note(7, 0, "Ελληνικά ∑ et 中文", "");
  sheet.set_note_visible(7, 0, true);
  const auto back = round_trip(book);
  const m::Worksheet& s = back->sheet(0);
  ASSERT_EQ(s.notes().size(), 3u);
  ASSERT_NE(s.note(12, 5), nullptr);
  EXPECT_EQ(s.note(12, 5)->text, "Ne pas supprimer ce commentaire. Merci !");
  EXPECT_EQ(s.note(12, 5)->author, "Formateur");
  EXPECT_FALSE(s.note(12, 5)->visible);
  EXPECT_EQ(s.note(2, 4)->text, "Deux lignes :\nété, à côté");
  EXPECT_EQ(s.note(2, 4)->author, "Zoé Müller");
  EXPECT_EQ(s.note(7, 0)->text, "Ελληνικά ∑ et 中文");
  EXPECT_TRUE(s.note(7, 0)->visible);
  EXPECT_EQ(s.value(0, 0), f::Value("Région"));
  EXPECT_TRUE(back->sheet(1).notes().empty());
}

TEST(Notes, LongAndEmptyTextsSurvive) {
  m::Workbook book("Long.xls");
  auto& sheet = book.add_sheet("Feuil1");
  const std::string latin(20000, 'e');  // the text spans several CONTINUE records
  std::string wide;
  for (int i = 0; i < 5000; ++i) wide += "é∑";
  sheet.set_note(0, 0, latin);
  sheet.set_note(1, 0, wide);
  sheet.set_note(2, 0, "");
  const auto back = round_trip(book);
  EXPECT_EQ(back->sheet(0).note(0, 0)->text, latin);
  EXPECT_EQ(back->sheet(0).note(1, 0)->text, wide);
  EXPECT_EQ(back->sheet(0).note(2, 0)->text, "");
}

TEST(Notes, ATextOverExcelsLimitFailsTheSave) {
  m::Workbook book("Trop long.xls");
  book.add_sheet("Feuil1").set_note(0, 0, std::string(32768, 'x'));
  EXPECT_THROW(save_workbook(book), FileError);
}

TEST(FormControls, CheckBoxesKeepStateNameCaptionAndLockedFlag) {
  m::Workbook book("Les Modèles.xls");
  auto& sheet = book.add_sheet("réponses");
  sheet.set_note(12, 5, "Ne pas supprimer ce commentaire. Merci !");
  sheet.add_check_box(2, 1, "Réponse à cocher", "Case à cocher 1");
  sheet.add_check_box(4, 1, "Seconde réponse", "Case à cocher 2");
  sheet.add_check_box(6, 1, "Troisième", "Case à cocher 3");
  sheet.add_text_box(9, 3, "Un texte\nsur deux lignes");
  sheet.set_note(0, 0, "Après les cases");
  sheet.set_check_box_value("Case à cocher 1", m::xl::On);
  sheet.set_check_box_value("Case à cocher 3", m::xl::Mixed);
  sheet.set_shape_locked("Case à cocher 2", false);
  const auto back = round_trip(book);
  const m::Worksheet& s = back->sheet(0);
  // Excel's Shapes counts the comment shapes too, in the order of creation.
  ASSERT_EQ(s.shapes().size(), sheet.shapes().size());
  for (std::size_t i = 0; i < s.shapes().size(); ++i) {
    EXPECT_EQ(s.shapes()[i].kind, sheet.shapes()[i].kind) << i;
    if (s.shapes()[i].kind != m::ShapeKind::Comment) {
      EXPECT_EQ(s.shapes()[i].name, sheet.shapes()[i].name) << i;
    }
  }
  const m::Shape* box1 = s.find_shape("Case à cocher 1");
  const m::Shape* box2 = s.find_shape("Case à cocher 2");
  const m::Shape* box3 = s.find_shape("Case à cocher 3");
  ASSERT_TRUE(box1 && box2 && box3);
  EXPECT_EQ(box1->value, m::xl::On);
  EXPECT_EQ(box2->value, m::xl::Off);
  EXPECT_EQ(box3->value, m::xl::Mixed);
  EXPECT_EQ(box1->text, "Réponse à cocher");
  EXPECT_EQ(box1->row, 2);
  EXPECT_EQ(box1->column, 1);
  EXPECT_TRUE(box1->locked);
  EXPECT_FALSE(box2->locked);
  const m::Shape* text = s.find_shape("Text Box 5");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->kind, m::ShapeKind::TextBox);
  EXPECT_EQ(text->text, "Un texte\nsur deux lignes");
  EXPECT_EQ(text->row, 9);
  EXPECT_EQ(text->column, 3);
  EXPECT_EQ(s.note(0, 0)->text, "Après les cases");
}

TEST(FormControls, UnlockedBoxesOfAProtectedSheetStayTickable) {
  m::Workbook book("Les Modèles.xls");
  auto& sheet = book.add_sheet("réponses");
  sheet.add_check_box(2, 1, "Oui", "Case à cocher 1");
  sheet.add_check_box(4, 1, "Non", "Case à cocher 2");
  sheet.set_shape_locked("Case à cocher 1", false);
  sheet.set_shape_locked("Case à cocher 2", false);
  sheet.add_check_box(6, 1, "Verrouillée", "Case à cocher 3");
  sheet.protect();
  const auto back = round_trip(book);
  m::Worksheet& s = back->sheet(0);
  ASSERT_TRUE(s.protection().drawing_objects);
  s.set_check_box_value("Case à cocher 1", m::xl::On);
  s.set_check_box_value("Case à cocher 2", m::xl::Mixed);
  EXPECT_EQ(s.find_shape("Case à cocher 1")->value, m::xl::On);
  EXPECT_THROW(s.set_check_box_value("Case à cocher 3", m::xl::On), platform::com::Error);
}

// A text box drawn 420 x 100 points from 20, 40 (as AddTextbox places the
// question's box) keeps its place and size through a save, over columns and
// rows of their own sizes; a shape never placed keeps its default anchor.
TEST(FormControls, PlacedShapesKeepTheirOffsetsAndSize) {
  m::Workbook book("Les Modèles.xls");
  auto& sheet = book.add_sheet("Feuil1");
  sheet.set_column_width(1, 1, 20);
  sheet.set_row_height(3, 3, 30);
  sheet.set_rows_hidden(4, 4, true);
  sheet.add_text_box(1, 0, "Question", "Question");
  const m::ShapeExtent placed{10.5, 3.25, 420, 100};
  sheet.set_shape_extent("Question", placed);
  sheet.add_check_box(8, 2, "Réponse 1", "Réponse 1");
  EXPECT_THROW(sheet.set_shape_extent("Réponse 1", {0, 0, -1, 10}), platform::com::Error);

  const auto back = round_trip(book);
  const m::Shape* question = back->sheet(0).find_shape("Question");
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(question->extent);
  // Offsets are kept in 1/1024 of a column and 1/256 of a row.
  EXPECT_NEAR(question->extent->left_offset, placed.left_offset, 0.1);
  EXPECT_NEAR(question->extent->top_offset, placed.top_offset, 0.1);
  EXPECT_NEAR(question->extent->width, placed.width, 0.2);
  EXPECT_NEAR(question->extent->height, placed.height, 0.2);
  EXPECT_EQ(round_trip(*back)->sheet(0).find_shape("Question")->extent, question->extent);

  const m::Shape* box = back->sheet(0).find_shape("Réponse 1");
  ASSERT_TRUE(box->extent);
  EXPECT_EQ(box->extent->left_offset, 0);
  EXPECT_NEAR(box->extent->width, 2 * m::column_width_points(back->sheet(0).standard_width()), 0.01);
  EXPECT_NEAR(box->extent->height, back->sheet(0).standard_height(), 0.01);
}

// An anchor's offsets stay below a whole line (readers take 0 to 1023 and
// 0 to 255): a corner on a line's far edge is the next line's start.
TEST(FormControls, AnchorOffsetsStayWithinTheirLine) {
  m::Workbook book("Les Modèles.xls");
  auto& sheet = book.add_sheet("Feuil1");
  sheet.add_text_box(0, 0, "Question", "Question");
  sheet.set_shape_extent("Question", {0, 0, 2 * m::column_points(sheet, 0), 2 * m::row_points(sheet, 0)});
  const ArtAnchor anchor = shape_anchor(sheet, *sheet.find_shape("Question"));
  EXPECT_EQ(anchor.last_column, 2);
  EXPECT_EQ(anchor.last_dx, 0);
  EXPECT_EQ(anchor.last_row, 2);
  EXPECT_EQ(anchor.last_dy, 0);
  sheet.set_shape_extent("Question", {47.99, 12.74, 0, 0});
  const ArtAnchor near_edge = shape_anchor(sheet, *sheet.find_shape("Question"));
  EXPECT_LE(near_edge.first_dx, 1023);
  EXPECT_LE(near_edge.first_dy, 255);
}

// Column widths are stored with their margin, as Excel and Gnumeric read
// them, and come back as set.
TEST(FormControls, ColumnWidthsComeBackAsSet) {
  m::Workbook book("Largeurs.xls");
  auto& sheet = book.add_sheet("Feuil1");
  sheet.set_column_width(1, 1, 20);
  sheet.set_column_width(2, 2, 8.43);
  const auto back = round_trip(book);
  EXPECT_DOUBLE_EQ(*back->sheet(0).columns().at(1).size, 20);
  EXPECT_DOUBLE_EQ(*back->sheet(0).columns().at(2).size, 8.43);
  EXPECT_NEAR(m::stored_column_width(8.43) * 256, 2341, 0.5);  // Excel writes 2340 for its default
  EXPECT_DOUBLE_EQ(m::shown_column_width(2340 / 256.0), 8.43);
}

// --- Damaged drawings ---------------------------------------------------------

// A one-sheet file whose sheet draws one note, with the Workbook stream's
// first MSODRAWING body replaced by `drawing` (in CONTINUE records past
// 8224 bytes) and the later MSODRAWING records dropped.
Bytes with_drawing(const Bytes& drawing) {
  m::Workbook book("Abîmé.xls");
  book.add_sheet("Feuil1").set_note(1, 1, "note");
  const Bytes file = save_workbook(book);
  const Bytes stream = *CompoundFileReader(file).read_stream("Workbook");
  Bytes out;
  bool replaced = false;
  auto put = [&](std::uint16_t type, const std::uint8_t* body, std::size_t size) {
    out.insert(out.end(), {static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(type >> 8),
                           static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8)});
    out.insert(out.end(), body, body + size);
  };
  for (std::size_t at = 0; at + 4 <= stream.size();) {
    const std::uint16_t type = static_cast<std::uint16_t>(stream[at] | (stream[at + 1] << 8));
    const std::size_t size = static_cast<std::size_t>(stream[at + 2] | (stream[at + 3] << 8));
    if (type == 0x00EC && !replaced) {
      for (std::size_t done = 0; done == 0 || done < drawing.size(); done += 8224)
        put(done == 0 ? 0x00EC : 0x003C, drawing.data() + done, std::min<std::size_t>(8224, drawing.size() - done));
      replaced = true;
    } else if (type != 0x00EC) {
      put(type, &stream[at + 4], size);
    }
    at += 4 + size;
  }
  const Stream streams[] = {{"Workbook", out}};
  return write_compound_file(streams);
}

Bytes header(std::uint16_t type, std::uint32_t length, std::uint8_t version = 0x0F) {
  return {version, 0, static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(type >> 8),
          static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
          static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24)};
}

TEST(DamagedDrawings, LengthsPastTheEndAndCutHeadersFail) {
  EXPECT_THROW(load_workbook(with_drawing(header(0xF002, 0xFFFFFFF0)), "a.xls"), FileError);
  EXPECT_THROW(load_workbook(with_drawing({0x0F, 0x00, 0x02, 0xF0, 0x10}), "b.xls"), FileError);
  Bytes inner = header(0xF002, 16);
  const Bytes child = header(0xF004, 40);  // a shape claiming more than its parent holds
  inner.insert(inner.end(), child.begin(), child.end());
  inner.resize(inner.size() + 8, 0);
  EXPECT_THROW(load_workbook(with_drawing(inner), "c.xls"), FileError);
  // A property table claiming 4095 entries in a record of 12 bytes.
  Bytes shape = header(0xF004, 20);
  const Bytes opt = {0xF3, 0xFF, 0x0B, 0xF0, 12, 0, 0, 0};
  shape.insert(shape.end(), opt.begin(), opt.end());
  shape.resize(shape.size() + 12, 0xFF);
  EXPECT_THROW(load_workbook(with_drawing(shape), "d.xls"), FileError);
}

TEST(DamagedDrawings, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  constexpr std::uint32_t depth = 20000;
  Bytes nested;
  for (std::uint32_t level = 0; level < depth; ++level) {
    const Bytes h = header(0xF003, (depth - level - 1) * 8);
    nested.insert(nested.end(), h.begin(), h.end());
  }
  EXPECT_THROW(load_workbook(with_drawing(nested), "deep.xls"), FileError);
}

TEST(DamagedDrawings, CorruptedBytesEndInAWorkbookOrFileError) {
  m::Workbook book("Formes.xls");
  auto& sheet = book.add_sheet("réponses");
  sheet.set_note(1, 1, "Une note\navec deux lignes", "Auteur");
  sheet.add_check_box(3, 1, "Case", "Case à cocher 1");
  sheet.add_text_box(5, 1, "Texte");
  const Bytes good = save_workbook(book);
  const Bytes stream = *CompoundFileReader(good).read_stream("Workbook");
  // The sheet's drawing records lie between its first MSODRAWING and WINDOW2.
  std::size_t first = 0, last = 0;
  for (std::size_t at = 0; at + 4 <= stream.size() && last == 0;) {
    const int type = stream[at] | (stream[at + 1] << 8);
    if (type == 0x00EC && first == 0) first = at;
    if (type == 0x023E && first != 0) last = at;
    at += 4 + static_cast<std::size_t>(stream[at + 2] | (stream[at + 3] << 8));
  }
  ASSERT_LT(first, last);
  std::uint32_t seed = 615;
  for (int round = 0; round < 400; ++round) {
    Bytes bad = stream;
    for (int k = 0; k < 3; ++k) {
      seed = seed * 1103515245 + 12345;
      bad[first + (seed >> 8) % (last - first)] ^= static_cast<std::uint8_t>(1 + (seed >> 3) % 255);
    }
    const Stream streams[] = {{"Workbook", bad}};
    try {
      load_workbook(write_compound_file(streams), "fuzz.xls");
    } catch (const FileError&) {
    }
  }
}

}  // namespace
}  // namespace engine::xls
