#include "components/lookup/qt/CampiQt.h"

#include <QPalette>
#include <QVariant>

namespace lookup {

QColor ColoreQt(int64_t c) {
  if (c >= 0x80000000LL) return QPalette().color(QPalette::Base);
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF));
}

int64_t SfondoDi(const QWidget* w) {
  const QVariant v = w->property("Sfondo");
  return v.isValid() ? v.toLongLong() : 0x80000005;
}

void ImpostaSfondoDi(QWidget* w, int64_t colore) {
  w->setProperty("Sfondo", QVariant::fromValue<qlonglong>(colore));
  QPalette p = w->palette();
  p.setColor(QPalette::Base, ColoreQt(colore));
  w->setPalette(p);
}

}  // namespace lookup
