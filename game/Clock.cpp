#include "game/Unit1.h"

// The idle shake of the title picture (Timer2) and the countdown (Timer3).
void TForm1::Timer2Timer(TObject*) {}
void TForm1::Timer3Timer(TObject*) {}
