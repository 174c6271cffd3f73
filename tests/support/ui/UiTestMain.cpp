// The user-interface test program's main: a Qt widgets application, so that
// every test can make widgets.
//
// The web engine (the live previews of the layout canvas) runs inside this
// program without our instrumentation: its own sized deletes do not match
// what the sanitizer recorded, and it keeps a few allocations (as does
// fontconfig under it) until the process ends. Those reports are about the
// engine, not about our code, so they are turned off here and only here.
#define LQ_EXTRA_ASAN_OPTIONS ":new_delete_type_mismatch=0"
#define LQ_LSAN_SUPPRESSIONS "leak:libQt6WebEngineCore.so\nleak:libfontconfig.so\n"
#include "support/TestProgram.h"

#include <QApplication>

int main(int argc, char** argv)
{
    return runTestProgram<QApplication>(argc, argv);
}
