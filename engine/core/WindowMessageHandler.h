#pragma once
// Takes some of the engine window's messages. Handlers are asked in the order
// they were added; the first that takes a message answers it.

#include <cstdint>
#include <initializer_list>
#include <vector>

class dcWindow;

class WindowMessageHandler {
public:
    explicit WindowMessageHandler(std::initializer_list<uint32_t> messages) : messages_(messages) {}
    virtual ~WindowMessageHandler() = default;

    virtual intptr_t Handle(dcWindow& window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;

    bool Takes(uint32_t message) const;

private:
    std::vector<uint32_t> messages_;
};

// The global handler list; it does not own the handlers.
void AddWindowMessageHandler(WindowMessageHandler* handler);
void RemoveWindowMessageHandler(WindowMessageHandler* handler);
