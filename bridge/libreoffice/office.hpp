// One LibreOffice process and the UNO connection to it: started by us with a
// private profile (headless for tests, with its window for a person), or a
// running one that listens on a named pipe, attached to.
//
// Every call into LibreOffice goes through Office::call, which bounds its
// time: a call that does not come back within the call timeout counts as
// not answering, as a hung Excel does. The watchdog then cuts the
// connection, which makes the blocked call return with an error, and from
// then on every call fails at once as a call to a dead server does
// (0x800706BA, "The RPC server is unavailable"). A process that crashed or
// was closed gives the same failure.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/XConnection.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>
#include <sys/types.h>

#include "bridge/libreoffice/options.hpp"

namespace bridge::libreoffice {

namespace css = com::sun::star;
using css::uno::Reference;

// UTF-8 to and from UNO's UTF-16 strings.
rtl::OUString to_uno(const std::string& text);
std::string from_uno(const rtl::OUString& text);

// A named argument of a UNO call (a media descriptor's entry), and a list of them.
css::beans::PropertyValue property(const char* name, css::uno::Any value);
css::uno::Sequence<css::beans::PropertyValue> properties(std::initializer_list<css::beans::PropertyValue> list);

// A file URL for a host path, and the host path of a file URL ("" when the
// URL is not a file's).
rtl::OUString file_url(const std::filesystem::path& path);
std::filesystem::path path_of_url(const rtl::OUString& url);

// The failure of a call to a LibreOffice that is gone.
[[noreturn]] void raise_dead_server();

class Office {
 public:
  // Starts LibreOffice (or attaches) and connects, within start_timeout; a
  // failure raises 429 (the class cannot be created) with the reason.
  static std::shared_ptr<Office> start(const OfficeOptions& options);
  ~Office();
  Office(const Office&) = delete;
  Office& operator=(const Office&) = delete;

  const OfficeOptions& options() const { return options_; }
  // The pipe it listens on.
  const std::string& pipe() const { return pipe_; }
  // The process we started (the leader of its process group); -1 when attached.
  pid_t process() const { return pid_; }

  // Runs `f` (a function of UNO calls) under the call timeout. UNO errors
  // become runtime errors: a lost connection the dead server's, an index out
  // of range 9, a bad argument 5, anything else 1004 with LibreOffice's text.
  template <class F>
  auto call(F&& f) -> std::invoke_result_t<F&> {
    refuse_if_lost();
    Watch watch(*this);
    try {
      return f();
    } catch (const css::uno::Exception& e) {
      raise_uno_failure(e);
    }
  }

  Reference<css::uno::XComponentContext> context() const { return context_; }
  Reference<css::frame::XDesktop2> desktop() const { return desktop_; }

  // True once LibreOffice has stopped answering for good: its process ended,
  // the connection broke or a call timed out. Never blocks.
  bool gone();
  // Asks LibreOffice to end (the documents are closed by the caller first),
  // then makes sure the process we started is gone.
  void quit();

 private:
  explicit Office(OfficeOptions options);
  void launch();
  bool connect_once(const std::string& pipe);
  void connect();
  void open_bridge();
  void watch_calls();
  void lose_connection();
  void refuse_if_lost();
  void end_process(std::chrono::milliseconds patience);
  [[noreturn]] void raise_uno_failure(const css::uno::Exception& e);

  // Marks one call in progress for the watchdog.
  class Watch {
   public:
    explicit Watch(Office& office);
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

   private:
    Office& office_;
  };

  OfficeOptions options_;
  std::string pipe_;
  std::filesystem::path profile_;  // ours to remove; empty when attached
  pid_t pid_ = -1;                 // ours to end; -1 when attached
  bool exited_ = false;

  Reference<css::connection::XConnection> connection_;
  Reference<css::bridge::XBridge> bridge_;
  Reference<css::uno::XComponentContext> context_;
  Reference<css::frame::XDesktop2> desktop_;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::chrono::steady_clock::time_point deadline_;
  int calls_ = 0;  // nested calls in progress
  bool stopping_ = false;
  std::atomic<bool> lost_{false};
  std::thread watchdog_;
};

}  // namespace bridge::libreoffice
