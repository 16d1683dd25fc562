#include "ui/Font.h"

namespace ui {

FontHandle TFont::Create() const {
  return FontHandle(CreateFontA(
      -Height, 0, 0, 0, (Style & fsBold) ? FW_BOLD : FW_NORMAL, (Style & fsItalic) ? TRUE : FALSE,
      (Style & fsUnderline) ? TRUE : FALSE, (Style & fsStrikeOut) ? TRUE : FALSE, Charset, OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Name.c_str()));
}

bool TFont::SetProperty(std::string_view name, const TValue& v) {
  if (name == "Name") Name = v.AsText();
  else if (name == "Height") Height = static_cast<int>(v.AsInt());
  else if (name == "Color") Color = static_cast<TColor>(v.AsInt());
  else if (name == "Style") Style = static_cast<unsigned>(v.AsInt());
  else if (name == "Charset") Charset = static_cast<BYTE>(v.AsInt());
  else return false;
  return true;
}

}  // namespace ui
