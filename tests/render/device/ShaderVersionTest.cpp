#include "render/device/ShaderVersion.h"

#include <d3d9.h>

#include <gtest/gtest.h>

#include <initializer_list>

TEST(ShaderVersion, ProfileStopsAtVersionTwoWhileTheNumberDoesNot)
{
    struct Case {
        const char* format;
        uint32_t version;
        const wchar_t* profile;
        int32_t number;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"vs_%d_%d", D3DVS_VERSION(3, 0), L"vs_2_0", 30},
             {"vs_%d_%d", D3DVS_VERSION(1, 1), L"vs_1_1", 11},
             {"ps_%d_%d", D3DPS_VERSION(2, 0), L"ps_2_0", 20},
             {"ps_%d_%d", D3DPS_VERSION(1, 4), L"ps_1_4", 14},
             {"ps_%d_%d", 0, L"ps_0_0", 0}}) {
        const ShaderVersion described = DescribeShaderVersion(c.format, c.version);
        EXPECT_EQ(described.profile, c.profile);
        EXPECT_EQ(described.number, c.number);
    }
}
