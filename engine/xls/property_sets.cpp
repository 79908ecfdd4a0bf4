// Property sets are written by hand, laid out as Excel lays them out (every
// value padded to four bytes); libgsf's own writer leaves texts unpadded and
// picks UTF-8, which Excel 2003 does not expect. Only the summary set is
// read: what the model keeps (title, subject, author) is there.
#include "engine/xls/property_sets.hpp"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/xls/file_error.hpp"
#include "engine/xls/record_writer.hpp"
#include "engine/xls/utf16.hpp"

namespace engine::xls {

namespace {

// Property identifiers and value types of the two sets.
namespace pid {
constexpr std::uint32_t CodePage = 0x01, Title = 0x02, Subject = 0x03, Author = 0x04, AppName = 0x12,
                        Security = 0x13;
constexpr std::uint32_t Scale = 0x0B, HeadingPair = 0x0C, DocParts = 0x0D, LinksDirty = 0x10, AppVersion = 0x17;
}  // namespace pid
namespace vt {
constexpr std::uint16_t I2 = 0x0002, I4 = 0x0003, Bool = 0x000B, Variant = 0x000C, LpStr = 0x001E,
                        Vector = 0x1000;
}  // namespace vt

constexpr std::uint8_t kSummaryFormat[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                             0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
constexpr std::uint8_t kDocumentSummaryFormat[16] = {0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                                     0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};
constexpr std::uint16_t kWindows1252 = 1252;
constexpr std::uint16_t kUtf16 = 1200;
constexpr std::uint32_t kExcel2003Version = 0x000B0000;  // 11.0
constexpr char kApplication[] = "Microsoft Excel";
constexpr char kWorksheetsHeading[] = "Worksheets";

struct IconvClose {
  void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};

// The text in code page 1252, or nothing when it holds a character 1252 lacks.
// `text` converted between two encodings iconv knows, in an output buffer
// `growth` times the input's size; nothing when either encoding is unknown
// or the text holds a character the target lacks.
std::optional<std::string> convert(std::string_view text, const char* to_code, const char* from_code,
                                   std::size_t growth) {
  std::unique_ptr<void, IconvClose> handle(iconv_open(to_code, from_code));
  if (handle.get() == reinterpret_cast<void*>(-1)) {
    handle.release();
    return std::nullopt;
  }
  std::string in(text);
  std::string out(growth * in.size(), '\0');
  char* from = in.data();
  char* to = out.data();
  std::size_t left = in.size(), room = out.size();
  if (iconv(static_cast<iconv_t>(handle.get()), &from, &left, &to, &room) == static_cast<std::size_t>(-1))
    return std::nullopt;
  out.resize(out.size() - room);
  return out;
}

// 1252 never takes more bytes than UTF-8.
std::optional<std::string> to_windows_1252(std::string_view utf8) { return convert(utf8, "CP1252", "UTF-8", 1); }

// Texts in the set's code page, each with its terminating null.
class TextCoding {
 public:
  explicit TextCoding(const std::vector<std::string>& texts) {
    for (const auto& text : texts)
      if (!to_windows_1252(text)) codepage_ = kUtf16;
  }
  std::uint16_t codepage() const { return codepage_; }

  Bytes encode(std::string_view utf8) const {
    Bytes bytes;
    if (codepage_ == kWindows1252) {
      const std::string text = to_windows_1252(utf8).value_or(std::string());
      bytes.assign(text.begin(), text.end());
      bytes.push_back(0);
      return bytes;
    }
    for (char16_t c : utf8_to_utf16(utf8)) {
      bytes.push_back(static_cast<std::uint8_t>(c));
      bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
  }

 private:
  std::uint16_t codepage_ = kWindows1252;
};

RecordBody& pad_to_four(RecordBody& body) { return body.zeros((4 - body.size() % 4) % 4); }

// A CodePageString: its size in bytes, the bytes, padding.
void code_page_string(RecordBody& body, const Bytes& encoded) {
  body.u32(static_cast<std::uint32_t>(encoded.size())).bytes(encoded);
  pad_to_four(body);
}

RecordBody typed(std::uint16_t type) {
  RecordBody body;
  body.u16(type).u16(0);
  return body;
}

RecordBody text_value(const TextCoding& coding, std::string_view text) {
  RecordBody body = typed(vt::LpStr);
  code_page_string(body, coding.encode(text));
  return body;
}

RecordBody i2_value(std::uint16_t value) { return typed(vt::I2).u16(value).u16(0); }
RecordBody i4_value(std::uint32_t value) { return typed(vt::I4).u32(value); }
RecordBody bool_value(bool value) { return typed(vt::Bool).u16(value ? 0xFFFF : 0).u16(0); }

// One property set in its stream: the header naming its format, then the
// identifiers with the offsets of their values, then the values.
class PropertySetWriter {
 public:
  explicit PropertySetWriter(std::uint16_t codepage) { add(pid::CodePage, i2_value(codepage)); }
  void add(std::uint32_t id, RecordBody value) { properties_.emplace_back(id, std::move(value)); }

  Stream stream(const char* name, const std::uint8_t (&format)[16]) const {
    constexpr std::uint32_t kSetOffset = 48;
    RecordBody out;
    out.u16(0xFFFE).u16(0).u32(0x00020005).zeros(16).u32(1);
    out.bytes(Bytes(std::begin(format), std::end(format))).u32(kSetOffset);
    const auto header_size = static_cast<std::uint32_t>(8 + 8 * properties_.size());
    std::uint32_t offset = header_size;
    RecordBody table;
    for (const auto& [id, value] : properties_) {
      table.u32(id).u32(offset);
      offset += static_cast<std::uint32_t>(value.size());
    }
    out.u32(offset).u32(static_cast<std::uint32_t>(properties_.size())).bytes(table.data());
    for (const auto& property : properties_) out.bytes(property.second.data());
    return {name, out.take()};
  }

 private:
  std::vector<std::pair<std::uint32_t, RecordBody>> properties_;
};

// The document's parts as Excel lists them: one heading ("Worksheets") with
// its count, then every sheet's name.
void add_parts(PropertySetWriter& set, const TextCoding& coding, const std::vector<std::string>& sheets) {
  RecordBody pairs = typed(vt::Vector | vt::Variant);
  pairs.u32(2).bytes(text_value(coding, kWorksheetsHeading).data())
      .bytes(i4_value(static_cast<std::uint32_t>(sheets.size())).data());
  set.add(pid::HeadingPair, std::move(pairs));
  RecordBody parts = typed(vt::Vector | vt::LpStr);
  parts.u32(static_cast<std::uint32_t>(sheets.size()));
  for (const auto& sheet : sheets) {
    // Office lists the parts of an 8-bit set unaligned, one name straight
    // after another; readers (libgsf among them) step over no padding there.
    const Bytes encoded = coding.encode(sheet);
    parts.u32(static_cast<std::uint32_t>(encoded.size())).bytes(encoded);
    if (coding.codepage() == kUtf16) pad_to_four(parts);
  }
  set.add(pid::DocParts, std::move(pad_to_four(parts)));
}

// --- Reading ---------------------------------------------------------------
//
// The summary set is read by hand, every offset and length checked against
// the bytes left before it is used; libgsf's reader lost GLib allocations on
// damaged sets and printed hex dumps of them on standard output.
//
//   stream:  byte order FFFE (2), version (2), system (4), class id (16),
//            set count (4), then per set its format id (16) and offset (4)
//   set:     size (4), property count (4), then per property its id (4)
//            and offset from the set's start (4)
//   value:   type (2), padding (2), then for VT_LPSTR a byte count (4) and
//            the text in the set's code page; for VT_LPWSTR a count of UTF-16
//            units (4) and the units; for VT_I2 (the code page) two bytes

constexpr std::uint16_t kLpWStr = 0x001F;
constexpr std::uint16_t kUtf8 = 65001;
// A set without its code page is read as Excel writes it.
constexpr std::uint16_t kDefaultCodePage = kWindows1252;

// A set whose offsets or lengths point past its bytes; caught below.
struct DamagedSet {};

class SetBytes {
 public:
  explicit SetBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::span<const std::uint8_t> take(std::size_t at, std::size_t size) const {
    if (at > bytes_.size() || size > bytes_.size() - at) throw DamagedSet{};
    return bytes_.subspan(at, size);
  }
  std::uint16_t u16(std::size_t at) const {
    const auto b = take(at, 2);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
  }
  std::uint32_t u32(std::size_t at) const { return u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16; }
  // The bytes of the set that starts at `at`, as long as it says it is.
  SetBytes set_at(std::size_t at) const { return SetBytes(take(at, u32(at))); }

 private:
  std::span<const std::uint8_t> bytes_;
};

std::string utf16le_to_utf8(std::span<const std::uint8_t> bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    units.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
  return utf16_to_utf8(units.substr(0, units.find(u'\0')));
}

// The text of a code page as UTF-8; text iconv cannot convert is dropped.
std::string code_page_to_utf8(std::span<const std::uint8_t> bytes, std::uint16_t codepage) {
  if (codepage == kUtf16) return utf16le_to_utf8(bytes);
  std::string in(bytes.begin(), bytes.end());
  in.resize(std::min(in.size(), in.find('\0')));
  if (codepage == kUtf8) return utf16_to_utf8(utf8_to_utf16(in));  // damaged sequences become U+FFFD
  // No code page takes more than four UTF-8 bytes for one of its bytes.
  return convert(in, "UTF-8", ("CP" + std::to_string(codepage)).c_str(), 4).value_or(std::string());
}

std::string text_value_at(const SetBytes& set, std::size_t at, std::uint16_t codepage) {
  const std::uint16_t type = set.u16(at);
  const std::uint32_t count = set.u32(at + 4);
  if (type == vt::LpStr) return code_page_to_utf8(set.take(at + 8, count), codepage);
  if (type == kLpWStr) return utf16le_to_utf8(set.take(at + 8, std::size_t{count} * 2));
  return {};
}

// The summary set's offset in its stream, when the stream lists it.
std::optional<std::size_t> summary_offset(const SetBytes& stream) {
  if (stream.u16(0) != 0xFFFE) return std::nullopt;
  const std::uint32_t sets = stream.u32(24);
  for (std::uint32_t i = 0; i < sets; ++i) {
    const auto entry = static_cast<std::size_t>(28) + std::size_t{i} * 20;
    const auto format = stream.take(entry, 16);
    if (std::equal(format.begin(), format.end(), std::begin(kSummaryFormat))) return stream.u32(entry + 16);
  }
  return std::nullopt;
}

model::DocumentProperties read_summary(std::span<const std::uint8_t> bytes) {
  const SetBytes stream(bytes);
  const auto offset = summary_offset(stream);
  if (!offset) return {};
  const SetBytes set = stream.set_at(*offset);
  const std::uint32_t count = set.u32(4);
  std::uint16_t codepage = kDefaultCodePage;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> texts;  // id, offset
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = 8 + std::size_t{i} * 8;
    const std::uint32_t id = set.u32(entry);
    const std::uint32_t at = set.u32(entry + 4);
    if (id == pid::CodePage && set.u16(at) == vt::I2) codepage = set.u16(at + 4);
    if (id == pid::Title || id == pid::Subject || id == pid::Author) texts.emplace_back(id, at);
  }
  model::DocumentProperties properties;
  for (const auto& [id, at] : texts) {
    std::string& field = id == pid::Title ? properties.title : id == pid::Subject ? properties.subject : properties.author;
    field = text_value_at(set, at, codepage);
  }
  return properties;
}

}  // namespace

std::vector<Stream> property_set_streams(const model::Workbook& book) {
  const model::DocumentProperties& properties = book.properties();
  std::vector<std::string> sheets;
  for (std::size_t i = 0; i < book.sheet_count(); ++i) sheets.push_back(book.sheet(i).name());
  std::vector<std::string> texts = {properties.title, properties.subject, properties.author};
  texts.insert(texts.end(), sheets.begin(), sheets.end());
  const TextCoding coding(texts);

  PropertySetWriter summary(coding.codepage());
  if (!properties.title.empty()) summary.add(pid::Title, text_value(coding, properties.title));
  if (!properties.subject.empty()) summary.add(pid::Subject, text_value(coding, properties.subject));
  if (!properties.author.empty()) summary.add(pid::Author, text_value(coding, properties.author));
  summary.add(pid::AppName, text_value(coding, kApplication));
  summary.add(pid::Security, i4_value(0));

  PropertySetWriter document(coding.codepage());
  document.add(pid::Scale, bool_value(false));
  add_parts(document, coding, sheets);
  document.add(pid::LinksDirty, bool_value(false));
  document.add(pid::AppVersion, i4_value(kExcel2003Version));

  return {summary.stream(kSummaryStream, kSummaryFormat), document.stream(kDocumentSummaryStream, kDocumentSummaryFormat)};
}

model::DocumentProperties read_document_properties(const CompoundFileReader& container) {
  try {
    const std::optional<Bytes> bytes = container.read_stream(kSummaryStream);
    if (!bytes) return {};
    return read_summary(*bytes);
  } catch (const FileError&) {
    return {};  // a broken stream is a missing summary
  } catch (const DamagedSet&) {
    return {};
  }
}

}  // namespace engine::xls
