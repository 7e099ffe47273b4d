#!/usr/bin/env python3
"""Hostile peers against a hosting copy of the program, with figures to compare builds.

Runs the program (offscreen, in a scratch folder) and attacks its port 7772 over loopback:

  race N            N host starts with a peer looping connect(): how often the peer wins seat 1
  nonreader SECS    a logged-in peer that never reads while another sends 60 KB relays:
                    the host's resident memory over time, and whether the non-reader is dropped
  flood K           K connections that never log in keep the host's queue full of bare 0xFF
                    bytes: how long a newcomer's login takes
  longlines SECS    a peer sends eight 15 KB chat lines a second: the host's CPU use
  relogin SECS      a peer logs in again 40 times a second with 60 KB names: the host's resident
                    memory, and how long an honest chat line then takes to come back
  spyflood N        a host of our own sends a joining copy N announcements of a spectator, then
                    a new seat number: how long the joiner takes to answer, and its memory

Port 7772 is fixed, so run it where nothing else uses it, e.g.
  unshare -n sh -c 'ip link set lo up; bench/hostile/hostile.py --program build/plimb race 10'
"""
import argparse
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

PORT = 7772
FF = b"\xff"


class Host:
    def __init__(self, program, display, args=("Ann", "127.0.0.1", "true")):
        self.dir = tempfile.mkdtemp(prefix="plimb-bench-")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", DISPLAY=":" + display, PLIMB_DATA_DIR=self.dir)
        env.pop("WAYLAND_DISPLAY", None)
        self.proc = subprocess.Popen([os.path.abspath(program), *args], cwd=self.dir,
                                     env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait_listening(self, patience=15):
        deadline = time.time() + patience
        while time.time() < deadline:
            with open("/proc/net/tcp") as f:
                if any(l.split()[1].endswith(":%04X" % PORT) and l.split()[3] == "0A" for l in f.readlines()[1:]):
                    return True
            time.sleep(0.02)
        return False

    def rss_mb(self):
        with open("/proc/%d/status" % self.proc.pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
        return 0

    def cpu_seconds(self):
        with open("/proc/%d/stat" % self.proc.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


class Peer:
    def __init__(self, rcvbuf=0):
        self.sock = socket.socket()
        if rcvbuf:
            self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, rcvbuf)
        self.sock.connect(("127.0.0.1", PORT))
        self.tail = b""

    def next(self, timeout=10):
        self.sock.settimeout(timeout)
        while FF not in self.tail:
            try:
                data = self.sock.recv(65536)
            except (socket.timeout, OSError):
                return None
            if not data:
                return None
            self.tail += data
        message, self.tail = self.tail.split(FF, 1)
        return message.decode("latin-1")

    def wait_for(self, prefix, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            m = self.next(max(0.01, deadline - time.time()))
            if m is None:
                return None
            if m.startswith(prefix):
                return m
        return None

    def login(self, name):
        seat = int(self.next().split("+")[1])
        self.sock.sendall(b"CMD_logininfo+%d+1.0.5+%s\xff\xff" % (seat, name.encode()))
        return seat

    def drain(self):
        self.sock.settimeout(0)
        try:
            while self.sock.recv(1 << 20):
                pass
        except (BlockingIOError, OSError):
            pass


def race(args):
    # The racer is a small C program: an interpreter's connect() loop is too slow to ever win.
    build = tempfile.mkdtemp(prefix="plimb-racer-")
    racer = os.path.join(build, "racer")
    subprocess.run(["cc", "-O2", "-o", racer, os.path.join(os.path.dirname(__file__), "racer.c")], check=True)
    won = 0
    for attempt in range(args.n):
        proc = subprocess.Popen([racer], stdout=subprocess.PIPE, text=True)
        time.sleep(0.05)
        host = Host(args.program, "bench-race")
        first = proc.communicate()[0].strip()
        seat = int(first.split("+")[1]) if first.startswith("CMD_sendlogininfo+") else 0
        won += seat == 1
        print("attempt %d: the racer got seat %d" % (attempt + 1, seat))
        host.stop()
    shutil.rmtree(build, ignore_errors=True)
    print("racer won seat 1 in %d of %d starts" % (won, args.n))


def nonreader(args):
    host = Host(args.program, "bench-nonreader")
    host.wait_listening()
    time.sleep(0.5)
    eater = Peer()
    eater.login("Eater")
    talker = Peer()
    talker.login("Talker")
    big = b"CMD_chat+3+" + b"w" * 16000 + b"|clBlack\xff"
    start = time.time()
    print("t=0s host RSS %.0f MB" % host.rss_mb())
    dropped = None
    next_report = 10
    while time.time() - start < args.seconds:
        talker.sock.sendall(big)
        time.sleep(0.01)
        talker.sock.settimeout(0)
        try:
            talker.tail += talker.sock.recv(1 << 22)
        except (BlockingIOError, OSError):
            pass
        if dropped is None and b"CMD_playerdisconnected+2+Eater" in talker.tail:
            dropped = time.time() - start
        talker.tail = talker.tail[-64:]
        if time.time() - start >= next_report:
            print("t=%ds host RSS %.0f MB" % (next_report, host.rss_mb()))
            next_report += 10
    print("host RSS after %ds: %.0f MB; non-reader %s" % (
        args.seconds, host.rss_mb(), "dropped after %.1fs" % dropped if dropped is not None else "still connected"))
    host.stop()


def flood(args):
    host = Host(args.program, "bench-flood")
    host.wait_listening()
    time.sleep(0.5)
    stop = threading.Event()
    flooders = []
    for _ in range(args.k):
        p = Peer()
        p.next()
        flooders.append(p)

    def keep_full(p):
        # 990 bare terminators, then a trickle that stays below what the host takes, so that a
        # host which closes a connection with 1000 requests waiting never closes this one.
        try:
            p.sock.sendall(FF * 990)
            while not stop.is_set():
                p.sock.sendall(FF)
                time.sleep(0.2)
        except OSError:
            pass

    threads = [threading.Thread(target=keep_full, args=(p,)) for p in flooders]
    for t in threads:
        t.start()
    time.sleep(1)
    t0 = time.time()
    newcomer = Peer()
    first = newcomer.next(120)
    if first and first.startswith("CMD_sendlogininfo+"):
        seat = int(first.split("+")[1])
        newcomer.sock.sendall(b"CMD_logininfo+%d+1.0.5+Cy\xff\xff" % seat)
        ok = newcomer.wait_for("CMD_newplayerinfo+%d+Cy" % seat, 180)
        print("%d silent flooder(s): the newcomer's login took %.2fs%s" % (
            args.k, time.time() - t0, "" if ok else " (never answered)"))
    else:
        print("%d silent flooder(s): the newcomer got %r" % (args.k, first))
    stop.set()
    for t in threads:
        t.join()
    host.stop()


def longlines(args):
    host = Host(args.program, "bench-longlines")
    host.wait_listening()
    time.sleep(0.5)
    peer = Peer()
    seat = peer.login("Long")
    line = b"CMD_chat+%d+" % seat + b"word " * 3000 + b"|clBlack\xff"
    cpu0, t0 = host.cpu_seconds(), time.time()
    sent = 0
    while time.time() - t0 < args.seconds:
        for _ in range(8):
            try:
                peer.sock.sendall(line)
                sent += 1
            except OSError:
                break
        peer.drain()
        time.sleep(max(0, 1 - (time.time() - t0) % 1))
    cpu = (host.cpu_seconds() - cpu0) / (time.time() - t0) * 100
    print("%d chat lines of 15 KB in %ds: host CPU %.0f%%, RSS %.0f MB" % (sent, args.seconds, cpu, host.rss_mb()))
    host.stop()


def relogin(args):
    host = Host(args.program, "bench-relogin")
    host.wait_listening()
    time.sleep(0.5)
    observer = Peer()
    observer.login("Obs")
    peer = Peer()
    seat = peer.login("Rex")
    again = b"CMD_logininfo+%d+1.0.5+" % seat + b"r" * 60000 + FF
    print("t=0s host RSS %.0f MB" % host.rss_mb())
    t0 = time.time()
    while time.time() - t0 < args.seconds:
        for _ in range(40):
            peer.sock.sendall(again)
        observer.drain()
        peer.drain()
        time.sleep(max(0, 1 - (time.time() - t0) % 1))
    sent = time.time()
    observer.sock.sendall(b"CMD_chat+2+ping|clBlack\xff")
    ok = observer.wait_for("CMD_chat+Obs chats: ping", 600)
    print("%d s of 40 logins a second: host RSS %.0f MB; a chat line then took %.2f s%s" % (
        args.seconds, host.rss_mb(), time.time() - sent, "" if ok else " (never came back)"))
    host.stop()


def spyflood(args):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", PORT))
    listener.listen(5)
    joiner = Host(args.program, "bench-spyflood", ("Bob", "127.0.0.1", "join"))
    conn, _ = listener.accept()
    peer = Peer.__new__(Peer)
    peer.sock, peer.tail = conn, b""

    def answered(timeout):
        conn.sendall(b"CMD_sendlogininfo+2\xff")
        return peer.wait_for("CMD_logininfo+2+", timeout) is not None

    answered(60)
    before = joiner.rss_mb()
    t0 = time.time()
    conn.sendall(b"".join(b"CMD_newplayerinfo+3+x\xff" for _ in range(args.n)))
    ok = answered(600)
    print("%d spy announcements: the joiner answered after %.2f s%s; RSS %.0f -> %.0f MB" % (
        args.n, time.time() - t0, "" if ok else " (never)", before, joiner.rss_mb()))
    joiner.stop()
    conn.close()
    listener.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", default="build/plimb")
    sub = parser.add_subparsers(dest="cmd", required=True)
    sub.add_parser("race").add_argument("n", type=int, nargs="?", default=5)
    sub.add_parser("nonreader").add_argument("seconds", type=int, nargs="?", default=60)
    sub.add_parser("flood").add_argument("k", type=int, nargs="?", default=1)
    sub.add_parser("longlines").add_argument("seconds", type=int, nargs="?", default=20)
    sub.add_parser("relogin").add_argument("seconds", type=int, nargs="?", default=60)
    sub.add_parser("spyflood").add_argument("n", type=int, nargs="?", default=5000)
    args = parser.parse_args()
    commands = {"race": race, "nonreader": nonreader, "flood": flood, "longlines": longlines,
                "relogin": relogin, "spyflood": spyflood}
    commands[args.cmd](args)


if __name__ == "__main__":
    sys.exit(main())
