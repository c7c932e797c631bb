#!/usr/bin/env python3
"""Serves a folder over HTTP/1.0 on 127.0.0.1 for Tovali Explorer.

    python3 site/serve.py --port 8470 --root site [--log FILE] [--port-file FILE]
                          [--cert CHAIN.pem --key KEY.pem]

Every file below the root is served; ".php3" pages go out as text/html, so the
sample home site works without PHP. The query string is ignored when the file
is looked up. A folder is answered with its "index.html". A missing file gets
a page titled "404 Not Found".

--log FILE       appends one line per request, written and flushed as soon as
                 the request line and headers have arrived:
                 METHOD <TAB> TARGET-WITH-QUERY <TAB> HOST-HEADER-OR-"-"
--port 0         takes any free port; --port-file FILE then receives the port
                 number once the server accepts connections.
--cert, --key    serve HTTPS instead, with this certificate chain and key
                 (PEM files), to try https:// configuration sites.

A file "NAME.headers" beside "NAME" changes its answer (the tests use this):
each line "Header: value" is sent with the answer, except three that only
steer the server: "Status: 302" sets the status code, "Delay-Ms: 1500" waits
that long before answering, and "Tls-End: none" (over HTTPS) drops the
connection after the answer without ending TLS properly, as a connection cut
by someone on the way would look. ".headers" files themselves are never served.
"""

import argparse
import http.server
import os
import posixpath
import ssl
import sys
import threading
import time
import urllib.parse

CONTENT_TYPES = {
    ".html": "text/html; charset=utf-8",
    ".htm": "text/html; charset=utf-8",
    ".php3": "text/html; charset=utf-8",
    ".txt": "text/plain; charset=utf-8",
    ".dat": "text/plain; charset=utf-8",
    ".md": "text/plain; charset=utf-8",
    ".css": "text/css",
    ".js": "text/javascript",
    ".json": "application/json",
    ".png": "image/png",
    ".gif": "image/gif",
    ".jpg": "image/jpeg",
    ".jpeg": "image/jpeg",
    ".svg": "image/svg+xml",
    ".ico": "image/x-icon",
    ".wav": "audio/wav",
    ".ogg": "audio/ogg",
}

NOT_FOUND_PAGE = (
    b"<html><head><title>404 Not Found</title></head>"
    b"<body><h1>404 Not Found</h1><p>There is no such page here.</p></body></html>\r\n"
)


class RequestLog:
    """One line per request, flushed at once; safe across handler threads."""

    def __init__(self, path):
        self._lock = threading.Lock()
        self._file = open(path, "a", encoding="utf-8", newline="\n") if path else None

    def write(self, method, target, host):
        if self._file is None:
            return
        clean = [s.replace("\t", " ").replace("\r", " ").replace("\n", " ") for s in (method, target, host)]
        with self._lock:
            self._file.write("\t".join(clean) + "\n")
            self._file.flush()


def read_sidecar(path):
    """Returns (status, delay_ms, tls_end, [(name, value)]) from "path.headers", if any."""
    status, delay_ms, tls_end, headers = 200, 0, True, []
    try:
        with open(path + ".headers", encoding="utf-8") as f:
            lines = f.read().splitlines()
    except OSError:
        return status, delay_ms, tls_end, headers
    for line in lines:
        name, sep, value = line.partition(":")
        if not sep:
            continue
        name, value = name.strip(), value.strip()
        if name.lower() == "status" and value.isdigit():
            status = int(value)
        elif name.lower() == "delay-ms" and value.isdigit():
            delay_ms = min(int(value), 60000)
        elif name.lower() == "tls-end":
            tls_end = value.lower() != "none"
        else:
            headers.append((name, value))
    return status, delay_ms, tls_end, headers


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    def version_string(self):
        return "TovaliSampleServer/1.0"

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        pass  # the request log below replaces the default stderr chatter

    def do_GET(self):
        self._answer(with_body=True)

    tls_end = True

    def finish(self):
        super().finish()
        if isinstance(self.connection, ssl.SSLSocket) and self.tls_end:
            # End TLS properly (close_notify), so the client knows the
            # answer is complete rather than cut off.
            try:
                self.connection.unwrap()
            except (OSError, ValueError):
                pass

    def do_HEAD(self):
        self._answer(with_body=False)

    def do_POST(self):
        self._answer(with_body=True)

    def _answer(self, with_body):
        self.server.request_log.write(self.command, self.path, self.headers.get("Host", "-"))
        path = self._file_for(self.path)
        if path is None or path.endswith(".headers") or not os.path.isfile(path):
            self._send(404, "text/html; charset=utf-8", NOT_FOUND_PAGE, [], with_body)
            return
        try:
            with open(path, "rb") as f:
                body = f.read()
        except OSError:
            self._send(404, "text/html; charset=utf-8", NOT_FOUND_PAGE, [], with_body)
            return
        status, delay_ms, self.tls_end, extra = read_sidecar(path)
        if delay_ms:
            time.sleep(delay_ms / 1000.0)
        ctype = CONTENT_TYPES.get(os.path.splitext(path)[1].lower(), "application/octet-stream")
        self._send(status, ctype, body, extra, with_body)

    def _file_for(self, target):
        """Maps a request target (origin or absolute form) to a file below the root."""
        parts = urllib.parse.urlsplit(target)
        rel = urllib.parse.unquote(parts.path or "/")
        rel = posixpath.normpath("/" + rel.lstrip("/"))
        if "\x00" in rel:
            return None
        full = os.path.join(self.server.root, *[p for p in rel.split("/") if p and p != ".."])
        if os.path.isdir(full):
            full = os.path.join(full, "index.html")
        return full

    def _send(self, status, ctype, body, extra, with_body):
        try:
            self.send_response(status)
            names = {n.lower() for n, _ in extra}
            if "content-type" not in names:
                self.send_header("Content-Type", ctype)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Cache-Control", "no-store")
            for name, value in extra:
                self.send_header(name, value)
            self.end_headers()
            if with_body:
                self.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the browser went away (a stopped load); nothing to do


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        # A client that refuses the certificate or hangs up is no server fault.
        if isinstance(sys.exc_info()[1], (ssl.SSLError, ConnectionError)):
            return
        super().handle_error(request, client_address)


def main(argv):
    parser = argparse.ArgumentParser(description="Serve a folder on 127.0.0.1 over HTTP/1.0.")
    parser.add_argument("--port", type=int, default=8470)
    parser.add_argument("--root", default=os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--log", help="append one line per request to this file")
    parser.add_argument("--port-file", help="write the port in use to this file once listening")
    parser.add_argument("--cert", help="serve HTTPS with this PEM certificate chain")
    parser.add_argument("--key", help="the PEM private key of --cert")
    args = parser.parse_args(argv)

    root = os.path.abspath(args.root)
    if not os.path.isdir(root):
        print(f"serve.py: no such folder: {root}", file=sys.stderr)
        return 2
    try:
        server = Server(("127.0.0.1", args.port), Handler)
    except OSError as e:
        print(f"serve.py: cannot listen on 127.0.0.1:{args.port}: {e.strerror}", file=sys.stderr)
        return 1
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        try:
            context.load_cert_chain(args.cert, args.key)
        except (OSError, ssl.SSLError) as e:
            print(f"serve.py: cannot use {args.cert}: {e}", file=sys.stderr)
            return 2
        # The handshake happens in the handler's thread, on its first read.
        server.socket = context.wrap_socket(server.socket, server_side=True,
                                            do_handshake_on_connect=False)
    server.root = root
    server.request_log = RequestLog(args.log)
    port = server.server_address[1]
    if args.port_file:
        tmp = args.port_file + ".tmp"
        with open(tmp, "w", encoding="ascii") as f:
            f.write(f"{port}\n")
        os.replace(tmp, args.port_file)  # appears whole, never half-written
    scheme = "https" if args.cert else "http"
    print(f"Serving {root} at {scheme}://127.0.0.1:{port}/", file=sys.stderr, flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
