#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct zip;
struct zip_file;

namespace zelvar {

// A zip archive opened for reading through libzip. Entry names are matched
// ignoring case, as the parts of an Office document are.
class ZipArchive {
public:
    // One entry read as a stream of bytes.
    class Entry {
    public:
        ~Entry();
        Entry(const Entry &) = delete;
        Entry &operator=(const Entry &) = delete;

        // Reads up to `size` bytes; returns the count (0 at the end) or -1
        // on failure (damaged data, or more bytes than the entry declared or
        // than the archive's largest entry), with the reason in error().
        std::int64_t read(char *buffer, std::size_t size);
        const std::string &error() const { return m_error; }

    private:
        friend class ZipArchive;
        Entry(zip_file *file, std::uint64_t declaredSize, std::uint64_t maxBytes, std::string name);
        zip_file *m_file;
        std::uint64_t m_declaredSize;
        std::uint64_t m_maxBytes;
        std::uint64_t m_read = 0;
        std::string m_name;
        std::string m_error;
    };

    // Largest entry read, uncompressed: a guard against archives that
    // unpack to far more than any workbook holds.
    static constexpr std::uint64_t MaxEntryBytes = std::uint64_t{1} << 31;

    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // Null when the file cannot be opened as a zip archive; `reason` says why.
    // Entries larger than maxEntryBytes are refused.
    static std::unique_ptr<ZipArchive> open(const std::string &path, std::string &reason,
                                            std::uint64_t maxEntryBytes = MaxEntryBytes);

    // A size as messages give it: "2 GiB", "64 MiB", "1000 bytes".
    static std::string sizeText(std::uint64_t bytes);

    bool contains(const std::string &name) const;
    // Null when the entry is missing or cannot be read; `reason` says why.
    std::unique_ptr<Entry> openEntry(const std::string &name, std::string &reason) const;
    // The whole entry, refused when it holds more than maxBytes.
    [[nodiscard]] bool readAll(const std::string &name, std::size_t maxBytes, std::string &content,
                               std::string &reason) const;

private:
    ZipArchive(zip *archive, std::uint64_t maxEntryBytes)
        : m_archive(archive), m_maxEntryBytes(maxEntryBytes)
    {
    }
    zip *m_archive;
    std::uint64_t m_maxEntryBytes;
};

} // namespace zelvar
