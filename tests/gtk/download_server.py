"""Local server for download tests and benchmarks (run alone: prints pid and port). /NAME.bin?size=N[&rate=B/s]
[&drop=N][&norange=1]: pattern bytes, ETag, Range; /path?file=F: F by sendfile; /to-file: redirect to file://."""
import http.server
import os
import threading
import time
import urllib.parse

BLOCK = bytes(range(251)) * 4200  # a prime period, so no chunk aligns with it; longer than any chunk


def pattern(start, end):
    return BLOCK[start % 251:start % 251 + end - start]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        url = urllib.parse.urlparse(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        if url.path.endswith(".bin") or "file" in query:
            return self.serve(int(query["size"]) if "size" in query else os.path.getsize(query["file"]), query)
        moved = url.path == "/to-file"
        self.send_response(302 if moved else 404)
        self.send_header("Location", "file:///etc/passwd")
        self.send_header("Content-Length", "3")
        self.end_headers()
        self.wfile.write(b"404")

    def serve(self, size, query):
        etag, wanted = '"%d"' % size, self.headers.get("Range", "")
        ranged = "norange" not in query and wanted.startswith("bytes=") and self.headers.get("If-Range") == etag
        start = min(int(wanted[6:-1]), size) if ranged else 0
        self.send_response(206 if start else 200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size - start))
        self.send_header("ETag", etag)
        if start:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, size - 1, size))
        self.end_headers()
        if "file" in query:
            with open(query["file"], "rb") as f:
                while start < size:
                    start += os.sendfile(self.connection.fileno(), f.fileno(), start, size - start) or size
        rate, began, first = int(query.get("rate", 0)), time.monotonic(), start
        drop = 0 if wanted else int(query.get("drop", 0))
        while start < size:
            end = min(size, start + (16384 if rate else 1 << 20), drop or size)
            self.wfile.write(pattern(start, end))
            if end == drop:
                return self.connection.shutdown(2)
            start = end
            time.sleep(max(0, (start - first) / rate - (time.monotonic() - began)) if rate else 0)


class Server(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        pass  # clients that hang up (a pause, a cancel, the engine) are part of the tests


def start():
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


if __name__ == "__main__":
    print(os.getpid(), start().server_address[1], flush=True)
    threading.Event().wait()
