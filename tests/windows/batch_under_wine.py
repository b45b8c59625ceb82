#!/usr/bin/env python3
"""kvadrel-batch.exe under Wine against kvadrel-batch of Linux.

The same numbered-code and Moscow-region files and the same configuration go
to both programs: on Windows the configuration is imported into the registry
with regedit from a .reg file in the registry editor's own export format
(UTF-16 with a byte-order mark), on Linux it is the store file. The tables of
both must be the same bytes, the header's date aside, and every source must
be gone. A second kvadrel-batch.exe started while one runs must be refused
through the named mutex.

Usage: batch_under_wine.py WINE WINE_PREFIX WINDOWS_APP_DIR LINUX_BATCH SOURCE_DIR
(the prefix made by wine.py prepare).
"""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

import wine as wine_runs

RECORDS = 300
REFUSED = 3  # the exit status of a second copy
RUN_SECONDS = 300  # for any one program: a conversion of RECORDS records takes seconds


def windows_path(path):
    """The path as Wine's drive Z: shows the Linux file system."""
    return "Z:" + str(path).replace("/", "\\")


def reg_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def configuration(types, folder_of):
    """The text of a .reg file with the given update types; folder_of(path)
    writes a folder path as the system wants it, with its closing separator."""
    lines = ["Windows Registry Editor Version 5.00", "",
             "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type]", '"AutoRun"=dword:00000000', ""]
    for name, codec, ident, source, target, fields in types:
        key = "HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\" + name
        lines += [f"[{key}]", f'"Codec"=dword:{codec:08x}', f'"Ident"={reg_string(ident)}',
                  f'"From"={reg_string(folder_of(source))}', f'"To"={reg_string(folder_of(target))}',
                  '"Mask"="*.txt"', '"SpecProd"=dword:00000000', ""]
        for number, (field, width, code) in enumerate(fields, start=100):
            lines += [f"[{key}\\{number}]", f'"Name"={reg_string(field)}',
                      f'"Size"=dword:{width:08x}', f'"Code"=dword:{code:08x}',
                      f'"ACode"=dword:{code:08x}', ""]
    return "\r\n".join(lines) + "\r\n"


def run(command, env=None):
    result = wine_runs.run(command, env if env is not None else dict(os.environ), RUN_SECONDS)
    if result.returncode != 0:
        sys.exit(f"{command} ended with {result.returncode}:\n"
                 f"{result.stdout.decode(errors='replace')}{result.stderr.decode(errors='replace')}")
    return result


def without_date(table):
    data = table.read_bytes()
    return data[:1] + data[4:]


def main():
    wine, prefix, windows_app, linux_batch, source_dir = sys.argv[1:6]
    windows_app = pathlib.Path(windows_app)
    bench = pathlib.Path(source_dir) / "bench"
    work = pathlib.Path(tempfile.mkdtemp(prefix="kvadrel-wine-"))
    env = wine_runs.environment(wine, prefix)
    # What an earlier run imported goes first: the configuration is this one alone.
    wine_runs.run([wine, "reg", "delete", "HKEY_CURRENT_USER\\Vestrakon", "/f"], env,
                  RUN_SECONDS)

    coded, moscow = work / "coded.txt", work / "moscow.txt"
    run([sys.executable, bench / "make_coded_file.py", coded, work / "rows.csv",
         "--records", str(RECORDS)])
    run([sys.executable, bench / "make_moscow_file.py", moscow, "--records", str(RECORDS)])
    columns = run([sys.executable, bench / "make_moscow_file.py", "--columns"]).stdout.split()
    coded_fields = [(f"F{i:02d}", 20, i) for i in range(1, 13)]
    moscow_fields = [(f"F{i:02d}", int(column.split(b":")[1]), int(column.split(b":")[0]))
                     for i, column in enumerate(columns, start=1)]
    ini = work / "kvadrel.INI"
    ini.write_bytes(b"")

    tables = {}
    for system in ("linux", "windows"):
        root = work / system
        types = [("Коды", 0, "АМТ", root / "in-coded", root / "out-coded", coded_fields),
                 ("Москва", 1, "R_AMT", root / "in-moscow", root / "out-moscow", moscow_fields)]
        for _, _, _, source, target, _ in types:
            source.mkdir(parents=True)
            target.mkdir()
        (root / "in-coded" / "coded.txt").write_bytes(coded.read_bytes())
        (root / "in-moscow" / "moscow.txt").write_bytes(moscow.read_bytes())
        if system == "linux":
            store = root / "config" / "kvadrel" / "registry.reg"
            store.parent.mkdir(parents=True)
            store.write_text(configuration(types, lambda p: f"{p}/"), encoding="utf-8")
            run([linux_batch, "--once", "--quiet", "--ini", ini],
                env=dict(os.environ, XDG_CONFIG_HOME=str(root / "config"),
                         XDG_STATE_HOME=str(root / "state")))
        else:
            export = root / "configuration.reg"
            export.write_bytes(b"\xff\xfe" + configuration(
                types, lambda p: windows_path(p) + "\\").encode("utf-16-le"))
            run([wine, "regedit", "/S", windows_path(export)], env=env)
            run([wine, windows_app / "kvadrel-batch.exe", "--once", "--quiet", "--ini",
                 windows_path(ini)], env=env)
        for folder in ("in-coded", "in-moscow"):
            left = list((root / folder).iterdir())
            if left:
                sys.exit(f"{system}: sources left in {folder}: {left}")
        tables[system] = {name: root / f"out-{kind}" / f"{kind}.dbf"
                          for name, kind in (("numbered-code", "coded"), ("Moscow-region", "moscow"))}

    for name, table in tables["linux"].items():
        windows_table = tables["windows"][name]
        if not table.exists() or not windows_table.exists():
            sys.exit(f"{name}: a table is missing: {table} {windows_table}")
        if without_date(table) != without_date(windows_table):
            sys.exit(f"{name}: the tables differ: {table} {windows_table}")
        print(f"{name}: {table.stat().st_size} bytes, the same on both systems")

    # A second copy while one runs: refused through the mutex "kvadrel".
    def start_first():
        return subprocess.Popen([wine, windows_app / "kvadrel-batch.exe", "--quiet", "--ini",
                                 windows_path(ini)], env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    first = start_first()
    try:
        deadline = time.monotonic() + 120
        while True:
            second = wine_runs.run([wine, windows_app / "kvadrel-batch.exe", "--once", "--ini",
                                    windows_path(ini)], env, RUN_SECONDS)
            print("second copy:", second.returncode, flush=True)
            if second.returncode == REFUSED:
                print("a second copy is refused:", second.stderr.decode("cp866").strip())
                break
            if first.poll() == REFUSED:
                # The "second" copy took the mutex before the first could: the
                # first was the one refused; it runs again.
                first = start_first()
            elif first.poll() is not None:
                sys.exit(f"the first copy ended by itself with {first.poll()}")
            if time.monotonic() > deadline:
                sys.exit(f"the second copy was never refused (last status {second.returncode})")
            time.sleep(0.5)
    finally:
        first.kill()  # the system frees the mutex however its holder ends
        first.wait(timeout=30)
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
