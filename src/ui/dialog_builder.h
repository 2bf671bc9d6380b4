#pragma once

#include "ui/dialog_template.h"

#include <QFont>
#include <QRect>
#include <QWidget>

class QDialog;

namespace quarvel {

// A dialog font's base units: its average character width and its height, in pixels.
struct DialogBaseUnits {
    int charWidth = 0;
    int charHeight = 0;
};

// The average width as Windows computes it: the 52 letters of the alphabet measured together.
DialogBaseUnits dialogBaseUnits(const QFont& font);
// x and width times charWidth / 4, y and height times charHeight / 8, rounded to nearest.
QRect toPixels(const DialogRect& rect, const DialogBaseUnits& units);

// Gives the dialog its title, font, colours and size, and creates every control of the template at
// its rectangle, in tab order, each named by its identifier.
void buildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate);

// The control with the given identifier, or nullptr.
QWidget* findControl(const QWidget& dialog, int id);

template <class Control> Control* controlOf(const QWidget& dialog, int id) {
    return qobject_cast<Control*>(findControl(dialog, id));
}

} // namespace quarvel
