#!/bin/sh
# Writes the logo tests' GIF pictures with ImageMagick: make_pictures.sh CONVERT DIR
set -eu
convert="$1"
cd "$2"

# One picture of many colours; reduced to fewer colours it gives every LZW code size, 2 to 8.
"$convert" -seed 11 -size 160x70 plasma:red-blue source.miff
for n in 2 4 8 16 32 64 128 256; do
    "$convert" source.miff +dither -colors "$n" "colours_$n.gif"
done

"$convert" -seed 5 -size 128x56 plasma:green-yellow +dither -colors 16 logo.miff
"$convert" logo.miff GIF87:logo_87a.gif
"$convert" logo.miff -set comment "made for the logo tests" -delay 25 -transparent "#000000" \
    logo_89a_extensions.gif
"$convert" logo.miff -interlace GIF logo_interlaced.gif

"$convert" -size 118x50 xc:white -fill black -font Liberation-Sans -pointsize 22 +antialias \
    -annotate +4+32 "KTV 271" -colors 2 text_two_colours.gif
"$convert" -size 1x1 xc:white one_pixel.gif

# Black and white stay colour indices 0 and 1 whatever the picture holds.
"$convert" -size 1x2 xc:black xc:white -append black_white.gif
"$convert" -size 1x1 xc:white -remap black_white.gif one_lit_pixel.gif
"$convert" -size 128x56 xc:white +dither -remap black_white.gif all_lit_128x56.gif
"$convert" -size 128x56 xc:black -fill white -draw "point 127,55" -draw "point 0,8" \
    +dither -remap black_white.gif corners_128x56.gif
"$convert" -seed 3 -size 800x600 plasma: +dither -colors 256 large_800x600.gif
"$convert" -seed 4 -size 1000x20 plasma: +dither -colors 8 wide_1000x20.gif
"$convert" -seed 6 -size 20x200 plasma: +dither -colors 8 -interlace GIF tall_interlaced.gif
"$convert" -seed 7 -size 60x20 plasma: -seed 8 -size 90x30 plasma: +dither -colors 8 \
    -loop 0 two_images.gif
"$convert" -seed 9 -size 40x30 plasma: -seed 10 -size 40x35 plasma: +dither -colors 4 \
    -interlace GIF two_images_interlaced.gif
rm -f source.miff logo.miff black_white.gif
