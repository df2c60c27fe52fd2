// The pictures the board window shows: a component's by its kind and value, a key's by its
// kind and state, and the preview while a component is being placed.
#pragma once

#include <QImage>

#include "fpga/board_mode.h"

class QPainter;

namespace edumac8 {

// The picture of `c` for its Value; the selection mark at (1, 1) when `selected`. Null for the
// placeholder.
QImage ComponentPicture(const CList& c, bool selected);

// The lamp image an LED shows: lit or dark in its colour, the error lamp for a colour or bit
// it cannot show.
int LampIndex(const CList& c);

// Key i's picture: a level key shows up or down, the other kinds their signal.
const QImage& KeyPicture(int keyType, bool down);

// A sketch of the kind in red inside a dotted frame, at (x, y).
void DrawPreview(QPainter& p, int kind, int x, int y);

// The palette button's picture of a kind.
QImage PaletteImage(int kind);

}  // namespace edumac8
