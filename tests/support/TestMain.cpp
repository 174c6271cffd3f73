// The test program's main: a Qt GUI application, so that every test can use
// fonts and images.
#include "support/TestProgram.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    return runTestProgram<QGuiApplication>(argc, argv);
}
