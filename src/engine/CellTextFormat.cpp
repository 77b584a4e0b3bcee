#include "CellTextFormat.h"

#include <QLocale>

namespace vesk3 {

workbook::TextFormat cellTextFormat(const QLocale &locale)
{
    return {locale.decimalPoint().toStdString(), locale.dateFormat(QLocale::ShortFormat).toStdString()};
}

} // namespace vesk3
