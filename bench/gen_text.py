"""Writes a text file of the given size: lines of varying length with words,
runs of blanks, tabs, quoted stretches and a few CR LF line ends."""
import random
import sys

path, size = sys.argv[1], int(sys.argv[2])
rng = random.Random(1)
words = ("the of and to in is that for it as with was on be by at this from or have an are not but "
         "had his they you were her which she all one their there been has when who will more no if out "
         "so said what up its about into than them can only other new some could time these two may "
         "then do first any my now such like our over man me even most made after also did many before "
         "must through back years where much your way well down should because each just those people "
         "abc 0x1F x yz").split()
lines = []
for _ in range(20000):
    parts = []
    for _ in range(rng.randint(0, 12)):
        r = rng.random()
        if r < 0.55:
            parts.append(rng.choice(words))
        elif r < 0.75:
            parts.append(" " * rng.randint(1, 12))
        elif r < 0.85:
            parts.append("\t")
        elif r < 0.95:
            parts.append('"' + rng.choice(words) + "   " + rng.choice(words) + '"')
        else:
            parts.append("'" + " " * rng.randint(1, 5) + "'")
    lines.append(" ".join(parts) + ("\r\n" if rng.random() < 0.1 else "\n"))
chunk = "".join(lines).encode()
with open(path, "wb") as f:
    written = 0
    while written < size:
        piece = chunk[: size - written]
        f.write(piece)
        written += len(piece)
