# Shared settings of the project's scripts. Sourced, not run.
#
# VARNHOLT_ARCH picks the Windows architecture: x86_64 (the default, a 64-bit
# program run by Wine's 64-bit loader) or i686 (the 32-bit program, which needs
# a kernel that runs 32-bit code). Each has its own build folder, dependency
# cache and Wine prefix.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

say() { printf 'varnholt: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }

arch=${VARNHOLT_ARCH:-x86_64}
case $arch in
x86_64) default_build_dir=$repo_root/build ;;
i686) default_build_dir=$repo_root/build-i686 ;;
*) die "VARNHOLT_ARCH must be x86_64 or i686, not \"$arch\"" ;;
esac
triplet=$arch-w64-mingw32
build_dir=${VARNHOLT_BUILD:-$default_build_dir}
cache_root=${VARNHOLT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/varnholt}
toolchain_file=$repo_root/cmake/toolchain-mingw-$arch.cmake
# Programs the scripts start (CTest's emulator, the end-to-end scripts) see the same choice.
export VARNHOLT_ARCH=$arch VARNHOLT_BUILD=$build_dir
