#include "VeskProgram.h"

#include <QApplication>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vesk3::VeskProgram program;
    if (!program.start())
        return EXIT_FAILURE;
    return app.exec();
}
