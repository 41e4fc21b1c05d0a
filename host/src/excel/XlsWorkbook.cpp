// .xls files: the BIFF8 stream in a compound file (libgsf), saved through a temporary file and a rename.
#include "excel/XlsWorkbook.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include "excel/Biff8.h"

namespace arxhost::excel {

namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GPtr = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};

std::string messageOf(GError* raw)
{
    const std::unique_ptr<GError, GErrorFree> e(raw);
    return e ? std::string(e->message) : std::string("unknown error");
}

void initGsf()
{
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

// Streams under 4096 bytes would go to the compound file's mini stream, where some readers do not look
// for the workbook; zeros after the last EOF keep it in regular sectors and are never read as records.
constexpr std::size_t kMinStream = 4096;

std::optional<std::vector<std::uint8_t>> compoundFile(std::vector<std::uint8_t> stream, std::string& error)
{
    if (stream.size() < kMinStream)
        stream.resize(kMinStream, 0);
    initGsf();
    const GPtr<GsfOutput> memory(gsf_output_memory_new());
    const GPtr<GsfOutfile> ole(gsf_outfile_msole_new(memory.get()));
    bool written = false;
    {
        const GPtr<GsfOutput> workbook(gsf_outfile_new_child(ole.get(), "Workbook", FALSE));
        written = workbook && gsf_output_write(workbook.get(), stream.size(), stream.data());
        if (workbook)
            written = gsf_output_close(workbook.get()) && written;
    }
    written = gsf_output_close(GSF_OUTPUT(ole.get())) && written;
    if (!written) {
        error = "the compound file could not be assembled";
        return std::nullopt;
    }
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory.get()));
    const auto size = static_cast<std::size_t>(gsf_output_size(memory.get()));
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file appears whole or not at all: written and synced under a temporary name beside it, renamed.
bool replaceFile(
    const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes, std::string& error)
{
    namespace fs = std::filesystem;
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        error = "cannot save " + file.string() + ": the folder " + folder.string() + " does not exist";
        return false;
    }
    static std::atomic<unsigned> counter {0};
    const fs::path temporary = folder
        / ("." + file.filename().string() + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++)
            + ".tmp");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "cannot save " + file.string() + ": cannot create a file in " + folder.string() + ": "
            + std::strerror(errno);
        return false;
    }
    bool ok = writeAll(fd, bytes);
    int saved = errno;
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        saved = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok) {
        fs::rename(temporary, file, ec);
        if (ec) {
            fs::remove(temporary, ec);
            error = "cannot save " + file.string() + ": " + ec.message();
            return false;
        }
        return true;
    }
    fs::remove(temporary, ec);
    error = "cannot save " + file.string() + ": " + std::strerror(saved);
    return false;
}

} // namespace

bool writeXls(const Workbook& book, const std::filesystem::path& file, std::string& error)
{
    std::optional<std::vector<std::uint8_t>> stream = biff8::buildStream(book, error);
    if (!stream) {
        error = "cannot save " + file.string() + ": " + error;
        return false;
    }
    const std::optional<std::vector<std::uint8_t>> bytes = compoundFile(std::move(*stream), error);
    if (!bytes) {
        error = "cannot save " + file.string() + ": " + error;
        return false;
    }
    return replaceFile(file, *bytes, error);
}

std::optional<Workbook> readXls(const std::filesystem::path& file, std::string& error)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        error = "cannot read " + file.string() + ": no such file";
        return std::nullopt;
    }
    initGsf();
    GError* raw = nullptr;
    const GPtr<GsfInput> input(gsf_input_stdio_new(file.c_str(), &raw));
    if (!input) {
        error = "cannot read " + file.string() + ": " + messageOf(raw);
        return std::nullopt;
    }
    raw = nullptr;
    const GPtr<GsfInfile> ole(gsf_infile_msole_new(input.get(), &raw));
    if (!ole) {
        error = "cannot read " + file.string() + ": not an Excel 97-2003 workbook (" + messageOf(raw) + ")";
        return std::nullopt;
    }
    const GPtr<GsfInput> workbook(gsf_infile_child_by_name(ole.get(), "Workbook"));
    if (!workbook) {
        const GPtr<GsfInput> older(gsf_infile_child_by_name(ole.get(), "Book"));
        error = "cannot read " + file.string()
            + (older ? ": an Excel 5/95 workbook; only Excel 97-2003 (BIFF8) is read"
                     : ": no workbook stream");
        return std::nullopt;
    }
    std::vector<std::uint8_t> stream(static_cast<std::size_t>(gsf_input_size(workbook.get())));
    if (!stream.empty() && !gsf_input_read(workbook.get(), stream.size(), stream.data())) {
        error = "cannot read " + file.string() + ": the workbook stream is truncated";
        return std::nullopt;
    }
    std::optional<Workbook> book = biff8::parseStream(stream, error);
    if (!book)
        error = "cannot read " + file.string() + ": " + error;
    return book;
}

} // namespace arxhost::excel
