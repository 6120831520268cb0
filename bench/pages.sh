# make_pages <folder> <width> <height> <count>: <count> colour pages of <width> x <height> at
# 300 dpi as uncompressed one-strip TIFFs (the preview's own kind), page1.tif ... in turn a
# photograph of mate-backgrounds and a text page of libtasn1-doc's manual rendered by
# pdftoppm; prints their paths. Pages no one here made, the same for ours and the outside
# tool. Sourced by the bench scripts.
make_pages() {
  local dir="$1" width="$2" height="$3" count="$4"
  local photos=(/usr/share/backgrounds/mate/nature/*.jpg)
  local manual=/usr/share/doc/libtasn1-doc/libtasn1.pdf
  local kinds=("${photos[@]}")
  [ ${#photos[@]} -gt 0 ] && [ -f "$manual" ] || { echo "make_pages: run scripts/setup first" >&2; return 1; }
  mkdir -p "$dir"
  for i in $(seq "$count"); do
    local out="$dir/page$i.tif" source
    if [ ! -f "$out" ]; then
      if [ $((i % 2)) -eq 1 ]; then
        source="${kinds[$(((i / 2) % ${#kinds[@]}))]}"
      else
        pdftoppm -r 300 -f $((i / 2 + 2)) -l $((i / 2 + 2)) -singlefile -png "$manual" "$dir/text"
        source="$dir/text.png"
      fi
      convert "$source" -resize "${width}x${height}!" -alpha off -colorspace sRGB -type TrueColor -depth 8 \
        -density 300 -units PixelsPerInch -compress none -define "tiff:rows-per-strip=$height" "$out"
    fi
    echo "$out"
  done
  rm -f "$dir/text.png"
}
