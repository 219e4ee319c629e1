#include "game/Unit1.h"

// The round engine: runs on every Timer1 tick while a game or the result
// screen is up.
void TForm1::Timer1Timer(TObject*) {}
