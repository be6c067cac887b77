#include "cli/BatchRun.h"
#include "session/ModelNames.h"
#include "support/ResultsSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace zelvar::test {
namespace {

// Every model name the README composes from its codes runs that model (its
// table is saved under the caption ending in the name). Other names are
// refused: see the refused-model-* cases.
TEST(ModelOption, runsEveryModelNameTheReadmeComposes)
{
    std::set<std::string> documented{"FDH_RAD_IN", "FDH_RAD_OUT"};
    for (const char *rts : {"CRS", "VRS", "NDR", "NIR"})
        for (const char *distance : {"RAD", "ADD", "MAXAV", "MINAV"})
            for (const char *orientation : {"IN", "OUT", "NON"})
                documented.insert(std::string(rts) + "_" + distance + "_" + orientation);
    const std::vector<std::string> names = allModelNames();
    EXPECT_EQ(std::set(names.begin(), names.end()), documented);
    EXPECT_EQ(names.size(), documented.size());

    const ScratchFolder scratch;
    BatchOptions options;
    options.dataFile = std::string(ZELVAR_FIXTURES) + "/cli/four.txt";
    options.outDir = scratch.path();
    for (const std::string &name : documented) {
        options.model = name;
        std::ostringstream out, err;
        EXPECT_EQ(runBatch(options, out, err), BatchCompleted) << name << err.str();
        EXPECT_EQ(fileText(scratch.path("four.txt_" + name + ".txt")).substr(0, 5), " \tDMU") << name;
    }
}

} // namespace
} // namespace zelvar::test
