#pragma once
// Holds one reference on a COM object (a Direct3D interface) and releases it
// when it goes, so no early return can leak a surface or a device.

#include <utility>

template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    // Takes over the reference a creating call handed out.
    explicit ComRef(Interface* adopted) : object_(adopted) {}
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept
    {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }

    Interface* Get() const { return object_; }
    Interface* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // Where a creating call writes its new object; the old one is released first.
    Interface** Receive()
    {
        Reset();
        return &object_;
    }

    void Reset()
    {
        if (object_) {
            object_->Release();
            object_ = nullptr;
        }
    }

private:
    Interface* object_ = nullptr;
};
