#pragma once
// The engine as the game sees it in tests: the engine singleton started on
// scripted input, without video or audio, in a scratch folder that is the
// game's one file source. The game module is made on first use, so a test
// can write the files it reads first.

// First, so that the Win32 macros (GetClassName to GetClassNameW) rename
// the receiver's operations alike in the engine's declarations and here.
#include <windows.h>

#include "engine/audio/AudioDevice.h"
#include "engine/core/MLP.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/dcEngine.h"
#include "engine/core/dcWindow.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/FolderArchive.h"
#include "engine/input/InputSystem.h"
#include "engine/video/VideoDevice.h"
#include "game/world/GameModule.h"
#include "tests/engine/input/ScriptedInputDevices.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

// A member of the game scene that keeps every message it is handed, by
// identity. It answers every message, or only those of the listed types.
class RecordingEntity : public MessageReceiver {
public:
    struct Delivery {
        int32_t identity;
        std::vector<uint8_t> payload;
    };

    RecordingEntity() = default;
    explicit RecordingEntity(std::vector<int32_t> answered) : answered_(std::move(answered)) {}

    WideString GetClassName() const override { return L"RecordingEntity"; }
    int32_t GetClassID() const override { return HashClassName("RecordingEntity"); }
    bool HandlesMessage(int32_t identity) override
    {
        return answered_.empty() || std::find(answered_.begin(), answered_.end(), identity) != answered_.end();
    }
    int32_t HandleMessage(int32_t identity, const void* payload, int32_t size, int32_t) override
    {
        const auto* bytes = static_cast<const uint8_t*>(payload);
        deliveries.push_back({identity, std::vector<uint8_t>(bytes, bytes + size)});
        return 1;
    }

    // How many messages of the type arrived.
    template <class Msg>
    int32_t Count() const
    {
        return CountIdentity(Msg::Identity().Id());
    }
    int32_t CountIdentity(int32_t identity) const
    {
        int32_t count = 0;
        for (const Delivery& delivery : deliveries) {
            count += delivery.identity == identity ? 1 : 0;
        }
        return count;
    }
    // The payload of the last message of the type.
    template <class Msg>
    Msg Last() const
    {
        for (auto it = deliveries.rbegin(); it != deliveries.rend(); ++it) {
            if (it->identity == Msg::Identity().Id()) {
                Msg message{};
                std::copy(it->payload.begin(), it->payload.end(), reinterpret_cast<uint8_t*>(&message));
                return message;
            }
        }
        ADD_FAILURE() << "no such message";
        return Msg{};
    }

    std::vector<Delivery> deliveries;

private:
    std::vector<int32_t> answered_;
};

class GameTest : public testing::Test {
protected:
    GameTest() : GameTest(nullptr) {}
    // With an audio device of the test's choice (the engine's sound
    // folders and loaders are not set up by it).
    explicit GameTest(std::unique_ptr<AudioDevice> audio) : window(L"Game test", {0, 0, 800, 600}, false)
    {
        // A folder in place of the log file: the engine's log sink then writes nothing here.
        std::filesystem::create_directory("Console.RTF");
        ArchiveList::Instance().UnmountAll();
        ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
        auto devices = std::make_unique<ScriptedInputDevices>();
        scripted = devices.get();
        auto input = std::make_unique<InputSystem>(std::move(devices), &engine.GetLanguage());
        input->Init(window, false);
        engine.Start(nullptr, std::move(audio), std::move(input), L"English");
    }
    ~GameTest() override
    {
        DropGame();
        engine.Shutdown();
        ArchiveList::Instance().UnmountAll();
    }

    // The game module, current in the engine, so that the engine's input
    // polls reach its input step.
    GameModule& Game()
    {
        if (!game) {
            game = std::make_unique<GameModule>();
            engine.SetMLP(game.get(), false);
        }
        return *game;
    }

    // The engine's current module is left blank first: it is told when it leaves.
    void DropGame()
    {
        static MLP nothing;
        engine.SetMLP(&nothing, false);
        game.reset();
    }

    // Keys going down (or up) at the next input poll.
    void Keys(std::vector<ButtonEvent> events) { scripted->keyEvents = std::move(events); }

    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        if (!folder.empty()) {
            std::filesystem::create_directories(folder);
        }
        std::ofstream(path, std::ios::binary) << bytes;
    }

    dcEngine& engine = dcEngine::Instance();
    ScratchFolder scratch;
    dcWindow window;
    ScriptedInputDevices* scripted;
    std::unique_ptr<GameModule> game;
};
