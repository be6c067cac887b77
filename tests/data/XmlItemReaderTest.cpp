#include "data/XmlItemReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace zelvar {
namespace {

// Feeds a string in pieces of `piece` bytes.
XmlItemReader::Source fromText(const std::string &text, std::size_t piece)
{
    auto at = std::make_shared<std::size_t>(0);
    return [text, piece, at](char *buffer, std::size_t size, std::string &) {
        const std::size_t n = std::min({size, piece, text.size() - *at});
        std::memcpy(buffer, text.data() + *at, n);
        *at += n;
        return static_cast<std::int64_t>(n);
    };
}

// The items visited, "name=r:text" separated by blanks, or why the walk failed.
std::string visit(const std::string &xml, const std::string &container, const std::string &item, std::size_t piece)
{
    std::string found, reason;
    const bool ok = XmlItemReader(fromText(xml, piece), container, item).forEach([&](const pugi::xml_node &node) {
        found += (found.empty() ? "" : " ") + std::string(XmlItemReader::localName(node)) + "=" + node.attribute("r").value()
            + ":" + node.text().get();
        return true;
    }, reason);
    return ok ? found : "error: " + reason;
}

class XmlItems : public testing::TestWithParam<std::pair<const char *, const char *>> {};

// Delivered in pieces of every size from a byte up, each tag is cut at each of its places.
TEST_P(XmlItems, AreTheItemsOfTheContainerOnlyWhereverTheTextIsCut)
{
    for (std::size_t piece : {1, 2, 3, 5, 8, 13, 1000})
        EXPECT_EQ(visit(GetParam().first, "sheetData", "row", piece), GetParam().second) << "pieces of " << piece;
}

INSTANTIATE_TEST_SUITE_P(
    Table, XmlItems,
    testing::Values(
        std::pair{"<?xml version=\"1.0\"?><ws><cols><row r=\"0\">no</row></cols><sheetData><row r=\"1\">a</row><row r=\"2\"/>"
                  "<other>x</other><row r=\"3\">&amp;b</row ></sheetData><row r=\"9\">after</row></ws>",
                  "row=1:a row=2: row=3:&b"},
        // Prefixed names; end tags with blanks and line breaks.
        std::pair{"<x:ws xmlns:x=\"u\"><x:sheetData><x:row r=\"1\">a</x:row\n><x:row r=\"2\">b</x:row></x:sheetData   ></x:ws>",
                  "row=1:a row=2:b"},
        // Tags that only begin like the end of an item or of the container.
        std::pair{"<ws><sheetData><row r=\"1\"><rowx>a</rowx></row  ><row r=\"2\"><sheetDatax>b</sheetDatax></row>"
                  "<row r=\"3\">c</row\n></sheetData\t><row r=\"9\">after</row></ws>",
                  "row=1: row=2: row=3:c"},
        std::pair{"<ws><sheetData/></ws>", ""}, std::pair{"<ws><sheetDataX><row/></sheetDataX></ws>", ""}, std::pair{"", ""},
        std::pair{"<ws><sheetData><row>a</row><row>b", "error: the XML ends before </sheetData>"},
        std::pair{"<ws><sheetData><row><c></row></sheetData>", "error: the XML is malformed (Start-end tags mismatch)"}));

TEST(XmlItems, ManyItemsAreParsedInSlices)
{
    std::string xml = "<sst>";
    for (int k = 0; k < 60000; ++k)
        xml += "<si r=\"" + std::to_string(k) + "\">text-number-" + std::to_string(k) + "</si>";
    ASSERT_GT(xml.size(), std::size_t{2} << 20); // several slices
    const std::string items = visit(xml + "</sst>", "sst", "si", 100000);
    EXPECT_EQ(std::count(items.begin(), items.end(), ' '), 59999);
    EXPECT_TRUE(items.starts_with("si=0:text-number-0 si=1:text-number-1 ")) << items.substr(0, 40);
    EXPECT_TRUE(items.ends_with(" si=59999:text-number-59999"));
}

TEST(XmlItems, AVisitStopsTheWalkAndASourceFailureIsPassedOn)
{
    int visits = 0;
    std::string reason = "untouched";
    XmlItemReader reader(fromText("<s><si>1</si><si>2</si><si>3</si></s>", 7), "s", "si");
    EXPECT_FALSE(reader.forEach([&](const pugi::xml_node &) { return ++visits < 2; }, reason));
    EXPECT_EQ(std::pair(visits, reason), std::pair(2, std::string("untouched")));
    const auto damaged = [](char *, std::size_t, std::string &why) { return why = "the part is damaged", std::int64_t{-1}; };
    EXPECT_FALSE(XmlItemReader(damaged, "sheetData", "row").forEach([](const pugi::xml_node &) { return true; }, reason));
    EXPECT_EQ(reason, "the part is damaged");
}

} // namespace
} // namespace zelvar
