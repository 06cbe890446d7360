"""Local server for the download tests and benchmarks; prints its port (after its pid with --pid) and serves
until stdin closes (or, with --pid, until killed).
/NAME.bin?size=N[&rate=B/s][&drop=N][&norange=1]: N pattern bytes, ETag and ranges unless norange,
an answer from the start cut after `drop` bytes; /p.png a PNG; /to-file a redirect to file://; /path?file=F a
file by sendfile; /log the Range and If-Range of every request; anything else a 404 page."""
import http.server
import os
import sys
import threading
import time
import urllib.parse

PNG = bytes.fromhex("89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c4890000000d4944415478da63f8cfc0f0"
                    "1f00050001ff5a0b6a7b0000000049454e44ae426082")
BLOCK = bytes((i * 7) % 256 for i in range(251)) * 4096  # a prime period: no chunk aligns with it


def pattern(start, end):
    out = bytearray()
    while start < end:
        piece = BLOCK[start % 251:][:end - start]
        out += piece
        start += len(piece)
    return bytes(out)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    log = []

    def log_message(self, *args):
        pass

    def do_GET(self):
        url = urllib.parse.urlparse(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        self.log.append("%s range=%s if-range=%s" % (url.path, self.headers.get("Range", ""),
                                                      self.headers.get("If-Range", "")))
        if url.path == "/log":
            return self.reply(200, "text/plain", "\n".join(self.log).encode())
        if url.path == "/p.png":
            return self.reply(200, "image/png", PNG)
        if url.path == "/to-file":
            return self.reply(302, "text/plain", b"", [("Location", "file:///etc/passwd")])
        if url.path.endswith(".bin"):
            return self.serve(int(query["size"]), query, None)
        if url.path == "/path":
            return self.serve(os.path.getsize(query["file"]), query, query["file"])
        return self.reply(404, "text/html", b"<title>Not here</title>404")

    def reply(self, code, kind, body, headers=()):
        self.send_response(code)
        for name, value in [("Content-Type", kind), ("Content-Length", str(len(body))), *headers]:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def serve(self, size, query, path):
        etag, ranges = '"%d"' % size, "norange" not in query
        wanted = self.headers.get("Range", "")
        start = 0
        if ranges and wanted.startswith("bytes=") and self.headers.get("If-Range") in (None, etag):
            start = min(int(wanted[6:-1]), size)
        self.send_response(206 if start else 200)
        if start:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, size - 1, size))
        for name, value in [("Content-Type", "application/octet-stream"), ("Content-Length", str(size - start)),
                            ("ETag", etag)]:
            self.send_header(name, value)
        self.end_headers()
        if path:
            with open(path, "rb") as f:
                while start < size:
                    start += os.sendfile(self.connection.fileno(), f.fileno(), start, size - start) or size
            return
        rate, drop, began, first = int(query.get("rate", 0)), int(query.get("drop", 0)), time.monotonic(), start
        while start < size:
            end = min(size, start + (16384 if rate else 1 << 20))
            if drop and not wanted and end >= drop:
                self.wfile.write(pattern(start, drop))
                self.wfile.flush()
                self.connection.shutdown(2)
                self.close_connection = True
                return
            self.wfile.write(pattern(start, end))
            start = end
            if rate:
                time.sleep(max(0, (start - first) / rate - (time.monotonic() - began)))


class Server(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        pass  # clients that hang up (a pause, a cancel, the engine) are part of the tests


def start():
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


if __name__ == "__main__":
    port = start().server_address[1]
    if "--pid" in sys.argv:
        print(os.getpid(), port, flush=True)
        threading.Event().wait()
    print(port, flush=True)
    sys.stdin.read()
