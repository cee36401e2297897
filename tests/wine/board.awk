# Reads a screenshot of the game's client area, 421 pixels wide, one pixel a line as "R G B"
# (od's decimal bytes, rows top to bottom), and prints what the smoke test compares:
#   frame BAD WHY     BAD is 0 when the grid, the separator, the rule line and the status strip's
#                     right end hold exactly their colours; WHY names the first wrong pixel
#   board CELLS       100 characters, cell (x, y) at index 10x + y: the tile kind 0-3 whose
#                     colours two sample pixels of the cell show, or ? for none
#   bar RIGHT         the rightmost column of the time bar's fill colour in row 437, or -1
#   score HASH        a hash of the pixels left of the multiplier, where the score text is
#   text COUNT        the pixels of the status strip left of the time bar (rows 426 to 449,
#                     columns 0 to 137: the score and the multiplier) that are not its background
function near(r, g, b, hex, tolerance) {
  return abs(r - hexbyte(hex, 1)) <= tolerance && abs(g - hexbyte(hex, 3)) <= tolerance &&
         abs(b - hexbyte(hex, 5)) <= tolerance
}
function abs(v) { return v < 0 ? -v : v }
function hexbyte(hex, at) {
  digits = "0123456789ABCDEF"
  return (index(digits, substr(hex, at, 1)) - 1) * 16 + index(digits, substr(hex, at + 1, 1)) - 1
}
function expect(x, y, r, g, b, hex) {
  if (near(r, g, b, hex, 0)) return
  bad++
  if (why == "") why = sprintf("pixel (%d, %d) is (%d, %d, %d), not #%s", x, y, r, g, b, hex)
}
BEGIN {
  # Tile pixels (20, 20) and (0, 0) of the kinds 0 grey, 1 blue-violet, 2 red, 3 yellow.
  split("373737 3E09FF FF0909 FFE909", centre, " ")
  split("929292 AB9DE6 E89E9F E7DF9E", corner, " ")
  bad = 0; why = ""; bar = -1; hash = 0; text = 0
}
{
  x = (NR - 1) % 421; y = int((NR - 1) / 421); r = $1 + 0; g = $2 + 0; b = $3 + 0
  if (x <= 420 && y <= 420) {
    if (x % 42 == 0 || y % 42 == 0) expect(x, y, r, g, b, "222222")
    cell = int(x / 42) * 10 + int(y / 42)
    if (x % 42 == 21 && y % 42 == 21) atCentre[cell] = r " " g " " b
    if (x % 42 == 1 && y % 42 == 1) atCorner[cell] = r " " g " " b
  } else if (y >= 421 && y <= 424) {
    expect(x, y, r, g, b, "999999")
  } else if (y == 425) {
    expect(x, y, r, g, b, "444444")
  } else if (x >= 412) {
    expect(x, y, r, g, b, "222222")  # right of the longest bar (column 409)
  }
  if (y == 437 && r == 187 && g == 255 && b == 0 && x > bar) bar = x
  if (y >= 426 && x < 106) hash = (hash * 31 + r * 65536 + g * 256 + b) % 2147483647
  if (y >= 426 && x < 138 && !near(r, g, b, "222222", 0)) text++
}
END {
  board = ""
  for (cell = 0; cell < 100; cell++) {
    kind = "?"
    split(atCentre[cell], c, " "); split(atCorner[cell], k, " ")
    for (t = 1; t <= 4; t++) {
      if (near(c[1], c[2], c[3], centre[t], 8) && near(k[1], k[2], k[3], corner[t], 8)) kind = t - 1
    }
    board = board kind
  }
  print "frame", bad, why
  print "board", board
  print "bar", bar
  print "score", hash
  print "text", text
}
