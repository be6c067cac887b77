// Runs the zelvar-batch program on small files whose tables were worked out
// by hand, and checks what a user sees: the tables, the files, the messages
// and the exit status.

#include "support/BatchProgram.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string fixture(const std::string &name)
{
    return std::string(ZELVAR_FIXTURES) + "/cli/" + name;
}

class BatchProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path()
            / ("zelvar-batch-test-" + std::to_string(::getpid()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    Outcome run(const std::string &arguments)
    {
        const fs::path errFile = m_dir / "stderr.txt";
        const zelvar::test::BatchOutcome ran = zelvar::test::runBatchProgram(arguments, errFile.string());
        Outcome outcome;
        outcome.status = ran.status;
        outcome.out = ran.out;
        outcome.err = readFile(errFile);
        return outcome;
    }

    fs::path m_dir;
};

std::string rows(const std::vector<std::string> &lines)
{
    std::string text;
    for (std::size_t k = 0; k < lines.size(); ++k)
        text += (k ? "\r" : "") + lines[k];
    return text + "\r\n";
}

// Four DMUs, one input and one output: output/input ratios 1, 0.5, 0.75 and
// 0.8. Under constant returns DMU 1 alone is efficient; the others score
// their ratio, each with DMU 1 as its only benchmark at intensity
// own output / 2. DMU 1's superefficiency is 1 / 0.8 = 125%.
const std::string FourUnitsCrsInput = rows({
    " \tDMU\tScore\t{I}Input{V}\t{O}Output{V}\tBenchmarks\t{S} {I}Input\t{S} {O}Output",
    "1\t    A\t125.00%\t1.00\t1.25\t3\t\t",
    "2\t    B\t50.00%\t1.00\t0.50\t 1 (1.00) \t0.00\t0.00",
    "3\t    C\t75.00%\t1.00\t0.75\t 1 (1.50) \t0.00\t0.00",
    "4\t    D\t80.00%\t1.00\t0.80\t 1 (2.00) \t0.00\t0.00",
});

TEST_F(BatchProgram, WritesTheTableOfARadialRunToStandardOutput)
{
    const Outcome outcome = run("'" + fixture("four.txt") + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, FourUnitsCrsInput);
    EXPECT_EQ(outcome.err, "");
}

TEST_F(BatchProgram, WithoutSuperefficiencyTheEfficientUnitShowsOneHundredPercent)
{
    const Outcome outcome = run("--no-super '" + fixture("four.txt") + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    // Output weights are divided by the virtual output, so each row's virtual output is 1.
    EXPECT_NE(outcome.out.find("1\t    A\t100.00%\t1.00\t1.00\t3\t\t"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("2\t    B\t50.00%\t1.00\t1.00\t 1 (1.00) \t0.00\t0.00"), std::string::npos);
}

TEST_F(BatchProgram, FreeDisposalHullListsDominatingAndDominatedUnits)
{
    const Outcome outcome = run("--model FDH_RAD_IN '" + fixture("four.txt") + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    // B (4 | 2) is dominated by A (2 | 2), ratio 0.5, and by C (4 | 3), ratio 1.
    EXPECT_EQ(outcome.out, rows({
        " \tDMU\tScore\tBenchmarks\tNo. Dominated\tDominated\tNo. Dominating\tDominating",
        "1\t    A\t100.00%\t1\t0\t\t1\t  2",
        "2\t    B\t50.00%\t1\t2\t  1  3\t0\t",
        "3\t    C\t100.00%\t0\t0\t\t1\t  2",
        "4\t    D\t100.00%\t0\t0\t\t0\t",
    }));
}

TEST_F(BatchProgram, SavesEachRunUnderItsCaptionInTheOutputFolder)
{
    const fs::path data = m_dir / "four.txt";
    fs::copy_file(fixture("four.txt"), data);
    // The output folder is created when it does not exist yet.
    const fs::path out = m_dir / "out" / "tables";

    Outcome single = run("--out '" + out.string() + "' '" + data.string() + "'");
    EXPECT_EQ(single.status, 0) << single.err;
    EXPECT_EQ(single.out, "");
    EXPECT_EQ(readFile(out / "four.txt_CRS_RAD_IN.txt"), FourUnitsCrsInput);

    Outcome windows = run("--window 2:1 --out '" + out.string() + "' '" + data.string() + "'");
    EXPECT_EQ(windows.status, 0) << windows.err;
    EXPECT_TRUE(fs::exists(out / "four_CRS_RAD_IN_Window0.txt"));
    EXPECT_TRUE(fs::exists(out / "four_CRS_RAD_IN_Window1.txt"));
    EXPECT_FALSE(fs::exists(out / "four_CRS_RAD_IN_Window2.txt"));

    Outcome malmquist = run("--malmquist 2 --model VRS_RAD_OUT --out '" + out.string() + "' '" + data.string() + "'");
    EXPECT_EQ(malmquist.status, 0) << malmquist.err;
    EXPECT_TRUE(fs::exists(out / "four_VRS_RAD_OUT_Malmquist-E(0)-T(1).txt"));
}

TEST_F(BatchProgram, WindowAnalysisPrintsOneTablePerWindow)
{
    const Outcome outcome = run("--window 2:2 '" + fixture("four.txt") + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    std::size_t tables = 0;
    for (std::size_t at = outcome.out.find(" \tDMU"); at != std::string::npos;
         at = outcome.out.find(" \tDMU", at + 1))
        ++tables;
    EXPECT_EQ(tables, 2u);
}

struct RefusedCall {
    const char *arguments;
    const char *message;
};

class RefusedCalls : public BatchProgram, public ::testing::WithParamInterface<RefusedCall> {};

TEST_P(RefusedCalls, SayWhyAndExitWithStatusOne)
{
    std::string arguments = GetParam().arguments;
    const std::string marker = "FIXTURES";
    if (const std::size_t at = arguments.find(marker); at != std::string::npos)
        arguments.replace(at, marker.size(), std::string(ZELVAR_FIXTURES) + "/cli");
    const Outcome outcome = run(arguments);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find(GetParam().message), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    BatchProgram, RefusedCalls,
    ::testing::Values(
        RefusedCall{"--model CRS_RAD FIXTURES/four.txt", "Unknown model \"CRS_RAD\""},
        RefusedCall{"FIXTURES/four.csv", "Unknown data format (use suffix .xls or .txt)"},
        RefusedCall{"FIXTURES/badcell.txt", "{O}Output"},
        RefusedCall{"FIXTURES/missing.txt", "missing.txt"},
        RefusedCall{"--eval 9 FIXTURES/four.txt", "--eval"},
        RefusedCall{"--window 3:1 FIXTURES/four.txt",
                    "Wrong Number of Periods (Options).\n--window: 3 periods do not divide the 4 DMUs; the number "
                    "of periods must divide the number of DMUs (here one of 1, 2, 4)."},
        RefusedCall{"--window 2:3 FIXTURES/four.txt",
                    "Wrong Number of Periods (Options).\n--window: the window width 3 exceeds the 2 periods; the "
                    "width may not exceed the number of periods."},
        RefusedCall{"--malmquist 0 FIXTURES/four.txt", "--malmquist: 0 is not a whole number from 1 to 1000000000"},
        RefusedCall{"--threads -2 FIXTURES/four.txt", "--threads: -2 is not a whole number from 0 to 1024"},
        RefusedCall{"--model CRS_RAD_IN FIXTURES/../text/unknown-column.txt",
                    "CostData file contains unknown column (missing {I} or {O})\n"},
        RefusedCall{"--decimals 2,9,2,2 FIXTURES/four.txt", "--decimals"},
        RefusedCall{"--window 2:1 --eval 1 FIXTURES/four.txt", "--window"}));

// Values no data file of a careful user holds, but a reader accepts: the
// program must answer with a table, or a solver failure naming the DMU and
// the file with exit status 3, and never stop on the solver's own checks.
struct HostileFile {
    const char *file;     // under fixtures/hostile
    const char *model;
    int status;
    const char *message;  // in standard error ("" = nothing there)
};

class HostileFiles : public BatchProgram, public ::testing::WithParamInterface<HostileFile> {};

TEST_P(HostileFiles, EndInATableOrASolverFailureNamingTheFile)
{
    const HostileFile c = GetParam();
    const std::string path = std::string(ZELVAR_FIXTURES) + "/hostile/" + c.file;
    const Outcome outcome = run(std::string("--model ") + c.model + " '" + path + "'");
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    if (*c.message == '\0') {
        EXPECT_EQ(outcome.err, "");
    } else {
        EXPECT_NE(outcome.err.find(std::string(c.message) + "\n" + path + "\n"), std::string::npos) << outcome.err;
    }
    EXPECT_NE(outcome.out.find(" \tDMU\tScore"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    BatchProgram, HostileFiles,
    ::testing::Values(HostileFile{"huge-output.txt", "CRS_RAD_IN", 3, "DMU 1 error code: 6"},
                      HostileFile{"huge-input.txt", "VRS_RAD_OUT", 3, "DMU 1 error code: 6"},
                      // Min-average goes on after a failure, but the run is incomplete.
                      HostileFile{"huge-output.txt", "CRS_MINAV_NON", 3, "DMU 2 error code: 6"},
                      HostileFile{"huge-output.txt", "FDH_RAD_IN", 0, ""},
                      HostileFile{"tiny-output.txt", "VRS_RAD_OUT", 0, ""},
                      HostileFile{"tiny-output.txt", "NIR_RAD_NON", 0, ""}));

// The sample of four units with amounts in currency units (input times 1e9,
// output times 1e12), and with the input in units a billion times larger:
// scores, virtual weights and intensities do not depend on the units.
TEST_F(BatchProgram, LargeAndSmallUnitsGiveTheTableOfOrdinaryOnes)
{
    for (const char *file : {"money.txt", "small-units.txt"}) {
        const Outcome outcome = run("'" + std::string(ZELVAR_FIXTURES) + "/hostile/" + file + "'");
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, FourUnitsCrsInput) << file;
    }
}

TEST_F(BatchProgram, HelpExplainsTheOptions)
{
    const Outcome outcome = run("--help");
    EXPECT_EQ(outcome.status, 0);
    for (const char *option : {"--model", "--no-super", "--weights", "--eval", "--tech", "--window",
                               "--malmquist", "--decimals", "--pure-weights", "--out", "Exit status"})
        EXPECT_NE(outcome.out.find(option), std::string::npos) << option;
}

} // namespace
