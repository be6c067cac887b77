#pragma once

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

} // namespace zelvar
