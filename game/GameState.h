#pragma once
// The game's unit-wide state, all zero or false when the program starts.
// It is kept in one record so that a test can put it back as it was; the
// names below are what the game's code uses.
#include <cstdint>
#include <string>

// The score record, as the score file holds it.
struct tmy {
  std::string name;        // the file's first line, kept byte for byte
  std::int32_t hi = 0;     // best score
  std::int32_t flag = 0;   // 1 once the game has started
  std::int32_t score = 0;  // hits in the current or last game
  std::int32_t miss = 0;   // misses since start-up
};

struct TGameState {
  tmy my;
  std::int32_t Clock = 0;       // seconds left in the game
  std::int32_t Phase = 0;       // round phase counter
  std::int32_t FrameCount = 0;  // tick counter, 0 to 99
  std::int32_t Level = 0;
  std::int32_t PicNo = 0;  // current picture pair, 1 to 9 (0 before the first)
  std::int32_t PrevPicNo = 0;
  std::int32_t DiffCol = 0;  // difference cell of the current pair, 1 to 3
  std::int32_t DiffRow = 0;
  bool GameOver = false;   // the result screen is showing
  bool ShowTitle = false;  // lay the title banner over the first pair
};

extern TGameState GameState;

inline tmy& my = GameState.my;
inline std::int32_t& Clock = GameState.Clock;
inline std::int32_t& Phase = GameState.Phase;
inline std::int32_t& FrameCount = GameState.FrameCount;
inline std::int32_t& Level = GameState.Level;
inline std::int32_t& PicNo = GameState.PicNo;
inline std::int32_t& PrevPicNo = GameState.PrevPicNo;
inline std::int32_t& DiffCol = GameState.DiffCol;
inline std::int32_t& DiffRow = GameState.DiffRow;
inline bool& GameOver = GameState.GameOver;
inline bool& ShowTitle = GameState.ShowTitle;

// Back to the program's starting state.
void ResetGameState();
