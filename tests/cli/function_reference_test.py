"""Every function and the non-integer power of calvoro-cli against mpmath, an
independent reference: precisions 10, 50 and 1000, radian and degree mode,
bases 10, 16, 8 and 2, arguments near the refusals and huge ones.

The display a value must give: the value rounded far beyond the working
precision P (the precision plus one), cut by P digits of the base (fraction
digits, significant digits below 1; in base 2 four times, in base 8 four
thirds as many), then rounded half up to the precision's digits of the base.

    function_reference_test.py CALVORO_CLI
"""

import os
import subprocess
import sys
import tempfile
from fractions import Fraction

import mpmath as mp

PRECISIONS = (10, 50, 1000)
BASES = (10, 16, 8, 2)
DIGITS = "0123456789ABCDEF"
TRIG = {"sin": mp.sin, "cos": mp.cos, "tan": mp.tan, "sec": mp.sec,
        "sinh": mp.sinh, "cosh": mp.cosh, "tanh": mp.tanh}
INVERSE = {"arcsin": mp.asin, "arccos": mp.acos, "arctan": mp.atan,
           "arcsec": lambda x: mp.acos(1 / x)}
OTHER = {"ln": mp.ln, "log": mp.log10, "exp": mp.exp, "sqrt": mp.sqrt,
         "deg": mp.degrees, "rad": mp.radians}
F = Fraction
BIG = F(10) ** 1000

# (function, argument, bases): arguments with a finite expansion in every
# base listed (10 only for decimal fractions).
ALL = BASES
CASES = [
    ("sin", F(1), ALL), ("sin", F(-30), ALL), ("sin", F(45, 2), ALL), ("sin", BIG, (10,)),
    ("cos", F(3, 4), ALL), ("cos", F(60), ALL), ("cos", F(180), (10, 16)), ("cos", BIG, (10,)),
    ("tan", F(1), ALL), ("tan", F(7, 4), ALL),
    # near a pole and near the degree refusal at 90
    ("tan", F(15707963, 10**7), (10,)), ("tan", F(899999, 10**4), (10,)),
    ("sec", F(2), ALL), ("sec", F(2699999, 10**4), (10,)),
    ("sinh", F(5, 2), ALL), ("cosh", F(-3), ALL), ("tanh", F(1, 2), ALL),
    ("sinh", F(700), (10, 16)), ("tanh", F(40), (10,)),
    ("arcsin", F(1, 2), ALL), ("arcsin", F(-1), ALL), ("arcsin", F(99999999, 10**8), (10,)),
    ("arccos", F(-3, 4), ALL), ("arccos", F(1), ALL), ("arccos", F(999999, 10**6), (10,)),
    ("arctan", F(1), ALL), ("arctan", F(-1000), ALL),
    ("arcsec", F(2), ALL), ("arcsec", F(-1), ALL), ("arcsec", F(10000001, 10**7), (10,)),
    ("ln", F(2), ALL), ("ln", F(1, 10**6), (10,)), ("ln", F(10000001, 10**7), (10,)),
    ("ln", BIG, (10,)),
    ("log", F(3), ALL), ("log", F(1, 2**40), ALL), ("log", F(1, 10**9), (10,)),
    ("exp", F(1), ALL), ("exp", F(-5, 2), ALL), ("exp", F(100), (10, 16)),
    ("exp", F(-700), (10,)),
    ("sqrt", F(2), ALL), ("sqrt", F(1, 10**7), (10,)), ("sqrt", BIG * 10, (10,)),
    ("deg", F(1), ALL), ("rad", F(-45, 2), ALL),
    ("^", (F(2), F(1, 2)), ALL), ("^", (F(3), F(25, 4)), ALL),
    ("^", (F(7, 2), F(-3, 2)), ALL), ("^", (F(10), F(201, 2)), (10,)),
    ("^", (F(3), F(40)), (10,)),  # written 3^40.0: exact
]


def scaled(base, p):
    return {2: 4 * p, 8: 4 * p // 3}.get(base, p)


def radix_text(value, base):
    """A fraction with a finite expansion in `base`, written in it."""
    sign = "-" if value < 0 else ""
    value = abs(value)
    integer = int(value)
    fraction = value - integer
    digits = ""
    while integer:
        integer, d = divmod(integer, base)
        digits = DIGITS[d] + digits
    text = sign + (digits or "0")
    if fraction:
        text += "."
        while fraction:
            fraction *= base
            d = int(fraction)
            text += DIGITS[d]
            fraction -= d
    return text


def typed(value, base):
    """As typed: a hexadecimal number never starts with a letter ("0B4")."""
    text = radix_text(value, base)
    body = text.lstrip("-")
    return text[:len(text) - len(body)] + ("0" + body if body[:1] > "9" else body)


def call_text(function, argument, base):
    if function == "^":
        x, y = argument
        exponent = typed(y, base)
        if "." not in exponent:
            exponent += ".0"
        if y < 0:
            exponent = "(" + exponent + ")"
        return typed(x, base) + "^" + exponent
    return "%s(%s)" % (function, typed(argument, base))


def true_value(function, argument, degrees):
    if function == "^":
        return mp.power(mp.mpf(argument[0].numerator) / argument[0].denominator,
                        mp.mpf(argument[1].numerator) / argument[1].denominator)
    x = mp.mpf(argument.numerator) / argument.denominator
    if function in TRIG:
        return TRIG[function](mp.radians(x) if degrees else x)
    if function in INVERSE:
        value = INVERSE[function](x)
        return mp.degrees(value) if degrees else value
    return OTHER[function](x)


def display(value, base, precision):
    """What the calculator must show for `value`."""
    if value == 0:
        return "0"
    negative = value < 0
    a = abs(value)
    exponent = int(mp.floor(mp.log(a, base)))  # base^e <= a < base^(e+1)
    while mp.mpf(base) ** exponent > a:
        exponent -= 1
    while mp.mpf(base) ** (exponent + 1) <= a:
        exponent += 1
    kept = scaled(base, precision + 1)
    if exponent < 0:
        kept += -exponent - 1  # significant digits below 1
    guard = 8
    cut = int(mp.nint(a * mp.mpf(base) ** (kept + guard))) // base ** guard
    shown = scaled(base, precision)
    if kept > shown:
        cut = (2 * cut + base ** (kept - shown)) // (2 * base ** (kept - shown))
        kept = shown
    integer, fraction = divmod(cut, base ** kept)
    text = radix_text(integer, base)
    if fraction:
        text += radix_text(F(fraction, base ** kept), base)[1:]
    if text == "0":
        return "0"
    return ("-" if negative else "") + text


def main():
    cli = sys.argv[1]
    failures = checked = 0
    with tempfile.TemporaryDirectory() as folder:
        settings = os.path.join(folder, "SysData.dat")
        for base in BASES:
            for degrees in (False, True):
                cases = [(f, a) for f, a, bases in CASES if base in bases and
                         (not degrees or f in TRIG or f in INVERSE)]
                for precision in PRECISIONS:
                    # beyond the 1000-digit arguments and the kept digits
                    mp.mp.dps = 1200 + 2 * precision
                    calls = [call_text(f, a, base) for f, a in cases]
                    option = {10: "dec", 16: "hex", 8: "oct", 2: "bin"}[base]
                    run = subprocess.run(
                        [cli, "--settings", settings, "--result", "--base", option,
                         "--precision", str(precision), "--threshold", "1000000000",
                         "--degree" if degrees else "--radian"] + calls,
                        capture_output=True, text=True, timeout=300)
                    lines = run.stdout.splitlines()
                    if run.returncode != 0 or len(lines) != len(calls):
                        print("base %d precision %d: exit %d, %s" % (
                            base, precision, run.returncode, run.stderr.strip()))
                        failures += 1
                        continue
                    for (f, a), call, got in zip(cases, calls, lines):
                        want = display(true_value(f, a, degrees), base, precision)
                        checked += 1
                        if got != want:
                            failures += 1
                            print("%s base %d precision %d %s:\n  got  %s\n  want %s" % (
                                call[:60], base, precision, "degree" if degrees else "radian",
                                got[:120], want[:120]))
    print("%d results checked, %d wrong" % (checked, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
