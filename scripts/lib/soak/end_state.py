"""The folders at the end of the soak, held against what the writers
delivered: the table of every name holds exactly the records of the name's
last version, in its order, no table stands without a delivery, and no
source, work file of a claim or unfinished table is left."""
import collections
import os

from dbfread import DBF

from update_types import FIELDS

CLAIM_PREFIX = ".kvadrel-claimed."  # the work name of a file the converter claimed


def _folders(places):
    return sorted({place.source for place in places} | {place.target for place in places})


def leftovers(places):
    """Everything in the folders but the tables: (path, what it is)."""
    sources = {place.source for place in places}
    targets = {place.target for place in places}
    found = []
    for folder in _folders(places):
        for entry in sorted(os.listdir(folder)):
            path = os.path.join(folder, entry)
            if folder in targets and entry.endswith(".dbf"):
                continue
            if entry.startswith(CLAIM_PREFIX):
                found.append((path, "work file of a claim"))
            elif folder in targets and entry.endswith(".tmp"):
                found.append((path, "unfinished table"))
            elif folder in sources and not entry.startswith("."):
                found.append((path, "source not converted"))
            else:
                found.append((path, "stray file"))
    return found


def convertible_left(places):
    """Whether a pass of the converter would still find something to take."""
    return any(what in ("work file of a claim", "source not converted")
               for _, what in leftovers(places))


def _sample(records):
    return ", ".join("/".join(record) for record in list(records)[:3])


def _difference(name, expected, actual):
    """How the records of a table differ from those expected."""
    want, got = collections.Counter(expected), collections.Counter(actual)
    parts = [f"{len(actual)} records where {len(expected)} were expected"]
    lost = want - got
    if lost:
        parts.append(f"{sum(lost.values())} lost ({_sample(lost)})")
    versions = {record[1] for record in expected}
    extra = got - want
    older = [record for record in extra if record[0] == name and record[1] not in versions]
    foreign = [record for record in extra if record[0] != name]
    twice = [record for record, count in got.items() if count > 1]
    if older:
        parts.append(f"{len(older)} of another version ({_sample(older)})")
    if foreign:
        parts.append(f"{len(foreign)} of another delivery ({_sample(foreign)})")
    if twice:
        parts.append(f"{len(twice)} more than once ({_sample(twice)})")
    if want == got:
        parts.append("in another order")
    return "; ".join(parts)


def _table_problems(delivery, table):
    """What is wrong with the table of a delivery (an empty list when nothing is)."""
    try:
        # ignorecase=False: a case-blind lookup lists the whole folder for each table.
        dbf = DBF(table, char_decode_errors="strict", ignorecase=False)
        fields = [(field.name, field.length) for field in dbf.fields]
        rows = [tuple(record[name] for name, _ in fields) for record in dbf]
        deleted = sum(1 for _ in dbf.deleted)
        header = dbf.header
    except Exception as error:  # any way a table cannot be read is a mismatch
        return [f"cannot be read: {error!r}"]
    problems = []
    wanted_fields = [(name, width) for name, width, _, _ in FIELDS]
    if fields != wanted_fields:
        problems.append(f"fields {fields}, not {wanted_fields}")
    if deleted:
        problems.append(f"{deleted} records marked deleted")
    size = os.path.getsize(table)
    # The header, the records and the end-of-file mark.
    expected_size = header.headerlen + header.numrecords * header.recordlen + 1
    if size != expected_size:
        problems.append(f"{size} bytes where its header makes {expected_size}")
    if rows != delivery.records:
        problems.append(_difference(delivery.name, delivery.records, rows))
    return problems


def check(ledger, places, stage):
    """Returns (mismatches, records checked); a mismatch is (the delivery's
    name or None, what is wrong)."""
    mismatches = [(None, f"writer: {fault}") for fault in ledger.faults]
    expected = {}
    for delivery in ledger.deliveries.values():
        table = delivery.place.table(delivery.name)
        if table in expected:
            mismatches.append((None, f"{table}: the table of two deliveries "
                                     f"({expected[table].name}, {delivery.name})"))
        expected[table] = delivery
    checked = 0
    for table, delivery in sorted(expected.items()):
        what = f"{delivery.name} ({delivery.kind}, {delivery.versions} versions)"
        if not os.path.exists(table):
            mismatches.append((delivery.name, f"{what}: no table {table}"))
            continue
        checked += len(delivery.records)
        mismatches += [(delivery.name, f"{what}: {table}: {problem}")
                       for problem in _table_problems(delivery, table)]
    for target in sorted({place.target for place in places}):
        for entry in sorted(os.listdir(target)):
            table = os.path.join(target, entry)
            if entry.endswith(".dbf") and table not in expected:
                mismatches.append((None, f"{table}: a table without a delivery"))
    mismatches += [(os.path.basename(path).removeprefix(CLAIM_PREFIX), f"{path}: {what} left")
                   for path, what in leftovers(places)]
    mismatches += [(None, f"{os.path.join(stage, entry)}: a writer's staged file left")
                   for entry in sorted(os.listdir(stage))]
    return mismatches, checked
