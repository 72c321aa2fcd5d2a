// Anti-aliased hands through RENDER: one request per layer, its triangles
// added into one coverage mask by the server.
#include "display/smooth.h"

#include "display/setup.h"
#include "render/shapes.h"
#include "settings/settings.h"

static void fillTriangles(Picture source, const XTriangle *triangles, int count)
{
    if (count == 0)
        return;
    const ScaledDrawing &s = clockDisplay.scaling;
    XRenderCompositeTriangles(clockDisplay.display, PictOpOver, source, s.smoothPicture,
                              s.coverageFormat, 0, 0, triangles, count);
}

void drawSmoothHand(int i)
{
    const ScaledDrawing &s = clockDisplay.scaling;
    const HandLayers &layers = settings.handLayers[i];
    const int on[3] = {layers.fill, layers.stroke, layers.outline};
    const Picture sources[3] = {s.fillSources[i], s.strokeSources[i], s.outlineSources[i]};
    XTriangle shape[MAX_OUTLINE_TRIANGLES];
    for (int layer = FILL_LAYER; layer <= OUTLINE_LAYER; layer++)
        if (on[layer])
            fillTriangles(sources[layer], shape,
                          handLayerTriangles(i, layer, handGeometry, settings.scale, shape));
}
