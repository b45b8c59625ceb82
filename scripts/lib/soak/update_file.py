"""The content of the soak's update files. Every record names its delivery,
its version and its number, so a table can be held against exactly the
records of one version: none lost, none of another version, none twice."""
from update_types import GROUP

OTHER_GROUP = "ПРОЧЕЕ"  # records of it must never reach a table
END_LINE = "&КОНЕЦ"     # ends a group, so that an appended group opens anew
STRANGER = "ЧУЖОЙ"      # the name the other group's records carry
# Texts in Latin letters, digits and А..я: the letters of DOS-866 that the
# converter turns into Windows-1251.
WORDS = ["Ромашка", "Иванов", "ООО Лес", "Мир", "Заря", "Восток", "R2D2-C3"]


def records(name, version, count):
    """The records of one version: (name, version, number, text), as the
    table's fields read them."""
    return [(name, str(version), str(number),
             f"Запись {version}.{number} {WORDS[(version + number) % len(WORDS)]}")
            for number in range(1, count + 1)]


def _tag(code, rng):
    return f"/{code:02d}=" if rng.random() < 0.5 else f"/{code}="


def _line(record, rng):
    name, version, number, text = record
    items = [_tag(1, rng) + name, _tag(2, rng) + version, _tag(3, rng) + number]
    # The text under its code, under the alternate code alone, or under the
    # alternate code beside an empty item of its code.
    choice = rng.randrange(3)
    if choice == 0:
        items.append(_tag(4, rng) + text)
    else:
        items.append(_tag(5, rng) + text)
        if choice == 2:
            items.append(_tag(4, rng))
    rng.shuffle(items)
    return "".join(items)


def block(version_records, rng):
    """One group of records as DOS-866 bytes with CRLF line ends, sometimes
    after a group of records that are not ours."""
    lines = []
    if rng.random() < 0.3:
        lines.append("&" + OTHER_GROUP)
        lines += [_line(record, rng) for record in records(STRANGER, 1, rng.randint(1, 3))]
    lines.append("&" + GROUP)
    lines += [_line(record, rng) for record in version_records]
    lines.append(END_LINE)
    return "".join(line + "\r\n" for line in lines).encode("cp866")
