#!/bin/sh
# Writes the fuzz seeds that ImageMagick draws: make_seeds.sh CONVERT DIR
set -eu
convert="$1"
mkdir -p "$2/gif_logo_fuzzer"

cd "$2/gif_logo_fuzzer"
"$convert" -size 1x1 xc:white one_pixel.gif
"$convert" -seed 2 -size 16x8 plasma: +dither -colors 2 GIF87:two_colours_87a.gif
"$convert" -seed 3 -size 12x6 plasma: +dither -colors 8 -set comment "seed" -delay 5 \
    extensions_89a.gif
"$convert" -seed 4 -size 10x12 plasma: +dither -colors 4 -interlace GIF interlaced.gif
"$convert" -seed 5 -size 6x4 plasma: -seed 6 -size 5x3 plasma: +dither -colors 4 two_images.gif
"$convert" -seed 7 -size 140x3 plasma: +dither -colors 16 wider_than_logo.gif
