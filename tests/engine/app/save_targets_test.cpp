// SaveAs onto names that are no file: a pipe would block the save for ever,
// a folder would refuse it late. Each is refused with
// Excel's 1004 before anything is opened, and is left as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app_fixture.hpp"

namespace engine::app::testing {
namespace {

class SaveTargets : public AppTest {
 protected:
  SaveTargets() { book = workbooks()->call("Add").object(); }

  std::int32_t save_as(const std::string& target) {
    return error_of([&] { book->call("SaveAs", {Variant(target)}); });
  }

  std::shared_ptr<Dispatch> book;
};

TEST_F(SaveTargets, APipeOrAFolderIsRefusedAndLeftAsItWas) {
  const std::string pipe = folder + "/docs/tube.xls";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(save_as(pipe), 1004);
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));

  std::filesystem::create_directory(folder + "/docs/dossier.xls");
  EXPECT_EQ(save_as(folder + "/docs/dossier.xls"), 1004);
  EXPECT_TRUE(std::filesystem::is_empty(folder + "/docs/dossier.xls"));

  // The workbook keeps its name and can still be saved where a file may go.
  EXPECT_EQ(book->get("Name"), Variant("Classeur1"));
  EXPECT_EQ(save_as(folder + "/docs/vrai.xls"), 0);
  EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/docs/vrai.xls"));
}

}  // namespace
}  // namespace engine::app::testing
