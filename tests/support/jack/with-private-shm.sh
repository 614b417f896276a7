#!/bin/sh
# Runs a command with a /dev/shm of its own where the machine allows it (root,
# or a user who may create mount namespaces); elsewhere runs it as it is.
# jackd2 names the socket of each client in /dev/shm after the client's name
# alone, whatever its server, so a client "kivotools" of this test's server and
# one of any other JACK server on the machine break each other's opening.
if command -v unshare >/dev/null 2>&1 && unshare --mount --propagation private true 2>/dev/null; then
  exec unshare --mount --propagation private sh -c \
    'mount -t tmpfs -o mode=1777 kivo-test-shm /dev/shm 2>/dev/null; exec "$@"' sh "$@"
fi
exec "$@"
