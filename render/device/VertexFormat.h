#pragma once
// Vertex layouts. Equal element lists share one Direct3D vertex declaration,
// cached by the device, so switching between formats of equal layout costs
// no Direct3D call; the declaration goes with the last format using it.

#include "engine/video/VertexElement.h"
#include "render/device/ComRef.h"

#include <d3d9.h>

#include <cstdint>
#include <memory>
#include <vector>

class D3D9Video;

class VertexDeclaration : public std::enable_shared_from_this<VertexDeclaration> {
public:
    VertexDeclaration(D3D9Video& device, const std::vector<VertexElement>& elements);
    ~VertexDeclaration();
    VertexDeclaration(const VertexDeclaration&) = delete;
    VertexDeclaration& operator=(const VertexDeclaration&) = delete;

    const std::vector<VertexElement>& GetElements() const { return elements_; }
    // None when Direct3D refused the layout.
    IDirect3DVertexDeclaration9* GetDirect3DDeclaration() const { return declaration_.Get(); }
    // The device is going.
    void Detach();

private:
    D3D9Video* device_;
    std::vector<VertexElement> elements_;
    ComRef<IDirect3DVertexDeclaration9> declaration_;
};

// What callers hold: a use of a shared declaration.
class VertexFormat {
public:
    explicit VertexFormat(std::shared_ptr<VertexDeclaration> declaration) : declaration_(std::move(declaration)) {}

    VertexDeclaration& GetDeclaration() const { return *declaration_; }

private:
    std::shared_ptr<VertexDeclaration> declaration_;
};
