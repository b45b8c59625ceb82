# On Windows the engine's table files still go through POSIX calls until
# they pass through the file-system interface; until then its tests and the
# programs are not built there.
