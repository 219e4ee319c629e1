#pragma once
// SDL's audio subsystem is shared by the wave device and the music output;
// each initialises it on first use (SDL counts the references).
bool EnsureSdlAudio();
