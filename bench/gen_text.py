"""Writes a text file of the given size: lines of varying length with words,
runs of blanks, tabs, quoted stretches and a few CR LF line ends."""
import random
import sys

path, size = sys.argv[1], int(sys.argv[2])
rng = random.Random(1)
words = ["alpha", "beta", "abc", "gamma", "delta", "x", "yz", "quote", "0x1F", "end"]
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
