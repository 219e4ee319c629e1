#include "game/SoundListener.h"
#include "game/Unit1.h"

// The sound front-end. The game is silent until the mixer component and the
// media player are on the form; these are the places that will make sound.

void TForm1::LoadStartupWaves() {}
void TForm1::FreeWaves() {}
void TForm1::PlayEffect(const std::string& name) { AnnounceSound("PlayEffect", name); }
void TForm1::PlayVoice(const std::string& name) { AnnounceSound("PlayVoice", name); }
void TForm1::PlayMusic(const std::string& name) { AnnounceSound("PlayMusic", name); }
