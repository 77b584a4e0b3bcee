#include "InitDLG.h"
#include "ModalWatcher.h"
#include "QuestionBank.h"
#include "VeskProgram.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>

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
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == objectName)
            return widget;
    }
    return nullptr;
}

int splashProgress()
{
    return topLevel("InitVeskForm")->findChild<QProgressBar *>("ProgressBar1")->value();
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
        if (event->type() == QEvent::Paint && object->objectName() == u"InitVeskForm")
            record("splash painted");
        else if (event->type() == QEvent::Show && object->objectName() == u"MainVeskForm")
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

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    // An ordinary window without a frame, showing its picture unscaled from the top-left corner.
    void splash()
    {
        TInitVeskForm splash;
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(splash.findChild<QLabel *>("Label1")->text(),
                 u"Зачекайте, завантажується сервер Excel!!!"_qs);
        QCOMPARE(splash.findChild<QProgressBar *>("ProgressBar1")->maximum(), 140);
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        auto *image = splash.findChild<QLabel *>("Image1");
        const QImage shown = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage picture(":/pictures/splash.png");
        QCOMPARE(shown,
                 picture.copy(QRect(QPoint(0, 0), shown.size())).convertToFormat(QImage::Format_RGB32));
    }

    // The windows are handed to the main window: Training opens the subject dialog with the loaded counts,
    // About the About window.
    void startUpEndsAtTheMainWindowWithNoMode()
    {
        StartupLog log;
        ModalWatcher modals;
        VeskProgram program(fixture("bank.xls"));
        QVERIFY(program.start());
        QCOMPARE(QApplication::applicationName(), u"Dorv-3 (0,01)"_qs);
        QCOMPARE(log.entries, (QStringList{"splash painted", "main window shown"}));
        QVERIFY(topLevel("InitVeskForm")->isHidden());
        QCOMPARE(splashProgress(), 140);
        for (const char *hidden : {"TableVeskForm", "ResultVeskForm", "TestDLGForm", "AboutVeskForm"})
            QVERIFY2(topLevel(hidden)->isHidden(), hidden);
        QCOMPARE(program.testState().TestSettings.BankSize, (BankSizes{12, 9, 7, 5, 4}));
        QCOMPARE(program.testState().Mode, ModeNone);

        QStringList shown;
        const auto note = [&shown](QWidget *window) {
            shown << window->objectName();
            if (window->objectName() == u"TestDLGForm") {
                for (const char *box : {"TherEdit2", "SurEdit2", "PedEdit2", "ObstEdit2", "HygEdit2"})
                    shown << window->findChild<QLineEdit *>(box)->text();
            }
            window->close();
        };
        modals.expect(note);
        modals.expect(note);
        topLevel("MainVeskForm")->findChild<QAction *>("Training1")->trigger();
        topLevel("MainVeskForm")->findChild<QAction *>("About1")->trigger();
        QCOMPARE(shown, (QStringList{"TestDLGForm", "12", "9", "7", "5", "4", "AboutVeskForm"}));
    }

    // A loading error is shown once while the splash is up; start-up still ends at the main window.
    void loadingErrorStillReachesTheMainWindow_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<BankSizes>("counts");
        QTest::addColumn<int>("progress");
        QTest::newRow("workbook absent") << "absent/vesk3_2005.xls" << BankSizes{} << 20;
        QTest::newRow("sheet missing") << "bank-missing-sheet.xls" << BankSizes{12, 9, 0, 0, 0} << 80;
    }
    void loadingErrorStillReachesTheMainWindow()
    {
        QFETCH(QString, file);
        QFETCH(BankSizes, counts);
        QFETCH(int, progress);
        StartupLog log;
        ModalWatcher modals;
        modals.expectMessageBox();
        VeskProgram program(fixture(file));
        QVERIFY(program.start());
        QCOMPARE(log.entries, (QStringList{"splash painted", "message box", "main window shown"}));
        QCOMPARE(modals.boxes().size(), 1);
        QCOMPARE(modals.boxes().at(0).title, u"Dorv-3 (0,01)"_qs);
        QCOMPARE(modals.boxes().at(0).icon, QMessageBox::Critical);
        QVERIFY(modals.boxes().at(0).text.endsWith(u'.'));
        QCOMPARE(program.testState().TestSettings.BankSize, counts);
        QCOMPARE(splashProgress(), progress);
        QVERIFY(topLevel("MainVeskForm")->isVisible());
    }

    void missingServerEndsTheProgram()
    {
        StartupLog log;
        ModalWatcher modals;
        modals.expectMessageBox();
        VeskProgram program(fixture("bank.xls"), [](std::string_view) { return false; });
        QVERIFY(!program.start());
        QCOMPARE(log.entries, (QStringList{"splash painted", "message box"}));
        QCOMPARE(modals.texts(), QStringList{u"Сервер Excel не встановлено, спочатку встановіть Excel!"_qs});
        QCOMPARE(modals.boxes().at(0).icon, QMessageBox::NoIcon);
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
        QVERIFY(child.waitForFinished(30000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAll().constData());
    }

    void childFindsTheWorkbookBesideItself()
    {
        const QString expected = qEnvironmentVariable("VESK3_EXPECTED_COUNTS");
        if (expected.isEmpty())
            QSKIP("run by startsFromAnyFolder in a copy of this program");
        ModalWatcher modals;
        if (expected == u"0 0 0 0 0")
            modals.expectMessageBox();
        VeskProgram program;
        QVERIFY(program.start());
        QStringList counts;
        for (int size : program.testState().TestSettings.BankSize)
            counts.append(QString::number(size));
        QCOMPARE(counts.join(' '), expected);
        QCOMPARE(modals.pendingCount(), 0);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
