# Tests that run only on Windows.
