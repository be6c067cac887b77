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

// Piece k of the saved text: row k (after a CR from the second on), then
// the final CR LF as piece rows().
std::string textPiece(const TextGrid &grid, int k)
{
    if (k == grid.rows())
        return "\r\n";
    return (k > 0 ? "\r" : "") + grid.blockText(k, 0, k, grid.cols() - 1);
}

} // namespace

std::string savedResultsText(const TextGrid &grid)
{
    return grid.blockText(0, 0, grid.rows() - 1, grid.cols() - 1) + "\r\n";
}

void writeResultsText(const TextGrid &grid, std::ostream &out)
{
    for (int k = 0; k <= grid.rows(); ++k)
        out << textPiece(grid, k);
}

std::string saveResultsFile(const TextGrid &grid, const std::string &path)
{
    return saveText(path, grid.rows() + 1, [&grid](int k) { return textPiece(grid, k); });
}

std::string saveText(const std::string &path, int pieces, const std::function<std::string(int)> &piece)
{
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return failure(path, errno);
    errno = 0;
    for (int k = 0; k < pieces; ++k) {
        const std::string text = piece(k);
        if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size())
            return failure(path, errno);
    }
    if (std::fflush(file.get()) != 0)
        return failure(path, errno);

    // Closing can still fail (a full disk seen only when the buffer goes out);
    // the file is released either way.
    errno = 0;
    if (std::fclose(file.release()) != 0)
        return failure(path, errno);
    return {};
}

} // namespace zelvar
