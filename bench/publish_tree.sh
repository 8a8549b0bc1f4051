#!/usr/bin/env bash
# Publishes a tree of 10,000 files in 200 folders with "orvel --publish" beside lftp's
# "mirror -R --only-newer" on the same tree and the same server in the same run, against
# vsftpd (LIST, no MLSD) and pyftpdlib (MLSD) on loopback: the first full upload into an
# empty folder, then a run with nothing to do. Each is timed (median of RUNS, alternating the
# two clients) and the commands each client sent are counted by the server. Needs root
# (vsftpd chroots), vsftpd, lftp and python3-pyftpdlib (scripts/setup installs them).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${ORVEL_BUILD_DIR:-$top/build}
runs=${RUNS:-3}
# SERVERS="pyftpd" runs one server only.
files_per_folder=${FILES_PER_FOLDER:-50}
orvel=$build/orvel
[ -x "$orvel" ] || cmake --build "$build" --target orvel >/dev/null
py=/usr/bin/python3

tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT

# The site: 10 folders with 19 subfolders each (200 folders), 50 pages of 200 B to 4 KiB in
# each, dated a day back.
$py - "$tmp/site" "$files_per_folder" <<'PY'
import os, random, sys, time
random.seed(11)
root, per = sys.argv[1], int(sys.argv[2])
then = time.time() - 86400
folders = []
for a in range(10):
    folders.append(f'part{a}')
    folders += [f'part{a}/sub{b:02}' for b in range(19)]
for f in folders:
    os.makedirs(os.path.join(root, f))
    for i in range(per):
        p = os.path.join(root, f, f'page{i:03}.htm')
        with open(p, 'wb') as out:
            out.write(os.urandom(random.randint(200, 4096)))
        os.utime(p, (then, then))
PY
nfiles=$(find "$tmp/site" -type f | wc -l)
nfolders=$(find "$tmp/site" -mindepth 1 -type d | wc -l)

free_port() { $py -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }

# vsftpd, counting commands in its protocol log.
vroot=$tmp/vsftpd
mkdir -p "$vroot/root/pub" "$vroot/empty"
chmod 755 "$vroot/root"
chmod 777 "$vroot/root/pub"
vport=$(free_port)
pasv=$((20000 + RANDOM % 10000)) # below the ephemeral ports (32768 up)
cat >"$vroot/vsftpd.conf" <<CONF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$vport
background=NO
anonymous_enable=YES
local_enable=NO
write_enable=YES
anon_upload_enable=YES
anon_mkdir_write_enable=YES
anon_other_write_enable=YES
anon_world_readable_only=NO
anon_umask=022
anon_root=$vroot/root
no_anon_password=YES
ftp_username=ftp
secure_chroot_dir=$vroot/empty
pasv_min_port=$pasv
pasv_max_port=$((pasv + 2000))
connect_from_port_20=NO
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
utf8_filesystem=YES
mdtm_write=YES
use_localtime=NO
xferlog_enable=YES
xferlog_std_format=NO
syslog_enable=NO
log_ftp_protocol=YES
vsftpd_log_file=$vroot/vsftpd.log
dual_log_enable=NO
max_per_ip=0
max_clients=0
CONF
/usr/sbin/vsftpd "$vroot/vsftpd.conf" &
pids+=($!)

# pyftpdlib, writing each command it receives to a file.
proot=$tmp/pyftpd
mkdir -p "$proot/root"
cat >"$proot/server.py" <<'PY'
import sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
import logging
logging.getLogger('pyftpdlib').setLevel(logging.WARNING)
log = open(sys.argv[2], 'a', buffering=1)
class Counting(FTPHandler):
    def pre_process_command(self, line, cmd, arg):
        log.write(line + '\n')
        return super().pre_process_command(line, cmd, arg)
auth = DummyAuthorizer()
auth.add_user('tester', 's3cret', sys.argv[1], perm='elradfmwMT')
Counting.authorizer = auth
server = FTPServer(('127.0.0.1', 0), Counting)
print(server.address[1], flush=True)
server.serve_forever(handle_exit=True)
PY
coproc PYFTPD { exec $py "$proot/server.py" "$proot/root" "$proot/commands.log" 2>/dev/null; }
pids+=($PYFTPD_PID)
read -r pport <&"${PYFTPD[0]}"
sleep 0.5

# Orvel's settings and data in the run's own folders; one project per server.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/config XDG_DATA_HOME=$tmp/home/data
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
project() { # name port user remote
  cat >"$tmp/$1.prj" <<PRJ
[Project]
Name=$1
Path=$tmp/site/
TextTypes=htm*,htt,css,js
BinTypes=gif,jpg,png
TransferMode=2
Host=127.0.0.1
Port=$2
Username=$3
Password=
RemotePath=$4
UseTLS=0
Passive=1
PRJ
}
project vsftpd "$vport" anonymous /pub/orvel
project pyftpd "$pport" tester /orvel

commands_of() { # server: lines in its command log so far
  if [ "$1" = vsftpd ]; then grep -c 'FTP command:' "$vroot/vsftpd.log" 2>/dev/null || true
  else wc -l <"$proot/commands.log"; fi
}
verbs_since() { # server, count before: the commands since then by verb, most frequent first
  if [ "$1" = vsftpd ]; then
    grep 'FTP command:' "$vroot/vsftpd.log" | tail -n +$(($2 + 1)) |
      sed -e 's/.*FTP command: Client "[^"]*", "//' -e 's/[ "].*//'
  else tail -n +$(($2 + 1)) "$proot/commands.log" | sed 's/ .*//'; fi |
    tr a-z A-Z | sort | uniq -c | sort -rn | awk '{printf "%s%s %s", (NR > 1 ? ", " : ""), $2, $1} END {print ""}'
}
disk_of() { if [ "$1" = vsftpd ]; then echo "$vroot/root/pub"; else echo "$proot/root"; fi; }

# Runs a client; prints "seconds commands".
timed() { # server, command...
  local server=$1
  shift
  local before after t0 t1
  before=$(commands_of "$server")
  t0=$(date +%s.%N)
  "$@" >"$tmp/out" 2>"$tmp/err" || {
    echo "$* failed:" >&2
    tail -n 20 "$tmp/out" "$tmp/err" >&2
    exit 1
  }
  t1=$(date +%s.%N)
  sleep 0.2 # the server's log catches up
  after=$(commands_of "$server")
  echo "$(echo "$t1 - $t0" | bc) $((after - before))"
  verbs_since "$server" "$before" >"$tmp/verbs"
}
ours() { ORVEL_FTP_PASSWORD=$2 "$orvel" --publish "$tmp/$1.prj"; }
theirs() { # server password user remote
  lftp -e "set net:max-retries 1; set cmd:fail-exit yes; mirror -R --only-newer --no-perms $tmp/site $4; quit" \
    -u "$3,$2" "ftp://127.0.0.1:$( [ "$1" = vsftpd ] && echo "$vport" || echo "$pport")"
}
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

echo "tree: $nfiles files in $nfolders folders; $runs runs each, the two clients alternating"
for server in ${SERVERS:-vsftpd pyftpd}; do
  if [ $server = vsftpd ]; then pass=orvel@example.org user=anonymous ours_dir=/pub/orvel lftp_dir=/pub/lftp
  else pass=s3cret user=tester ours_dir=/orvel lftp_dir=/lftp; fi
  disk=$(disk_of $server)
  declare -a up_ours=() up_lftp=() same_ours=() same_lftp=()
  for ((i = 0; i < runs; i++)); do
    rm -rf "${disk:?}${ours_dir#/pub}" "${disk:?}${lftp_dir#/pub}" "$XDG_DATA_HOME"/Brimwell/publish-*
    # Who goes first alternates: the connections of a run linger (TIME_WAIT) into the next.
    for who in $( ((i % 2)) && echo "theirs ours" || echo "ours theirs"); do
      if [ $who = ours ]; then
        timed $server ours $server "$pass" >"$tmp/t"; read -r t c <"$tmp/t"; up_ours+=("$t"); up_ours_c=$c; up_ours_v=$(cat "$tmp/verbs")
      else
        timed $server theirs $server "$pass" "$user" "$lftp_dir" >"$tmp/t"; read -r t c <"$tmp/t"; up_lftp+=("$t"); up_lftp_c=$c; up_lftp_v=$(cat "$tmp/verbs")
      fi
    done
  done
  [ "$(find "${disk}${ours_dir#/pub}" -type f | wc -l)" = "$nfiles" ] || { echo "orvel: files missing" >&2; exit 1; }
  [ "$(find "${disk}${lftp_dir#/pub}" -type f | wc -l)" = "$nfiles" ] || { echo "lftp: files missing" >&2; exit 1; }
  cmp -s <(cd "$tmp/site" && find . -type f -exec md5sum {} + | sort) \
    <(cd "${disk}${ours_dir#/pub}" && find . -type f -exec md5sum {} + | sort) || { echo "contents differ" >&2; exit 1; }
  for ((i = 0; i < runs; i++)); do
    for who in $( ((i % 2)) && echo "theirs ours" || echo "ours theirs"); do
      if [ $who = ours ]; then
        timed $server ours $server "$pass" >"$tmp/t"; read -r t c <"$tmp/t"; same_ours+=("$t"); same_ours_c=$c; same_ours_v=$(cat "$tmp/verbs")
      else
        timed $server theirs $server "$pass" "$user" "$lftp_dir" >"$tmp/t"; read -r t c <"$tmp/t"; same_lftp+=("$t"); same_lftp_c=$c; same_lftp_v=$(cat "$tmp/verbs")
      fi
    done
  done
  echo "$server: first upload  orvel $(median "${up_ours[@]}") s ($up_ours_c commands)," \
    "lftp $(median "${up_lftp[@]}") s ($up_lftp_c commands)"
  echo "$server: nothing to do orvel $(median "${same_ours[@]}") s ($same_ours_c commands)," \
    "lftp $(median "${same_lftp[@]}") s ($same_lftp_c commands)"
  echo "$server: commands  first orvel: $up_ours_v"
  echo "$server: commands  first lftp:  $up_lftp_v"
  echo "$server: commands  nothing to do orvel: $same_ours_v"
  echo "$server: commands  nothing to do lftp:  $same_lftp_v"
  echo "$server: runs  first orvel ${up_ours[*]} / lftp ${up_lftp[*]};" \
    "nothing to do orvel ${same_ours[*]} / lftp ${same_lftp[*]}"
  unset up_ours up_lftp same_ours same_lftp
done
