#!/bin/sh
# Writes the fuzz seeds that come from tools: make_seeds.sh SREC_CAT CONVERT DIR
set -eu
srec_cat="$1"
convert="$2"
mkdir -p "$3/program_file_fuzzer" "$3/gif_logo_fuzzer"

cd "$3/program_file_fuzzer"
"$srec_cat" -generate 0x8000 0x8040 -repeat-data 0x12 0x34 -o s1_crlf.a21 -motorola \
    -address-length=2 -obs=16 -crlf -execution-start-address=0x8000
"$srec_cat" -generate 0x7FFF0 0x80010 -repeat-data 0xA5 -o s2_top.a21 -motorola \
    -address-length=3 -obs=16 -enable=data-count -execution-start-address=0x7FFF0
"$srec_cat" -generate 0x3FF0 0x4008 -repeat-data 0x00 0xFF -o s1_boot.a21 -motorola \
    -address-length=2 -obs=8 -execution-start-address=0
"$srec_cat" -generate 0x10000 0x10004 -constant 0x5A -o no_end.a21 -motorola -address-length=3

cd "../gif_logo_fuzzer"
"$convert" -size 1x1 xc:white one_pixel.gif
"$convert" -seed 2 -size 16x8 plasma: +dither -colors 2 GIF87:two_colours_87a.gif
"$convert" -seed 3 -size 12x6 plasma: +dither -colors 8 -set comment "seed" -delay 5 \
    extensions_89a.gif
"$convert" -seed 4 -size 10x12 plasma: +dither -colors 4 -interlace GIF interlaced.gif
"$convert" -seed 5 -size 6x4 plasma: -seed 6 -size 5x3 plasma: +dither -colors 4 two_images.gif
"$convert" -seed 7 -size 140x3 plasma: +dither -colors 16 wider_than_logo.gif
