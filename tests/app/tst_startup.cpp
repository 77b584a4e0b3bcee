#include "InitDLG.h"
#include "ModalWatcher.h"
#include "QuestionBank.h"
#include "VeskProgram.h"

#include <QtWidgets>

using namespace vesk3;
using bank::BankSizes;

Q_DECLARE_METATYPE(BankSizes)

namespace {

QWidget *topLevel(const QString &objectName)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto found = std::ranges::find(windows, objectName, &QObject::objectName);
    return found == windows.end() ? nullptr : *found;
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
        QString entry;
        if (event->type() == QEvent::Paint && object->objectName() == u"InitVeskForm")
            entry = "splash painted";
        else if (event->type() == QEvent::Show && object->objectName() == u"MainVeskForm")
            entry = "main window shown";
        else if (event->type() == QEvent::Show && qobject_cast<QMessageBox *>(object))
            entry = "message box";
        if (!entry.isEmpty() && (entries.isEmpty() || entries.back() != entry))
            entries.append(entry);
        return false;
    }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    // The program looks for a kept exam in a history of this run, never in the user's.
    QTemporaryDir dataHome;

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path())); }

    // The splash is painted first, and a loading error is shown while it is up; start-up ends at the main
    // window with no mode and the splash's bar where loading stopped. Without a server it ends after saying
    // so.
    void startUp_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("server");
        QTest::addColumn<BankSizes>("counts");
        QTest::addColumn<int>("progress");
        QTest::addColumn<QString>("message"); // "error" for any error box
        QTest::newRow("bank") << "bank.xls" << true << BankSizes{12, 9, 7, 5, 4} << 140 << "";
        QTest::newRow("workbook absent") << "absent/vesk3_2005.xls" << true << BankSizes{} << 20 << "error";
        QTest::newRow("sheet missing")
            << "bank-missing-sheet.xls" << true << BankSizes{12, 9, 0, 0, 0} << 80 << "error";
        QTest::newRow("no server") << "bank.xls" << false << BankSizes{} << 0
                                   << u"Сервер Excel не встановлено, спочатку встановіть Excel!"_qs;
    }
    void startUp()
    {
        QFETCH(QString, file);
        QFETCH(bool, server);
        QFETCH(BankSizes, counts);
        QFETCH(int, progress);
        QFETCH(QString, message);
        StartupLog log;
        ModalWatcher modals;
        if (!message.isEmpty())
            modals.expectMessageBox();
        const auto noServer = [](std::string_view) {
            return false;
        };
        VeskProgram program(VESK3_FIXTURES "/" + file.toStdString(),
                            server ? bank::ServerRegistry(bank::readerRegistry) : noServer);
        QCOMPARE(program.start(), server);

        QStringList entries{"splash painted"};
        if (!message.isEmpty())
            entries.append("message box");
        if (server)
            entries.append("main window shown");
        QCOMPARE(log.entries, entries);
        for (const ModalWatcher::Box &box : modals.boxes()) {
            QCOMPARE(box.title, u"Dorv-3 (0,01)"_qs);
            QCOMPARE(box.icon, server ? QMessageBox::Critical : QMessageBox::NoIcon);
            QVERIFY(server ? box.text.endsWith(u'.') : box.text == message);
        }
        QCOMPARE(program.testState().TestSettings.BankSize, counts);
        if (!server) {
            QCOMPARE(topLevel("TableVeskForm"), nullptr);
            return;
        }
        QCOMPARE(QApplication::applicationName(), u"Dorv-3 (0,01)"_qs);
        // Qt's own dialogs speak the program's language.
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), u"Зберегти як"_qs);
        QVERIFY(topLevel("InitVeskForm")->isHidden());
        QCOMPARE(topLevel("InitVeskForm")->findChild<QProgressBar *>("ProgressBar1")->value(), progress);
        for (const char *hidden : {"TableVeskForm", "ResultVeskForm", "TestDLGForm", "AboutVeskForm"})
            QVERIFY2(topLevel(hidden)->isHidden(), hidden);
        QCOMPARE(program.testState().Mode, ModeNone);

        // The windows are handed to the main window: Training opens the subject dialog with the loaded
        // counts, About the About window.
        QStringList shown;
        const auto note = [&shown](QWidget *window) {
            shown << window->objectName();
            for (const QLineEdit *box : window->findChildren<QLineEdit *>(QRegularExpression("Edit2$")))
                shown << box->text();
            window->close();
        };
        modals.expect(note);
        modals.expect(note);
        topLevel("MainVeskForm")->findChild<QAction *>("Training1")->trigger();
        topLevel("MainVeskForm")->findChild<QAction *>("About1")->trigger();
        QStringList expected{"TestDLGForm"};
        for (int count : counts)
            expected << QString::number(count);
        QCOMPARE(shown, expected << "AboutVeskForm");
    }

    // The workbook lies beside the program, wherever the program was started from.
    void workbookBesideTheProgram()
    {
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        QCOMPARE(QString::fromStdString(programWorkbookPath()),
                 QDir(QCoreApplication::applicationDirPath()).filePath("vesk3_2005.xls"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
