# SPDX-License-Identifier: MIT
# Measures GIMP's colours of the renderer's .ggr files against its PNG
# files (tests/gimp/run.sh): reads two lines a case, the gradient's samples
# (samples.scm) and the picture's first row, in the order of the cases
# file (name, length, the enabled points' positions 0..1000, comma-separated,
# or "-"). Prints each case's largest channel difference in levels and fails
# beyond one level, or when a case was not answered.
#   awk -v cases=CASES -f compare.awk LINES

function ceil(x) { return int(x) + (x > int(x)) }

# The rasteriser moves on to a point's next piece only after drawing the
# first pixel past it, which so takes the point's own colour where GIMP has
# gone on: left out where a point lies between two pixels. Where k points
# share a position the colour jumps, either side is right at the jump, and
# the next k - 1 pixels step through the points there: left out too.
function left_out(i, w, points,    p, n, j, m, at, k) {
  n = points == "-" ? 0 : split(points, p, ",")
  for (j = 1; j <= n; j++) {
    at = p[j] * w / 1000
    k = 0
    for (m = 1; m <= n; m++) k += p[m] == p[j]
    if (k == 1 && at == int(at)) continue
    if (i >= (k > 1 ? int(at) : ceil(at)) && i <= ceil(at) + k - 1) return 1
  }
  return 0
}

BEGIN {
  while ((getline line < cases) > 0) {
    split(line, f, " ")
    name[++count] = f[1]; length_of[count] = f[2]; points[count] = f[3]
  }
}

{ gsub(/[#()]/, "") }
NR % 2 == 1 { split($0, colour, " "); next }
{
  k = NR / 2
  split($0, row, " ")
  width = row[1]; bpp = row[2]
  worst = width == length_of[k] ? 0 : 256 # 256: not the picture asked for
  for (i = 0; i < width && worst < 256; i++) {
    if (left_out(i, width, points[k])) continue
    for (ch = 0; ch < 3; ch++) {
      want = row[3 + bpp * i + (bpp < 3 ? 0 : ch)]
      off = colour[1 + 4 * i + ch] * 255 - want
      d = ceil((off < 0 ? -off : off) - 1e-6)
      if (d > worst) worst = d
    }
  }
  bad += worst > 1
  printf "gimp: %-24s largest difference %d%s\n", name[k], worst, (worst > 1 ? "  FAIL" : "")
}

END {
  printf "gimp: %d of %d .ggr files within 1 level of the PNG\n", NR / 2 - bad, count
  exit (bad > 0 || NR != 2 * count)
}
