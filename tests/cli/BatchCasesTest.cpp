// Runs the real zelvar-batch once per case file in tests/cases (laid out as
// tests/cases/README.md says) and compares what a user gets: the exit
// status, the messages, the tables printed and the files written.

#include "support/BatchProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace zelvar::test {
namespace {

namespace fs = std::filesystem;

struct BatchCase {
    std::vector<std::string> arguments;
    int status = -1;
    std::vector<std::string> errors;
    std::map<std::string, std::string> tables; // "" for standard output, else a file under {out}
};

BatchCase readCase(const std::string &file, const ScratchFolder &scratch)
{
    BatchCase c;
    std::istringstream in(fileText(file));
    std::string *tables = nullptr;
    bool rowsOpen = false; // rows of a table follow; a blank line or a section ends it
    const std::string out = scratch.path("out");
    auto endTable = [&] {
        if (tables != nullptr && rowsOpen)
            *tables += "\r\n";
        rowsOpen = false;
    };
    for (std::string line; std::getline(in, line);) {
        for (auto [from, to] : {std::pair{"{fixtures}", ZELVAR_FIXTURES}, {"{cases}", ZELVAR_CASES}, {"{out}", out.c_str()}})
            line = replaced(line, from, to);
        if (line.starts_with("#")) {
        } else if (line.starts_with("args: ")) {
            std::istringstream words(line.substr(6));
            for (std::string word; words >> word;)
                c.arguments.push_back(word);
        } else if (line.starts_with("status: ")) {
            c.status = std::stoi(line.substr(8));
        } else if (line.starts_with("stderr: ")) {
            c.errors.push_back(replaced(line.substr(8), "\\n", "\n"));
        } else if (line == "stdout:" || line.starts_with("file: ")) {
            endTable();
            tables = &c.tables[line == "stdout:" ? "" : line.substr(6)];
        } else if (line.empty() || tables == nullptr) {
            endTable();
            EXPECT_TRUE(line.empty()) << file << ": a line outside every section: " << line;
        } else {
            *tables += (rowsOpen ? "\r" : "") + line;
            rowsOpen = true;
        }
    }
    endTable();
    return c;
}

std::vector<std::string> caseFiles()
{
    std::vector<std::string> files;
    for (const auto &entry : fs::directory_iterator(ZELVAR_CASES))
        if (entry.path().extension() == ".case")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

class BatchCases : public ::testing::TestWithParam<std::string> {};

TEST_P(BatchCases, exitWithTheirStatusMessagesTablesAndFiles)
{
    const ScratchFolder scratch;
    BatchCase c = readCase(GetParam(), scratch);
    BatchOutcome outcome = runBatchProgram(c.arguments, scratch);
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    for (const std::string &error : c.errors)
        EXPECT_NE(outcome.err.find(error), std::string::npos) << "missing: " << error << "\nin: " << outcome.err;
    EXPECT_TRUE(!c.errors.empty() || outcome.err.empty()) << outcome.err;
    std::map<std::string, std::string> tables{{"", std::move(outcome.out)}};
    if (const fs::path out = scratch.path("out"); fs::exists(out))
        for (const auto &entry : fs::recursive_directory_iterator(out))
            if (entry.is_regular_file())
                tables[fs::relative(entry.path(), out).string()] = fileText(entry.path().string());
    c.tables.try_emplace("");
    EXPECT_EQ(tables, c.tables);
}

INSTANTIATE_TEST_SUITE_P(TestsCases, BatchCases, ::testing::ValuesIn(caseFiles()), [](const auto &p) {
    std::string name = fs::path(p.param).stem().string();
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

} // namespace
} // namespace zelvar::test
