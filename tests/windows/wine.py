"""Wine for the tests: one prefix made once, and no wait on Wine without a limit.

The first start of Wine in a new prefix builds the prefix (wineboot) and would
offer to install Mono and Gecko in a window, which nobody answers where there
is no display; the tests need neither. The prefix's windows are drawn by
Wine's null display driver: the window's tests make real windows and send
them messages, with no display behind them. Every Wine program run here ends within
its limit or the test fails saying which one did not.

As a program:
  wine.py prepare WINE PREFIX   makes the prefix unless it is ready
  wine.py stop WINE PREFIX      ends the prefix's wineserver and all it runs
"""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

BOOT_SECONDS = 300
# What the ready mark of a whole prefix says; a prefix marked otherwise was
# made by an earlier version of this script and is made again.
READY_MARK = "booted, null display driver\n"
STOP_SECONDS = 60
# No Mono or Gecko; and no menu entries on the host for the shortcuts that
# programs make inside the prefix.
DLL_OVERRIDES = "mscoree,mshtml=;winemenubuilder.exe=d"


def environment(wine, prefix):
    """The environment of every Wine program the tests start. WINESERVER is
    Wine's own variable: the server it starts, and the one stopped here."""
    env = dict(os.environ, WINEPREFIX=str(prefix), WINESERVER=wineserver(wine),
               WINEDEBUG="-all", WINEDLLOVERRIDES=DLL_OVERRIDES)
    env.pop("DISPLAY", None)  # nothing is shown: no window can wait for an answer
    env.pop("WAYLAND_DISPLAY", None)
    return env


def wineserver(wine):
    """The wineserver beside the Wine loader (Debian keeps both in /usr/lib/wine)."""
    return str(pathlib.Path(wine).with_name("wineserver"))


def run(command, env, seconds):
    """Runs a command to its end within `seconds` and gives its status and
    output; exits with the reason when it does not end in time. The output goes
    through files, not pipes: programs that Wine starts in the background
    inherit them and would hold a pipe open after the command has ended."""
    command = [str(part) for part in command]
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        try:
            status = subprocess.run(command, env=env, timeout=seconds, stdin=subprocess.DEVNULL,
                                    stdout=out, stderr=err).returncode
        except subprocess.TimeoutExpired:
            if "WINESERVER" in env:
                subprocess.run([env["WINESERVER"], "-k"], env=env, timeout=STOP_SECONDS)
            sys.exit(f"{command} did not end within {seconds} s")
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(command, status, out.read(), err.read())


def prepare(wine, prefix):
    """Makes `prefix` unless an earlier run made it whole."""
    prefix = pathlib.Path(prefix)
    ready = prefix / "kvadrel-ready"
    if ready.exists() and ready.read_text() == READY_MARK:
        return
    shutil.rmtree(prefix, ignore_errors=True)  # a prefix left half made
    prefix.parent.mkdir(parents=True, exist_ok=True)
    env = environment(wine, prefix)
    boot = run([wine, "wineboot", "--init"], env, BOOT_SECONDS)
    if boot.returncode != 0:
        sys.exit(f"wineboot --init ended with {boot.returncode}:\n"
                 f"{boot.stderr.decode(errors='replace')}")
    driver = run([wine, "reg", "add", r"HKCU\Software\Wine\Drivers", "/v", "Graphics", "/d",
                  "null", "/f"], env, BOOT_SECONDS)
    if driver.returncode != 0:
        sys.exit(f"cannot choose the null display driver:\n"
                 f"{driver.stderr.decode(errors='replace')}")
    # The boot goes on in the background until the server ends.
    run([wineserver(wine), "-w"], env, BOOT_SECONDS)
    ready.write_text(READY_MARK)


def stop(wine, prefix):
    env = environment(wine, prefix)
    run([wineserver(wine), "-k"], env, STOP_SECONDS)
    run([wineserver(wine), "-w"], env, STOP_SECONDS)


if __name__ == "__main__":
    action, wine_program, wine_prefix = sys.argv[1:4]
    {"prepare": prepare, "stop": stop}[action](wine_program, wine_prefix)
