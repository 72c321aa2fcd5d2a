// Where a position on the dial points: the one direction function the hands
// and the tick marks share, so that the ticks line up with the hand tips.
#pragma once

// Direction of a position in sixtieths of a turn, clockwise from 12:
// single-precision degrees, double-precision radians and trigonometry,
// results rounded to single precision.
void dialDirection(int position, float *c, float *s);
