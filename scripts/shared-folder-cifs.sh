#!/usr/bin/env bash
# The shared-folder campaign (campaigns.tst_sharedfolder) over a real network
# file system: a Samba share on 127.0.0.1, mounted with `mount -t cifs`, as
# a workshop's benches would mount their file server. Needs root, the
# packages samba and cifs-utils, and a kernel that has the cifs file system;
# where any of that is missing it says so and ends with status 0 (skipped).
# Not part of CI: it starts a server.
#
#   scripts/shared-folder-cifs.sh [SECONDS]      (default 20)
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
skip() { echo "shared-folder-cifs: skipped: $*"; exit 0; }

[ "$(id -u)" = 0 ] || skip "needs root (it starts smbd and mounts the share)"
grep -qw cifs /proc/filesystems || modprobe cifs 2>/dev/null || skip "the kernel has no cifs file system"
command -v smbd >/dev/null || skip "smbd is not installed (Debian package samba)"
command -v mount.cifs >/dev/null || skip "mount.cifs is not installed (Debian package cifs-utils)"
[ -x build/bin/campaigns_tst_sharedfolder ] || skip "build the tests first (build/bin/campaigns_tst_sharedfolder)"

work=$(mktemp -d)
share=$work/share
mnt=$work/mnt
mkdir -p "$share" "$mnt" "$work/state"
cat >"$work/smb.conf" <<CONF
[global]
   server role = standalone server
   interfaces = 127.0.0.1
   bind interfaces only = yes
   smb ports = 44545
   map to guest = Bad User
   state directory = $work/state
   cache directory = $work/state
   lock directory = $work/state
   pid directory = $work/state
   private dir = $work/state
   log file = $work/smbd.log
[vardosk]
   path = $share
   read only = no
   guest ok = yes
   force user = root
   strict sync = yes
CONF
smbd --foreground --no-process-group --configfile="$work/smb.conf" &
smbd_pid=$!
cleanup() {
    umount "$mnt" 2>/dev/null
    kill "$smbd_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
sleep 2
mount -t cifs //127.0.0.1/vardosk "$mnt" -o port=44545,guest,vers=3.1.1,cache=strict,actimeo=1 \
    || skip "mount -t cifs failed (see above)"
echo "shared-folder-cifs: campaign of ${seconds}s over //127.0.0.1/vardosk mounted on $mnt"
QT_QPA_PLATFORM=offscreen VARDOSK_SHARED_DATA=$mnt VARDOSK_SHARED_SECONDS=$seconds \
    build/bin/campaigns_tst_sharedfolder -v1
