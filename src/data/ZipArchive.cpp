#include "data/ZipArchive.h"

#include <zip.h>

namespace zelvar {

ZipArchive::Entry::Entry(zip_file *file, std::uint64_t declaredSize, std::uint64_t maxBytes,
                         std::string name)
    : m_file(file), m_declaredSize(declaredSize), m_maxBytes(maxBytes), m_name(std::move(name))
{
}

ZipArchive::Entry::~Entry()
{
    zip_fclose(m_file);
}

std::int64_t ZipArchive::Entry::read(char *buffer, std::size_t size)
{
    const zip_int64_t count = zip_fread(m_file, buffer, size);
    if (count < 0) {
        m_error = "the part " + m_name + " is damaged ("
            + zip_error_strerror(zip_file_get_error(m_file)) + ")";
        return -1;
    }
    m_read += static_cast<std::uint64_t>(count);
    if (m_read > m_maxBytes) {
        m_error = "the part " + m_name + " unpacks to more than " + sizeText(m_maxBytes)
            + ", the most this program reads from one part";
        return -1;
    }
    if (m_read > m_declaredSize) {
        m_error = "the part " + m_name + " unpacks to more data than it declares";
        return -1;
    }
    return count;
}

ZipArchive::~ZipArchive()
{
    zip_discard(m_archive);
}

std::string ZipArchive::sizeText(std::uint64_t bytes)
{
    constexpr std::uint64_t MiB = std::uint64_t{1} << 20;
    constexpr std::uint64_t GiB = std::uint64_t{1} << 30;
    if (bytes >= GiB && bytes % GiB == 0)
        return std::to_string(bytes / GiB) + " GiB";
    if (bytes >= MiB && bytes % MiB == 0)
        return std::to_string(bytes / MiB) + " MiB";
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

std::unique_ptr<ZipArchive> ZipArchive::open(const std::string &path, std::string &reason,
                                             std::uint64_t maxEntryBytes)
{
    int code = 0;
    zip *archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (archive == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        reason = std::string("the workbook is damaged (") + zip_error_strerror(&error) + ")";
        zip_error_fini(&error);
        return nullptr;
    }
    return std::unique_ptr<ZipArchive>(new ZipArchive(archive, maxEntryBytes));
}

bool ZipArchive::contains(const std::string &name) const
{
    return zip_name_locate(m_archive, name.c_str(), ZIP_FL_NOCASE) >= 0;
}

std::unique_ptr<ZipArchive::Entry> ZipArchive::openEntry(const std::string &name,
                                                         std::string &reason) const
{
    const zip_int64_t index = zip_name_locate(m_archive, name.c_str(), ZIP_FL_NOCASE);
    if (index < 0) {
        reason = "the workbook has no part " + name;
        return nullptr;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0
        || (stat.valid & ZIP_STAT_SIZE) == 0) {
        reason = "the part " + name + " is damaged";
        return nullptr;
    }
    if (stat.size > m_maxEntryBytes) {
        reason = "the part " + name + " unpacks to more than " + sizeText(m_maxEntryBytes)
            + ", the most this program reads from one part";
        return nullptr;
    }
    zip_file *file = zip_fopen_index(m_archive, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr) {
        reason = "the part " + name + " cannot be read ("
            + zip_error_strerror(zip_get_error(m_archive)) + ")";
        return nullptr;
    }
    return std::unique_ptr<Entry>(new Entry(file, stat.size, m_maxEntryBytes, name));
}

bool ZipArchive::readAll(const std::string &name, std::size_t maxBytes, std::string &content,
                         std::string &reason) const
{
    auto entry = openEntry(name, reason);
    if (!entry)
        return false;
    content.clear();
    char buffer[65536];
    while (true) {
        const std::int64_t count = entry->read(buffer, sizeof buffer);
        if (count < 0) {
            reason = entry->error();
            return false;
        }
        if (count == 0)
            return true;
        if (content.size() + static_cast<std::size_t>(count) > maxBytes) {
            reason = "the part " + name + " holds more than " + sizeText(maxBytes)
                + ", the most this program reads from it";
            return false;
        }
        content.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace zelvar
