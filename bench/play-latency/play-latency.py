#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Click-to-sound latency of the phrasebook's Play, on a private sound server.

Starts its own PulseAudio with a null sink at the clips' rate (24 kHz mono,
so nothing is resampled and the recording can be compared bit for bit), the
real window under Xvfb, and a recorder on the sink's monitor. Then it clicks
with xdotool: Play on the phrase shown at start-up, a double click on its
line, new selections, Play again during a play, and all of it again with a
busy loop on every core. For each click it prints the time to the clip's
first sample on the monitor in 5 ms blocks (the clip's own leading silence
not counted), and whether the clip's sound came out whole; at the end the
median and the worst per scenario, and the same for paplay of a WAV on the
same sink.

Then two things the recorder would spoil (it keeps the sink running), with
the recorder stopped: how long after the end of the speech the sink stops
RUNNING (IDLE or SUSPENDED, as `pactl list sinks short` says; polled every
20 ms), and a server that is stopped (SIGSTOP) for 5 s while the window
starts and connects: how long the window takes to come up, whether a Play
then brings the window's message about a server not answering, and, once
the server continues, whether the next Play sounds.

A play that begins while the sink is running may lose a moment of its
leading silence on the monitor (what the sink already passed to the
recorder is not taken back); the sound itself is compared from its first
sample.

Usage: bench/play-latency/play-latency.py [RUN_FOLDER] [--rounds N] [--stopped-server-only]
RUN_FOLDER defaults to build/run. A benchmark, not a test.
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import wave

RATE = 24000
BLOCK = RATE // 200  # 5 ms
# Dialog units of the Play button and the phrase list, turned into pixels
# as the window does (6/4 across, 13/8 down).
PLAY = (96 + 7, 274 + 6)
LIST = (115, 118, 213, 114)


def px(x, y):
    return int(x * 6 / 4), int(y * 13 / 8)


class Recorder:
    """The monitor's samples, with the arrival time of every chunk."""

    def __init__(self, env):
        self.proc = subprocess.Popen(
            ["parec", "-d", "bench.monitor", "--raw", "--format=s16le", "--rate=%d" % RATE, "--channels=1",
             "--latency-msec=2"], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.data = bytearray()
        self.marks = []  # (arrival time, samples received)
        self.lock = threading.Lock()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        fd = self.proc.stdout.fileno()
        while True:
            chunk = os.read(fd, 4096)
            now = time.monotonic()
            if not chunk:
                return
            with self.lock:
                self.data += chunk
                self.marks.append((now, len(self.data) // 2))

    def samples(self):
        with self.lock:
            return len(self.data) // 2

    def sample_at(self, t):
        """The sample recorded at time t: a chunk arrives after its last
        sample was taken, so the earliest arrival near t is the best
        bound."""
        with self.lock:
            marks = [m for m in self.marks if abs(m[0] - t) < 2.0] or self.marks[-200:]
        base = min(arrival - count / RATE for arrival, count in marks)
        return max(0, int(round((t - base) * RATE)))

    def pcm(self, start, count):
        with self.lock:
            return bytes(self.data[2 * start:2 * (start + count)])

    def stop(self):
        self.proc.terminate()
        self.proc.wait()


def first_sound(pcm, start=0):
    """Index of the first non-zero sample from `start`, or -1."""
    for i in range(start, len(pcm) - 1, 2):
        if pcm[i] or pcm[i + 1]:
            return i // 2
    return -1


def last_sound(pcm):
    for i in range(len(pcm) - 2, -1, -2):
        if pcm[i] or pcm[i + 1]:
            return i // 2
    return -1


class Clip:
    def __init__(self, number, path):
        with wave.open(path) as w:
            if w.getframerate() != RATE or w.getnchannels() != 1:
                raise ValueError("clip %d is not 24 kHz mono" % number)
            self.pcm = w.readframes(w.getnframes())
        self.number = number
        self.lead = first_sound(self.pcm)
        self.end = last_sound(self.pcm) + 1
        # The first 20 ms of sound: enough to tell the clips apart.
        self.key = self.pcm[2 * self.lead:2 * (self.lead + 480)]


def wait_for(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.05)
    sys.exit("play-latency: %s did not come up" % what)


class Bench:
    def __init__(self, run_folder, rounds):
        self.run_folder = os.path.abspath(run_folder)
        self.rounds = rounds
        self.tmp = tempfile.mkdtemp(prefix="play-latency-")
        self.procs = []
        self.results = {}  # scenario -> [(ms or None, note)]

    # -- set-up -------------------------------------------------------------
    def start(self):
        runtime = os.path.join(self.tmp, "runtime")
        os.mkdir(runtime, 0o700)
        socket = os.path.join(runtime, "pulse.sock")
        self.env = dict(os.environ, XDG_RUNTIME_DIR=runtime, PULSE_SERVER="unix:" + socket,
                        HOME=self.tmp, QT_QPA_PLATFORM="xcb")
        self.env.pop("PULSE_SINK", None)
        self.spawn(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                    "--log-target=stderr", "--log-level=error",
                    "-L", "module-null-sink sink_name=bench rate=%d channels=1 format=s16le" % RATE,
                    "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket])
        wait_for(lambda: subprocess.run(["pactl", "info"], env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL).returncode == 0, 20, "the sound server")
        subprocess.run(["pactl", "set-default-sink", "bench"], env=self.env, check=True)
        display = ":%d" % (90 + os.getpid() % 800)
        self.env["DISPLAY"] = display
        self.spawn(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"])
        wait_for(lambda: subprocess.run(["xdpyinfo"], env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL).returncode == 0, 20, "Xvfb")
        self.recorder = Recorder(self.env)
        wait_for(lambda: self.recorder.samples() > RATE // 10, 10, "the recorder")
        self.render_clips()

    def spawn(self, argv, **kw):
        proc = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kw)
        self.procs.append(proc)
        return proc

    def render_clips(self):
        """What the program plays for the first clips, for finding them in
        the recording."""
        self.clips = []
        tool = os.path.join(self.run_folder, "cliptool")
        for n in range(1, 61):
            path = os.path.join(self.tmp, "clip%d.wav" % n)
            if subprocess.run([tool, "render", str(n), path], cwd=self.run_folder, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0:
                self.clips.append(Clip(n, path))

    def start_window(self, settle=1.5):
        folder = os.path.join(self.tmp, "run")
        if os.path.exists(folder):
            shutil.rmtree(folder)
        os.mkdir(folder)
        # The data by link; favourites are written to this copy only.
        for name in os.listdir(self.run_folder):
            if name not in ("favorite.dat", "temp.dat"):
                os.symlink(os.path.join(self.run_folder, name), os.path.join(folder, name))
        self.window_proc = self.spawn([os.path.join(folder, "Lexoria_Japanese")], cwd=folder)
        ids = []

        def found():
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Lexoria_Japanese$"],
                                 env=self.env, capture_output=True, text=True).stdout.split()
            ids[:] = out
            return bool(out)

        wait_for(found, 60, "the window")
        self.window = ids[0]
        time.sleep(settle)  # let start-up settle, as a user would look first

    def stop_window(self):
        self.window_proc.terminate()
        self.window_proc.wait()

    def finish(self):
        if self.recorder.proc.poll() is None:
            self.recorder.stop()
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
        shutil.rmtree(self.tmp, ignore_errors=True)

    # -- actions ------------------------------------------------------------
    def xdo(self, *args):
        subprocess.run(["xdotool"] + list(args), env=self.env, check=True)

    def click(self, x, y):
        """Clicks at window pixels; returns the time just before xdotool
        runs, its process start included (as for paplay)."""
        self.xdo("mousemove", "--window", self.window, str(x), str(y))
        time.sleep(0.05)
        t = time.monotonic()
        self.xdo("click", "1")
        return t

    def click_play(self):
        return self.click(*px(*PLAY))

    def double_click_line(self, row):
        """Two clicks as two xdotool runs, well within the double-click
        time; timed from the second, as the user hears it. Near the line's
        left end: a click on a slot word opens its choices instead."""
        x, y = px(LIST[0] + 2, LIST[1])
        self.xdo("mousemove", "--window", self.window, str(x), str(y + 9 + 18 * row))
        time.sleep(0.05)
        self.xdo("click", "1")
        t = time.monotonic()
        self.xdo("click", "1")
        return t

    def select_row(self, row):
        x, y = px(LIST[0] + 2, LIST[1])
        self.click(x, y + 9 + 18 * row)
        time.sleep(0.3)

    def windows(self):
        """The program's windows on show (the main window, a message box)."""
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Lexoria_Japanese$"],
                              env=self.env, capture_output=True, text=True).stdout.split()

    def sink_state(self):
        out = subprocess.run(["pactl", "list", "sinks", "short"], env=self.env, capture_output=True,
                             text=True).stdout
        for line in out.splitlines():
            fields = line.split("\t")
            if len(fields) >= 5 and fields[1] == "bench":
                return fields[-1].strip()
        return "?"

    # -- measuring ----------------------------------------------------------
    def identify(self, pcm, at):
        for clip in self.clips:
            i = pcm.find(clip.key, 2 * at)
            if i >= 0 and i % 2 == 0 and i // 2 - at < RATE:
                return clip, i // 2
        return None, -1

    def measure(self, t_click, restart_of=None):
        """Latency of the clip that starts after t_click, and whether it
        then plays whole; waits until it has ended."""
        time.sleep(0.6)
        at = self.recorder.sample_at(t_click)
        pcm = self.recorder.pcm(0, self.recorder.samples())
        if restart_of is not None:
            clip = restart_of
            i = pcm.find(clip.key, 2 * at)
            start = i // 2 if i >= 0 and i % 2 == 0 else -1
        else:
            s = first_sound(pcm, 2 * at)
            clip, start = self.identify(pcm, s) if s >= 0 else (None, -1)
            if clip is not None and start != s:
                return None, "sound before the clip", clip
        if clip is None or start < 0:
            return None, "no sound" if restart_of is None and first_sound(pcm, 2 * at) < 0 else "not found", clip
        begin = start - clip.lead  # where the block began
        ms = (begin - at) * 1000.0 / RATE
        # Until the clip has ended on the monitor, and a little more.
        wait_for(lambda: self.recorder.samples() > begin + clip.end + RATE // 5, 30, "the clip's end")
        # From the first sound: a restart may land while the old play's
        # last samples still fill the new one's leading silence.
        pcm = self.recorder.pcm(start, clip.end - clip.lead)
        want = clip.pcm[2 * clip.lead:2 * clip.end]
        note = "whole"
        if pcm != want:
            bad = next((b for b in range(0, len(want) // 2, BLOCK)
                        if pcm[2 * b:2 * (b + BLOCK)] != want[2 * b:2 * (b + BLOCK)]), 0)
            note = "CUT or GAP %d ms into the sound" % (bad * 1000 // RATE)
        return 5 * round(ms / 5), note, clip

    def record(self, scenario, result):
        ms, note, clip = result
        self.results.setdefault(scenario, []).append((ms, note))
        print("  %-28s %6s ms  clip %-4s %s" % (scenario, "-" if ms is None else "%d" % ms,
                                               clip.number if clip else "?", note), flush=True)
        return clip

    def play_round(self, label, rows):
        for row in rows:
            self.select_row(row)
            clip = self.record("new selection" + label, self.measure(self.click_play()))
            if clip is None:
                continue
            # Play again while it plays: the old play stops, the new one
            # starts from the beginning.
            self.click_play()
            time.sleep(0.25)
            self.record("again during a play" + label,
                        self.measure(self.click_play(), restart_of=clip))

    def paplay(self, label):
        clip = self.clips[0]
        path = os.path.join(self.tmp, "clip%d.wav" % clip.number)
        for _ in range(self.rounds):
            t = time.monotonic()
            subprocess.run(["paplay", path], env=self.env)
            self.record("paplay" + label, self.measure(t))

    def idle_after_play(self, startup_clip, latency_ms):
        """From the end of the start-up phrase's speech to the sink no longer
        RUNNING; the speech ends latency + its last sounding sample after the
        click."""
        for _ in range(self.rounds):
            self.start_window()
            wait_for(lambda: self.sink_state() != "RUNNING", 10, "an idle sink")
            t = self.click_play()
            end = t + latency_ms / 1000.0 + startup_clip.end / RATE
            ran, idle = False, None
            while time.monotonic() < end + 10:
                state = self.sink_state()
                if state == "RUNNING":
                    ran = True
                elif ran:
                    idle = time.monotonic()
                    break
                time.sleep(0.02)
            note = state if idle is not None else ("never ran" if not ran else "still RUNNING after 10 s")
            ms = None if idle is None else 10 * round((idle - end) * 100)
            self.results.setdefault("sink idle after the speech", []).append((ms, note))
            print("  %-28s %6s ms  %s" % ("sink idle after the speech", "-" if ms is None else "%d" % ms, note),
                  flush=True)
            self.stop_window()

    def stopped_server(self):
        """The server stopped for 5 s from just before the window starts;
        first a start with the server answering, for comparison."""
        t0 = time.monotonic()
        self.start_window(settle=0)
        normal = time.monotonic() - t0
        self.stop_window()
        server = self.procs[0]
        server.send_signal(signal.SIGSTOP)
        t0 = time.monotonic()
        try:
            self.start_window(settle=0)
            shown = time.monotonic() - t0
            t = self.click_play()
            boxed = None
            while time.monotonic() < t + 4:
                if len(self.windows()) > 1:
                    boxed = time.monotonic() - t
                    break
                time.sleep(0.02)
        finally:
            time.sleep(max(0.0, t0 + 5 - time.monotonic()))
            server.send_signal(signal.SIGCONT)
        print("  server answering: window up %d ms after start" % (normal * 1000))
        print("  server stopped 5 s: window up %d ms after start; Play then: %s" % (
            shown * 1000, "a message %d ms after the click" % (boxed * 1000) if boxed is not None else "no message"),
            flush=True)
        # The box away (it has the focus), the next Play sounds.
        if boxed is not None:
            self.xdo("key", "Return")
        time.sleep(1.0)
        self.recorder = Recorder(self.env)
        wait_for(lambda: self.recorder.samples() > RATE // 10, 10, "the recorder")
        self.record("Play after the server continued", self.measure(self.click_play()))
        self.stop_window()
        self.recorder.stop()

    def run(self, stopped_only=False):
        self.start()
        if stopped_only:
            self.recorder.stop()
            self.stopped_server()
            self.report()
            return
        print("click to the clip's first sample, 5 ms blocks")
        for label, busy in (("", False), (", cores busy", True)):
            loops = []
            if busy:
                loops = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(os.cpu_count())]
            try:
                for _ in range(self.rounds):
                    self.start_window()
                    startup = self.record("start-up phrase" + label, self.measure(self.click_play()))
                    if startup is not None:
                        self.startup_clip = startup
                    self.record("double click on the line" + label, self.measure(self.double_click_line(0)))
                    self.play_round(label, [3, 1, 5])
                    self.stop_window()
                self.paplay(label)
            finally:
                for loop in loops:
                    loop.kill()
                    loop.wait()
        self.recorder.stop()
        times = [ms for ms, _ in self.results.get("start-up phrase", []) if ms is not None]
        if times and getattr(self, "startup_clip", None) is not None:
            print("sink state after a play, recorder stopped")
            self.idle_after_play(self.startup_clip, statistics.median(times))
        self.stopped_server()
        self.report()

    def report(self):
        print("\nscenario                          plays  median  worst  missing  cut/gapped")
        for scenario, rows in self.results.items():
            times = [ms for ms, _ in rows if ms is not None]
            missing = sum(1 for ms, _ in rows if ms is None)
            broken = sum(1 for ms, note in rows if ms is not None and note not in ("whole", "IDLE", "SUSPENDED"))
            print("%-33s %5d  %6s  %5s  %7d  %10d" % (
                scenario, len(rows), "%.0f" % statistics.median(times) if times else "-",
                "%d" % max(times) if times else "-", missing, broken))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("run_folder", nargs="?", default="build/run")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--stopped-server-only", action="store_true",
                        help="only the start with a stopped server (and one with it answering)")
    args = parser.parse_args()
    for tool in ("pulseaudio", "pactl", "parec", "paplay", "Xvfb", "xdpyinfo", "xdotool"):
        if shutil.which(tool) is None:
            sys.exit("play-latency: %s is not installed (scripts/setup installs it)" % tool)
    bench = Bench(args.run_folder, args.rounds)
    try:
        bench.run(args.stopped_server_only)
    finally:
        bench.finish()


if __name__ == "__main__":
    main()
