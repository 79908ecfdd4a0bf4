// The summary property sets: what libgsf (Gnumeric's reader) finds in the
// streams we write, their layout, and what our reader keeps of them.
#include "engine/xls/property_sets.hpp"

#include <gsf/gsf.h>
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "engine/xls/record_reader.hpp"
#include "engine/xls/workbook_file.hpp"

namespace engine::xls {
namespace {

namespace m = engine::model;

struct Unref {
  void operator()(void* object) const { g_object_unref(object); }
};

// The properties libgsf reads from one of our streams, as text (numbers
// printed, vectors as their items), by libgsf's names.
class GsfSummary {
 public:
  explicit GsfSummary(const Bytes& stream) : meta_(gsf_doc_meta_data_new()) {
    std::unique_ptr<GsfInput, Unref> input(
        gsf_input_memory_new(stream.data(), static_cast<gsf_off_t>(stream.size()), FALSE));
    GError* error = gsf_doc_meta_data_read_from_msole(meta_.get(), input.get());
    EXPECT_EQ(error, nullptr) << (error ? error->message : "");
    if (error) g_error_free(error);
  }
  std::string operator[](const char* name) const {
    GsfDocProp* property = gsf_doc_meta_data_lookup(meta_.get(), name);
    if (property == nullptr) return "(absent)";
    const GValue* value = gsf_doc_prop_get_val(property);
    if (!G_VALUE_HOLDS(value, GSF_DOCPROP_VECTOR_TYPE)) return text(value);
    // A vector as its items, each followed by ";". The array accessor that
    // replaces this one is not exported by the libgsf Debian ships, and the
    // vector's own as_string leaks.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    const GValueArray* items = gsf_value_get_docprop_varray(value);
    std::string joined;
    for (guint i = 0; i < items->n_values; ++i) joined += text(g_value_array_get_nth(const_cast<GValueArray*>(items), i)) + ";";
    G_GNUC_END_IGNORE_DEPRECATIONS
    return joined;
  }

 private:
  static std::string text(const GValue* value) {
    if (G_VALUE_HOLDS_STRING(value)) return g_value_get_string(value);
    std::unique_ptr<gchar, decltype(&g_free)> contents(g_strdup_value_contents(value), g_free);
    return contents.get();
  }

  std::unique_ptr<GsfDocMetaData, Unref> meta_;
};

Bytes stream_of(const Bytes& file, const char* name) { return *CompoundFileReader(file).read_stream(name); }

// Every value of the set starts on a four-byte boundary, as Excel requires.
void expect_aligned(const Bytes& stream) {
  ASSERT_GE(stream.size(), 56u);
  const auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(stream[at] | stream[at + 1] << 8 | stream[at + 2] << 16 | stream[at + 3] << 24);
  };
  const std::uint32_t set = u32(44);
  const std::uint32_t size = u32(set);
  EXPECT_EQ(set + size, stream.size());
  EXPECT_EQ(size % 4, 0u);
  for (std::uint32_t i = 0; i < u32(set + 4); ++i) EXPECT_EQ(u32(set + 8 + 8 * i + 4) % 4, 0u);
}

m::Workbook& summarised(m::Workbook& book, m::DocumentProperties properties) {
  book.add_sheet("Trimestre 1");
  book.add_sheet("Détail");
  book.properties() = std::move(properties);
  return book;
}

TEST(PropertySets, GnumericsReaderFindsWhatExcelWrites) {
  m::Workbook book("Thor.xls");
  const Bytes file = save_workbook(summarised(book, {"Ventes du trimestre", "Thor", "Zoé"}));

  const Bytes summary = stream_of(file, kSummaryStream);
  expect_aligned(summary);
  const GsfSummary first(summary);
  EXPECT_EQ(first[GSF_META_NAME_CODEPAGE], "1252");
  EXPECT_EQ(first[GSF_META_NAME_TITLE], "Ventes du trimestre");
  EXPECT_EQ(first[GSF_META_NAME_SUBJECT], "Thor");
  EXPECT_EQ(first[GSF_META_NAME_CREATOR], "Zoé");
  EXPECT_EQ(first[GSF_META_NAME_GENERATOR], "Microsoft Excel");

  const Bytes document = stream_of(file, kDocumentSummaryStream);
  expect_aligned(document);
  const GsfSummary second(document);
  EXPECT_EQ(second[GSF_META_NAME_CODEPAGE], "1252");
  EXPECT_EQ(second[GSF_META_NAME_SCALE], "FALSE");
  // libgsf keeps the headings of the pairs, not their counts.
  EXPECT_EQ(second[GSF_META_NAME_HEADING_PAIRS].rfind("Worksheets;", 0), 0u);
  EXPECT_EQ(second[GSF_META_NAME_DOCUMENT_PARTS], "Trimestre 1;Détail;");
}

TEST(PropertySets, TextOutsideWindows1252IsWrittenInUtf16AndComesBack) {
  m::Workbook book("Σ.xls");
  const m::DocumentProperties wide{"Somme ∑", "日本語", "Zoé"};
  const Bytes file = save_workbook(summarised(book, wide));
  const Bytes summary = stream_of(file, kSummaryStream);
  expect_aligned(summary);
  const GsfSummary gsf(summary);
  EXPECT_EQ(gsf[GSF_META_NAME_CODEPAGE], "1200");
  EXPECT_EQ(gsf[GSF_META_NAME_TITLE], "Somme ∑");
  EXPECT_EQ(gsf[GSF_META_NAME_GENERATOR], "Microsoft Excel");
  EXPECT_EQ(load_workbook(file, "Σ.xls")->properties(), wide);
}

TEST(PropertySets, MissingOrDamagedSetsLeaveTheSummaryEmptyAndTheWorkbookOpen) {
  m::Workbook book("Thor.xls");
  const Bytes file = save_workbook(summarised(book, {"Titre", "", "Zoé"}));
  const Bytes workbook = stream_of(file, "Workbook");
  EXPECT_EQ(load_workbook(file, "Thor.xls")->properties(), (m::DocumentProperties{"Titre", "", "Zoé"}));

  const Stream bare[] = {{"Workbook", workbook}};
  EXPECT_EQ(load_workbook(write_compound_file(bare), "Thor.xls")->properties(), m::DocumentProperties{});

  Bytes summary = stream_of(file, kSummaryStream);
  for (std::size_t cut : {std::size_t{0}, std::size_t{30}, std::size_t{60}, summary.size() - 3}) {
    Bytes damaged(summary.begin(), summary.begin() + static_cast<std::ptrdiff_t>(cut));
    const Stream streams[] = {{"Workbook", workbook}, {kSummaryStream, damaged}};
    const auto loaded = load_workbook(write_compound_file(streams), "Thor.xls");
    EXPECT_EQ(loaded->sheet_count(), 2u);
  }
  for (auto& byte : summary) byte = static_cast<std::uint8_t>(byte * 31 + 7);
  const Stream garbage[] = {{"Workbook", workbook}, {kSummaryStream, summary}};
  EXPECT_EQ(load_workbook(write_compound_file(garbage), "Thor.xls")->sheet_count(), 2u);
}

// A summary stream as another producer might lay it out: the header, one
// set, the properties in the order given with their raw values.
struct RawProperty {
  std::uint32_t id;
  Bytes value;  // type, padding and contents
};

void put_u32(Bytes& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// Byte by byte: GCC 12 mistakes vector inserts of small vectors for overreads.
void append(Bytes& out, const Bytes& more) {
  for (std::uint8_t byte : more) out.push_back(byte);
}

Bytes raw_value(std::uint16_t type, const Bytes& contents) {
  Bytes out;
  put_u32(out, type);
  append(out, contents);
  while (out.size() % 4 != 0) out.push_back(0);
  return out;
}

Bytes counted(std::uint32_t count, const Bytes& contents) {
  Bytes out;
  put_u32(out, count);
  append(out, contents);
  return out;
}

Bytes raw_summary(const std::vector<RawProperty>& properties) {
  static constexpr std::uint8_t kFormat[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                               0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
  Bytes out(28, 0);  // byte order, version, system and class id, then one set
  out[0] = 0xFE;
  out[1] = 0xFF;
  out[24] = 1;
  for (std::uint8_t byte : kFormat) out.push_back(byte);
  put_u32(out, 48);
  Bytes table, values;
  std::uint32_t offset = static_cast<std::uint32_t>(8 + 8 * properties.size());
  for (const auto& p : properties) {
    put_u32(table, p.id);
    put_u32(table, offset);
    append(values, p.value);
    offset += static_cast<std::uint32_t>(p.value.size());
  }
  put_u32(out, offset);
  put_u32(out, static_cast<std::uint32_t>(properties.size()));
  append(out, table);
  append(out, values);
  return out;
}

Bytes text_bytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes utf16_bytes(std::u16string_view text) {
  Bytes out;
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

m::DocumentProperties summary_of(const Bytes& summary) {
  m::Workbook book("Thor.xls");
  book.add_sheet("Trimestre 1");
  const Bytes workbook = stream_of(save_workbook(book), "Workbook");
  const Stream streams[] = {{"Workbook", workbook}, {kSummaryStream, summary}};
  return load_workbook(write_compound_file(streams), "Thor.xls")->properties();
}

Bytes code_page(std::uint16_t cp) {
  return raw_value(0x0002, {static_cast<std::uint8_t>(cp), static_cast<std::uint8_t>(cp >> 8)});
}

TEST(PropertySets, SummariesOfOtherProducersAreReadWhateverTheirOrderAndCoding) {
  // Code page after the texts, a text in 1252 with its null, a wide text.
  const Bytes mixed = raw_summary({{0x02, raw_value(0x1E, counted(4, text_bytes(std::string("Zo\xE9\0", 4))))},
                                   {0x04, raw_value(0x1F, counted(4, utf16_bytes(u"Zoé\0")))},
                                   {0x01, code_page(1252)}});
  EXPECT_EQ(summary_of(mixed), (m::DocumentProperties{"Zoé", "", "Zoé"}));

  // No code page: read as Excel writes, 1252.
  const Bytes bare = raw_summary({{0x03, raw_value(0x1E, counted(4, text_bytes(std::string("\x80uro", 4))))}});
  EXPECT_EQ(summary_of(bare).subject, "€uro");

  // UTF-8 and UTF-16 sets; a damaged UTF-8 byte shows as U+FFFD.
  const Bytes utf8 = raw_summary({{0x01, code_page(65001)},
                                  {0x02, raw_value(0x1E, counted(4, text_bytes("∑\xFF")))}});
  EXPECT_EQ(summary_of(utf8).title, "∑\xEF\xBF\xBD");
  const Bytes utf16 = raw_summary({{0x01, code_page(1200)},
                                   {0x04, raw_value(0x1E, counted(8, utf16_bytes(u"日本語\0")))}});
  EXPECT_EQ(summary_of(utf16).author, "日本語");

  // A code page iconv does not know drops the text, not the workbook.
  const Bytes unknown = raw_summary({{0x01, code_page(1)}, {0x02, raw_value(0x1E, counted(2, text_bytes("A\0")))}});
  EXPECT_EQ(summary_of(unknown), m::DocumentProperties{});
}

TEST(PropertySets, LengthsAndOffsetsThatPointPastTheStreamGiveAnEmptySummary) {
  const Bytes good = raw_summary({{0x02, raw_value(0x1E, counted(6, text_bytes(std::string("Titre\0", 6))))}});
  ASSERT_EQ(summary_of(good).title, "Titre");
  // Every cut: never a read past the end (the sanitizer build checks), never a title.
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    const Bytes shorter(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_TRUE(summary_of(shorter).title.empty()) << "cut at " << cut;
  }
  // A text's count, the set's size, the property count and the set offset, each a lie.
  for (std::size_t at : {std::size_t{68}, std::size_t{48}, std::size_t{52}, std::size_t{44}}) {
    for (std::uint8_t lie : {std::uint8_t{0xFF}, std::uint8_t{0x7F}}) {
      Bytes lying = good;
      for (std::size_t i = 0; i < 4; ++i) lying[at + i] = lie;
      EXPECT_TRUE(summary_of(lying).title.empty()) << "lie at " << at;
    }
  }
}

}  // namespace
}  // namespace engine::xls
