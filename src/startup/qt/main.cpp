// The program `compensato`: started by the menu host with its switches.
#include "src/startup/qt/Principale.h"

int main(int argc, char** argv) { return startup::EseguiProgramma(argc, argv); }
