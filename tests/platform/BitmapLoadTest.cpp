#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "platform/Graphics.h"

namespace {

// A tiny BMP writer for the fixtures: palette pictures of 4 or 8 bits (plain
// or RLE8) and 24-bit ones, bottom-up unless asked for top-down.
enum class Kind { Palette4, Palette8, Rle8, True24, True24TopDown };

struct Picture {
  int width, height;
  std::vector<TColor> pixels;  // rows top to bottom
  TColor At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 255);
  out.push_back((v >> 8) & 255);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::vector<std::uint8_t> PaletteRow(const Picture& p, int y, const std::vector<TColor>& palette,
                                     int bits) {
  std::vector<std::uint8_t> row;
  for (int x = 0; x < p.width; ++x) {
    const auto index = static_cast<std::uint8_t>(
        std::find(palette.begin(), palette.end(), p.At(x, y)) - palette.begin());
    if (bits == 8) {
      row.push_back(index);
    } else if (x % 2 == 0) {
      row.push_back(static_cast<std::uint8_t>(index << 4));
    } else {
      row.back() |= index;
    }
  }
  return row;
}

std::vector<std::uint8_t> Rle8Row(const std::vector<std::uint8_t>& indexes) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < indexes.size();) {
    std::size_t run = 1;
    while (i + run < indexes.size() && run < 255 && indexes[i + run] == indexes[i]) ++run;
    out.push_back(static_cast<std::uint8_t>(run));
    out.push_back(indexes[i]);
    i += run;
  }
  out.push_back(0);  // end of line
  out.push_back(0);
  return out;
}

std::vector<std::uint8_t> WriteBmp(const Picture& p, Kind kind) {
  const bool palette = kind == Kind::Palette4 || kind == Kind::Palette8 || kind == Kind::Rle8;
  const int bits = kind == Kind::Palette4 ? 4 : palette ? 8 : 24;
  std::vector<TColor> colours;
  if (palette) {
    for (TColor c : p.pixels)
      if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
  }
  std::vector<std::uint8_t> data;
  for (int i = 0; i < p.height; ++i) {
    const int y = kind == Kind::True24TopDown ? i : p.height - 1 - i;
    std::vector<std::uint8_t> row;
    if (palette) {
      row = PaletteRow(p, y, colours, bits);
    } else {
      for (int x = 0; x < p.width; ++x) {
        row.push_back(p.At(x, y) & 255);
        row.push_back((p.At(x, y) >> 8) & 255);
        row.push_back((p.At(x, y) >> 16) & 255);
      }
    }
    if (kind == Kind::Rle8) {
      row = Rle8Row(row);
    } else {
      while (row.size() % 4 != 0) row.push_back(0);
    }
    data.insert(data.end(), row.begin(), row.end());
  }
  if (kind == Kind::Rle8) {
    data.push_back(0);  // end of bitmap
    data.push_back(1);
  }
  const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(colours.size());
  std::vector<std::uint8_t> out = {'B', 'M'};
  Put32(out, offset + static_cast<std::uint32_t>(data.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(p.width));
  Put32(out, static_cast<std::uint32_t>(kind == Kind::True24TopDown ? -p.height : p.height));
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(bits));
  Put32(out, kind == Kind::Rle8 ? 1 : 0);  // BI_RLE8 or BI_RGB
  Put32(out, static_cast<std::uint32_t>(data.size()));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, static_cast<std::uint32_t>(colours.size()));
  Put32(out, 0);
  for (TColor c : colours) Put32(out, c);  // blue, green, red, 0
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// 5 x 3 (odd width, so rows are padded) with 15 different colours, few enough for 4 bits;
// the bottom row has a run of one colour for RLE.
Picture SamplePicture() {
  Picture p{5, 3, {}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      p.pixels.push_back(y == 2 && x > 1 ? RGB(10, 200, 30)
                                         : RGB(40 * x + 3, 90 * y + 7, 250 - x * y));
  return p;
}

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "canvas_" + name;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void ExpectPicture(const TBitmap& bitmap, const Picture& want) {
  ASSERT_EQ(bitmap.Width(), want.width);
  ASSERT_EQ(bitmap.Height(), want.height);
  for (int y = 0; y < want.height; ++y)
    for (int x = 0; x < want.width; ++x)
      EXPECT_EQ(bitmap.Pixel(x, y), want.At(x, y)) << x << "," << y;
}

// A bitmap holding a known 2 x 2 picture, to see that failed loads keep it.
void GiveOldPicture(TBitmap& bitmap) {
  bitmap.SetSize(2, 2);
  bitmap.SetPixel(1, 1, RGB(1, 2, 3));
}
void ExpectOldPicture(const TBitmap& bitmap) {
  ASSERT_EQ(bitmap.Width(), 2);
  ASSERT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.Pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(bitmap.Pixel(1, 1), RGB(1, 2, 3));
}

class BitmapLoadFormats : public ::testing::TestWithParam<Kind> {};

TEST_P(BitmapLoadFormats, FileReadsEveryPixel) {
  const Picture picture = SamplePicture();
  const std::string path =
      TempPath("format" + std::to_string(static_cast<int>(GetParam())) + ".bmp");
  WriteFile(path, WriteBmp(picture, GetParam()));
  TBitmap bitmap;
  GiveOldPicture(bitmap);
  const auto before = bitmap.Version();
  bitmap.LoadFromFile(path);
  ExpectPicture(bitmap, picture);
  EXPECT_GT(bitmap.Version(), before);
  std::remove(path.c_str());
}

TEST_P(BitmapLoadFormats, MemoryReadsEveryPixel) {
  const Picture picture = SamplePicture();
  const std::vector<std::uint8_t> bytes = WriteBmp(picture, GetParam());
  TBitmap bitmap;
  bitmap.LoadFromMemory(bytes.data(), bytes.size());
  ExpectPicture(bitmap, picture);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BitmapLoadFormats,
                         ::testing::Values(Kind::Palette4, Kind::Palette8, Kind::Rle8, Kind::True24,
                                           Kind::True24TopDown));

TEST(BitmapLoad, MissingFileOrFolderRaisesOpenErrorNamingThePath) {
  for (const std::string& path : {TempPath("no_such_picture.bmp"), ::testing::TempDir()}) {
    SCOPED_TRACE(path);
    TBitmap bitmap;
    GiveOldPicture(bitmap);
    try {
      bitmap.LoadFromFile(path);
      ADD_FAILURE() << "no error";
    } catch (const EFOpenError& e) {
      EXPECT_NE(e.Message().find(path), std::string::npos) << e.Message();
    }
    ExpectOldPicture(bitmap);
  }
}

std::vector<std::uint8_t> WithSize(std::vector<std::uint8_t> bytes, std::int32_t width,
                                   std::int32_t height) {
  for (int i = 0; i < 4; ++i) {
    bytes[18 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (8 * i));
    bytes[22 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (8 * i));
  }
  return bytes;
}

TEST(BitmapLoad, DamagedFilesRaiseInvalidGraphicAndKeepTheOldPicture) {
  const std::vector<std::uint8_t> good8 = WriteBmp(SamplePicture(), Kind::Palette8);
  const std::vector<std::uint8_t> good24 = WriteBmp(SamplePicture(), Kind::True24);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  const std::vector<Case> cases = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}},
      {"header only", std::vector<std::uint8_t>(good24.begin(), good24.begin() + 30)},
      {"palette cut", std::vector<std::uint8_t>(good8.begin(), good8.begin() + 70)},
      {"pixels cut", std::vector<std::uint8_t>(good24.begin(), good24.end() - 20)},
      {"huge width", WithSize(good24, 1 << 30, 3)},
      {"huge height", WithSize(good24, 5, -(1 << 30))},
      {"just over the side limit", WithSize(good24, TBitmap::kMaxPictureSide + 1, 3)},
      {"large but data missing", WithSize(good8, 4000, 4000)},
      {"zero width", WithSize(good24, 0, 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = TempPath("damaged.bmp");
    WriteFile(path, c.bytes);
    TBitmap bitmap;
    GiveOldPicture(bitmap);
    EXPECT_THROW(bitmap.LoadFromFile(path), EInvalidGraphic);
    ExpectOldPicture(bitmap);
    EXPECT_THROW(bitmap.LoadFromMemory(c.bytes.data(), c.bytes.size()), EInvalidGraphic);
    ExpectOldPicture(bitmap);
    std::remove(path.c_str());
  }
}

TEST(BitmapLoad, RandomlyDamagedFilesEitherLoadOrRaiseInvalidGraphic) {
  std::mt19937 dice(2026);
  for (Kind kind : {Kind::Palette4, Kind::Rle8, Kind::True24}) {
    const std::vector<std::uint8_t> good = WriteBmp(SamplePicture(), kind);
    for (int i = 0; i < 300; ++i) {
      std::vector<std::uint8_t> bytes = good;
      if (i % 3 == 0) {
        bytes.resize(dice() % bytes.size());
      } else {
        for (int k = 0; k < 4; ++k)
          bytes[dice() % bytes.size()] = static_cast<std::uint8_t>(dice());
      }
      TBitmap bitmap;
      try {
        bitmap.LoadFromMemory(bytes.data(), bytes.size());
        EXPECT_LE(bitmap.Width(), TBitmap::kMaxPictureSide);
        EXPECT_LE(bitmap.Height(), TBitmap::kMaxPictureSide);
      } catch (const EInvalidGraphic&) {
        EXPECT_TRUE(bitmap.Empty());
      }
    }
  }
}

TEST(BitmapLoad, InvalidGraphicMessageNamesTheFile) {
  const std::string path = TempPath("not_a_picture.bmp");
  WriteFile(path, {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'});
  TBitmap bitmap;
  try {
    bitmap.LoadFromFile(path);
    FAIL() << "no error";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message().find(path), std::string::npos) << e.Message();
  }
  std::remove(path.c_str());
}

}  // namespace
