#!/usr/bin/env python3
# delab.py ROUNDS NAME=COMMAND ...: whole processes alternating after a warm-up round, each
# run given ({} in COMMAND) a tree of 10,000 files of 256 bytes in 100 folders made just before
# it, untimed, as bench_command_line does. Medians of wall and processor time (user + system,
# from wait4), and each side's wall time paired with the first side's of the same round.
import os, sys, time, statistics, shlex

rounds = int(sys.argv[1])
sides = [a.split("=", 1) for a in sys.argv[2:]]
base = f"{os.environ.get('TMPDIR', '/tmp')}/quorvane-delab-{os.getpid()}"
os.makedirs(base)
os.environ["XDG_STATE_HOME"] = base + "/state"
os.environ["XDG_DATA_HOME"] = base + "/data"
n = 0


def tree():
    global n
    root = f"{base}/t{n}"
    n += 1
    os.mkdir(root)
    for d in range(100):
        p = f"{root}/d{d}"
        os.mkdir(p)
        for f in range(100):
            with open(f"{p}/IMG_{f}.jpg", "wb") as fh:
                fh.write(b"x" * 256)
    return root


total = (rounds + 1) * len(sides)
devnull = os.open("/dev/null", os.O_WRONLY)


def run(cmd):
    t = time.monotonic()
    pid = os.fork()
    if pid == 0:
        os.dup2(devnull, 1)
        os.execvp(cmd[0], cmd)
    _, st, ru = os.wait4(pid, 0)
    w = time.monotonic() - t
    if st != 0:
        print("failed", cmd, st)
    return ru.ru_utime + ru.ru_stime, w


res = {s[0]: [] for s in sides}
k = 0
for r in range(rounds + 1):
    order = sides if r % 2 == 0 else list(reversed(sides))
    for name, cmd in order:
        c = [x.replace("{}", tree()) for x in shlex.split(cmd)]
        k += 1
        t = run(c)
        if r > 0:
            res[name].append(t)
first = sides[0][0]
for name, _ in sides:
    cpu = statistics.median(x[0] for x in res[name]) * 1e3
    w = statistics.median(x[1] for x in res[name]) * 1e3
    pr = statistics.median(res[name][i][1] / res[first][i][1] for i in range(rounds))
    print(
        f"{name:8s} wall {w:7.1f} ms cpu {cpu:7.1f} ms  paired wall ratio to {first}: {pr:.3f}"
    )
print(f"(the emptied trees are left in {base}; remove them when the disk has settled)")
