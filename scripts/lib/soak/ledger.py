"""What the writers delivered, as they left it: for every name, the records
its file holds since the writer last closed it. Only a closed file counts,
so the expected end state is what the last version left under the name."""
import threading
from dataclasses import dataclass, field


@dataclass
class Delivery:
    place: object
    name: str
    kind: str
    records: list = field(default_factory=list)
    versions: int = 0


class Ledger:
    def __init__(self):
        self._lock = threading.Lock()
        self.deliveries = {}  # (source folder, name) -> Delivery
        self.faults = []      # what a writer saw that must never happen
        self.longest_open_wait = 0.0
        self.opens_of_deleted = 0  # opens that ended on a file deleted meanwhile

    def _delivery(self, place, name, kind):
        return self.deliveries.setdefault((place.source, name), Delivery(place, name, kind))

    def replaced(self, place, name, kind, records):
        """The file under the name now holds exactly these records."""
        with self._lock:
            delivery = self._delivery(place, name, kind)
            delivery.records = list(records)
            delivery.versions += 1

    def appended(self, place, name, kind, records):
        """These records were added at the end of the file under the name."""
        with self._lock:
            delivery = self._delivery(place, name, kind)
            delivery.records += records
            delivery.versions += 1

    def fault(self, text):
        with self._lock:
            self.faults.append(text)

    def opened(self, seconds, deleted):
        with self._lock:
            self.longest_open_wait = max(self.longest_open_wait, seconds)
            self.opens_of_deleted += deleted
