// zelvar-batch --threads: the tables do not depend on the number of threads,
// and a negative number is refused.

#include "support/BatchProgram.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Result = zelvar::test::BatchOutcome;

Result batch(const std::string &arguments)
{
    return zelvar::test::runBatchProgram(arguments, "/dev/null");
}

std::string banks()
{
    return "'" + std::string(ZELVAR_EXAMPLES) + "/banks.txt'";
}

TEST(BatchThreads, oneThreadAndSeveralWriteTheSameTablesForEveryKindOfModel)
{
    for (const char *model : {"CRS_RAD_IN", "VRS_RAD_OUT", "NIR_ADD_NON", "VRS_MINAV_IN"}) {
        SCOPED_TRACE(model);
        const Result one = batch(std::string("--model ") + model + " --threads 1 " + banks());
        ASSERT_EQ(one.status, 0);
        EXPECT_GT(one.out.size(), 100u);
        const Result three = batch(std::string("--model ") + model + " --threads 3 " + banks());
        EXPECT_EQ(three.status, 0);
        EXPECT_EQ(three.out, one.out);
        const Result cores = batch(std::string("--model ") + model + " " + banks());
        EXPECT_EQ(cores.out, one.out);
    }
}

TEST(BatchThreads, aWindowSeriesIsTheSameOnSeveralThreads)
{
    const Result one = batch("--window 2:1 --threads 1 " + banks());
    ASSERT_EQ(one.status, 0);
    EXPECT_EQ(batch("--window 2:1 --threads 2 " + banks()).out, one.out);
}

TEST(BatchThreads, aNegativeThreadCountIsAnOptionError)
{
    EXPECT_EQ(batch("--threads -2 " + banks()).status, 1);
}

} // namespace
