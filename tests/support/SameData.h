#pragma once

#include "data/DataSet.h"

#include <gtest/gtest.h>

namespace zelvar::test {

// The table of two data sets (counts, names, marks and values) is the same;
// file names and weight restrictions are not compared.
inline void expectSameTable(const DataSet &a, const DataSet &b)
{
    EXPECT_EQ(a.NumDMU, b.NumDMU);
    EXPECT_EQ(a.NumInputs, b.NumInputs);
    EXPECT_EQ(a.NumOutputs, b.NumOutputs);
    EXPECT_EQ(a.DMUNames, b.DMUNames);
    EXPECT_EQ(a.InputNames, b.InputNames);
    EXPECT_EQ(a.OutputNames, b.OutputNames);
    EXPECT_EQ(a.InputNonDisc, b.InputNonDisc);
    EXPECT_EQ(a.OutputNonDisc, b.OutputNonDisc);
    EXPECT_EQ(a.InputData, b.InputData);
    EXPECT_EQ(a.OutputData, b.OutputData);
}

} // namespace zelvar::test
