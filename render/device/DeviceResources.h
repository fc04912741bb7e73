#pragma once
// The resources a device made and must see through a reset: each list holds
// what is alive, in the order it was made; a resource takes itself out when
// it goes. The device does not own them.

#include <vector>

class DepthSurface;
class DeviceTexture;
class IndexBuffer;
class RenderSurface;
class VertexBuffer;
class VertexDeclaration;

struct DeviceResources {
    std::vector<DeviceTexture*> textures;
    std::vector<VertexBuffer*> vertexBuffers;
    std::vector<IndexBuffer*> indexBuffers;
    std::vector<VertexDeclaration*> declarations;
    std::vector<DepthSurface*> depthSurfaces;
    std::vector<RenderSurface*> renderSurfaces;
};
