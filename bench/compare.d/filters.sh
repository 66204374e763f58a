# Filter commands of lumaforge-batch beside ImageMagick's convert and libvips on one 24-megapixel
# BMP. Sourced by bench/compare, which provides BATCH, OUT, best_of and report.

FILTERS_IN="$OUT/filters-6000x4000.bmp"
if [ ! -s "$FILTERS_IN" ]; then
  # A photo-like picture: smooth colour fields with grain, so every channel spans a range.
  convert -size 6000x4000 -seed 1 plasma:fractal -attenuate 0.3 +noise Gaussian \
    -depth 8 -type TrueColor "BMP3:$FILTERS_IN"
fi

# A vips convolution mask of ones: the box mean of side n (integer mask, scale n²).
filters_box_mask() {
  local n=$1 file=$2
  {
    echo "$n $n $((n * n)) 0"
    for _ in $(seq "$n"); do printf '1 %.0s' $(seq "$n"); echo; done
  } >"$file"
}
filters_box_mask 11 "$OUT/filters-box11.mat"
filters_box_mask 3 "$OUT/filters-box3.mat"

# filters_compare TITLE STEP CONVERT-ARGS [VIPS-ARGS...]: ours, then convert, then vips if given.
filters_compare() {
  local title=$1 step=$2 convert_args=$3; shift 3
  local ours theirs
  ours=$(best_of 3 "$BATCH" "$FILTERS_IN" "$OUT/filters-ours.bmp" "$step")
  # shellcheck disable=SC2086
  theirs=$(best_of 3 convert "$FILTERS_IN" $convert_args "$OUT/filters-convert.bmp")
  report "$title (convert)" "$ours" "$theirs"
  if [ $# -gt 0 ]; then
    if vips "$@" >/dev/null 2>&1; then
      theirs=$(best_of 3 vips "$@")
      report "$title (vips)" "$ours" "$theirs"
    else
      echo "$title (vips): vips could not run this operation here"
    fi
  fi
}

echo "== filters: lumaforge-batch vs convert and vips, 6000 x 4000 BMP in and out"
filters_compare "invert" InvertAllmenu "-negate" \
  invert "$FILTERS_IN" "$OUT/filters-vips.bmp"
filters_compare "mean 11 x 11" MeanvalueMenu "-statistic Mean 11x11" \
  convi "$FILTERS_IN" "$OUT/filters-vips.bmp" "$OUT/filters-box11.mat"
filters_compare "mean 3 x 3" RemoveNoiseMenu "-statistic Mean 3x3" \
  convi "$FILTERS_IN" "$OUT/filters-vips.bmp" "$OUT/filters-box3.mat"
filters_compare "levels stretch" OptimizeMenu "-channel RGB -auto-level"
filters_compare "grey scale" GrayscaleMenu "-colorspace Gray" \
  colourspace "$FILTERS_IN" "$OUT/filters-vips.bmp" b-w
