# Picture files: lumaforge-batch converting a 6000 × 4000 photograph-like picture beside
# libjpeg's own tools doing the same work (sourced by bench/compare: best_of, report, $BATCH, $OUT).
files_makephoto=$PWD/build/bench/files/files_makephoto
files_in=$OUT/files-photo.jpg
files_bmp=$OUT/files-photo.bmp
if [ ! -s "$files_in" ] || [ ! -s "$files_bmp" ]; then
  "$files_makephoto" 6000 4000 > "$OUT/files-photo.ppm"
  cjpeg -quality 92 "$OUT/files-photo.ppm" > "$files_in"
  djpeg -bmp "$files_in" > "$files_bmp"
  rm -f "$OUT/files-photo.ppm"
fi

if [ -x "$BATCH" ]; then
  # Open and save as JPEG at quality 90 (the target: within 1.15 × of djpeg | cjpeg).
  ours=$(best_of 5 "$BATCH" "$files_in" "$OUT/files-out.jpg")
  theirs=$(best_of 5 sh -c "djpeg '$files_in' | cjpeg -quality 90 > '$OUT/files-other.jpg'")
  report "files: JPEG 6000x4000 to JPEG q90" "$ours" "$theirs"
  # JPEG to BMP and BMP to JPEG.
  ours=$(best_of 5 "$BATCH" "$files_in" "$OUT/files-out.bmp")
  theirs=$(best_of 5 sh -c "djpeg -bmp '$files_in' > '$OUT/files-other.bmp'")
  report "files: JPEG 6000x4000 to BMP" "$ours" "$theirs"
  ours=$(best_of 5 "$BATCH" "$files_bmp" "$OUT/files-out2.jpg")
  theirs=$(best_of 5 sh -c "cjpeg -quality 90 '$files_bmp' > '$OUT/files-other2.jpg'")
  report "files: BMP 6000x4000 to JPEG q90" "$ours" "$theirs"
  rm -f "$OUT"/files-out*.jpg "$OUT"/files-out*.bmp "$OUT"/files-other*.jpg "$OUT"/files-other*.bmp
else
  echo "files: $BATCH is not built; picture file comparisons skipped"
fi
