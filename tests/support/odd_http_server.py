#!/usr/bin/env python3
"""An HTTP server for the download tests that can misbehave, and an HTTP proxy.

Serves the files of --folder by the last segment of the path. A first segment "MODE:NAME" makes
the file NAME misbehave under that path:
  missing  answers 404
  short    declares 100 bytes more than it sends, then closes
  stall    sends the headers, then nothing until the client gives up
  html     answers 200 with an HTML error page instead of the file
  endless  answers 200 with no length and the file over and over, never ending
  huge     the same, declaring a length of a terabyte
  trickle  sends the file one byte a second
  gzip     sends the file gzip-compressed, with "Content-Encoding: gzip"
  labelled sends the file as it is, with "Content-Encoding: gzip"
  random   answers 200 with a megabyte of random bytes, the same on every run
A request for an absolute URL is taken as a proxy request: the URL is appended to --record and
the file is fetched from that URL directly. Host names under ".test" stand for 127.0.0.1, since
clients send no request for 127.0.0.1 itself through a proxy.

Binds to a free port on 127.0.0.1 and prints "Serving HTTP on 127.0.0.1 port N"; ends by itself
after --lifetime seconds, so that a test that dies leaves nothing running.
"""
import argparse
import gzip
import http.client
import itertools
import os
import random
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HTML_PAGE = (b"<!DOCTYPE html>\n<html><head><title>Sign in</title></head>\n"
             b"<body><p>Please sign in to continue.</p></body></html>\n")


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def answer(self, status, body, declared=None, encoding=None):
        length = len(body) if declared is None else declared
        self.stream(status, [body], length, encoding)

    def stream(self, status, chunks, length=None, encoding=None, pause=0):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        if length is not None:
            self.send_header("Content-Length", str(length))
        if encoding:
            self.send_header("Content-Encoding", encoding)
        self.end_headers()
        try:
            for chunk in chunks:
                self.wfile.write(chunk)
                self.wfile.flush()
                if self.server.stop.wait(pause):
                    break
        except OSError:
            pass  # the client gave up

    def do_GET(self):
        if self.path.startswith("http://"):
            self.forward()
            return
        segments = [s for s in urllib.parse.urlsplit(self.path).path.split("/") if s]
        mode, odd_name = (segments[0].split(":", 1) if segments and ":" in segments[0]
                          else ("", ""))
        name = segments[-1] if segments else ""
        path = os.path.join(self.server.folder, name)
        body = open(path, "rb").read() if name and os.path.isfile(path) else None
        if name == odd_name and mode == "missing" or body is None:
            self.answer(404, b"Not found\n")
        elif name == odd_name and mode == "short":
            self.answer(200, body, len(body) + 100)
        elif name == odd_name and mode == "stall":
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.flush()
            self.server.stop.wait(self.server.lifetime)
        elif name == odd_name and mode == "html":
            self.answer(200, HTML_PAGE)
        elif name == odd_name and mode in ("endless", "huge"):
            chunk = body * (1 + 65536 // max(len(body), 1))
            self.stream(200, itertools.repeat(chunk), 1 << 40 if mode == "huge" else None)
        elif name == odd_name and mode == "trickle":
            self.stream(200, [body[i:i + 1] for i in range(len(body))], len(body), pause=1)
        elif name == odd_name and mode in ("gzip", "labelled"):
            sent = gzip.compress(body, mtime=0) if mode == "gzip" else body
            self.answer(200, sent, encoding="gzip")
        elif name == odd_name and mode == "random":
            self.answer(200, random.Random(1).randbytes(1 << 20))
        else:
            self.answer(200, body)

    def forward(self):
        with open(self.server.record, "a") as record:
            record.write(self.path + "\n")
        url = urllib.parse.urlsplit(self.path)
        host = "127.0.0.1" if url.hostname.endswith(".test") else url.hostname
        origin = http.client.HTTPConnection(host, url.port or 80, timeout=10)
        origin.request("GET", url.path or "/")
        reply = origin.getresponse()
        self.answer(reply.status, reply.read())
        origin.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--record", default=os.devnull)
    parser.add_argument("--lifetime", type=float, default=120)
    options = parser.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.folder = options.folder
    server.record = options.record
    server.lifetime = options.lifetime
    server.stop = threading.Event()
    threading.Timer(options.lifetime, server.shutdown).start()
    print("Serving HTTP on 127.0.0.1 port %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    finally:
        server.stop.set()


if __name__ == "__main__":
    main()
