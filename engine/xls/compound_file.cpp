// The container is libgsf's (the library Gnumeric reads and writes .xls
// with); this file keeps its GLib types out of the rest of engine/xls.
#include "engine/xls/compound_file.hpp"

#include <gsf/gsf.h>

#include <algorithm>
#include <mutex>

#include "engine/xls/file_error.hpp"

namespace engine::xls {

namespace {

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};
template <class T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};

// Excel's class id for a workbook's root storage: {00020820-0000-0000-C000-000000000046}.
constexpr guint8 kExcelWorkbookClassId[16] = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                              0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

bool same_name(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return g_ascii_tolower(x) == g_ascii_tolower(y);
  });
}

// libgsf registers its GObject types the first time each is used, with no
// lock: two threads opening their first workbooks at once (a judging run's
// workers) could both register GsfInputMemory and one crashed. gsf_init
// registers them all, once, before any thread uses the library.
void make_libgsf_ready() {
  static std::once_flag once;
  std::call_once(once, [] { gsf_init(); });
}

}  // namespace

struct CompoundFileReader::Impl {
  GObjectPtr<GsfInput> input;
  GObjectPtr<GsfInfile> root;
};

CompoundFileReader::CompoundFileReader(std::span<const std::uint8_t> bytes)
    : impl_(std::make_unique<Impl>()), file_size_(bytes.size()) {
  make_libgsf_ready();
  impl_->input.reset(gsf_input_memory_new(bytes.data(), static_cast<gsf_off_t>(bytes.size()), FALSE));
  if (!impl_->input) fail("the file cannot be opened");
  GError* raw_error = nullptr;
  impl_->root.reset(gsf_infile_msole_new(impl_->input.get(), &raw_error));
  std::unique_ptr<GError, GErrorFree> error(raw_error);
  if (!impl_->root) {
    std::string why = error ? error->message : "unknown reason";
    fail("not an OLE2 compound file (" + why + ")");
  }
}

CompoundFileReader::~CompoundFileReader() = default;

std::vector<std::string> CompoundFileReader::stream_names() const {
  std::vector<std::string> names;
  const int count = gsf_infile_num_children(impl_->root.get());
  for (int i = 0; i < count; ++i) {
    if (const char* name = gsf_infile_name_by_index(impl_->root.get(), i)) names.emplace_back(name);
  }
  return names;
}

std::optional<Bytes> CompoundFileReader::read_stream(std::string_view name) const {
  const int count = gsf_infile_num_children(impl_->root.get());
  for (int i = 0; i < count; ++i) {
    const char* child_name = gsf_infile_name_by_index(impl_->root.get(), i);
    if (!child_name || !same_name(child_name, name)) continue;
    GObjectPtr<GsfInput> child(gsf_infile_child_by_index(impl_->root.get(), i));
    if (!child) fail("the stream '" + std::string(name) + "' cannot be opened");
    const gsf_off_t size = gsf_input_size(child.get());
    // A stream cannot hold more than the file it lives in; a directory entry
    // that says otherwise must not make us allocate it.
    if (size < 0 || static_cast<std::uint64_t>(size) > file_size_)
      fail("the stream '" + std::string(name) + "' claims more bytes than the file holds");
    Bytes data(static_cast<std::size_t>(size));
    if (size > 0 && !gsf_input_read(child.get(), data.size(), data.data()))
      fail("the stream '" + std::string(name) + "' is cut short or its sector chain is broken");
    return data;
  }
  return std::nullopt;
}

Bytes write_compound_file(std::span<const Stream> streams) {
  make_libgsf_ready();
  GObjectPtr<GsfOutput> memory(gsf_output_memory_new());
  {
    GObjectPtr<GsfOutfile> root(gsf_outfile_msole_new(memory.get()));
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(root.get()), kExcelWorkbookClassId);
    for (const Stream& stream : streams) {
      GObjectPtr<GsfOutput> child(gsf_outfile_new_child(root.get(), stream.name.c_str(), FALSE));
      if (!child || !gsf_output_write(child.get(), stream.data.size(), stream.data.data()) ||
          !gsf_output_close(child.get()))
        fail("the stream '" + stream.name + "' cannot be written");
    }
    if (!gsf_output_close(GSF_OUTPUT(root.get()))) fail("the compound file cannot be completed");
  }
  const auto* begin = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory.get()));
  return Bytes(begin, begin + gsf_output_size(memory.get()));
}

}  // namespace engine::xls
