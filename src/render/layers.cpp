// deriveHandLayers: outlined beats fancy, and a thin second hand is always a
// plain stroke whatever the other hands are.
#include "render/layers.h"

#include "settings/settings.h"

bool layerOn(int hand, int layer)
{
    const HandLayers &l = settings.handLayers[hand];
    return layer == FILL_LAYER ? l.fill : layer == STROKE_LAYER ? l.stroke : l.outline;
}

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
