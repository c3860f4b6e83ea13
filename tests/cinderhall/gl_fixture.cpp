#include "gl_fixture.h"

#include <cstdlib>

namespace CinderhallTest {

bool ColorNear(const GLTestContext& context, int x, int y, Rgba expected)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const Rgba pixel = context.ReadPixel(x + dx, y + dy);
            bool same = true;
            for (int channel = 0; channel < 3; ++channel) {
                same = same && std::abs(pixel[channel] - expected[channel]) <= 3;
            }
            if (same) {
                return true;
            }
        }
    }
    return false;
}

} // namespace CinderhallTest
