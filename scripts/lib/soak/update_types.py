"""The update types of the soak and their folders: one type delivers into a
folder of its own and writes its tables into another, the other writes its
tables beside its sources (so the converter must pass over its own tables)."""
import os
import subprocess
from dataclasses import dataclass

GROUP = "АМТ"

# name, width, code, alternate code
FIELDS = [("ИМЯ", 24, 1, 1), ("ВЕРСИЯ", 6, 2, 2), ("НОМЕР", 6, 3, 3), ("ТЕКСТ", 32, 4, 5)]

STORE_HELPER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "store.sh")


@dataclass(frozen=True)
class Place:
    """Where one update type takes its files from and puts its tables."""
    type_name: str
    source: str     # folder
    target: str     # folder
    mask: str
    extension: str  # of the files the writers deliver there

    def table(self, name):
        """The table the converter writes for a delivery of that name."""
        base = name[: name.rindex(".")] if "." in name else name
        return os.path.join(self.target, base + ".dbf")


def places(work):
    """The two update types' folders in a scratch folder."""
    received = Place("Приём", os.path.join(work, "in"), os.path.join(work, "out"), "*.txt", ".txt")
    mixed = Place("Смесь", os.path.join(work, "mixed"), os.path.join(work, "mixed"), "*.*", ".upd")
    return received, mixed


def write_store(config_home, all_places):
    """The store of the update types, through the scripts' own store writer."""
    store = os.path.join(config_home, "kvadrel", "registry.reg")
    os.makedirs(os.path.dirname(store), exist_ok=True)
    fields = [f"{name}:{width}:{code}:{alternate}" for name, width, code, alternate in FIELDS]
    script = 'source "$0"; store_header'
    arguments = []
    for place in all_places:
        os.makedirs(place.source, exist_ok=True)
        os.makedirs(place.target, exist_ok=True)
        script += f'; store_type "${{@:{len(arguments) + 1}:{6 + len(fields)}}}"'
        arguments += [place.type_name, "0", GROUP, place.source + "/", place.target + "/",
                      place.mask] + fields
    with open(store, "w", encoding="utf-8") as out:
        subprocess.run(["bash", "-c", script, STORE_HELPER] + arguments, stdout=out, check=True)
