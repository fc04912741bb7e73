#pragma once
// The drop-down console: it keeps the log lines for display, and its input
// line takes typed commands, which it queues for the engine's frame. It is an
// MLP (opened with Enter, closed with Leave) and a sink of the log hub.

#include "engine/core/LogSink.h"
#include "engine/core/MLP.h"
#include "engine/input/TextReceiver.h"

#include <deque>
#include <memory>
#include <vector>

class Font;
class InputSystem;
class TextureResource;

class dcGUIConsole : public MLP, public LogSink {
public:
    static constexpr int32_t kMaxLines = 128;
    static constexpr int32_t kMaxHistory = 8;

    explicit dcGUIConsole(InputSystem* input);
    ~dcGUIConsole() override;

    void Enter() override;
    void Leave() override;
    void Render() override;

    // Every frame while open, in place of the current module's input.
    void HandleKeys();
    void Tick(float dt);
    // The sink: a log line for display.
    void Write(const WideString& text) override;

    bool IsOpen() const { return open_; }
    float GetOpenFraction() const { return openFraction_; }
    // The next queued command line, false when there is none.
    bool TakeCommand(WideString& line);
    void QueueCommand(const WideString& line) { commandQueue_.push_back(line); }
    void ClearQueue() { commandQueue_.clear(); }

    const std::deque<WideString>& GetLines() const { return lines_; }
    const std::deque<WideString>& GetHistory() const { return history_; }
    const TextReceiver& GetInputLine() const { return inputLine_; }

private:
    // A piece of a log line that fits the screen's width.
    struct WrapSegment {
        int32_t start;
        int32_t length;
    };

    void BrowseHistory(int32_t step);
    // Cuts the input line to what fits the screen.
    void FitInputLine();
    void SubmitInputLine();
    void DrawPrompt(Font& font, float bottom);
    void DrawLogLines(Font& font, float bottom, float width);
    // The line's pieces, each as wide as fits; at least one character each.
    void WrapLine(Font& font, const WideString& line, float width);

    InputSystem* input_;
    std::unique_ptr<TextureResource> background_;
    std::vector<WrapSegment> wrapSegments_;
    std::deque<WideString> lines_;     // newest first
    std::deque<WideString> history_;   // newest first
    TextReceiver inputLine_;
    std::deque<WideString> commandQueue_;
    float blink_ = 0.0f;
    float openFraction_ = 0.0f;
    int32_t historyCursor_ = -1;
    bool open_ = false;
};
