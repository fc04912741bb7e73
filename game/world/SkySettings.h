#pragma once
// The current sky of the game: the sky dome model of a sky folder, the sun
// direction of the lens flare, the static and dynamic lights, the fog, and
// whether the traffic cars switch their lights on. The world keeps one; a
// fresh default one replaces it at every load, and a sky folder's
// ("Skies\Day") replaces it when a mission or a menu asks for that sky.
// The console's editing commands change it in place and write it back into
// its folder with the save operations.

#include "engine/files/WideString.h"
#include "engine/math/Vec3.h"
#include "game/world/SkyLighting.h"

#include <memory>
#include <vector>

class Camera;
class Model;
class ShaderVariableBlock;

class SkySettings {
public:
    static constexpr float kDomeScale = 0.1f;   // the dome is drawn at a tenth of its modelled size

    // The default sky: no model, no folder, flare off with sun direction
    // (0, 0, 0), default lights and fog, car lights off.
    SkySettings();
    ~SkySettings();
    SkySettings(const SkySettings&) = delete;
    SkySettings& operator=(const SkySettings&) = delete;

    // Everything anew from the folder: its dome "<folder>\Models\Sky.DCM"
    // (textures looked up in the folder too) under the given block of shader
    // values, then its settings files. A missing flare file leaves the flare
    // off with the sun along (0, 0, -1); a missing lighting file leaves the
    // lights and fog at their defaults and ends the reading there, as does a
    // missing dynamic lighting file, which also leaves the light list empty
    // and the car lights off.
    void Load(const WideString& folder, ShaderVariableBlock* shaderParent);
    // Lets go of the model, the light list and the folder name.
    void Clear();
    // The dome at the camera's position, scaled down.
    void Draw(const Camera& camera);

    // Write the static and dynamic lights with the fog, or the sun
    // direction, into the folder's files. False, logged, when the sky has no
    // folder of its own (they would land in the drive's root) or the file
    // could not be written.
    bool SaveLighting() const;
    bool SaveFlare() const;

    Model* GetModel() const { return model_.get(); }
    const WideString& GetFolder() const { return folder_; }
    bool IsFlareOn() const { return flareOn_; }
    void SetFlareOn(bool on) { flareOn_ = on; }
    const Vec3& GetSunDirection() const { return sunDirection_; }
    void SetSunDirection(const Vec3& direction) { sunDirection_ = direction; }
    SkyLightSet& GetStaticLights() { return staticLights_; }
    SkyLightSet& GetDynamicLights() { return dynamicLights_; }
    const SkyLightSet& GetStaticLights() const { return staticLights_; }
    const SkyLightSet& GetDynamicLights() const { return dynamicLights_; }
    // Static lights 0 to 2, then dynamic lights 0 to 2, for the editing
    // commands; empty unless the dynamic lighting file was read.
    const std::vector<SkyLight*>& GetLightList() const { return lightList_; }
    SkyFog& GetFog() { return fog_; }
    const SkyFog& GetFog() const { return fog_; }
    bool HasCarLights() const { return carLights_; }

private:
    void ReadSettingsFiles();
    void LoadDome(ShaderVariableBlock* shaderParent);
    bool CanSaveInto(const wchar_t* file) const;

    std::unique_ptr<Model> model_;
    WideString folder_;
    bool flareOn_ = false;
    Vec3 sunDirection_;
    SkyLightSet staticLights_;
    SkyLightSet dynamicLights_;
    std::vector<SkyLight*> lightList_;
    SkyFog fog_;
    bool carLights_ = false;
};
