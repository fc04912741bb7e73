// Every file reader of the renderer fed damaged copies of good files: cut
// short at every length and with bytes overwritten. Each load must come back,
// loaded or refused, and a refused file must have said so in the log, by name.
// What loads is then used as the game uses it, since a reader promises that
// what it hands out needs no further checks.

#include "engine/video/TextureResource.h"
#include "render/device/DctTextureLoader.h"
#include "render/device/TextureLoader.h"
#include "render/models/Animation.h"
#include "render/models/Mesh.h"
#include "render/models/Skeleton.h"
#include "render/models/SkinnedMesh.h"
#include "render/shaders/FixedFunctionDescription.h"
#include "render/shaders/StyleFile.h"
#include "render/shaders/TextureStageDescription.h"
#include "render/shaders/XmlDescription.h"
#include "tests/render/models/ModelSupport.h"
#include "tests/render/shaders/ShaderTestSupport.h"
#include "tests/support/DamagedCopies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>

namespace {

// What overwritten bytes become. In text files they stay printable, half of
// them the characters that give XML its shape, so that most copies still
// parse and reach the reader.
enum class Damage { kBinary, kText };

uint8_t Printable(uint8_t byte)
{
    static constexpr char kMarkup[] = "<>/=\"'? ";
    return static_cast<uint8_t>(byte % 2 ? kMarkup[byte / 2 % (sizeof kMarkup - 1)] : 0x20 + byte / 2 % 0x5F);
}

// Every length below 512 and about 256 more; 300 copies with bytes
// overwritten, most in the first 64 bytes, where headers and counts are.
std::vector<DamagedCopy> DamagedCopiesOf(const FileBytes& good, Damage damage)
{
    std::vector<DamagedCopy> copies = CutCopies(good, 512, 256);
    std::vector<DamagedCopy> overwritten = OverwrittenCopies(good, 300, {{0, std::min<size_t>(64, good.size())}});
    for (DamagedCopy& copy : overwritten) {
        for (size_t at = 0; damage == Damage::kText && at < good.size(); ++at) {
            if (copy.bytes[at] != good[at]) {
                copy.bytes[at] = Printable(copy.bytes[at]);
            }
        }
        copies.push_back(std::move(copy));
    }
    return copies;
}

// The device loaded files are made on, and the variables an object drawing
// with them provides.
struct LoadContext {
    D3D9Video& video;
    SampleVariables& variables;
};

// Loads the file under the name and uses what loaded; false when refused.
using LoadFile = bool (*)(LoadContext& context, const WideString& name);

struct FileKind {
    const char* label;
    const wchar_t* fixture;   // holds the good files and what loaded files refer to
    std::vector<const wchar_t*> goodFiles;
    const wchar_t* copyName;
    LoadFile load;
    Damage damage = Damage::kBinary;
};

void PrintTo(const FileKind& kind, std::ostream* out)
{
    *out << kind.label;
}

// A refused mesh is left with nothing; one that read has at least the
// buffers of its geometry, even when a damaged count left it nothing to draw.
template <class LoadedMesh>
bool IsRefused(LoadedMesh& mesh)
{
    return mesh.GetGeometry().empty() && mesh.GetMaterials().empty() && mesh.GetParts().empty() &&
           mesh.GetNodes().empty() && mesh.GetTapes().empty();
}

// The description readers keep what they read before an error, so the file
// counts as refused when it is not well-formed.
bool IsWellFormedXml(const WideString& name)
{
    return ParseXmlDescription(name, nullptr, [](void*, const char*, const char**) {});
}

bool LoadTexture(LoadContext& context, const WideString& name)
{
    return DctTextureLoader().Decode(name, context.video) != nullptr;
}

// Each material's effect applied as for drawing, under the variables an
// object drawing it provides.
void ApplyMaterials(MeshData& mesh, SampleVariables& variables)
{
    for (MeshMaterial& material : mesh.GetMaterials()) {
        ShaderEffect& effect = *material.effect;
        effect.SetParent(&variables);
        effect.ValidateCurrent();
        effect.ApplyAllFragments();
        effect.SetParent(nullptr);
    }
}

bool LoadStaticMesh(LoadContext& context, const WideString& name)
{
    Mesh mesh(&context.video, name, L"");
    ApplyMaterials(mesh, context.variables);
    return !IsRefused(mesh);
}

bool LoadSkinnedMesh(LoadContext& context, const WideString& name)
{
    SkinnedMesh mesh(&context.video, name);
    const std::vector<Matrix44> palette(kMaxBones);
    mesh.Skin(palette.data(), kMaxBones);
    ApplyMaterials(mesh, context.variables);
    return !IsRefused(mesh);
}

// Played in a loop and once over it, a second past its end and then far
// beyond, as a stalled frame does.
void PlayFor(Skeleton& skeleton, const Animation& animation)
{
    skeleton.PlayAnimation(&animation, 0.0f, -1, 0.25f, 1.0f);
    skeleton.PlayAnimationOnce(&animation, 0.1f, 0.1f, 2.0f);
    for (float dt : {0.1f, animation.GetLength(true) + 1.0f, 1000.0f}) {
        skeleton.Update(dt);
    }
    skeleton.BuildSkinMatrices();
}

bool LoadSkeleton(LoadContext&, const WideString& name)
{
    Skeleton skeleton(name, nullptr);
    const Animation walk(L"Models\\Walk.DCA", true);
    PlayFor(skeleton, walk);
    return skeleton.GetBoneCount() > 0;
}

bool LoadAnimation(LoadContext&, const WideString& name)
{
    const Animation animation(name, true);
    Skeleton figure(L"Models\\Figure.DCSK", nullptr);
    PlayFor(figure, animation);
    return animation.GetKeyCount() > 0;
}

bool LoadStyleFile(LoadContext& context, const WideString& name)
{
    const bool wellFormed = IsWellFormedXml(name);
    StyleFile styles(context.video, name);
    for (int32_t row = 0; row < styles.GetStyleCount(); ++row) {
        for (int32_t passKey : {0, 3}) {
            int32_t technique = -1;
            styles.ValidateTechnique(row, technique, passKey, &context.variables);
        }
    }
    return wellFormed;
}

bool LoadVertexDescription(LoadContext& context, const WideString& name)
{
    const bool wellFormed = IsWellFormedXml(name);
    FixedFunctionDescription description(context.video, name);
    BindingCache cache;
    description.Bind(&context.variables, cache);
    return wellFormed;
}

bool LoadStageDescription(LoadContext& context, const WideString& name)
{
    const bool wellFormed = IsWellFormedXml(name);
    TextureStageDescription description(context.video, name);
    BindingCache cache;
    // What the device cannot run is never bound.
    if (description.FitsDevice()) {
        description.PreloadTextures(&context.variables, cache);
        description.Bind(&context.variables, cache);
    }
    return wellFormed;
}

const FileKind kFileKinds[] = {
    {"Texture", L"textures",
     {L"Textures\\Mipped.DCT", L"Textures\\Rgb.DCT", L"Textures\\Dxt1.DCT", L"Textures\\Dxt5.DCT",
      L"Textures\\Wide.DCT"},
     L"Damaged\\Copy.DCT", LoadTexture},
    {"StaticMesh", L"models", {L"Models\\Tiny.DCM", L"Models\\TinyV2.DCM", L"Models\\Car.DCM"},
     L"Damaged\\Copy.DCM", LoadStaticMesh},
    {"SkinnedMesh", L"models", {L"Models\\SkinTiny.DCM", L"Models\\SkinLegacy.DCM", L"Models\\Figure.DCM"},
     L"Damaged\\Copy.DCM", LoadSkinnedMesh},
    {"Skeleton", L"models", {L"Models\\Chain.DCSK", L"Models\\V1.DCSK", L"Models\\Figure.DCSK"},
     L"Damaged\\Copy.DCSK", LoadSkeleton},
    {"Animation", L"models", {L"Models\\ThreeKeys.DCA", L"Models\\LayoutB.DCA", L"Models\\Walk.DCA"},
     L"Damaged\\Copy.DCA", LoadAnimation},
    {"StyleFile", L"models", {L"Shaders\\dcMesh.DCS", L"Shaders\\dcSprite_Alpha.DCS"}, L"Damaged\\Copy.DCS",
     LoadStyleFile, Damage::kText},
    {"VertexDcls", L"models", {L"Shaders\\dcMesh.DCLS", L"Shaders\\dcUnlit.DCLS"}, L"Damaged\\Copy.DCLS",
     LoadVertexDescription, Damage::kText},
    {"StageDcls", L"models", {L"Shaders\\dcTexture.DCLS", L"Shaders\\dcDiffuse.DCLS"}, L"Damaged\\Copy.DCLS",
     LoadStageDescription, Damage::kText},
};

// Damage a reader must catch, each case named.
struct NamedCase {
    const char* name;
    const char* kind;   // a FileKind's label
    const wchar_t* goodFile;
    std::function<void(FileBytes&)> damage;
    bool loads;
};

// The first place the text is stored, as it is stored in the file.
size_t Find(const FileBytes& bytes, const std::string& text)
{
    const auto found = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
    EXPECT_NE(found, bytes.end()) << text;
    return static_cast<size_t>(found - bytes.begin());
}

const NamedCase kNamedCases[] = {
    {"FormatCodeOutsideTheTable", "Texture", L"Textures\\Mipped.DCT", [](FileBytes& b) { b[31] = 3; }, false},
    // 16384 x 16384 pixels promised by a file of a few hundred bytes: refused
    // before the device is asked for a gigabyte.
    {"LevelLargerThanTheFile", "Texture", L"Textures\\Mipped.DCT",
     [](FileBytes& b) {
         PutLittleEndian(b, 32, 1);
         PutLittleEndian(b, 36, 16384);
         PutLittleEndian(b, 40, 16384);
     },
     false},
    {"CutBeforeItsTapes", "StaticMesh", L"Models\\Car.DCM", [](FileBytes& b) { b.resize(20); }, false},
    {"CutInsideTheLastTape", "StaticMesh", L"Models\\Tiny.DCM", [](FileBytes& b) { b.resize(b.size() - 4); }, false},
    // The texture a stage samples, given as bytes instead of a texture file.
    {"TextureParameterGivenAsData", "StaticMesh", L"Models\\Car.DCM",
     [](FileBytes& b) { PutLittleEndian(b, Find(b, "Tex0") + 4, 5); }, true},
    {"SkinTextureParameterGivenAsData", "SkinnedMesh", L"Models\\Figure.DCM",
     [](FileBytes& b) { PutLittleEndian(b, Find(b, "Tex0") + 4, 5); }, true},
};

FileBytes ReadWhole(const WideString& name)
{
    std::unique_ptr<Stream> in = OpenFile(name);
    FileBytes bytes(static_cast<size_t>(std::max(in->GetSize(), 0)));
    in->Read(bytes.data(), static_cast<int32_t>(bytes.size()));
    return bytes;
}

// The kind's fixture mounted as the game mounts its data, with the resource
// folders the engine sets up, and the damaged copy as one more file.
class DamagedFiles : public WindowedDevice, public testing::WithParamInterface<FileKind> {
protected:
    void SetUp() override
    {
        WindowedDevice::SetUp();
        RegisterTextureLoaders();
        ForgetSentFixedFunctionState();
        mounted_ = std::make_unique<MountedFixture>(GetParam().fixture);
        for (const wchar_t* name : GetParam().goodFiles) {
            goodFiles_.push_back(ReadWhole(name));
            ASSERT_FALSE(goodFiles_.back().empty()) << WideStringToNarrow(name);
        }
        auto copy = std::make_unique<MemoryFileArchive>(GetParam().copyName);
        copy_ = copy.get();
        ArchiveList::Instance().Mount(std::move(copy));
        variables_ = std::make_unique<SampleVariables>(video);
    }
    void TearDown() override { SetShaderDetailLevel(0); }

    // Whether it loaded; a refusal must have named the file.
    bool LoadCopy(const FileBytes& bytes, const std::string& damage)
    {
        copy_->bytes = bytes;
        ScopedCapture log(kLogWarning);
        LoadContext context{video, *variables_};
        const bool loaded = GetParam().load(context, GetParam().copyName);
        EXPECT_TRUE(loaded || log->Contains(GetParam().copyName)) << damage << ": refused without a word";
        return loaded;
    }

    std::vector<FileBytes> goodFiles_;

private:
    ScopedFactoryFolder models_{ModelResourceFactory(), L"Models"};
    ScopedFactoryFolder textures_{TextureFactory(), L"Textures"};
    ScopedFactoryFolder shaders_{ShaderFactory(), L"Shaders"};
    std::unique_ptr<MountedFixture> mounted_;
    MemoryFileArchive* copy_ = nullptr;
    std::unique_ptr<SampleVariables> variables_;
};

// The named cases first, each with what must become of it; then every
// generated copy of every good file.
TEST_P(DamagedFiles, EveryCopyLoadsOrIsRefusedByName)
{
    for (const NamedCase& c : kNamedCases) {
        if (std::string(c.kind) == GetParam().label) {
            FileBytes bytes = ReadWhole(c.goodFile);
            c.damage(bytes);
            EXPECT_EQ(LoadCopy(bytes, c.name), c.loads) << c.name;
        }
    }
    for (size_t f = 0; f < goodFiles_.size(); ++f) {
        SCOPED_TRACE(WideStringToNarrow(GetParam().goodFiles[f]));
        ASSERT_TRUE(LoadCopy(goodFiles_[f], "undamaged"));
        for (const DamagedCopy& copy : DamagedCopiesOf(goodFiles_[f], GetParam().damage)) {
            LoadCopy(copy.bytes, copy.damage);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Renderer, DamagedFiles, testing::ValuesIn(kFileKinds),
                         [](const testing::TestParamInfo<FileKind>& info) { return std::string(info.param.label); });

} // namespace
