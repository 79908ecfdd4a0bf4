#include "tests/exercises/other_programs.hpp"

#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>

#include <memory>
#include <sstream>
#include <stdexcept>

namespace exercises::testing {

namespace fs = std::filesystem;

namespace {

struct ObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

std::string error_text(GError* error) {
  std::string text = error ? error->message : "unknown error";
  if (error) g_error_free(error);
  return text;
}

bool mentions_trouble(std::string_view line) {
  for (const std::string_view word : {"Error", "error", "WARNING", "Warning", "CRITICAL", "Critical"}) {
    if (line.find(word) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace

ProgramRun convert_with_libreoffice(const std::vector<fs::path>& files, const fs::path& out, const fs::path& profile) {
  std::vector<std::string> command = {"soffice", "-env:UserInstallation=file://" + profile.string(), "--headless",
                                      "--norestore", "--convert-to", "fods", "--outdir", out.string()};
  for (const auto& file : files) command.push_back(file.string());
  return run_program(command, 300);
}

ProgramRun convert_with_gnumeric(const fs::path& file, const fs::path& out, std::string_view exporter) {
  return run_program({"ssconvert", "--export-type=" + std::string(exporter), file.string(), out.string()}, 60);
}

std::string odf_content(const fs::path& package) {
  GError* error = nullptr;
  const GObjectPtr<GsfInput> input(gsf_input_stdio_new(package.c_str(), &error));
  if (!input) throw std::runtime_error(package.string() + ": " + error_text(error));
  const GObjectPtr<GsfInfile> zip(gsf_infile_zip_new(input.get(), &error));
  if (!zip) throw std::runtime_error(package.string() + ": " + error_text(error));
  const GObjectPtr<GsfInput> content(gsf_infile_child_by_name(zip.get(), "content.xml"));
  if (!content) throw std::runtime_error(package.string() + " holds no content.xml");
  const auto size = static_cast<std::size_t>(gsf_input_size(content.get()));
  std::string text(size, '\0');
  if (size > 0 && !gsf_input_read(content.get(), size, reinterpret_cast<guint8*>(text.data()))) {
    throw std::runtime_error(package.string() + ": content.xml cannot be read");
  }
  return text;
}

std::vector<std::string> complaints(const ProgramRun& run) {
  std::vector<std::string> lines;
  std::istringstream in(run.output + run.errors);
  for (std::string line; std::getline(in, line);) {
    if (mentions_trouble(line)) lines.push_back(line);
  }
  return lines;
}

}  // namespace exercises::testing
