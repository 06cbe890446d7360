"""A local file server for the downloader's tests and benchmark.

Prints its port, then serves until stdin closes:
  /file?size=N[&rate=BYTES_PER_S][&drop=N][&norange=1]  N bytes of a fixed pattern,
      with an ETag and ranges (unless norange); drop closes the first answer
      after that many bytes; rate throttles
  /path?file=PATH     a file from disk through sendfile, with ranges
  /missing            404 with a body
  /to-file            a redirect to file:///etc/passwd
  /log                the Range and If-Range headers of every request so far
"""
import http.server
import os
import socketserver
import sys
import threading
import time
import urllib.parse

PATTERN_PERIOD = 251


def pattern(start, end):
    """Bytes start..end-1 of the endless pattern (a prime period: no block aligns)."""
    block = bytes((i * 7) % 256 for i in range(PATTERN_PERIOD))
    first = start % PATTERN_PERIOD
    reps = (end - start + first) // PATTERN_PERIOD + 2
    return (block * reps)[first:first + end - start]


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass  # a client that hung up (a pause, a cancel) is part of the tests


log = []
dropped = set()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        url = urllib.parse.urlparse(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        log.append("%s range=%s if-range=%s" % (url.path, self.headers.get("Range", ""),
                                                 self.headers.get("If-Range", "")))
        if url.path == "/log":
            return self.reply(200, "\n".join(log).encode())
        if url.path == "/missing":
            return self.reply(404, b"<html>not here</html>")
        if url.path == "/to-file":
            self.send_response(302)
            self.send_header("Location", "file:///etc/passwd")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if url.path in ("/file", "/file.bin"):
            return self.serve_pattern(int(query["size"]), query)
        if url.path == "/path":
            return self.serve_path(query["file"])
        return self.reply(404, b"")

    def reply(self, code, body):
        self.send_response(code)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def requested_start(self, size, etag, ranges=True):
        wanted = self.headers.get("Range", "")
        if not ranges or not wanted.startswith("bytes=") or not wanted.endswith("-"):
            return 0
        if self.headers.get("If-Range") not in (None, etag):
            return 0
        start = int(wanted[6:-1])
        return start if start < size else 0

    def head(self, start, size, etag, ranges):
        if start:
            self.send_response(206)
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, size - 1, size))
        else:
            self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size - start))
        self.send_header("ETag", etag)
        if ranges:
            self.send_header("Accept-Ranges", "bytes")
        self.end_headers()

    def serve_pattern(self, size, query):
        etag = '"p%d"' % size
        ranges = "norange" not in query
        start = self.requested_start(size, etag, ranges)
        self.head(start, size, etag, ranges)
        rate = int(query.get("rate", 0))
        drop = int(query.get("drop", 0))
        key = self.path
        chunk = 16384 if rate else 1 << 20
        position = start
        began = time.monotonic()
        while position < size:
            end = min(size, position + chunk)
            if drop and key not in dropped and end >= drop:
                dropped.add(key)
                self.wfile.write(pattern(position, drop))
                self.wfile.flush()
                self.connection.shutdown(2)
                self.close_connection = True
                return
            self.wfile.write(pattern(position, end))
            position = end
            if rate:
                ahead = (position - start) / rate - (time.monotonic() - began)
                if ahead > 0:
                    time.sleep(ahead)

    def serve_path(self, path):
        size = os.path.getsize(path)
        etag = '"f%d"' % size
        start = self.requested_start(size, etag)
        self.head(start, size, etag, True)
        self.wfile.flush()
        with open(path, "rb") as f:
            offset = start
            while offset < size:
                sent = os.sendfile(self.connection.fileno(), f.fileno(), offset, size - offset)
                if sent == 0:
                    break
                offset += sent


def main():
    server = Server(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()
    server.shutdown()


if __name__ == "__main__":
    main()
