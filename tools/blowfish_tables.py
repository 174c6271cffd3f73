#!/usr/bin/env python3
"""Prints the initial Blowfish P-array and S-boxes as C++ array initialisers.

The tables are the hexadecimal digits of the fractional part of pi, taken in
order: 18 words for the P-array, then 4 x 256 words for the S-boxes. Pi is
computed here with Machin's formula in integer arithmetic, so the tables come
from first principles rather than from a copied listing.

Usage: tools/blowfish_tables.py > tables.inc
"""

WORDS = 18 + 4 * 256
HEX_DIGITS = WORDS * 8
GUARD = 16  # extra hexadecimal digits absorb the rounding of the series


def arctan_inverse(x, scale):
    """arctan(1/x) * scale, by its Taylor series, in integers."""
    total = 0
    term = scale // x
    n = 1
    sign = 1
    x2 = x * x
    while term:
        total += sign * (term // n)
        term //= x2
        n += 2
        sign = -sign
    return total


def pi_fraction_hex_digits(count):
    scale = 16 ** (count + GUARD)
    pi = 16 * arctan_inverse(5, scale) - 4 * arctan_inverse(239, scale)
    fraction = (pi - 3 * scale) >> (4 * GUARD)
    return format(fraction, "0{}x".format(count)).upper()


def main():
    digits = pi_fraction_hex_digits(HEX_DIGITS)
    words = ["0x" + digits[i * 8:(i + 1) * 8] for i in range(WORDS)]
    assert words[0] == "0x243F6A88", words[0]

    def emit(name, chunk):
        print("{} = {{".format(name))
        for row in range(0, len(chunk), 6):
            print("    " + ", ".join(chunk[row:row + 6]) + ",")
        print("};")

    emit("constexpr std::uint32_t initialP[18]", words[:18])
    for box in range(4):
        start = 18 + box * 256
        emit("constexpr std::uint32_t initialS{}[256]".format(box), words[start:start + 256])


if __name__ == "__main__":
    main()
