#include "data/DataFileReader.h"

#include "data/CellNumber.h"
#include "data/Feedback.h"
#include "data/TableSource.h"
#include "data/TextUtil.h"

#include <new>

namespace zelvar {

namespace {

// The matrices are filled DMU by DMU from values gathered record by record,
// so a file claiming a million records but failing at the first costs
// nothing.
Matrix toMatrix(const std::vector<double> &values, int rows, int cols)
{
    Matrix matrix(rows, cols);
    std::size_t k = 0;
    for (int col = 1; col <= cols; ++col)
        for (int row = 1; row <= rows; ++row)
            matrix(row, col) = values[k++];
    return matrix;
}

// Names and non-discretionary marks of the inputs and outputs, in column
// order; whether each field is an input.
std::vector<bool> readColumnNames(const TableSource &table, int inputs, int outputs, DataSet &data)
{
    const int fields = table.fieldCount();
    data.NumInputs = inputs;
    data.NumOutputs = outputs;
    data.InputNames.assign(static_cast<std::size_t>(inputs) + 1, std::string());
    data.OutputNames.assign(static_cast<std::size_t>(outputs) + 1, std::string());
    data.InputNonDisc.assign(static_cast<std::size_t>(inputs) + 1, 0);
    data.OutputNonDisc.assign(static_cast<std::size_t>(outputs) + 1, 0);
    std::vector<bool> isInput(static_cast<std::size_t>(fields), false);
    for (int k = 1, i = 0, r = 0; k < fields; ++k) {
        const std::string &name = table.fieldName(k);
        if (name.find("{I") != std::string::npos) {
            isInput[static_cast<std::size_t>(k)] = true;
            ++i;
            data.InputNames[static_cast<std::size_t>(i)] = name;
            data.InputNonDisc[static_cast<std::size_t>(i)] = name.find("{IN") != std::string::npos ? 1 : 0;
        } else {
            ++r;
            data.OutputNames[static_cast<std::size_t>(r)] = name;
            data.OutputNonDisc[static_cast<std::size_t>(r)] = name.find("{ON") != std::string::npos ? 1 : 0;
        }
    }
    return isInput;
}

DataReadResult readTable(const std::string &path, DataReadResult &result)
{
    using Outcome = DataReadResult::Outcome;
    const auto refuse = [&](std::string message) {
        result.outcome = Outcome::Refused;
        result.message = std::move(message);
        return std::move(result);
    };

    // The format is told by the first ".xls" anywhere in the path, else
    // ".txt", ignoring case; the stem is the path before it.
    const std::string lower = asciiLower(path);
    OpenedTable opened;
    std::size_t suffix = lower.find(".xls");
    if (suffix != std::string::npos) {
        opened = openWorkbookSheet(path, "Data");
    } else if ((suffix = lower.find(".txt")) != std::string::npos) {
        const std::size_t slash = path.rfind('/');
        const std::string bare = slash == std::string::npos ? path : path.substr(slash + 1);
        const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
        opened = openTextTable(folder, bare);
    } else {
        return refuse(withFilePath("Unknown data format (use suffix .xls or .txt)", path));
    }
    if (!opened.table)
        return refuse(opened.error);

    DataSet &data = result.data;
    data.DataFileStem = path.substr(0, suffix);
    TableSource &table = *opened.table;
    const int records = table.recordCount();
    const int fields = table.fieldCount();

    int inputs = 0;
    int outputs = 0;
    for (int k = 1; k < fields; ++k) {
        const std::string &name = table.fieldName(k);
        if (name.find("{I") != std::string::npos)
            ++inputs;
        else if (name.find("{O") != std::string::npos)
            ++outputs;
        else
            return refuse(withFilePath(name + "Data file contains unknown column (missing {I} or {O})", path));
    }
    if (records == 0 || inputs == 0 || outputs == 0) {
        result.outcome = Outcome::NoData;
        result.message = "Unknown or missing data in " + path + ". Perhaps wrong schema.ini?";
        return std::move(result);
    }

    const std::vector<bool> isInput = readColumnNames(table, inputs, outputs, data);
    std::vector<std::string> names(1);
    std::vector<double> x;
    std::vector<double> y;
    table.moveFirst();
    for (int d = 1; d <= records; ++d) {
        names.push_back("    " + cellText(table.value(0)));
        for (int k = 1; k < fields; ++k) {
            const FieldValue value = table.value(k);
            const std::optional<double> number = cellNumber(value);
            if (!number)
                return refuse(badCellMessage(path, d, table.fieldName(k), value));
            (isInput[static_cast<std::size_t>(k)] ? x : y).push_back(*number);
        }
        table.moveNext();
    }

    data.NumDMU = records;
    data.DMUNames = std::move(names);
    data.InputData = toMatrix(x, inputs, records);
    data.OutputData = toMatrix(y, outputs, records);
    result.outcome = Outcome::Loaded;
    return std::move(result);
}

} // namespace

DataReadResult readDataFile(const std::string &path)
{
    DataReadResult result;
    result.data.DataFileName = path;
    try {
        return readTable(path, result);
    } catch (const std::bad_alloc &) {
        DataReadResult failed;
        failed.data.DataFileName = path;
        failed.message = "Cannot read " + path + ": there is not enough memory.";
        return failed;
    }
}

} // namespace zelvar
