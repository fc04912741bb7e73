// Meshes lit by the sun: "World" places the mesh, "View" and "Proj" are the
// camera's; "LightDir" points towards the light, "LightAmbient" and
// "LightDiffuse" are its colours.
float4x4 World;
float4x4 View;
float4x4 Proj;
float3 LightDir;
float4 LightAmbient;
float4 LightDiffuse;

struct Output {
    float4 position : POSITION;
    float4 color : COLOR0;
    float2 uv : TEXCOORD0;
};

Output main(float3 position : POSITION, float3 normal : NORMAL, float2 uv : TEXCOORD0)
{
    Output result;
    result.position = mul(mul(mul(float4(position, 1), World), View), Proj);
    float3 worldNormal = mul(normal, (float3x3)World);
    // mul of two vectors is their dot product.
    float facing = max(mul(worldNormal, LightDir), 0);
    result.color = LightAmbient + LightDiffuse * facing;
    result.uv = uv;
    return result;
}
