#include "game/Unit1.h"

// Pointer input on the picture area, and the two buttons.
void TForm1::cgMouseDown(TObject*, TMouseButton, TShiftState, int, int) {}
void TForm1::Button1Click(TObject*) {}
void TForm1::Button2Click(TObject*) {}
