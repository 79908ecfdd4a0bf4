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

// The full order is kept between full recalculations; every change to the
// formulas makes it stale, including one that closes a cycle.
TEST(DependencyGraph, FullOrderFollowsEveryChangeOfTheFormulas) {
  DependencyGraph graph;
  graph.set_precedents(cell(1, 0), {area(0, 0, 0, 0)});   // A2 = A1
  graph.set_precedents(cell(2, 0), {area(1, 0, 1, 0)});   // A3 = A2
  EXPECT_EQ(graph.all().order, (std::vector<CellAddress>{cell(1, 0), cell(2, 0)}));
  EXPECT_EQ(graph.all().order.size(), 2u);
  graph.set_precedents(cell(0, 0), {area(2, 0, 2, 0)});   // A1 = A3 closes a cycle
  EXPECT_TRUE(graph.all().order.empty());
  EXPECT_EQ(graph.all().cyclic.size(), 3u);
  graph.remove(cell(0, 0));
  EXPECT_EQ(graph.all().order, (std::vector<CellAddress>{cell(1, 0), cell(2, 0)}));
  graph.set_precedents(cell(0, 1, 1), {area(2, 0, 2, 0)});  // Sheet2!B1 = Sheet1!A3
  EXPECT_EQ(graph.all().order.back(), cell(0, 1, 1));
  graph.remove_sheet(1);
  EXPECT_EQ(graph.all().order.size(), 2u);
}

// A formula replaced, removed and entered again elsewhere: the graph must
// forget the old precedents and must not confuse a reused entry with the
// formula that held it before.
TEST(DependencyGraph, RemovedFormulasLeaveNoTraceWhenOthersTakeTheirPlace) {
  DependencyGraph graph;
  graph.set_precedents(cell(0, 1), {area(0, 0, 0, 0)});   // B1 = A1
  graph.set_precedents(cell(0, 2), {area(0, 1, 0, 1)});   // C1 = B1
  graph.remove(cell(0, 1));
  graph.set_precedents(cell(5, 5), {area(9, 9, 9, 9)});   // F6 = J10
  const CellAddress a1[] = {cell(0, 0)};
  EXPECT_TRUE(graph.after_change(a1).order.empty());
  const CellAddress b1[] = {cell(0, 1)};
  EXPECT_EQ(graph.after_change(b1).order, std::vector<CellAddress>{cell(0, 2)});
  const CellAddress j10[] = {cell(9, 9)};
  EXPECT_EQ(graph.after_change(j10).order, std::vector<CellAddress>{cell(5, 5)});
  EXPECT_FALSE(graph.is_formula(cell(0, 1)));
  EXPECT_EQ(graph.size(), 2u);
  const Recalculation everything = graph.all();
  EXPECT_EQ(everything.order.size(), 2u);
  EXPECT_TRUE(everything.cyclic.empty());
}

// One changed cell: a formula read by nothing is recomputed alone, one that
// reads itself is a cycle, a constant read by nothing recomputes nothing.
TEST(DependencyGraph, SingleChangesAndSelfReference) {
  DependencyGraph graph;
  graph.set_precedents(cell(0, 0), {area(3, 3, 3, 3)});             // A1 = D4
  graph.set_precedents(cell(1, 0), {area(0, 0, 4, 0)});             // A2 = SUM(A1:A5)
  const CellAddress d4[] = {cell(3, 3)};
  EXPECT_EQ(graph.after_change(d4).order, std::vector<CellAddress>{cell(0, 0)});
  const CellAddress a2[] = {cell(1, 0)};
  const Recalculation self = graph.after_change(a2);
  EXPECT_TRUE(self.order.empty());
  EXPECT_EQ(self.cyclic, std::vector<CellAddress>{cell(1, 0)});
  graph.set_precedents(cell(7, 7), {area(8, 8, 8, 8)});             // H8 = I9
  const CellAddress h8[] = {cell(7, 7)};
  EXPECT_EQ(graph.after_change(h8).order, std::vector<CellAddress>{cell(7, 7)});
  const CellAddress z100[] = {cell(99, 25)};
  const Recalculation nothing = graph.after_change(z100);
  EXPECT_TRUE(nothing.order.empty() && nothing.cyclic.empty());
}

// A full recalculation orders precedents first whatever the order in which
// the formulas were entered.
TEST(DependencyGraph, FullRecalculationOrdersAgainstEntryOrder) {
  DependencyGraph graph;
  for (int row = 999; row >= 1; --row) graph.set_precedents(cell(row, 1), {area(row - 1, 1, row - 1, 1)});
  graph.set_precedents(cell(0, 1), {area(0, 0, 0, 0)});
  const Recalculation r = graph.all();
  ASSERT_EQ(r.order.size(), 1000u);
  for (int row = 0; row < 1000; ++row) EXPECT_EQ(r.order[static_cast<std::size_t>(row)], cell(row, 1));
}

// Formulas entered again and again, and removed, leave their old areas
// behind until the index tidies them away: what each formula reads is its
// latest entry, before and after the tidying.
TEST(DependencyGraph, ReenteredAndRemovedFormulasReadOnlyTheirLatestAreas) {
  DependencyGraph graph;
  constexpr int kFormulas = 2000;
  for (int round = 0; round < 3; ++round)
    for (int row = 0; row < kFormulas; ++row)
      graph.set_precedents(cell(row, 1), {area(row, 0, row, 0), area(row + round, 2, row + round, 2)});
  for (int row = 0; row < kFormulas; row += 2) graph.remove(cell(row, 1));
  for (int row = 1; row < kFormulas; row += 2) graph.set_precedents(cell(row, 1), {area(row, 3, row, 3)});

  EXPECT_EQ(graph.size(), static_cast<std::size_t>(kFormulas / 2));
  for (const int row : {1, 999, 1999}) {
    const CellAddress now_read[] = {cell(row, 3)};
    EXPECT_EQ(graph.after_change(now_read).order, std::vector<CellAddress>{cell(row, 1)});
    for (const CellAddress once_read : {cell(row, 0), cell(row + 2, 2)}) {
      const CellAddress changed[] = {once_read};
      EXPECT_TRUE(graph.after_change(changed).order.empty()) << once_read.row << "," << once_read.column;
    }
  }
  const CellAddress removed[] = {cell(998, 0)};
  EXPECT_TRUE(graph.after_change(removed).order.empty());
  EXPECT_EQ(graph.all().order.size(), static_cast<std::size_t>(kFormulas / 2));
}

}  // namespace
}  // namespace engine::formula
