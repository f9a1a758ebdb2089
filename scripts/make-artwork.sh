#!/bin/sh
# Makes the raster artwork of Velmora (tile pictures and the animated banner) with ImageMagick.
# The results are committed under assets/; run again after changing this script.
set -eu
cd "$(dirname "$0")/../assets"
FONT=DejaVu-Sans-Bold

tile() { # name, top colour, bottom colour, glyph, scale (1, or 2 for screens of double density)
  k=$5
  out="tile_$1.jpg"
  blur=0.6
  [ "$k" = 1 ] || { out="tile_$1@${k}x.jpg"; blur=1.2; }
  convert -seed 42 -size $((227 * k))x$((256 * k)) "gradient:$2-$3" \
    \( -size $((227 * k))x$((256 * k)) xc:none -fill 'rgba(255,255,255,0.18)' \
       -draw "circle $((180 * k)),$((60 * k)) $((240 * k)),$((60 * k))" \
       -draw "circle $((40 * k)),$((220 * k)) $((110 * k)),$((220 * k))" \) -composite \
    -font "$FONT" -pointsize $((120 * k)) -fill 'rgba(255,255,255,0.92)' -gravity center -annotate +0-$((10 * k)) "$4" \
    -attenuate 0.25 +noise Gaussian -blur 0x$blur \
    -quality 90 "$out"
}
for k in 1 2; do
  tile clienti '#1d3f8f' '#0b1840' 'C' $k
  tile prodotti '#7a1c1c' '#330808' 'P' $k
  tile crea '#1f6e4a' '#08301d' '+' $k
  tile forniture '#8a6212' '#3a2605' '€' $k
done

# Banner: a light running along a navy bar, 9 frames of 50 ms, endless loop.
frames=""
for i in 0 1 2 3 4 5 6 7 8; do
  x=$((i * 50))
  convert -size 451x10 xc:'#000080' -fill '#c0c0ff' -draw "rectangle $x,2 $((x + 40)),7" \
    -fill '#ffffff' -draw "rectangle $((x + 15)),3 $((x + 25)),6" "frame$i.gif"
  frames="$frames frame$i.gif"
done
convert -delay 5 -loop 0 $frames banner.gif
rm -f $frames

# Program icon: the navy disc with the gold "V".
convert -size 64x64 xc:none -fill '#000080' -draw 'circle 32,32 32,1' \
  -stroke '#e6be5a' -strokewidth 7 -fill none -draw 'polyline 18,18 32,47 46,18' velmora.png
