#include "WindowFont.h"

#include <QFontDatabase>

namespace vesk3 {

QFont windowFont(int pixelHeight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelHeight);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

} // namespace vesk3
