#!/usr/bin/env python3
# ab.py N -- COMMAND... -- COMMAND... [-- COMMAND...]: whole processes alternating (A B, then
# B A) after one untimed run of each; medians of user, system, processor and wall time (from
# wait4), and each command's processor time paired with the first's of the same round.
import os, sys, time, statistics

args = sys.argv[1:]
n = int(args[0])
cmds = []
cur = None
for a in args[1:]:
    if a == "--":
        cur = []
        cmds.append(cur)
    else:
        cur.append(a)
res = [[] for _ in cmds]
devnull = os.open("/dev/null", os.O_WRONLY)


def run(c):
    t = time.monotonic()
    pid = os.fork()
    if pid == 0:
        os.dup2(devnull, 1)
        os.execvp(c[0], c)
    _, st, ru = os.wait4(pid, 0)
    w = time.monotonic() - t
    return ru.ru_utime, ru.ru_stime, w


for c in cmds:
    run(c)
for r in range(n):
    order = range(len(cmds)) if r % 2 == 0 else reversed(range(len(cmds)))
    for i in order:
        res[i].append(run(cmds[i]))
for i, c in enumerate(cmds):
    u = statistics.median(x[0] for x in res[i]) * 1e3
    s = statistics.median(x[1] for x in res[i]) * 1e3
    cpu = statistics.median(x[0] + x[1] for x in res[i]) * 1e3
    w = statistics.median(x[2] for x in res[i]) * 1e3
    print(
        f"{i}: user {u:7.2f} sys {s:7.2f} cpu {cpu:7.2f} wall {w:7.2f} ms  {' '.join(c)[:90]}"
    )
base = [x[0] + x[1] for x in res[0]]
for i in range(1, len(cmds)):
    ratios = [(res[i][k][0] + res[i][k][1]) / base[k] for k in range(n)]
    print(f"paired cpu ratio {i}/0: {statistics.median(ratios):.3f}")
