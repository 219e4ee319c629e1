#pragma once
// MIDI music through FluidSynth on an SDL audio device of its own.
void UseSdlMedia();
void ShutDownSdlMedia();
