#!/usr/bin/env python3
"""Peer baseline for the run benchmark: the same models the way a Python user
would write them, one scipy.optimize.linprog(method="highs") per DMU on the
envelopment form (FDH: numpy dominance per DMU).

    scipy_baseline.py DATA.csv MODEL [SAMPLE]

DATA.csv has a header and one row per DMU: inputs x1.. then outputs y1..
(columns named x* and y*). The first SAMPLE DMUs (default: all) are
evaluated against the whole data set. Prints one line:
    MODEL DMUS SAMPLE SECONDS MS_PER_DMU
and writes the scores to DATA.csv.MODEL.scores (one per line, "big" when
the LP has no finite optimum), so the benchmark can compare them with its
own.

The radial models leave the evaluated DMU out of its own technology, which
is what the superefficiency display reports; the additive model keeps it.
"""
import sys
import time

import numpy as np
from scipy.optimize import linprog


def load(path):
    with open(path) as f:
        header = f.readline().strip().split(",")
    data = np.loadtxt(path, delimiter=",", skiprows=1, ndmin=2)
    xs = [k for k, name in enumerate(header) if name.startswith("x")]
    ys = [k for k, name in enumerate(header) if name.startswith("y")]
    return data[:, xs].T.copy(), data[:, ys].T.copy()


def radial_input(X, Y, d, vrs):
    m, n = X.shape
    s = Y.shape[0]
    others = np.arange(n) != d
    Xo, Yo = X[:, others], Y[:, others]
    k = Xo.shape[1]
    # variables: theta, lambda_1..k
    c = np.zeros(k + 1)
    c[0] = 1.0
    A_ub = np.zeros((m + s, k + 1))
    b_ub = np.zeros(m + s)
    A_ub[:m, 0] = -X[:, d]
    A_ub[:m, 1:] = Xo
    A_ub[m:, 1:] = -Yo
    b_ub[m:] = -Y[:, d]
    A_eq = b_eq = None
    if vrs:
        A_eq = np.zeros((1, k + 1))
        A_eq[0, 1:] = 1.0
        b_eq = np.array([1.0])
    res = linprog(c, A_ub=A_ub, b_ub=b_ub, A_eq=A_eq, b_eq=b_eq,
                  bounds=[(None, None)] + [(0, None)] * k, method="highs")
    return res.fun if res.status == 0 else None


def additive(X, Y, d):
    m, n = X.shape
    s = Y.shape[0]
    # variables: lambda_1..n, input slacks, output slacks
    c = np.concatenate([np.zeros(n), -np.ones(m), -np.ones(s)])
    A_eq = np.zeros((m + s, n + m + s))
    A_eq[:m, :n] = X
    A_eq[:m, n:n + m] = np.eye(m)
    A_eq[m:, :n] = Y
    A_eq[m:, n + m:] = -np.eye(s)
    b_eq = np.concatenate([X[:, d], Y[:, d]])
    res = linprog(c, A_eq=A_eq, b_eq=b_eq, bounds=[(0, None)] * (n + m + s), method="highs")
    return -res.fun if res.status == 0 else None


def fdh_input(X, Y, d):
    dominating = np.all(X <= X[:, [d]], axis=0) & np.all(Y >= Y[:, [d]], axis=0)
    dominating[d] = False
    if not dominating.any():
        return 1.0
    positive = X[:, d] > 0
    ratios = (X[positive][:, dominating] / X[positive, d][:, None]).max(axis=0)
    return min(1.0, ratios.min())


def main():
    path, model = sys.argv[1], sys.argv[2]
    X, Y = load(path)
    n = X.shape[1]
    sample = min(int(sys.argv[3]), n) if len(sys.argv) > 3 else n
    solve = {
        "CRS_RAD_IN": lambda d: radial_input(X, Y, d, False),
        "VRS_RAD_IN": lambda d: radial_input(X, Y, d, True),
        "CRS_ADD_NON": lambda d: additive(X, Y, d),
        "FDH_RAD_IN": lambda d: fdh_input(X, Y, d),
    }[model]
    start = time.perf_counter()
    scores = [solve(d) for d in range(sample)]
    seconds = time.perf_counter() - start
    with open(path + "." + model + ".scores", "w") as out:
        for score in scores:
            out.write("big\n" if score is None else repr(float(score)) + "\n")
    print(model, n, sample, "%.3f" % seconds, "%.3f" % (1000.0 * seconds / sample))


if __name__ == "__main__":
    main()
