// Screen quads: the sprite batch writes clip-space positions; "World" is its
// identity matrix.
float4x4 World;

struct Output {
    float4 position : POSITION;
    float4 color : COLOR0;
    float2 uv : TEXCOORD0;
};

Output main(float2 position : POSITION, float4 color : COLOR0, float2 uv : TEXCOORD0)
{
    Output result;
    result.position = mul(float4(position, 0, 1), World);
    result.color = color;
    result.uv = uv;
    return result;
}
