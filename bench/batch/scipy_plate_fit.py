#!/usr/bin/python3
"""Wells per second of SciPy's curve_fit against movra-batch on one plate.

Both fit the same combined curves ("b-a" of every well, as movra-batch
--report reduced writes them) with the default formula from the same start
values. SciPy runs a plain loop of scipy.optimize.curve_fit (MINPACK's
Levenberg-Marquardt with finite differences, one thread), timed around the
fits alone; movra-batch is timed as a whole process on all hardware threads
(import and report included). Prints both rates and their ratio, and the
CPU time per well of each (SciPy's own process time, movra-batch's as a
child process), which a busy machine distorts far less than wall-clock rates.

usage: scipy_plate_fit.py MOVRA_BATCH PLATE
"""
import os
import resource
import subprocess
import sys
import time

import numpy as np
from scipy.optimize import curve_fit

START = [0.1, 0.7, 10, 0.8, 1, 0.01, 0.01]
START_OPTION = "m1=0.1,m2=0.7,m3=10,m4=0.8,m5=1,m6=0.01,m7=0.01"


def default_formula(x, m1, m2, m3, m4, m5, m6, m7):
    a5 = np.abs(m5)
    with np.errstate(all="ignore"):
        return m1 + m7 * x + (m2 + m6 * x) / (1 + a5 * np.exp(-m3 * (x - m4))) ** (1 / a5)


def main():
    batch, plate = sys.argv[1:3]
    reduced = subprocess.run([batch, plate, "--report", "reduced", "--quiet"], check=True, capture_output=True,
                             text=True).stdout.splitlines()
    rows = [line.split("\t") for line in reduced[1:]]
    x = np.array([float(r[0]) for r in rows])
    curves = [np.array([float(r[c]) for r in rows]) for c in range(1, len(rows[0]))]

    fitted = 0
    started = time.perf_counter()
    cpu_started = time.process_time()
    for y in curves:
        try:
            curve_fit(default_formula, x, y, p0=START, maxfev=10000)
            fitted += 1
        except RuntimeError:
            pass
    scipy_seconds = time.perf_counter() - started
    scipy_cpu = time.process_time() - cpu_started

    threads = str(os.cpu_count() or 1)
    started = time.perf_counter()
    children = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run([batch, plate, "--start", START_OPTION, "--threads", threads, "--quiet", "--output", os.devnull],
                   check=True, capture_output=True)
    movra_seconds = time.perf_counter() - started
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    movra_cpu = (after.ru_utime + after.ru_stime) - (children.ru_utime + children.ru_stime)

    wells = len(curves)
    print(f"{wells} wells x {len(x)} reads")
    print(f"SciPy curve_fit, 1 thread:         {wells / scipy_seconds:8.1f} wells/s ({fitted} fitted)")
    print(f"movra-batch, {threads} threads (whole run): {wells / movra_seconds:8.1f} wells/s")
    print(f"movra-batch / SciPy = x{scipy_seconds / movra_seconds:.2f} (wall clock)")
    print(f"CPU ms per well: SciPy {1000 * scipy_cpu / wells:.2f}, movra-batch {1000 * movra_cpu / wells:.2f} "
          f"(whole run), SciPy / movra-batch = x{scipy_cpu / movra_cpu:.2f}")


if __name__ == "__main__":
    main()
