#pragma once
// Plays one intro movie ("Intro%d.AVI") through a DirectShow filter graph in
// the engine window, until it ends or Escape or Enter is pressed. A movie
// that cannot be opened or run is skipped.

#include "engine/files/WideString.h"

#include <vector>

struct IBasicAudio;
struct IBasicVideo;
struct IGraphBuilder;
struct IMediaControl;
struct IMediaEventEx;
struct IMediaSeeking;
struct IVideoWindow;
class dcWindow;

class MoviePlayer {
public:
    MoviePlayer() = default;
    ~MoviePlayer();
    MoviePlayer(const MoviePlayer&) = delete;
    MoviePlayer& operator=(const MoviePlayer&) = delete;

    // Opened from the working folder by name.
    bool Open(const WideString& name);
    void Play(dcWindow& window);
    void Close();

    void Stop() { playing_ = false; }
    bool IsPlaying() const { return playing_; }

private:
    bool comStarted_ = false;
    IGraphBuilder* graphBuilder_ = nullptr;
    IMediaControl* mediaControl_ = nullptr;
    IMediaEventEx* mediaEvent_ = nullptr;
    IVideoWindow* videoWindow_ = nullptr;
    IBasicAudio* basicAudio_ = nullptr;
    IBasicVideo* basicVideo_ = nullptr;
    IMediaSeeking* mediaSeeking_ = nullptr;
    bool playing_ = false;
};

// "Intro1.AVI", "Intro2.AVI", ... up to the first number that no file
// source holds, so a gap ends the list.
std::vector<WideString> FindIntroMovies();

// Plays the intro movies one after the other.
void PlayIntroMovies(dcWindow& window);
