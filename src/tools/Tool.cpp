#include "Tool.h"

#include "BankCheck.h"
#include "BankError.h"
#include "CsvExport.h"
#include "LocaleFormat.h"
#include "MoodleExport.h"
#include "Workbook.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace tools {

namespace {

constexpr std::string_view Help = R"(Використання:
  vesk3-bank check КНИГА
  vesk3-bank export КНИГА АРКУШ
  vesk3-bank moodle КНИГА [ФАЙЛ]
  vesk3-bank --help | -h

Перевіряє книгу питань vesk3 (.xls, .xlsx або .ods) так, як її читає програма, виводить її аркуш у CSV
або записує всі її питання для Moodle.

Команди:
  check КНИГА
      Для кожного з п’яти предметів (аркуші Therapy, Surgery, Pediatry, Obstetrics, Infection;
      великі й малі літери в назві аркуша не розрізняються):
      скільки питань нарахує програма або що її зупинить (немає аркуша; немає позначки «end»
      у стовпці 1 до останнього заповненого рядка). Попереджає про питання з порожнім текстом
      (стовпець 2) або порожньою відповіддю (стовпці 3–7; клітинка лише з пробілами теж порожня)
      і про однакові тексти питань в одному предметі: програма показує їх як є, тож це лише
      попередження. Наприкінці — частки екзамену з 200 питань і чи можна скласти екзамен.
  export КНИГА АРКУШ
      Виводить аркуш у CSV: UTF-8, поля через кому, кожен рядок закінчується CRLF, поле з комою,
      лапками, CR або LF береться в лапки, лапки в ньому подвоюються. Рядки від 1 до останнього
      заповненого, стовпці від 1 до останнього заповненого; кожна клітинка — такий текст, як
      у програмі, числа й дати за поточною локаллю (LC_ALL, LC_NUMERIC, LC_TIME).
  moodle КНИГА [ФАЙЛ]
      Записує питання всіх п’яти предметів у форматі Moodle XML (UTF-8) у ФАЙЛ, а без нього —
      у стандартний вивід: для кожного предмета категорія з його українською назвою, за нею його
      питання з множинним вибором, одна правильна відповідь (100 %) і чотири неправильні (0 %),
      позначені A–E й перемішані Moodle; розриви рядків зберігаються, числа й дати — як у export.
      Предмет, на якому зупинилося б завантаження в програмі, і питання з порожнім текстом,
      порожньою правильною відповіддю або без жодної неправильної пропускаються з рядком
      у стандартному потоці помилок. У Moodle файл імпортують у банк питань у форматі «Moodle XML»,
      беручи категорії з файлу.

Коди завершення:
  0   check: програма може використати весь банк (попередження їй не заважають);
      export: аркуш виведено; moodle: записано всі питання
  1   check: програма натрапить на проблему (немає аркуша, немає позначки «end»,
      екзамен скласти неможливо); moodle: предмет або питання пропущено
  2   книгу не вдалося прочитати (причина — у стандартному потоці помилок)
  3   export: у книзі немає аркуша з такою назвою
  64  неправильний виклик (також moodle з ФАЙЛОМ, що є самою книгою)
  74  не вдалося записати результат
)";

int usageError(std::ostream &err, const std::string &what)
{
    err << "vesk3-bank: " << what << "\nДовідка: vesk3-bank --help\n";
    return exitcode::Usage;
}

std::optional<workbook::Workbook> openWorkbook(const std::string &path, std::ostream &err)
{
    try {
        return workbook::Workbook::open(path);
    } catch (const workbook::BankError &error) {
        err << "vesk3-bank: " << error.what() << '\n';
        return std::nullopt;
    }
}

int check(const std::string &path, std::ostream &out, std::ostream &err)
{
    const std::optional<workbook::Workbook> workbook = openWorkbook(path, err);
    if (!workbook)
        return exitcode::Unreadable;
    const BankCheck result = checkBank(*workbook);
    printBankCheck(out, result);
    return result.programCanUseWholeBank() ? exitcode::Success : exitcode::BankProblem;
}

int exportSheet(const std::string &path, const std::string &sheetName, std::ostream &out, std::ostream &err)
{
    const std::optional<workbook::Workbook> workbook = openWorkbook(path, err);
    if (!workbook)
        return exitcode::Unreadable;
    const workbook::Sheet *sheet = workbook->findSheet(sheetName);
    if (sheet == nullptr) {
        err << "vesk3-bank: у книзі «" << path << "» немає аркуша «" << sheetName << "».\n";
        return exitcode::NoSuchSheet;
    }
    writeCsv(out, *sheet, textFormatFromCLocale());
    return exitcode::Success;
}

// The whole file is written only after the workbook has been read, and never over the workbook itself.
int exportMoodle(const std::string &path, const std::optional<std::string> &outputPath, std::ostream &out,
                 std::ostream &err)
{
    std::error_code sameFileError;
    if (outputPath && std::filesystem::equivalent(path, *outputPath, sameFileError))
        return usageError(err, "файл «" + *outputPath + "» — це сама книга; вкажіть інший файл для XML.");
    const std::optional<workbook::Workbook> workbook = openWorkbook(path, err);
    if (!workbook)
        return exitcode::Unreadable;
    if (!outputPath)
        return writeMoodleXml(out, err, *workbook, textFormatFromCLocale()) ? exitcode::Success
                                                                            : exitcode::BankProblem;
    std::ostringstream xml;
    const bool complete = writeMoodleXml(xml, err, *workbook, textFormatFromCLocale());
    std::ofstream file(*outputPath, std::ios::binary | std::ios::trunc);
    file << xml.view();
    file.close();
    if (!file) {
        err << "vesk3-bank: не вдалося записати файл «" << *outputPath << "».\n";
        return exitcode::WriteFailed;
    }
    return complete ? exitcode::Success : exitcode::BankProblem;
}

int dispatch(std::span<const std::string> args, std::ostream &out, std::ostream &err)
{
    if (args.empty())
        return usageError(err, "не вказано команду.");
    const std::string &command = args[0];
    if (command == "--help" || command == "-h") {
        out << Help;
        return exitcode::Success;
    }
    if (command == "check") {
        if (args.size() != 2)
            return usageError(err, "check потребує одного аргументу: шляху до книги.");
        return check(args[1], out, err);
    }
    if (command == "export") {
        if (args.size() != 3)
            return usageError(err, "export потребує двох аргументів: шляху до книги й назви аркуша.");
        return exportSheet(args[1], args[2], out, err);
    }
    if (command == "moodle") {
        if (args.size() != 2 && args.size() != 3)
            return usageError(err, "moodle потребує шляху до книги й, за бажанням, шляху до файлу XML.");
        return exportMoodle(args[1], args.size() == 3 ? std::optional(args[2]) : std::nullopt, out, err);
    }
    return usageError(err, "невідома команда «" + command + "».");
}

} // namespace

int runTool(std::span<const std::string> args, std::ostream &out, std::ostream &err)
{
    const int code = dispatch(args, out, err);
    if (!out.flush()) {
        err << "vesk3-bank: не вдалося записати результат.\n";
        return exitcode::WriteFailed;
    }
    return code;
}

} // namespace tools
