#pragma once

#include "SheetData.h"
#include "TextPool.h"

#include <memory>
#include <string>

namespace workbook {
class ZipArchive;
}

namespace workbook::xlsx {

// The workbook's shared-string table, decoded once into one pool.
class SharedStrings : public SharedTexts
{
public:
    explicit SharedStrings(TextPool texts, std::size_t count) : texts(std::move(texts)), count(count) {}

    std::size_t size() const override { return count; }
    std::string text(std::size_t index) const override { return std::string(texts.text(index)); }
    bool isBlank(std::size_t index) const override;
    std::uint64_t textHash(std::size_t index) const override;

private:
    TextPool texts;
    std::size_t count;
};

// Reads the part; the count it states is not trusted, the strings are counted as they come.
std::shared_ptr<const SharedStrings> readSharedStrings(const ZipArchive &archive, const std::string &part);

} // namespace workbook::xlsx
