#!/bin/sh
# Draws the About window's picture, resources/about/pigmora-50.bmp: the program icon's three
# light discs (red, green and blue, mixing additively where they overlap) on the dialog grey,
# 50 x 50 pixels, 8 bits per pixel with a palette of exactly 236 colours. Needs ImageMagick.
# The result is committed; run this only to change the drawing.
#
# The palette is fixed: the 216 colours of the 6 x 6 x 6 web cube and 20 greys between its
# steps (the dialog grey #F0F0F0 among them). ImageMagick drops unused colours on -remap and
# always writes 2^bits palette entries, so the palette strip is drawn below the picture while
# remapping (every colour is then in use), cut off again, and the 20 empty entries that the
# BMP writer pads the palette with are removed from the file afterwards.
set -eu
cd "$(dirname "$0")/about"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Drawn at four times the size and scaled down, so the disc edges are smooth.
s=200 r=56
disc() { convert -size ${s}x${s} xc:black -fill "$1" -draw "circle $2,$3 $(($2 + r)),$3" png:-; }
disc '#FF0000' 100 69 > "$work/r.png"
disc '#00FF00' 62 131 > "$work/g.png"
disc '#0000FF' 138 131 > "$work/b.png"
convert "$work/r.png" "$work/g.png" -compose plus -composite \
        "$work/b.png" -compose plus -composite \
        -fill '#F0F0F0' -opaque black -filter triangle -resize 50x50 "$work/picture.png"

greys=""
for v in 12 24 36 48 60 72 84 96 108 120 132 144 156 168 180 192 216 228 240 252; do
    h=$(printf '%02X' "$v")
    greys="$greys xc:#$h$h$h"
done
# shellcheck disable=SC2086 # the greys are meant to split into words
convert netscape: -unique-colors -size 1x1 $greys +append "$work/palette.png"
[ "$(identify -format '%k' "$work/palette.png")" -eq 236 ]

convert "$work/picture.png" -background black -extent 236x51 \
        \( "$work/palette.png" -repage +0+50 \) -flatten \
        +dither -remap "$work/palette.png" -crop 50x50+0+0 +repage \
        -compress none -define bmp:format=bmp3 BMP3:"$work/padded.bmp"

# Header (54 bytes), then 256 palette entries of 4 bytes, then 50 rows of 52 bytes.
le32() { # a number as four little-endian bytes
    printf '%b' "$(printf '\\0%03o\\0%03o\\0%03o\\0%03o' $(($1 & 255)) $((($1 >> 8) & 255)) \
        $((($1 >> 16) & 255)) $((($1 >> 24) & 255)))"
}
patch32() { # file, offset, value
    le32 "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
[ "$(od -A n -t u4 -j 46 -N 4 "$work/padded.bmp" | tr -d ' ')" -eq 256 ]
# The 20 entries to drop must be the writer's zero padding.
[ "$(tail -c +$((54 + 236 * 4 + 1)) "$work/padded.bmp" | head -c 80 | tr -d '\000' | wc -c)" -eq 0 ]
out="$work/pigmora-50.bmp"
{
    head -c 54 "$work/padded.bmp"
    tail -c +55 "$work/padded.bmp" | head -c $((236 * 4))
    tail -c +$((54 + 256 * 4 + 1)) "$work/padded.bmp"
} > "$out"
patch32 "$out" 2 $((54 + 236 * 4 + 50 * 52)) # file size
patch32 "$out" 10 $((54 + 236 * 4))          # offset of the pixels
patch32 "$out" 46 236                        # colours in the palette
patch32 "$out" 50 0                          # all of them important

# Same pixels as before the palette was cut, and the palette holds 236 entries.
[ "$(compare -metric AE "$work/padded.bmp" "$out" null: 2>&1)" = 0 ]
identify -verbose "$out" | grep -q 'Colormap entries: 236'
cp "$out" pigmora-50.bmp
