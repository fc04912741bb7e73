#pragma once
// The device's side of a texture: it owns the Direct3D texture, sits in the
// device's texture list so that a reset can release and make again what
// lives in video memory, and may be shared by several user textures.

#include <d3d9.h>

class D3D9Video;

class DeviceTexture {
public:
    DeviceTexture(D3D9Video& device, D3DFORMAT format, DWORD usage, D3DPOOL pool);
    // Leaves the device's list; the Direct3D texture goes with the object.
    virtual ~DeviceTexture();
    DeviceTexture(const DeviceTexture&) = delete;
    DeviceTexture& operator=(const DeviceTexture&) = delete;

    // Around a reset, default-pool textures give up their Direct3D texture
    // and make it again from their stored parameters, contents lost.
    virtual void ReleaseDirect3D() = 0;
    virtual void Recreate() = 0;
    // The device is going: the Direct3D texture goes with it, and the object
    // stays as an empty shell for the user textures still holding it.
    void Detach();

    bool IsInDefaultPool() const { return pool_ == D3DPOOL_DEFAULT; }
    D3D9Video* GetDevice() const { return device_; }
    D3DFORMAT GetFormat() const { return format_; }

protected:
    D3D9Video* device_;
    D3DFORMAT format_;
    DWORD usage_;
    D3DPOOL pool_;
};
