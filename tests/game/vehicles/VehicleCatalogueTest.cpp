// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/files/PackArchive.h"
#include "game/vehicles/VehicleCatalogue.h"
#include "render/models/Model.h"
#include "tests/support/CapturingSink.h"

#include <cstring>
#include <filesystem>
#include <optional>

namespace {

// Little-endian values appended one after the other.
struct ByteString {
    std::string bytes;

    ByteString& Raw(const std::string& raw)
    {
        bytes += raw;
        return *this;
    }
    template <class T>
    ByteString& Value(T value)
    {
        bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
        return *this;
    }
    ByteString& Int(int32_t value) { return Value(value); }
    ByteString& Float(float value) { return Value(value); }
    ByteString& Byte(int8_t value) { return Value(value); }
    ByteString& Vec(const Vec3& v) { return Float(v.x).Float(v.y).Float(v.z); }
    ByteString& Text(const std::string& text) { return Int(static_cast<int32_t>(text.size())).Raw(text); }
};

struct Lamp {
    Vec3 position;
    int8_t red, green, blue;
};

// A ".TXC" of the version with the fields that version stores; the counts
// can be replaced by damaged ones.
struct TxcFile {
    std::string magic = "TX ";
    int32_t version = 48;
    std::vector<std::string> oldTexts{"a", "bc"};   // version 32 only
    float value2 = 4.0f;
    std::vector<std::pair<Vec3, Vec3>> frontPairs{{{-9, 9, -9}, {9, 9, -9}}, {{-6, 3, -10}, {6, 3, -10}}};
    std::vector<std::pair<Vec3, Vec3>> rearPairs{{{-6, 2, 10}, {6, 2, 10}}};
    std::vector<Lamp> frontLamps{{{-3, 5, -15}, 127, -128, 0}, {{3, 5, -15}, 1, 2, 3}};
    std::vector<Lamp> extraLamps{{{0, 11, 0}, 0, 0, 100}};
    std::optional<int32_t> textCount, frontCount, lampCount;

    std::string Bytes() const
    {
        ByteString file;
        file.Raw(magic).Int(version).Text("Probe Car");
        if (version == 32) {
            file.Int(textCount.value_or(static_cast<int32_t>(oldTexts.size())));
            for (const std::string& text : oldTexts) {
                file.Text(text);
            }
        }
        file.Byte(1);
        if (version != 16) {
            file.Byte(2);
        }
        file.Float(2.0f).Float(value2);
        for (int32_t i = 3; i <= 8; ++i) {
            file.Float(static_cast<float>(i));
        }
        file.Int(9).Float(10.0f).Float(11.0f).Float(15.0f).Byte(0).Float(14.0f).Float(16.0f).Float(12.0f);
        if (version != 16) {
            file.Float(13.0f);
        }
        file.Vec({-7, 2, 1});
        AppendPairs(file, frontPairs, frontCount);
        AppendPairs(file, rearPairs, std::nullopt);
        if (version != 32) {
            AppendLamps(file, frontLamps, lampCount);
            AppendLamps(file, {}, std::nullopt);
            AppendLamps(file, extraLamps, std::nullopt);
        }
        return file.bytes;
    }

    static void AppendPairs(ByteString& file, const std::vector<std::pair<Vec3, Vec3>>& pairs,
                            std::optional<int32_t> count)
    {
        file.Int(count.value_or(static_cast<int32_t>(pairs.size())));
        for (const auto& [left, right] : pairs) {
            file.Vec(left).Vec(right);
        }
    }
    static void AppendLamps(ByteString& file, const std::vector<Lamp>& lamps, std::optional<int32_t> count)
    {
        file.Int(count.value_or(static_cast<int32_t>(lamps.size())));
        for (const Lamp& lamp : lamps) {
            file.Vec(lamp.position).Byte(lamp.red).Byte(lamp.green).Byte(lamp.blue);
        }
    }
};

class VehicleCatalogueTest : public GameTest {
protected:
    VehicleCatalogueTest()
    {
        std::filesystem::copy(FixturePath(L"catalogue").c_str(), std::filesystem::current_path(),
                              std::filesystem::copy_options::recursive);
    }
    ~VehicleCatalogueTest() override
    {
        VehicleCatalogue().clear();
        TrafficCatalogue().clear();
        VehicleTypes().clear();
    }

    // A catalogue entry beside the probe car's models, whose folder it names.
    static void WriteEntry(const std::string& fileName, const std::string& bytes, bool traffic)
    {
        const std::string folder = traffic ? "Vehicles/Traffic/" : "Vehicles/";
        WriteFile(folder + fileName, bytes);
        const std::string name = fileName.substr(0, fileName.size() - 4);
        if (name != "PROBE") {
            std::filesystem::copy(folder + "PROBE", folder + name, std::filesystem::copy_options::recursive);
        }
    }
};

void ExpectVec3(const Vec3& actual, const Vec3& expected, const char* what)
{
    EXPECT_FLOAT_EQ(actual.x, expected.x) << what;
    EXPECT_FLOAT_EQ(actual.y, expected.y) << what;
    EXPECT_FLOAT_EQ(actual.z, expected.z) << what;
}

TEST_F(VehicleCatalogueTest, TheVersionDecidesWhatTheFileHolds)
{
    struct Case {
        int32_t version;
        const wchar_t* logged;   // none for the current version
        float value13;
        size_t frontLamps;
    };
    for (const Case& c : std::initializer_list<Case>{{48, nullptr, 13.0f, 2},
                                                     {16, L"Car PROBE.TXC is invalid", 2.5f, 2},
                                                     {32, L"Update car PROBE.TXC", 13.0f, 0},
                                                     {7, L"Car PROBE.TXC is invalid", 13.0f, 2}}) {
        TxcFile file;
        file.version = c.version;
        WriteEntry("PROBE.TXC", file.Bytes(), false);
        ScopedCapture log(kLogError);
        const TrafficType type(L"PROBE.TXC", false);
        EXPECT_EQ(type.displayName, L"Probe Car") << c.version;
        EXPECT_FLOAT_EQ(type.typeValue13, c.value13) << c.version;
        EXPECT_FLOAT_EQ(type.typeValue12, 60.0f) << c.version;
        EXPECT_FLOAT_EQ(type.typeValue16, 16.0f) << c.version;
        EXPECT_EQ(type.frontLamps.size(), c.frontLamps) << c.version;
        EXPECT_FLOAT_EQ(type.wheelPositions[3].x, 6.0f) << c.version;
        EXPECT_EQ(log->Count(L"Car PROBE.TXC is invalid") + log->Count(L"Update car"), c.logged ? 1 : 0);
        if (c.logged) {
            EXPECT_EQ(log->Count(c.logged), 1) << c.version;
        }
        EXPECT_FALSE(log->Contains(L"contains errors")) << c.version;
    }
}

TEST_F(VehicleCatalogueTest, NumbersAreScaledAsStored)
{
    struct Case {
        float stored, value2;
    };
    for (const Case& c : std::initializer_list<Case>{{4.0f, 6.5f}, {2.0f, 2.0f}, {-3.0f, -3.0f}}) {
        TxcFile file;
        file.value2 = c.stored;
        WriteEntry("PROBE.TXC", file.Bytes(), false);
        const TrafficType type(L"PROBE.TXC", false);
        EXPECT_FLOAT_EQ(type.typeValue2, c.value2) << c.stored;
        EXPECT_FLOAT_EQ(type.typeValue1, 3.0f);
        EXPECT_EQ(type.typeValue9, 9);
        EXPECT_FLOAT_EQ(type.typeValue11, 16.5f);
        EXPECT_FLOAT_EQ(type.typeValue14, 2.8f);
        EXPECT_FLOAT_EQ(type.typeValue15, 1.5f);
        ExpectVec3(type.doorPositions[0], {-7, 2, 1}, "first door");
    }
}

// Street vehicles stand 0.5 lower than listed; of several pairs the last stays.
TEST_F(VehicleCatalogueTest, WheelsAndLampsAsTheListSays)
{
    TxcFile file;
    WriteEntry("PROBE.TXC", file.Bytes(), false);
    WriteEntry("PROBE.TXC", file.Bytes(), true);
    const TrafficType street(L"PROBE.TXC", false);
    const TrafficType traffic(L"PROBE.TXC", true);
    ExpectVec3(street.wheelPositions[0], {-6, 2.5f, -10}, "street front left");
    ExpectVec3(street.wheelPositions[2], {-6, 1.5f, 10}, "street rear left");
    ExpectVec3(traffic.wheelPositions[1], {6, 3, -10}, "traffic front right");
    ExpectVec3(street.frontAxle, {0, 2.5f, -10}, "front axle");
    ExpectVec3(street.axleCentre, {0, 2.0f, 0}, "axle centre");

    ASSERT_EQ(street.frontLamps.size(), 2u);
    EXPECT_EQ(street.frontLamps[0].colour[0], 127.0f);
    EXPECT_EQ(street.frontLamps[0].colour[1], -128.0f);
    EXPECT_EQ(street.frontLamps[0].colour[3], 1.0f);
    EXPECT_TRUE(street.rearLamps.empty());
    ASSERT_EQ(street.extraLamps.size(), 1u);
    // Traffic lamps rise with the wheel radius (the wheel model is 8 units high).
    EXPECT_FLOAT_EQ(street.frontLamps[1].position.y, 5.0f);
    EXPECT_FLOAT_EQ(traffic.frontLamps[1].position.y, 9.0f);

    TxcFile wheelless;
    wheelless.frontPairs.clear();
    WriteEntry("PROBE.TXC", wheelless.Bytes(), true);
    const TrafficType bare(L"PROBE.TXC", true);
    ExpectVec3(bare.wheelPositions[0], {0, 0, 0}, "no front pair");
    ExpectVec3(bare.wheelPositions[2], {-6, 2, 10}, "rear pair");
}

// A count beyond the bytes left, or a text cut short, is reported once and
// ends the reading: the type keeps what came before and still gets its models.
TEST_F(VehicleCatalogueTest, DamagedFilesAreReadNoFurtherThanTheyReach)
{
    struct Case {
        const char* damage;
        std::string bytes;
        bool reported;   // "contains errors"
        bool loaded;     // the models were loaded
    };
    const TxcFile good;
    TxcFile hugePairs = good;
    hugePairs.frontCount = 0x7FFFFFFF;
    TxcFile negativePairs = good;
    negativePairs.frontCount = -5;
    TxcFile hugeLamps = good;
    hugeLamps.lampCount = 1000000;
    TxcFile hugeTexts = good;
    hugeTexts.version = 32;
    hugeTexts.textCount = 0x40000000;
    const std::string goodBytes = good.Bytes();
    std::string hugeName = goodBytes;
    const int32_t huge = 0x7FFFFFF0;
    std::memcpy(&hugeName[7], &huge, sizeof huge);
    const std::vector<Case> cases{
        {"nine bytes", goodBytes.substr(0, 9), false, false},
        {"another magic", "TXC" + goodBytes.substr(3), false, false},
        {"cut after the header", goodBytes.substr(0, 12), true, true},
        {"cut in the wheels", goodBytes.substr(0, 110), true, true},
        {"huge wheel count", hugePairs.Bytes(), true, true},
        {"negative wheel count", negativePairs.Bytes(), true, true},
        {"huge lamp count", hugeLamps.Bytes(), true, true},
        {"huge text list", hugeTexts.Bytes(), true, true},
        {"huge name length", hugeName, true, true},
    };
    for (const Case& c : cases) {
        WriteEntry("PROBE.TXC", c.bytes, false);
        ScopedCapture log(kLogError);
        const TrafficType type(L"PROBE.TXC", false);
        EXPECT_EQ(type.name, L"PROBE") << c.damage;
        EXPECT_EQ(type.nameHash, HashNameNoCase(L"PROBE")) << c.damage;
        EXPECT_EQ(log->Count(L"PROBE.TXC contains errors"), c.reported ? 1 : 0) << c.damage;
        EXPECT_EQ(type.chassisModels.size(), c.loaded ? 1u : 0u) << c.damage;
        EXPECT_TRUE(type.extraLamps.empty()) << c.damage;
    }
}

TEST_F(VehicleCatalogueTest, TheChassisModelGivesBoxRadiiAndMounts)
{
    WriteEntry("PROBE.TXC", TxcFile{}.Bytes(), false);
    ScopedCapture log(kLogError);
    const TrafficType type(L"PROBE.TXC", false);
    ASSERT_EQ(type.chassisModels.size(), 1u);
    EXPECT_TRUE(type.lodModels.empty());
    EXPECT_TRUE(type.doorModels.empty());
    ASSERT_NE(type.wreckModel, nullptr);
    EXPECT_EQ(type.wheelRadii[0], 4.0f);
    EXPECT_EQ(type.wheelRadii[3], 3.0f);
    // The highest wheel (2.5 with radius 4) lifts the box's bottom to 2.5 + 4 / 2.
    EXPECT_FLOAT_EQ(type.chassisBoxCentre.y - type.chassisBoxHalf.y, 4.5f);
    EXPECT_FLOAT_EQ(type.chassisBoxCentre.y + type.chassisBoxHalf.y, type.modelBoxCentre.y + type.modelBoxHalf.y);
    EXPECT_EQ(type.flags, TrafficType::kFlagCivilian | TrafficType::kFlagPlayable);

    ASSERT_EQ(type.rocketMounts.size(), 3u);
    EXPECT_EQ(log->Count(L"Missing tape Rocket_2 in PROBE"), 1);
    EXPECT_EQ(log->Count(L"ROCKET_99999999999"), 1);
    ExpectVec3(type.rocketMounts[2].direction, {0, 1, 0}, "rocket 3");
    ExpectVec3(type.mineMount, {0, 2, 15}, "mine in lower case");
    ExpectVec3(type.missileMount, {0, 12, 0}, "missile");
    ExpectVec3(type.missileDirection, {0, 0, -1}, "missile aim");
    ExpectVec3(type.selectCameraPosition, {30, 10, -40}, "select camera");
    EXPECT_NE(type.selectCameraRotation.w, 1.0f);
    ExpectVec3(type.doorPositions[1], {-7, 2, 3}, "second door");
    ExpectVec3(type.doorPositions[2], {-20, 0, 8}, "third door by default");
    EXPECT_EQ(type.flamerMounts.size(), 2u);
    ExpectVec3(type.chaingunEnd, {0, 7, -19}, "chaingun end");
    ExpectVec3(type.driverSeat, {-2, 6, 0}, "driver");
    EXPECT_EQ(type.boostNodes.size(), 1u);
    EXPECT_EQ(type.trailNodes.size(), 1u);
    ASSERT_EQ(type.copLights.size(), 2u);
    EXPECT_EQ(type.copLights[1].colour, 0);
    EXPECT_FLOAT_EQ(type.copLights[1].length, 4.0f);

    // Preset 1 is read; the others are missing, reported and left at the defaults.
    EXPECT_FLOAT_EQ(type.cameras[1].distance, 55.0f);
    EXPECT_EQ(type.cameras[1].fullRotation, 1);
    EXPECT_FLOAT_EQ(type.cameras[0].distance, 100.0f);
    EXPECT_EQ(type.cameras[0].showTarget, 1);
    EXPECT_EQ(log->Count(L"is missing!"), 9);
}

TEST_F(VehicleCatalogueTest, TrafficTypesStandOnTheirFrontWheels)
{
    WriteEntry("PROBE.TXC", TxcFile{}.Bytes(), true);
    ScopedCapture log(kLogError);
    const TrafficType type(L"PROBE.TXC", true);
    EXPECT_EQ(type.flags, TrafficType::kFlagTraffic);
    for (float radius : type.wheelRadii) {
        EXPECT_EQ(radius, 4.0f);
    }
    // Bottom at the front wheels' ground (3 - 4), then lifted by the radius.
    const float top = type.modelBoxCentre.y + type.modelBoxHalf.y;
    EXPECT_FLOAT_EQ(type.chassisBoxHalf.y, (top + 1.0f) / 2.0f);
    EXPECT_FLOAT_EQ(type.chassisBoxCentre.y, (top - 1.0f) / 2.0f + 4.0f);
    EXPECT_FLOAT_EQ(type.chassisBoxHalf.z, type.modelBoxHalf.z);
    EXPECT_FALSE(log->Contains(L"is missing!")) << "traffic presets are not reported";
}

TEST_F(VehicleCatalogueTest, FlagsFollowTheListedNameAndTheList)
{
    struct Case {
        std::string file;
        bool traffic;
        int32_t flags;
    };
    using T = TrafficType;
    for (const Case& c : std::initializer_list<Case>{
             {"Sedan.TXC", false, T::kFlagCivilian | T::kFlagPlayable},
             {"Police2.TXC", false, T::kFlagPolice | T::kFlagPlayable},
             {"Police2.TXC", true, T::kFlagTraffic},
             {"Ufo.TXC", false, T::kFlagPlayable},
             {"Ufo.TXC", true, T::kFlagTraffic | T::kFlagPlayable},
             {"t32.TXC", false, T::kFlagT32},
             {"Ambulance.TXC", true, T::kFlagTraffic | T::kFlagAmbulance},
             {"BigGrummer.TXC", true, T::kFlagTraffic | T::kFlagNoDamage},
             {"Truck.TXC", false, T::kFlagCivilian | T::kFlagPlayable | T::kFlagNoDamage}}) {
        WriteEntry(c.file, TxcFile{}.Bytes(), c.traffic);
        const TrafficType type(WideStringFromChars(c.file.c_str(), -1), c.traffic);
        EXPECT_EQ(type.flags, c.flags) << c.file << (c.traffic ? " in traffic" : "");
    }
}

TEST_F(VehicleCatalogueTest, BuildsEachListOnceWithStatsFromTheLanguage)
{
    engine.GetLanguage().FindLanguageFiles();
    engine.GetLanguage().SelectLanguage(0);
    for (const char* name : {"A.TXC", "B.TXC", "C.TXC"}) {
        WriteEntry(name, TxcFile{}.Bytes(), false);
        WriteEntry(name, TxcFile{}.Bytes(), true);
    }
    EXPECT_EQ(FindTrafficType(HashNameNoCase(L"B"), true), -1) << "an empty catalogue has no index";
    BuildCatalogues();
    ASSERT_EQ(VehicleCatalogue().size(), 3u);
    ASSERT_EQ(TrafficCatalogue().size(), 3u);
    for (const TrafficTypeList* list : {&VehicleCatalogue(), &TrafficCatalogue()}) {
        const TrafficType& third = *(*list)[2];
        EXPECT_EQ(third.name, L"C");
        EXPECT_EQ(third.statInt, 7);
        EXPECT_FLOAT_EQ(third.statValues[0], 1.5f);
        EXPECT_FLOAT_EQ(third.statValues[4], -2.25f);
        EXPECT_EQ((*list)[0]->statInt, 0) << "a missing text counts 0";
    }
    BuildCatalogues();
    EXPECT_EQ(TrafficCatalogue().size(), 3u) << "built once";

    EXPECT_EQ(FindTrafficType(HashNameNoCase(L"b"), false), 1);
    EXPECT_EQ(FindTrafficType(HashNameNoCase(L"Z"), false), -1);
    const int32_t anyType = FindTrafficType(HashNameNoCase(L"Z"), true);
    EXPECT_GE(anyType, 0);
    EXPECT_LT(anyType, 3);
    TrafficCatalogue()[2]->nameHash = TrafficCatalogue()[1]->nameHash;
    EXPECT_EQ(FindTrafficType(TrafficCatalogue()[1]->nameHash, false), 1) << "the lower index of a shared hash";
}

// The sample data: both cars as the game reads them from the built pack.
TEST_F(VehicleCatalogueTest, TheSampleCarsReadBackFromThePack)
{
    std::filesystem::remove_all("Vehicles");
    std::filesystem::remove_all("Misc");
    std::filesystem::copy_file(FixturePath(L"sampledata\\Data.DCP").c_str(), "Data.DCP");
    ArchiveList::Instance().Mount(std::make_unique<PackArchive>(L"Data.DCP"));
    engine.GetLanguage().FindLanguageFiles();
    engine.GetLanguage().SelectLanguage(0);
    for (const wchar_t* car : {L"KESTREL", L"POLICE"}) {
        WideString file;
        for (const wchar_t* pattern : {L"Vehicles\\%s.DCC", L"Vehicles\\%s.TXC", L"Vehicles\\%s\\Chassis1.DCM",
                                       L"Vehicles\\%s\\Stuk.DCM", L"Vehicles\\%s\\C1.DCT", L"Vehicles\\%s\\1.CAM",
                                       L"Vehicles\\%s\\4.CAM", L"Vehicles\\%s\\Engine_1.WAV",
                                       L"Vehicles\\%s\\Engine_2.WAV", L"Vehicles\\%s\\Skid.WAV",
                                       L"Vehicles\\%s\\Gear.WAV", L"Vehicles\\%s\\Horn.WAV"}) {
            EXPECT_TRUE(FileExists(FormatWideStringW(file, pattern, car))) << WideStringToNarrow(file);
        }
    }
    for (int32_t crashClass = 0; crashClass < 6; ++crashClass) {
        WideString pattern;
        EXPECT_EQ(ListFiles(FormatWideString(pattern, "Audio\\Crash%d*.WAV", crashClass)).size(), 1u) << crashClass;
    }

    ScopedCapture log(kLogError);
    BuildCatalogues();
    ASSERT_EQ(VehicleCatalogue().size(), 2u);
    const TrafficType& kestrel = *VehicleCatalogue()[0];
    const TrafficType& police = *VehicleCatalogue()[1];
    EXPECT_EQ(kestrel.displayName, L"Kestrel");
    EXPECT_EQ(police.flags, TrafficType::kFlagPolice | TrafficType::kFlagPlayable);
    EXPECT_EQ(kestrel.statInt, 2);
    EXPECT_FLOAT_EQ(police.statValues[4], 1800.0f);
    for (const TrafficType* type : {&kestrel, &police}) {
        ASSERT_EQ(type->chassisModels.size(), 1u);
        EXPECT_FALSE(type->chassisModels[0]->GetNodes().empty());
        EXPECT_GT(type->wheelRadii[0], 3.0f);
        // The listed wheels stand on the ground once lowered.
        EXPECT_NEAR(type->wheelPositions[0].y, type->wheelRadii[0], 1e-4f);
        EXPECT_EQ(type->rocketMounts.size(), 2u);
        EXPECT_EQ(type->frontLamps.size(), 2u);
    }
    EXPECT_EQ(police.copLights.size(), 2u);
    EXPECT_TRUE(kestrel.copLights.empty());
    EXPECT_FALSE(log->Contains(L"is missing!"));
    EXPECT_FALSE(log->Contains(L"Missing tape"));
    EXPECT_FALSE(log->Contains(L"contains errors"));
    EXPECT_FALSE(log->Contains(L"not found"));

    // As drivable types: a light quick car and a heavy one.
    LoadVehicleTypes();
    ASSERT_EQ(VehicleTypes().size(), 2u);
    const VehicleType& light = *VehicleTypes()[0];
    const VehicleType& heavy = *VehicleTypes()[1];
    EXPECT_EQ(light.gearCount, 5);
    EXPECT_EQ(heavy.gearCount, 4);
    EXPECT_LT(light.mass, heavy.mass);
    EXPECT_GT(light.maxSteerAngle, heavy.maxSteerAngle);
    for (const VehicleType* type : {&light, &heavy}) {
        EXPECT_EQ(type->skins.size(), 1u);
        EXPECT_EQ(type->skins[0].name, L"_C1");
        EXPECT_FLOAT_EQ(type->wheelRadii[0], type->wheelMounts[0].y) << "the wheels stand on the ground";
        EXPECT_EQ(type->headlightNodes.size(), 2u);
        EXPECT_EQ(type->brakeLightNodes.size(), 2u);
        EXPECT_EQ(type->rearLightNodes.size(), 2u);
        EXPECT_NE(type->cameras[0].rotation.w, 1.0f);
    }
    EXPECT_EQ(heavy.copLights.size(), 2u);
    EXPECT_FALSE(log->Contains(L"not a usable vehicle"));
}

} // namespace
