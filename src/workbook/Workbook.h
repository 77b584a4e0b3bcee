#pragma once

#include "Sheet.h"

#include <functional>
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
    // Throws BankError with a Ukrainian text naming the path and what is wrong, also when the machine has too
    // little memory for the workbook.
    static Workbook open(const std::string &path);
    // The same for bytes already in memory; sourceName stands for the path in error texts.
    static Workbook fromBytes(std::string_view bytes, const std::string &sourceName);

    const std::vector<Sheet> &sheets() const { return sheetList; }
    // Found without regard to the case of Latin letters, as spreadsheet programs find a sheet, an exact
    // match first; nullptr when the workbook has no such sheet.
    const Sheet *findSheet(std::string_view name) const;

private:
    // The workbook keeps its file's bytes: its texts are read from them when a cell asks.
    static Workbook read(const std::function<std::shared_ptr<const FileBytes>()> &loadBytes,
                         const std::string &sourceName);

    std::vector<Sheet> sheetList;
};

} // namespace workbook
