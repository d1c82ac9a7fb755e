#pragma once

namespace veltrona {

// Start-up: window services, the main window, the event loop, clean-up.
// Returns the process exit code.
int runProgram(int argc, char** argv);

}  // namespace veltrona
