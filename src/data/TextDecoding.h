#pragma once

#include <string>
#include <string_view>

namespace zelvar {

// The character sets a hand-written text table comes in.
enum class CharacterSet {
    Automatic, // UTF-8 when the bytes are valid UTF-8, else Windows-1252
    Ansi,      // Windows-1252, what "ANSI" means on the systems these files come from
    Utf8,
    Utf16LE,   // what Windows editors call "Unicode"
    Utf16BE,
};

// Turns the bytes of a text file into UTF-8. A byte order mark decides the
// character set whatever `set` says, and is removed. Invalid sequences in
// UTF-8 or UTF-16 become U+FFFD.
[[nodiscard]] std::string decodeText(std::string bytes, CharacterSet set);

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
[[nodiscard]] bool isValidUtf8(std::string_view text);

// Windows-1252 bytes to UTF-8.
[[nodiscard]] std::string windows1252ToUtf8(std::string_view bytes);

} // namespace zelvar
