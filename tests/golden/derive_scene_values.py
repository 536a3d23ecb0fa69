#!/usr/bin/env python3
"""Derives the expected values of the scene tests independently of the C++
code: the random sequence, uniform draws and the spawn of flyers, written
from the program's rules in Python's doubles. Prints C++ table rows that the
tests hold; run it again after a deliberate change of those rules."""
import math

FACTOR = 1.0 / 32767.0


class Generator:
    def __init__(self, seed):
        self.seed = seed & 0xFFFFFFFF

    def next(self):
        self.seed = (self.seed * 214013 + 2531011) & 0xFFFFFFFF
        return (self.seed >> 16) & 0x7FFF

    def signed_seed(self):
        return self.seed - (1 << 32) if self.seed & 0x80000000 else self.seed

    def range(self, lower, upper):
        r = self.next()
        return lower + (r * (upper - lower)) * FACTOR


def length(x, y, z):
    return math.sqrt(x * x + y * y + z * z)


def spawn(gen, sample_rate):
    px = gen.range(-6, 6)
    py = gen.range(-6, 6)
    pz = gen.range(-12, -2)
    if sample_rate == 0.0:
        pz = -12.0
    redraws = 0
    while True:
        vx = gen.range(-1, 1)
        vy = gen.range(-1, 1)
        if length(vx, vy, 0.0) >= 0.15:
            break
        redraws += 1
    steps = 0
    while True:
        px -= vx * 0.1
        py -= vy * 0.1
        pz -= 0.0 * 0.1
        steps += 1
        if length(px, py, pz) >= 18:
            break
    spin = gen.range(30, 250)
    if gen.next() % 2 == 0:
        spin = -spin
    return (px, py, pz, vx, vy, spin, redraws, steps)


def main():
    g = Generator(1)
    print("// Random_Next from seed 1")
    print(", ".join(str(g.next()) for _ in range(24)))
    for seed in (-123456789, 1733500000):
        g = Generator(seed)
        values = [g.next() for _ in range(8)]
        print(f"// seed {seed}: {values}, seed after: {g.signed_seed()}")

    print("// RandomRange: {seed, lower, upper, expected}")
    for seed, lower, upper in ((1, -6, 6), (7, -1, 1), (2745024, 30, 250), (-99, -12, -2), (424242, 0, 1)):
        g = Generator(seed)
        print(f"{{{seed}, {lower}, {upper}, {g.range(lower, upper)!r}}},")

    for seed, rate in ((1, 0.0), (20261206, 25.0)):
        g = Generator(seed)
        print(f"// spawns from seed {seed}, SampleFrameRate {rate}: px, py, pz, vx, vy, spin, redraws, steps")
        for _ in range(6):
            px, py, pz, vx, vy, spin, redraws, steps = spawn(g, rate)
            print(f"{{{px!r}, {py!r}, {pz!r}, {vx!r}, {vy!r}, {spin!r}}},  // {redraws} redraws, {steps} steps")
        print(f"// seed after: {g.signed_seed()}")

    # A seed whose first spawn has to redraw its velocity.
    for seed in range(1, 100000):
        g = Generator(seed)
        if spawn(g, 25.0)[6] > 0:
            g = Generator(seed)
            print(f"// first seed with a velocity redraw: {seed}: {spawn(g, 25.0)!r}")
            break


if __name__ == "__main__":
    main()
