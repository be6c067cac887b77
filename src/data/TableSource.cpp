#include "data/TableSource.h"

#include "data/TextTableSource.h"
#include "data/XlsTableSource.h"
#include "data/XlsxTableSource.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace zelvar {

namespace {

enum class WorkbookKind { Missing, Unreadable, Zip, Ole2, Other };

// Whether a workbook is the older binary kind or the zipped XML kind is told
// by its first bytes, not by its name: people rename files.
WorkbookKind workbookKind(const std::string &path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return WorkbookKind::Missing;
    if (!std::filesystem::is_regular_file(path, ec))
        return WorkbookKind::Unreadable;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return WorkbookKind::Unreadable;
    unsigned char head[8] = {};
    const std::size_t count = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    static const unsigned char ole2[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (count == 8 && std::memcmp(head, ole2, 8) == 0)
        return WorkbookKind::Ole2;
    if (count >= 4 && head[0] == 'P' && head[1] == 'K'
        && ((head[2] == 3 && head[3] == 4) || (head[2] == 5 && head[3] == 6)))
        return WorkbookKind::Zip;
    return WorkbookKind::Other;
}

} // namespace

namespace {

template <typename Open>
OpenedTable guarded(const std::string &shown, Open open)
{
    try {
        return open();
    } catch (const std::bad_alloc &) {
        OpenedTable failed;
        failed.error = "Cannot read " + shown + ": there is not enough memory.";
        return failed;
    } catch (const std::exception &error) {
        OpenedTable failed;
        failed.error = "Cannot read " + shown + ": " + error.what() + ".";
        return failed;
    }
}

} // namespace

OpenedTable openTextTable(const std::string &folder, const std::string &fileName)
{
    const std::string shown = folder.empty() ? fileName : folder + "/" + fileName;
    return guarded(shown, [&] { return TextTableSource::open(folder, fileName); });
}

OpenedTable openWorkbookSheet(const std::string &path, const std::string &sheet)
{
    return guarded(path, [&] {
        OpenedTable failed;
        switch (workbookKind(path)) {
        case WorkbookKind::Ole2:
            return XlsTableSource::open(path, sheet);
        case WorkbookKind::Zip:
            return XlsxTableSource::open(path, sheet);
        case WorkbookKind::Missing:
            failed.error = "Cannot read " + path + ": the file does not exist.";
            break;
        case WorkbookKind::Unreadable:
            failed.error = "Cannot read " + path + ": the file cannot be opened.";
            break;
        case WorkbookKind::Other:
            failed.error = "Cannot read " + path + ": it is not an Excel workbook (.xls or .xlsx).";
            break;
        }
        return failed;
    });
}

std::optional<OpenedTable> openSideTable(const std::string &path, const std::string &sheet, std::string &name)
{
    const std::size_t slash = path.rfind('/');
    const std::string bare = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t suffix = bare.find(".xls");
    if (suffix != std::string::npos) {
        name = bare.substr(0, suffix);
        return openWorkbookSheet(path, sheet);
    }
    if ((suffix = bare.find(".txt")) != std::string::npos) {
        name = bare.substr(0, suffix);
        return openTextTable(slash == std::string::npos ? std::string() : path.substr(0, slash), bare);
    }
    return std::nullopt;
}

} // namespace zelvar
