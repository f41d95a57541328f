"""A minimal DevTools-protocol client over a hand-made WebSocket (standard library only)."""
import base64
import json
import os
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import time


class WebSocket:
    def __init__(self, host, port, path):
        self.sock = socket.create_connection((host, port), timeout=30)
        key = base64.b64encode(os.urandom(16)).decode()
        request = (f"GET {path} HTTP/1.1\r\nHost: {host}:{port}\r\nUpgrade: websocket\r\n"
                   f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n")
        self.sock.sendall(request.encode())
        answer = b""
        while b"\r\n\r\n" not in answer:
            chunk = self.sock.recv(4096)
            if not chunk:
                raise RuntimeError("the browser closed the connection during the handshake")
            answer += chunk
        head, self.pending = answer.split(b"\r\n\r\n", 1)
        if b" 101 " not in head.split(b"\r\n")[0]:
            raise RuntimeError("no WebSocket upgrade: " + head.decode(errors="replace"))

    def send(self, text):
        payload = text.encode()
        mask = os.urandom(4)
        header = bytes([0x81])
        if len(payload) < 126:
            header += bytes([0x80 | len(payload)])
        elif len(payload) < 65536:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(payload))
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", len(payload))
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        self.sock.sendall(header + mask + masked)

    def _read(self, count):
        while len(self.pending) < count:
            chunk = self.sock.recv(1 << 16)
            if not chunk:
                raise RuntimeError("the browser closed the connection")
            self.pending += chunk
        data, self.pending = self.pending[:count], self.pending[count:]
        return data

    def receive(self):
        message = b""
        while True:
            first, second = self._read(2)
            length = second & 0x7F
            if length == 126:
                length = struct.unpack(">H", self._read(2))[0]
            elif length == 127:
                length = struct.unpack(">Q", self._read(8))[0]
            payload = self._read(length)
            opcode = first & 0x0F
            if opcode == 8:
                raise RuntimeError("the browser closed the WebSocket")
            if opcode in (0, 1, 2):
                message += payload
                if first & 0x80:
                    return message.decode()


class Browser:
    """Headless Chromium with its own profile, no network, one page attached."""

    def __init__(self, chromium="/usr/bin/chromium"):
        self.profile = tempfile.TemporaryDirectory(prefix="tarmio-chromium-")
        arguments = [chromium, "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--no-default-browser-check", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync", "--disable-extensions",
                     "--remote-debugging-port=0", f"--user-data-dir={self.profile.name}",
                     "--window-size=1280,900", "about:blank"]
        # A session of its own, so that closing ends its helper processes too.
        self.process = subprocess.Popen(
            arguments, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True
        )
        port_file = os.path.join(self.profile.name, "DevToolsActivePort")
        deadline = time.time() + 30
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if time.time() > deadline or self.process.poll() is not None:
                self.close()
                raise RuntimeError("Chromium did not start its DevTools endpoint")
            time.sleep(0.1)
        time.sleep(0.1)
        port, path = open(port_file).read().split()[:2]
        self.socket = WebSocket("127.0.0.1", int(port), path)
        self.next_id = 0
        self.events = []
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]

    def call(self, method, session=None, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        self.socket.send(json.dumps(message))
        while True:
            answer = json.loads(self.socket.receive())
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError(f"{method}: {answer['error']}")
                return answer.get("result", {})
            if "method" in answer:
                self.events.append(answer)

    def page(self, method, **params):
        return self.call(method, session=self.session, **params)

    def wait_for(self, method, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            for event in self.events:
                if event["method"] == method:
                    self.events.remove(event)
                    return event
            self.socket.sock.settimeout(max(0.1, deadline - time.time()))
            try:
                self.events.append(json.loads(self.socket.receive()))
            except socket.timeout:
                break
        raise RuntimeError(f"no {method} within {timeout} s")

    def evaluate(self, expression):
        result = self.page("Runtime.evaluate", expression=expression, returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def close(self):
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(self.process.pid, sig)
            except ProcessLookupError:
                break
            try:
                self.process.wait(10)
                break
            except subprocess.TimeoutExpired:
                continue
        # Helpers that outlive the browser by a moment may still be writing into the profile.
        for _ in range(50):
            try:
                self.profile.cleanup()
                return
            except OSError:
                time.sleep(0.1)
        shutil.rmtree(self.profile.name, ignore_errors=True)
