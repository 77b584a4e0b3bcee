#pragma once

#include "CellText.h"
#include "Workbook.h"

#include <ostream>

namespace tools {

// Every subject's questions as a Moodle XML question bank (UTF-8): one category per subject, named with its
// Ukrainian name, each followed by its questions as single-answer multiple-choice questions with the right
// answer at 100 % and the other four at 0, lettered A to E and shuffled by Moodle. A subject that the
// program cannot count, and a question that Moodle would refuse or show without a choice, are left out with
// a line on `err`. False when anything was left out.
bool writeMoodleXml(std::ostream &out, std::ostream &err, const workbook::Workbook &workbook,
                    const workbook::TextFormat &format);

} // namespace tools
