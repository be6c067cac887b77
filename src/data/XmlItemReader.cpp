#include "data/XmlItemReader.h"

#include <algorithm>

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

bool XmlItemReader::forEach(const Visit &visit, std::string &reason)
{
    m_pending.clear();
    m_atEnd = false;
    bool empty = false;
    if (!findContainer(empty, reason))
        return false;
    if (empty)
        return true;

    // End tags are matched as "</" prefix name, blanks, ">".
    const std::string itemName = m_prefix + m_item;
    const std::string containerName = m_prefix + m_container;
    enum class Match { Item, Container, Other, Incomplete };
    const auto endTagAt = [&](std::size_t at, std::size_t &end) {
        std::size_t p = at + 2;
        const auto nameFits = [&](const std::string &name) {
            const std::size_t available = std::min(name.size(), m_pending.size() - p);
            return m_pending.compare(p, available, name, 0, available) == 0
                ? (available == name.size() ? 1 : 0)
                : -1;
        };
        const int item = nameFits(itemName);
        const int container = nameFits(containerName);
        if (item < 0 && container < 0)
            return Match::Other;
        if (item == 0 || container == 0)
            return m_atEnd ? Match::Other : Match::Incomplete;
        const bool isItem = item == 1 && (container != 1 || itemName.size() >= containerName.size());
        p += isItem ? itemName.size() : containerName.size();
        while (p < m_pending.size() && (m_pending[p] == ' ' || m_pending[p] == '\t'
                                        || m_pending[p] == '\r' || m_pending[p] == '\n'))
            ++p;
        if (p >= m_pending.size())
            return m_atEnd ? Match::Other : Match::Incomplete;
        if (m_pending[p] != '>')
            return Match::Other;
        end = p + 1;
        return isItem ? Match::Item : Match::Container;
    };

    std::size_t scan = 0;         // where the search for end tags goes on
    std::size_t itemsEnd = 0;     // end of the last complete item found
    while (true) {
        std::size_t containerEnd = std::string::npos;
        while (true) {
            const std::size_t at = m_pending.find("</", scan);
            if (at == std::string::npos) {
                scan = m_pending.empty() ? 0 : m_pending.size() - 1;
                break;
            }
            std::size_t end = 0;
            const Match match = endTagAt(at, end);
            if (match == Match::Item) {
                itemsEnd = end;
                scan = end;
            } else if (match == Match::Container) {
                containerEnd = at;
                break;
            } else if (match == Match::Incomplete) {
                scan = at; // an end tag cut by the block boundary
                break;
            } else {
                scan = at + 2;
            }
        }

        if (containerEnd != std::string::npos)
            return parseSlice(containerEnd, visit, reason);
        if (itemsEnd >= SliceBytes || (m_atEnd && itemsEnd > 0)) {
            if (!parseSlice(itemsEnd, visit, reason))
                return false;
            m_pending.erase(0, itemsEnd);
            scan = scan > itemsEnd ? scan - itemsEnd : 0;
            itemsEnd = 0;
        }
        if (m_atEnd) {
            reason = "the XML ends before </" + containerName + ">";
            return false;
        }
        if (m_pending.size() - itemsEnd > MaxItemBytes) {
            reason = "an element of the XML is larger than " + std::to_string(MaxItemBytes >> 20)
                + " MB";
            return false;
        }
        if (!fill(reason))
            return false;
    }
}

} // namespace zelvar
