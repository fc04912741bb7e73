// Meshes lit by the sun: "World" places the mesh, "View" and "Proj" are the
// camera's; "LightDir" points towards the light, "LightAmbient" and
// "LightDiffuse" are its colours. The fog thickens with the square of the
// distance and is total at "FogRange"'s reciprocal; the second colour hands
// "FogColor" and the clear fraction (alpha) to a fogging pixel stage.
float4x4 World;
float4x4 View;
float4x4 Proj;
float3 LightDir;
float4 LightAmbient;
float4 LightDiffuse;
float FogRange;
float4 FogColor;

struct Output {
    float4 position : POSITION;
    float4 color : COLOR0;
    float4 fog : COLOR1;
    float2 uv : TEXCOORD0;
};

Output main(float3 position : POSITION, float3 normal : NORMAL, float2 uv : TEXCOORD0)
{
    Output result;
    float4 seen = mul(mul(float4(position, 1), World), View);
    result.position = mul(seen, Proj);
    float3 worldNormal = mul(normal, (float3x3)World);
    // mul of two vectors is their dot product.
    float facing = max(mul(worldNormal, LightDir), 0);
    result.color = LightAmbient + LightDiffuse * facing;
    float squaredDistance = mul(seen.xyz, seen.xyz);
    result.fog = float4(FogColor.rgb, max(1 - squaredDistance * FogRange * FogRange, 0));
    result.uv = uv;
    return result;
}
