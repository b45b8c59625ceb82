#!/usr/bin/env python3
"""The Windows installer and zip under Wine, in a fresh prefix of their own.

The installer, run silently with /S, must put the zip's files and an
uninstaller into Program Files\\kvadrel, enter the program in the system's list
of programs, and the installed kvadrel-batch.exe must run. While a kvadrel
program runs, the installer must refuse and change nothing. A second
installation must keep an operator's edited kvadrel.INI; the uninstaller must
then remove everything else and leave that file and the configuration in
HKEY_CURRENT_USER\\Vestrakon\\Delta. An unedited installation is removed
whole.

Usage: installer_under_wine.py WINE INSTALLER ZIP VERSION WORK_DIR
"""
import pathlib
import shutil
import subprocess
import sys
import time
import zipfile

import wine as wine_runs

RUN_SECONDS = 300  # for any one program; an installation takes seconds
REFUSED = 2  # the installer's status while a kvadrel program runs
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\kvadrel"
CONFIGURATION_KEY = "HKCU\\Vestrakon\\Delta\\Type"
OPERATOR_CODES = b"[CodeValue]\r\nKodObj=1001;1002\r\nTipZnak=7\r\n"


class Prefix:
    """A Wine prefix made for this test alone."""

    def __init__(self, wine, path):
        self.wine, self.path = wine, path
        shutil.rmtree(path, ignore_errors=True)
        wine_runs.prepare(wine, path)
        self.env = wine_runs.environment(wine, path)
        self.folder = path / "drive_c" / "Program Files" / "kvadrel"
        self.shortcut = (path / "drive_c" / "ProgramData" / "Microsoft" / "Windows" /
                         "Start Menu" / "Programs" / "kvadrel.lnk")

    def run(self, *command):
        return wine_runs.run([self.wine, *command], self.env, RUN_SECONDS)

    def succeeds(self, *command):
        result = self.run(*command)
        if result.returncode != 0:
            sys.exit(f"{command} ended with {result.returncode}:\n"
                     f"{result.stdout.decode(errors='replace')}"
                     f"{result.stderr.decode(errors='replace')}")
        return result

    def uninstall(self):
        """Runs the uninstaller and waits for the copy of itself that it hands
        its work to, as every uninstaller of this kind does, to end too."""
        self.succeeds(self.folder / "Uninstall.exe", "/S")
        wine_runs.run([wine_runs.wineserver(self.wine), "-w"], self.env, RUN_SECONDS)

    def has_key(self, key, *value):
        return self.run("reg", "query", key, *value).returncode == 0

    def installed(self):
        return sorted(p.name for p in self.folder.iterdir()) if self.folder.exists() else []


def check(condition, what):
    if not condition:
        sys.exit("failed: " + what)
    print("ok:", what, flush=True)


def zip_files(zip_path):
    """The zip's files by name, all in one folder named as the package."""
    with zipfile.ZipFile(zip_path) as archive:
        names = [name for name in archive.namelist() if not name.endswith("/")]
        folders = {pathlib.PurePosixPath(name).parent for name in names}
        check(folders == {pathlib.PurePosixPath(zip_path.stem)},
              f"the zip holds one folder {zip_path.stem}: {sorted(map(str, folders))}")
        return {pathlib.PurePosixPath(name).name: archive.read(name) for name in names}


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def refused_while_running(prefix, installer):
    """The installer, started while the installed kvadrel-batch.exe runs."""
    batch = prefix.folder / "kvadrel-batch.exe"
    ini = prefix.folder / "kvadrel.INI"
    running = subprocess.Popen([prefix.wine, batch, "--quiet", "--ini", windows_path(ini)],
                               env=prefix.env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 120
        # Running once a second copy is refused (status 3) through the mutex.
        while wine_runs.run([prefix.wine, batch, "--once", "--ini", windows_path(ini)],
                            prefix.env, RUN_SECONDS).returncode != 3:
            if running.poll() is not None or time.monotonic() > deadline:
                sys.exit(f"kvadrel-batch.exe never ran (status {running.poll()})")
            time.sleep(0.5)
        before = {name: (prefix.folder / name).read_bytes() for name in prefix.installed()}
        status = wine_runs.run([prefix.wine, installer, "/S"], prefix.env,
                               RUN_SECONDS).returncode
        check(status == REFUSED, f"the installer refuses while a program runs ({status})")
        after = {name: (prefix.folder / name).read_bytes() for name in prefix.installed()}
        check(before == after, "and changes no installed file")
    finally:
        running.kill()  # the system frees the mutex however its holder ends
        running.wait(timeout=30)


def main():
    wine, installer, zip_path, version, work = sys.argv[1:6]
    installer, zip_path = pathlib.Path(installer), pathlib.Path(zip_path)
    shipped = zip_files(zip_path)
    prefix = Prefix(wine, pathlib.Path(work) / "prefix")

    prefix.succeeds(installer, "/S")
    check(prefix.installed() == sorted([*shipped, "Uninstall.exe"]),
          f"installed: {prefix.installed()}")
    check(all((prefix.folder / name).read_bytes() == data for name, data in shipped.items()),
          "the installed files are the zip's")
    reported = prefix.succeeds(prefix.folder / "kvadrel-batch.exe", "--version").stdout
    check(reported.strip() == f"kvadrel-batch {version}".encode(),
          f"the installed kvadrel-batch.exe runs: --version gives {reported!r}")
    entry = prefix.succeeds("reg", "query", UNINSTALL_KEY, "/v", "UninstallString").stdout
    check(b"Uninstall.exe" in entry, "the list of programs has kvadrel with its uninstaller")
    check(prefix.shortcut.exists() == ("kvadrel.exe" in shipped),
          "a Start-menu shortcut exactly when the window is shipped")

    # Uninstalled untouched: nothing is left.
    prefix.uninstall()
    check(not prefix.folder.exists(), "an unedited installation is removed whole")
    check(not prefix.has_key(UNINSTALL_KEY), "and its entry in the list of programs")

    # An operator's codes and configuration, then an upgrade over them.
    prefix.succeeds(installer, "/S")
    refused_while_running(prefix, installer)
    ini = prefix.folder / "kvadrel.INI"
    ini.write_bytes(OPERATOR_CODES)
    (prefix.folder / "kvadrel-dump.exe").write_bytes(b"an older program")
    prefix.succeeds("reg", "add", CONFIGURATION_KEY, "/v", "AutoRun", "/t", "REG_DWORD",
                    "/d", "1", "/f")
    prefix.succeeds(installer, "/S")
    check(ini.read_bytes() == OPERATOR_CODES, "a second installation keeps the edited kvadrel.INI")
    check((prefix.folder / "kvadrel-dump.exe").read_bytes() == shipped["kvadrel-dump.exe"],
          "and replaces the programs")

    prefix.uninstall()
    check(prefix.installed() == ["kvadrel.INI"], f"the uninstaller leaves {prefix.installed()}")
    check(ini.read_bytes() == OPERATOR_CODES, "the edited kvadrel.INI stays as it was")
    check(not prefix.shortcut.exists(), "no Start-menu shortcut is left")
    check(not prefix.has_key(UNINSTALL_KEY), "the list of programs no longer has kvadrel")
    check(prefix.has_key(CONFIGURATION_KEY, "/v", "AutoRun"), "the configuration stays in the registry")

    wine_runs.stop(wine, prefix.path)
    shutil.rmtree(prefix.path)


if __name__ == "__main__":
    main()
