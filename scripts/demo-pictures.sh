#!/usr/bin/env bash
# Draws COUNT pictures "1.bmp", "2.bmp", ... into FOLDER: a large number on a
# colour of its own, so each change of wallpaper is plain to see. BMP, because
# Wine's desktop paints no other kind.
#
#   scripts/demo-pictures.sh FOLDER [COUNT [WIDTHxHEIGHT]]
set -euo pipefail
folder="$1"
count="${2:-6}"
size="${3:-1024x768}"
colours=('#1d4e89' '#b5382c' '#2e7d32' '#7b3f99' '#c77c02' '#00796b' '#5d4037' '#37474f')
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
height="${size#*x}"

mkdir -p "$folder"
for i in $(seq "$count"); do
  text=()
  [ -f "$font" ] && text=(-font "$font" -fill white -pointsize $((height / 2)) -annotate 0 "$i")
  convert -size "$size" "xc:${colours[$(((i - 1) % ${#colours[@]}))]}" -gravity center "${text[@]}" \
    "BMP3:$folder/$i.bmp"
done
