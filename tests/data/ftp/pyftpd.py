#!/usr/bin/python3
"""An FTP server for the tests (pyftpdlib): one user with a writable root, MLSD and MFMT,
optionally explicit TLS. Listens on 127.0.0.1 at a free port and prints "READY <port>"."""
import argparse
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument('--root', required=True)
parser.add_argument('--user', default='tester')
parser.add_argument('--password', default='s3cret')
parser.add_argument('--cert')
parser.add_argument('--key')
parser.add_argument('--pasv', help='first-last passive port')
args = parser.parse_args()

authorizer = DummyAuthorizer()
authorizer.add_user(args.user, args.password, args.root, perm='elradfmwMT')
if args.cert:
    from pyftpdlib.handlers import TLS_FTPHandler
    handler = TLS_FTPHandler
    handler.certfile = args.cert
    handler.keyfile = args.key
else:
    handler = FTPHandler
handler.authorizer = authorizer
handler.banner = 'pyftpdlib test server ready'
if args.pasv:
    first, last = (int(p) for p in args.pasv.split('-'))
    handler.passive_ports = range(first, last + 1)

server = FTPServer(('127.0.0.1', 0), handler)
print('READY', server.address[1], flush=True)
server.serve_forever(handle_exit=True)
