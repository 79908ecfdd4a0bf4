#include "player/folder.hpp"

#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <thread>

namespace d72506::player {

namespace stdfs = std::filesystem;

namespace {

// The module joins a folder and a name with '\', as on Windows, and the file
// calls read every '\' as a separator: a folder whose path holds one would
// be another folder to the module, which would clean and rename files there.
void refuse_backslash(const stdfs::path& path) {
  if (path.string().find('\\') == std::string::npos) return;
  throw stdfs::filesystem_error("the exercise cannot work in a folder whose path holds a backslash, which the module "
                                "reads as a folder separator",
                                path, std::make_error_code(std::errc::invalid_argument));
}

// The temporary folders alive in this process, for the signal watcher.
std::mutex g_live_mutex;
std::set<std::string> g_live;

void remove_live_temporaries() {
  std::lock_guard lock(g_live_mutex);
  for (const std::string& path : g_live) {
    std::error_code ignored;
    stdfs::remove_all(path, ignored);
  }
  g_live.clear();
}

// Waits for one of `signals`, removes the temporary folders, then ends the
// process as that signal does by default, so that its caller sees why.
void watch_signals(sigset_t signals) {
  int received = 0;
  if (sigwait(&signals, &received) != 0) return;
  remove_live_temporaries();
  std::signal(received, SIG_DFL);
  pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
  std::raise(received);
}

}  // namespace

void Folder::remove_temporaries_on_signals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int kind : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, kind);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread(watch_signals, signals).detach();
}

Folder Folder::temporary(std::string_view prefix) {
  std::string pattern = (stdfs::temp_directory_path() / prefix).string() + "-XXXXXX";
  refuse_backslash(pattern);
  std::lock_guard lock(g_live_mutex);
  if (mkdtemp(pattern.data()) == nullptr) {
    throw stdfs::filesystem_error("cannot create a temporary folder", pattern,
                                  std::error_code(errno, std::generic_category()));
  }
  g_live.insert(pattern);
  return Folder(pattern, true);
}

Folder Folder::kept(const stdfs::path& path) {
  refuse_backslash(path);
  stdfs::path absolute = stdfs::absolute(path);
  stdfs::create_directories(absolute);
  if (!stdfs::is_directory(absolute)) {
    throw stdfs::filesystem_error("not a folder", absolute, std::make_error_code(std::errc::not_a_directory));
  }
  return Folder(std::move(absolute), false);
}

Folder Folder::named_or_temporary(const std::optional<stdfs::path>& named, std::string_view prefix) {
  return named ? kept(*named) : temporary(prefix);
}

Folder::Folder(Folder&& other) noexcept : path_(std::move(other.path_)), temporary_(other.temporary_) {
  other.temporary_ = false;
}

Folder::~Folder() {
  if (!temporary_) return;
  {
    std::lock_guard lock(g_live_mutex);
    g_live.erase(path_.string());
  }
  std::error_code ignored;
  stdfs::remove_all(path_, ignored);
}

}  // namespace d72506::player
