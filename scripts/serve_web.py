#!/usr/bin/env python3
"""Serves the browser build on 127.0.0.1 with the two headers that make the
page cross-origin isolated, so that it may share memory with its drawing
threads:
    serve_web.py DIR [PORT]          (PORT 0: any free port, printed)
    serve_web.py --plain DIR [PORT]  without them (the page then draws on one thread)
"""
import functools
import http.server
import sys

ISOLATION = {
    "Cross-Origin-Opener-Policy": "same-origin",
    "Cross-Origin-Embedder-Policy": "require-corp",
}


class Handler(http.server.SimpleHTTPRequestHandler):
    isolate = True
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript"}

    def end_headers(self):
        if self.isolate:
            for name, value in ISOLATION.items():
                self.send_header(name, value)
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass  # quiet: the page's own messages are what matter


def main(argv):
    isolate = "--plain" not in argv
    args = [a for a in argv if a != "--plain"]
    if not args or len(args) > 2:
        sys.exit(__doc__)
    directory, port = args[0], int(args[1]) if len(args) > 1 else 8000
    Handler.isolate = isolate
    handler = functools.partial(Handler, directory=directory)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"serving {directory} on port {server.server_address[1]}"
              f"{'' if isolate else ' (not cross-origin isolated)'}", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main(sys.argv[1:])
