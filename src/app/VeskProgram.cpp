#include "VeskProgram.h"

#include "AboutUnit.h"
#include "BankLoading.h"
#include "InitDLG.h"
#include "MainVeskUnit.h"
#include "MessageBoxes.h"
#include "ResultDlg_Train.h"
#include "Table.h"
#include "TestDialog0.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>

namespace vesk3 {

std::string programWorkbookPath()
{
    return bank::workbookPath(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
}

bool installQtTranslations(QTranslator &translator)
{
    return translator.load(u"qtbase_uk"_qs, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           QCoreApplication::installTranslator(&translator);
}

VeskProgram::VeskProgram(std::string workbookPath, bank::ServerRegistry registry)
    : workbookPath(std::move(workbookPath)), registry(std::move(registry))
{}

VeskProgram::~VeskProgram() = default;

bool VeskProgram::start()
{
    installQtTranslations(qtTranslations);
    showSplash();
    // The title names the program to the desktop. No display name is set: Qt would append it to every
    // caption.
    QApplication::setApplicationName(QString::fromUtf16(ApplicationTitle));
    createWindows();
    if (!MainVeskForm->serverInstalled())
        return false;
    InitVeskForm->hide();
    MainVeskForm->show();
    return true;
}

void VeskProgram::showSplash()
{
    InitVeskForm = std::make_unique<TInitVeskForm>();
    InitVeskForm->showPainted();
}

void VeskProgram::createWindows()
{
    BankSetup setup{workbookPath, registry, [this](int position) {
                        InitVeskForm->setProgress(position);
                    }};
    MainVeskForm = std::make_unique<TMainVeskForm>(state, std::move(setup));
    if (!MainVeskForm->serverInstalled())
        return;
    TestDLGForm = std::make_unique<TTestDLGForm>(state);
    ResultVeskForm = std::make_unique<TResultVeskForm>(state);
    TableVeskForm = std::make_unique<TTableVeskForm>(state);
    AboutVeskForm = std::make_unique<TAboutVeskForm>();
    MainVeskForm->setSubjectDialog(*TestDLGForm);
    MainVeskForm->setResultDialog(*ResultVeskForm);
    MainVeskForm->setTableWindow(*TableVeskForm);
    MainVeskForm->setAboutWindow(*AboutVeskForm);
    QObject::connect(MainVeskForm.get(), &TMainVeskForm::closed, qApp, &QCoreApplication::quit);
}

} // namespace vesk3
