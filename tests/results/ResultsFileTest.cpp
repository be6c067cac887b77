#include "results/ResultsFile.h"
#include "results/TextGrid.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace zelvar {
namespace {

namespace fs = std::filesystem;

// a, b, c / d, e, f
TextGrid twoByThree()
{
    TextGrid grid;
    grid.setFormatString("a|b|c;a|d");
    grid.setText(0, 0, "a");
    grid.setText(1, 1, "e");
    grid.setText(1, 2, "f");
    return grid;
}

std::string fileBytes(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SavedResults : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path()
            / ("zelvar-results-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
};

TEST(ResultsGridText, WholeGridJoinsCellsByTabAndRowsByCrAlone)
{
    const TextGrid grid = twoByThree();
    EXPECT_EQ(grid.blockText(0, 0, 1, 2), "a\tb\tc\rd\te\tf");
}

TEST(ResultsGridText, BlockInsideTheGrid)
{
    const TextGrid grid = twoByThree();
    EXPECT_EQ(grid.blockText(0, 1, 1, 2), "b\tc\re\tf");
    EXPECT_EQ(grid.blockText(1, 2, 1, 2), "f");
    EXPECT_EQ(grid.blockText(1, 2, 0, 1), "b\tc\re\tf");
}

TEST(ResultsGridText, EmptyCellsKeepTheirSeparators)
{
    TextGrid grid;
    grid.setFormatString("||;|");
    EXPECT_EQ(grid.blockText(0, 0, 1, 2), "\t\t\r\t\t");
}

TEST(ResultsGridText, SavedTextIsTheWholeGridFollowedByCrLf)
{
    EXPECT_EQ(savedResultsText(twoByThree()), "a\tb\tc\rd\te\tf\r\n");
}

TEST_F(SavedResults, FileHoldsExactlyTheSavedText)
{
    const fs::path path = m_dir / "run_CRS_RAD_IN.txt";
    EXPECT_EQ(saveResultsFile(twoByThree(), path.string()), "");
    EXPECT_EQ(fileBytes(path), "a\tb\tc\rd\te\tf\r\n");
}

TEST_F(SavedResults, AnExistingLongerFileIsReplaced)
{
    const fs::path path = m_dir / "old.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << std::string(1000, 'x');
    }
    EXPECT_EQ(saveResultsFile(twoByThree(), path.string()), "");
    EXPECT_EQ(fileBytes(path), "a\tb\tc\rd\te\tf\r\n");
}

TEST_F(SavedResults, TextIsWrittenByteForByte)
{
    TextGrid grid;
    grid.setFormatString("Zürich|Łódź;x");
    const fs::path path = m_dir / "names.txt";
    EXPECT_EQ(saveResultsFile(grid, path.string()), "");
    EXPECT_EQ(fileBytes(path), "x\tŁódź\r\n");
}

TEST_F(SavedResults, MissingFolderIsReportedWithFileAndReason)
{
    const fs::path path = m_dir / "no such folder" / "res.txt";
    const std::string error = saveResultsFile(twoByThree(), path.string());
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(SavedResults, AFolderInPlaceOfTheFileIsReported)
{
    const fs::path path = m_dir / "taken";
    fs::create_directory(path);
    const std::string error = saveResultsFile(twoByThree(), path.string());
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(path));
}

TEST_F(SavedResults, AFullDeviceIsReported)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    const std::string error = saveResultsFile(twoByThree(), "/dev/full");
    EXPECT_NE(error.find("/dev/full"), std::string::npos) << error;
    EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
}

} // namespace
} // namespace zelvar
