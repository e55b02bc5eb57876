# Sourced by the release scripts: one fixed time for every release file, so
# building twice gives the same bytes. SOURCE_DATE_EPOCH wins when set; else
# the time of the last commit; else the time of the version header.
qf_source=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$qf_source" log -1 --format=%ct 2>/dev/null ||
                      stat -c %Y "$qf_source/platform/version.h")
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C

# normalise_tree DIR: the same modes and times whoever builds, whatever umask.
normalise_tree() {
  find "$1" -type d -exec chmod 755 {} +
  find "$1" -type f -perm /111 -exec chmod 755 {} +
  find "$1" -type f ! -perm /111 -exec chmod 644 {} +
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

# version_macro NAME: a text macro of platform/version.h.
version_macro() {
  sed -n -E "s/^#define $1 \"(.*)\"$/\\1/p" "$qf_source/platform/version.h"
}
