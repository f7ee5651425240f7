#pragma once
// The window messages the playback threads and windows exchange. The numbers are fixed;
// frame due and buffer done share one value because they go to different windows.
#include <windows.h>

// Loader thread -> video player: the next frame time has come.
constexpr UINT WM_FRAME_DUE = WM_USER + 1;
// Loader thread -> video player: wParam the frame index, lParam the decoded Image (or 0);
// the receiver owns the Image.
constexpr UINT WM_FRAME_READY = WM_USER + 100;
// Device callback -> the audio player's own window: one output buffer came back.
constexpr UINT WM_BUFFER_DONE = WM_USER + 1;
// Audio player -> video player: the sound has drained or could not start.
constexpr UINT WM_SOUND_DONE = 953;
