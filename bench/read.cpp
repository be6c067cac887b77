// Times reading a large data file in each format and reports the peak memory
// of the reading alone.
//
// Writes a table of 100,000 DMUs with 3 inputs and 3 outputs as a
// tab-delimited text file (with its schema.ini) and as an .xlsx workbook
// into a temporary folder, then reads each one in a fresh child process
// (this program started again with "--read <file>"), so the peak resident
// memory the child reports belongs to that one read.
//
// Targets: text under 1 s, .xlsx under 3 s, peak memory under 200 MB.
//
// With --big (or ZELVAR_BENCH_READ_BIG=1) it also reads two workbooks at the
// limits of a sheet, kept out of the default run for the time they take:
// a full sheet of 1,048,576 rows of 16 numbers (a header row, then the
// numbers, the first of each row naming its DMU), under 5 s and 600 MB; and
// 1,000 DMUs beside 1 GB of shared strings the sheet never uses, which must
// cost no more memory than the DMUs (under 100 MB).

#include "data/DataFileReader.h"

#include <zip.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int NumDMU = 100000;
constexpr int NumInputs = 3;
constexpr int NumOutputs = 3;

struct Row {
    std::string name;
    double values[NumInputs + NumOutputs];
};

std::vector<Row> makeRows()
{
    std::mt19937 random(42);
    std::uniform_real_distribution<double> value(1.0, 1000.0);
    std::vector<Row> rows(NumDMU);
    for (int d = 0; d < NumDMU; ++d) {
        rows[static_cast<std::size_t>(d)].name = "Branch " + std::to_string(d + 1);
        for (double &v : rows[static_cast<std::size_t>(d)].values)
            v = static_cast<double>(static_cast<long>(value(random) * 100.0)) / 100.0;
    }
    return rows;
}

std::vector<std::string> headers()
{
    std::vector<std::string> names{"Branch"};
    for (int i = 1; i <= NumInputs; ++i)
        names.push_back("{I}Input " + std::to_string(i));
    for (int r = 1; r <= NumOutputs; ++r)
        names.push_back("{O}Output " + std::to_string(r));
    return names;
}

std::string number(double v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", v);
    return buffer;
}

void writeText(const std::filesystem::path &folder, const std::vector<Row> &rows)
{
    std::ofstream schema(folder / "schema.ini", std::ios::binary);
    schema << "[big.txt]\r\nFormat=TabDelimited\r\nColNameHeader=True\r\n";
    std::ofstream out(folder / "big.txt", std::ios::binary);
    const auto names = headers();
    for (std::size_t k = 0; k < names.size(); ++k)
        out << (k ? "\t" : "") << names[k];
    out << "\r\n";
    for (const Row &row : rows) {
        out << row.name;
        for (double v : row.values)
            out << '\t' << number(v);
        out << "\r\n";
    }
}

std::string columnName(int column)
{
    std::string name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
    return name;
}

const char *const SheetStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
const char *const StringsStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";

// Writes a workbook with one sheet Data from its shared strings and sheet
// parts. The parts are only read while zip_close writes them.
void writeWorkbook(const std::filesystem::path &file, const std::string &strings,
                   const std::string &sheet)
{
    const std::string ns = "http://schemas.openxmlformats.org/";
    const std::vector<std::pair<std::string, std::string>> small{
        {"[Content_Types].xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"" + ns
             + "package/2006/content-types\"><Default Extension=\"rels\" ContentType=\"application/"
               "vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
               "ContentType=\"application/xml\"/></Types>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"" + ns
             + "package/2006/relationships\"><Relationship Id=\"rId1\" Type=\"" + ns
             + "officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
               "</Relationships>"},
        {"xl/workbook.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\"" + ns
             + "spreadsheetml/2006/main\" xmlns:r=\"" + ns
             + "officeDocument/2006/relationships\"><sheets><sheet name=\"Data\" sheetId=\"1\" "
               "r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"" + ns
             + "package/2006/relationships\"><Relationship Id=\"rId1\" Type=\"" + ns
             + "officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
               "<Relationship Id=\"rId2\" Type=\"" + ns
             + "officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
               "</Relationships>"},
    };

    int error = 0;
    zip_t *archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        std::fprintf(stderr, "cannot create %s\n", file.c_str());
        std::exit(1);
    }
    const auto add = [&](const std::string &name, const std::string &content) {
        zip_source_t *source = zip_source_buffer(archive, content.data(), content.size(), 0);
        if (source == nullptr || zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) < 0) {
            std::fprintf(stderr, "cannot add %s\n", name.c_str());
            std::exit(1);
        }
    };
    for (const auto &[name, content] : small)
        add(name, content);
    add("xl/sharedStrings.xml", strings);
    add("xl/worksheets/sheet1.xml", sheet);
    if (zip_close(archive) != 0) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        std::exit(1);
    }
}

// The workbook as a spreadsheet program writes it: names and headers in the
// shared strings, numbers in the cells, every cell with its reference.
void writeXlsx(const std::filesystem::path &file, const std::vector<Row> &rows)
{
    const auto names = headers();
    std::ostringstream strings;
    strings << StringsStart;
    for (const std::string &name : names)
        strings << "<si><t>" << name << "</t></si>";
    for (const Row &row : rows)
        strings << "<si><t>" << row.name << "</t></si>";
    strings << "</sst>";

    std::ostringstream sheet;
    sheet << SheetStart << "<dimension ref=\"A1:G" << rows.size() + 1 << "\"/><sheetData>";
    sheet << "<row r=\"1\" spans=\"1:7\">";
    for (std::size_t k = 0; k < names.size(); ++k)
        sheet << "<c r=\"" << columnName(static_cast<int>(k)) << "1\" t=\"s\"><v>" << k << "</v></c>";
    sheet << "</row>";
    for (std::size_t d = 0; d < rows.size(); ++d) {
        const std::size_t r = d + 2;
        sheet << "<row r=\"" << r << "\" spans=\"1:7\"><c r=\"A" << r << "\" t=\"s\"><v>"
              << names.size() + d << "</v></c>";
        for (int k = 0; k < NumInputs + NumOutputs; ++k)
            sheet << "<c r=\"" << columnName(k + 1) << r << "\"><v>" << number(rows[d].values[k])
                  << "</v></c>";
        sheet << "</row>";
    }
    sheet << "</sheetData></worksheet>";
    writeWorkbook(file, strings.str(), sheet.str());
}

// The full sheet: 16 header texts, then 1,048,575 rows of 16 numbers without
// cell references, repeating every 20 rows (so the file packs to about
// 1 MB). The first number of a row names its DMU; the others are inputs
// (7) and outputs (8).
constexpr int FullRecords = 1048575;
constexpr int FullInputs = 7;
constexpr int FullOutputs = 8;

// The number in field k (0 = the name) of DMU d (1-based).
double fullValue(int d, int k)
{
    return k == 0 ? (d - 1) % 20 + 1 : ((d - 1) % 20) * 16 + k + 0.25;
}

void writeFullSheet(const std::filesystem::path &file)
{
    std::string strings = StringsStart;
    std::string head = "<row r=\"1\">";
    for (int k = 0; k <= FullInputs + FullOutputs; ++k) {
        const std::string name = k == 0 ? "Unit"
            : k <= FullInputs           ? "{I}x" + std::to_string(k)
                                        : "{O}y" + std::to_string(k - FullInputs);
        strings += "<si><t>" + name + "</t></si>";
        head += "<c t=\"s\"><v>" + std::to_string(k) + "</v></c>";
    }
    strings += "</sst>";
    std::vector<std::string> cycle;
    for (int d = 1; d <= 20; ++d) {
        std::string row = "<row>";
        for (int k = 0; k <= FullInputs + FullOutputs; ++k)
            row += "<c><v>" + number(fullValue(d, k)) + "</v></c>";
        cycle.push_back(row + "</row>");
    }
    std::string sheet = SheetStart + std::string("<sheetData>") + head + "</row>";
    sheet.reserve(static_cast<std::size_t>(FullRecords) * cycle.back().size() + 1000);
    for (int d = 1; d <= FullRecords; ++d)
        sheet += cycle[static_cast<std::size_t>((d - 1) % 20)];
    sheet += "</sheetData></worksheet>";
    writeWorkbook(file, strings, sheet);
}

// 1,000 DMUs whose names and headers are the first shared strings, followed
// by a million unused strings of 1,000 characters.
constexpr int UnusedStrings = 1000000;

void writeUnusedStrings(const std::filesystem::path &file, const std::vector<Row> &rows)
{
    const auto names = headers();
    std::string strings = StringsStart;
    for (const std::string &name : names)
        strings += "<si><t>" + name + "</t></si>";
    for (const Row &row : rows)
        strings += "<si><t>" + row.name + "</t></si>";
    const std::string unused = "<si><t>" + std::string(1000, 'u') + "</t></si>";
    strings.reserve(strings.size() + UnusedStrings * unused.size() + 10);
    for (int k = 0; k < UnusedStrings; ++k)
        strings += unused;
    strings += "</sst>";

    std::string sheet = SheetStart + std::string("<sheetData><row>");
    for (std::size_t k = 0; k < names.size(); ++k)
        sheet += "<c t=\"s\"><v>" + std::to_string(k) + "</v></c>";
    sheet += "</row>";
    for (std::size_t d = 0; d < rows.size(); ++d) {
        sheet += "<row><c t=\"s\"><v>" + std::to_string(names.size() + d) + "</v></c>";
        for (double v : rows[d].values)
            sheet += "<c><v>" + number(v) + "</v></c>";
        sheet += "</row>";
    }
    sheet += "</sheetData></worksheet>";
    writeWorkbook(file, strings, sheet);
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long statusKilobytes(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return -1;
}

// Whether the full sheet read as written: every name and number.
bool fullSheetReadBack(const zelvar::DataSet &data)
{
    if (data.NumDMU != FullRecords || data.NumInputs != FullInputs || data.NumOutputs != FullOutputs)
        return false;
    for (int d = 1; d <= FullRecords; ++d) {
        if (data.DMUNames[static_cast<std::size_t>(d)] != "    " + std::to_string((d - 1) % 20 + 1))
            return false;
        for (int i = 1; i <= FullInputs; ++i)
            if (data.InputData(i, d) != fullValue(d, i))
                return false;
        for (int r = 1; r <= FullOutputs; ++r)
            if (data.OutputData(r, d) != fullValue(d, FullInputs + r))
                return false;
    }
    return true;
}

// The child: one read, then its time and memory on one line.
int readOnce(const std::string &path, int expectedDMUs)
{
    const long before = statusKilobytes("VmHWM");
    const double cpuStart = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const zelvar::DataReadResult result = zelvar::readDataFile(path);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuStart;
    const long peak = statusKilobytes("VmHWM");
    if (result.outcome != zelvar::DataReadResult::Outcome::Loaded
        || result.data.NumDMU != expectedDMUs) {
        std::printf("FAILED %s\n", result.message.c_str());
        return 1;
    }
    if (expectedDMUs == FullRecords && !fullSheetReadBack(result.data)) {
        std::printf("FAILED the full sheet read back other names or numbers\n");
        return 1;
    }
    std::printf("%.3f %.3f %ld %ld\n", seconds, cpu, before, peak);
    return 0;
}

bool measure(const std::string &self, const std::string &label, const std::string &path,
             int expectedDMUs, double targetSeconds, double targetMB)
{
    const std::string command =
        "'" + self + "' --read '" + path + "' " + std::to_string(expectedDMUs);
    std::FILE *child = popen(command.c_str(), "r");
    char line[512] = {};
    const bool got = child != nullptr && std::fgets(line, sizeof line, child) != nullptr;
    const int status = child != nullptr ? pclose(child) : -1;
    double seconds = 0.0;
    double cpu = 0.0;
    long before = 0;
    long peak = 0;
    if (!got || status != 0
        || std::sscanf(line, "%lf %lf %ld %ld", &seconds, &cpu, &before, &peak) != 4) {
        std::printf("%-7s reading failed: %s", label.c_str(), line);
        return false;
    }
    const double peakMB = static_cast<double>(peak) / 1024.0;
    const bool ok = seconds < targetSeconds && peakMB < targetMB;
    std::printf("%-7s %6.3f s (CPU %6.3f s, target %.0f s)   peak memory %6.1f MB (process at "
                "start %4.1f MB, target %.0f MB)   %s\n",
                label.c_str(), seconds, cpu, targetSeconds, peakMB,
                static_cast<double>(before) / 1024.0, targetMB, ok ? "ok" : "MISSED");
    return ok;
}

double megabytes(const std::filesystem::path &file)
{
    return static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) == "--read")
        return readOnce(argv[2], std::atoi(argv[3]));
    const char *bigVariable = std::getenv("ZELVAR_BENCH_READ_BIG");
    const bool big = (argc == 2 && std::string(argv[1]) == "--big")
        || (bigVariable != nullptr && std::string(bigVariable) == "1");
    if (argc > 1 && !big) {
        std::fprintf(stderr, "usage: %s [--big]\n", argv[0]);
        return 2;
    }

    char pattern[] = "/tmp/zelvar-bench-read-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder(pattern);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    bool ok = true;
    {
        const std::vector<Row> rows = makeRows();
        writeText(folder, rows);
        writeXlsx(folder / "big.xlsx", rows);
        if (big)
            writeUnusedStrings(folder / "strings.xlsx",
                               std::vector<Row>(rows.begin(), rows.begin() + 1000));
    }
    std::printf("%d DMUs, %d inputs, %d outputs: big.txt %.1f MB, big.xlsx %.1f MB\n", NumDMU,
                NumInputs, NumOutputs, megabytes(folder / "big.txt"), megabytes(folder / "big.xlsx"));
    ok = measure(self, "text", (folder / "big.txt").string(), NumDMU, 1.0, 200.0) && ok;
    ok = measure(self, "xlsx", (folder / "big.xlsx").string(), NumDMU, 3.0, 200.0) && ok;
    if (big) {
        writeFullSheet(folder / "full.xlsx");
        std::printf("%d DMUs, %d inputs, %d outputs, numbered names: full.xlsx %.1f MB\n",
                    FullRecords, FullInputs, FullOutputs, megabytes(folder / "full.xlsx"));
        ok = measure(self, "full", (folder / "full.xlsx").string(), FullRecords, 5.0, 600.0) && ok;
        std::printf("1000 DMUs and %d unused shared strings of 1,000 characters: strings.xlsx "
                    "%.1f MB\n",
                    UnusedStrings, megabytes(folder / "strings.xlsx"));
        ok = measure(self, "strings", (folder / "strings.xlsx").string(), 1000, 10.0, 100.0) && ok;
    }
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
