#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_receive_path: the simulator's replies to every query, plus a few
hand-written reply bodies the simulator's sample configuration does not produce.

Usage: fuzz/make_corpus.py BUILD_DIR/sim/gateway-sim fuzz/corpus
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

# Header: flags, reply section, piece size - 1 (see fuzz_receive_path.cpp).
STATUS, TCP_ENTRY, TCP_KIND, PENDING, PIECES = 1, 2, 4, 8, 16
QUERY_TCP = TCP_ENTRY | TCP_KIND

SECTIONS = {
    "get-wan": 1, "get-lan": 2, "get-dns-server": 3, "get-auto-upgrade": 4, "get-service": 5,
    "get-service-port": 6, "get-version": 8, "get-model": 9, "get-voip": 12,
    "get-gatekeeper-status": 15, "get-wan-status": 16, "get-pstn": 17,
}


def capture(sim_path):
    state = tempfile.mkdtemp()
    sim = subprocess.Popen([sim_path, "--listen", "127.0.0.1:0", "--page-lines", "0",
                            "--state", os.path.join(state, "gw.cfg")],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    port = None
    for line in sim.stdout:
        if line.startswith("listening"):
            port = int(line.rsplit(":", 1)[1])
        if line.strip() == "ready":
            break
    conn = socket.create_connection(("127.0.0.1", port))
    conn.settimeout(0.3)

    def talk(command, until=None):
        conn.sendall(command)
        data, deadline = b"", time.time() + 5
        while time.time() < deadline:
            try:
                chunk = conn.recv(65536)
            except socket.timeout:
                if until is None or until in data:
                    break
                continue
            if not chunk:
                break
            data += chunk
        return data

    replies = {"login-refused": talk(b"start-login admin wrong\r"),
               "login": talk(b"start-login admin admin\r")}
    for query in SECTIONS:
        replies[query] = talk(query.encode() + b"\r", b"!END-TAG!")
    replies["write"] = (talk(b"write-system\r!START-TAG!\r", b"!START-TAG!") +
                        talk(b"!END-TAG!\r", b"!END-TAG!"))
    conn.close()
    sim.terminate()
    sim.wait()
    return replies


HAND_WRITTEN = {
    "wan-pppoe-server": (1, b"get-wan\r\n!START-TAG!\r\nencapsulation pppoe\r\n"
                            b"ppp pap sent-username user password secret\r\nppp role server\r\n"
                            b"!END-TAG!\r\n"),
    "wan-pppoe-client": (1, b"get-wan\r\n!START-TAG!\r\nencapsulation pppoe\r\n"
                            b"ppp pap sent-username password secret\r\ndnshost x 192.0.2.53\r\n"
                            b"!END-TAG!\r\n"),
    "wan-dhcp": (1, b"get-wan\r\n!START-TAG!\r\nqos-control\r\nip address dhcp\r\n"
                    b"ip dhcp-group 0\r\nno ip address\r\n!END-TAG!\r\n"),
    "lan-variants": (2, b"get-lan\r\n!START-TAG!\r\nno ip address\r\nencapsulation pppoe\r\n"
                        b"ip address 10.0.0.1 255.0.0.0\r\n!END-TAG!\r\n"),
    "voip-sip": (12, b"get-voip\r\n!START-TAG!\r\nvoice-port 0/0\r\n! FXS\r\n"
                     b"dial-peer voice 0 pots\r\ndestination-pattern 201\r\nport 0/0\r\n"
                     b"sip-server 192.0.2.5\r\nsip-server 192.0.2.6\r\nsip-username alice\r\n"
                     b"sip-password pw\r\n!END-TAG!\r\n"),
    "voip-mgcp": (12, b"get-voip\r\n!START-TAG!\r\nvoice-port 0/0\r\n! E&M\r\nvoice-port 0/1\r\n"
                      b"! E1\r\ndial-peer voice 0 pots\r\napplication mgcpapp\r\n"
                      b"destination-pattern 301\r\nport 0/1\r\ncall-agent 192.0.2.7\r\n"
                      b"call-agent 192.0.2.8\r\nrule 0 [2-9]T 02%01%99\r\n!END-TAG!\r\n"),
    "voip-gatekeeper-secondary-only": (12, b"gkip 198.51.100.11 1719 129\r\n"
                                           b"gkip 198.51.100.12\r\n"),
    "pager-and-nul": (12, b"voice-port 0/0\r\n-- more --\rcaller\0id\0\0enable\n\n"),
    "model-refused": (9, b"get-model\r\n!START-TAG!\r\nmodel XY100\r\n!END-TAG!\r\n"),
    "high-bytes": (5, b"service-port ez-setup \xff\xfe\x80\r\nh323-id \xe9t\xe9\r\n"),
}


def write(directory, name, header, body):
    with open(os.path.join(directory, name), "wb") as f:
        f.write(bytes(header) + body)


def main():
    sim_path, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    for name, body in capture(sim_path).items():
        section = SECTIONS.get(name, 7 if name.startswith("login") else 13)
        if name.endswith("-status"):
            # The status poll reads these in status mode, over each link.
            write(out, name + "-serial", [STATUS | PENDING, section, 0], body)
            write(out, name + "-tcp", [STATUS | QUERY_TCP | PENDING | PIECES, section, 40], body)
        else:
            write(out, name + "-tcp", [QUERY_TCP, section, 0], body)
            write(out, name + "-serial-pieces", [PIECES, section, 6], body)
    for name, (section, body) in HAND_WRITTEN.items():
        write(out, name, [QUERY_TCP, section, 0], body)


if __name__ == "__main__":
    main()
