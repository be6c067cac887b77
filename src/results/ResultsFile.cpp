#include "results/ResultsFile.h"

#include "results/TextGrid.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>

namespace zelvar {

namespace {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

std::string failure(const std::string &path, int error)
{
    std::string message = "Can't write the file " + path;
    if (error != 0)
        message += ": " + std::string(std::strerror(error));
    return message + ".";
}

} // namespace

std::string savedResultsText(const TextGrid &grid)
{
    return grid.blockText(0, 0, grid.rows() - 1, grid.cols() - 1) + "\r\n";
}

void writeResultsText(const TextGrid &grid, std::ostream &out)
{
    const int lastCol = grid.cols() - 1;
    for (int row = 0; row < grid.rows(); ++row) {
        if (row > 0)
            out << '\r';
        out << grid.blockText(row, 0, row, lastCol);
    }
    out << "\r\n";
}

std::string saveResultsFile(const TextGrid &grid, const std::string &path)
{
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return failure(path, errno);

    // Row by row: the text of a table of 100,000 DMUs with long dominance
    // lists runs to a gigabyte and need not be held whole.
    const auto put = [&](const std::string &text) {
        return std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    };
    errno = 0;
    const int lastCol = grid.cols() - 1;
    bool written = true;
    for (int row = 0; written && row < grid.rows(); ++row)
        written = put((row > 0 ? "\r" : "") + grid.blockText(row, 0, row, lastCol));
    if (!written || !put("\r\n") || std::fflush(file.get()) != 0)
        return failure(path, errno);

    // Closing can still fail (a full disk seen only when the buffer goes out);
    // the file is released either way.
    errno = 0;
    if (std::fclose(file.release()) != 0)
        return failure(path, errno);
    return {};
}

} // namespace zelvar
