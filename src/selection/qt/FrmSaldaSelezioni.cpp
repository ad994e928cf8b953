#include "src/selection/qt/FrmSaldaSelezioni.h"
