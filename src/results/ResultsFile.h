#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace zelvar {

class TextGrid;

// The text of a saved results file: the whole grid followed by CR LF.
std::string savedResultsText(const TextGrid &grid);
// The same text written to out row by row, never held whole.
void writeResultsText(const TextGrid &grid, std::ostream &out);

// Writes the saved results text to path, byte for byte (UTF-8), replacing an
// existing file. The file is closed on every path; returns an empty string on
// success, else a message that names the file and why it could not be
// created or written.
[[nodiscard]] std::string saveResultsFile(const TextGrid &grid, const std::string &path);

// Writes pieces 0..pieces-1 of a text, each asked of `piece` when its turn
// comes, to path (replacing an existing file): a table's text is written row
// by row, never held whole. Returns an empty string on success, else a
// message that names the file and why it could not be written.
[[nodiscard]] std::string saveText(const std::string &path, int pieces,
                                   const std::function<std::string(int)> &piece);

} // namespace zelvar
