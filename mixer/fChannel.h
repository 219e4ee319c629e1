#pragma once
// The channel picker: a small dialog with which a form designer edits a
// TMixer's Channels, one check box per channel. Only its layout is kept;
// nothing at run time shows it.
#include <array>
#include <cstdint>
#include <string_view>

struct TChannelsLabel {
  std::string_view Caption;
  int Left, Top;
};

struct TChannelsCheckBox {
  int Tag;  // the channel whose bit of Channels this box stands for
  int Left, Top, Width, Height;
};

struct TfChannelsLayout {
  std::string_view Caption;
  std::string_view BorderStyle;  // a single fixed border
  std::string_view BorderIcons;  // only the system menu
  int ClientWidth, ClientHeight;
  std::string_view FontName;
  int FontHeight;
  std::uint8_t FontCharset;
  int BevelLeft, BevelTop, BevelWidth, BevelHeight;
  std::string_view BevelStyle;
  std::array<TChannelsLabel, 8> Labels;
  std::array<TChannelsCheckBox, 8> CheckBoxes;
  std::string_view OkCaption;
  int OkLeft, OkTop, OkWidth, OkHeight;
  int OkModalResult;
  std::string_view OnActivate, OnDeactivate;  // handler names only
};

constexpr std::uint8_t SHIFTJIS_CHARSET = 128;
constexpr int mrOk = 1;

// Channel 7 stands at the left, channel 0 at the right, as bits are written.
constexpr TfChannelsLayout TfChannels{
    "Channels",
    "bsSingle",
    "biSystemMenu",
    116,
    72,
    "MS Sans Serif",
    -11,
    SHIFTJIS_CHARSET,
    1,
    1,
    110,
    70,
    "bsRaised",
    {{{"7", 6, 7},
      {"6", 19, 7},
      {"5", 31, 7},
      {"4", 44, 7},
      {"3", 57, 7},
      {"2", 69, 7},
      {"1", 82, 7},
      {"0", 95, 7}}},
    {{{7, 6, 17, 13, 13},
      {6, 19, 16, 13, 13},
      {5, 31, 17, 13, 13},
      {4, 44, 16, 13, 13},
      {3, 57, 17, 13, 13},
      {2, 69, 16, 13, 13},
      {1, 82, 17, 13, 13},
      {0, 95, 16, 13, 13}}},
    "OK",
    34,
    47,
    42,
    17,
    mrOk,
    "FormActivate",
    "FormDeactivate",
};
