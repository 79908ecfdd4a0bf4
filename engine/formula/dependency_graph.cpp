#include "engine/formula/dependency_graph.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ranges>

#include <absl/container/flat_hash_map.h>
#include <absl/hash/hash.h>

namespace engine::formula {
namespace {

// Areas are filed by the band of rows they start in; an area taller than
// a few bands (A:A, 1:65536) goes on a short list every look-up scans.
constexpr int band_rows = 16;
constexpr int max_bands_per_area = 64;

// Formulas are numbered densely: the index files a 4-byte number per area
// instead of a cell address, and an ordering of every formula can index
// plain arrays by it instead of hashing addresses.
using FormulaId = std::uint32_t;

// An area a formula reads. Each is kept once, in one array of all of them;
// the bands file 4-byte positions in that array, so an area two bands
// tall, or filed in a band and looked up, is not copied.
struct Precedent {
  Area area;
  FormulaId formula;
};
using PrecedentIndex = std::uint32_t;

struct SheetIndex {
  absl::flat_hash_map<int, std::vector<PrecedentIndex>> bands;
  std::vector<PrecedentIndex> tall;
};

bool is_tall(const Area& a) { return a.last_row / band_rows - a.first_row / band_rows >= max_bands_per_area; }

// The index is looked up once per changed cell and once per entered
// formula, among allocations of the whole model: an open-addressing table
// (keys inline, one probe mostly) rather than a node per key to chase.
struct CellAddressHash {
  std::size_t operator()(const CellAddress& cell) const { return absl::HashOf(cell.sheet, cell.row, cell.column); }
};

void erase_entry(std::vector<PrecedentIndex>& entries, PrecedentIndex precedent) {
  std::erase(entries, precedent);
}

}  // namespace

class DependencyIndex {
 public:
  void add(const CellAddress& cell, std::span<const Area> areas) {
    auto [known, added] = ids_.try_emplace(cell, 0);
    if (added) known->second = new_slot(cell);
    else drop_areas(known->second);
    keep_areas(known->second, areas);
    file(known->second);
  }

  void remove(const CellAddress& cell) {
    const auto found = ids_.find(cell);
    if (found == ids_.end()) return;
    drop_areas(found->second);
    release_slot(found->second);
    ids_.erase(found);
  }

  void remove_sheet(SheetId sheet) {
    std::vector<CellAddress> cells;
    for (const auto& [cell, id] : ids_)
      if (cell.sheet == sheet) cells.push_back(cell);
    for (const CellAddress& cell : cells) remove(cell);
  }

  bool contains(const CellAddress& cell) const { return ids_.count(cell) > 0; }
  std::optional<FormulaId> id_of(const CellAddress& cell) const {
    const auto found = ids_.find(cell);
    if (found == ids_.end()) return std::nullopt;
    return found->second;
  }
  std::size_t size() const { return ids_.size(); }
  std::size_t slot_count() const { return slots_.size(); }
  const CellAddress& cell(FormulaId id) const { return slots_[id].cell; }

  // The formulas whose precedents include `cell`; a formula reading the
  // cell through two areas filed next to each other is reported once.
  template <typename Visit>
  void for_each_dependent(const CellAddress& cell, Visit visit) const {
    const auto sheet = sheets_.find(cell.sheet);
    if (sheet == sheets_.end()) return;
    std::optional<FormulaId> last;
    auto scan = [&](const std::vector<PrecedentIndex>& entries) {
      for (const PrecedentIndex entry : entries) {
        const Precedent& p = precedents_[entry];
        if (!p.area.contains(cell) || last == p.formula) continue;
        last = p.formula;
        visit(p.formula);
      }
    };
    if (const auto band = sheet->second.bands.find(cell.row / band_rows); band != sheet->second.bands.end())
      scan(band->second);
    scan(sheet->second.tall);
  }

  bool has_dependents(const CellAddress& cell) const {
    bool found = false;
    for_each_dependent(cell, [&](FormulaId) { found = true; });
    return found;
  }

  template <typename Visit>
  void for_each_formula(Visit visit) const {
    for (FormulaId id = 0; id < slots_.size(); ++id)
      if (slots_[id].used) visit(id);
  }

 private:
  // A formula's areas are a stretch of one array shared by all formulas
  // (`precedents_`), not a vector each: a formula reading two cells costs
  // 48 bytes there instead of a 24-byte vector and a 48-byte allocation. A
  // replaced or removed formula's stretch is left behind, and the array is
  // compacted, and everything filed again, once more than half of it is
  // left behind.
  struct Slot {
    CellAddress cell;
    std::uint32_t first_area = 0;
    std::uint32_t area_count = 0;
    bool used = false;
  };

  // Where the formula's areas are in `precedents_`.
  auto positions_of(FormulaId id) const {
    return std::views::iota(slots_[id].first_area, slots_[id].first_area + slots_[id].area_count);
  }

  void keep_areas(FormulaId id, std::span<const Area> areas) {
    if (precedents_.size() > 1024 && dead_areas_ > precedents_.size() / 2) compact_areas();
    slots_[id].first_area = static_cast<std::uint32_t>(precedents_.size());
    slots_[id].area_count = static_cast<std::uint32_t>(areas.size());
    for (const Area& area : areas) precedents_.push_back({area, id});
  }

  void drop_areas(FormulaId id) {
    unfile(id);
    dead_areas_ += slots_[id].area_count;
    slots_[id].area_count = 0;
  }

  void compact_areas() {
    std::vector<Precedent> live;
    live.reserve(precedents_.size() - dead_areas_);
    for (Slot& slot : slots_) {
      const auto first = precedents_.begin() + slot.first_area;
      slot.first_area = static_cast<std::uint32_t>(live.size());
      live.insert(live.end(), first, first + slot.area_count);
    }
    precedents_ = std::move(live);
    dead_areas_ = 0;
    sheets_.clear();
    for (FormulaId id = 0; id < slots_.size(); ++id) file(id);
  }

  FormulaId new_slot(const CellAddress& cell) {
    FormulaId id;
    if (free_.empty()) {
      id = static_cast<FormulaId>(slots_.size());
      slots_.emplace_back();
    } else {
      id = free_.back();
      free_.pop_back();
    }
    slots_[id].cell = cell;
    slots_[id].used = true;
    return id;
  }

  void release_slot(FormulaId id) {
    slots_[id] = Slot{};
    free_.push_back(id);
  }

  void file(FormulaId id) {
    for (const PrecedentIndex at : positions_of(id)) {
      const Area& area = precedents_[at].area;
      SheetIndex& sheet = sheets_[area.sheet];
      if (is_tall(area)) {
        sheet.tall.push_back(at);
        continue;
      }
      for (int band = area.first_row / band_rows; band <= area.last_row / band_rows; ++band)
        sheet.bands[band].push_back(at);
    }
  }

  void unfile(FormulaId id) {
    for (const PrecedentIndex at : positions_of(id)) {
      const Area& area = precedents_[at].area;
      SheetIndex& sheet = sheets_[area.sheet];
      if (is_tall(area)) {
        erase_entry(sheet.tall, at);
        continue;
      }
      for (int band = area.first_row / band_rows; band <= area.last_row / band_rows; ++band) {
        const auto entries = sheet.bands.find(band);
        if (entries == sheet.bands.end()) continue;
        erase_entry(entries->second, at);
        if (entries->second.empty()) sheet.bands.erase(entries);
      }
    }
  }

  std::vector<Slot> slots_;
  std::vector<Precedent> precedents_;
  std::size_t dead_areas_ = 0;
  std::vector<FormulaId> free_;
  absl::flat_hash_map<CellAddress, FormulaId, CellAddressHash> ids_;
  absl::flat_hash_map<SheetId, SheetIndex> sheets_;
};

namespace {

// The affected formulas as a graph (edges from a formula to the formulas
// that read it), ordered by Tarjan's algorithm run with an explicit stack.
// Nodes are numbered in the order they are added; the edges are one flat
// array (compressed rows: node i's targets are targets_[begin_[i]..begin_[i+1]))
// rather than a vector per node.
class Ordering {
 public:
  // `whole`: every formula takes part, so node numbers are looked up in an
  // array over all formula ids; otherwise a hash of the few that do.
  Ordering(const DependencyIndex& index, bool whole) : index_(index), whole_(whole) {
    if (whole_) local_of_id_.assign(index.slot_count(), unnumbered);
  }

  std::uint32_t add(FormulaId id) {
    std::uint32_t& local = whole_ ? local_of_id_[id] : sparse_local_of_id_.try_emplace(id, unnumbered).first->second;
    if (local == unnumbered) {
      local = static_cast<std::uint32_t>(nodes_.size());
      nodes_.push_back(id);
    }
    return local;
  }

  // Adds every formula reachable from those already added.
  void close_over_dependents() {
    begin_.assign(1, 0);
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      const CellAddress current = index_.cell(nodes_[i]);
      index_.for_each_dependent(current, [&](FormulaId dependent) { targets_.push_back(add(dependent)); });
      const auto first = targets_.begin() + begin_.back();
      std::sort(first, targets_.end());
      targets_.erase(std::unique(first, targets_.end()), targets_.end());
      begin_.push_back(static_cast<std::uint32_t>(targets_.size()));
    }
  }

  Recalculation order() const {
    const Components components = strongly_connected_components();
    Recalculation result;
    // Components come out sinks first; precedents first is the reverse.
    for (std::size_t c = components.begin.size() - 1; c-- > 0;) {
      const auto first = components.members.begin() + components.begin[c];
      const auto last = components.members.begin() + components.begin[c + 1];
      if (last - first > 1 || reads_itself(*first)) {
        for (auto member = first; member != last; ++member) result.cyclic.push_back(index_.cell(nodes_[*member]));
      } else {
        result.order.push_back(index_.cell(nodes_[*first]));
      }
    }
    return result;
  }

 private:
  static constexpr std::uint32_t unnumbered = static_cast<std::uint32_t>(-1);

  // Component c holds members[begin[c]..begin[c+1]).
  struct Components {
    std::vector<std::uint32_t> members;
    std::vector<std::uint32_t> begin{0};
  };

  bool reads_itself(std::uint32_t v) const {
    return std::binary_search(targets_.begin() + begin_[v], targets_.begin() + begin_[v + 1], v);
  }

  Components strongly_connected_components() const {
    const std::size_t n = nodes_.size();
    std::vector<std::uint32_t> number(n, unnumbered), low(n, 0);
    std::vector<bool> on_stack(n, false);
    std::vector<std::uint32_t> stack;
    Components components;
    std::uint32_t counter = 0;
    struct Frame {
      std::uint32_t node;
      std::uint32_t next_edge;
    };
    std::vector<Frame> frames;
    auto visit = [&](std::uint32_t v) {
      number[v] = low[v] = counter++;
      stack.push_back(v);
      on_stack[v] = true;
      frames.push_back({v, begin_[v]});
    };
    for (std::uint32_t root = static_cast<std::uint32_t>(n); root-- > 0;) {
      if (number[root] != unnumbered) continue;
      visit(root);
      while (!frames.empty()) {
        Frame& frame = frames.back();
        const std::uint32_t v = frame.node;
        if (frame.next_edge < begin_[v + 1]) {
          const std::uint32_t w = targets_[frame.next_edge++];
          if (number[w] == unnumbered) visit(w);
          else if (on_stack[w]) low[v] = std::min(low[v], number[w]);
          continue;
        }
        if (low[v] == number[v]) {
          std::uint32_t w;
          do {
            w = stack.back();
            stack.pop_back();
            on_stack[w] = false;
            components.members.push_back(w);
          } while (w != v);
          components.begin.push_back(static_cast<std::uint32_t>(components.members.size()));
        }
        frames.pop_back();
        if (!frames.empty()) low[frames.back().node] = std::min(low[frames.back().node], low[v]);
      }
    }
    return components;
  }

  const DependencyIndex& index_;
  const bool whole_;
  std::vector<std::uint32_t> local_of_id_;
  absl::flat_hash_map<FormulaId, std::uint32_t> sparse_local_of_id_;
  std::vector<FormulaId> nodes_;
  std::vector<std::uint32_t> begin_;
  std::vector<std::uint32_t> targets_;
};

}  // namespace

DependencyGraph::DependencyGraph() : index_(std::make_unique<DependencyIndex>()) {}
DependencyGraph::~DependencyGraph() = default;
DependencyGraph::DependencyGraph(DependencyGraph&&) noexcept = default;
DependencyGraph& DependencyGraph::operator=(DependencyGraph&&) noexcept = default;

void DependencyGraph::set_precedents(const CellAddress& cell, std::vector<Area> areas) {
  full_order_.reset();
  index_->add(cell, std::move(areas));
}
void DependencyGraph::remove(const CellAddress& cell) {
  full_order_.reset();
  index_->remove(cell);
}
void DependencyGraph::remove_sheet(SheetId sheet) {
  full_order_.reset();
  index_->remove_sheet(sheet);
}
bool DependencyGraph::is_formula(const CellAddress& cell) const { return index_->contains(cell); }
std::size_t DependencyGraph::size() const { return index_->size(); }

Recalculation DependencyGraph::after_change(std::span<const CellAddress> changed) const {
  // The common case while a sheet is typed or built: one cell that no
  // formula reads yet. It is its own recalculation (when a formula), and
  // cannot be on a cycle since nothing, itself included, reads it.
  if (changed.size() == 1 && !index_->has_dependents(changed.front())) {
    Recalculation single;
    if (index_->contains(changed.front())) single.order.push_back(changed.front());
    return single;
  }
  Ordering ordering(*index_, false);
  for (const CellAddress& cell : changed) {
    if (const auto id = index_->id_of(cell)) ordering.add(*id);
    index_->for_each_dependent(cell, [&](FormulaId dependent) { ordering.add(dependent); });
  }
  ordering.close_over_dependents();
  return ordering.order();
}

const Recalculation& DependencyGraph::all() const {
  if (!full_order_) {
    Ordering ordering(*index_, true);
    index_->for_each_formula([&](FormulaId id) { ordering.add(id); });
    ordering.close_over_dependents();
    full_order_ = ordering.order();
  }
  return *full_order_;
}

}  // namespace engine::formula
