#include "data/XmlItemReader.h"

#include <algorithm>

#include <string.h>

namespace zelvar {

namespace {

constexpr std::size_t BlockBytes = std::size_t{256} << 10;
// Items are parsed in slices of about this size: large enough to keep the
// per-slice cost small, small enough that a slice's tree stays a few MB.
constexpr std::size_t SliceBytes = std::size_t{1} << 20;

bool isNameChar(char c)
{
    return c != '<' && c != '>' && c != '/' && c != ' ' && c != '\t' && c != '\r' && c != '\n'
        && c != '=' && c != '"' && c != '\'';
}

} // namespace

XmlItemReader::XmlItemReader(Source source, std::string container, std::string item)
    : m_source(std::move(source)), m_container(std::move(container)), m_item(std::move(item))
{
}

std::string_view XmlItemReader::localName(const pugi::xml_node &node)
{
    std::string_view name = node.name();
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool XmlItemReader::fill(std::string &reason)
{
    if (m_atEnd)
        return true;
    const std::size_t old = m_pending.size();
    m_pending.resize(old + BlockBytes);
    const std::int64_t count = m_source(m_pending.data() + old, BlockBytes, reason);
    if (count < 0) {
        m_pending.resize(old);
        return false;
    }
    m_pending.resize(old + static_cast<std::size_t>(count));
    if (count == 0)
        m_atEnd = true;
    return true;
}

// Finds the container's start tag and drops everything up to its end.
bool XmlItemReader::findContainer(bool &empty, std::string &reason)
{
    std::size_t from = 0;
    while (true) {
        const std::size_t at = m_pending.find(m_container, from);
        if (at == std::string::npos) {
            if (m_atEnd) {
                empty = true;
                return true;
            }
            if (m_pending.size() > MaxItemBytes) {
                reason = "no <" + m_container + "> in the first "
                    + std::to_string(MaxItemBytes >> 20) + " MB";
                return false;
            }
            from = m_pending.size() > m_container.size() ? m_pending.size() - m_container.size() : 0;
            if (!fill(reason))
                return false;
            continue;
        }
        // The name must follow "<" or "<prefix:" and end the tag's name.
        std::size_t open = std::string::npos;
        if (at > 0 && m_pending[at - 1] == '<') {
            open = at - 1;
        } else if (at > 1 && m_pending[at - 1] == ':') {
            std::size_t k = at - 1;
            while (k > 0 && isNameChar(m_pending[k - 1]))
                --k;
            if (k > 0 && m_pending[k - 1] == '<')
                open = k - 1;
        }
        const std::size_t after = at + m_container.size();
        if (after >= m_pending.size() && !m_atEnd) {
            from = at;
            if (!fill(reason))
                return false;
            continue;
        }
        if (open == std::string::npos || after >= m_pending.size() || isNameChar(m_pending[after])) {
            from = at + 1;
            continue;
        }
        const std::size_t close = m_pending.find('>', after);
        if (close == std::string::npos) {
            if (m_atEnd) {
                reason = "the XML ends inside the <" + m_container + "> tag";
                return false;
            }
            from = at;
            if (!fill(reason))
                return false;
            continue;
        }
        m_prefix = m_pending.substr(open + 1, at - open - 1);
        empty = m_pending[close - 1] == '/';
        m_pending.erase(0, close + 1);
        return true;
    }
}

bool XmlItemReader::parseSlice(std::size_t length, const Visit &visit, std::string &reason)
{
    pugi::xml_document document;
    const unsigned options = pugi::parse_default | pugi::parse_fragment | pugi::parse_embed_pcdata
        | pugi::parse_ws_pcdata_single;
    const pugi::xml_parse_result result =
        document.load_buffer_inplace(m_pending.data(), length, options, pugi::encoding_utf8);
    if (!result) {
        reason = std::string("the XML is malformed (") + result.description() + ")";
        return false;
    }
    for (const pugi::xml_node &node : document.children()) {
        if (node.type() == pugi::node_element && localName(node) == m_item && !visit(node))
            return false;
    }
    return true;
}

// The first tag at or after `from` that starts before `to` (memmem skips
// ahead by whole tag lengths where std::string::find stops at each "<").
std::size_t XmlItemReader::findTag(const std::string &tag, std::size_t from, std::size_t to) const
{
    const std::size_t stop = std::min(m_pending.size(), to + tag.size() - 1);
    if (from >= stop)
        return std::string::npos;
    const char *begin = m_pending.data();
    const void *at = ::memmem(begin + from, stop - from, tag.data(), tag.size());
    return at == nullptr ? std::string::npos : static_cast<std::size_t>(static_cast<const char *>(at) - begin);
}

// Where the end tag whose name ends at `at` ends: just past its ">"; 0 when
// the name goes on or no ">" follows the blanks; npos when the bytes read so
// far end first.
std::size_t XmlItemReader::tagEnd(std::size_t at) const
{
    std::size_t p = at;
    while (p < m_pending.size()
           && (m_pending[p] == ' ' || m_pending[p] == '\t' || m_pending[p] == '\r' || m_pending[p] == '\n'))
        ++p;
    if (p >= m_pending.size())
        return m_atEnd ? std::size_t{0} : std::string::npos;
    return m_pending[p] == '>' ? p + 1 : std::size_t{0};
}

// The next complete end tag `tag` before `limit`, searching on from `scan`
// (which moves past what was searched; a tag may begin in the last bytes and
// end in the next block); calls found(start, end) for each one until it
// returns true. Returns the start of the tag found last, or npos.
template <typename Found>
std::size_t XmlItemReader::scanEndTags(const std::string &tag, std::size_t &scan, std::size_t limit, Found found) const
{
    while (true) {
        const std::size_t at = findTag(tag, scan, limit);
        if (at == std::string::npos) {
            scan = std::max(scan, limit >= tag.size() ? limit - tag.size() + 1 : 0);
            return std::string::npos;
        }
        const std::size_t end = tagEnd(at + tag.size());
        if (end == std::string::npos) {
            scan = at; // an end tag cut by the block boundary
            return std::string::npos;
        }
        scan = end != 0 ? end : at + 1;
        if (end != 0 && found(at, end))
            return at;
    }
}

bool XmlItemReader::forEach(const Visit &visit, std::string &reason)
{
    m_pending.clear();
    m_atEnd = false;
    bool empty = false;
    if (!findContainer(empty, reason))
        return false;
    if (empty)
        return true;

    // End tags are matched as "</" prefix name, blanks, ">". They are found
    // by searching for the two tags themselves, which skips most of the
    // bytes, rather than stopping at every "<" of the cells.
    const std::string itemTag = "</" + m_prefix + m_item;
    const std::string containerTag = "</" + m_prefix + m_container;
    std::size_t itemScan = 0;      // where the search for item end tags goes on
    std::size_t containerScan = 0; // where the search for the container's end tag goes on
    std::size_t itemsEnd = 0;      // end of the last complete item found
    while (true) {
        const std::size_t containerEnd =
            scanEndTags(containerTag, containerScan, m_pending.size(), [](std::size_t, std::size_t) { return true; });
        const std::size_t limit = containerEnd == std::string::npos ? m_pending.size() : containerEnd;
        (void)scanEndTags(itemTag, itemScan, limit, [&itemsEnd](std::size_t, std::size_t end) {
            itemsEnd = end;
            return false;
        });

        if (containerEnd != std::string::npos)
            return parseSlice(containerEnd, visit, reason);
        if (itemsEnd >= SliceBytes || (m_atEnd && itemsEnd > 0)) {
            if (!parseSlice(itemsEnd, visit, reason))
                return false;
            m_pending.erase(0, itemsEnd);
            itemScan = itemScan > itemsEnd ? itemScan - itemsEnd : 0;
            containerScan = containerScan > itemsEnd ? containerScan - itemsEnd : 0;
            itemsEnd = 0;
        }
        if (m_atEnd) {
            reason = "the XML ends before " + containerTag + ">";
            return false;
        }
        if (m_pending.size() - itemsEnd > MaxItemBytes) {
            reason = "an element of the XML is larger than " + std::to_string(MaxItemBytes >> 20) + " MB";
            return false;
        }
        if (!fill(reason))
            return false;
    }
}

} // namespace zelvar
