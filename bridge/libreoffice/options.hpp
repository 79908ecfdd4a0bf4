// What starting the bridge takes: how LibreOffice is started or found, and
// what the player tells Excel about the machine. Kept apart from the UNO
// headers, so that the player names them without including those.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace bridge::libreoffice {

struct OfficeOptions {
  // A person's run: LibreOffice shows its window. Otherwise it runs headless.
  bool with_window = false;
  // The pipe of a LibreOffice a person keeps running and listening
  // (soffice --accept="pipe,name=d72506;urp;"): attached to when it answers
  // there, rather than starting one. Empty: always start one.
  std::string attach_pipe = "d72506";
  // The program started ("soffice", looked up on PATH).
  std::string program = "soffice";
  std::chrono::milliseconds start_timeout{60'000};
  std::chrono::milliseconds call_timeout{15'000};
};

// What the player tells the bridge about the machine, as it tells the
// stand-in: where Excel's templates folder lies, the printer, the folders
// workbooks may be saved into (empty: anywhere).
struct BridgeOptions {
  OfficeOptions office;
  std::string templates_root;
  std::string printer;
  std::vector<std::string> writable_folders;
};

}  // namespace bridge::libreoffice
