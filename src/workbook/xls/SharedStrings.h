#pragma once

#include "FileBytes.h"
#include "RecordCursor.h"
#include "RecordReader.h"
#include "SheetData.h"
#include "StreamView.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace workbook::xls {

// Where a string of the shared-string table (SST) begins: its stream position and the end of the record
// part that holds that position.
struct StringPlace
{
    std::uint32_t position;
    std::uint32_t partEnd;
};

// Finds every string of the SST record just read and of its CONTINUE records, checking that each is whole,
// and leaves the reader after them. Positions fit 32 bits: a workbook is at most 1 GB.
std::vector<StringPlace> findSharedStrings(RecordReader &records, std::span<const std::uint8_t> sst);

// The workbook's shared strings. Most of a workbook's bytes are these texts, so they stay where they lie
// in the file and become UTF-8 only when a cell is read: opening walks their headers alone, and the
// memory needed is little more than the file's size.
class SharedStrings : public SharedTexts
{
public:
    SharedStrings(std::shared_ptr<const FileBytes> file, StreamView stream, std::vector<StringPlace> places)
        : file(std::move(file)), stream(std::move(stream)), places(std::move(places))
    {}

    std::size_t size() const override { return places.size(); }
    std::string text(std::size_t index) const override;
    // Told without converting the string.
    bool isBlank(std::size_t index) const override;
    // Got without converting the string.
    std::uint64_t textHash(std::size_t index) const override;

private:
    // At the string's header.
    ContinuedRecord reader(std::size_t index) const;

    std::shared_ptr<const FileBytes> file; // the bytes the stream reads
    StreamView stream;
    std::vector<StringPlace> places;
};

} // namespace workbook::xls
