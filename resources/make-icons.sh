#!/bin/sh
# Draws the program icon: three overlapping light discs, red, green and blue, mixing additively
# to yellow, cyan, magenta and white where they overlap. Needs ImageMagick. The results are
# committed; run this only to change the drawing.
set -eu
cd "$(dirname "$0")/icons"
draw() { # size, radius, then the three centres
    s=$1 r=$2
    disc() { convert -size ${s}x${s} xc:black -fill "$1" -draw "circle $2,$3 $(($2 + r)),$3" png:-; }
    disc '#FF0000' "$3" "$4" > /tmp/pig-r.png
    disc '#00FF00' "$5" "$6" > /tmp/pig-g.png
    disc '#0000FF' "$7" "$8" > /tmp/pig-b.png
    convert /tmp/pig-r.png /tmp/pig-g.png -compose plus -composite \
            /tmp/pig-b.png -compose plus -composite /tmp/pig-rgb.png
    # Outside the discs is transparent.
    convert /tmp/pig-rgb.png \( /tmp/pig-rgb.png -threshold 0 -colorspace gray \) \
            -alpha off -compose copy_opacity -composite \
            -colors 16 -define png:bit-depth=4 -define png:color-type=3 PNG8:pigmora-$s.png
    rm -f /tmp/pig-r.png /tmp/pig-g.png /tmp/pig-b.png /tmp/pig-rgb.png
}
draw 32 9 16 10 10 20 22 20
draw 16 5 8 5 5 10 11 10
