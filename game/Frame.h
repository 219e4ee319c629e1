#pragma once
// How the pictures reach the back buffer and the back buffer the screen.
// Every frame trembles: each copy draws its own jitter from the game's
// random generator, in the order its parameters are listed.
#include "platform/Graphics.h"

inline constexpr int kAreaWidth = 400;  // the picture area
inline constexpr int kAreaHeight = 300;
inline constexpr int kHalfWidth = 200;  // one picture of a pair
inline constexpr int kLeftHalf = 0;     // where each half starts
inline constexpr int kRightHalf = 200;

// The picture's top-left 200 x 300, trimmed by a random 0-4 pixels at its
// left, top, right and bottom, stretched onto the half starting at halfLeft.
void HalfCopy(TBitmap& back, const TBitmap& picture, int halfLeft);

// A whole 400 x 300 picture, as it is.
void FullCopy(TBitmap& back, const TBitmap& picture);

// The 262 x 61 banner centred with its top at y 128, swelling by a random
// 0-9 pixels at its left, top, right and bottom.
void DrawTitleBanner(TBitmap& back, const TBitmap& banner);

// The whole back buffer onto the screen, stretched outwards by a random 0-4
// pixels at the left, top, right and bottom; what leaves the screen is cut off.
void ShakeCopyOnto(TBitmap& screen, const TBitmap& back);
