// deriveHandLayers: outlined beats fancy, and a thin second hand is always a
// plain stroke whatever the other hands are.
#include "render/layers.h"

#include "settings/settings.h"

void deriveHandLayers()
{
    for (HandLayers &l : settings.handLayers) {
        if (settings.outlinedHands) {
            l.outline = 1;
        } else if (settings.fancyHands) {
            l.outline = 1;
            l.fill = 1;
        } else {
            l.stroke = 1;
        }
    }
    if (settings.thinSeconds) {
        HandLayers &second = settings.handLayers[SECOND_HAND];
        second.stroke = 1;
        second.outline = 0;
        second.fill = 0;
    }
}
