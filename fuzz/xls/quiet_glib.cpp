// libgsf reports every damaged container it meets through GLib's log and
// g_printerr. Under a fuzzer that is thousands of lines a second, burying
// the one report that matters; the reader's own FileError already says what
// went wrong, so both channels are dropped for the fuzzing process.
#include <glib.h>

namespace {

GLogWriterOutput drop_log(GLogLevelFlags, const GLogField*, gsize, gpointer) { return G_LOG_WRITER_HANDLED; }
void drop_text(const gchar*) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_log_set_writer_func(drop_log, nullptr, nullptr);
  g_set_printerr_handler(drop_text);
  return 0;
}
