#include "InitDLG.h"
#include "ModalWatcher.h"
#include "QuestionBank.h"
#include "VeskProgram.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

using namespace vesk3;
using bank::BankSizes;

Q_DECLARE_METATYPE(BankSizes)

namespace {

std::string fixture(const QString &name)
{
    return QStringLiteral(VESK3_FIXTURES "/%1").arg(name).toStdString();
}

QWidget *topLevel(const QString &objectName)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == objectName)
            return widget;
    return nullptr;
}

// Records, in order, the paintings of the splash, the showings of the main window and the message boxes.
class StartupLog : public QObject
{
public:
    StartupLog() { qApp->installEventFilter(this); }
    ~StartupLog() override { qApp->removeEventFilter(this); }
    QStringList entries;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        const QString name = object->objectName();
        if (event->type() == QEvent::Paint && name == "InitVeskForm")
            record("splash painted");
        else if (event->type() == QEvent::Show && name == "MainVeskForm")
            record("main window shown");
        else if (event->type() == QEvent::Show && qobject_cast<QMessageBox *>(object))
            record("message box");
        return false;
    }

private:
    void record(const QString &entry)
    {
        if (entries.isEmpty() || entries.back() != entry)
            entries.append(entry);
    }
};

QString countsText(const BankSizes &sizes)
{
    QStringList counts;
    for (int size : sizes)
        counts.append(QString::number(size));
    return counts.join(' ');
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void splashShowsItsControls()
    {
        TInitVeskForm splash;
        QCOMPARE(splash.objectName(), "InitVeskForm");
        QCOMPARE(splash.size(), QSize(353, 257));
        QCOMPARE(splash.minimumSize(), splash.maximumSize());
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        auto *panel = splash.findChild<QFrame *>("Panel1");
        QCOMPARE(panel->geometry(), QRect(0, 0, 353, 257));
        QCOMPARE(panel->frameShadow(), QFrame::Sunken);
        auto *label = splash.findChild<QLabel *>("Label1");
        QCOMPARE(label->pos(), QPoint(64, 152));
        QCOMPARE(label->text(), u"Зачекайте, завантажується сервер Excel!!!"_qs);
        auto *bar = splash.findChild<QProgressBar *>("ProgressBar1");
        QCOMPARE(bar->geometry(), QRect(24, 184, 297, 16));
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 140);
        QCOMPARE(bar->value(), 0);
    }

    // The picture is drawn unscaled from its top-left corner, so the control shows its upper-left part.
    void splashShowsTheUpperLeftOfItsPicture()
    {
        const QImage picture(":/pictures/splash.png");
        QCOMPARE(picture.size(), QSize(250, 124));
        QVERIFY(!picture.hasAlphaChannel());
        const QColor ground = picture.pixelColor(0, 0);
        QVERIFY(ground.red() == ground.green() && ground.green() == ground.blue());
        TInitVeskForm splash;
        auto *image = splash.findChild<QLabel *>("Image1");
        QCOMPARE(image->geometry(), QRect(48, 32, 241, 105));
        QVERIFY(!image->hasScaledContents());
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        const QImage shown = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, picture.copy(0, 0, 241, 105).convertToFormat(QImage::Format_RGB32));
    }

    void startUpEndsAtTheMainWindowWithNoMode()
    {
        StartupLog log;
        VeskProgram program(fixture("bank.xls"));
        QVERIFY(program.start());
        QCOMPARE(QApplication::applicationName(), u"Dorv-3 (0,01)"_qs);
        QCOMPARE(log.entries, (QStringList{"splash painted", "main window shown"}));
        QWidget *splash = topLevel("InitVeskForm");
        QVERIFY(splash->isHidden());
        QCOMPARE(splash->findChild<QProgressBar *>("ProgressBar1")->value(), 140);
        QVERIFY(topLevel("MainVeskForm")->isVisible());
        QVERIFY(topLevel("TableVeskForm")->isHidden());
        QVERIFY(topLevel("ResultVeskForm")->isHidden());
        QVERIFY(topLevel("TestDLGForm")->isHidden());
        QVERIFY(topLevel("AboutVeskForm")->isHidden());
        QCOMPARE(program.testState().TestSettings.BankSize, (BankSizes{12, 9, 7, 5, 4}));
        QCOMPARE(program.testState().Mode, ModeNone);
        QVERIFY(!program.testState().TestRunning);
    }

    void trainingOpensTheSubjectDialogWithTheLoadedCounts()
    {
        VeskProgram program(fixture("bank.xls"));
        QVERIFY(program.start());
        QStringList shown;
        ModalWatcher modals;
        modals.expect([&shown](QWidget *dialog) {
            shown << dialog->objectName();
            for (const char *box : {"TherEdit2", "SurEdit2", "PedEdit2", "ObstEdit2", "HygEdit2"})
                shown << dialog->findChild<QLineEdit *>(box)->text();
            dialog->close();
        });
        topLevel("MainVeskForm")->findChild<QAction *>("Training1")->trigger();
        QCOMPARE(shown, (QStringList{"TestDLGForm", "12", "9", "7", "5", "4"}));
        QCOMPARE(program.testState().Mode, ModeTraining);
    }

    // A loading error is shown once while the splash is up; start-up still ends at the main window.
    void loadingErrorStillReachesTheMainWindow_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<BankSizes>("counts");
        QTest::addColumn<int>("progress");
        QTest::newRow("workbook absent") << "absent/vesk3_2005.xls" << BankSizes{} << 20;
        QTest::newRow("sheet missing") << "bank-missing-sheet.xls" << BankSizes{12, 9, 0, 0, 0} << 80;
        QTest::newRow("marker missing") << "bank-no-marker.xls" << BankSizes{12, 9, 0, 0, 0} << 80;
    }
    void loadingErrorStillReachesTheMainWindow()
    {
        QFETCH(QString, file);
        QFETCH(BankSizes, counts);
        QFETCH(int, progress);
        StartupLog log;
        ModalWatcher modals;
        modals.expectMessageBox();
        modals.expectMessageBox();
        VeskProgram program(fixture(file));
        QVERIFY(program.start());
        QCOMPARE(log.entries, (QStringList{"splash painted", "message box", "main window shown"}));
        QCOMPARE(modals.boxes().size(), 1);
        QCOMPARE(modals.boxes().at(0).title, u"Dorv-3 (0,01)"_qs);
        QCOMPARE(modals.boxes().at(0).icon, QMessageBox::Critical);
        QCOMPARE(program.testState().TestSettings.BankSize, counts);
        QCOMPARE(topLevel("InitVeskForm")->findChild<QProgressBar *>("ProgressBar1")->value(), progress);
        QVERIFY(topLevel("MainVeskForm")->isVisible());
        QCOMPARE(program.testState().Mode, ModeNone);
    }

    void missingServerEndsTheProgram()
    {
        StartupLog log;
        ModalWatcher modals;
        modals.expectMessageBox();
        VeskProgram program(fixture("bank.xls"), [](std::string_view) { return false; });
        QVERIFY(!program.start());
        QCOMPARE(log.entries, (QStringList{"splash painted", "message box"}));
        QCOMPARE(modals.boxes().size(), 1);
        QCOMPARE(modals.boxes().at(0).text, u"Сервер Excel не встановлено, спочатку встановіть Excel!"_qs);
        QCOMPARE(topLevel("TableVeskForm"), nullptr);
        QCOMPARE(program.testState().TestSettings.BankSize, BankSizes{});
    }

    // A copy of this test program is started from another folder and runs
    // childFindsTheWorkbookBesideItself with the counts it must load.
    void startsFromAnyFolder_data()
    {
        QTest::addColumn<bool>("besideProgram");
        QTest::addColumn<QString>("counts");
        QTest::newRow("workbook beside the program") << true << "12 9 7 5 4";
        QTest::newRow("workbook only in the current folder") << false << "0 0 0 0 0";
    }
    void startsFromAnyFolder()
    {
        QFETCH(bool, besideProgram);
        QFETCH(QString, counts);
        QTemporaryDir programFolder;
        QTemporaryDir currentFolder;
        const QString program = programFolder.filePath("tst_startup");
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
        const QDir workbookFolder(besideProgram ? programFolder.path() : currentFolder.path());
        QVERIFY(QFile::copy(QString::fromStdString(fixture("bank.xls")),
                            workbookFolder.filePath("vesk3_2005.xls")));

        QProcess child;
        child.setProgram(program);
        child.setArguments({"childFindsTheWorkbookBesideItself"});
        child.setWorkingDirectory(currentFolder.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VESK3_EXPECTED_COUNTS", counts);
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start();
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAll().constData());
    }

    void childFindsTheWorkbookBesideItself()
    {
        const QString expected = qEnvironmentVariable("VESK3_EXPECTED_COUNTS");
        if (expected.isEmpty())
            QSKIP("run by startsFromAnyFolder in a copy of this program");
        ModalWatcher modals;
        modals.expectMessageBox();
        VeskProgram program;
        QVERIFY(program.start());
        QCOMPARE(countsText(program.testState().TestSettings.BankSize), expected);
        QCOMPARE(modals.boxes().size(), expected == "0 0 0 0 0" ? 1 : 0);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
