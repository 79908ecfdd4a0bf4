#include <gtest/gtest.h>

#include <algorithm>

#include "engine/formula/dependency_graph.hpp"

namespace engine::formula {
namespace {

CellAddress cell(int row, int column, SheetId sheet = 0) { return {sheet, row, column}; }
Area area(int r1, int c1, int r2, int c2, SheetId sheet = 0) { return {sheet, r1, c1, r2, c2}; }

std::ptrdiff_t position(const std::vector<CellAddress>& order, const CellAddress& c) {
  return std::find(order.begin(), order.end(), c) - order.begin();
}

TEST(DependencyGraph, ChangeRecomputesDependentsOnlyPrecedentsFirst) {
  DependencyGraph graph;
  graph.set_precedents(cell(6, 1), {area(3, 1, 5, 1)});               // B7 = SUM(B4:B6)
  graph.set_precedents(cell(1, 0), {area(3, 1, 3, 3), area(5, 1, 5, 3), area(6, 1, 6, 1)});  // A2 = AVERAGE(..)+B7
  graph.set_precedents(cell(9, 9), {area(0, 9, 0, 9)});               // J10 = J1, unrelated
  const CellAddress changed[] = {cell(4, 1)};                           // B5
  const Recalculation r = graph.after_change(changed);
  ASSERT_EQ(r.order.size(), 2u);
  EXPECT_LT(position(r.order, cell(6, 1)), position(r.order, cell(1, 0)));
  EXPECT_TRUE(r.cyclic.empty());
}

TEST(DependencyGraph, EachCellOnceThroughDiamonds) {
  DependencyGraph graph;
  graph.set_precedents(cell(1, 0), {area(0, 0, 0, 0)});                     // A2 = A1
  graph.set_precedents(cell(2, 0), {area(0, 0, 0, 0)});                     // A3 = A1
  graph.set_precedents(cell(3, 0), {area(1, 0, 2, 0), area(1, 0, 1, 0)});   // A4 = SUM(A2:A3)+A2
  const CellAddress changed[] = {cell(0, 0)};
  const Recalculation r = graph.after_change(changed);
  ASSERT_EQ(r.order.size(), 3u);
  EXPECT_EQ(r.order.back(), cell(3, 0));
}

TEST(DependencyGraph, CyclesAreReportedNotFollowed) {
  DependencyGraph graph;
  graph.set_precedents(cell(0, 0), {area(1, 0, 1, 0)});   // A1 = A2
  graph.set_precedents(cell(1, 0), {area(0, 0, 0, 0)});   // A2 = A1
  graph.set_precedents(cell(2, 0), {area(1, 0, 1, 0)});   // A3 = A2 reads the cycle
  graph.set_precedents(cell(5, 5), {area(5, 5, 5, 5)});   // F6 = F6
  const Recalculation r = graph.all();
  EXPECT_EQ(r.order, std::vector<CellAddress>{cell(2, 0)});
  EXPECT_EQ(r.cyclic.size(), 3u);
}

TEST(DependencyGraph, LongChainsDoNotRecurse) {
  DependencyGraph graph;
  for (int row = 1; row < 100000; ++row) graph.set_precedents(cell(row, 0), {area(row - 1, 0, row - 1, 0)});
  const CellAddress changed[] = {cell(0, 0)};
  const Recalculation r = graph.after_change(changed);
  ASSERT_EQ(r.order.size(), 99999u);
  EXPECT_EQ(r.order.front(), cell(1, 0));
  EXPECT_EQ(r.order.back(), cell(99999, 0));
}

TEST(DependencyGraph, WholeColumnsSheetsAndRemoval) {
  DependencyGraph graph;
  graph.set_precedents(cell(0, 2), {area(0, 0, 65535, 0)});   // C1 = SUM(A:A)
  graph.set_precedents(cell(0, 3, 1), {area(0, 0, 0, 0, 0)});        // Sheet2!D1 = Sheet1!A1
  const CellAddress low[] = {cell(60000, 0)};
  EXPECT_EQ(graph.after_change(low).order, std::vector<CellAddress>{cell(0, 2)});
  const CellAddress other_sheet[] = {cell(0, 0, 1)};
  EXPECT_TRUE(graph.after_change(other_sheet).order.empty());
  graph.remove(cell(0, 2));
  EXPECT_TRUE(graph.after_change(low).order.empty());
  graph.set_precedents(cell(0, 3, 1), {area(5, 5, 5, 5)});            // replaced, not added
  const CellAddress a1[] = {cell(0, 0)};
  EXPECT_TRUE(graph.after_change(a1).order.empty());
  graph.remove_sheet(1);
  EXPECT_EQ(graph.size(), 0u);
}

}  // namespace
}  // namespace engine::formula
