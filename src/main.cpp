#include "app/runProgram.h"

int main(int argc, char** argv) { return veltrona::runProgram(argc, argv); }
