"""The writers of the soak, each a thread delivering files in its own way.
A writer counts a version as delivered only once its file is closed (or
renamed into place), and finishes the version it is writing when told to
stop."""
import itertools
import os
import time

from update_file import block, records

CREATE = os.O_WRONLY | os.O_CREAT | os.O_EXCL


def _write_all(fd, data):
    view = memoryview(data)
    while view:
        view = view[os.write(fd, view):]


def _linked(fd):
    return os.fstat(fd).st_nlink > 0


def _open(path, flags, ledger):
    """Opens a file by its name as a sender does. None when the name is gone,
    or when the open, waiting for the converter to let go of the file, ended
    on the file the converter deleted meanwhile (no one can stop that)."""
    start = time.monotonic()
    try:
        fd = os.open(path, flags, 0o666)
    except FileNotFoundError:
        if flags & os.O_CREAT:
            raise  # no folder: the soak's own fault, not a name taken
        ledger.opened(time.monotonic() - start, False)
        return None
    deleted = not _linked(fd)
    ledger.opened(time.monotonic() - start, deleted)
    if deleted:
        os.close(fd)
        return None
    return fd


def _close(fd, path, ledger):
    """Closes a file the writer held open; false, and a fault, when it was
    deleted while it was held (the converter must never take a file that
    another program has open)."""
    linked = _linked(fd)
    os.close(fd)
    if not linked:
        ledger.fault(f"{path}: deleted while a writer held it open")
    return linked


def _write_new(path, data, ledger):
    fd = os.open(path, CREATE, 0o666)
    _write_all(fd, data)
    return _close(fd, path, ledger)


def renamed_into_place(place, stage, ledger, stop, rng):
    """(1) Written in another folder of the same file system and renamed into
    place, each under a name of its own."""
    for number in itertools.count(1):
        name = f"перенос {number:04d}{place.extension}"
        content = records(name, 1, rng.randint(0, 300))
        staged = os.path.join(stage, os.path.basename(place.source) + "-" + name)
        with open(staged, "wb") as out:
            out.write(block(content, rng))
        os.rename(staged, os.path.join(place.source, name))
        ledger.replaced(place, name, "renamed", content)
        if stop.wait(rng.uniform(0.02, 0.4)):
            return


def written_slowly(place, ledger, stop, rng, names=3):
    """(2) Written in place, slowly, while held open: every version rewrites
    the file from its start, over the version before if it is still there
    (often just as the converter takes it)."""
    versions = {}
    while True:
        name = f"медленно-{rng.randint(1, names)}{place.extension}"
        path = os.path.join(place.source, name)
        versions[name] = versions.get(name, 0) + 1
        content = records(name, versions[name], rng.randint(200, 20000))
        data = block(content, rng)
        fd = None
        while fd is None:
            fd = _open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, ledger)
        pieces = 8
        step = -(-len(data) // pieces)
        for start in range(0, len(data), step):
            _write_all(fd, data[start:start + step])
            time.sleep(rng.uniform(0.02, 0.25))
        if _close(fd, path, ledger):
            ledger.replaced(place, name, "slow", content)
        if stop.wait(rng.uniform(0, 0.5)):
            return


def _append(path, data, ledger):
    """Appends to the file under the name, or starts a new file when the
    converter took the old one. Returns (new file, still linked at close)."""
    while True:
        fd = _open(path, os.O_WRONLY | os.O_APPEND, ledger)
        created = fd is None
        if created:
            try:
                fd = os.open(path, CREATE, 0o666)
            except FileExistsError:
                continue  # the converter put the old file back meanwhile
        _write_all(fd, data)
        return created, _close(fd, path, ledger)


def appended_after_closing(place, ledger, stop, rng, appends=6):
    """(3) Appended to after it was closed, a whole group of records at a
    time; a group appended after the converter took the file starts a new
    file under the same name, whose table replaces the older one."""
    for number in itertools.count(1):
        name = f"дописка-{number:03d}{place.extension}"
        path = os.path.join(place.source, name)
        for version in range(1, appends + 1):
            content = records(name, version, rng.randint(500, 20000))
            created, linked = _append(path, block(content, rng), ledger)
            if linked:
                if created:
                    ledger.replaced(place, name, "appended", content)
                else:
                    ledger.appended(place, name, "appended", content)
            if stop.wait(rng.uniform(0, 0.5)):
                return


def replaced_by_rename(place, ledger, stop, rng, names=4):
    """(4) Replaced by a newer version, written under a hidden name beside
    it and renamed over the same name."""
    versions = {}
    for number in itertools.cycle(range(1, names + 1)):
        name = f"замена-{number}{place.extension}"
        versions[name] = versions.get(name, 0) + 1
        content = records(name, versions[name], rng.randint(0, 3000))
        hidden = os.path.join(place.source, "." + name + ".new")
        with open(hidden, "wb") as out:
            out.write(block(content, rng))
        os.replace(hidden, os.path.join(place.source, name))
        ledger.replaced(place, name, "replaced", content)
        if stop.wait(rng.uniform(0.05, 0.8)):
            return


def bursts(place, ledger, stop, rng):
    """(5) Bursts of hundreds of tiny files, each written in place at once;
    some hold no record of ours at all."""
    numbers = itertools.count(1)
    while not stop.wait(rng.uniform(2, 8)):
        for _ in range(rng.randint(200, 400)):
            name = f"пачка-{next(numbers):05d}{place.extension}"
            content = records(name, 1, rng.choice([0, 1, 1, 2, 3]))
            if _write_new(os.path.join(place.source, name), block(content, rng), ledger):
                ledger.replaced(place, name, "burst", content)
