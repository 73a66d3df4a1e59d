# Tesserix pattern file (see "tesserix-cli pattern --help").
# Spots on the sides: U and D stay one colour, the four side faces are one colour each
# with a centre of another colour.
row 1 faces U D
5 5 5
5 5 5
5 5 5

row 2 faces R F L B
1 1 1
1 4 1
1 1 1
