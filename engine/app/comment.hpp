// Comment: the note of one cell (Range.Comment, Range.AddComment).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/app/worksheet_object.hpp"

namespace engine::app {

class Comment final : public AppObject {
 public:
  Comment(std::shared_ptr<Application> app, SheetRef sheet, int row, int column);

  // Without `text`, the note's text; with it, the text is set (from `start`,
  // 1-based, replacing the rest unless `overwrite` is False, which inserts).
  std::string text(const std::optional<std::string>& text, std::optional<std::int32_t> start,
                   std::optional<bool> overwrite);
  std::string author() const;
  bool visible() const;
  void delete_comment();

 protected:
  const GuardedMembers& member_table() const override;

 private:
  // The note; raises 424 once it was deleted.
  const model::Note& note() const;

  SheetRef sheet_;
  int row_;
  int column_;
};

std::shared_ptr<Comment> make_comment(std::shared_ptr<Application> app, SheetRef sheet, int row, int column);

}  // namespace engine::app
