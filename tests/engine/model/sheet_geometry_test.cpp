// Where rows and columns fall in points and where a shape lies: the grid
// that Left, Top, Width and Height and the files' anchors are counted on.
#include <gtest/gtest.h>

#include <limits>

#include "engine/model/constants.hpp"
#include "engine/model/sheet_geometry.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/error.hpp"

namespace engine::model {
namespace {

constexpr double kColumn = 48.0075;  // 8.43 characters: 64 pixels, to the rounding of 8.43
constexpr double kRow = 12.75;

class SheetGeometryTest : public ::testing::Test {
 protected:
  Workbook book{"Classeur1"};
  Worksheet& sheet = book.add_sheet("Feuil1");
};

TEST_F(SheetGeometryTest, LinesOfTheirOwnSizeAndHiddenLinesMoveWhatFollows) {
  sheet.set_column_width(1, 1, 20);     // B: 145 pixels
  sheet.set_columns_hidden(2, 2, true);  // C: nothing
  sheet.set_row_height(3, 3, 30);
  sheet.set_rows_hidden(5, 6, true);
  EXPECT_DOUBLE_EQ(column_left(sheet, 1), kColumn);
  EXPECT_DOUBLE_EQ(column_left(sheet, 3), kColumn + 108.75);
  EXPECT_DOUBLE_EQ(column_left(sheet, 4), 2 * kColumn + 108.75);
  EXPECT_DOUBLE_EQ(row_top(sheet, 4), 3 * kRow + 30);
  EXPECT_DOUBLE_EQ(row_top(sheet, 8), 4 * kRow + 30 + kRow);
  // The whole sheet, from its records alone.
  EXPECT_NEAR(column_left(sheet, kMaxColumns), (kMaxColumns - 2) * kColumn + 108.75, 1e-6);
  EXPECT_NEAR(row_top(sheet, kMaxRows), (kMaxRows - 3) * kRow + 30, 1e-6);

  // A point on a hidden column lies on the next shown one; an edge belongs
  // to the line that starts there.
  const LinePosition on_d = column_at(sheet, kColumn + 108.75 + 5);
  EXPECT_EQ(on_d.line, 3);
  EXPECT_NEAR(on_d.offset, 5, 1e-9);
  EXPECT_EQ(column_at(sheet, kColumn + 108.75).line, 3);
  EXPECT_EQ(column_at(sheet, kColumn).line, 1);
  const LinePosition in_tall_row = row_at(sheet, 3 * kRow + 29);
  EXPECT_EQ(in_tall_row.line, 3);
  EXPECT_NEAR(in_tall_row.offset, 29, 1e-9);
  EXPECT_EQ(row_at(sheet, 4 * kRow + 30 + 1).line, 7);  // past hidden rows 6 and 7
  // Far down, the records above add 8.25 points less than they take.
  const LinePosition far_down = row_at(sheet, 60000 * kRow);
  EXPECT_EQ(far_down.line, 60000);
  EXPECT_NEAR(far_down.offset, 8.25, 1e-6);
}

TEST_F(SheetGeometryTest, DistancesOffTheSheetStayOnIt) {
  EXPECT_EQ(column_at(sheet, -10).line, 0);
  EXPECT_EQ(column_at(sheet, -10).offset, 0);
  const LinePosition past = column_at(sheet, 1e12);
  EXPECT_EQ(past.line, kMaxColumns - 1);
  EXPECT_DOUBLE_EQ(past.offset, kColumn);
  EXPECT_EQ(row_at(sheet, std::numeric_limits<double>::quiet_NaN()).line, 0);

  const ShapeFrame frame = frame_at(sheet, {-5, -5, 1e9, 1e9});
  EXPECT_EQ(frame.row, 0);
  EXPECT_EQ(frame.column, 0);
  EXPECT_NEAR(frame.extent.width, column_left(sheet, kMaxColumns), 1e-6);
  EXPECT_NEAR(frame.extent.height, row_top(sheet, kMaxRows), 1e-6);
}

TEST_F(SheetGeometryTest, AShapeIsItsCellAndItsExtentFromThatCellsCorner) {
  const Shape& box = sheet.add_text_box(0, 0, "Question", "Question");
  const ShapeFrame frame = frame_at(sheet, {20, 40, 420, 100});
  EXPECT_EQ(frame.row, 3);  // 40 points: the fourth row, 1.75 points in
  EXPECT_EQ(frame.column, 0);
  EXPECT_EQ(frame.extent, (ShapeExtent{20, 40 - 3 * kRow, 420, 100}));
  sheet.place_shape("Question", frame.row, frame.column, frame.extent);
  const ShapeBounds bounds = shape_bounds(sheet, box);
  EXPECT_DOUBLE_EQ(bounds.left, 20);
  EXPECT_DOUBLE_EQ(bounds.top, 40);
  EXPECT_DOUBLE_EQ(bounds.width, 420);
  EXPECT_DOUBLE_EQ(bounds.height, 100);

  // Rows inserted above move it down with its cell.
  sheet.insert_rows(0, 2);
  EXPECT_DOUBLE_EQ(shape_bounds(sheet, box).top, 40 + 2 * kRow);
}

TEST_F(SheetGeometryTest, ShapesNeverPlacedTakeTheirKindsDefaultSize) {
  sheet.set_row_height(4, 4, 30);
  sheet.add_text_box(2, 1, "texte");
  sheet.add_check_box(2, 1, "case");
  sheet.set_note(2, 1, "note");
  // Taken once all three are added: adding a shape may move the others.
  const auto& shapes = sheet.shapes();
  ASSERT_EQ(shapes.size(), 3u);
  const Shape& text = shapes[0];
  const Shape& box = shapes[1];
  const Shape& note = shapes[2];
  const ShapeBounds text_at = shape_bounds(sheet, text);
  EXPECT_DOUBLE_EQ(text_at.left, kColumn);
  EXPECT_DOUBLE_EQ(text_at.top, 2 * kRow);
  EXPECT_NEAR(text_at.width, 3 * kColumn, 1e-9);
  EXPECT_DOUBLE_EQ(text_at.height, 3 * kRow + 30);
  const ShapeBounds box_at = shape_bounds(sheet, box);
  EXPECT_NEAR(box_at.width, 2 * kColumn, 1e-9);
  EXPECT_DOUBLE_EQ(box_at.height, kRow);
  // A note's box: right of its cell, from the row above, 2 columns by 4 rows.
  const ShapeFrame note_frame = shape_frame(sheet, note);
  EXPECT_EQ(note_frame.row, 1);
  EXPECT_EQ(note_frame.column, 2);
  EXPECT_DOUBLE_EQ(note_frame.extent.height, 3 * kRow + 30);
  // In the last column, the default shrinks rather than leave the sheet.
  const Shape& edge = sheet.add_text_box(0, kMaxColumns - 1, "bord");
  EXPECT_EQ(shape_bounds(sheet, edge).width, 0);
}

TEST_F(SheetGeometryTest, PlacingRefusesCommentsOffSheetCellsAndSizesThatAreNoSizes) {
  sheet.add_check_box(0, 0, "case", "Case");
  sheet.set_note(5, 5, "note");
  const std::string comment = sheet.shapes().back().name;
  const auto refused = [&](auto place) {
    try {
      place();
    } catch (const platform::com::Error& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(refused([&] { sheet.place_shape(comment, 0, 0, {}); }), platform::com::err::ApplicationDefined);
  EXPECT_EQ(refused([&] { sheet.place_shape("Case", kMaxRows, 0, {}); }), platform::com::err::ApplicationDefined);
  EXPECT_EQ(refused([&] { sheet.place_shape("Case", 0, 0, {0, 0, -1, 1}); }), platform::com::err::ApplicationDefined);
  EXPECT_EQ(refused([&] { sheet.place_shape("Case", 0, 0, {0, 0, 1, std::numeric_limits<double>::infinity()}); }),
            platform::com::err::ApplicationDefined);
  EXPECT_EQ(refused([&] { sheet.place_shape("Case", 0, 0, {std::numeric_limits<double>::quiet_NaN(), 0, 1, 1}); }),
            platform::com::err::ApplicationDefined);
  EXPECT_FALSE(sheet.find_shape("Case")->extent);  // nothing half-done
  sheet.place_shape("Case", 7, 2, {1, 2, 3, 4});
  EXPECT_EQ(sheet.find_shape("Case")->row, 7);
  EXPECT_EQ(sheet.find_shape("Case")->column, 2);
  // A locked shape of a sheet whose drawing objects are protected stays put.
  sheet.protect();
  EXPECT_EQ(refused([&] { sheet.place_shape("Case", 0, 0, {}); }), platform::com::err::ApplicationDefined);
  EXPECT_EQ(sheet.find_shape("Case")->row, 7);
}

}  // namespace
}  // namespace engine::model
