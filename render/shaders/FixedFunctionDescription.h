#pragma once
// A vertex program that is no program: a "DCLS" description of Direct3D's
// fixed-function vertex processing (lighting and its lights, fog, specular
// highlights, where each texture stage takes its coordinates). Binding it
// turns the vertex shader off and feeds the pipeline from the same shader
// variables the HLSL programs read: "World", "View", "Proj", the material,
// the fog colour and each light's colours and direction.

#include "render/shaders/ShaderProgram.h"

#include <d3d9.h>

#include <cstdint>
#include <vector>

struct FixedFunctionLight {
    int32_t type = 0x7FFFFFFF;   // D3DLIGHTTYPE
    // Shader-variable ids; -1 for none.
    int32_t ambient = -1;
    int32_t diffuse = -1;
    int32_t specular = -1;
    int32_t direction = -1;
};

class FixedFunctionDescription : public VertexProgram {
public:
    // Loads the file; a file with errors keeps what was read before them.
    FixedFunctionDescription(D3D9Video& device, const WideString& name);

    void Bind(ShaderVariableBlock* chain, BindingCache& cache) override;

    const std::vector<FixedFunctionLight>& GetLights() const { return lights_; }
    bool IsLighting() const { return lighting_; }
    bool IsFogging() const { return fogging_; }
    bool IsSpecular() const { return specular_; }
    // The D3DTSS_TEXCOORDINDEX value of each described stage.
    const std::vector<uint32_t>& GetStages() const { return stages_; }

private:
    static void OnStartElement(void* reader, const char* element, const char** attributes);
    void ReadLight(const char** attributes);

    void BindTransforms(ShaderVariableBlock* chain, BindingCache& cache);
    void SetTransform(D3DTRANSFORMSTATETYPE state, const float* matrix, bool transposed);
    void BindMaterial(ShaderVariableBlock* chain, BindingCache& cache);
    void BindFog(ShaderVariableBlock* chain, BindingCache& cache);
    void BindLights(ShaderVariableBlock* chain, BindingCache& cache);
    // Resolved once per cache entry; a miss is remembered and not reported.
    ShaderVariable* Lookup(ShaderVariableBlock* chain, BindingCache& cache, size_t entry, int32_t id);

    std::vector<FixedFunctionLight> lights_;
    bool lighting_ = false;
    bool fogging_ = false;
    bool specular_ = false;
    std::vector<uint32_t> stages_;
};

// What the descriptions last sent to Direct3D (material, lights, fog colour)
// is shared by all of them; a new or reset device holds Direct3D's defaults
// again, so the copies must be forgotten then, with the transform caches.
void ForgetFixedFunctionState();
