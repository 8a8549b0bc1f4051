#!/usr/bin/env python3
"""Independent model of the stored password text, for known-answer tests.

Reads lines from stdin and answers one line each:
  encode KEYHEX PWDHEX PADDEDLENGTH RANDOMHEX  -> the text ("-" for an empty one)
  decode KEYHEX TEXT                           -> the password's UTF-8 as hex ("-" when refused)
  encrypt PASSHEX PLAINHEX SALTHEX              -> the enciphered stream as hex
RANDOMHEX is the random source's output in order: padding bytes, then the salt.
"""
import base64
import hashlib
import hmac
import sys

from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes


def aes_mode(key):
    if len(key) < 32:
        return 1
    return 3 if len(key) >= 48 else 2


def keystream_xor(aes_key, data):
    enc = Cipher(algorithms.AES(aes_key), modes.ECB()).encryptor()
    out = bytearray()
    for i in range(0, len(data), 16):
        counter = (i // 16 + 1).to_bytes(8, "little") + bytes(8)
        block = enc.update(counter)
        out += bytes(a ^ b for a, b in zip(data[i:i + 16], block))
    return bytes(out)


def derive(passphrase, salt, mode):
    n = 8 + 8 * mode
    material = hashlib.pbkdf2_hmac("sha1", passphrase[:128], salt, 1000, 2 * n + 2)
    return material[:n], material[n:2 * n], material[2 * n:]


def encrypt(passphrase, plain, salt):
    mode = aes_mode(passphrase[:128])
    assert len(salt) == 4 + 4 * mode
    aes_key, mac_key, verifier = derive(passphrase, salt, mode)
    data = keystream_xor(aes_key, plain)
    code = hmac.new(mac_key, data, hashlib.sha1).digest()[:10]
    return salt + verifier + data + code


def decrypt(passphrase, stream):
    mode = aes_mode(passphrase[:128])
    slen = 4 + 4 * mode
    if len(stream) < slen + 12:
        return None
    salt, verifier = stream[:slen], stream[slen:slen + 2]
    data, code = stream[slen + 2:-10], stream[-10:]
    aes_key, mac_key, expected = derive(passphrase, salt, mode)
    if verifier != expected or hmac.new(mac_key, data, hashlib.sha1).digest()[:10] != code:
        return None
    return keystream_xor(aes_key, data)


def cut_utf8(text, limit):
    out = b""
    for ch in text:
        b = ch.encode("utf-8")
        if len(out) + len(b) > limit:
            break
        out += b
    return out


def encode(key, password, padded, rand):
    if not password:
        return "-"
    pwd = cut_utf8(password, padded)
    n = len(pwd)
    prefix = bytes([n + 33]) if n < 223 else bytes([(n >> 8) & 0x1F, n & 0xFF])
    pad_count = max(padded - 1 - n, 0)
    padding = bytes(33 + (b & 63) for b in rand[:pad_count])
    salt = rand[pad_count:pad_count + 4 + 4 * aes_mode(key[:128])]
    stream = encrypt(key, prefix + pwd + padding, salt)
    return base64.a85encode(stream).decode("ascii")


def decode(key, text):
    try:
        stream = base64.a85decode(text.encode("ascii"))
    except ValueError:
        return "-"
    plain = decrypt(key, stream)
    if not plain or (plain[0] <= 32 and len(plain) < 2):
        return "-"
    if plain[0] <= 32:
        n, start = plain[0] << 8 | plain[1], 2
    else:
        n, start = plain[0] - 33, 1
    return plain[start:start + n].hex() or "-"


def main():
    for line in sys.stdin:
        parts = line.split()
        if not parts:
            continue
        if parts[0] == "encode":
            key, pwd = bytes.fromhex(parts[1]), bytes.fromhex(parts[2]).decode("utf-8")
            print(encode(key, pwd, int(parts[3]), bytes.fromhex(parts[4])))
        elif parts[0] == "encrypt":
            plain = bytes.fromhex(parts[2]) if parts[2] != "-" else b""
            print(encrypt(bytes.fromhex(parts[1]), plain, bytes.fromhex(parts[3])).hex())
        elif parts[0] == "decode":
            print(decode(bytes.fromhex(parts[1]), parts[2]))
        else:
            print("?")
    sys.stdout.flush()


if __name__ == "__main__":
    main()
