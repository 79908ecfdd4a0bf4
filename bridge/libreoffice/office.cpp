#include "bridge/libreoffice/office.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <vector>

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/NoSuchElementException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/lang/IndexOutOfBoundsException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <osl/file.hxx>
#include <rtl/bootstrap.hxx>

#include "platform/com/error.hpp"

extern char** environ;

namespace bridge::libreoffice {

namespace com = platform::com;
namespace stdfs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr com::HRESULT kServerUnavailable = static_cast<com::HRESULT>(0x800706BA);

[[noreturn]] void refuse_start(const std::string& why) {
  com::raise(com::err::CantCreateObject, "LibreOffice", "LibreOffice could not be started: " + why);
}

// This process's own UNO runtime, which holds the bridge to the office. It
// is made once and kept for the process's life, as UNO's runtime is. It
// reads LibreOffice's own bootstrap files, so that it knows every type the
// office's API speaks of (the URE's and the office's).
Reference<css::uno::XComponentContext> local_context() {
  static const auto* context = [] {
    rtl::Bootstrap::set(to_uno("URE_BOOTSTRAP"), to_uno(std::string("vnd.sun.star.pathname:") + D72506_OFFICE_PROGRAM + "/fundamentalrc"));
    return new Reference<css::uno::XComponentContext>(cppu::defaultBootstrap_InitialComponentContext());
  }();
  return *context;
}

// $1: the process LibreOffice works for; the rest: the command that starts it.
constexpr const char* kGroupGuard =
    "owner=$1; shift; \"$@\" & office=$!; "
    "while kill -0 \"$owner\" 2>/dev/null && kill -0 \"$office\" 2>/dev/null; do sleep 1; done; "
    "kill -KILL 0";

std::string unique_pipe_name() {
  static std::atomic<int> counter{0};
  return "d72506-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

stdfs::path new_profile_folder() {
  std::string pattern = (stdfs::temp_directory_path() / "d72506-office-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) refuse_start("no private profile folder in " + pattern);
  return pattern;
}

}  // namespace

void raise_dead_server() {
  throw com::Error::from_hresult(kServerUnavailable, {}, "The RPC server is unavailable.");
}

rtl::OUString to_uno(const std::string& text) {
  return rtl::OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

std::string from_uno(const rtl::OUString& text) {
  const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
  return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

css::beans::PropertyValue property(const char* name, css::uno::Any value) {
  css::beans::PropertyValue p;
  p.Name = rtl::OUString::createFromAscii(name);
  p.Value = std::move(value);
  return p;
}

css::uno::Sequence<css::beans::PropertyValue> properties(std::initializer_list<css::beans::PropertyValue> list) {
  return css::uno::Sequence<css::beans::PropertyValue>(list.begin(), static_cast<sal_Int32>(list.size()));
}

rtl::OUString file_url(const stdfs::path& path) {
  rtl::OUString url;
  if (osl::FileBase::getFileURLFromSystemPath(to_uno(stdfs::absolute(path).string()), url) != osl::FileBase::E_None) {
    com::raise(com::err::ApplicationDefined, "LibreOffice", "'" + path.string() + "' is not a path LibreOffice takes");
  }
  return url;
}

stdfs::path path_of_url(const rtl::OUString& url) {
  rtl::OUString path;
  if (osl::FileBase::getSystemPathFromFileURL(url, path) != osl::FileBase::E_None) return {};
  return from_uno(path);
}

// --- Starting and connecting ------------------------------------------------------

Office::Office(OfficeOptions options) : options_(std::move(options)) {}

std::shared_ptr<Office> Office::start(const OfficeOptions& options) {
  std::shared_ptr<Office> office(new Office(options));
  office->watchdog_ = std::thread([raw = office.get()] { raw->watch_calls(); });
  if (!options.attach_pipe.empty() && office->connect_once(options.attach_pipe)) {
    office->pipe_ = options.attach_pipe;
  } else {
    office->pipe_ = unique_pipe_name();
    office->launch();
    office->connect();
  }
  office->open_bridge();
  return office;
}

namespace {

// The private profile's settings: documents are not locked with lock files
// beside them, which would be left in the trainee's folders, and no
// first-start page opens.
void write_profile_settings(const stdfs::path& profile) {
  stdfs::create_directories(profile / "user");
  std::ofstream settings(profile / "user" / "registrymodifications.xcu");
  settings << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
              "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
              "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"UseLocking\" oor:op=\"fuse\">"
              "<value>false</value></prop></item>\n"
              "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"ShowTipOfTheDay\" oor:op=\"fuse\">"
              "<value>false</value></prop></item>\n"
              "</oor:items>\n";
  if (!settings) refuse_start("cannot write the private profile in " + profile.string());
}

}  // namespace

void Office::launch() {
  profile_ = new_profile_folder();
  write_profile_settings(profile_);
  std::vector<std::string> args{options_.program, "--norestore", "--nologo", "--nodefault", "--nolockcheck",
                                "--accept=pipe,name=" + pipe_ + ";urp;",
                                "-env:UserInstallation=" + from_uno(file_url(profile_))};
  if (!options_.with_window) {
    args.insert(args.begin() + 1, "--headless");
    args.insert(args.begin() + 2, "--invisible");
  }
  // A process that ends without its destructors (a signal, a crash) must not
  // leave LibreOffice running: a shell leads LibreOffice's process group and
  // ends the whole group once either this process or LibreOffice is gone.
  args.insert(args.begin(), {"/bin/sh", "-c", kGroupGuard, "d72506-office", std::to_string(::getpid())});
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // Its own process group, so that ending it ends the processes it starts;
  // its chatter on the terminal is not ours to show.
  posix_spawn_file_actions_t files;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  const int status = ::posix_spawn(&pid_, argv[0], &files, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  if (status != 0) {
    pid_ = -1;
    refuse_start(options_.program + ": " + std::generic_category().message(status));
  }
}

// One attempt at the pipe: false when nothing listens there.
bool Office::connect_once(const std::string& pipe) {
  try {
    connection_ = css::connection::Connector::create(local_context())->connect(to_uno("pipe,name=" + pipe));
    return true;
  } catch (const css::connection::NoConnectException&) {
    return false;
  }
}

// Waits, within the start timeout, for the LibreOffice we started to listen.
void Office::connect() {
  const auto deadline = std::chrono::steady_clock::now() + options_.start_timeout;
  while (!connect_once(pipe_)) {
    if (gone()) refuse_start(options_.program + " ended before it answered");
    if (std::chrono::steady_clock::now() > deadline) refuse_start(options_.program + " did not answer in time");
    std::this_thread::sleep_for(100ms);
  }
}

void Office::open_bridge() {
  try {
    call([&] {
      bridge_ = css::bridge::BridgeFactory::create(local_context())
                    ->createBridge(rtl::OUString(), to_uno("urp"), connection_, nullptr);
      context_.set(bridge_->getInstance(to_uno("StarOffice.ComponentContext")), css::uno::UNO_QUERY_THROW);
      desktop_ = css::frame::Desktop::create(context_);
    });
  } catch (const com::Error& e) {
    refuse_start(e.description());
  }
}

Office::~Office() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (watchdog_.joinable()) watchdog_.join();
  desktop_.clear();
  context_.clear();
  if (Reference<css::lang::XComponent> bridge{bridge_, css::uno::UNO_QUERY}; bridge.is()) {
    try {
      bridge->dispose();
    } catch (const css::uno::Exception&) {
      // Already broken: nothing to let go of.
    }
  }
  bridge_.clear();
  connection_.clear();
  // Released without Quit (the run ended otherwise): nothing of it is kept.
  end_process(0ms);
  if (!profile_.empty()) {
    std::error_code ignored;
    stdfs::remove_all(profile_, ignored);
  }
}

// --- Calls under a deadline -------------------------------------------------------

Office::Watch::Watch(Office& office) : office_(office) {
  {
    std::lock_guard lock(office_.mutex_);
    if (office_.calls_++ == 0) office_.deadline_ = std::chrono::steady_clock::now() + office_.options_.call_timeout;
  }
  office_.wake_.notify_all();
}

Office::Watch::~Watch() {
  {
    std::lock_guard lock(office_.mutex_);
    --office_.calls_;
  }
  office_.wake_.notify_all();
}

void Office::watch_calls() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (calls_ == 0 || lost_) {
      wake_.wait(lock);
      continue;
    }
    const auto deadline = deadline_;
    if (wake_.wait_until(lock, deadline) == std::cv_status::timeout && calls_ > 0 && deadline_ == deadline) {
      lock.unlock();
      lose_connection();
      lock.lock();
    }
  }
}

// Cutting the connection makes a call blocked on it return with an error.
void Office::lose_connection() {
  lost_ = true;
  try {
    if (connection_.is()) connection_->close();
  } catch (const css::uno::Exception&) {
    // Already closed.
  }
}

void Office::refuse_if_lost() {
  if (lost_) raise_dead_server();
}

// Called while the UNO error is being handled: it is looked at again by type,
// as UNO's exceptions carry no run-time type of their own.
void Office::raise_uno_failure(const css::uno::Exception& e) {
  const std::string text = e.Message.isEmpty() ? std::string("LibreOffice refused the call") : from_uno(e.Message);
  try {
    throw;
  } catch (const css::lang::DisposedException&) {
    lose_connection();
    raise_dead_server();
  } catch (const css::lang::IndexOutOfBoundsException&) {
    com::raise(com::err::SubscriptOutOfRange, "LibreOffice", text);
  } catch (const css::container::NoSuchElementException&) {
    com::raise(com::err::SubscriptOutOfRange, "LibreOffice", text);
  } catch (const css::lang::IllegalArgumentException&) {
    com::raise(com::err::InvalidCall, "LibreOffice", text);
  } catch (const css::uno::Exception&) {
    if (lost_ || gone()) raise_dead_server();
    com::raise(com::err::ApplicationDefined, "LibreOffice", text);
  }
}

// --- The process ------------------------------------------------------------------

bool Office::gone() {
  if (lost_) return true;
  if (pid_ > 0 && !exited_ && ::waitpid(pid_, nullptr, WNOHANG) == pid_) exited_ = true;
  if (exited_) lost_ = true;
  return lost_;
}

void Office::quit() {
  if (!lost_) {
    try {
      call([&] { desktop_->terminate(); });
    } catch (const com::Error&) {
      // A LibreOffice that will not end politely is ended below.
    }
  }
  lose_connection();
  end_process(10s);
}

// Waits for the process we started to end, then ends it and its group.
void Office::end_process(std::chrono::milliseconds patience) {
  if (pid_ <= 0 || exited_) return;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (::waitpid(pid_, nullptr, WNOHANG) != pid_) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(-pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(50ms);
  }
  // What it started in its group (the office itself) goes with it.
  ::kill(-pid_, SIGKILL);
  exited_ = true;
  lost_ = true;
}

}  // namespace bridge::libreoffice
