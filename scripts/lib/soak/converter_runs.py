"""kvadrel-batch run again and again while the writers work, then until
nothing is left to convert. A run is one pass (--once) or the converter that
counts down between passes; it ends by itself, by SIGTERM (its stop, after
which it is started again) or by SIGKILL at a random moment."""
import glob
import os
import signal
import subprocess
import time

# What a run may say of a file that a writer raced: the converter saw it and
# kept the source for a later pass. A file a writer opens while it is
# converted is let go of quietly, as a busy one: nothing is said of it.
RACE_REASONS = ("the source changed while it was converted; it stays and is converted again",)
# Far more than any run needs, even on a slow machine: beyond it, it hangs.
RUN_BOUND_SECONDS = 600
DRAIN_PASSES = 5
REFUSED = 3  # the status of a run refused because another copy runs
# How long the drain waits for another copy to end, when the lock is shared.
REFUSAL_BOUND_SECONDS = 600


def _lines(path, cut):
    """The lines of a log; the last one left out when it is unfinished and
    the run was cut short."""
    with open(path, "rb") as log:
        text = log.read().decode("utf-8", "replace")
    lines = text.split("\n")
    last = lines.pop()
    if last and not cut:
        lines.append(last)
    return lines


class ConverterRuns:
    def __init__(self, batch, ini, logs, rng, shared_lock):
        self.batch = batch
        self.ini = ini
        self.logs = logs
        self.rng = rng
        # The single-instance lock is the machine's: another converter may
        # refuse our runs, which then do nothing.
        self.shared_lock = shared_lock
        self.runs = 0
        self.stopped = 0  # by SIGTERM
        self.killed = 0   # by SIGKILL
        self.refused = 0
        self.tables_written = 0
        self.race_lines = 0
        self.problems = []
        os.makedirs(logs, exist_ok=True)

    def _start(self, once):
        self.runs += 1
        log = os.path.join(self.logs, f"run-{self.runs:04d}")
        arguments = [self.batch, "--quiet", "--ini", self.ini] + (["--once"] if once else [])
        with open(log + ".out", "wb") as out, open(log + ".err", "wb") as err:
            process = subprocess.Popen(arguments, stdin=subprocess.DEVNULL, stdout=out,
                                       stderr=err)
        return process, log

    def _signal(self, process, number):
        """Sends a signal to a run still going; false when it had ended."""
        process.send_signal(number)  # sends nothing to a run that has ended
        if process.returncode is not None:
            return False
        if number == signal.SIGKILL:
            self.killed += 1
        else:
            self.stopped += 1
        return True

    def _end(self, process, log, sent, once, racing=True):
        """Waits for a run and judges how it ended and what it said; false
        when it was refused because another copy runs."""
        try:
            status = process.wait(RUN_BOUND_SECONDS)
        except subprocess.TimeoutExpired:
            self.problems.append(f"{os.path.basename(log)}: still running after "
                                 f"{RUN_BOUND_SECONDS} s; killed")
            process.kill()
            status = process.wait()
        if status == REFUSED and self.shared_lock:
            self.refused += 1
            return False
        cut = status == -signal.SIGKILL
        converted = [line for line in _lines(log + ".out", cut) if " -> " in line]
        self.tables_written += len(converted)
        said = _lines(log + ".err", cut)
        races = [line for line in said if racing and any(r in line for r in RACE_REASONS)]
        self.race_lines += len(races)
        unexpected = [line for line in said if line not in races]
        # SIGTERM before the converter catches it ends it at once, before it
        # has touched any file.
        ended_by_signal = sent is not None and status == -sent
        ended_well = status == 0 or (status == 1 and races) or ended_by_signal
        if not once and sent is None:
            ended_well = False  # the converter that counts down ends only when stopped
        if not ended_well or unexpected:
            how = f"signal {-status}" if status < 0 else f"status {status}"
            mode = "--once" if once else "counting down"
            self.problems.append(f"{os.path.basename(log)} ({mode}, sent "
                                 f"{sent.name if sent else 'nothing'}) ended with {how}"
                                 + "".join(f"\n    {line}" for line in unexpected))
        return True

    def run_while(self, stop):
        """Runs the converter until `stop` is set, ending it at random moments."""
        while not stop.is_set():
            once = self.rng.random() < 0.75
            process, log = self._start(once)
            sent = None
            if once:
                if self.rng.random() < 0.4:
                    try:
                        process.wait(self.rng.uniform(0, 2))
                    except subprocess.TimeoutExpired:
                        sent = signal.SIGKILL if self._signal(process, signal.SIGKILL) else None
            else:
                stop.wait(self.rng.uniform(0.2, 3))
                chosen = signal.SIGKILL if self.rng.random() < 0.4 else signal.SIGTERM
                sent = chosen if self._signal(process, chosen) else None
            self._end(process, log, sent, once)
            stop.wait(self.rng.uniform(0, 0.3))

    def drain(self, sources_left):
        """One pass at a time, with no writer left, until no source is left;
        each pass must convert without a word on its standard error."""
        passes = 0
        refused_until = time.monotonic() + REFUSAL_BOUND_SECONDS
        while passes < DRAIN_PASSES and sources_left():
            process, log = self._start(True)
            if self._end(process, log, None, True, racing=False):
                passes += 1
            elif time.monotonic() > refused_until:
                self.problems.append(f"another converter kept the lock for "
                                     f"{REFUSAL_BOUND_SECONDS} s")
                return
            else:
                time.sleep(1)
        if sources_left():
            self.problems.append(f"sources left after {DRAIN_PASSES} passes with no writer")

    def history(self, name):
        """What the runs said about a name, for a mismatch's report."""
        said = []
        for log in sorted(glob.glob(os.path.join(self.logs, "run-*"))):
            with open(log, "rb") as lines:
                said += [f"{os.path.basename(log)}: {line}" for line in
                         lines.read().decode("utf-8", "replace").splitlines() if name in line]
        return said
