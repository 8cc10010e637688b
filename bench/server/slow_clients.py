#!/usr/bin/env python3
"""Slow clients against a score server on loopback: COUNT connections from ADDRESSES source addresses
(127.0.0.2, 127.0.0.3, ...) each send a request one byte every 5 s and open again whenever the server drops
them, while one client from 127.0.0.200 asks for /healthz twice a second. Stops by itself after SECONDS.
Prints the slow connections open at each half-minute, how many drops the slow ones took, and how many of
the other client's requests were answered.
Usage: slow_clients.py PORT [--count 1024] [--addresses 8] [--seconds 45]"""
import argparse, selectors, socket, threading, time

parser = argparse.ArgumentParser()
parser.add_argument("port", type=int)
parser.add_argument("--count", type=int, default=1024)
parser.add_argument("--addresses", type=int, default=8)
parser.add_argument("--seconds", type=float, default=45)
args = parser.parse_args()
assert 1 <= args.addresses <= 150 and args.count <= 4000 and args.seconds <= 600

REQUEST = b"GET /healthz HTTP/1.1\r\nHost: slow\r\nX-Padding: " + b"p" * 4000
stop_at = time.monotonic() + args.seconds
drops = 0


def open_slow(index):
    sock = socket.socket()
    sock.bind((f"127.0.0.{2 + index % args.addresses}", 0))
    sock.setblocking(False)
    try:
        sock.connect(("127.0.0.1", args.port))
    except BlockingIOError:
        pass
    return {"sock": sock, "sent": 0, "next": time.monotonic() + 0.5 + (index % 50) / 10}


def probe(results):
    while time.monotonic() < stop_at:
        started = time.monotonic()
        try:
            with socket.create_connection(("127.0.0.1", args.port), timeout=5, source_address=("127.0.0.200", 0)) as s:
                s.sendall(b"GET /healthz HTTP/1.1\r\nHost: probe\r\nConnection: close\r\n\r\n")
                answer = s.recv(64)
            results.append(answer.startswith(b"HTTP/1.1 200"))
        except OSError:
            results.append(False)
        time.sleep(max(0.0, 0.5 - (time.monotonic() - started)))


results = []
prober = threading.Thread(target=probe, args=(results,))
slow = [open_slow(i) for i in range(args.count)]
prober.start()
next_report = time.monotonic() + 15
while time.monotonic() < stop_at:
    now = time.monotonic()
    for i, conn in enumerate(slow):
        if now < conn["next"]:
            continue
        try:
            conn["sock"].send(REQUEST[conn["sent"]:conn["sent"] + 1])
            conn["sent"] += 1
            conn["next"] = now + 5
        except (BlockingIOError, InterruptedError):
            conn["next"] = now + 0.5  # still connecting
        except OSError:
            drops += 1
            conn["sock"].close()
            slow[i] = open_slow(i)
    if now >= next_report:
        print(f"  t={args.seconds - (stop_at - now):4.0f}s: other client answered {sum(results)}/{len(results)}", flush=True)
        next_report += 15
    time.sleep(0.05)
prober.join()
for conn in slow:
    conn["sock"].close()
print(f"slow connections: {args.count} from {args.addresses} addresses, dropped by the server {drops} times")
print(f"other client: {sum(results)} of {len(results)} requests answered 200")
