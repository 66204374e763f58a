# The custom filter of lumaforge-batch beside ImageMagick's convert -fx on the same formulas and
# the same 24-megapixel photo-like BMP. -fx works on channel values scaled to 0..1, so the
# formulas are rewritten for that scale. Sourced by bench/compare (BATCH, OUT, best_of, report).
# The ratio printed is ours / theirs: the aim is 0.05 or less (at least 20 times faster).

EXPR_IN="$OUT/expr-6000x4000.bmp"
if [ ! -s "$EXPR_IN" ]; then
  # Smooth colour fields with grain, so that most neighbouring pixels differ.
  convert -size 6000x4000 -seed 2 plasma:fractal -attenuate 0.3 +noise Gaussian \
    -depth 8 -type TrueColor "BMP3:$EXPR_IN"
fi

# expr_compare TITLE REXPR GEXPR BEXPR CONVERT-ARGS...
expr_compare() {
  local title=$1 r=$2 g=$3 b=$4; shift 4
  local ours theirs
  ours=$(best_of 3 "$BATCH" "$EXPR_IN" "$OUT/expr-ours.bmp" --custom "$r" "$g" "$b")
  theirs=$(best_of 1 convert "$EXPR_IN" "$@" "BMP3:$OUT/expr-convert.bmp")
  report "$title" "$ours" "$theirs"
}

echo "== custom filter: lumaforge-batch --custom vs convert -fx, 6000 x 4000 BMP in and out"
expr_compare "255-R1, G1, B1" "255-R1" G1 B1 -channel R -fx "1-r" +channel
expr_compare "(R1+G1+B1)/3 on every channel" "(R1+G1+B1)/3" "(R1+G1+B1)/3" "(R1+G1+B1)/3" -fx "(r+g+b)/3"
expr_compare "SQRT(R1*G1) on red" "SQRT(R1*G1)" G1 B1 -channel R -fx "sqrt(r*g)" +channel
expr_compare "B1^0.5*16 on blue" R1 G1 "B1^0.5*16" -channel B -fx "pow(b*255,0.5)*16/255" +channel
