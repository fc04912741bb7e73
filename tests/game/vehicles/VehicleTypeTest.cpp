// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "game/vehicles/VehicleType.h"
#include "tests/support/CapturingSink.h"

#include <cstring>
#include <filesystem>

namespace {

void Append(std::string& bytes, const void* value, size_t size)
{
    bytes.append(static_cast<const char*>(value), size);
}
void AppendInt(std::string& bytes, int32_t value) { Append(bytes, &value, sizeof value); }
void AppendFloat(std::string& bytes, float value) { Append(bytes, &value, sizeof value); }
void AppendFloats(std::string& bytes, std::initializer_list<float> values)
{
    for (float value : values) {
        AppendFloat(bytes, value);
    }
}

// A ".DCC" of the version, with every field the version stores.
struct DccFile {
    int32_t version = 6;
    int32_t gearCount = 3;
    std::vector<float> ratios{-3.0f, 0.0f, 3.2f, 1.9f, 1.2f};
    std::vector<float> torque{150.0f, 220.0f, 260.0f, 240.0f};
    float mass = 1500.0f;
    float enginePitch = 5000.0f;
    float crossfadeHigh = 4000.0f;

    std::string Bytes() const
    {
        std::string bytes = "DC2";
        AppendInt(bytes, 0);
        AppendInt(bytes, 0);
        AppendInt(bytes, version);
        AppendInt(bytes, 7);   // display index
        AppendInt(bytes, gearCount);
        AppendInt(bytes, static_cast<int32_t>(ratios.size()));
        for (float ratio : ratios) {
            AppendFloat(bytes, ratio);
        }
        AppendFloats(bytes, {3.5f, 0.9f});   // final drive, efficiency
        AppendInt(bytes, static_cast<int32_t>(torque.size()));
        for (float sample : torque) {
            AppendFloat(bytes, sample);
        }
        if (version >= 3) {
            AppendFloat(bytes, 2.0f);
        }
        AppendFloats(bytes, {0.1f, 0.2f, 0.3f, 0.4f, mass, 0.6f, 0.7f});
        if (version >= 1) {
            AppendFloats(bytes, {3.0f, 0.8f, 0.9f});
        }
        if (version >= 2) {
            AppendFloat(bytes, 0.5f);
        }
        if (version >= 4) {
            AppendFloats(bytes, {enginePitch, 5500.0f, 2000.0f, crossfadeHigh, 0.2f, 0.8f});
        }
        if (version >= 5) {
            AppendFloats(bytes, {0.11f, 0.12f, 0.13f, 0.14f, 0.15f});
        }
        if (version >= 6) {
            AppendFloat(bytes, 1600.0f);
        }
        if (version >= 5) {
            AppendInt(bytes, 9);
        }
        return bytes;
    }
};

class VehicleTypeTest : public GameTest {
protected:
    VehicleTypeTest()
    {
        std::filesystem::copy(FixturePath(L"vehicles").c_str(), std::filesystem::current_path(),
                              std::filesystem::copy_options::recursive);
    }
    ~VehicleTypeTest() override { VehicleTypes().clear(); }

    // "Vehicles\<name>.DCC", driving the probe car's chassis.
    static void WriteType(const std::string& name, const std::string& bytes)
    {
        WriteFile("Vehicles/" + name + ".DCC", bytes);
        if (name != "PROBE" && name != "WHEELLESS" && name != "NOCHASSIS") {
            std::filesystem::create_directories("Vehicles/" + name);
            std::filesystem::copy_file("Vehicles/PROBE/Chassis1.DCM", "Vehicles/" + name + "/Chassis1.DCM");
        }
    }
};

TEST(VehicleTypeNames, HashIgnoresCase)
{
    EXPECT_EQ(static_cast<uint32_t>(HashNameNoCase(L"abc")), 0x950995DFu);
    EXPECT_EQ(HashNameNoCase(L"abc"), HashNameNoCase(L"ABC"));
}

TEST_F(VehicleTypeTest, TheVersionDecidesWhichNumbersTheFileHolds)
{
    struct Case {
        int32_t version;
        float torqueScale, brakeForce, maxSteerAngle, engine1PitchRpm, crossfadeHighMix, infoC, infoMass;
        int32_t infoD;
    };
    for (const Case& c : std::initializer_list<Case>{{0, 1.0f, 1.0f, 0.66f, 6000.0f, 1.0f, 322.0f, 1500.0f, 1},
                                                     {3, 2.0f, 3.0f, 0.5f, 6000.0f, 1.0f, 322.0f, 1500.0f, 1},
                                                     {5, 2.0f, 3.0f, 0.5f, 5000.0f, 0.8f, 0.15f, 1500.0f, 9},
                                                     {6, 2.0f, 3.0f, 0.5f, 5000.0f, 0.8f, 0.15f, 1600.0f, 9}}) {
        DccFile file;
        file.version = c.version;
        WriteType("PROBE", file.Bytes());
        VehicleType type;
        ASSERT_TRUE(type.Load(L"Probe.DCC")) << c.version;
        EXPECT_EQ(type.name, L"PROBE");
        EXPECT_EQ(type.displayIndex, 7);
        EXPECT_EQ(type.gearRatios, file.ratios);
        EXPECT_EQ(type.torqueCurve, file.torque);
        EXPECT_FLOAT_EQ(type.mass, 1500.0f);
        EXPECT_FLOAT_EQ(type.torqueScale, c.torqueScale) << c.version;
        EXPECT_FLOAT_EQ(type.brakeForce, c.brakeForce) << c.version;
        EXPECT_FLOAT_EQ(type.maxSteerAngle, c.maxSteerAngle) << c.version;
        EXPECT_FLOAT_EQ(type.engine1PitchRpm, c.engine1PitchRpm) << c.version;
        EXPECT_FLOAT_EQ(type.crossfadeHighMix, c.crossfadeHighMix) << c.version;
        EXPECT_FLOAT_EQ(type.infoC, c.infoC) << c.version;
        EXPECT_FLOAT_EQ(type.infoMass, c.infoMass) << c.version;
        EXPECT_EQ(type.infoD, c.infoD) << c.version;
    }
}

TEST_F(VehicleTypeTest, TheChassisModelGivesTheBoxWheelsAndMounts)
{
    WriteType("PROBE", DccFile{}.Bytes());
    ScopedCapture log(kLogError);
    VehicleType type;
    ASSERT_TRUE(type.Load(L"PROBE.DCC"));

    ASSERT_EQ(type.chassisFiles, std::vector<WideString>{L"Vehicles\\PROBE\\Chassis1.DCM"});
    EXPECT_EQ(type.wreckFile, L"Vehicles\\PROBE\\Stuk.DCM");
    ASSERT_EQ(type.skins.size(), 1u);
    EXPECT_TRUE(type.skins[0].name.empty());
    // The body reaches down to y 2; the wheels' height raises its bottom to 3.
    EXPECT_FLOAT_EQ(type.chassisBoxCentre.y, 6.5f);
    EXPECT_FLOAT_EQ(type.chassisBoxHalf.y, 3.5f);
    EXPECT_FLOAT_EQ(type.chassisBoxHalf.z, 15.0f);
    EXPECT_FLOAT_EQ(type.wheelRadii[2], 4.0f);
    EXPECT_FLOAT_EQ(type.wheelMounts[1].x, 6.0f);
    EXPECT_FLOAT_EQ(type.frontAxle.z, -10.0f);
    EXPECT_FLOAT_EQ(type.rearAxle.x, 0.0f);
    EXPECT_FLOAT_EQ(type.axleCentre.z, 0.0f);

    ASSERT_EQ(type.rocketMounts.size(), 3u);
    EXPECT_FLOAT_EQ(type.rocketMounts[0].direction.z, -1.0f);
    EXPECT_EQ(type.rocketMounts[1].direction.Length(), 0.0f);
    EXPECT_FLOAT_EQ(type.rocketMounts[2].direction.y, 1.0f);
    EXPECT_EQ(log->Count(L"Missing tape Rocket_2 in PROBE"), 1);
    EXPECT_EQ(log->Count(L"ROCKET_99999999999"), 1);
    EXPECT_FLOAT_EQ(type.mineMount.z, 15.0f);
    EXPECT_FLOAT_EQ(type.missileMount.y, 10.0f);   // no MISSILE tape
    EXPECT_FLOAT_EQ(type.driverSeat.x, -2.0f);
    EXPECT_EQ(type.headlightNodes.size(), 2u);
    ASSERT_EQ(type.copLights.size(), 1u);
    EXPECT_EQ(type.copLights[0].colour, 1);
    EXPECT_FLOAT_EQ(type.copLights[0].length, 3.0f);
}

// A type the car could not be built from, or would divide by zero with,
// never reaches the list; its file is named.
TEST_F(VehicleTypeTest, TypesNoCarCanBeBuiltFromAreLeftOut)
{
    struct Case {
        std::string name;
        std::string bytes;
        const wchar_t* line;
    };
    DccFile good;
    DccFile fewRatios;
    fewRatios.gearCount = 5;
    DccFile massless;
    massless.mass = 0.0f;
    DccFile pitchless;
    pitchless.enginePitch = 0.0f;
    DccFile noCrossfade;
    noCrossfade.crossfadeHigh = 2000.0f;
    std::string hugeCount = good.Bytes();
    const int32_t huge = 0x7FFFFFFF;
    std::memcpy(&hugeCount[23], &huge, sizeof huge);
    const std::vector<Case> cases{
        {"SHORT", "DC2", L"Vehicles\\SHORT.DCC is not a valid vehicle"},
        {"MAGIC", "XYZ" + good.Bytes().substr(3), L"Vehicles\\MAGIC.DCC is not a valid vehicle"},
        {"CUT", good.Bytes().substr(0, 60), L"Vehicles\\CUT.DCC contains errors"},
        {"HUGE", hugeCount, L"Vehicles\\HUGE.DCC contains errors"},
        {"RATIOS", fewRatios.Bytes(), L"Vehicles\\RATIOS.DCC is not a usable vehicle"},
        {"MASSLESS", massless.Bytes(), L"Vehicles\\MASSLESS.DCC is not a usable vehicle"},
        {"PITCHLESS", pitchless.Bytes(), L"Vehicles\\PITCHLESS.DCC is not a usable vehicle"},
        {"FADELESS", noCrossfade.Bytes(), L"Vehicles\\FADELESS.DCC is not a usable vehicle"},
        {"WHEELLESS", good.Bytes(), L"Vehicles\\WHEELLESS.DCC is not a usable vehicle"},
        {"NOCHASSIS", good.Bytes(), L"Vehicles\\NOCHASSIS.DCC has no chassis model"},
    };
    WriteType("PROBE", good.Bytes());
    for (const Case& c : cases) {
        WriteType(c.name, c.bytes);
    }
    ScopedCapture log(kLogError);
    LoadVehicleTypes();
    ASSERT_EQ(VehicleTypes().size(), 1u);
    EXPECT_EQ(VehicleTypes()[0]->name, L"PROBE");
    for (const Case& c : cases) {
        EXPECT_EQ(log->Count(c.line), 1) << c.name;
    }
}

TEST_F(VehicleTypeTest, TypesAreFoundByNameInAnyCase)
{
    EXPECT_EQ(FindVehicleTypeIndexByName(L"PROBE", true), -1) << "no types yet";
    WriteType("PROBE", DccFile{}.Bytes());
    LoadVehicleTypes();
    LoadVehicleTypes();   // once only
    ASSERT_EQ(VehicleTypes().size(), 1u);
    EXPECT_EQ(FindVehicleTypeIndexByName(L"probe", false), 0);
    EXPECT_EQ(FindVehicleTypeIndexByName(L"TRUCK", false), -1);
    EXPECT_EQ(FindVehicleTypeIndexByName(L"TRUCK", true), 0);
}

} // namespace
