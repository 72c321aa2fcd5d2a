// The static dial face on facePixmap: background, bevelled border and tick
// marks. Drawn once during set-up; frames start from a copy of it.
#pragma once

void fillBackground();
void drawBevel(int pushedIn);
void drawTickMarks();
