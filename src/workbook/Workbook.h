#pragma once

#include "Sheet.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace workbook {

class FileBytes;

// A workbook read into memory when opened, its format told by its content. Never written.
class Workbook
{
public:
    // Throws BankError with a Ukrainian text naming the path and what is wrong.
    static Workbook open(const std::string &path);
    // The same for bytes already in memory; sourceName stands for the path in error texts.
    static Workbook fromBytes(std::string_view bytes, const std::string &sourceName);

    const std::vector<Sheet> &sheets() const { return sheetList; }
    // Exact, case-sensitive match; nullptr when the workbook has no such sheet.
    const Sheet *findSheet(std::string_view name) const;

private:
    // The workbook keeps its file's bytes: its texts are read from them when a cell asks.
    static Workbook read(std::shared_ptr<const FileBytes> bytes, const std::string &sourceName);

    std::vector<Sheet> sheetList;
};

} // namespace workbook
