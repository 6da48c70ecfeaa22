"""The driver of bench/compare_peers.sh: makes the inputs, runs every
program on every workload, checks that they agree and prints the table."""

import argparse
import math
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import threading
import time
from decimal import MAX_EMAX, MIN_EMIN, ROUND_HALF_UP, Context, Decimal

PEERS = ["gmp", "mpfr", "decimal", "qalc", "bc"]

PY_PRELUDE = """
import sys
from decimal import *
c = getcontext()
c.prec = MAX_PREC
c.Emax = MAX_EMAX
c.Emin = MIN_EMIN
"""

PY_FAC = PY_PRELUDE + """
def prod(lo, hi):
    if hi - lo < 16:
        r = Decimal(1)
        for i in range(lo, hi):
            r *= i
        return r
    m = (lo + hi) // 2
    return prod(lo, m) * prod(m, hi)
print(prod(1, int(sys.argv[1]) + 1))
"""

PY_MUL = PY_PRELUDE + """
a, b = open(sys.argv[1]).read().strip().split('*')
print(Decimal(a) * Decimal(b))
"""

PY_SUM = PY_PRELUDE + """
print(sum(Decimal(t) for t in open(sys.argv[1]).read().strip().split('+')))
"""

PY_DIV = PY_PRELUDE + """
a, b = open(sys.argv[1]).read().strip().split('/')
digits = int(sys.argv[2])
c.prec = len(a) + digits + 2
c.rounding = ROUND_DOWN
q = (Decimal(a) / Decimal(b)).quantize(Decimal(1).scaleb(-digits), rounding=ROUND_DOWN)
print('{:f}'.format(q))
"""

PY_BIN = """
import sys
from decimal import Decimal
print(Decimal(int(open(sys.argv[1]).read().strip(), 2)))
"""

# sin(10^1000) with the angle reduced by 2 Pi to 2,100 digits (Machin).
PY_SIN = PY_PRELUDE + """
c.prec = 2100
def arctan_inv(x):
    x = Decimal(x)
    total, term, k, x2 = Decimal(0), 1 / x, 0, x * x
    while True:
        t = term / (2 * k + 1)
        if t < Decimal(10) ** -2090:
            return total
        total = total + t if k % 2 == 0 else total - t
        term /= x2
        k += 1
pi = 16 * arctan_inv(5) - 4 * arctan_inv(239)
x = Decimal(10) ** 1000
r = x - (x / (2 * pi)).to_integral_value(rounding=ROUND_FLOOR) * 2 * pi
c.prec = 1010
s, term, n = Decimal(0), r, 1
while abs(term) > Decimal(10) ** -1005:
    s += term
    term = -term * r * r / ((n + 1) * (n + 2))
    n += 2
print(s)
"""

# x.sqrt(), x.exp() or x.ln() to DIGITS fraction digits and a few more.
PY_FUNCTION = PY_PRELUDE + """
c.prec = int(sys.argv[3]) + 10
print(getattr(Decimal(sys.argv[1]), sys.argv[2])())
"""

# The function workloads: label (the calvoro text), the MPFR peer's name,
# Python's decimal (argument, method) where it has the function, qalc's and
# bc -l's text.
FUNCTIONS = [
    ("sqrt(2)", "sqrt2", ("2", "sqrt"), "sqrt(2)", "sqrt(2)"),
    ("exp(1)", "exp1", ("1", "exp"), "exp(1)", "e(1)"),
    ("ln(2)", "ln2", ("2", "ln"), "ln(2)", "l(2)"),
    ("sin(1)", "sin1", None, "sin(1)", "s(1)"),
    ("arctan(1)", "arctan1", None, "atan(1)", "a(1)"),
    ("pi", "pi", None, "pi", "4*a(1)"),
]

BC_FAC = "define f(n) { auto i, r; r = 1; for (i = 2; i <= n; ++i) r *= i; return r; }\nf(%d)\n"


def random_digits(rng, count):
    return str(rng.randint(1, 9)) + "".join(rng.choice("0123456789") for _ in range(count - 1))


def fresh_start(command, stdin_path):
    """Every calvoro-cli run starts from a fresh settings file (its log line,
    the whole result, must not pile up from run to run); returns the run's
    standard input."""
    if "--settings" in command:
        settings = command[command.index("--settings") + 1]
        if os.path.exists(settings):
            os.remove(settings)
    return open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL


def run(command, stdin_path, timeout=None):
    """Wall time and output of one process; no time when it was stopped
    after `timeout` seconds."""
    stdin = fresh_start(command, stdin_path)
    out_path = os.path.join(WORK, "out.txt")
    with open(out_path, "wb") as out:
        start = time.perf_counter()
        proc = subprocess.Popen(command, stdin=stdin, stdout=out, stderr=subprocess.DEVNULL,
                                env=dict(os.environ, BC_LINE_LENGTH="0"))
        # A timer ends an overlong run; waiting in wait4 keeps the timing exact.
        timer = threading.Timer(timeout, proc.kill) if timeout else None
        if timer:
            timer.start()
        _, status, _ = os.wait4(proc.pid, 0)
        elapsed = time.perf_counter() - start
        proc.returncode = status
        if timer:
            timer.cancel()
            if elapsed >= timeout:
                elapsed = None
    if stdin_path:
        stdin.close()
    with open(out_path, "rb") as f:
        text = f.read().decode(errors="replace")
    return elapsed, text, status


def peak_memory(peak_rss, command, stdin_path):
    """The peak resident memory (bytes) of one run of the command, measured by
    the small peak_rss program (not from here: a child's peak includes the
    Python image it was forked from)."""
    stdin = fresh_start(command, stdin_path)
    proc = subprocess.run([peak_rss] + command, stdin=stdin, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE)
    if stdin_path:
        stdin.close()
    return int(proc.stderr.decode().strip().splitlines()[-1])


def timed_runs(command, stdin, runs, timeout=None):
    """At least `runs` runs; a workload that ends within 0.1 s is run until
    about a second has passed (at most 101 runs), so that the medians of
    millisecond workloads are not decided by a few scheduling hiccups. A
    first run over 10 s is the only one ("*"); one stopped after `timeout`
    seconds gives the timeout and ">"."""
    times, text, marker = [], "", ""
    while True:
        elapsed, text, _ = run(command, stdin, timeout)
        if elapsed is None:
            return timeout, "", ">"
        times.append(elapsed)
        if len(times) == 1 and elapsed > 10:
            marker = "*"
            break
        wanted = runs if times[0] >= 0.1 else max(runs, min(101, int(1.0 / max(times[0], 1e-3))))
        if len(times) >= wanted:
            break
    return statistics.median(times), clean(text), marker


def clean(text):
    text = re.sub(r"\x1b\[[0-9;]*m", "", text)
    text = text.replace("\\\n", "")
    lines = [l.strip() for l in text.splitlines() if l.strip() and not l.startswith(">")]
    return "".join(lines).replace(" ", "").replace("\u2009", "")


def rounded(text, digits):
    """The number text truncated to digits + 1 fraction digits, then rounded
    half up to `digits` (what the calculator's display does), trailing
    fraction zeros dropped."""
    if "." not in text:
        return text
    integer, fraction = text.split(".")
    context = Context(prec=len(integer) + digits + 10, Emax=MAX_EMAX, Emin=MIN_EMIN)
    value = Decimal(integer + "." + fraction[: digits + 1])
    value = value.quantize(Decimal(1).scaleb(-digits), rounding=ROUND_HALF_UP, context=context)
    out = "{:f}".format(value)
    if "." in out:
        out = out.rstrip("0").rstrip(".")
    return out


def same_to(a, b, places):
    try:
        return abs(Decimal(a) - Decimal(b)) < Decimal(10) ** -places
    except Exception:
        return False


def main():
    global WORK
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli")
    parser.add_argument("--gmp")
    parser.add_argument("--mpfr")
    parser.add_argument("--peer-timeout", type=float)
    parser.add_argument("--only", default="")
    parser.add_argument("--peak-rss")
    parser.add_argument("--work")
    parser.add_argument("--runs", type=int)
    parser.add_argument("--quick", type=int)
    args = parser.parse_args()
    WORK = args.work
    rng = random.Random(20261207)
    have_qalc = shutil.which("qalc") is not None
    # The settings file (each calculation saves its log line there) lives in
    # memory when it can: the peers write nothing, and the workloads measure
    # arithmetic, not the disk.
    settings_folder = "/dev/shm" if os.path.isdir("/dev/shm") else WORK
    settings = os.path.join(settings_folder, "calvoro-bench-%d.dat" % os.getpid())
    cli = [args.cli, "--settings", settings, "--threshold", "1000000000", "--result"]

    def file_with(name, text):
        path = os.path.join(WORK, name)
        with open(path, "w") as f:
            f.write(text + "\n")
        return path

    workloads = []  # (label, calvoro (command, stdin), {peer: (command, stdin)}, check)
    for n in (1000, 10000, 60000):
        workloads.append((
            "%d!" % n, (cli + ["--precision", "10", "fac(%d)" % n], None),
            {"gmp": ([args.gmp, "fac", str(n)], None),
             "decimal": (["python3", "-c", PY_FAC, str(n)], None),
             "qalc": (["qalc", "-t", "-s", "precision 300000", "%d!" % n], None),
             "bc": (["bc", "-q", file_with("fac%d.bc" % n, BC_FAC % n)], None)},
            ("exact",)))
    sizes = [10**3, 10**4, 10**5] + ([] if args.quick else [10**6])
    for n in sizes:
        expr = random_digits(rng, n) + "*" + random_digits(rng, n)
        path = file_with("mul%d.txt" % n, expr)
        qalc_path = file_with("mul%d.qalc" % n, expr)
        workloads.append((
            "product %s x %s digits" % (n, n), (cli + ["--precision", "10"], path),
            {"gmp": ([args.gmp, "mul", path], None),
             "decimal": (["python3", "-c", PY_MUL, path], None),
             "qalc": (["qalc", "-t", "-s", "precision %d" % (2 * n + 10)], qalc_path),
             "bc": (["bc", "-q", file_with("mul%d.bc" % n, expr + "\nquit")], None)},
            ("exact",)))
    # A pasted column: many numbers joined by "+".
    for count, n in ((10000, 10), (1000, 1000), (100, 100000)):
        expr = "+".join(random_digits(rng, n) for _ in range(count))
        path = file_with("sum%d_%d.txt" % (count, n), expr)
        workloads.append((
            "sum of %d numbers of %d digits" % (count, n), (cli + ["--precision", "10"], path),
            {"decimal": (["python3", "-c", PY_SUM, path], None),
             "qalc": (["qalc", "-t", "-s", "precision %d" % (n + 10)],
                      file_with("sum%d_%d.qalc" % (count, n), expr)),
             "bc": (["bc", "-q", file_with("sum%d_%d.bc" % (count, n), expr + "\nquit")], None)},
            ("exact",)))
    for n in (10**3, 10**4, 10**5):
        for label, expr in (("1/7", "1/7"),
                            ("%s / %s digits" % (2 * n, n), random_digits(rng, 2 * n) + "/" + random_digits(rng, n))):
            path = file_with("div%d_%d.txt" % (n, len(expr)), expr)
            integer_digits = len(expr.split("/")[0])
            workloads.append((
                "%s to %d digits" % (label, n), (cli + ["--precision", str(n)], path),
                {"gmp": ([args.gmp, "div", path, str(n + 1)], None),
                 "decimal": (["python3", "-c", PY_DIV, path, str(n + 1)], None),
                 "qalc": (["qalc", "-t", "-s", "precision %d" % (integer_digits + n + 8)],
                          file_with("div%d_%d.qalc" % (n, len(expr)), expr)),
                 "bc": (["bc", "-q", file_with("div%d_%d.bc" % (n, len(expr)),
                                               "scale=%d\n%s\nquit" % (n + 1, expr))], None)},
                ("rounded", n)))
    bits = "1" + "".join(rng.choice("01") for _ in range(99))
    workloads.append((
        "100-bit binary to decimal", (cli + ["--base", "mix", "--precision", "10", "0b%s+0" % bits], None),
        {"gmp": ([args.gmp, "bin", file_with("bits.txt", bits)], None),
         "decimal": (["python3", "-c", PY_BIN, os.path.join(WORK, "bits.txt")], None),
         "qalc": (["qalc", "-t", "0b" + bits], None),
         "bc": (["bc", "-q", file_with("bits.bc", "ibase=2\n%s\nquit" % bits)], None)},
        ("exact",)))
    workloads.append((
        "sin(10^1000), precision 1000",
        (cli + ["--precision", "1000", "sin(1" + "0" * 1000 + ")"], None),
        {"decimal": (["python3", "-c", PY_SIN], None),
         "bc": (["bc", "-q", "-l", file_with("sin.bc", "scale=1010\ns(10^1000)\nquit")], None)},
        ("places", 9)))
    for n in (10**3, 10**4, 10**5):
        for label, mpfr_name, decimal, qalc_text, bc_text in FUNCTIONS:
            peer_commands = {
                "mpfr": ([args.mpfr, mpfr_name, str(n)], None),
                "qalc": (["qalc", "-t", "-s", "precision %d" % (n + 10), qalc_text], None),
                "bc": (["bc", "-q", "-l", file_with("%s%d.bc" % (mpfr_name, n),
                                                    "scale=%d\n%s\nquit" % (n + 10, bc_text))],
                       None)}
            if decimal:
                peer_commands["decimal"] = (["python3", "-c", PY_FUNCTION, decimal[0], decimal[1],
                                             str(n)], None)
            workloads.append(("%s to %d digits" % (label, n),
                              (cli + ["--precision", str(n), label], None),
                              peer_commands, ("rounded", n)))

    workloads = [w for w in workloads if re.search(args.only, w[0])]
    peers = [p for p in PEERS if p != "qalc" or have_qalc]
    header = "| workload | calvoro | " + " | ".join(peers) + " | " + \
        " | ".join("÷" + p for p in peers) + " | calvoro peak / data | (peak - start) / data |"
    # The resident memory of a process that calculates next to nothing.
    start_peak = max(peak_memory(args.peak_rss, cli + ["--precision", "10", "1+1"], None)
                     for _ in range(3))
    print(header)
    print("|" + "---|" * (header.count("|") - 1))
    all_agree = True
    for label, (command, stdin), peer_commands, check in workloads:
        calvoro, text, _ = timed_runs(command, stdin, args.runs)
        peak = peak_memory(args.peak_rss, command, stdin)
        data = (os.path.getsize(stdin) if stdin else len(command[-1])) + len(text)
        cells, ratios = [], []
        for peer in peers:
            if peer not in peer_commands:
                cells.append("n/a")
                ratios.append("")
                continue
            pcommand, pstdin = peer_commands[peer]
            median, ptext, marker = timed_runs(pcommand, pstdin, args.runs, args.peer_timeout)
            if marker == ">":
                cells.append("> %s" % fmt(median))
                ratios.append("< %s" % ("%.4f" % (math.ceil(calvoro / median * 1e4) / 1e4)))
                continue
            if check[0] == "exact":
                agree = ptext == text
            elif check[0] == "rounded":
                agree = rounded(ptext, check[1]) == text
            else:
                agree = same_to(ptext, text, check[1])
            if not agree:
                all_agree = False
                print("  %s: %s differs from calvoro (%s... vs %s...)" % (label, peer, ptext[:40], text[:40]),
                      file=sys.stderr)
            cells.append("%s%s%s" % (fmt(median), marker, "" if agree else " (differs)"))
            ratios.append("%.2f" % (calvoro / median))
        print("| %s | %s | %s | %s | %.1f | %.1f |" % (
            label, fmt(calvoro), " | ".join(cells), " | ".join(ratios), peak / max(data, 1),
            max(peak - start_peak, 0) / max(data, 1)))
        sys.stdout.flush()
    print()
    print("Medians of at least %d runs (of about a second's worth for workloads under 0.1 s), whole"
          % args.runs)
    print("process (parse + compute + print); ÷peer = calvoro / peer. * run once (over 10 s);")
    print("> stopped after %s." % fmt(args.peer_timeout))
    print("Peak / data: calvoro's peak resident memory over the bytes of its input and output text;")
    print("(peak - start) / data: the same without the %.1f MB that a run of 1+1 peaks at." % (start_peak / 1e6))
    print("All programs print the same digits." if all_agree else "SOME PROGRAMS DISAGREE (see above).")
    if os.path.exists(settings):
        os.remove(settings)
    return 0 if all_agree else 1


def fmt(seconds):
    if seconds < 1:
        return "%.1f ms" % (seconds * 1000)
    return "%.2f s" % seconds


if __name__ == "__main__":
    sys.exit(main())
