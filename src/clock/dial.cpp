// dialDirection. The pictures depend on its exact precision pixel for pixel.
#include "clock/dial.h"

#include <cmath>

void dialDirection(int position, float *c, float *s)
{
    float degrees = static_cast<float>(position - 15) * 6.0f;
    double radians = static_cast<double>(degrees) * M_PI / 180.0;
    *c = static_cast<float>(std::cos(radians));
    *s = static_cast<float>(std::sin(radians));
}
