#!/usr/bin/python3
"""An FTP proxy for the tests: it expects the login sequence of one connection method,
command by command, logs in to the real server with the user's part, then relays the
control connection. Prints "READY <port>", then one line per command received ("> ...")
and "LOGIN OK" or "MISMATCH: expected ..., got ..."."""
import argparse
import select
import socket
import sys
import threading

parser = argparse.ArgumentParser()
parser.add_argument('--mode', type=int, required=True)
parser.add_argument('--upstream-port', type=int, required=True)
parser.add_argument('--site', required=True, help='the server as the client names it')
parser.add_argument('--user', required=True)
parser.add_argument('--password', required=True)
parser.add_argument('--fw-user', required=True)
parser.add_argument('--fw-password', required=True)
args = parser.parse_args()

u, p, fu, fp, site = args.user, args.password, args.fw_user, args.fw_password, args.site
# (command expected, reply of the proxy; None: log in upstream and relay its reply)
FW_LOGIN = [(f'USER {fu}', '331 Firewall password'), (f'PASS {fp}', '230 Firewall login ok')]
SEQUENCES = {
    1: FW_LOGIN + [(f'USER {u}@{site}', '331 Password'), (f'PASS {p}', None)],
    2: FW_LOGIN + [(f'SITE {site}', '220 Connected'), (f'USER {u}', '331 Password'),
                   (f'PASS {p}', None)],
    3: FW_LOGIN + [(f'OPEN {site}', '220 Connected'), (f'USER {u}', '331 Password'),
                   (f'PASS {p}', None)],
    4: [(f'USER {u}@{fu}@{site}', '331 Password'), (f'PASS {p}@{fp}', None)],
    5: FW_LOGIN + [(f'USER {u}', '331 Password'), (f'PASS {p}', None)],
    6: [(f'USER {u}@{site} {fu}', '331 Password'), (f'PASS {p}', '332 Account'),
        (f'ACCT {fp}', None)],
}
lock = threading.Lock()


def say(line):
    with lock:
        print(line, flush=True)


def read_line(sock, buf):
    while b'\r\n' not in buf[0]:
        data = sock.recv(4096)
        if not data:
            return None
        buf[0] += data
    line, buf[0] = buf[0].split(b'\r\n', 1)
    return line.decode()


def read_reply(sock, buf):
    lines = [read_line(sock, buf)]
    if lines[0] and lines[0][3:4] == '-':
        while True:
            line = read_line(sock, buf)
            lines.append(line)
            if line is None or (line[:3] == lines[0][:3] and line[3:4] == ' '):
                break
    return '\r\n'.join(l for l in lines if l is not None) + '\r\n'


def serve(client):
    buf = [b'']
    client.sendall(b'220 Test proxy ready\r\n')
    for expected, answer in SEQUENCES[args.mode]:
        got = read_line(client, buf)
        say(f'> {got}')
        if got != expected:
            say(f'MISMATCH: expected {expected!r}, got {got!r}')
            client.sendall(b'530 Unexpected command\r\n')
            client.close()
            return
        if answer is not None:
            client.sendall(answer.encode() + b'\r\n')
    upstream = socket.create_connection(('127.0.0.1', args.upstream_port))
    ubuf = [b'']
    read_reply(upstream, ubuf)
    upstream.sendall(f'USER {u}\r\n'.encode())
    read_reply(upstream, ubuf)
    upstream.sendall(f'PASS {p}\r\n'.encode())
    reply = read_reply(upstream, ubuf)
    client.sendall(reply.encode())
    say('LOGIN OK' if reply.startswith('230') else 'UPSTREAM REFUSED')
    if buf[0]:
        upstream.sendall(buf[0])
    if ubuf[0]:
        client.sendall(ubuf[0])
    peers = {client: upstream, upstream: client}
    while True:
        ready, _, _ = select.select(list(peers), [], [], 60)
        if not ready:
            break
        for s in ready:
            data = s.recv(65536)
            if not data:
                client.close()
                upstream.close()
                return
            peers[s].sendall(data)


listener = socket.socket()
listener.bind(('127.0.0.1', 0))
listener.listen(8)
print('READY', listener.getsockname()[1], flush=True)
while True:
    conn, _ = listener.accept()
    threading.Thread(target=serve, args=(conn,), daemon=True).start()
