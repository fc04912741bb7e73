#pragma once
// The engine's handlers of its window's messages: typed characters, resizing,
// moving and closing.

#include <memory>
#include <vector>

class WindowMessageHandler;
class dcEngine;

std::vector<std::unique_ptr<WindowMessageHandler>> MakeEngineWindowHandlers(dcEngine& engine);
