#pragma once

#include "BankError.h"

#include <exception>
#include <string>
#include <string_view>

namespace workbook {

// Why a workbook cannot be read. The parsing code knows what is wrong but not which file it reads;
// Workbook turns the failure into the user's text, which names the file.
enum class Fault
{
    Missing,
    Unreadable,
    TooLarge,
    Empty,
    NotWorkbook,
    OlderFormat,
    Encrypted,
    Damaged,
    // The ZIP formats (.xlsx, .ods): the failure names the archive's part where there is one.
    DamagedArchive,
    MissingPart,
    DamagedPart,     // not well-formed XML, or a DTD (refused: a workbook needs none, and entities can bomb)
    PartTooLarge,    // inflates past the cap: an inflation bomb
    ArchiveTooLarge, // the parts read so far inflate past the cap for all together
    DuplicatePart,   // two entries of one name: readers would disagree about which one the workbook holds
    // A tag, attribute or comment far longer, or elements nested far deeper, than any workbook has: made to
    // cost minutes or gigabytes.
    OverlongToken,
    DeepNesting,
    OutOfMemory, // the machine has too little memory for what the file holds
};

// The part of a damaged file, named in the text so that whoever repairs the file knows where to look.
enum class Part
{
    Header,
    SectorTable,
    Directory,
    WorkbookStream,
    SharedStrings,
    Sheet
};

class ReadFailure : public std::exception
{
public:
    explicit ReadFailure(Fault fault, Part part = Part::Header, std::string sheetName = {})
        : fault(fault), part(part), name(std::move(sheetName))
    {}
    // A failure of a ZIP format; partName is empty when it concerns the archive as a whole.
    static ReadFailure inPart(Fault fault, std::string partName)
    {
        return ReadFailure(fault, Part::Header, std::move(partName));
    }

    const char *what() const noexcept override { return "workbook cannot be read"; }
    // The Ukrainian text for the user; source is the file's path or the name that stands for it.
    BankError toBankError(const std::string &source) const;

private:
    Fault fault;
    Part part;
    std::string name; // the sheet's, or the archive part's
};

// Where the code that is reading stands, so that a check that fails can name the damaged part.
struct DamageSite
{
    Part part;
    std::string_view sheetName = {};

    [[noreturn]] void fail() const { throw ReadFailure(Fault::Damaged, part, std::string(sheetName)); }
};

} // namespace workbook
