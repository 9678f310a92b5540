#!/usr/bin/env bash
# Runs one Windows program (a test suite, usually with --gtest_filter=...) under Wine in its own
# session: a private Xvfb display and a fresh prefix, both ended afterwards.
# Usage: tests/win/run_win_tests.sh <program.exe> [args...]; the exit status is the program's.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../scripts/lib/wine-session.sh
source "$root/scripts/lib/wine-session.sh"
wine_session_begin || exit 1
wine_session_run "${MOZHOU_WIN_TIMEOUT:-1200}" "$@"
