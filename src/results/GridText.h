#pragma once

#include <string>

namespace zelvar {

class TextGrid;

// Cells of rows r1..r2 and columns c1..c2: cells of a row joined by TAB,
// rows joined by CR alone, nothing before the first cell or after the last.
// Either corner may come first; the block is cut to the grid, and a block
// wholly outside it gives an empty text.
std::string ResultsGridText(const TextGrid &grid, int r1, int c1, int r2, int c2);

// The text of a saved results file: the whole grid followed by CR LF.
std::string savedResultsText(const TextGrid &grid);

// Writes the saved results text to path, byte for byte (UTF-8), replacing an
// existing file. The file is closed on every path; returns an empty string on
// success, else a message that names the file and why it could not be
// created or written.
[[nodiscard]] std::string saveResultsFile(const TextGrid &grid, const std::string &path);

} // namespace zelvar
