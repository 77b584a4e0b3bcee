#include "ReadFailure.h"

#include "XmlParser.h"
#include "ZipArchive.h"

namespace workbook {

namespace {

// Accusative: the texts say "не вдається прочитати <part>".
std::string partName(Part part, const std::string &sheetName)
{
    switch (part) {
    case Part::Header:
        return "заголовок файлу";
    case Part::SectorTable:
        return "таблицю розміщення секторів";
    case Part::Directory:
        return "каталог потоків";
    case Part::WorkbookStream:
        return "потік «Workbook»";
    case Part::SharedStrings:
        return "таблицю спільних рядків";
    case Part::Sheet:
        return "аркуш «" + sheetName + "»";
    }
    return {};
}

} // namespace

BankError ReadFailure::toBankError(const std::string &source) const
{
    const std::string resaveAdvice = " Візьміть неушкоджену копію або спробуйте відкрити файл в Excel чи "
                                     "LibreOffice Calc і зберегти його знову.";
    // Any of the three formats will do: the program reads them all.
    const std::string saveAsAdvice = " і збережіть як книгу .xlsx, .ods чи .xls.";
    const std::string file = "«" + source + "»";
    switch (fault) {
    case Fault::Missing:
        return BankError("Файл " + file +
                         " не знайдено. Перевірте, чи він лежить на своєму місці і чи правильно "
                         "вказано його назву.");
    case Fault::Unreadable:
        return BankError("Не вдається прочитати файл " + file +
                         ". Перевірте, чи це справді файл і чи маєте ви право його читати.");
    case Fault::TooLarge:
        return BankError("Файл " + file +
                         " завеликий для книги з питаннями (понад 1 ГБ). Перевірте, чи вибрано "
                         "правильний файл.");
    case Fault::Empty:
        return BankError("Файл " + file + " порожній. Замініть його справжньою книгою з питаннями.");
    case Fault::NotWorkbook:
        return BankError(
            "Файл " + file +
            " не є книгою Excel чи LibreOffice Calc. Якщо в ньому все ж є питання, відкрийте його в "
            "Excel чи LibreOffice Calc" +
            saveAsAdvice);
    case Fault::OlderFormat:
        return BankError("Файл " + file +
                         " збережено в застарілому форматі Excel 95 або давнішому, якого програма не "
                         "читає. Відкрийте його в Excel чи LibreOffice Calc" +
                         saveAsAdvice);
    case Fault::Encrypted:
        return BankError("Книгу " + file +
                         " захищено паролем. Відкрийте її в Excel чи LibreOffice Calc, зніміть пароль" +
                         saveAsAdvice);
    case Fault::Damaged:
        return BankError("Файл " + file + " пошкоджено: не вдається прочитати " + partName(part, name) + "." +
                         resaveAdvice);
    case Fault::DamagedArchive:
        return BankError("Файл " + file + " пошкоджено: не вдається розпакувати " +
                         (name.empty() ? std::string("архів ZIP, яким є книга .xlsx чи .ods")
                                       : "частину «" + name + "» його архіву ZIP") +
                         "." + resaveAdvice);
    case Fault::MissingPart:
        return BankError("Файл " + file + " пошкоджено: у ньому бракує частини «" + name +
                         "», без якої книгу не прочитати." + resaveAdvice);
    case Fault::DamagedPart:
        return BankError("Файл " + file + " пошкоджено: його частина «" + name +
                         "» — не правильний XML або містить оголошення DTD, якого книги не мають." +
                         resaveAdvice);
    case Fault::PartTooLarge:
        return BankError(
            "Файл " + file + " пошкоджено або підроблено: його частина «" + name +
            "» після розпакування займає понад " + std::to_string(ZipArchive::maxPartSize >> 20) +
            " МБ, більше, ніж будь-яка книга з питаннями. Перевірте, чи вибрано правильний файл.");
    case Fault::ArchiveTooLarge:
        return BankError(
            "Файл " + file + " пошкоджено або підроблено: його частини, прочитані до «" + name +
            "» включно, після розпакування займають понад " + std::to_string(ZipArchive::maxTotalSize >> 20) +
            " МБ, більше, ніж будь-яка книга з питаннями. Перевірте, чи вибрано правильний файл.");
    case Fault::DuplicatePart:
        return BankError("Файл " + file + " пошкоджено або підроблено: частина «" + name +
                         "» є в його архіві ZIP двічі, і різні програми прочитали б із нього різне." +
                         resaveAdvice);
    case Fault::OverlongToken:
        return BankError("Файл " + file + " пошкоджено або підроблено: його частина «" + name +
                         "» містить тег, атрибут чи коментар XML довший за " +
                         std::to_string(maxXmlTokenSize >> 20) +
                         " МБ, яких книги з питаннями не мають. Перевірте, чи вибрано правильний файл.");
    case Fault::DeepNesting:
        return BankError("Файл " + file + " пошкоджено або підроблено: у його частині «" + name +
                         "» елементи XML вкладено глибше ніж на " + std::to_string(maxXmlDepth) +
                         " рівнів, чого книги з питаннями не мають. Перевірте, чи вибрано правильний файл.");
    case Fault::OutOfMemory:
        return BankError("Книга " + file +
                         " завелика, щоб її прочитати: на комп’ютері бракує пам’яті. Перевірте, чи вибрано "
                         "правильний файл, або закрийте інші програми й спробуйте знову.");
    }
    return BankError("Не вдається прочитати файл " + file + ".");
}

} // namespace workbook
