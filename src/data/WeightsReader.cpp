#include "data/WeightsReader.h"

#include "data/CellNumber.h"
#include "data/Feedback.h"
#include "data/TableSource.h"

#include <new>

namespace zelvar {

namespace {

WeightsReadResult readTable(const std::string &path, int numWeights)
{
    WeightsReadResult result;
    const auto fail = [&](std::string message) {
        result = WeightsReadResult();
        result.message = std::move(message);
        return std::move(result);
    };

    std::string name;
    std::optional<OpenedTable> side = openSideTable(path, "Weights", name);
    if (!side)
        return fail(withFilePath("Unknown weight format (use suffix .xls or .txt)", path));
    OpenedTable &opened = *side;
    if (!opened.table)
        return fail(opened.error);

    TableSource &table = *opened.table;
    if (table.fieldCount() - 1 != numWeights)
        return fail(withFilePath("The No. of Columns must be equal to the No. of Inputs and Outputs. "
                                 "(+ first column for remarks)",
                                 path));
    const int rows = table.recordCount();
    if (rows == 0)
        return fail("Unknown or missing data in " + path + ". Perhaps wrong schema.ini?");

    // Gathered row by row first, so a long file failing early costs little.
    std::vector<double> values;
    int nonzeros = 0;
    table.moveFirst();
    for (int k = 1; k <= rows; ++k) {
        for (int c = 1; c <= numWeights; ++c) {
            const FieldValue value = table.value(c);
            double number = 0.0;
            if (!value.isNull()) {
                const std::optional<double> read = cellNumber(value);
                if (!read)
                    return fail(badCellMessage(path, k, table.fieldName(c), value));
                number = *read;
            }
            if (number != 0.0)
                ++nonzeros;
            values.push_back(number);
        }
        table.moveNext();
    }

    result.outcome = WeightsReadResult::Outcome::Loaded;
    result.WeightsName = name;
    result.NumWeightRows = rows;
    result.WeightNonzeros = nonzeros;
    result.WeightRestrictions = Matrix(numWeights, rows);
    std::size_t next = 0;
    for (int k = 1; k <= rows; ++k)
        for (int c = 1; c <= numWeights; ++c)
            result.WeightRestrictions(c, k) = values[next++];
    return result;
}

} // namespace

WeightsReadResult readWeightsFile(const std::string &path, int numWeights)
{
    try {
        return readTable(path, numWeights);
    } catch (const std::bad_alloc &) {
        WeightsReadResult failed;
        failed.message = "Cannot read " + path + ": there is not enough memory.";
        return failed;
    }
}

} // namespace zelvar
