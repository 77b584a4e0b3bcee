// The FreeXL side of the comparison: open a workbook and find every sheet's rows, as a tool built on
// FreeXL would before it could count questions. Prints the total rows; exit 1 when FreeXL fails.
#include <cstdio>
#include <freexl.h>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vesk3-bench-freexl WORKBOOK\n");
        return 64;
    }
    const void *handle = nullptr;
    if (freexl_open(argv[1], &handle) != FREEXL_OK) {
        std::fprintf(stderr, "FreeXL cannot open %s\n", argv[1]);
        return 1;
    }
    unsigned int sheetCount = 0;
    unsigned long long totalRows = 0;
    bool ok = freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) == FREEXL_OK;
    for (unsigned int i = 0; ok && i < sheetCount; ++i) {
        unsigned int rows = 0;
        unsigned short columns = 0;
        ok = freexl_select_active_worksheet(handle, static_cast<unsigned short>(i)) == FREEXL_OK &&
             freexl_worksheet_dimensions(handle, &rows, &columns) == FREEXL_OK;
        totalRows += rows;
    }
    freexl_close(handle);
    if (!ok) {
        std::fprintf(stderr, "FreeXL cannot read the sheets of %s\n", argv[1]);
        return 1;
    }
    std::printf("%llu\n", totalRows);
    return 0;
}
