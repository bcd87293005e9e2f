#!/bin/sh
# Draws the program icon: three overlapping light discs, red, green and blue, mixing additively
# to yellow, cyan, magenta and white where they overlap. Needs ImageMagick. The results are
# committed; run this only to change the drawing.
#   icons/pigmora-16.png, -32.png   the window icon: 16 colours, hard edges
#   icons/pigmora-48.png, -128.png  for the desktop: full colour, smooth edges
#   icons/pigmora.svg               the same drawing, scalable (written by hand, kept in step)
set -eu
cd "$(dirname "$0")/icons"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# size, radius, then the three centres (red, green, blue), all in pixels of that size
discs() {
    s=$1 r=$2 aa=$9
    disc() {
        convert -size "${s}x${s}" xc:black $aa -fill "$1" \
                -draw "circle $2,$3 $(echo "$2 + $r" | bc),$3" "$tmp/$4.png"
    }
    disc '#FF0000' "$3" "$4" r
    disc '#00FF00' "$5" "$6" g
    disc '#0000FF' "$7" "$8" b
    convert "$tmp/r.png" "$tmp/g.png" -compose plus -composite \
            "$tmp/b.png" -compose plus -composite "$tmp/rgb.png"
    # Outside the discs is transparent.
    convert "$tmp/rgb.png" \( "$tmp/rgb.png" -threshold 0 -colorspace gray \) \
            -alpha off -compose copy_opacity -composite "$tmp/discs.png"
}

# The small window icons: drawn at their size, then cut down to 16 colours.
small() {
    discs "$@" -antialias
    convert "$tmp/discs.png" -colors 16 -define png:bit-depth=4 -define png:color-type=3 \
            "PNG8:pigmora-$1.png"
}
small 32 9 16 10 10 20 22 20
small 16 5 8 5 5 10 11 10

# The large ones: the 32-pixel geometry drawn eight times finer, then scaled down.
for size in 48 128; do
    k=$(echo "$size * 8 / 32" | bc -l)
    at() { echo "$1 * $k" | bc -l; }
    discs $((size * 8)) "$(at 9)" "$(at 16)" "$(at 10)" "$(at 10)" "$(at 20)" "$(at 22)" \
          "$(at 20)" +antialias
    convert "$tmp/discs.png" -filter Box -resize "${size}x${size}" "PNG32:pigmora-$size.png"
done
