#pragma once
// The main window: its components in design order, its event handlers and
// the game's private operations.
#include <map>
#include <string>
#include <vector>

#include "game/GameState.h"
#include "mixer/MixerComponent.h"
#include "platform/Button.h"
#include "platform/Form.h"
#include "platform/Image.h"
#include "platform/MediaPlayer.h"
#include "platform/Timer.h"

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* owner);

  TImage* cg;      // the picture area, the only visible component
  TImage* bak;     // back buffer: every frame is composed here
  TImage* nomal2;  // left picture of the current pair
  TImage* nomal3;  // right picture of the current pair
  TImage* title;   // 262 x 61 title banner
  TImage* great;   // after a hit
  TImage* cry;     // after a miss
  TImage* lv1;     // level-up pictures
  TImage* lv2;
  TImage* ending;       // background of the result screen
  TMediaPlayer* mid_p;  // plays the music
  TButton* Button1;
  TButton* Button2;
  TMixer* Mixer1;  // plays the sound effects on channels 0 and 1
  TTimer* Timer1;  // round engine, 20 ms
  TTimer* Timer2;  // idle shake of the title picture, 20 ms
  TTimer* Timer3;  // countdown, 1 s

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void cgMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void Timer2Timer(TObject* Sender);
  void Timer3Timer(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);

 private:
  void CreateComponents();
  void WireEvents();
  void LoadScore();
  void SaveScore();
  // The sound front-end: each takes a file name inside the dat folder and
  // never lets an error through.
  void LoadStartupWaves();
  void FreeWaves();
  void PlayEffect(const std::string& name);
  void PlayVoice(const std::string& name);
  void PlayMusic(const std::string& name);
  MixWave* WaveOf(const std::string& name);
  void PlayOnChannel(int channel, const std::string& name, MixWave*& field);

  MixWave* EffectWave = nullptr;  // the wave last loaded for channel 0
  MixWave* VoiceWave = nullptr;   // the wave last loaded for channel 1
  // Every wave the front-end loaded, oldest first, and the one reused for
  // each file name: a file is loaded once, so memory stays flat.
  std::vector<MixWave*> loadedWaves_;
  std::map<std::string, MixWave*> wavesByName_;
  // The round engine, the clock face and the result screen.
  void RoundTick();
  void ChooseNextPair();
  void StepPhase();
  void ShakeCopy();
  void DrawClockFace();
  void ResultScreenTick();
  // What a press on the picture area does on each screen.
  void StartGame();
  void ResultScreenClick(int x, int y);
  void BackToTitle();
  void PairClick(int x, int y);
};

extern TForm1* Form1;

// Where the title picture lies, relative to the executable's folder.
inline constexpr const char* kTitlePictureName = "/cg/start.bmp";
