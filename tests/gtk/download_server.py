"""Local server for the download tests and benchmarks; run alone, it prints its pid and port and serves until killed.
/NAME.bin?size=N[&rate=B/s][&drop=N][&norange=1]: N pattern bytes with an ETag; a Range with the matching If-Range
unless norange; cut after `drop` bytes when asked from the start. /to-file redirects to file://; /path?file=F sends
F by sendfile; anything else is a 404 page."""
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
        if url.path.endswith(".bin"):
            return self.serve(int(query["size"]), query)
        if url.path == "/path":
            return self.serve(os.path.getsize(query["file"]), query, query["file"])
        if url.path == "/to-file":
            return self.reply(302, [("Location", "file:///etc/passwd"), ("Content-Length", "0")])
        self.reply(404, [("Content-Length", "3")], b"404")

    def reply(self, code, headers, body=b""):
        self.send_response(code)
        for header in headers:
            self.send_header(*header)
        self.end_headers()
        self.wfile.write(body)

    def serve(self, size, query, path=None):
        etag, wanted = '"%d"' % size, self.headers.get("Range", "")
        ranged = "norange" not in query and wanted.startswith("bytes=") and self.headers.get("If-Range") == etag
        start = min(int(wanted[6:-1]), size) if ranged else 0
        headers = [("Content-Type", "application/octet-stream"), ("Content-Length", str(size - start)), ("ETag", etag)]
        ranges = [("Content-Range", "bytes %d-%d/%d" % (start, size - 1, size))] if start else []
        self.reply(206 if start else 200, headers + ranges)
        if path:
            with open(path, "rb") as f:
                while start < size:
                    start += os.sendfile(self.connection.fileno(), f.fileno(), start, size - start) or size
            return
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
