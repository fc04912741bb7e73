#include "render/shaders/ShaderEffect.h"

#include "engine/core/LogHub.h"
#include "engine/files/ResourceFactory.h"
#include "render/shaders/StyleFile.h"

#include <algorithm>

namespace {

constexpr int32_t kCurrentStyleRow = -2;

struct StyleFileCache {
    std::vector<std::unique_ptr<StyleFile>> files;
    int32_t detailLevel = 0;
};

// Never destroyed: effects held by static objects still release their
// files after main.
StyleFileCache& LoadedStyleFiles()
{
    static auto* cache = new StyleFileCache;
    return *cache;
}

// The game has one device; tests make several, one after another.
StyleFile* ShareStyleFile(D3D9Video& device, const WideString& name)
{
    StyleFileCache& cache = LoadedStyleFiles();
    for (const std::unique_ptr<StyleFile>& file : cache.files) {
        if (&file->GetDevice() == &device && file->GetName() == name) {
            return file.get();
        }
    }
    auto file = std::make_unique<StyleFile>(device, name);
    file->detailLevel = cache.detailLevel;
    cache.files.push_back(std::move(file));
    return cache.files.back().get();
}

void ReleaseStyleFile(StyleFile* file)
{
    if (--file->useCount > 0) {
        return;
    }
    std::vector<std::unique_ptr<StyleFile>>& files = LoadedStyleFiles().files;
    auto found = std::find_if(files.begin(), files.end(),
                              [file](const std::unique_ptr<StyleFile>& loaded) { return loaded.get() == file; });
    if (found != files.end()) {
        files.erase(found);
    }
}

} // namespace

void SetShaderDetailLevel(int32_t level)
{
    StyleFileCache& cache = LoadedStyleFiles();
    cache.detailLevel = level;
    for (const std::unique_ptr<StyleFile>& file : cache.files) {
        file->ClearValidated();
        file->detailLevel = level;
    }
}

int32_t GetShaderDetailLevel()
{
    return LoadedStyleFiles().detailLevel;
}

int32_t GetLoadedStyleFileCount()
{
    return static_cast<int32_t>(LoadedStyleFiles().files.size());
}

ShaderEffect::ShaderEffect(D3D9Video& device, const WideString& name)
    : device_(device)
{
    const WideString resolved = ShaderFactory().Resolve(name, true);
    if (!resolved.empty()) {
        Attach(ShareStyleFile(device, resolved));
    }
}

ShaderEffect::ShaderEffect(D3D9Video& device, StyleFile* file)
    : device_(device)
{
    if (file) {
        Attach(file);
    }
}

// A file without styles, or a style without techniques, leaves the effect
// (or that style) drawing nothing rather than reaching for what is not there.
void ShaderEffect::Attach(StyleFile* file)
{
    file_ = file;
    ++file_->useCount;
    for (const ShaderStyle& style : file_->GetStyles()) {
        StyleCache& cache = styles_.emplace_back();
        for (const ShaderTechnique& technique : style.techniques) {
            TechniqueCache& techniqueCache = cache.techniques.emplace_back();
            for (const ShaderPass& pass : technique.passes) {
                techniqueCache.passes.push_back({std::vector<FragmentCache>(pass.fragments.size())});
            }
        }
        if (style.techniques.empty()) {
            LogHub::PrintError("D3D9Video: %s, style '%s' has no techniques", file_->GetName().c_str(),
                               style.name.c_str());
            cache.chosenTechnique = -1;
        }
    }
    if (styles_.empty()) {
        LogHub::PrintError("D3D9Video: %s has no styles", file_->GetName().c_str());
        return;
    }
    currentStyle_ = 0;
}

ShaderEffect::~ShaderEffect()
{
    if (file_) {
        ReleaseStyleFile(file_);
    }
}

void ShaderEffect::SetParent(ShaderVariableBlock* parent)
{
    if (parent != GetParent()) {
        for (StyleCache& style : styles_) {
            for (TechniqueCache& technique : style.techniques) {
                for (PassCache& pass : technique.passes) {
                    for (FragmentCache& fragment : pass.fragments) {
                        std::fill(fragment.vertex.begin(), fragment.vertex.end(), ResolvedBinding{});
                        std::fill(fragment.pixel.begin(), fragment.pixel.end(), ResolvedBinding{});
                    }
                }
            }
        }
    }
    ShaderVariableBlock::SetParent(parent);
}

std::unique_ptr<ShaderEffect> ShaderEffect::Clone() const
{
    return std::unique_ptr<ShaderEffect>(new ShaderEffect(device_, file_));
}

WideString ShaderEffect::GetName() const
{
    return file_ ? file_->GetName() : WideString();
}

bool ShaderEffect::SelectStyle(const WideString& name)
{
    if (!file_) {
        return false;
    }
    const std::vector<ShaderStyle>& styles = file_->GetStyles();
    for (size_t i = 0; i < styles.size(); ++i) {
        if (styles[i].name == name) {
            currentStyle_ = static_cast<int32_t>(i);
            return true;
        }
    }
    return false;
}

bool ShaderEffect::SetStyleIndex(int32_t index)
{
    if (!file_ || index < 0 || index >= file_->GetStyleCount()) {
        return false;
    }
    currentStyle_ = index;
    return true;
}

bool ShaderEffect::SelectStyleByKey(int32_t key)
{
    const int32_t row = FindStyle(key);
    if (row < 0) {
        return false;
    }
    currentStyle_ = row;
    return true;
}

int32_t ShaderEffect::FindStyle(int32_t key) const
{
    if (!file_) {
        return -1;
    }
    if (key == 0) {
        return kCurrentStyleRow;
    }
    const std::vector<ShaderStyle>& styles = file_->GetStyles();
    for (size_t i = 0; i < styles.size(); ++i) {
        if (styles[i].key == key) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

int32_t ShaderEffect::ResolveRow(int32_t row) const
{
    if (row == kCurrentStyleRow) {
        row = currentStyle_;
    }
    return file_ && row >= 0 && row < static_cast<int32_t>(styles_.size()) ? row : -1;
}

ShaderEffect::StyleCache* ShaderEffect::DrawableStyle(int32_t row)
{
    const int32_t resolved = ResolveRow(row);
    if (resolved < 0 || styles_[resolved].chosenTechnique < 0) {
        return nullptr;
    }
    return &styles_[resolved];
}

const ShaderEffect::StyleCache* ShaderEffect::DrawableStyle(int32_t row) const
{
    return const_cast<ShaderEffect*>(this)->DrawableStyle(row);
}

int32_t ShaderEffect::GetChosenTechnique(int32_t row) const
{
    const StyleCache* style = DrawableStyle(row);
    return style ? style->chosenTechnique : -1;
}

void ShaderEffect::ChooseTechnique(int32_t detail)
{
    const int32_t row = ResolveRow(kCurrentStyleRow);
    if (row < 0) {
        return;
    }
    const std::vector<ShaderTechnique>& techniques = file_->GetStyles()[row].techniques;
    int32_t chosen = static_cast<int32_t>(techniques.size()) - 1;
    for (size_t t = 0; t < techniques.size(); ++t) {
        if (techniques[t].detailId >= detail) {
            chosen = static_cast<int32_t>(t);
            break;
        }
    }
    styles_[row].chosenTechnique = chosen;
}

int32_t ShaderEffect::ValidateCurrent()
{
    StyleCache* style = DrawableStyle(kCurrentStyleRow);
    if (!style) {
        return -1;
    }
    file_->ValidateTechnique(currentStyle_, style->chosenTechnique, 0, this);
    return style->chosenTechnique;
}

int32_t ShaderEffect::GetStyleState(int32_t unused, int32_t key) const
{
    const int32_t row = ResolveRow(FindStyle(key));
    if (!DrawableStyle(row)) {
        return -1;
    }
    const std::vector<ShaderTechnique>& techniques = file_->GetStyles()[row].techniques;
    return std::any_of(techniques.begin(), techniques.end(),
                       [](const ShaderTechnique& technique) { return technique.validated; })
               ? 1
               : 0;
}

uint32_t ShaderEffect::GetPassMask(int32_t key) const
{
    const int32_t row = ResolveRow(FindStyle(key));
    const StyleCache* style = DrawableStyle(row);
    if (!style) {
        return 0;
    }
    uint32_t mask = 0;
    for (const ShaderPass& pass : file_->GetStyles()[row].techniques[style->chosenTechnique].passes) {
        mask |= 1u << (pass.index & 31);
    }
    return mask;
}

bool ShaderEffect::Validate(int32_t passKey, int32_t row)
{
    StyleCache* style = DrawableStyle(row);
    return style && file_->ValidateTechnique(ResolveRow(row), style->chosenTechnique, passKey, this);
}

int32_t ShaderEffect::GetFragmentCount(int32_t passKey, int32_t row)
{
    StyleCache* style = DrawableStyle(row);
    if (!style) {
        return 0;
    }
    const ShaderPass* pass = file_->GetStyles()[ResolveRow(row)].techniques[style->chosenTechnique].FindPass(passKey);
    return pass ? static_cast<int32_t>(pass->fragments.size()) : 0;
}

bool ShaderEffect::ApplyFragment(int32_t passKey, int32_t fragment, int32_t row)
{
    StyleCache* style = DrawableStyle(row);
    if (!style) {
        return false;
    }
    const int32_t styleRow = ResolveRow(row);
    const int32_t technique = style->chosenTechnique;
    const int32_t pass = file_->GetStyles()[styleRow].techniques[technique].FindPassIndex(passKey);
    if (pass < 0) {
        return false;
    }
    std::vector<FragmentCache>& fragments = style->techniques[technique].passes[pass].fragments;
    if (fragment < 0 || fragment >= static_cast<int32_t>(fragments.size())) {
        return false;
    }
    FragmentCache& caches = fragments[fragment];
    return file_->ApplyFragment(styleRow, technique, passKey, fragment, this, caches.vertex, caches.pixel);
}

void ShaderEffect::ApplyAllFragments()
{
    StyleCache* style = DrawableStyle(kCurrentStyleRow);
    if (!style) {
        return;
    }
    const size_t passes = file_->GetStyles()[currentStyle_].techniques[style->chosenTechnique].passes.size();
    for (int32_t passKey = 0; passKey < static_cast<int32_t>(passes); ++passKey) {
        const int32_t fragments = GetFragmentCount(passKey, kCurrentStyleRow);
        for (int32_t i = 0; i < fragments; ++i) {
            ApplyFragment(passKey, i, kCurrentStyleRow);
        }
    }
}
