"""Vornick's benchmarks: the real vornick.exe under Wine, against the original design's busy wait and xdotool.

Run through scripts/bench (which makes the Wine environment and builds first):
    scripts/bench                   all measurements, results in bench/results/
    scripts/bench precision size    some of them only (precision rate capture startup size endurance)
Results: the table on stdout, and bench/results/<date>.json and .md.
These are measurements, not tests: nothing fails on a figure.
"""

import json
import os
import platform
import shutil
import subprocess
import sys
import tempfile
import time
import traceback
from datetime import datetime, timezone
from pathlib import Path

BENCH_DIR = Path(__file__).resolve().parent
REPO = BENCH_DIR.parent
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import measurements  # noqa: E402
import report  # noqa: E402
from harness import BenchTarget, wineserver_pid  # noqa: E402
from vornick_driver import Vornick, point_documents_at, windows_path  # noqa: E402

# Clear of Vornick's window, which opens in the middle of the 1280 x 1024 screen.
TARGET_BOX = (900, 60, 340, 340)
ARTIFACTS = REPO / "build" / "bench-artifacts"
RESULTS = BENCH_DIR / "results"


class Bench:
    """The environment the measurements share: the target window, scratch and artifact folders, logging."""

    def __init__(self):
        shutil.rmtree(ARTIFACTS, ignore_errors=True)
        ARTIFACTS.mkdir(parents=True)
        self.artifacts = ARTIFACTS
        self.work_dir = Path(tempfile.mkdtemp(prefix="bench-", dir=os.environ.get("WINE_ENV_ROOT")))
        self.wineserver = wineserver_pid()
        if self.wineserver is None:
            raise SystemExit("no wineserver for this WINEPREFIX: run through scripts/bench")
        self.target = BenchTarget(self.work_dir / "target-events.txt", TARGET_BOX, ARTIFACTS / "bench_target.log")
        self.target_window = self.target.wait_window()
        self.vornick = None

    windows_path = staticmethod(windows_path)
    point_documents_at = staticmethod(point_documents_at)

    @staticmethod
    def log(message):
        print(f"bench: {message}", file=sys.stderr, flush=True)

    def settle(self, seconds=1.0):
        """Lets what the previous step started die down before a timed stretch."""
        time.sleep(seconds)

    def attempt(self, function):
        """Runs one measurement; a failure is recorded in the results instead of ending the benchmark."""
        try:
            return function()
        except Exception as e:  # noqa: BLE001 - any failure of one measurement is reported, the rest go on
            traceback.print_exc()
            return {"error": f"{type(e).__name__}: {e}"}

    def start_vornick(self, name):
        documents = self.work_dir / f"documents-{name}"
        app = Vornick(documents, log_path=ARTIFACTS / f"vornick-{name}.log")
        app.wait_window()
        return app

    @staticmethod
    def stop_vornick(app):
        if app.running():
            try:
                app.close()
                app.wait_exit(30)
            except Exception:  # noqa: BLE001 - a program that will not close is killed below
                pass
        app.kill()

    def close(self):
        self.target.kill()
        shutil.rmtree(self.work_dir, ignore_errors=True)


def run_text(*command):
    try:
        return subprocess.run(command, capture_output=True, timeout=60).stdout.decode(errors="replace").strip()
    except (OSError, subprocess.TimeoutExpired):
        return ""


def machine():
    cpu = next((line.split(":", 1)[1].strip() for line in Path("/proc/cpuinfo").read_text().splitlines()
                if line.startswith("model name")), platform.processor())
    mem_kb = next(int(line.split()[1]) for line in Path("/proc/meminfo").read_text().splitlines()
                  if line.startswith("MemTotal:"))
    load = Path("/proc/loadavg").read_text().split()[:3]
    return {
        "cores": os.cpu_count(),
        "cpu": cpu,
        "ram_gib": round(mem_kb / 1024 / 1024, 1),
        "os": run_text("sh", "-c", ". /etc/os-release && echo \"$PRETTY_NAME\"") or platform.platform(),
        "kernel": platform.release(),
        "wine": run_text("wine", "--version"),
        "load_average_at_start": " ".join(load),
        "date": datetime.now(timezone.utc).strftime("%Y-%m-%d %H:%M UTC"),
        "commit": run_text("git", "-C", str(REPO), "rev-parse", "--short", "HEAD"),
    }


MEASUREMENTS = {
    "size": measurements.measure_size,
    "startup": measurements.measure_startup,
    "precision": measurements.measure_precision,
    "rate": measurements.measure_click_rate,
    "capture": measurements.measure_capture,
    "endurance": measurements.measure_endurance,
}


def main(names):
    unknown = [n for n in names if n not in MEASUREMENTS]
    if unknown:
        raise SystemExit(f"unknown measurement(s) {unknown}; choose from {list(MEASUREMENTS)}")
    results = {"machine": machine(), "measurements": {}}
    started = time.monotonic()
    bench = Bench()
    try:
        for name in names or MEASUREMENTS:
            bench.log(f"{name} ...")
            t0 = time.monotonic()
            results["measurements"][name] = bench.attempt(lambda: MEASUREMENTS[name](bench))
            bench.log(f"{name} done in {time.monotonic() - t0:.0f} s")
    finally:
        bench.close()
    results["seconds"] = round(time.monotonic() - started)
    results["machine"]["load_average_at_end"] = " ".join(Path("/proc/loadavg").read_text().split()[:3])
    results["verdicts"] = report.verdicts(results["measurements"])

    RESULTS.mkdir(exist_ok=True)
    stamp = datetime.now(timezone.utc).strftime("%Y-%m-%d-%H%M")
    markdown = report.markdown(results)
    (RESULTS / f"{stamp}.json").write_text(json.dumps(results, indent=2, ensure_ascii=False) + "\n")
    (RESULTS / f"{stamp}.md").write_text(markdown)
    print(markdown)
    print(f"written: bench/results/{stamp}.json and bench/results/{stamp}.md")


if __name__ == "__main__":
    main(sys.argv[1:])
