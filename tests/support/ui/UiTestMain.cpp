// The user-interface test program's main: a Qt widgets application, so that
// every test can make widgets.
#include "support/TestProgram.h"

#include <QApplication>

int main(int argc, char** argv)
{
    return runTestProgram<QApplication>(argc, argv);
}
