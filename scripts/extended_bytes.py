#!/usr/bin/env python3
"""Prints the 10 stored bytes of the x87 80-bit value nearest to each exact decimal given (ties to even),
worked out with integer arithmetic alone: the expected bytes of the parseQuantity tests come from here.

    scripts/extended_bytes.py 2e30 '0.3*1.98847e30' '29000.2/1000'
"""
from fractions import Fraction
import sys


def exact(text):
    """A decimal, or a product or quotient of decimals ('0.3*1.98847e30'), as an exact fraction."""
    value = Fraction(1)
    for i, factor in enumerate(text.replace('/', '*/').split('*')):
        if factor.startswith('/'):
            value /= Fraction(factor[1:])
        else:
            value = Fraction(factor) if i == 0 else value * Fraction(factor)
    return value


def nearest80(x, negative_zero=False):
    if x == 0:
        return bytes(9) + bytes([0x80 if negative_zero else 0])
    sign = 0x8000 if x < 0 else 0
    x = abs(x)
    e = x.numerator.bit_length() - x.denominator.bit_length()
    while Fraction(2) ** e > x:
        e -= 1
    while Fraction(2) ** (e + 1) <= x:
        e += 1
    scaled = x / Fraction(2) ** (e - 63)  # in [2^63, 2^64)
    m = scaled.numerator // scaled.denominator
    rest = scaled - m
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and m % 2 == 1):
        m += 1
    if m == 1 << 64:
        m >>= 1
        e += 1
    return m.to_bytes(8, 'little') + (sign | (e + 16383)).to_bytes(2, 'little')


if __name__ == '__main__':
    for arg in sys.argv[1:]:
        b = nearest80(exact(arg), negative_zero=arg.startswith('-'))
        print(arg, '{' + ', '.join('0x%02X' % v for v in b) + '}')
