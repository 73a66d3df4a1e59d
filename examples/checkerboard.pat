# Tesserix pattern file (see "tesserix-cli pattern --help").
# Checkerboards: every face shows two colours in a chess pattern.
row 1 faces U R F D L B
1 2 1
2 1 2
1 2 1
