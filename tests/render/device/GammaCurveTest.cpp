#include "render/device/GammaCurve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

TEST(GammaCurve, BrightnessLiftsAndContrastFlattensTheEnds)
{
    struct Case {
        float brightness;
        float contrast;
        int entry;
        uint16_t value;
    };
    for (const Case& c : std::initializer_list<Case>{
             {0.0f, 0.0f, 0, 0}, {0.0f, 0.0f, 1, 256}, {0.0f, 0.0f, 255, 65280},
             {0.0f, 0.25f, 63, 0}, {0.0f, 0.25f, 64, 0}, {0.0f, 0.25f, 65, 512}, {0.0f, 0.25f, 191, 65024},
             {0.0f, 0.25f, 192, 65535},
             {0.5f, 0.0f, 0, 32767}, {0.5f, 0.0f, 127, 65279}, {0.5f, 0.0f, 128, 65535},
             // Out of range: held where the curve still makes sense.
             {-1.0f, 0.0f, 1, 256}, {2.0f, 0.0f, 0, 65535}, {0.0f, 0.9f, 127, 0}, {0.0f, 0.9f, 128, 65535},
             {0.0f, -0.5f, 1, 256}, {1.0f, 0.5f, 0, 65535}, {1.0f, 0.0f, 200, 65535},
             // Not a number: no setting at all.
             {NAN, NAN, 1, 256}, {NAN, 0.25f, 65, 512}}) {
        EXPECT_EQ(BuildGammaCurve(c.brightness, c.contrast)[c.entry], c.value)
            << c.brightness << " " << c.contrast << " [" << c.entry << "]";
    }
}

TEST(GammaCurve, NeverFalls)
{
    for (float contrast : {0.0f, 0.1f, 0.33f, 0.5f, 0.75f}) {
        const GammaCurve curve = BuildGammaCurve(0.2f, contrast);
        EXPECT_TRUE(std::is_sorted(curve.begin(), curve.end())) << contrast;
    }
    const GammaCurve identity = IdentityGammaCurve();
    EXPECT_EQ(identity.front(), 0);
    EXPECT_EQ(identity.back(), 65535);
}
