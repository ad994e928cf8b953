#pragma once
// A component that reaches up into the program.
#include "src/data/Contesto.h"
