#include "app/runProgram.h"

#include <QApplication>

namespace veltrona {

int runProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}

}  // namespace veltrona
