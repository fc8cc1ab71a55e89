#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_session: the replies a gateway sends in each situation the target
sets up (reading, writing, status; serial and TCP; whole and in pieces).

Usage: fuzz/make_session_corpus.py fuzz/corpus-session
"""
import os
import sys

# Byte 0 (see fuzz_session.cpp): situation in bits 0-1, TCP, pieces, a failing send, and while
# reading the point of the chain in bits 5-7.
READING, WRITING, STATUS, TCP, PIECES, FAILING = 0, 1, 2, 4, 8, 16
CHAIN_STEP_SHIFT = 5


def framed(echo, lines):
    return b"".join(x + b"\r\n" for x in [echo, b"!START-TAG!", *lines, b"!END-TAG!"])


# One reply per query of the chain, in its order.
CHAIN_REPLIES = [
    ("pstn", framed(b"get-pstn", [b"interface async0", b"modem keep-active",
                                  b"modem script dialer atdt0123456",
                                  b"ppp pap sent-username pstnuser password pstnpass", b"!"])),
    ("wan", framed(b"get-wan", [b"interface ether0.0", b"ip address 192.0.2.10 255.255.255.0",
                                b"!"])),
    ("auto-upgrade", framed(b"get-auto-upgrade",
                            [b"auto-upgrade url http://192.0.2.5/fw action reboot"])),
    ("service", framed(b"get-service", [b"service telnetd", b"service ftpd"])),
    ("service-port", framed(b"get-service-port", [b"service-port telnetd 23"])),
    ("version", framed(b"get-version", [b"version 2.31.7"])),
    ("voip", framed(b"get-voip", [b"voice-port 0/0", b"! FXS", b"!", b"dial-peer voice 0 pots",
                                  b"destination-pattern 201", b"port 0/0", b"!", b"-- more --",
                                  b"sip-ua", b"sip-server ipv4:192.0.2.7"])),
    ("dns-server", framed(b"get-dns-server", [b"ip name-server 192.0.2.53"])),
]
CHAIN = b"".join(reply for _, reply in CHAIN_REPLIES)
WRITE = (b"\r\nwrite-system\r\n!START-TAG!\r\n!START-TAG!\r\n% Line 3 ignored: bad value\r\n"
         b"!END-TAG!\r\n!END-TAG!\r\n")
WRITE_REFUSED = b"write-system\r\n!START-TAG!\r\n!START-TAG!\r\n% Configuration not saved: busy\r\n"
STATUS_REPLY = (framed(b"get-wan-status", [b"System Information", b"WAN up 192.0.2.10"])
                + framed(b"get-gatekeeper-status", [b"Gatekeeper registered"]))

SEEDS = {
    "read-chain-serial": (READING, 0, CHAIN),
    "read-chain-tcp-pieces": (READING | TCP | PIECES, 6, CHAIN.replace(b"\r\n", b"\n")),
    "read-refused-model": (READING, 0, framed(b"get-pstn", [b"!"]) + b"Login incorrect\r\n"),
    "read-chain-failing-send": (READING | FAILING, 3, CHAIN),
    "write-saved-tcp": (WRITING | TCP, 0, WRITE),
    "write-refused-serial-pieces": (WRITING | PIECES, 9, WRITE_REFUSED),
    "write-status-in-between": (WRITING, 0, STATUS_REPLY + WRITE),
    "write-failing-send": (WRITING | FAILING, 0, WRITE),
    "status-serial": (STATUS, 0, STATUS_REPLY),
    "status-tcp-pieces": (STATUS | TCP | PIECES, 4, STATUS_REPLY + b"-- more -- \r\n"),
}


# Each reply alone, at its own point of the chain: short inputs reach every reply's rules.
for step, (name, reply) in enumerate(CHAIN_REPLIES):
    SEEDS["read-" + name] = (READING | step << CHAIN_STEP_SHIFT, 0, reply)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, (flags, arg, body) in SEEDS.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(bytes([flags, arg]) + body)


if __name__ == "__main__":
    main()
