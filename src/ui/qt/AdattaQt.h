#pragma once

#include <QWidget>
#include <vector>

#include "src/ui/Scala.h"

namespace ui {

// Twips per pixel of the screen a widget is on (of the primary screen before
// it is shown).
double TwipsPerPixelX(const QWidget* w);
double TwipsPerPixelY(const QWidget* w);

// The screen a widget is on: its size, resolution and taskbar.
Video VideoDi(const QWidget* w);

// Where a window stands on its screen, in twips.
GeometriaForm GeometriaTwips(const QWidget* finestra);

// A control's kind for the scaling, from its class.
TipoControllo TipoDi(const QWidget* w);

// ScalaControlli on a window: its size and font, then every control it names
// (controls are widgets with an object name of their own; the parts Qt puts
// inside a control are left to the control). Fonts are read before any is
// changed, so that a control does not take its container's new font and its
// own factor too.
void ScalaControlliQt(QWidget* finestra, double fattore, const std::vector<Esclusione>& esclusioni);

// Places a control at a designed position and size in twips.
void PosizionaTwips(QWidget* w, int left, int top, int width, int height);

}  // namespace ui
