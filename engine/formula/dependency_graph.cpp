#include "engine/formula/dependency_graph.hpp"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace engine::formula {
namespace {

// Areas are filed by the band of rows they start in; an area taller than
// a few bands (A:A, 1:65536) goes on a short list every look-up scans.
constexpr int band_rows = 16;
constexpr int max_bands_per_area = 64;

struct Entry {
  Area area;
  CellAddress formula;
};

struct SheetIndex {
  std::unordered_map<int, std::vector<Entry>> bands;
  std::vector<Entry> tall;
};

bool is_tall(const Area& a) { return a.last_row / band_rows - a.first_row / band_rows >= max_bands_per_area; }

void erase_entry(std::vector<Entry>& entries, const Area& area, const CellAddress& formula) {
  std::erase_if(entries, [&](const Entry& e) { return e.formula == formula && e.area == area; });
}

}  // namespace

class DependencyIndex {
 public:
  void add(const CellAddress& cell, std::vector<Area> areas) {
    remove(cell);
    for (const Area& area : areas) {
      SheetIndex& sheet = sheets_[area.sheet];
      if (is_tall(area)) {
        sheet.tall.push_back({area, cell});
      } else {
        for (int band = area.first_row / band_rows; band <= area.last_row / band_rows; ++band)
          sheet.bands[band].push_back({area, cell});
      }
    }
    precedents_[cell] = std::move(areas);
  }

  void remove(const CellAddress& cell) {
    auto found = precedents_.find(cell);
    if (found == precedents_.end()) return;
    for (const Area& area : found->second) {
      SheetIndex& sheet = sheets_[area.sheet];
      if (is_tall(area)) {
        erase_entry(sheet.tall, area, cell);
        continue;
      }
      for (int band = area.first_row / band_rows; band <= area.last_row / band_rows; ++band) {
        auto entries = sheet.bands.find(band);
        if (entries == sheet.bands.end()) continue;
        erase_entry(entries->second, area, cell);
        if (entries->second.empty()) sheet.bands.erase(entries);
      }
    }
    precedents_.erase(found);
  }

  void remove_sheet(SheetId sheet) {
    std::vector<CellAddress> cells;
    for (const auto& [cell, areas] : precedents_)
      if (cell.sheet == sheet) cells.push_back(cell);
    for (const CellAddress& cell : cells) remove(cell);
  }

  bool contains(const CellAddress& cell) const { return precedents_.count(cell) > 0; }
  std::size_t size() const { return precedents_.size(); }

  // The formula cells whose precedents include `cell`, each once.
  template <typename Visit>
  void for_each_dependent(const CellAddress& cell, Visit visit) const {
    auto sheet = sheets_.find(cell.sheet);
    if (sheet == sheets_.end()) return;
    const CellAddress* last = nullptr;  // a formula reading the cell twice is reported once in a row
    auto scan = [&](const std::vector<Entry>& entries) {
      for (const Entry& e : entries) {
        if (!e.area.contains(cell) || (last && *last == e.formula)) continue;
        last = &e.formula;
        visit(e.formula);
      }
    };
    if (auto band = sheet->second.bands.find(cell.row / band_rows); band != sheet->second.bands.end())
      scan(band->second);
    scan(sheet->second.tall);
  }

  template <typename Visit>
  void for_each_formula(Visit visit) const {
    for (const auto& [cell, areas] : precedents_) visit(cell);
  }

 private:
  std::unordered_map<CellAddress, std::vector<Area>> precedents_;
  std::unordered_map<SheetId, SheetIndex> sheets_;
};

namespace {

// The affected formula cells as a graph (edges from a cell to the cells
// that read it), ordered by Tarjan's algorithm run with an explicit stack.
class Ordering {
 public:
  explicit Ordering(const DependencyIndex& index) : index_(index) {}

  void add(const CellAddress& cell) {
    if (ids_.count(cell)) return;
    ids_.emplace(cell, cells_.size());
    cells_.push_back(cell);
  }

  // Adds every formula cell reachable from those already added.
  void close_over_dependents() {
    for (std::size_t i = 0; i < cells_.size(); ++i) {
      std::vector<std::size_t> out;
      const CellAddress current = cells_[i];  // add() may move cells_
      index_.for_each_dependent(current, [&](const CellAddress& dependent) {
        add(dependent);
        out.push_back(ids_.at(dependent));
      });
      std::sort(out.begin(), out.end());
      out.erase(std::unique(out.begin(), out.end()), out.end());
      edges_.push_back(std::move(out));
    }
  }

  Recalculation order() const {
    const std::size_t n = cells_.size();
    constexpr std::size_t unvisited = static_cast<std::size_t>(-1);
    std::vector<std::size_t> number(n, unvisited), low(n, 0);
    std::vector<bool> on_stack(n, false);
    std::vector<std::size_t> stack;
    std::vector<std::vector<std::size_t>> components;  // sinks first
    std::size_t counter = 0;
    struct Frame {
      std::size_t node;
      std::size_t next_edge;
    };
    for (std::size_t root = 0; root < n; ++root) {
      if (number[root] != unvisited) continue;
      std::vector<Frame> frames{{root, 0}};
      number[root] = low[root] = counter++;
      stack.push_back(root);
      on_stack[root] = true;
      while (!frames.empty()) {
        Frame& frame = frames.back();
        const std::size_t v = frame.node;
        if (frame.next_edge < edges_[v].size()) {
          const std::size_t w = edges_[v][frame.next_edge++];
          if (number[w] == unvisited) {
            number[w] = low[w] = counter++;
            stack.push_back(w);
            on_stack[w] = true;
            frames.push_back({w, 0});
          } else if (on_stack[w]) {
            low[v] = std::min(low[v], number[w]);
          }
          continue;
        }
        if (low[v] == number[v]) {
          std::vector<std::size_t> component;
          std::size_t w;
          do {
            w = stack.back();
            stack.pop_back();
            on_stack[w] = false;
            component.push_back(w);
          } while (w != v);
          components.push_back(std::move(component));
        }
        frames.pop_back();
        if (!frames.empty()) low[frames.back().node] = std::min(low[frames.back().node], low[v]);
      }
    }
    Recalculation result;
    for (auto component = components.rbegin(); component != components.rend(); ++component) {
      const std::size_t v = component->front();
      const bool self_loop = std::binary_search(edges_[v].begin(), edges_[v].end(), v);
      if (component->size() > 1 || self_loop) {
        for (std::size_t w : *component) result.cyclic.push_back(cells_[w]);
      } else {
        result.order.push_back(cells_[v]);
      }
    }
    return result;
  }

 private:
  const DependencyIndex& index_;
  std::unordered_map<CellAddress, std::size_t> ids_;
  std::vector<CellAddress> cells_;
  std::vector<std::vector<std::size_t>> edges_;
};

}  // namespace

DependencyGraph::DependencyGraph() : index_(std::make_unique<DependencyIndex>()) {}
DependencyGraph::~DependencyGraph() = default;
DependencyGraph::DependencyGraph(DependencyGraph&&) noexcept = default;
DependencyGraph& DependencyGraph::operator=(DependencyGraph&&) noexcept = default;

void DependencyGraph::set_precedents(const CellAddress& cell, std::vector<Area> areas) {
  index_->add(cell, std::move(areas));
}
void DependencyGraph::remove(const CellAddress& cell) { index_->remove(cell); }
void DependencyGraph::remove_sheet(SheetId sheet) { index_->remove_sheet(sheet); }
bool DependencyGraph::is_formula(const CellAddress& cell) const { return index_->contains(cell); }
std::size_t DependencyGraph::size() const { return index_->size(); }

Recalculation DependencyGraph::after_change(std::span<const CellAddress> changed) const {
  Ordering ordering(*index_);
  for (const CellAddress& cell : changed) {
    if (index_->contains(cell)) ordering.add(cell);
    index_->for_each_dependent(cell, [&](const CellAddress& dependent) { ordering.add(dependent); });
  }
  ordering.close_over_dependents();
  return ordering.order();
}

Recalculation DependencyGraph::all() const {
  Ordering ordering(*index_);
  index_->for_each_formula([&](const CellAddress& cell) { ordering.add(cell); });
  ordering.close_over_dependents();
  return ordering.order();
}

}  // namespace engine::formula
