// Debug shapes: world-space positions with a colour each.
float4x4 View;
float4x4 Proj;

struct Output {
    float4 position : POSITION;
    float4 color : COLOR0;
};

Output main(float3 position : POSITION, float4 color : COLOR0)
{
    Output result;
    result.position = mul(mul(float4(position, 1), View), Proj);
    result.color = color;
    return result;
}
