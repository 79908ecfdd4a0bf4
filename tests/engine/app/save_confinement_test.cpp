// An Excel told which folders it may write into saves nowhere else: whatever
// way the name leads out (an absolute name, "..", a linked folder on the
// way, a folder whose name only starts like an allowed one, Save of a book
// opened from elsewhere), it is refused with 1004 and the file system
// outside is left exactly as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app_fixture.hpp"

namespace engine::app::testing {
namespace {

namespace stdfs = std::filesystem;

std::string bytes_of(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SaveConfinement : public AppTest {
 protected:
  SaveConfinement() {
    stdfs::create_directories(outside());
    // The file a trainee must not reach, saved by an Excel without limits,
    // its time set back so that any write would show.
    book()->call("SaveAs", {Variant(kept())});
    workbooks()->call("Close");
    stdfs::last_write_time(kept(), stdfs::last_write_time(kept()) - std::chrono::hours(48));
    kept_bytes = bytes_of(kept());
    kept_time = stdfs::last_write_time(kept());

    app.reset();
    options.writable_folders = {folder + "/docs", folder + "/data"};
    app = Application::create(options);
  }

  std::string outside() const { return folder + "/outside"; }
  std::string kept() const { return outside() + "/important.xls"; }

  std::shared_ptr<Dispatch> book() { return workbooks()->call("Add").object(); }
  std::int32_t save_as(Dispatch& workbook, const std::string& target) {
    return error_of([&] { workbook.call("SaveAs", {Variant(target)}); });
  }

  void expect_outside_untouched() const {
    EXPECT_EQ(bytes_of(kept()), kept_bytes);
    EXPECT_EQ(stdfs::last_write_time(kept()), kept_time);
    EXPECT_EQ(std::distance(stdfs::directory_iterator(outside()), stdfs::directory_iterator()), 1)
        << "nothing new outside";
  }

  std::string kept_bytes;
  stdfs::file_time_type kept_time;
};

TEST_F(SaveConfinement, SavesInsideTheAllowedFoldersAndTheirSubfolders) {
  const auto workbook = book();
  EXPECT_EQ(save_as(*workbook, folder + "/docs/réponse.xls"), 0);
  EXPECT_TRUE(stdfs::is_regular_file(folder + "/docs/réponse.xls"));
  // A relative name lies in the current folder, which is allowed.
  EXPECT_EQ(save_as(*workbook, "relatif.xls"), 0);
  EXPECT_TRUE(stdfs::is_regular_file(folder + "/docs/relatif.xls"));
  stdfs::create_directories(folder + "/data/Modèles");
  EXPECT_EQ(save_as(*workbook, folder + "/data/Modèles/facture.xlt"), 0);
  EXPECT_TRUE(stdfs::is_regular_file(folder + "/data/Modèles/facture.xlt"));
  // ".." that stays inside is no escape.
  stdfs::create_directories(folder + "/docs/sous");
  EXPECT_EQ(save_as(*workbook, folder + "/docs/sous/../retour.xls"), 0);
  EXPECT_TRUE(stdfs::is_regular_file(folder + "/docs/retour.xls"));
}

TEST_F(SaveConfinement, EveryWayOutIsRefusedAndLeavesTheOutsideAsItWas) {
  stdfs::create_directory_symlink(outside(), folder + "/docs/lien");
  stdfs::create_directories(folder + "/docs2");
  const auto workbook = book();
  const std::vector<std::string> ways_out = {
      kept(), outside() + "/nouveau.xls", folder + "/docs/../outside/important.xls", "..\\outside\\nouveau.xls",
      folder + "/docs/lien/important.xls", folder + "/docs/lien/nouveau.xls", folder + "/docs2/voisin.xls"};
  for (const std::string& target : ways_out) {
    EXPECT_EQ(save_as(*workbook, target), 1004) << target;
    expect_outside_untouched();
  }
  EXPECT_TRUE(stdfs::is_empty(folder + "/docs2"));
  // The refusal names the file as given, as Excel's does for a place it cannot write.
  try {
    workbook->call("SaveAs", {Variant(kept())});
    ADD_FAILURE() << "saved outside";
  } catch (const platform::com::Error& e) {
    EXPECT_EQ(e.description().rfind("'" + kept() + "' cannot be accessed.", 0), 0u) << e.description();
  }
  // The workbook keeps its name and unsaved state and can still be saved inside.
  EXPECT_EQ(workbook->get("Name"), Variant("Classeur1"));
  EXPECT_EQ(save_as(*workbook, folder + "/docs/dedans.xls"), 0);
}

TEST_F(SaveConfinement, AWorkbookOpenedFromElsewhereCannotBeSavedBackThere) {
  const auto opened = workbooks()->call("Open", {Variant(kept())}).object();
  opened->put("Saved", Variant(false));
  EXPECT_EQ(error_of([&] { opened->call("Save"); }), 1004);
  EXPECT_EQ(error_of([&] { opened->call("Close", {Variant(true)}); }), 1004);
  expect_outside_untouched();
  // Saved under the allowed folders instead, it is written there.
  EXPECT_EQ(save_as(*opened, folder + "/docs/copie.xls"), 0);
  expect_outside_untouched();
}

TEST_F(SaveConfinement, AFolderAllowedLaterAndNoLimitAtAllBothSave) {
  const auto workbook = book();
  EXPECT_EQ(save_as(*workbook, outside() + "/plus tard.xls"), 1004);
  app->allow_writes_in(outside());
  EXPECT_EQ(save_as(*workbook, outside() + "/plus tard.xls"), 0);
  EXPECT_TRUE(stdfs::is_regular_file(outside() + "/plus tard.xls"));

  // Without folders given, Excel saves where it is told, as before.
  workbook.get()->call("Close");
  app.reset();
  options.writable_folders.clear();
  app = Application::create(options);
  EXPECT_EQ(save_as(*book(), outside() + "/libre.xls"), 0);
  EXPECT_TRUE(stdfs::is_regular_file(outside() + "/libre.xls"));
}

}  // namespace
}  // namespace engine::app::testing
