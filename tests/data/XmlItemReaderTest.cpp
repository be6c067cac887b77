#include "data/XmlItemReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace zelvar {
namespace {

using testing::ElementsAre;

// Feeds a string in pieces of `piece` bytes.
XmlItemReader::Source fromText(const std::string &text, std::size_t piece = 7)
{
    auto position = std::make_shared<std::size_t>(0);
    return [text, piece, position](char *buffer, std::size_t size, std::string &) {
        const std::size_t n = std::min({size, piece, text.size() - *position});
        std::memcpy(buffer, text.data() + *position, n);
        *position += n;
        return static_cast<std::int64_t>(n);
    };
}

std::vector<std::string> items(const std::string &text, const std::string &container,
                               const std::string &item, bool &ok, std::string &reason,
                               std::size_t piece = 7)
{
    std::vector<std::string> found;
    XmlItemReader reader(fromText(text, piece), container, item);
    ok = reader.forEach(
        [&](const pugi::xml_node &node) {
            found.push_back(std::string(XmlItemReader::localName(node)) + "=" + node.attribute("r").value()
                            + ":" + node.text().get());
            return true;
        },
        reason);
    return found;
}

TEST(XmlItemReader, VisitsEveryItemOfTheContainerOnly)
{
    bool ok = false;
    std::string reason;
    const std::string xml = "<?xml version=\"1.0\"?><ws><cols><row r=\"0\">no</row></cols>"
                            "<sheetData><row r=\"1\">a</row><row r=\"2\"/><other>x</other>"
                            "<row r=\"3\">&amp;b</row ></sheetData><row r=\"9\">after</row></ws>";
    EXPECT_THAT(items(xml, "sheetData", "row", ok, reason),
                ElementsAre("row=1:a", "row=2:", "row=3:&b"));
    EXPECT_TRUE(ok) << reason;
}

TEST(XmlItemReader, PrefixedNamesAndEndTagsWithBlanks)
{
    bool ok = false;
    std::string reason;
    const std::string xml = "<x:ws xmlns:x=\"u\"><x:sheetData><x:row r=\"1\">a</x:row\n>"
                            "<x:row r=\"2\">b</x:row></x:sheetData   ></x:ws>";
    EXPECT_THAT(items(xml, "sheetData", "row", ok, reason), ElementsAre("row=1:a", "row=2:b"));
    EXPECT_TRUE(ok) << reason;
}

// Tags that only begin like the end of an item or of the container, with
// the document delivered in pieces of every size from a byte up, so each
// tag is cut at each of its places.
class XmlItemReaderPieces : public testing::TestWithParam<std::size_t> {};

TEST_P(XmlItemReaderPieces, EndTagsAreWholeNamesFollowedByBlanksAndClose)
{
    bool ok = false;
    std::string reason;
    const std::string xml = "<ws><sheetData><row r=\"1\"><rowx>a</rowx></row  >"
                            "<row r=\"2\"><sheetDatax>b</sheetDatax></row>"
                            "<row r=\"3\">c</row\n></sheetData\t><row r=\"9\">after</row></ws>";
    EXPECT_THAT(items(xml, "sheetData", "row", ok, reason, GetParam()),
                ElementsAre("row=1:", "row=2:", "row=3:c"));
    EXPECT_TRUE(ok) << reason;
}

INSTANTIATE_TEST_SUITE_P(XmlItemReader, XmlItemReaderPieces, testing::Values(1, 2, 3, 5, 8, 13, 1000));

TEST(XmlItemReader, ManyItemsAreParsedInSlices)
{
    std::string xml = "<sst>";
    for (int k = 0; k < 60000; ++k)
        xml += "<si r=\"" + std::to_string(k) + "\">text number " + std::to_string(k) + "</si>";
    xml += "</sst>";
    ASSERT_GT(xml.size(), std::size_t{2} << 20);
    bool ok = false;
    std::string reason;
    const auto found = items(xml, "sst", "si", ok, reason, 100000);
    ASSERT_TRUE(ok) << reason;
    ASSERT_EQ(found.size(), 60000u);
    EXPECT_EQ(found[0], "si=0:text number 0");
    EXPECT_EQ(found[59999], "si=59999:text number 59999");
}

TEST(XmlItemReader, AnEmptyOrMissingContainerHasNoItems)
{
    bool ok = false;
    std::string reason;
    EXPECT_TRUE(items("<ws><sheetData/></ws>", "sheetData", "row", ok, reason).empty());
    EXPECT_TRUE(ok);
    EXPECT_TRUE(items("<ws><sheetDataX><row/></sheetDataX></ws>", "sheetData", "row", ok, reason).empty());
    EXPECT_TRUE(ok);
    EXPECT_TRUE(items("", "sheetData", "row", ok, reason).empty());
    EXPECT_TRUE(ok);
}

TEST(XmlItemReader, TruncatedOrMalformedXmlIsRefused)
{
    bool ok = true;
    std::string reason;
    (void)items("<ws><sheetData><row>a</row><row>b", "sheetData", "row", ok, reason);
    EXPECT_FALSE(ok);
    EXPECT_EQ(reason, "the XML ends before </sheetData>");
    (void)items("<ws><sheetData><row><c></row></sheetData>", "sheetData", "row", ok, reason);
    EXPECT_FALSE(ok);
    EXPECT_EQ(reason, "the XML is malformed (Start-end tags mismatch)");
}

TEST(XmlItemReader, AVisitCanStopTheWalk)
{
    XmlItemReader reader(fromText("<s><si>1</si><si>2</si><si>3</si></s>"), "s", "si");
    int visits = 0;
    std::string reason = "untouched";
    EXPECT_FALSE(reader.forEach([&](const pugi::xml_node &) { return ++visits < 2; }, reason));
    EXPECT_EQ(visits, 2);
    EXPECT_EQ(reason, "untouched");
}

TEST(XmlItemReader, ASourceFailureIsPassedOn)
{
    XmlItemReader reader(
        [](char *, std::size_t, std::string &why) {
            why = "the part is damaged";
            return std::int64_t{-1};
        },
        "sheetData", "row");
    std::string reason;
    EXPECT_FALSE(reader.forEach([](const pugi::xml_node &) { return true; }, reason));
    EXPECT_EQ(reason, "the part is damaged");
}

} // namespace
} // namespace zelvar
