// A headless service that reaches up into startup and into Qt.
#include <QWidget>

#include "src/startup/Programma.h"
