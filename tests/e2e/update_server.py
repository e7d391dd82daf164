"""A loopback HTTP server standing for the maker's update server in the scenarios.

It listens on 127.0.0.1 at a port the system picks, serves the files it is given under
/download/, records every request, and can be told to take the connection for a file
and never answer, or to send a file's body slowly. Given a TLS context it speaks https
under the name "localhost"; the context can be swapped between two checks.

ForwardProxy is a loopback HTTP proxy that records the requests it passes on.
"""

import http.client
import http.server
import threading
import time
import urllib.parse

SLOW_PIECES = 20


class UpdateServer:
    def __init__(self, files, silent=(), slow=None, tls=None):
        """files: {name: bytes} served under /download/; silent: names never answered;
        slow: {name: seconds} over which the body of a GET is spread; tls: an
        ssl.SSLContext for https."""
        self.tls = tls
        self.files = dict(files)
        self.silent = set(silent)
        self.slow = dict(slow or {})
        self.requests = []  # (method, path, headers as a dict)
        self._release = threading.Event()
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_HEAD(self):
                self._answer(with_body=False)

            def do_GET(self):
                self._answer(with_body=True)

            def _answer(self, with_body):
                server.requests.append((self.command, self.path, dict(self.headers)))
                name = self.path.rsplit("/", 1)[-1]
                if name in server.silent:
                    # Keeps the connection and says nothing until the scenario ends.
                    server._release.wait()
                    self.close_connection = True
                    return
                body = server.files.get(name) if self.path.startswith("/download/") else None
                if body is None:
                    self.send_error(404)
                    return
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Content-Type", "application/octet-stream")
                self.end_headers()
                if not with_body:
                    return
                if name not in server.slow:
                    self.wfile.write(body)
                    return
                piece = -(-len(body) // SLOW_PIECES)
                for start in range(0, len(body), piece):
                    self.wfile.write(body[start:start + piece])
                    self.wfile.flush()
                    time.sleep(server.slow[name] / SLOW_PIECES)

            def log_message(self, *args):
                pass

        class Server(http.server.ThreadingHTTPServer):
            def get_request(self):
                sock, address = super().get_request()
                if server.tls is None:
                    return sock, address
                # The handshake happens on the handler's thread, at its first read: a
                # client that refuses the certificate holds up nothing else.
                return server.tls.wrap_socket(sock, server_side=True,
                                              do_handshake_on_connect=False), address

            def handle_error(self, request, client_address):
                pass  # a refused certificate ends the connection; that is the point

        self._httpd = Server(("127.0.0.1", 0), Handler)
        self._httpd.daemon_threads = True
        self._thread = threading.Thread(target=self._httpd.serve_forever, daemon=True)
        self._thread.start()

    @property
    def base_url(self):
        if self.tls is not None:
            return f"https://localhost:{self._httpd.server_address[1]}/download/"
        return f"http://127.0.0.1:{self._httpd.server_address[1]}/download/"

    def paths(self, method=None):
        return [path for m, path, _ in self.requests if method in (None, m)]

    def release(self):
        """The silent requests end: their connections close without an answer."""
        self._release.set()

    def close(self):
        self._release.set()
        self._httpd.shutdown()
        self._httpd.server_close()


class ForwardProxy:
    """A plain HTTP proxy on the loopback: takes requests in absolute form, passes them on
    and the replies back, and records (method, url) of each. It listens on 127.0.0.2: Wine
    sends a request in absolute form only when the proxy's host name differs from the
    server's, which is 127.0.0.1."""

    def __init__(self):
        self.requests = []
        proxy = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_HEAD(self):
                self._pass_on()

            def do_GET(self):
                self._pass_on()

            def _pass_on(self):
                proxy.requests.append((self.command, self.path))
                target = urllib.parse.urlsplit(self.path)
                if target.scheme != "http":
                    self.send_error(400)
                    return
                upstream = http.client.HTTPConnection(target.hostname, target.port, timeout=30)
                path = target.path + (f"?{target.query}" if target.query else "")
                headers = {k: v for k, v in self.headers.items()
                           if k.lower() not in ("proxy-connection", "connection")}
                upstream.request(self.command, path, headers=headers)
                reply = upstream.getresponse()
                body = reply.read()
                self.send_response(reply.status)
                for name, value in reply.getheaders():
                    if name.lower() not in ("connection", "transfer-encoding"):
                        self.send_header(name, value)
                self.end_headers()
                if self.command != "HEAD":
                    self.wfile.write(body)
                upstream.close()

            def log_message(self, *args):
                pass

        self._httpd = http.server.ThreadingHTTPServer(("127.0.0.2", 0), Handler)
        self._httpd.daemon_threads = True
        threading.Thread(target=self._httpd.serve_forever, daemon=True).start()

    @property
    def address(self):
        return f"127.0.0.2:{self._httpd.server_address[1]}"

    def close(self):
        self._httpd.shutdown()
        self._httpd.server_close()
