#include "LocaleFormat.h"
#include "XlsBuilder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <sys/resource.h>

using namespace xlstest;

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(VESK3_FIXTURES "/") + name;
}

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// memoryLimit, when not 0, caps the tool's address space, as a machine short of memory would.
Run run(const QStringList &args,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
        rlim_t memoryLimit = 0)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (memoryLimit != 0)
        process.setChildProcessModifier([memoryLimit] {
            const rlimit limit{memoryLimit, memoryLimit};
            setrlimit(RLIMIT_AS, &limit);
        });
    process.start(QStringLiteral(VESK3_BANK_TOOL), args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

Bytes questionRow(unsigned row, const Bytes &question, std::u16string_view lastAnswer = u"так")
{
    Bytes records = question;
    for (unsigned column = 2; column < 6; ++column)
        records += label(row, column, u"відповідь");
    return records + label(row, 6, lastAnswer);
}

// Therapy holds repeats stored as shared and as own texts and as a number, blank questions and a run of
// blank answers; the sheet Csv holds every text that needs quoting.
Bytes problemBank()
{
    Bytes table = Fields().u32(4).u32(4);
    for (const std::u16string_view text : {u"Питання", u"Інше питання", u"Питання", u"  "})
        table += Fields().string(text);
    const auto shared = [](unsigned row, std::uint32_t index) {
        return record(0x00FD, cell(row, 1).u32(index));
    };
    const std::vector<Bytes> questions{shared(0, 0),    shared(1, 1), label(2, 1, u"Питання"),
                                       number(3, 1, 5), shared(4, 2), label(5, 1, u"5"),
                                       shared(6, 3)};
    Bytes therapy;
    for (unsigned row = 0; row < questions.size(); ++row)
        therapy += questionRow(row, questions[row]);
    for (unsigned row = 7; row < 10; ++row)
        therapy += questionRow(
            row, row == 7 ? shared(7, 3) : label(row, 1, u"q" + std::u16string(1, u'0' + row)), u" ");
    therapy += label(10, 0, u"end");
    std::vector<SheetSpec> sheets{{"Therapy", therapy}};
    for (const char *name : {"Surgery", "Pediatry", "Obstetrics", "Infection"})
        sheets.push_back({name, questionRow(0, label(0, 1, u"Питання")) + label(1, 0, u"end")});
    Bytes csv;
    unsigned column = 0;
    for (const std::u16string_view text :
         {u"Питання 1", u"", u" a; b ", u"1,5", u"аркуш \"T\"", u"\"", u"a\nb", u"a\rb"})
        csv += label(0, column++, text);
    // A formatted blank cell beyond the last value, as a sheet formatted to its end has many.
    csv += record(0x0201, cell(2, 11));
    sheets.push_back({"Csv", csv});
    return compoundFile({{u"Workbook", workbookStream(record(0x00FC, table), sheets)}});
}

// Questions as rows of six cells: the question, the right answer, the four wrong ones; then "end".
Bytes subjectSheet(const std::vector<std::array<std::u16string_view, 6>> &questions)
{
    Bytes records;
    for (unsigned row = 0; row < questions.size(); ++row) {
        for (unsigned column = 0; column < 6; ++column)
            records += label(row, column + 1, questions[row][column]);
    }
    return records + label(unsigned(questions.size()), 0, u"end");
}

// Therapy holds the texts that XML and HTML give a meaning to, line breaks and a control character; Surgery
// a question without a right answer; there is no Pediatry and no Obstetrics.
Bytes moodleBank()
{
    const std::vector<SheetSpec> sheets{
        {"Therapy",
         subjectSheet({{u"a & b <i>не тег</i> \"лапки\" ]]> кінець", u"1 < 2 & 3 > 2", u"]]>", u"<![CDATA[",
                        u"&amp;", u"'"},
                       {u"рядок 1\nрядок 2\r\nрядок 3", u"так\u0001", u"ні", u"", u"ні\tні", u"може"}})},
        {"Surgery", subjectSheet({{u"Хірургія 1", u"так", u"ні", u"ні", u"ні", u"ні"},
                                  {u"Хірургія 2", u" ", u"ні", u"ні", u"ні", u"ні"}})},
        {"Infection", subjectSheet({{u"Інфекція 1", u"так", u"ні", u"ні", u"ні", u"ні"}})}};
    return compoundFile({{u"Workbook", workbookStream({}, sheets)}});
}

// A Moodle XML question bank read back: "[category]" for each category, and for each question its name,
// its HTML text, its settings and each answer as "fraction:HTML text".
QStringList moodleQuestions(const QByteArray &xml)
{
    QStringList questions;
    QStringList fields;
    QString fraction;
    bool category = false;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        const QStringView name = reader.name();
        if (reader.isEndElement() && name == u"question") {
            questions.append(category ? u'[' + fields.join(u'|') + u']' : fields.join(u'|'));
        } else if (!reader.isStartElement()) {
            continue;
        } else if (name == u"question") {
            category = reader.attributes().value(u"type"_qs) == u"category";
            fields.clear();
            fraction.clear();
        } else if (name == u"answer") {
            fraction = reader.attributes().value(u"fraction"_qs).toString() + u':';
        } else if (name == u"text") {
            fields.append(fraction + reader.readElementText());
        } else if (name == u"single" || name == u"shuffleanswers" || name == u"answernumbering") {
            fields.append(reader.readElementText());
        }
    }
    if (reader.hasError())
        return {u"XML error: "_qs + reader.errorString()};
    return questions;
}

} // namespace

// The built vesk3-bank, run as a user runs it.
class TestVesk3Bank : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    bool hasUkrainianLocale = false;
    QString problems;

private slots:
    void initTestCase()
    {
        // A locale with a decimal comma, built here since few systems have it.
        hasUkrainianLocale = QProcess::execute("localedef", {"-i", "uk_UA", "-f", "UTF-8",
                                                             folder.filePath("uk_UA.UTF-8")}) == 0;
        problems = folder.filePath("problems.xls");
        QFile file(problems);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(problemBank()));
    }

    // What the user sees: the report or the help on standard output, the reason for a failure on standard
    // error, and the exit code that scripts go by.
    void runs_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out"); // each to be found in standard output; none: it stays empty
        QTest::addColumn<QString>("err");
        const auto row = [](const char *name, const QStringList &args, int exitCode, const QStringList &out,
                            const QString &err = {}) {
            QTest::newRow(name) << args << exitCode << out << err;
        };
        const auto check = [](const QString &file) {
            return QStringList{"check", file.startsWith(u'/') ? file : fixture(file)};
        };
        const QString bankCounts = "Therapy: 12 питань\n"
                                   "  попередження: порожній текст питання (стовпець 2), рядок 7\n"
                                   "  попередження: порожня відповідь (стовпці 3–7), рядок 6\n"
                                   "Surgery: 9 питань\n";
        row("bank too small for the exam", check("bank.xls"), 1,
            {bankCounts +
             "Pediatry: 7 питань\nObstetrics: 5 питань\nInfection: 4 питання\n\n"
             "Екзамен із 200 питань: частки Therapy 65, Surgery 49, Pediatry 38, Obstetrics 27, "
             "Infection 21.\nПРОБЛЕМА: На аркуші «Therapy» 12 питань, а екзамен бере з нього 65: "
             "екзамен скласти неможливо.\n\nПідсумок: програма завантажить банк, але екзамен не "
             "розпочнеться.\n"});
        row("missing sheet", check("bank-missing-sheet.xls"), 1,
            {bankCounts + "Pediatry: ПРОБЛЕМА: У книзі немає аркуша «Pediatry».\nObstetrics: 5 питань\n"
                          "Infection: 4 питання\n\nЕкзамен із 200 питань: частки не обчислено, бо не всі "
                          "предмети вдалося прочитати.\n\nПідсумок: завантаження в програмі зупиниться на "
                          "аркуші «Pediatry».\n"});
        row("blank and repeated questions", check(problems), 1,
            {"Therapy: 10 питань\n  попередження: порожній текст питання (стовпець 2), рядки 7, 8\n"
             "  попередження: порожня відповідь (стовпці 3–7), рядки 8–10\n"
             "  попередження: однаковий текст питання, рядки 1, 3, 5\n"
             "  попередження: однаковий текст питання, рядки 4, 6\nSurgery: 1 питання\n"
             "Pediatry: 1 питання\nObstetrics: 1 питання\nInfection: 1 питання\n\nЕкзамен із 200 питань: "
             "частки Therapy 143, Surgery 14, Pediatry 14, Obstetrics 14, Infection 15.\nПРОБЛЕМА: На "
             "аркуші «Therapy» 10 питань, а екзамен бере з нього 143: екзамен скласти неможливо.\n\n"
             "Підсумок: програма завантажить банк, але екзамен не розпочнеться.\n"});
        row("usable bank", check("bank-exact.xls"), 0,
            {"\nInfection: 380 питань\n\nЕкзамен із 200 питань: частки Therapy 2, Surgery 2, Pediatry 2, "
             "Obstetrics 2, Infection 192.\nЕкзамен скласти можна.\n"});
        row("no marker", check("bank-no-marker.xls"), 1,
            {"\nPediatry: ПРОБЛЕМА: На аркуші «Pediatry» немає позначки кінця «end»"});
        row("help", {"--help"}, 0, {"Коди завершення"});
        row("short help", {"-h"}, 0, {"Коди завершення"});
        row("check missing file", check("no-such-file.xls"), 2, {}, "no-such-file.xls» не знайдено");
        row("export text file", {"export", fixture("not-a-workbook.xls"), "Therapy"}, 2, {},
            "not-a-workbook.xls» не є книгою");
        row("export of a missing sheet", {"export", fixture("bank-missing-sheet.xls"), "Pediatry"}, 3, {},
            "немає аркуша «Pediatry».");
        // Every row from 1 to the last used, also below the marker; every column to the last used: numbers,
        // a line break, the marker, the last row.
        row("export", {"export", fixture("bank.xls"), "Therapy"}, 0,
            {"\r\n,Питання 5 з терапії,12,0.5,-3,1000000,2.25,\r\n",
             "\r\n,\"Питання 3 з терапії\r\nдругий рядок (CR LF)\",Правильна відповідь 3,",
             "\r\nend,,,,,,,\r\n", ",Привид,,,,,\r\n42,,junk,,,,,\r\n"});
        // Numbers and dates as the locale writes them.
        const QStringList values{"export", fixture("cells.xls"), "Values"};
        row("C locale", QStringList{"LC_ALL=C.UTF-8"} + values, 0, {"\r\n0.1,42.5,-0.25,", "\r\n10/14/06,"});
        row("Ukrainian locale", QStringList{"LC_ALL=uk_UA.UTF-8"} + values, 0,
            {"\r\n\"0,1\",\"42,5\",\"-0,25\",", "\r\n14.10.06,"});
        const QString usage = "\nДовідка: vesk3-bank --help\n";
        row("nothing", {}, 64, {}, usage);
        row("unknown command", {"count", fixture("bank.xls")}, 64, {}, usage);
        row("check without workbook", {"check"}, 64, {}, usage);
        row("export without sheet", {"export", fixture("bank.xls")}, 64, {}, usage);
        row("too many", check("bank.xls") + QStringList{"Therapy"}, 64, {}, usage);
    }
    void runs()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, out);
        QFETCH(QString, err);
        // A leading LC_ALL=… sets the locale, as on a shell's command line.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (args.value(0).startsWith("LC_ALL=")) {
            if (args[0].contains("uk_UA") && !hasUkrainianLocale)
                QSKIP("localedef could not build uk_UA.UTF-8");
            environment.insert("LOCPATH", folder.path());
            environment.insert("LC_ALL", args.takeFirst().mid(7));
        }
        const Run result = run(args, environment);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(out.isEmpty() == result.out.isEmpty(), qPrintable(result.out));
        for (const QString &part : out)
            QVERIFY2(result.out.contains(part), qPrintable(result.out));
        QVERIFY2(err.isEmpty() ? result.err.isEmpty()
                               : result.err.startsWith("vesk3-bank: ") && result.err.contains(err),
                 qPrintable(result.err));
    }

    // Locales whose date formats no test machine has.
    void datePatternsFromStrftime_data()
    {
        QTest::addColumn<QString>("strftime");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("ISO") << "%F"
                             << "yyyy-MM-dd";
        QTest::newRow("%D, padding and flags") << "%D %e.%-m.%Ey"
                                               << "MM/dd/yy d.M.yy";
        QTest::newRow("month name as number, weekday left out") << "%a %d %b"
                                                                << " dd MM";
        QTest::newRow("percent signs, non-ASCII") << u"%d%%%m年%"_qs << u"dd%MM年%"_qs;
    }
    void datePatternsFromStrftime()
    {
        QFETCH(QString, strftime);
        QFETCH(QString, pattern);
        QCOMPARE(QString::fromStdString(tools::datePatternFromStrftime(strftime.toStdString())), pattern);
    }

    // Every question of every subject that the program counts, as Moodle will show it; what Moodle cannot
    // take is left out and named; a workbook the program refuses is refused with its message and no file.
    void moodleQuestionBank()
    {
        const QString workbook = folder.filePath("moodle.xls");
        QFile file(workbook);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray::fromStdString(moodleBank())) > 0);
        file.close();
        const QString xml = folder.filePath("moodle.xml");
        const Run skipped = run({"moodle", workbook, xml});
        QCOMPARE(skipped.exitCode, 1);
        QCOMPARE(skipped.out, QString());
        QCOMPARE(skipped.err,
                 u"vesk3-bank: Surgery, питання 2: порожня правильна відповідь; питання пропущено.\n"
                 "vesk3-bank: У книзі немає аркуша «Pediatry». Предмет «Pediatry» пропущено.\n"
                 "vesk3-bank: У книзі немає аркуша «Obstetrics». Предмет «Obstetrics» пропущено.\n"_qs);
        QFile written(xml);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QString settings = u"|true|1|ABCD|100:"_qs;
        QCOMPARE(moodleQuestions(written.readAll()),
                 (QStringList{
                     u"[$course$/Терапія]"_qs,
                     u"Терапія, питання 1|a &amp; b &lt;i&gt;не тег&lt;/i&gt; \"лапки\" ]]&gt; кінець"_qs +
                         settings + u"1 &lt; 2 &amp; 3 &gt; 2|0:]]&gt;|0:&lt;![CDATA[|0:&amp;amp;|0:'"_qs,
                     u"Терапія, питання 2|рядок 1<br>рядок 2<br>рядок 3"_qs + settings +
                         u"так|0:ні|0:|0:ні\tні|0:може"_qs,
                     u"[$course$/Хірургія]"_qs,
                     u"Хірургія, питання 1|Хірургія 1"_qs + settings + u"так|0:ні|0:ні|0:ні|0:ні"_qs,
                     u"[$course$/Інфекція]"_qs,
                     u"Інфекція, питання 1|Інфекція 1"_qs + settings + u"так|0:ні|0:ні|0:ні|0:ні"_qs}));

        // A whole bank to standard output.
        const Run whole = run({"moodle", fixture("bank-exact.xls")});
        QCOMPARE(std::tuple(whole.exitCode, whole.err), std::tuple(0, QString()));
        QCOMPARE(moodleQuestions(whole.out.toUtf8()).size(), 5 + 400);

        const QString refused = folder.filePath("refused.xml");
        const Run encrypted = run({"moodle", fixture("encrypted.xls"), refused});
        QCOMPARE(encrypted.exitCode, 2);
        QCOMPARE(encrypted.err, run({"check", fixture("encrypted.xls")}).err);
        QVERIFY(!QFile::exists(refused));
        // Written over the workbook itself, the bank would be gone.
        QCOMPARE(run({"moodle", workbook, workbook}).exitCode, 64);
        QCOMPARE(QFileInfo(workbook).size(), qint64(moodleBank().size()));
    }

    // Every text that needs quoting, and nothing of the formatted blank cell beyond the last value.
    void exportOfTextsToQuote()
    {
        const Run result = run({"export", problems, "Csv"}, QProcessEnvironment::systemEnvironment());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, "Питання 1,, a; b ,\"1,5\",\"аркуш \"\"T\"\"\",\"\"\"\",\"a\nb\",\"a\rb\"\r\n");
    }

    // A workbook of 8 million cells that needs some 200 MB, read under a limit of 128 MB.
    void tooLittleMemoryIsReported()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer reserves more address space than the limit");
#endif
        const Run result = run({"check", fixture("huge-cells.ods")}, QProcessEnvironment::systemEnvironment(),
                               rlim_t{128} << 20);
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.err.contains("«" + fixture("huge-cells.ods") + "» завелика, щоб її прочитати"),
                 qPrintable(result.err));
    }

    void fullDiskIsReported()
    {
        QProcess process;
        process.setStandardOutputFile("/dev/full");
        process.start(QStringLiteral(VESK3_BANK_TOOL), {"export", fixture("bank-one.xls"), "Therapy"});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 74);
        QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains(u"не вдалося записати"_qs));
    }
};

QTEST_GUILESS_MAIN(TestVesk3Bank)
#include "tst_vesk3bank.moc"
