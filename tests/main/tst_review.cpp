#include "TestRunFixture.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace vesk3;

namespace {

// The review's five answers in the worksheet's order, each as "letter|colour|text": question `number`, whose
// answers stood on screen as `shown` when `chosen` was chosen.
QStringList expectedAnswers(int number, const QStringList &shown = {}, const QString &chosen = {})
{
    QStringList texts{u"Правильна відповідь %1"_qs.arg(number)};
    for (int k = 1; k <= 4; ++k)
        texts.append(u"Неправильна %1.%2"_qs.arg(number).arg(k));
    QStringList rows;
    for (const QString &text : texts) {
        const QString letter = chosen.isEmpty() ? QString() : QString(QChar(u'A' + int(shown.indexOf(text))));
        const QString colour = text == texts[0] ? u"green"_qs : text == chosen ? u"red"_qs : QString();
        rows.append(letter + u'|' + colour + u'|' + text);
    }
    return rows;
}

// The review window as the user sees it.
struct Review
{
    QWidget *window;

    QTreeWidget *list() const { return window->findChild<QTreeWidget *>("QuestionList"); }
    // The listed rows as "number subject outcome", a bookmark box as [x] or [ ].
    QStringList rows() const
    {
        QStringList seen;
        for (int row = 0; row < list()->topLevelItemCount(); ++row) {
            const QTreeWidgetItem *item = list()->topLevelItem(row);
            if (item->isHidden())
                continue;
            QString mark;
            if (item->data(0, Qt::CheckStateRole).isValid())
                mark = item->checkState(0) == Qt::Checked ? u" [x]"_qs : u" [ ]"_qs;
            seen.append(item->text(0) + mark + u' ' + item->text(1) + u' ' + item->text(2));
        }
        return seen;
    }
    QStringList answers() const
    {
        QStringList seen;
        for (int k = 1; k <= 5; ++k) {
            const auto *box = window->findChild<QPlainTextEdit *>(u"Answer%1"_qs.arg(k));
            const QColor colour = box->palette().color(QPalette::Base);
            const QString name = colour == QColor(0, 255, 0)                  ? u"green"_qs
                                 : colour.red() > 200 && colour.green() < 150 ? u"red"_qs
                                                                              : QString();
            seen.append(window->findChild<QLabel *>(u"Letter%1"_qs.arg(k))->text() + u'|' + name + u'|' +
                        box->toPlainText());
        }
        return seen;
    }
    // The summary shows the figures of the results dialog, given as "passed|right|wrong|score".
    QString figures() const
    {
        QStringList values;
        for (const QString &part : window->findChild<QLabel *>("SummaryLabel")->text().split(u"   ·   "_qs))
            values.append(part.section(u": "_qs, 1));
        return values.join(u'|');
    }
};

// "Зберегти PDF…" in the review window, the file dialog answered with `pdf`.
void savePdf(QWidget *review, const QString &pdf)
{
    ModalWatcher fileDialog;
    fileDialog.expect([&pdf](QWidget *dialog) {
        auto *files = static_cast<QFileDialog *>(dialog);
        files->selectFile(pdf.chopped(4));
        static_cast<QDialog *>(files)->accept();
    });
    QTest::mouseClick(review->findChild<QPushButton *>("SaveBtn"), Qt::LeftButton);
}

// The text of each page of a PDF file.
QStringList pdfPages(const QString &pdf)
{
    QProcess extract;
    extract.start(u"pdftotext"_qs, {pdf, u"-"_qs});
    if (!extract.waitForFinished())
        return {};
    return QString::fromUtf8(extract.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
}

} // namespace

class TestReviewWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // Entry 1 right, entry 2 wrong and bookmarked, entry 3 unanswered; entry 2 shown again before the
    // finish, so that its answers stand elsewhere on screen than when it was answered. The mistakes, saved
    // as a PDF, fill many pages, and none is split between two.
    void anExamsMistakesFromTheResults()
    {
        TestRunFixture run("bank-exact.xls");
        run.startExam();
        run.clickAnswer(run.rightPosition());
        run.next();
        const QStringList shown = run.answers();
        const QString chosen = run.box(run.wrongPosition())->toPlainText();
        run.clickAnswer(run.wrongPosition());
        QTest::mouseClick(run.button("CheckBtn"), Qt::LeftButton);
        run.next();
        run.back();
        const auto subject = [&run](int entry) {
            return subjectTitle(run.state.ExamData[entry].Subject);
        };

        QTemporaryDir folder;
        const QString pdf = folder.filePath(u"екзамен.pdf"_qs);
        QStringList results;
        QStringList rowsSeen;
        QList<QStringList> answersSeen;
        QString summarised;
        bool enterKeptIt = false;
        bool escapeClosedIt = false;
        ModalWatcher modals;
        modals.expectMessageBox();
        modals.expect([&results](QWidget *dialog) {
            for (const char *line : {"Label1", "Label2", "Label3", "Label4"})
                results.append(dialog->findChild<QLabel *>(line)->text().mid(33));
            QTest::mouseClick(dialog->findChild<QPushButton *>("ReviewBtn"), Qt::LeftButton);
        });
        modals.expect([&](QWidget *window) {
            const Review review{window};
            summarised = review.figures();
            rowsSeen = review.rows();
            answersSeen.append(review.answers());
            savePdf(window, pdf);
            QTest::keyClick(review.list(), Qt::Key_Down);
            answersSeen.append(review.answers());
            QTest::keyClick(window->findChild<QWidget *>("CloseBtn"), Qt::Key_Up);
            QTest::keyClick(review.list(), Qt::Key_Return);
            enterKeptIt = window->isVisible();
            answersSeen.append(review.answers());
            window->findChild<QCheckBox *>("MistakesBox")->click();
            review.list()->setCurrentItem(review.list()->topLevelItem(0));
            rowsSeen += review.rows().mid(0, 3);
            answersSeen.append(review.answers());
            QTest::keyClick(window, Qt::Key_Escape);
            escapeClosedIt = !window->isVisible();
            window->close();
        });
        QTest::mouseClick(run.button("FinishBtn"), Qt::LeftButton);

        QCOMPARE(modals.pendingCount(), 0);
        QCOMPARE(summarised, results.join(u'|'));
        QCOMPARE(rowsSeen.size(), 199 + 3);
        QCOMPARE(rowsSeen.mid(0, 2), (QStringList{u"2 [x] "_qs + subject(2) + u" Неправильно"_qs,
                                                  u"3 [ ] "_qs + subject(3) + u" Без відповіді"_qs}));
        QCOMPARE(rowsSeen.at(199), u"1 [ ] "_qs + subject(1) + u" Правильно"_qs);
        const QStringList wrong = expectedAnswers(run.state.ExamData[2].Number, shown, chosen);
        QCOMPARE(answersSeen.at(0), wrong);
        QCOMPARE(answersSeen.at(1), expectedAnswers(run.state.ExamData[3].Number));
        QVERIFY(enterKeptIt);
        QVERIFY(escapeClosedIt);
        QCOMPARE(answersSeen.at(2), wrong);
        QVERIFY(answersSeen.at(3).at(0).contains(u"|green|Правильна"_qs));
        QVERIFY(!answersSeen.at(3).join(u' ').contains(u"red"_qs));

        const QStringList pages = pdfPages(pdf);
        QVERIFY(pages.size() > 3);
        int questions = 0;
        for (const QString &page : pages) {
            const int headings = int(page.count(u", питання "_qs));
            QCOMPARE(page.count(u"Ваша відповідь"_qs), headings);
            questions += headings;
        }
        QCOMPARE(questions, ExamSize - 1);
        QCOMPARE(pages.join(u' ').count(u"Ваша відповідь: немає"_qs), ExamSize - 2);
    }

    // Surgery 1 right, 2 wrong, 3 passed without an answer; the review from the menu, saved as a PDF.
    void aTrainingRunsMistakesFromTheMenuAsAPdf()
    {
        TestRunFixture run;
        QAction *item = run.find<QAction>("Review1");
        QVERIFY(!item->isEnabled());
        run.startTraining(u"Surgery"_qs, 1, 3);
        QVERIFY(!item->isEnabled());
        run.clickAnswer(run.rightPosition());
        run.next();
        const QStringList shown = run.answers();
        const QString chosen = run.box(run.wrongPosition())->toPlainText();
        run.clickAnswer(run.wrongPosition());
        run.next();
        run.play(u"NextBtn>Return>Return"_qs, u"end"_qs);
        QVERIFY(item->isEnabled());

        QTemporaryDir folder;
        const QString pdf = folder.filePath(u"помилки.pdf"_qs);
        QStringList rowsSeen;
        QStringList answersSeen;
        QString summarised;
        ModalWatcher modals;
        modals.expect([&](QWidget *window) {
            const Review review{window};
            summarised = review.figures();
            rowsSeen = review.rows();
            answersSeen = review.answers();
            savePdf(window, pdf);
            window->close();
        });
        item->trigger();

        QCOMPARE(summarised, run.noted.at(1));
        QCOMPARE(rowsSeen, (QStringList{u"2 Хірургія Неправильно"_qs, u"3 Хірургія Без відповіді"_qs}));
        QCOMPARE(answersSeen, expectedAnswers(2, shown, chosen));
        run.startTraining(u"Surgery"_qs, 1, 3);
        QVERIFY(!item->isEnabled());

        if (QStandardPaths::findExecutable(u"pdftotext"_qs).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString text = pdfPages(pdf).join(u' ').simplified();
        for (const QString &shown : {u"Питання 2 з хірургії"_qs, u"Правильна відповідь 2"_qs, chosen,
                                     u"Питання 3 з хірургії"_qs, u"Правильна відповідь 3"_qs})
            QVERIFY2(text.contains(shown), qPrintable(shown));
        QVERIFY(!text.contains(u"Питання 1 з"_qs));
    }
};

QTEST_MAIN(TestReviewWindow)
#include "tst_review.moc"
