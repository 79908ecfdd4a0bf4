// Windows (one per open workbook, as Excel shows each workbook in its own
// window) and the command bars, plus how Excel's collections read Item.
#include "bridge/libreoffice/objects.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/members.hpp"
#include "platform/com/text.hpp"
#include "platform/excel/dispids.hpp"

namespace bridge::libreoffice {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;

std::size_t item_position(const Variant& index, const std::vector<std::string>& names) {
  const Variant plain = index.is_object() ? com::value_of(index) : index;
  if (plain.type() == com::VarType::String) {
    const std::string wanted = com::lcase(com::cstr(plain));
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (com::lcase(names[i]) == wanted) return i;
    }
    com::raise(com::err::SubscriptOutOfRange);
  }
  if (!plain.is_number() && plain.type() != com::VarType::Boolean) com::raise(com::err::TypeMismatch);
  const std::int32_t position = com::clng(plain);
  if (position < 1 || static_cast<std::size_t>(position) > names.size()) com::raise(com::err::SubscriptOutOfRange);
  return static_cast<std::size_t>(position - 1);
}

namespace {

constexpr com::DispId kCaption = 139;
constexpr com::DispId kPosition = 133;
constexpr com::DispId kEnabled = 600;

std::shared_ptr<Window> window_at(Windows& w, const Variant& index) {
  return std::make_shared<Window>(w.app_ref(), w.app().document_at(index));
}

std::shared_ptr<CommandBar> bar_at(CommandBars& b, const Variant& index) {
  b.app().require_answering();
  std::vector<std::string> names;
  for (const CommandBarState& bar : b.app().command_bars()) names.push_back(bar.name);
  return std::make_shared<CommandBar>(b.app_ref(), item_position(index, names));
}

// A bar's setting: read it, or change it and show the change in LibreOffice.
template <class T>
void set_bar(CommandBar& b, T CommandBarState::*setting, T value) {
  b.app().require_answering();
  b.state().*setting = value;
  b.app().apply(b.state());
}

}  // namespace

const com::MemberTable& Windows::members() const {
  static const com::MemberTable table =
      com::Members<Windows>("Windows")
          .get("Count", dispid::Count, [](Windows& w) { return static_cast<std::int32_t>(w.app().documents().size()); })
          .get("Item", dispid::Item, [](Windows& w, const Variant& i) { return window_at(w, i); }, {"Index"})
          .get("_Default", com::DISPID_VALUE, [](Windows& w, const Variant& i) { return window_at(w, i); }, {"Index"});
  return table;
}

const com::MemberTable& Window::members() const {
  static const com::MemberTable table =
      com::Members<Window>("Window")
          .get("Caption", kCaption,
               [](Window& w) {
                 w.app().require_answering();
                 return w.app().name_of(w.document());
               })
          .get("Visible", dispid::Visible,
               [](Window& w) {
                 w.app().require_answering();
                 return w.app().window_visible(w.document());
               })
          .get("WindowState", dispid::WindowState,
               [](Window& w) {
                 w.app().require_answering();
                 return w.app().window_state(w.document());
               })
          .put("WindowState", dispid::WindowState,
               [](Window& w, std::int32_t state) {
                 w.app().require_answering();
                 w.app().set_window_state(w.document(), state);
               })
          .method("Activate", dispid::Activate, [](Window& w) {
            w.app().require_answering();
            w.app().activate(w.document());
          });
  return table;
}

const com::MemberTable& CommandBars::members() const {
  static const com::MemberTable table =
      com::Members<CommandBars>("CommandBars")
          .get("Count", dispid::Count,
               [](CommandBars& b) {
                 b.app().require_answering();
                 return static_cast<std::int32_t>(b.app().command_bars().size());
               })
          .get("Item", dispid::Item, [](CommandBars& b, const Variant& i) { return bar_at(b, i); }, {"Index"})
          .get("_Default", com::DISPID_VALUE, [](CommandBars& b, const Variant& i) { return bar_at(b, i); }, {"Index"});
  return table;
}

// The module reaches the Office command bars' members by name; the numbers
// are Excel's for members of those names.
const com::MemberTable& CommandBar::members() const {
  static const com::MemberTable table =
      com::Members<CommandBar>("CommandBar")
          .get("Name", dispid::Name,
               [](CommandBar& b) {
                 b.app().require_answering();
                 return b.state().name;
               })
          .get("Enabled", kEnabled,
               [](CommandBar& b) {
                 b.app().require_answering();
                 return b.state().enabled;
               })
          .put("Enabled", kEnabled, [](CommandBar& b, bool v) { set_bar(b, &CommandBarState::enabled, v); })
          .get("Visible", dispid::Visible,
               [](CommandBar& b) {
                 b.app().require_answering();
                 return b.state().visible;
               })
          .put("Visible", dispid::Visible, [](CommandBar& b, bool v) { set_bar(b, &CommandBarState::visible, v); })
          .get("Position", kPosition,
               [](CommandBar& b) {
                 b.app().require_answering();
                 return b.state().position;
               })
          .put("Position", kPosition, [](CommandBar& b, std::int32_t v) {
            if (v < 0 || v > 5) com::raise(com::err::InvalidCall);
            set_bar(b, &CommandBarState::position, v);
          });
  return table;
}

}  // namespace bridge::libreoffice
