#!/usr/bin/env bash
# Draws the dialogs' pictures with ImageMagick into src/dialogs/res/:
#   strip.jpg      left strip of the property dialogs, 76 x 316
#   about.jpg      About box picture, 202 x 170
#   footer.ico     footer icon: 48, 32 and 16 px, each at 4, 8 and 32 bpp
#   picker24.bmp   picker glyph, 26 x 24, 24 bpp
#   picker32.bmp   picker glyph, 26 x 24, 32 bpp
# Glyph pixels of the bottom-left pixel's colour (magenta) are transparent.
# Abstract shapes, gradients and the letters "rZ"; run again to redraw them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/src/dialogs/res"
im=/usr/bin/convert      # Debian's ImageMagick (not any stand-in on PATH)
[ -x "$im" ] || { echo "make-pictures: apt-get install imagemagick" >&2; exit 1; }
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
[ -f "$font" ] || font=DejaVu-Sans-Bold
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
plain=(-strip -define png:exclude-chunk=time,date)

# Left strip: a plum-to-sky gradient with rings and the letters "rZ" on end.
"$im" -size 76x316 gradient:'#800040'-'#A6CAF0' \
  -fill none -stroke '#FFFFE1' -strokewidth 2 \
  -draw 'circle 38,70 38,40' -draw 'circle 38,70 38,52' \
  -stroke '#FFFFFF' -strokewidth 1 -draw 'line 8,130 68,130' -draw 'line 8,134 68,134' \
  -fill '#FFFFFF80' -stroke none -draw 'polygon 38,215 70,306 6,306' \
  -fill '#800040' -font "$font" -pointsize 34 -gravity center \
  -draw "rotate -90 text 0,0 'rZ'" \
  "${plain[@]}" -quality 92 -sampling-factor 1x1 "$out/strip.jpg"

# About picture: radial glow, overlapping discs and a large "rZ".
"$im" -size 202x170 radial-gradient:'#FFFFE1'-'#800040' \
  -fill '#A6CAF0A0' -stroke none -draw 'circle 60,60 60,5' \
  -fill '#FBD78CA0' -draw 'circle 150,115 150,60' \
  -fill none -stroke '#FFFFFF' -strokewidth 3 -draw 'roundrectangle 8,8 194,162 18,18' \
  -stroke none -fill '#FFFFFF' -font "$font" -pointsize 86 -gravity center \
  -annotate +2+0 'rZ' \
  "${plain[@]}" -quality 92 -sampling-factor 1x1 "$out/about.jpg"

# Footer icon: one master drawing, scaled to each size, then stored at 32 bpp
# (with alpha), 8 bpp (256-colour palette) and 4 bpp (16 colours).
"$im" -size 96x96 xc:none \
  -fill '#800040' -draw 'roundrectangle 4,4 91,91 20,20' \
  -fill '#A6CAF0' -draw 'circle 48,48 48,16' \
  -fill '#800040' -font "$font" -pointsize 44 -gravity center -annotate +0+0 'rZ' \
  "$tmp/icon.png"
frames=()
for s in 48 32 16; do
  "$im" "$tmp/icon.png" -resize ${s}x${s} -type TrueColorAlpha "$tmp/i${s}_32.png"
  "$im" "$tmp/icon.png" -resize ${s}x${s} -channel A -threshold 50% +channel \
    -background none -colors 255 -type PaletteAlpha "$tmp/i${s}_8.png"
  "$im" "$tmp/icon.png" -resize ${s}x${s} -channel A -threshold 50% +channel \
    -background none -colors 15 -type PaletteAlpha "$tmp/i${s}_4.png"
  frames+=("$tmp/i${s}_4.png" "$tmp/i${s}_8.png" "$tmp/i${s}_32.png")
done
python3 "$root/scripts/make-ico.py" "$out/footer.ico" "${frames[@]}"

# Picker glyphs: a small framed "x" (a variable) on a magenta background.
glyph=(-size 26x24 xc:'#FF00FF'
  -fill '#FFFFE1' -stroke '#800040' -strokewidth 1 -draw 'roundrectangle 4,4 21,19 3,3'
  -stroke '#800040' -strokewidth 2 -draw 'line 9,8 16,15' -draw 'line 16,8 9,15'
  -stroke none -fill '#A6CAF0' -draw 'rectangle 6,17 19,18')
"$im" "${glyph[@]}" -type TrueColor "BMP3:$out/picker24.bmp"
"$im" "${glyph[@]}" -alpha set -channel A -evaluate set 100% +channel \
  -define bmp3:alpha=true -type TrueColorAlpha "BMP3:$out/picker32.bmp"
echo "make-pictures: written to $out"
