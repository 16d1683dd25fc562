// A font description (name, character height in pixels, colour, style,
// character set) and the GDI font made from it.
#pragma once

#include <string>
#include <string_view>

#include "ui/Color.h"
#include "ui/Component.h"
#include "ui/Gdi.h"

namespace ui {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = 11;  // character height in pixels (CreateFontA gets -Height)
  TColor Color = clWindowText;
  unsigned Style = 0;  // TFontStyle bits
  BYTE Charset = DEFAULT_CHARSET;

  bool operator==(const TFont&) const = default;
  FontHandle Create() const;
  // Applies "Name", "Height", "Color", "Style" or "Charset"; false otherwise.
  bool SetProperty(std::string_view name, const TValue& value);
};

}  // namespace ui
