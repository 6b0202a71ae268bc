#!/usr/bin/env bash
# Sets up and builds Kelvra, then starts it on its default level sets.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/bin/kelvra "$@"
