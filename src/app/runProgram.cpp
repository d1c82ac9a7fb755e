#include "app/runProgram.h"

#include <QApplication>
#include <QDir>

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/dialogStartFolder.h"
#include "app/exitCleanup.h"
#include "app/prepareApplication.h"

namespace veltrona {

int runProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    prepareApplication();
    const QString programFolder = QCoreApplication::applicationDirPath();
    QDir::setCurrent(programFolder);

    AppState state;
    struct CleanupAtEnd {
        AppState& state;
        ~CleanupAtEnd() { exitCleanup(state); }
    } cleanup{state};

    MainWindow window(state);
    window.commonDlg1().setStartFolder(dialogStartFolder(programFolder));
    window.onWindowCreated();
    window.show();
    return QApplication::exec();
}

}  // namespace veltrona
