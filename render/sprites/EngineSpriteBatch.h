#pragma once
// The engine's one sprite batch, which the console, the menus and the
// statistics overlay draw with.

class dcEngine;

// Made on the engine's video device, when it has one; the frame timer
// restarts, so the time spent starting up is no frame time.
void CreateSpriteBatch(dcEngine& engine);
