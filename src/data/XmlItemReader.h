#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zelvar {

// Walks the items of one container element of a large XML document (the
// rows in a sheet's <sheetData>, the strings in a workbook's <sst>) a slice
// at a time: the bytes are read in blocks, complete items are cut out by
// their end tags and parsed with pugixml as a fragment, and each slice's
// document is released before the next is read. A sheet of a million cells
// thus never stands in memory as one document tree.
//
// Element names are compared by local name, so prefixed documents
// (<x:row>) read the same as plain ones.
class XmlItemReader {
public:
    // Reads up to `size` bytes into `buffer`: the count, 0 at the end, or -1
    // on failure with the reason in `reason`.
    using Source = std::function<std::int64_t(char *buffer, std::size_t size, std::string &reason)>;
    // Visits one item; false stops the walk (set the reason yourself).
    using Visit = std::function<bool(const pugi::xml_node &item)>;

    // Largest run of bytes without a complete item.
    static constexpr std::size_t MaxItemBytes = std::size_t{64} << 20;

    XmlItemReader(Source source, std::string container, std::string item);

    // Visits the items in document order. A document without the container
    // has no items. Returns false on malformed or truncated XML, on a source
    // failure, or when visit returns false; `reason` then says why (left
    // untouched when visit stopped the walk).
    [[nodiscard]] bool forEach(const Visit &visit, std::string &reason);

    // The element's name without a namespace prefix.
    static std::string_view localName(const pugi::xml_node &node);

private:
    bool fill(std::string &reason);
    bool findContainer(bool &empty, std::string &reason);
    bool parseSlice(std::size_t length, const Visit &visit, std::string &reason);
    std::size_t findTag(const std::string &tag, std::size_t from, std::size_t to) const;
    std::size_t tagEnd(std::size_t at) const;
    template <typename Found>
    std::size_t scanEndTags(const std::string &tag, std::size_t &scan, std::size_t limit, Found found) const;

    Source m_source;
    std::string m_container;
    std::string m_item;
    std::string m_prefix; // "x:" when the container is written <x:sheetData>
    std::string m_pending;
    bool m_atEnd = false;
};

} // namespace zelvar
