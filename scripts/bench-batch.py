#!/usr/bin/env python3
"""Whole-process timings of the batch command line.

Times `pixoran3` against libvips' command line (`vips`) on the same
4000 x 3000 24-bit uncompressed TIFF: each command runs RUNS times, the two
programs interleaved, and the table shows the median wall time, the peak
resident memory and our time as a fraction of theirs. libvips is skipped
when `vips` is not installed.

With --folder, also times one process over a folder of FILES images of 1 to
12 megapixels (`--output-dir`, as many workers as cores) against one `vips`
process per file and one `pixoran3` process per file, both run by `parallel`
(or `xargs -P` without it) on every core.

    scripts/bench-batch.py [--build build] [--runs 5] [--folder] [--files 200]
"""

import argparse
import concurrent.futures
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

WIDTH, HEIGHT = 4000, 3000


def run(argv, env=None):
    """Runs argv to its end; returns (seconds, peak resident MB). Its error
    output goes to a file, which no amount of output can fill up."""
    with tempfile.TemporaryFile() as err:
        start = time.perf_counter()
        proc = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=err, env=env)
        _, status, usage = os.wait4(proc.pid, 0)
        elapsed = time.perf_counter() - start
        code = os.waitstatus_to_exitcode(status)
        if code != 0:
            err.seek(0)
            sys.exit(f"failed ({code}): {' '.join(argv)}\n{err.read().decode(errors='replace')[-2000:]}")
    return elapsed, usage.ru_maxrss / 1024.0


def write_ppm(path, width, height, phase=0):
    """A picture like a photograph to a codec: gradients across and down,
    with a little noise in the low bits everywhere, so no row repeats
    another and no run is long."""
    rng = random.Random(phase)
    row = bytearray(width * 3)
    green = bytearray(width * 3)
    for x in range(width):
        row[3 * x] = (x * 255 // width + phase) & 0xFF
        row[3 * x + 1] = (x * 13 // 37) & 0xFF
        row[3 * x + 2] = (255 - x * 255 // width) & 0xFF
        green[3 * x + 1] = 1
    base = int.from_bytes(row, "big")
    greens = int.from_bytes(green, "big")  # times a byte: that byte in every green
    low_bits = int.from_bytes(b"\x07" * len(row), "big")
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        for y in range(height):
            noise = int.from_bytes(rng.randbytes(len(row)), "big") & low_bits
            line = base ^ (greens * (y * 255 // height)) ^ noise
            f.write(line.to_bytes(len(row), "big"))


def median_pair(ours, theirs, runs):
    """Interleaved runs of two commands; medians of time and peak memory."""
    a, b = [], []
    for _ in range(runs):
        a.append(run(ours))
        if theirs:
            b.append(run(theirs))
    med = lambda xs, i: statistics.median(x[i] for x in xs)
    return (med(a, 0), med(a, 1)), ((med(b, 0), med(b, 1)) if b else None)


def single_file_table(pixoran3, vips, work, runs):
    tif = os.path.join(work, "in.tif")
    png = os.path.join(work, "in.png")
    ppm = os.path.join(work, "in.ppm")
    write_ppm(ppm, WIDTH, HEIGHT)
    run([pixoran3, "--batch", ppm, tif])
    run([pixoran3, "--batch", ppm, png])
    mask = os.path.join(work, "sharpen.mat")
    with open(mask, "w") as f:
        # The program's Sharpen kernel: -1 around, 9 at the centre, sum 1.
        f.write("3 3 1 0\n-1 -1 -1\n-1 9 -1\n-1 -1 -1\n")
    out_tif = os.path.join(work, "out.tif")
    out_png = os.path.join(work, "out.png")
    cases = [
        ("--apply Ngative1", ["--apply", "Ngative1", tif, out_tif], ["invert", tif, out_tif]),
        ("--batch (copy)", ["--batch", tif, out_tif], ["copy", tif, out_tif]),
        ("--apply Sharpen1", ["--apply", "Sharpen1", tif, out_tif],
         ["conv", tif, out_tif, mask, "--precision", "integer"]),
        ("--apply Luminosit1=50", ["--apply", "Luminosit1=50", tif, out_tif],
         ["linear", tif, out_tif, "1", "50", "--uchar"]),
        ("--apply Rotation3=Droite,90", ["--apply", "Rotation3=Droite,90", tif, out_tif], ["rot", tif, out_tif, "d90"]),
        ("--apply Rotation3=Gauche,90", ["--apply", "Rotation3=Gauche,90", tif, out_tif], ["rot", tif, out_tif, "d270"]),
        ("--apply Rotation3=Droite,180", ["--apply", "Rotation3=Droite,180", tif, out_tif],
         ["rot", tif, out_tif, "d180"]),
        ("PNG -> PNG copy", ["--batch", png, out_png], ["copy", png, out_png]),
    ]
    image_mb = WIDTH * HEIGHT * 3 / 2**20
    print(f"4000 x 3000 24-bit image ({image_mb:.1f} MB), median of {runs} interleaved runs")
    print(f"{'command':32} {'ours s':>8} {'vips s':>8} {'ratio':>6} {'ours MB':>8} {'vips MB':>8}")
    for label, ours, theirs in cases:
        (ot, om), other = median_pair([pixoran3] + ours, [vips] + theirs if vips else None, runs)
        if other:
            vt, vm = other
            print(f"{label:32} {ot:8.3f} {vt:8.3f} {ot / vt:6.2f} {om:8.1f} {vm:8.1f}")
        else:
            print(f"{label:32} {ot:8.3f} {'-':>8} {'-':>6} {om:8.1f} {'-':>8}")


def per_file(jobs, argv_for, files):
    """One process per file on `jobs` workers: GNU parallel when installed,
    else a pool of threads that each start one process at a time."""
    if shutil.which("parallel"):
        template = " ".join(argv_for("{}", "{/}"))
        argv = ["parallel", "--will-cite", "-j", str(jobs), template, ":::"] + files
        return lambda: run(argv)[0]

    def pool():
        start = time.perf_counter()
        with concurrent.futures.ThreadPoolExecutor(jobs) as workers:
            list(workers.map(lambda f: run(argv_for(f, os.path.basename(f))), files))
        return time.perf_counter() - start

    return pool


def folder_table(pixoran3, vips, work, count, runs):
    folder = os.path.join(work, "folder")
    os.makedirs(folder)
    seed_ppm = os.path.join(work, "seed.ppm")
    files = []
    for i in range(count):
        megapixels = 1 + i % 12
        width = int((megapixels * 1e6 * 4 / 3) ** 0.5)
        height = int(megapixels * 1e6 / width)
        write_ppm(seed_ppm, width, height, phase=i)
        name = os.path.join(folder, f"image{i:03}.tif")
        run([pixoran3, "--batch", seed_ppm, name])
        files.append(name)
    jobs = os.cpu_count() or 1
    print(f"\n{count} TIFF files of 1 to 12 megapixels, Ngative1, {jobs} workers, median of {runs} runs")
    rows = []
    outs = [os.path.join(work, d) for d in ("ours", "each", "vips")]
    for d in outs:
        os.makedirs(d)
    ours = [pixoran3, "--apply", "Ngative1", "--output-dir", outs[0]] + files
    rows.append(("pixoran3 --output-dir (one process)", lambda: run(ours)[0]))
    rows.append(("one pixoran3 per file",
                 per_file(jobs, lambda f, base: [pixoran3, "--apply", "Ngative1", f, f"{outs[1]}/{base}"], files)))
    if vips:
        rows.append(("one vips per file",
                     per_file(jobs, lambda f, base: [vips, "invert", f, f"{outs[2]}/{base}"], files)))
    times = {label: [] for label, _ in rows}
    for _ in range(runs):
        for label, timed in rows:
            times[label].append(timed())
    base = statistics.median(times[rows[0][0]])
    print(f"{'runner':36} {'seconds':>8} {'files/s':>8} {'ours/this':>10}")
    for label, _ in rows:
        t = statistics.median(times[label])
        print(f"{label:36} {t:8.2f} {count / t:8.1f} {base / t:10.2f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--folder", action="store_true")
    parser.add_argument("--files", type=int, default=200)
    parser.add_argument("--folder-only", action="store_true", help="skip the single-file table")
    args = parser.parse_args()
    pixoran3 = os.path.abspath(os.path.join(args.build, "pixoran3"))
    if not os.access(pixoran3, os.X_OK):
        sys.exit(f"no program at {pixoran3}: build it first")
    vips = shutil.which("vips")
    if vips:
        version = subprocess.run([vips, "--version"], capture_output=True, text=True).stdout.strip()
        print(f"libvips: {version}")
    else:
        print("libvips: not installed, its columns are left empty")
    work = tempfile.mkdtemp(prefix="pixoran3-bench-")
    try:
        if not args.folder_only:
            single_file_table(pixoran3, vips, work, args.runs)
        if args.folder or args.folder_only:
            folder_table(pixoran3, vips, work, args.files, args.runs)
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
