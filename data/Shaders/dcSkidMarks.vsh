// Skid marks written in world space: "World" is their identity matrix,
// "View" and "Proj" are the camera's. The band's colour is the texture's;
// "Alpha" scales its opacity as the marks fade.
float4x4 World;
float4x4 View;
float4x4 Proj;
float Alpha;

struct Output {
    float4 position : POSITION;
    float4 color : COLOR0;
    float2 uv : TEXCOORD0;
};

Output main(float3 position : POSITION, float2 uv : TEXCOORD0)
{
    Output result;
    result.position = mul(mul(mul(float4(position, 1), World), View), Proj);
    result.color = float4(1, 1, 1, Alpha);
    result.uv = uv;
    return result;
}
