# Picks a group for the smoke test to double-click and says what the board must look like after
# the game has removed it. Input: one line, the 100 cells of a board (cell (x, y) at index
# 10x + y, kinds 0-3). Output:
#   cell X Y          a cell of a group of two or more like tiles
#   expect CELLS      the board after the removal: in every column the surviving tiles keep
#                     their order at the bottom, and the new tiles above them (.) may be any kind
# The group is one whose removal moves at least one surviving tile into a cell that held
# another kind, so that the expected board can never be mistaken for the board before.
# Prints nothing when the board has no such group.
function kindAt(x, y) { return substr(board, x * 10 + y + 1, 1) }
function collect(x, y, kind,    n, cx, cy, d, nx, ny) {
  n = 0
  top = 0
  stackX[++top] = x; stackY[top] = y
  inGroup[x, y] = 1
  while (top > 0) {
    cx = stackX[top]; cy = stackY[top]; top--
    n++
    for (d = 0; d < 4; d++) {
      nx = cx + (d == 0) - (d == 1); ny = cy + (d == 2) - (d == 3)
      if (nx < 0 || nx > 9 || ny < 0 || ny > 9 || ((nx, ny) in inGroup)) continue
      if (kindAt(nx, ny) != kind) continue
      inGroup[nx, ny] = 1
      stackX[++top] = nx; stackY[top] = ny
    }
  }
  return n
}
function predict(    x, y, survivors, removed, after) {
  after = ""
  for (x = 0; x < 10; x++) {
    survivors = ""; removed = 0
    for (y = 0; y < 10; y++) {
      if ((x, y) in inGroup) removed++
      else survivors = survivors kindAt(x, y)
    }
    for (y = 0; y < removed; y++) after = after "."
    after = after survivors
  }
  return after
}
function differs(after,    i) {
  for (i = 1; i <= 100; i++) {
    if (substr(after, i, 1) != "." && substr(after, i, 1) != substr(board, i, 1)) return 1
  }
  return 0
}
{
  board = $1
  for (x = 0; x < 10; x++) {
    for (y = 0; y < 10; y++) {
      if (kindAt(x, y) == "?") continue
      split("", inGroup)
      if (collect(x, y, kindAt(x, y)) < 2) continue
      after = predict()
      if (!differs(after)) continue
      print "cell", x, y
      print "expect", after
      exit
    }
  }
}
