#pragma once
// Lets go of the one reference a holder keeps on a COM object (DirectSound,
// DirectShow) and forgets the pointer, so releasing twice does nothing.

template <class Interface>
void ReleaseInterface(Interface*& pointer)
{
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}
