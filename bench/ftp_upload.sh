#!/usr/bin/env bash
# Uploads 1,000 small files (10 folders of 100, 200 bytes to 4 KiB) over one FTP session to
# a vsftpd on loopback: the publishing session (with and without setting each file's time)
# beside lftp's "mirror -R", alternately, each run into an empty folder. Prints each run and
# the medians. Needs root (vsftpd chroots) and vsftpd and lftp (scripts/setup installs them).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${ORVEL_BUILD_DIR:-$top/build}
runs=${RUNS:-5}
tool=$build/bench/ftp_upload_tree
[ -x "$tool" ] || cmake --build "$build" --target ftp_upload_tree >/dev/null

tmp=$(mktemp -d)
root=$tmp/root
mkdir -p "$root/pub" "$tmp/empty" "$tmp/site"
chmod 755 "$root"
chmod 777 "$root/pub"
python3 - "$tmp/site" <<'PY'
import os, random, sys
random.seed(7)
for d in range(10):
    folder = os.path.join(sys.argv[1], f'dir{d}')
    os.makedirs(folder)
    for f in range(100):
        with open(os.path.join(folder, f'page{f:03}.htm'), 'wb') as out:
            out.write(os.urandom(random.randint(200, 4096)))
PY
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
pasv=$((20000 + RANDOM % 10000)) # below the ephemeral ports (32768 up)
cat >"$tmp/vsftpd.conf" <<CONF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$port
background=NO
anonymous_enable=YES
local_enable=NO
write_enable=YES
anon_upload_enable=YES
anon_mkdir_write_enable=YES
anon_other_write_enable=YES
anon_world_readable_only=NO
anon_umask=022
anon_root=$root
no_anon_password=YES
ftp_username=ftp
secure_chroot_dir=$tmp/empty
pasv_min_port=$pasv
pasv_max_port=$((pasv + 50))
connect_from_port_20=NO
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
utf8_filesystem=YES
mdtm_write=YES
use_localtime=NO
xferlog_enable=NO
max_per_ip=0
CONF
/usr/sbin/vsftpd "$tmp/vsftpd.conf" &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$tmp"' EXIT
sleep 0.5

# Seconds of one command, started from an empty remote folder.
timed() {
  rm -rf "${root:?}/pub/$1"
  shift
  python3 - "$@" <<'PY'
import subprocess, sys, time
t = time.monotonic()
r = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
if r.returncode:
    sys.exit(r.stderr.decode())
print(f'{time.monotonic() - t:.3f}')
PY
}
count() { find "$root/pub/$1" -type f | wc -l; }

declare -a ours oursNoTimes lftp
for ((i = 0; i < runs; i++)); do
  ours+=("$(timed orvel "$tool" 127.0.0.1 "$port" anonymous x /pub/orvel "$tmp/site")")
  oursNoTimes+=("$(timed orvel "$tool" --no-times 127.0.0.1 "$port" anonymous x /pub/orvel "$tmp/site")")
  lftp+=("$(timed lftp lftp -e "set net:max-retries 1; mirror -R --no-perms $tmp/site /pub/lftp; quit" \
    -u anonymous,x "ftp://127.0.0.1:$port")")
  echo "run $((i + 1)): publishing session ${ours[-1]} s, without times ${oursNoTimes[-1]} s," \
    "lftp mirror -R ${lftp[-1]} s"
done
[ "$(count orvel)" = 1000 ] && [ "$(count lftp)" = 1000 ] || { echo "files missing" >&2; exit 1; }
cmp -s <(cd "$tmp/site" && find . -type f -exec md5sum {} + | sort) \
  <(cd "$root/pub/orvel" && find . -type f -exec md5sum {} + | sort) || { echo "contents differ" >&2; exit 1; }
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "1000 files, median of $runs: publishing session $(median "${ours[@]}") s" \
  "(without setting times $(median "${oursNoTimes[@]}") s), lftp mirror -R $(median "${lftp[@]}") s"
