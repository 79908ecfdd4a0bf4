#include "engine/app/comment.hpp"

#include <algorithm>

#include "engine/app/application.hpp"
#include "engine/app/range.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;

namespace {

constexpr com::DispId kText = 1666;
constexpr com::DispId kAuthor = 574;

}  // namespace

Comment::Comment(std::shared_ptr<Application> app, SheetRef sheet, int row, int column)
    : AppObject(std::move(app)), sheet_(std::move(sheet)), row_(row), column_(column) {}

std::shared_ptr<Comment> make_comment(std::shared_ptr<Application> app, SheetRef sheet, int row, int column) {
  return std::make_shared<Comment>(std::move(app), std::move(sheet), row, column);
}

const model::Note& Comment::note() const {
  const model::Note* note = sheet_.get(application()).note(row_, column_);
  if (note == nullptr) raise_detached();
  return *note;
}

std::string Comment::text(const std::optional<std::string>& text, std::optional<std::int32_t> start,
                          std::optional<bool> overwrite) {
  const model::Note& current = note();
  if (!text) return current.text;
  if (start.value_or(1) < 1) com::raise(com::err::InvalidCall);
  model::Worksheet& sheet = sheet_.get(application());
  if (sheet.protection().drawing_objects) raise_refused("Text method of Comment class failed");
  const std::size_t from = std::min(static_cast<std::size_t>(start.value_or(1)) - 1, current.text.size());
  std::string updated = current.text.substr(0, from) + *text;
  if (!overwrite.value_or(true)) updated += current.text.substr(from);
  sheet.set_note(row_, column_, updated, current.author);
  return updated;
}

std::string Comment::author() const { return note().author; }

bool Comment::visible() const { return note().visible; }

void Comment::delete_comment() {
  note();
  model::Worksheet& sheet = sheet_.get(application());
  if (sheet.protection().drawing_objects) raise_refused("Delete method of Comment class failed");
  sheet.delete_note(row_, column_);
}

const GuardedMembers& Comment::member_table() const {
  static const GuardedMembers table =
      AppMembers<Comment>("Comment")
          .method("Text", kText, &Comment::text, {"Text", "Start", "Overwrite"})
          .get("Author", kAuthor, &Comment::author)
          .get("Visible", dispid::Visible, &Comment::visible)
          .method("Delete", dispid::Delete, &Comment::delete_comment)
          .get("Parent", dispid::Parent,
               [](Comment& c) {
                 c.note();
                 return make_range(c.application_ref(), c.sheet_, model::CellRange::cell(c.row_, c.column_));
               })
          .get("Application", dispid::Application, [](Comment& c) { return c.application_ref(); });
  return table;
}

}  // namespace engine::app
