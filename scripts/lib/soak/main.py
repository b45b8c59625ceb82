#!/usr/bin/python3
"""The soak of racing deliveries: writers of five kinds deliver update files
while kvadrel-batch converts them and is stopped, started again and killed at
random moments; then the writers finish, the converter runs alone until no
source is left, and every delivered name's table is held against the name's
last version. Prints each mismatch and one summary line; exits with 1 on any
mismatch.

  main.py --batch KVADREL_BATCH --work EMPTY_FOLDER --seconds N [--seed N] [--shared-lock]
"""
import argparse
import os
import random
import sys
import threading
import time

import end_state
import update_types
import writers
from converter_runs import ConverterRuns
from ledger import Ledger

# The converter's last lines about a name, shown with the first mismatches.
HISTORY_LINES = 12
HISTORIES = 10


def _guarded(what, body, problems):
    """Runs a thread's body; its failure is a mismatch, not a silent end."""
    def run():
        try:
            body()
        except Exception as error:  # the soak cannot vouch for anything after it
            problems.append(f"{what} failed: {error!r}")
    return threading.Thread(target=run, name=what)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--batch", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--seconds", type=float, required=True)
    parser.add_argument("--seed", type=int, default=random.randrange(1 << 31))
    parser.add_argument("--shared-lock", action="store_true",
                        help="the converter's lock is the machine's: other copies may refuse runs")
    args = parser.parse_args()

    work = args.work
    received, mixed = places = update_types.places(work)
    os.environ["XDG_CONFIG_HOME"] = os.path.join(work, "config")
    os.environ["XDG_STATE_HOME"] = os.path.join(work, "state")  # the journal stays here
    update_types.write_store(os.environ["XDG_CONFIG_HOME"], places)
    ini = os.path.join(work, "kvadrel.INI")
    open(ini, "w").close()  # no code values
    stage = os.path.join(work, "stage")
    os.makedirs(stage)

    ledger = Ledger()
    stop = threading.Event()
    converter = ConverterRuns(args.batch, ini, os.path.join(work, "logs"),
                              random.Random(args.seed), args.shared_lock)
    kinds = [
        ("renamed into place", lambda rng: writers.renamed_into_place(received, stage, ledger,
                                                                      stop, rng)),
        ("renamed into place beside the tables",
         lambda rng: writers.renamed_into_place(mixed, stage, ledger, stop, rng)),
        ("written slowly in place", lambda rng: writers.written_slowly(received, ledger, stop,
                                                                       rng)),
        ("appended after closing", lambda rng: writers.appended_after_closing(received, ledger,
                                                                              stop, rng)),
        ("replaced by rename", lambda rng: writers.replaced_by_rename(mixed, ledger, stop, rng)),
        ("bursts of tiny files", lambda rng: writers.bursts(received, ledger, stop, rng)),
    ]
    problems = []
    threads = [_guarded(f"the writer '{what}'",
                        lambda body=body, i=i: body(random.Random(args.seed + i + 1)), problems)
               for i, (what, body) in enumerate(kinds)]
    threads.append(_guarded("the converter's runs", lambda: converter.run_while(stop), problems))
    for thread in threads:
        thread.start()
    try:
        time.sleep(args.seconds)
    finally:
        stop.set()
        for thread in threads:
            thread.join()

    converter.drain(lambda: end_state.convertible_left(places))
    mismatches, checked = end_state.check(ledger, places, stage)
    mismatches += [(None, problem) for problem in problems]
    mismatches += [(None, f"converter: {problem}") for problem in converter.problems]
    for number, (name, text) in enumerate(mismatches):
        print(text)
        if name and number < HISTORIES:
            for line in converter.history(name)[-HISTORY_LINES:]:
                print("    " + line)
    deliveries = ledger.deliveries.values()
    print(f"soak {args.seconds:g} s (seed {args.seed}): {len(deliveries)} deliveries, "
          f"{sum(d.versions for d in deliveries)} versions, {checked} records checked; "
          f"converter runs {converter.runs} ({converter.stopped} stopped by SIGTERM, "
          f"{converter.killed} killed by SIGKILL"
          + (f", {converter.refused} refused by another copy" if converter.refused else "")
          + f"), {converter.tables_written} tables written, "
          f"{converter.race_lines} sources kept as a writer raced them; longest open by a writer "
          f"{ledger.longest_open_wait:.1f} s, {ledger.opens_of_deleted} opens ended on a deleted "
          f"file; {len(mismatches)} mismatches")
    return 1 if mismatches else 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:  # the writers have finished their versions by now
        sys.exit(130)
