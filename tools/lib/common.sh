# Shared settings of the project's scripts. Sourced, not run.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build_dir=${VARNHOLT_BUILD:-$repo_root/build}
cache_root=${VARNHOLT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/varnholt}

say() { printf 'varnholt: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }
