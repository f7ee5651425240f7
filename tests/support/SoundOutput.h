#pragma once
// Whether this machine can play sound: the test scripts start a private sound server
// (scripts/sound-server) for the waveform output; without it the output has no device.

// True when the waveform output accepts the recorder's sound format.
bool soundOutputAvailable();

// Why a test that needs the output is skipped.
constexpr const char* kNoSoundOutput =
    "no waveform output device: the sound server (scripts/sound-server) is not running or not installed";
