// build_exercise SCRIPT OUTPUT
//
// Builds one delivered exercise file: runs its script on a fresh stand-in
// Excel whose current folder is OUTPUT's folder, so that the script's
// `ActiveWorkbook.SaveAs Filename:="07250601.xls"` lands there, exactly as
// it would in Excel. Fails (exit 1, the reason on stderr) when the script
// stops or does not save OUTPUT.
//
// A line "#include parts/table.bas" runs another script, found relative to
// the including one, in the same session at that point: the workbooks share
// their common sheets without copying them.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/app/application.hpp"
#include "platform/com/error.hpp"
#include "platform/script/script.hpp"

namespace {

namespace fs = std::filesystem;
namespace com = platform::com;
namespace script = platform::script;

struct BuildFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw BuildFailure("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// One script run with its includes. Includes nest, each relative to the
// script that names it; a chain deeper than kMaxDepth is taken for a cycle.
class ExerciseBuild {
 public:
  explicit ExerciseBuild(com::Variant application)
      : session_(std::move(application), [this](std::string_view line, int number) { host_line(line, number); }) {}

  void run_script(const fs::path& path) {
    if (folders_.size() == kMaxDepth) throw BuildFailure(path.string() + ": includes nest too deeply (a cycle?)");
    folders_.push_back(path.parent_path());
    session_.run(script::parse(read_file(path), path.string()));
    folders_.pop_back();
  }

 private:
  static constexpr std::size_t kMaxDepth = 8;

  void host_line(std::string_view line, int number) {
    constexpr std::string_view kInclude = "include ";
    if (!line.starts_with(kInclude)) {
      throw BuildFailure("line " + std::to_string(number) + ": unknown host line '#" + std::string(line) + "'");
    }
    run_script(folders_.back() / std::string(line.substr(kInclude.size())));
  }

  script::Session session_;
  std::vector<fs::path> folders_;
};

void build(const fs::path& script_path, const fs::path& output) {
  const fs::path folder = fs::absolute(output).parent_path();
  fs::create_directories(folder);
  fs::remove(output);  // a script that forgets to save must not pass on an old file

  engine::app::ApplicationOptions options;
  options.current_folder = folder.string();
  options.templates_root = folder.string();  // nothing of the user's enters the build
  const auto app = engine::app::Application::create(options);
  ExerciseBuild(com::Variant(app->application_ref())).run_script(script_path);
  if (!fs::exists(output)) throw BuildFailure(script_path.string() + " did not save " + output.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: build_exercise SCRIPT OUTPUT\n";
    return 2;
  }
  try {
    build(argv[1], argv[2]);
    return 0;
  } catch (const script::ScriptError& e) {
    std::cerr << e.what() << '\n';
  } catch (const com::Error& e) {
    std::cerr << argv[1] << ": error " << e.number() << ": " << e.description() << '\n';
  } catch (const std::exception& e) {
    std::cerr << argv[1] << ": " << e.what() << '\n';
  }
  return 1;
}
