#include "engine/core/MoviePlayer.h"

#include "engine/core/ComRelease.h"
#include "engine/core/WindowMessageHandler.h"
#include "engine/core/dcWindow.h"
#include "engine/files/ArchiveList.h"

#include <windows.h>

#include <dshow.h>

namespace {

constexpr long kEventWaitMilliseconds = 100;

// Escape or Enter ends the movie.
class MovieKeyHandler : public WindowMessageHandler {
public:
    explicit MovieKeyHandler(MoviePlayer& player) : WindowMessageHandler({WM_KEYDOWN}), player_(player) {}
    intptr_t Handle(dcWindow&, uint32_t, uintptr_t key, intptr_t) override
    {
        if (key == VK_ESCAPE || key == VK_RETURN) {
            player_.Stop();
        }
        return 0;
    }

private:
    MoviePlayer& player_;
};

} // namespace

MoviePlayer::~MoviePlayer()
{
    Close();
}

bool MoviePlayer::Open(const WideString& name)
{
    comStarted_ = SUCCEEDED(CoInitialize(nullptr));
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graphBuilder_)))
        || FAILED(graphBuilder_->RenderFile(name.c_str(), nullptr))
        || FAILED(graphBuilder_->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&mediaControl_)))
        || FAILED(graphBuilder_->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&mediaEvent_)))
        || FAILED(graphBuilder_->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&mediaSeeking_)))
        || FAILED(graphBuilder_->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&videoWindow_)))
        || FAILED(graphBuilder_->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&basicVideo_)))
        || FAILED(graphBuilder_->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&basicAudio_)))) {
        return false;
    }
    playing_ = true;
    return true;
}

void MoviePlayer::Play(dcWindow& window)
{
    videoWindow_->put_Owner(reinterpret_cast<OAHWND>(window.GetHandle()));
    videoWindow_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    videoWindow_->SetWindowPosition(0, 0, window.GetClientWidth(), window.GetClientHeight());
    if (FAILED(mediaControl_->Run())) {
        return;
    }
    MovieKeyHandler keys(*this);
    AddWindowMessageHandler(&keys);
    while (playing_) {
        window.PumpMessages();
        long eventCode = 0;
        if (mediaEvent_->WaitForCompletion(kEventWaitMilliseconds, &eventCode) == S_OK && eventCode == EC_COMPLETE) {
            playing_ = false;
        }
    }
    RemoveWindowMessageHandler(&keys);
    mediaControl_->Stop();
    // The video window must let go of the engine window before the graph goes.
    videoWindow_->put_Visible(OAFALSE);
    videoWindow_->put_Owner(0);
}

void MoviePlayer::Close()
{
    ReleaseInterface(basicAudio_);
    ReleaseInterface(basicVideo_);
    ReleaseInterface(videoWindow_);
    ReleaseInterface(mediaSeeking_);
    ReleaseInterface(mediaEvent_);
    ReleaseInterface(mediaControl_);
    ReleaseInterface(graphBuilder_);
    if (comStarted_) {
        CoUninitialize();
        comStarted_ = false;
    }
    playing_ = false;
}

std::vector<WideString> FindIntroMovies()
{
    std::vector<WideString> movies;
    for (int32_t n = 1;; ++n) {
        WideString name;
        FormatWideString(name, "Intro%d.AVI", n);
        if (!FileExists(name)) {
            return movies;
        }
        movies.push_back(name);
    }
}

void PlayIntroMovies(dcWindow& window)
{
    for (const WideString& name : FindIntroMovies()) {
        MoviePlayer player;
        if (player.Open(name)) {
            player.Play(window);
        }
        player.Close();
    }
}
