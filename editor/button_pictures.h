// The pictures of the editor panel's image buttons, painted with GDI at
// whatever size the button has, so they stay crisp at every DPI.
#pragma once

#include <windows.h>

namespace kavrel {

// A sample height label "125" drawn at the angle (degrees from east towards
// north) beside the mark's point.
void PaintPresetPicture(HDC dc, const RECT& box, double degrees);

// A straight arrow pointing in the direction (dx east, dy north), each -1, 0 or 1.
void PaintMoveArrow(HDC dc, const RECT& box, int dx, int dy);

// A half-circle arrow turning the way the button turns, its head at the top
// (head_at_top) or at the bottom: anticlockwise with the head at the top
// points up and to the left, clockwise with the head at the top up and to
// the right.
enum class Turn { Anticlockwise, Clockwise };
void PaintTurnArrow(HDC dc, const RECT& box, Turn turn, bool head_at_top);

// Labels placed clear of each other: points down the middle, each with its
// label beside it, right and left in turn.
void PaintPlaceLabelsPicture(HDC dc, const RECT& box);

}  // namespace kavrel
