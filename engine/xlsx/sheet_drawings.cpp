#include "engine/xlsx/sheet_drawings.hpp"

#include <map>
#include <optional>

#include "engine/import/drawn_shapes.hpp"
#include "engine/package/package_error.hpp"
#include "engine/xlsx/drawing_parts.hpp"

namespace engine::xlsx {

namespace {

using Kind = VmlShape::Kind;

// A part whose loss leaves the sheet readable: read it, or report why not.
template <class Reader>
auto read_optional_part(package::ZipArchive& archive, const Relationship* target, import::LoadReport* report,
                        Reader reader) -> std::optional<decltype(reader(std::declval<const package::XmlPart&>()))> {
  if (!target) return std::nullopt;
  try {
    return reader(package::read_xml_part(archive, target->target));
  } catch (const package::PackageError& error) {
    import::report_loss(report, "drawing", target->target, error.what());
    return std::nullopt;
  }
}

class SheetDrawings {
 public:
  SheetDrawings(package::ZipArchive& archive, const Relationships& relationships, const SheetPartInfo& info,
                model::Worksheet& sheet, import::LoadReport* report)
      : archive_(archive), relationships_(relationships), info_(info), sheet_(sheet), report_(report) {}

  void run() {
    if (info_.legacy_drawing_id)
      vml_ = read_optional_part(archive_, relationships_.by_id(*info_.legacy_drawing_id), report_, read_vml_drawing_part)
                 .value_or(std::vector<VmlShape>{});
    used_.assign(vml_.size(), false);
    index_vml();
    add_notes();
    if (info_.drawing_id)
      for (const DrawingShape& shape :
           read_optional_part(archive_, relationships_.by_id(*info_.drawing_id), report_, read_drawing_part)
               .value_or(std::vector<DrawingShape>{}))
        add_drawing_shape(shape);
    // Check boxes only the VML describes (Excel 2007, Gnumeric), in its order.
    for (std::size_t i = 0; i < vml_.size(); ++i)
      if (!used_[i] && vml_[i].kind == Kind::CheckBox) add_check_box(i, nullptr);
  }

 private:
  // The VML shapes by what ties them to notes and drawing copies, so that a
  // part with many shapes is not searched once per shape.
  void index_vml() {
    for (std::size_t i = 0; i < vml_.size(); ++i) {
      const VmlShape& vml = vml_[i];
      if (vml.kind == Kind::Note) {
        notes_.try_emplace({vml.row, vml.column}, i);
        continue;
      }
      if (vml.shape_id) by_id_.try_emplace(*vml.shape_id, i);
      if (!vml.name.empty()) by_name_.try_emplace(vml.name, i);
    }
    for (const SheetControl& control : info_.controls) controls_.try_emplace(control.shape_id, &control);
  }

  void add_notes() {
    const Relationship* comments = relationships_.first_of_kind("comments");
    if (!comments) return;
    for (CommentRecord& note : read_comments_part(package::read_xml_part(archive_, comments->target))) {
      const auto shape = notes_.find({note.row, note.column});
      const bool visible = shape != notes_.end() && vml_[shape->second].visible;
      import::add_note(sheet_, note.row, note.column, std::move(note.text), std::move(note.author), visible);
    }
  }

  void add_drawing_shape(const DrawingShape& shape) {
    if (shape.form_control) return add_form_control(shape);
    if (shape.other || !shape.text_box) {
      import::report_loss(report_, "shape", sheet_.name() + "!" + shape.name,
                          "pictures, charts and drawn shapes without text have no place in an Excel 2003 workbook here");
      return;
    }
    import::DrawnShape drawn;
    drawn.kind = model::ShapeKind::TextBox;
    drawn.row = shape.row;
    drawn.column = shape.column;
    drawn.name = shape.name;
    drawn.text = shape.text;
    drawn.extent = shape.extent;
    import::add_drawn_shape(sheet_, std::move(drawn), report_);
  }

  // Excel ties a control's VML shape to its drawing copy by number
  // ("_x0000_s1025" and id 1025); LibreOffice by name. Without a VML shape
  // (a VML part that would not parse), Excel's control list and ctrlProps
  // part still say what the control is.
  void add_form_control(const DrawingShape& shape) {
    if (const auto match = vml_for(shape)) {
      if (vml_[*match].kind == Kind::CheckBox) return add_check_box(*match, &shape);
      used_[*match] = true;
      return report_other_control(shape);
    }
    const auto found = controls_.find(shape.id);
    if (found == controls_.end()) return report_other_control(shape);
    const SheetControl* control = found->second;
    const auto properties = read_optional_part(archive_, relationships_.by_id(control->properties_id), report_,
                                               read_control_properties_part);
    if (!properties || properties->object_type != "CheckBox") return report_other_control(shape);
    import::DrawnShape drawn;
    drawn.kind = model::ShapeKind::CheckBox;
    drawn.row = shape.row;
    drawn.column = shape.column;
    drawn.name = !shape.name.empty() ? shape.name : control->name;
    drawn.text = shape.text;
    drawn.value = properties->value.value_or(model::xl::Off);
    drawn.locked = control->locked.value_or(true);
    drawn.extent = shape.extent;
    import::add_drawn_shape(sheet_, std::move(drawn), report_);
  }

  std::optional<std::size_t> vml_for(const DrawingShape& shape) const {
    if (const auto by_id = by_id_.find(shape.id); by_id != by_id_.end() && !used_[by_id->second]) return by_id->second;
    if (const auto by_name = by_name_.find(shape.name);
        !shape.name.empty() && by_name != by_name_.end() && !used_[by_name->second])
      return by_name->second;
    return std::nullopt;
  }

  void report_other_control(const DrawingShape& shape) {
    import::report_loss(report_, "form control", sheet_.name() + "!" + shape.name,
                        "only check boxes among the form controls are kept");
  }

  void add_check_box(std::size_t index, const DrawingShape* drawing) {
    used_[index] = true;
    const VmlShape& vml = vml_[index];
    const SheetControl* control = nullptr;
    for (const long long id : {vml.shape_id.value_or(-1), drawing ? drawing->id : -1})
      if (const auto found = controls_.find(id); id >= 0 && found != controls_.end()) control = found->second;
    import::DrawnShape drawn;
    drawn.kind = model::ShapeKind::CheckBox;
    drawn.row = vml.row;
    drawn.column = vml.column;
    drawn.name = drawing && !drawing->name.empty() ? drawing->name : !vml.name.empty() ? vml.name
                                                   : control ? control->name : std::string();
    drawn.text = vml.text;
    drawn.value = vml.checked.value_or(model::xl::Off);
    if (!vml.checked && control) drawn.value = control_value(*control).value_or(model::xl::Off);
    drawn.locked = control && control->locked ? *control->locked : vml.locked.value_or(true);
    drawn.extent = vml.extent ? vml.extent : drawing ? drawing->extent : std::nullopt;
    import::add_drawn_shape(sheet_, std::move(drawn), report_);
  }

  std::optional<int> control_value(const SheetControl& control) {
    const auto properties = read_optional_part(archive_, relationships_.by_id(control.properties_id), report_,
                                               read_control_properties_part);
    return properties ? properties->value : std::nullopt;
  }

  package::ZipArchive& archive_;
  const Relationships& relationships_;
  const SheetPartInfo& info_;
  model::Worksheet& sheet_;
  import::LoadReport* report_;
  std::vector<VmlShape> vml_;
  std::vector<bool> used_;
  std::map<std::pair<int, int>, std::size_t> notes_;  // a note's VML shape by its cell
  std::map<long long, std::size_t> by_id_;             // other VML shapes by number
  std::map<std::string, std::size_t> by_name_;         // and by name
  std::map<long long, const SheetControl*> controls_;  // the sheet's controls by shape id
};

}  // namespace

void read_sheet_drawings(package::ZipArchive& archive, const Relationships& relationships, const SheetPartInfo& info,
                         model::Worksheet& sheet, import::LoadReport* report) {
  SheetDrawings(archive, relationships, info, sheet, report).run();
}

}  // namespace engine::xlsx
