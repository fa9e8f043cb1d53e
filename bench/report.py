#!/usr/bin/env python3
"""Turns the results of scripts/bench.sh into docs/performance.md.

Usage: bench/report.py <results-dir> <notes.md> > docs/performance.md
The results directory holds bench.json (Google Benchmark), soak.txt, valgrind.txt (optional)
and machine.txt; the notes are the hand-written explanations appended to the figures.
"""
import json
import os
import re
import sys


def load_medians(path):
    """{(family, arg): record} of the median aggregates."""
    with open(path) as f:
        data = json.load(f)
    medians = {}
    for bench in data["benchmarks"]:
        if bench.get("aggregate_name") != "median":
            continue
        parts = bench["run_name"].split("/")
        family = parts[0]
        arg = parts[1] if len(parts) > 1 and parts[1].isdigit() else None
        medians[(family, arg)] = bench
    return data["context"], medians


def ms(record):
    factor = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[record["time_unit"]]
    return record["real_time"] * factor


def verdict(ok):
    return "met" if ok else "**missed**"


def main():
    results, notes_path = sys.argv[1], sys.argv[2]
    context, med = load_medians(os.path.join(results, "bench.json"))
    machine = open(os.path.join(results, "machine.txt")).read().strip()
    out = []
    w = out.append

    w("# Performance")
    w("")
    w("Every figure is the median of several repetitions and is set against a floor measured in")
    w("the same run on the same machine, so that the ratio means something on a noisy machine.")
    w("Regenerate this page with `scripts/bench.sh` (it builds `build-bench` in Release, runs")
    w("`dm_bench` and `dm_soak`, a short soak under valgrind, and writes this file).")
    w("")
    w("## Machine and run")
    w("")
    w("```")
    w(machine)
    w("```")
    w("")

    # 1. Layout ingest
    w("## 1. Layout ingest")
    w("")
    w("A layout of N windows fired from a foreign thread through the X86 service's layout")
    w("callback into the X86 page (`DigitalMatrix`, 1280 × 760, wall 1280 × 721), until the wall")
    w("has placed every window and painted once; every pane is named (the matrix reported the")
    w("sources before the layout). Floor: creating, placing, showing and painting N bare child")
    w("widgets (background filled) of the same sizes.")
    w("Command: `build-bench/bench/dm_bench --benchmark_filter='LayoutIngest'`.")
    w("")
    w("The module's time is split into the crossing (from the service's thread until the layout")
    w("reaches the user-interface thread), the placing (the page's and the wall's slots until the")
    w("end of the layout) and the painting (until the last window is painted).")
    w("")
    w("| N | module (ms) | crossing / placing / painting (ms) | floor (ms) | ratio | goal ≤ 1.5× "
      "| under one 60 Hz frame (16.7 ms) |")
    w("|---|---|---|---|---|---|---|")
    goals = []
    for n in ("16", "64", "256"):
        module = med.get(("BM_LayoutIngest", n))
        floor = med.get(("BM_LayoutIngestFloor", n))
        if not module or not floor:
            w("| %s | – | – | – | – | – | – |" % n)
            continue
        ratio = ms(module) / ms(floor)
        frame = verdict(ms(module) < 16.7) if n == "256" else ""
        crossing = module.get("crossing_ms")
        placing = module.get("placing_ms")
        if crossing is None or placing is None:
            split = "–"
        else:
            split = "%.2f / %.2f / %.2f" % (crossing, placing, ms(module) - crossing - placing)
        w("| %s | %.2f | %s | %.3f | %.1f× | %s | %s |" % (n, ms(module), split, ms(floor), ratio,
                                                            verdict(ratio <= 1.5), frame))
        goals.append(("Layout ingest N=%s within 1.5× of the floor" % n, ratio <= 1.5))
        if n == "256":
            goals.append(("Layout ingest N=256 under 16.7 ms", ms(module) < 16.7))
    w("")

    # 2. Wall repaint
    w("## 2. Wall repaint")
    w("")
    w("Repainting the wall with N windows, the first one selected, every window split 16 with")
    w("its number, 16 named panes and the badge of a running turn show: every window is asked")
    w("to repaint (`update()`), then the wall is painted at once (`QWidget::repaint()`,")
    w("synchronous); the benchmark counts N window paints per frame. Floor: one widget of the")
    w("wall's size filling the same N rectangles with `QPainter::fillRect`.")
    w("Command: `build-bench/bench/dm_bench --benchmark_filter='WallRepaint'`.")
    w("")
    w("| N | module (ms per frame) | floor (ms per frame) | ratio | goal ≤ 2× |")
    w("|---|---|---|---|---|")
    for n in ("16", "64", "256"):
        module = med.get(("BM_WallRepaint", n))
        floor = med.get(("BM_WallRepaintFloor", n))
        if module and floor:
            ratio = ms(module) / ms(floor)
            w("| %s | %.2f | %.3f | %.1f× | %s |" % (n, ms(module), ms(floor), ratio,
                                                    verdict(ratio <= 2)))
            goals.append(("Wall repaint N=%s within 2× of a plain fill" % n, ratio <= 2))
    w("")

    # Drag
    w("## 2a. Dragging a window")
    w("")
    w("One window of a 256-window wall (every pane named) held with the mouse and moved 4 pixels")
    w("per mouse move across the wall: each frame runs from the move event to the wall painted")
    w("(the event loop has run the repaint the move asked for), 600 moves per repetition.")
    w("Floor: one of 256 bare child widgets of the same sizes moved by 4 pixels and repainted.")
    w("Command: `build-bench/bench/dm_bench --benchmark_filter='WindowDrag'`.")
    w("")
    w("| | median frame (ms) | 90th percentile (ms) | median ratio | goal ≤ 2× and < 4 ms |")
    w("|---|---|---|---|---|")
    drag = med.get(("BM_WindowDrag", None))
    drag_floor = med.get(("BM_WindowDragFloor", None))
    if drag and drag_floor:
        ratio = drag["p50_us"] / drag_floor["p50_us"]
        ok = ratio <= 2 and drag["p50_us"] < 4000
        w("| bare widget (floor) | %.3f | %.3f | 1 | |"
          % (drag_floor["p50_us"] / 1e3, drag_floor["p90_us"] / 1e3))
        w("| module | %.3f | %.3f | %.1f× | %s |"
          % (drag["p50_us"] / 1e3, drag["p90_us"] / 1e3, ratio, verdict(ok)))
        goals.append(("Drag on a 256-window wall: median frame within 2× of the floor, under 4 ms",
                      ok))
    w("")

    # Flood
    w("## 2b. Layout flood")
    w("")
    w("A matrix sending 64-window layouts from the service's thread as fast as the callback")
    w("returns, for 3 seconds, one window moving with every layout, while the page runs its event")
    w("loop. Layouts that arrive while one still waits for the page take its place (only the")
    w("newest is applied). Lag: from the last layout sent to the page showing it.")
    w("Command: `build-bench/bench/dm_bench --benchmark_filter='LayoutFlood'`.")
    w("")
    w("| layouts sent | layouts applied | RSS before (kB) | RSS peak (kB) | lag (ms) | goal: memory bounded, lag within a frame (16.7 ms) |")
    w("|---|---|---|---|---|---|")
    flood = med.get(("BM_LayoutFlood", "3000"))
    if flood:
        growth = flood["rss_peak_kb"] - flood["rss_start_kb"]
        ok = growth < 10240 and flood["lag_ms"] <= 16.7
        w("| %d | %d | %d | %d | %.2f | %s |"
          % (flood["sent"], flood["applied"], flood["rss_start_kb"], flood["rss_peak_kb"],
             flood["lag_ms"], verdict(ok)))
        goals.append(("Layout flood: RSS within 10 MB of the start, the last layout shown within a "
                      "frame", ok))
    w("")

    # 3. Round trip
    w("## 3. Matrix round trip")
    w("")
    w("`GetCellChannels` of a full cell (16 records) through the matrix-service library to the")
    w("in-process simulator over loopback: a 16-byte request, a 7448-byte answer. Floor: blocking")
    w("TCP sockets on loopback (`TCP_NODELAY`), a server thread answering every 16-byte request")
    w("with 7448 bytes. Latencies per call, 3000 calls per repetition; the table shows the")
    w("median over the repetitions of each percentile.")
    w("Command: `build-bench/bench/dm_bench --benchmark_filter='RoundTrip|Echo'`.")
    w("")
    w("| path | p50 (µs) | p99 (µs) | p50 ratio | p99 ratio | goal ≤ 3× |")
    w("|---|---|---|---|---|---|")
    echo = med.get(("BM_TcpEchoFloor", None))
    lib = med.get(("BM_MatrixRoundTrip", None))
    port = med.get(("BM_PortRoundTrip", None))
    if echo:
        w("| raw TCP exchange (floor) | %.1f | %.1f | 1 | 1 | |" % (echo["p50_us"], echo["p99_us"]))
    if echo and lib:
        r50 = lib["p50_us"] / echo["p50_us"]
        r99 = lib["p99_us"] / echo["p99_us"]
        w("| library `GetCellChannels` | %.1f | %.1f | %.1f× | %.1f× | %s |"
          % (lib["p50_us"], lib["p99_us"], r50, r99, verdict(r99 <= 3)))
        goals.append(("Round trip p99 within 3× of the TCP floor", r99 <= 3))
    if echo and port:
        w("| port `getCellChannels` (adds the data-centre names of 16 devices and channels: "
          "one batch query) | %.1f | %.1f | %.1f× | %.1f× | |"
          % (port["p50_us"], port["p99_us"], port["p50_us"] / echo["p50_us"],
             port["p99_us"] / echo["p99_us"]))
    if lib and port:
        ratio = port["p50_us"] / lib["p50_us"]
        w("")
        w("Reading a full cell through the port costs %.1f× the library round trip (p50); goal ≤ 3×: "
          "%s." % (ratio, verdict(ratio <= 3)))
        goals.append(("Port getCellChannels p50 within 3× of the library round trip", ratio <= 3))
    w("")

    # 4. Start-up
    w("## 4. Start-up")
    w("")
    w("A fresh process each sample (this executable started again with `--startup-child`):")
    w("`QApplication`, opening a data centre of five X86 servers, `MatrixModuleConfig::instance()`,")
    w("constructing `DigitalMatrixConfigPage` (both pages), showing it and painting it once.")
    w("Floor: a fresh process with `QApplication` and an empty `QWidget` shown and painted once.")
    w("In-process time runs from before `QApplication` to after the first paint; the process time")
    w("is the parent's wall clock from start to exit.")
    w("Command: `build-bench/bench/dm_bench --benchmark_filter='Startup'`.")
    w("")
    w("| | module (ms) | floor (ms) | ratio |")
    w("|---|---|---|---|")
    module = med.get(("BM_StartupModule", None))
    floor = med.get(("BM_StartupFloor", None))
    if module and floor:
        w("| in process | %.1f | %.1f | %.2f× |" % (ms(module), ms(floor), ms(module) / ms(floor)))
        w("| whole process | %.1f | %.1f | %.2f× |" % (module["process_ms"], floor["process_ms"],
                                                       module["process_ms"] / floor["process_ms"]))
    w("")

    # 5. Soak
    w("## 5. Soak")
    w("")
    soak = open(os.path.join(results, "soak.txt")).read()
    w("1,000 connect / layout / disconnect cycles of the X86 page against the simulator (a 2 × 2")
    w("wall, the page's connect toggle, login, the layout placed, disconnect), then 1,000 cycles")
    w("of adding, editing and deleting a server on the X86 page and on the Linux page (the data")
    w("centre's signals drive the pages), then 1,000 cycles of both pages watching a matrix-sim")
    w("process and stopping again while another console holds it and moves a window each cycle")
    w("(the watch-unwatch rows: this process, and the simulator process read from")
    w("`/proc/<pid>/statm`). Resident memory is read from `/proc/self/statm` after")
    w("`malloc_trim(0)`.")
    w("Command: `build-bench/bench/dm_soak 1000 100`.")
    w("")
    w("| phase | cycles | time (s) | RSS after 100 (kB) | RSS after 1000 (kB) | growth | goal ≤ 2 % |")
    w("|---|---|---|---|---|---|---|")
    for line in soak.splitlines():
        m = re.match(r"soak (\S+) cycles=(\d+) seconds=([\d.]+) rss_after_(\d+)_kb=(\d+) "
                     r"rss_after_(\d+)_kb=(\d+) growth_pct=(-?[\d.]+)", line)
        if not m:
            continue
        growth = float(m.group(8))
        w("| %s | %s | %s | %s | %s | %+.2f %% | %s |" % (m.group(1), m.group(2), m.group(3),
                                                        m.group(5), m.group(7), growth,
                                                        verdict(growth <= 2.0)))
        goals.append(("Soak %s: RSS growth ≤ 2 %%" % m.group(1), growth <= 2.0))
    w("")
    valgrind_path = os.path.join(results, "valgrind.txt")
    if os.path.exists(valgrind_path):
        text = open(valgrind_path).read()
        definite = re.search(r"definitely lost: ([\d,]+) bytes in ([\d,]+) blocks", text)
        suppressed = re.search(r"suppressed: ([\d,]+) bytes in ([\d,]+) blocks", text)
        w("Leaks: `valgrind --leak-check=full --errors-for-leak-kinds=definite "
          "--suppressions=tests/sanitizers/valgrind.supp build-bench/bench/dm_soak 20 10`")
        if definite:
            lost = int(definite.group(1).replace(",", ""))
            w("reports **%s bytes definitely lost** in %s blocks (suppressed: %s bytes, the offscreen"
              " platform plugin's screen; see docs/sanitizers.md)."
              % (definite.group(1), definite.group(2), suppressed.group(1) if suppressed else "0"))
            goals.append(("No definite leak under valgrind", lost == 0))
        elif "no leaks are possible" in text or "definitely lost: 0" in text:
            w("reports no definite leak.")
            goals.append(("No definite leak under valgrind", True))
        w("")

    w("## Goals")
    w("")
    w("| goal | result |")
    w("|---|---|")
    for name, ok in goals:
        w("| %s | %s |" % (name, verdict(ok)))
    w("")
    with open(notes_path) as f:
        w(f.read().rstrip())
    w("")
    print("\n".join(out))


if __name__ == "__main__":
    main()
