#include "src/recovery/qt/FrmRipriSal.h"
