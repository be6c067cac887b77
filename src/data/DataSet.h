#pragma once

#include "data/Matrix.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvar {

// The table of decision making units every run works on: names, the input and
// output matrices, the non-discretionary marks, the file names and the
// optional weight restrictions. All lists are indexed from 1; position 0 is
// allocated and never used.
//
// A data set is loaded exactly when NumDMU != 0. Readers build a fresh
// DataSet and the loaded one is replaced only when a file was read whole.
struct DataSet {
    std::int32_t NumDMU = 0;
    std::int32_t NumInputs = 0;
    std::int32_t NumOutputs = 0;

    // Four-character prefix (blanks, or "{X}" plus a blank for a DMU evaluated
    // outside its technology in the latest run) followed by the name cell.
    std::vector<std::string> DMUNames;
    // Whole column headers, markers included ("{I}Staff").
    std::vector<std::string> InputNames;
    std::vector<std::string> OutputNames;
    // 1 when the column header carries "{IN" / "{ON", else 0.
    std::vector<std::int16_t> InputNonDisc;
    std::vector<std::int16_t> OutputNonDisc;
    Matrix InputData;  // X(i, d), i = 1..NumInputs, d = 1..NumDMU
    Matrix OutputData; // Y(r, d), r = 1..NumOutputs, d = 1..NumDMU

    std::string DataFileName; // full path of the loaded data file
    std::string DataFileStem; // DataFileName cut before ".xls" / ".txt"

    // Weight restrictions: W(c, k) is the coefficient of weight c (inputs
    // first, then outputs) in restriction row k; each row means sum c W w >= 0.
    std::string WeightsFileName; // empty = no restrictions loaded
    std::string WeightsName;
    std::int32_t NumWeightRows = 0;
    Matrix WeightRestrictions;
    std::int32_t WeightNonzeros = 0;

    // Prices of the cost and revenue models: P(c, k) is the price of
    // variable c (inputs first, then outputs, each in the data's order) in
    // row k. One row holds the prices of every DMU; otherwise row d holds
    // those of DMU d.
    std::string PricesFileName; // empty = no prices loaded
    std::string PricesName;
    Matrix Prices;

    bool loaded() const { return NumDMU != 0; }
    bool weightsLoaded() const { return !WeightsFileName.empty(); }
    // Whether the loaded restriction table has exactly one column per input
    // and output of this data set. Restrictions kept from a data set with
    // other columns must not be applied: a run would read past the table.
    bool weightsFitData() const
    {
        return NumWeightRows > 0 && WeightRestrictions.rows() == NumInputs + NumOutputs
            && WeightRestrictions.cols() == NumWeightRows;
    }
    bool pricesLoaded() const { return !PricesFileName.empty(); }
    // Whether the loaded prices have one column per input and output of this
    // data set and one row, or one row per DMU.
    bool pricesFitData() const
    {
        return pricesLoaded() && Prices.rows() == NumInputs + NumOutputs && Prices.rows() > 0
            && (Prices.cols() == 1 || (Prices.cols() == NumDMU && NumDMU > 0));
    }
    // The price of variable c (inputs, then outputs) for DMU d; needs pricesFitData().
    double price(int c, int d) const { return Prices(c, Prices.cols() == 1 ? 1 : d); }
};

} // namespace zelvar
