#pragma once

#include <string>

namespace zelvar {

// A message about a file: the text, then the file's path on a line of its
// own (the text alone when there is no path).
inline std::string withFilePath(const std::string &text, const std::string &path)
{
    return path.empty() ? text : text + "\n" + path;
}

// How the core tells the user something. The core never shows a dialog or
// prints: the desktop application shows message boxes captioned "Zelvar",
// the batch tool writes the same texts to standard error, tests record them.
class Feedback {
public:
    virtual ~Feedback() = default;

    // A message with an OK button only.
    virtual void message(const std::string &text) = 0;
    // A message with OK and Cancel buttons; returns true for OK.
    virtual bool confirm(const std::string &text) = 0;
    // Busy mouse pointer on (while a file is read) and off again.
    virtual void busy(bool /*on*/) {}
};

} // namespace zelvar
