#pragma once
// The base of the game-mode object the game module holds while a game runs,
// a member of the game scene. It keeps what belongs to one game rather than
// to the world: for now the game camera it makes and its started and
// controls-locked flags. The one game mode ever made is dcScriptGame.

#include "engine/core/MessageReceiver.h"
#include "game/world/GameMessages.h"

class GameModule;

class dcGame : public MessageReceiver {
    DC_RECEIVER(dcGame, MessageReceiver)
public:
    dcGame();
    ~dcGame() override;

    // Starts the game: in the base, stops it.
    virtual void Start();
    // Fires the mission's first nodes; the base has none. True when it fired.
    virtual bool FireRoots();
    virtual void LoadOwnScript() {}

    bool IsStarted() const { return started_; }
    // While set, the player's controls are ignored.
    bool AreControlsLocked() const { return controlsLocked_; }
    void SetControlsLocked(bool locked) { controlsLocked_ = locked; }

protected:
    // Started, then the mode's own script.
    void Begin();

    // The end of the game releases the mode; a restart keeps it.
    virtual void OnGameReset(const dcGameReset& message);

private:
    static void MakeCamera(GameModule& game);

    bool started_ = false;
    bool controlsLocked_ = false;
};
// handlers: dcGameReset -> OnGameReset
