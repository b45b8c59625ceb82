# Tests that run only on Windows (filled in below).
