#include "BankLoading.h"

#include "BankError.h"

#include <filesystem>

namespace bank {

std::string workbookPath(std::string_view executablePath)
{
    const auto separator = executablePath.rfind('/');
    const auto folder =
        separator == std::string_view::npos ? std::string_view() : executablePath.substr(0, separator + 1);
    return std::string(folder) + std::string(WorkbookFileName);
}

std::string chooseWorkbook(const std::string &path)
{
    namespace fs = std::filesystem;
    const fs::path xls(path);
    std::string names;
    for (const std::string_view extension : WorkbookExtensions) {
        const fs::path candidate =
            extension == WorkbookExtensions[0] ? xls : fs::path(xls).replace_extension(extension);
        // A file that exists but cannot be looked at is chosen: opening it tells what is wrong.
        std::error_code error;
        if (fs::status(candidate, error).type() != fs::file_type::not_found)
            return candidate.string();
        names += (names.empty() ? "«" : ", «") + candidate.filename().string() + "»";
    }
    const std::string folder = xls.has_parent_path() ? xls.parent_path().string() : ".";
    throw workbook::BankError("У теці «" + folder + "» немає книги питань: жодного з файлів " + names +
                              ". Покладіть туди книгу питань у форматі .xls, .xlsx або .ods.");
}

void loadQuestionBank(ExcelApplication &ExcelApp, const std::string &path, BankSizes &BankSize,
                      const LoadingProgress &progress)
{
    ExcelApp.connect();
    ExcelApp.setDisplayAlerts(false);
    progress(20);
    ExcelApp.openWorkbook(chooseWorkbook(path));
    progress(40);
    for (int i = 0; i < SubjectCount; ++i) {
        ExcelApp.findWorksheet(SubjectSheets[i]);
        BankSize[i] = CountQuestions(ExcelApp);
        progress(60 + 20 * i);
    }
    ExcelApp.findWorksheet(SubjectSheets[0]);
    ExcelApp.activateWorksheet();
}

std::int32_t CountQuestions(const ExcelApplication &ExcelApp)
{
    return countQuestions(ExcelApp.worksheet());
}

void makeSubjectCurrent(ExcelApplication &ExcelApp, std::string_view subjectName)
{
    if (ExcelApp.worksheetName() == subjectName)
        return;
    ExcelApp.findWorksheet(subjectName);
    ExcelApp.activateWorksheet();
}

QuestionTexts ReadQuestion(ExcelApplication &ExcelApp, std::string_view subjectName, int number)
{
    makeSubjectCurrent(ExcelApp, subjectName);
    QuestionTexts texts;
    texts.question = ExcelApp.readCell(number, QuestionColumn);
    for (int k = 0; k < AnswerCount; ++k)
        texts.answers[k] = ExcelApp.readCell(number, RightAnswerColumn + k);
    return texts;
}

} // namespace bank
