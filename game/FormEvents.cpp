#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/Random.h"

// An error in LoadScore or in loading the title picture is not caught here:
// the form reports it in the error box and the remaining steps are skipped.
void TForm1::FormCreate(TObject*) {
  LoadStartupWaves();
  Randomize();
  LoadScore();
  const std::string titlePicture = Application.ExeFolder() + kTitlePictureName;
  cg->Picture().LoadFromFile(titlePicture);
  bak->Picture().LoadFromFile(titlePicture);
  my.flag = 1;
  my.score = 0;
  my.miss = 0;
  SetWidth(409);
  SetHeight(329);
  PlayMusic("mofro.mid");
}

void TForm1::FormClose(TObject*, TCloseAction&) {
  PlayEffect("1.wav");
  SaveScore();
}

void TForm1::FormDestroy(TObject*) {
  FreeWaves();
}
