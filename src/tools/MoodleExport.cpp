#include "MoodleExport.h"

#include "BankCheck.h"
#include "QuestionBank.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace tools {

namespace {

constexpr int QuestionColumn = 2;
constexpr int RightAnswerColumn = 3;
constexpr int AnswerCount = 5;

// U+FFFE and U+FFFF, which XML does not allow, in UTF-8 after their common lead bytes EF BF.
bool isXmlNonCharacter(std::string_view text, std::size_t at)
{
    return text.substr(at, 2) == "\xEF\xBF" && at + 2 < text.size() &&
           (text[at + 2] == '\xBE' || text[at + 2] == '\xBF');
}

// A cell's text as HTML that Moodle shows as the program does: &, < and > escaped, each line break (CR LF,
// CR or LF) as <br>, and what XML does not allow (control characters but tab, U+FFFE, U+FFFF) left out.
// With > escaped no "]]>" can close the CDATA section that holds the result early.
std::string moodleHtml(std::string_view text)
{
    std::string html;
    html.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&') {
            html += "&amp;";
        } else if (c == '<') {
            html += "&lt;";
        } else if (c == '>') {
            html += "&gt;";
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            html += "<br>";
        } else if (isXmlNonCharacter(text, i)) {
            i += 2;
        } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
            html += c;
        }
    }
    return html;
}

void writeText(std::ostream &out, std::string_view text)
{
    out << "<text><![CDATA[" << moodleHtml(text) << "]]></text>";
}

struct Question
{
    std::string text;
    std::array<std::string, AnswerCount> answers; // the right answer first
};

Question readQuestion(const workbook::Sheet &sheet, int row, const workbook::TextFormat &format)
{
    Question question;
    question.text = workbook::cellText(sheet.cell(row, QuestionColumn), format);
    for (int k = 0; k < AnswerCount; ++k)
        question.answers[k] = workbook::cellText(sheet.cell(row, RightAnswerColumn + k), format);
    return question;
}

// Why Moodle would refuse the question (no right answer) or show it without text or without a choice;
// empty when it can be written.
std::string moodleObstacle(const Question &question)
{
    if (workbook::isBlankText(question.text))
        return "порожній текст питання";
    if (workbook::isBlankText(question.answers[0]))
        return "порожня правильна відповідь";
    if (std::all_of(question.answers.begin() + 1, question.answers.end(), workbook::isBlankText))
        return "немає жодної неправильної відповіді";
    return {};
}

void writeQuestion(std::ostream &out, std::string_view title, int number, const Question &question)
{
    out << "  <question type=\"multichoice\">\n"
        << "    <name><text>" << title << ", питання " << number << "</text></name>\n"
        << "    <questiontext format=\"html\">";
    writeText(out, question.text);
    out << "</questiontext>\n"
        << "    <single>true</single>\n"
        << "    <shuffleanswers>1</shuffleanswers>\n"
        << "    <answernumbering>ABCD</answernumbering>\n";
    for (int k = 0; k < AnswerCount; ++k) {
        out << "    <answer fraction=\"" << (k == 0 ? "100" : "0") << "\" format=\"html\">";
        writeText(out, question.answers[k]);
        out << "</answer>\n";
    }
    out << "  </question>\n";
}

// False when a question was left out.
bool writeSubject(std::ostream &out, std::ostream &err, int subject, const workbook::Sheet &sheet,
                  std::int32_t questionCount, const workbook::TextFormat &format)
{
    const std::string_view title = bank::SubjectTitles[subject];
    out << "  <question type=\"category\">\n"
        << "    <category><text>$course$/" << title << "</text></category>\n"
        << "  </question>\n";
    bool complete = true;
    for (int row = 1; row <= questionCount; ++row) {
        const Question question = readQuestion(sheet, row, format);
        const std::string obstacle = moodleObstacle(question);
        if (obstacle.empty()) {
            writeQuestion(out, title, row, question);
        } else {
            err << "vesk3-bank: " << bank::SubjectSheets[subject] << ", питання " << row << ": " << obstacle
                << "; питання пропущено.\n";
            complete = false;
        }
    }
    return complete;
}

} // namespace

bool writeMoodleXml(std::ostream &out, std::ostream &err, const workbook::Workbook &workbook,
                    const workbook::TextFormat &format)
{
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n";
    bool complete = true;
    for (int subject = 0; subject < bank::SubjectCount; ++subject) {
        const CountedSubject counted = countSubject(workbook, bank::SubjectSheets[subject]);
        if (!counted.questionCount) {
            err << "vesk3-bank: " << counted.problem << " Предмет «" << bank::SubjectSheets[subject]
                << "» пропущено.\n";
            complete = false;
            continue;
        }
        complete =
            writeSubject(out, err, subject, *counted.sheet, *counted.questionCount, format) && complete;
    }
    out << "</quiz>\n";
    return complete;
}

} // namespace tools
