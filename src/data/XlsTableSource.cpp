#include "data/XlsTableSource.h"

#include "data/TextUtil.h"

#include <freexl.h>
#include <iconv.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>

namespace zelvar {

namespace {

// What the child sends, frame by frame: a cell ('N' number, 'T' text) with
// its 0-based row and column, then 'D' (done) or 'E' (a reason).
enum Frame : char { NumberCell = 'N', TextCell = 'T', Done = 'D', Failure = 'E' };

struct WorkbookCloser {
    void operator()(const void *handle) const { freexl_close(handle); }
};
using WorkbookHandle = std::unique_ptr<const void, WorkbookCloser>;

std::string openFailure(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return "the file does not exist or cannot be opened";
    case FREEXL_INSUFFICIENT_MEMORY:
        return "there is not enough memory to read the workbook";
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER:
        return "the workbook's texts are in a character set that cannot be read";
    case FREEXL_OK:
        return "the workbook is damaged or is not an Excel 97-2003 workbook";
    default:
        return "the workbook is damaged or is not an Excel 97-2003 workbook (FreeXL error "
            + std::to_string(code) + ")";
    }
}

// Buffered writes to the pipe; a parent that went away ends the child.
class FrameWriter {
public:
    explicit FrameWriter(int fd) : m_fd(fd) {}
    ~FrameWriter() { flush(); }
    FrameWriter(const FrameWriter &) = delete;
    FrameWriter &operator=(const FrameWriter &) = delete;

    void bytes(const void *data, std::size_t size)
    {
        const char *p = static_cast<const char *>(data);
        if (m_buffer.size() + size > Capacity)
            flush();
        if (size > Capacity) {
            writeAll(p, size);
            return;
        }
        m_buffer.append(p, size);
    }
    template <typename T> void value(T v) { bytes(&v, sizeof v); }
    void text(std::string_view t)
    {
        value(static_cast<std::uint32_t>(t.size()));
        bytes(t.data(), t.size());
    }
    void flush()
    {
        writeAll(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }

private:
    static constexpr std::size_t Capacity = 1 << 16;
    void writeAll(const char *p, std::size_t size)
    {
        while (size > 0) {
            const ssize_t n = ::write(m_fd, p, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                _exit(3);
            p += n;
            size -= static_cast<std::size_t>(n);
        }
    }
    int m_fd;
    std::string m_buffer;
};

// The child's work: open the workbook, find the sheet, send its cells.
void sendSheet(const std::string &path, const std::string &sheet, FrameWriter &out)
{
    const auto fail = [&](const std::string &reason) {
        out.value(Failure);
        out.text(reason);
    };
    const void *raw = nullptr;
    const int rc = freexl_open(path.c_str(), &raw);
    WorkbookHandle workbook(raw);
    if (rc != FREEXL_OK || raw == nullptr)
        return fail(openFailure(rc));

    unsigned int info = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK
        && info == FREEXL_BIFF_OBFUSCATED)
        return fail("the workbook is protected by a password");
    unsigned int sheets = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
        return fail(openFailure(FREEXL_BIFF_WORKBOOK_NOT_FOUND));
    int found = -1;
    for (unsigned int k = 0; k < sheets && k <= 0xFFFF && found < 0; ++k) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(raw, static_cast<unsigned short>(k), &name) == FREEXL_OK
            && name != nullptr && equalsIgnoringCase(name, sheet))
            found = static_cast<int>(k);
    }
    if (found < 0)
        return fail("the workbook has no sheet named " + sheet);

    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(raw, static_cast<unsigned short>(found)) != FREEXL_OK
        || freexl_worksheet_dimensions(raw, &rows, &columns) != FREEXL_OK)
        return fail(openFailure(FREEXL_BIFF_ILLEGAL_SHEET_INDEX));
    for (unsigned int row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(raw, row, column, &cell) != FREEXL_OK)
                return fail(openFailure(FREEXL_ILLEGAL_CELL_ROW_COL));
            switch (cell.type) {
            case FREEXL_CELL_INT:
            case FREEXL_CELL_DOUBLE:
                out.value(NumberCell);
                out.value(static_cast<std::uint32_t>(row));
                out.value(static_cast<std::uint32_t>(column));
                out.value(cell.type == FREEXL_CELL_INT ? static_cast<double>(cell.value.int_value)
                                                       : cell.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                if (cell.value.text_value == nullptr)
                    break;
                out.value(TextCell);
                out.value(static_cast<std::uint32_t>(row));
                out.value(static_cast<std::uint32_t>(column));
                out.text(cell.value.text_value);
                break;
            default:
                break;
            }
        }
    }
    out.value(Done);
}

[[noreturn]] void runChild(int fd, const std::string &path, const std::string &sheet)
{
    // FreeXL writes nothing worth showing; a damaged file must not print.
    const int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) {
        ::dup2(devNull, STDERR_FILENO);
        ::close(devNull);
    }
#if !defined(__SANITIZE_ADDRESS__)
    // A workbook that makes FreeXL ask for gigabytes ends in a failed
    // allocation, not in a machine that swaps. (The address sanitizer
    // reserves its own address space, so not under it.)
    long pages = 0;
    if (std::FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlim_t limit =
        static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (rlim_t{1} << 31);
    const rlimit addressSpace{limit, limit};
    ::setrlimit(RLIMIT_AS, &addressSpace);
#endif
    {
        FrameWriter out(fd);
        sendSheet(path, sheet, out);
    }
    ::close(fd);
    _exit(0);
}

// Reads exactly `size` bytes from the child, waiting at most the timeout
// for each piece.
class FrameReader {
public:
    explicit FrameReader(int fd) : m_fd(fd) {}

    bool bytes(void *data, std::size_t size)
    {
        char *p = static_cast<char *>(data);
        while (size > 0) {
            if (m_pos == m_end && !refill())
                return false;
            const std::size_t n = std::min(size, m_end - m_pos);
            std::memcpy(p, m_buffer + m_pos, n);
            m_pos += n;
            p += n;
            size -= n;
        }
        return true;
    }
    template <typename T> bool value(T &v) { return bytes(&v, sizeof v); }
    bool timedOut() const { return m_timedOut; }

private:
    bool refill()
    {
        pollfd waitFor{m_fd, POLLIN, 0};
        int ready = 0;
        do {
            ready = ::poll(&waitFor, 1, XlsTableSource::ChildTimeoutSeconds * 1000);
        } while (ready < 0 && errno == EINTR);
        if (ready == 0)
            m_timedOut = true;
        if (ready <= 0)
            return false;
        ssize_t n = 0;
        do {
            n = ::read(m_fd, m_buffer, sizeof m_buffer);
        } while (n < 0 && errno == EINTR);
        if (n <= 0)
            return false;
        m_pos = 0;
        m_end = static_cast<std::size_t>(n);
        return true;
    }

    int m_fd;
    char m_buffer[1 << 16];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_timedOut = false;
};

// Ends and reaps the child however reading ends.
class ChildProcess {
public:
    explicit ChildProcess(pid_t pid) : m_pid(pid) {}
    ~ChildProcess()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            wait();
        }
    }
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    // True when the child ended by itself with status 0.
    bool wait()
    {
        int status = 0;
        pid_t done = 0;
        do {
            done = ::waitpid(m_pid, &status, 0);
        } while (done < 0 && errno == EINTR);
        m_pid = 0;
        return done > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    pid_t m_pid;
};

struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// FreeXL converts texts with iconv; loading the converters here, before the
// child is forked, spares the child from loading code while another thread
// of this process might hold the loader's lock.
void loadConverters()
{
    static const bool loaded = [] {
        for (const char *from : {"UTF-16LE", "CP1252"}) {
            const iconv_t converter = iconv_open("UTF-8", from);
            if (converter != reinterpret_cast<iconv_t>(-1))
                iconv_close(converter);
        }
        return true;
    }();
    (void)loaded;
}

} // namespace

bool XlsTableSource::readFrames(int fd, std::string &reason)
{
    FrameReader in(fd);
    const std::string damaged = "the workbook is damaged (reading it failed)";
    std::string text;
    while (true) {
        char frame = 0;
        if (!in.value(frame)) {
            reason = in.timedOut() ? "reading the workbook takes too long" : damaged;
            return false;
        }
        if (frame == Done)
            return true;
        std::uint32_t row = 0;
        std::uint32_t column = 0;
        std::uint32_t length = 0;
        if (frame == Failure) {
            if (!in.value(length) || length > 4096)
                break;
            reason.resize(length);
            if (!in.bytes(reason.data(), length))
                break;
            return false;
        }
        if ((frame != NumberCell && frame != TextCell) || !in.value(row) || !in.value(column)
            || row >= MaxRows || column >= MaxColumns)
            break;
        bool stored = false;
        if (frame == NumberCell) {
            double number = 0.0;
            if (!in.value(number))
                break;
            stored = addNumber(row, column, number);
        } else {
            if (!in.value(length) || length > MaxTextBytes)
                break;
            text.resize(length);
            if (!in.bytes(text.data(), length))
                break;
            TextRef ref;
            stored = storeText(text, ref) && addText(row, column, ref);
        }
        if (!stored) {
            reason = "the sheet holds more values than this program reads";
            return false;
        }
    }
    reason = in.timedOut() ? "reading the workbook takes too long" : damaged;
    return false;
}

OpenedTable XlsTableSource::open(const std::string &path, const std::string &sheet)
{
    OpenedTable opened;
    const auto fail = [&](const std::string &reason) {
        opened.error = "Cannot read " + path + ": " + reason + ".";
        return std::move(opened);
    };

    loadConverters();
    int ends[2];
    if (::pipe(ends) != 0)
        return fail("the system refused to start its reader");
    Fd readEnd{ends[0]};
    Fd writeEnd{ends[1]};
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return fail("the system refused to start its reader");
    if (pid == 0) {
        ::close(ends[0]);
        runChild(ends[1], path, sheet);
    }
    ChildProcess child(pid);
    ::close(writeEnd.fd);
    writeEnd.fd = -1;

    auto table = std::make_unique<XlsTableSource>();
    std::string reason;
    const bool read = table->readFrames(readEnd.fd, reason);
    if (!read)
        return fail(reason);
    if (!child.wait())
        return fail("the workbook is damaged (reading it failed)");
    if (!table->finishWithHeaderRow(reason))
        return fail(reason);
    opened.table = std::move(table);
    return opened;
}

} // namespace zelvar
