#include "data/PricesReader.h"

#include "data/CellNumber.h"
#include "data/Feedback.h"
#include "data/NumberText.h"
#include "data/TableSource.h"

#include <cmath>
#include <new>
#include <vector>

namespace zelvar {

namespace {

std::string plural(int count, const char *one, const char *many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

PricesReadResult readTable(const std::string &path, int numInputs, int numOutputs, int numDMU)
{
    PricesReadResult result;
    const auto fail = [&](std::string message) {
        result = PricesReadResult();
        result.message = std::move(message);
        return std::move(result);
    };

    std::string name;
    std::optional<OpenedTable> side = openSideTable(path, "Prices", name);
    if (!side)
        return fail(withFilePath("Unknown prices format (use suffix .xls or .txt)", path));
    OpenedTable &opened = *side;
    if (!opened.table)
        return fail(opened.error);

    TableSource &table = *opened.table;
    const int numPrices = numInputs + numOutputs;
    const int columns = table.fieldCount() - 1;
    if (columns != numPrices)
        return fail(withFilePath("The prices file has " + plural(std::max(columns, 0), "price column", "price columns")
                                     + ", but the data has " + plural(numInputs, "input", "inputs") + " and "
                                     + plural(numOutputs, "output", "outputs")
                                     + ": it needs a first column of labels, then one price column per input "
                                       "and per output ("
                                     + std::to_string(numPrices) + ").",
                                 path));
    const int rows = table.recordCount();
    if (rows != 1 && rows != numDMU)
        return fail(withFilePath("The prices file has " + plural(rows, "row", "rows") + " of prices, but the data has "
                                     + plural(numDMU, "DMU", "DMUs")
                                     + ": give one row (the same prices for every DMU) or one row per DMU.",
                                 path));

    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(numPrices));
    table.moveFirst();
    for (int k = 1; k <= rows; ++k) {
        for (int c = 1; c <= numPrices; ++c) {
            const FieldValue value = table.value(c);
            double number = 0.0;
            if (!value.isNull()) {
                const std::optional<double> read = cellNumber(value);
                if (!read || !std::isfinite(*read))
                    return fail(badCellMessage(path, k, table.fieldName(c), value));
                number = *read;
            }
            if (number < 0.0)
                return fail("Cannot read " + path + ": record " + std::to_string(k) + ", column "
                            + table.fieldName(c) + " holds the price " + numberToText(number)
                            + "; prices must be 0 or more.");
            values.push_back(number + 0.0); // -0 becomes 0
        }
        table.moveNext();
    }

    result.outcome = PricesReadResult::Outcome::Loaded;
    result.PricesName = name;
    result.Prices = Matrix(numPrices, rows);
    std::size_t next = 0;
    for (int k = 1; k <= rows; ++k)
        for (int c = 1; c <= numPrices; ++c)
            result.Prices(c, k) = values[next++];
    return result;
}

} // namespace

PricesReadResult readPricesFile(const std::string &path, int numInputs, int numOutputs, int numDMU)
{
    try {
        return readTable(path, numInputs, numOutputs, numDMU);
    } catch (const std::bad_alloc &) {
        PricesReadResult failed;
        failed.message = "Cannot read " + path + ": there is not enough memory.";
        return failed;
    }
}

} // namespace zelvar
