#include "Globals.h"

#include "LittleEndian.h"
#include "RecordCursor.h"

namespace workbook::xls {

namespace {

constexpr DamageSite streamSite{Part::WorkbookStream};
constexpr std::uint16_t biff8 = 0x0600;

// The beginning-of-file record of an older BIFF version: BIFF2, BIFF3 and BIFF4 have their own record
// types, BIFF5 and BIFF7 (Excel 95) a lower version number.
bool isOlderBeginning(const Record &bof)
{
    if (bof.type == 0x0009 || bof.type == 0x0209 || bof.type == 0x0409)
        return true;
    return bof.type == record::bof && bof.data.size() >= 2 && readU16(bof.data.data()) < biff8;
}

SheetEntry readSheetEntry(std::span<const std::uint8_t> data, bool &isWorksheet)
{
    RecordCursor in(data, streamSite);
    SheetEntry entry;
    entry.offset = in.u32();
    in.u8(); // visibility: hidden sheets are read too
    isWorksheet = in.u8() == 0;
    in.appendString(in.u8(), entry.name);
    return entry;
}

} // namespace

void checkBeginning(const Record &bof, std::uint16_t substreamType, DamageSite site)
{
    RecordCursor in(bof.data, site);
    if (bof.type != record::bof || in.u16() != biff8 || in.u16() != substreamType)
        site.fail();
}

Globals readGlobals(RecordReader &records)
{
    const auto bof = records.next();
    if (!bof)
        streamSite.fail();
    if (isOlderBeginning(*bof))
        throw ReadFailure(Fault::OlderFormat);
    checkBeginning(*bof, substream::globals, streamSite);
    Globals globals;
    for (;;) {
        const auto r = records.next();
        if (!r)
            streamSite.fail();
        RecordCursor in(r->data, streamSite);
        switch (r->type) {
        case record::endOfFile:
            globals.end = records.position();
            return globals;
        case record::filepass:
            throw ReadFailure(Fault::Encrypted);
        case record::datemode:
            globals.dates1904 = in.u16() != 0;
            break;
        case record::format: {
            const std::uint16_t id = in.u16();
            std::string code;
            in.appendString(in.u16(), code);
            globals.formats.addFormat(id, code);
            break;
        }
        case record::xf:
            in.u16(); // font
            globals.formats.addCellStyle(in.u16());
            break;
        case record::boundsheet: {
            bool isWorksheet = false;
            SheetEntry entry = readSheetEntry(r->data, isWorksheet);
            if (isWorksheet)
                globals.worksheets.push_back(std::move(entry));
            break;
        }
        case record::sst:
            globals.sharedStrings = findSharedStrings(records, r->data);
            break;
        default:
            break;
        }
    }
}

} // namespace workbook::xls
