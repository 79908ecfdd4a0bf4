#include "player/exercise_files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <system_error>

#include "host/installation.hpp"
#include "player/question_number.hpp"

namespace d72506::player {

namespace stdfs = std::filesystem;

namespace {

// The only question whose delivered file is a template.
constexpr std::int32_t kTemplateQuestion = 614;

[[noreturn]] void fail(const std::string& what, const stdfs::path& where) {
  throw stdfs::filesystem_error(what, where, std::error_code(errno, std::generic_category()));
}

// A new file beside `to`, filled and then renamed over it: whatever had that
// name (an older copy, a link to a file elsewhere) is replaced as an entry of
// the working folder, never written through. A folder in the way fails.
void put_in_place(const stdfs::path& from, const stdfs::path& to) {
  // Built by appending: "." + a string draws GCC 12's false -Wrestrict here.
  std::string hidden_name(".");
  hidden_name.append(to.filename().string()).append("-XXXXXX");
  std::string staging = (to.parent_path() / hidden_name).string();
  const int fd = ::mkstemp(staging.data());
  if (fd < 0) fail("cannot create a file in the working folder", to.parent_path());
  std::ifstream in(from, std::ios::binary);
  std::vector<char> buffer(1 << 16);
  bool written = static_cast<bool>(in) && ::fchmod(fd, 0644) == 0;
  while (written && in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto size = static_cast<std::size_t>(in.gcount());
    written = ::write(fd, buffer.data(), size) == static_cast<ssize_t>(size);
  }
  written = ::close(fd) == 0 && written && in.eof();
  if (!written || ::rename(staging.c_str(), to.c_str()) != 0) {
    const int reason = errno;
    ::unlink(staging.c_str());
    errno = reason;
    fail("cannot deliver the exercise file", to);
  }
}

}  // namespace

std::vector<std::string> delivered_files(std::int32_t question) {
  if (question < kFirstQuestion || question > kLastQuestion) return {};
  // The course's code "0725" and the question's four digits ("0601").
  return {"07250" + std::to_string(question) + (question == kTemplateQuestion ? ".xlt" : ".xls")};
}

std::optional<stdfs::path> default_exercises_folder() {
  std::error_code error;
  // The binary holding this code: the command, or the library a player loaded.
  const stdfs::path here = DossierBinaire();
  const std::string probe = delivered_files(kFirstQuestion).front();
  for (const stdfs::path& candidate :
       {here / "exercises", here.parent_path() / "exercises", DossierDonneesInstallees() / "exercises"}) {
    if (stdfs::is_regular_file(candidate / probe, error)) return candidate;
  }
  return std::nullopt;
}

std::vector<std::string> deliver(std::int32_t question, const stdfs::path& exercises, const stdfs::path& working) {
  std::vector<std::string> missing;
  for (const std::string& name : delivered_files(question)) {
    std::error_code error;
    if (!stdfs::is_regular_file(exercises / name, error)) {
      missing.push_back(name);
      continue;
    }
    put_in_place(exercises / name, working / name);
  }
  return missing;
}

}  // namespace d72506::player
