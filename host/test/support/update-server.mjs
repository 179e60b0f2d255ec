// An update server on the loopback interface with a real generic feed, as
// electron-builder publishes one for Linux: latest-linux.yml naming an
// AppImage with its sha512 and size, and the AppImage itself. The tests turn
// its faults on and off: a missing or broken feed, a server error, a slow
// download, a connection dropped half-way, a file that does not match its
// checksum, and no server at all.
import { createHash } from "node:crypto";
import { createServer } from "node:http";

/** Bytes of a release's AppImage: the same for the same version, different for another. */
function payload(version, size) {
  const bytes = Buffer.alloc(size);
  const seed = createHash("sha256").update(version).digest();
  for (let i = 0; i < size; i++) bytes[i] = seed[i % seed.length] ^ (i >> 8);
  return bytes;
}

/**
 * Starts the server. Its settings may be changed between requests:
 *
 * - `feed`: "ok", "missing" (404), "server-error" (500) or "garbled" (not YAML)
 * - `bytesPerSecond`: the download's pace (Infinity: as fast as the socket takes it)
 * - `dropAfter`: the connection is destroyed after this many bytes of the file
 * - `corrupt`: the file served differs from its checksum in one byte
 *
 * @returns {Promise<UpdateServer>}
 */
export async function startUpdateServer() {
  const server = new UpdateServer();
  await server.listen();
  return server;
}

class UpdateServer {
  feed = "ok";
  bytesPerSecond = Infinity;
  dropAfter = Infinity;
  corrupt = false;
  /** Paths requested, in order. */
  requests = [];
  #release;
  #http = createServer((request, response) => this.#answer(request, response));
  #sockets = new Set();

  async listen() {
    this.#http.on("connection", (socket) => {
      this.#sockets.add(socket);
      socket.on("close", () => this.#sockets.delete(socket));
    });
    await new Promise((resolve) => this.#http.listen(0, "127.0.0.1", resolve));
    this.port = this.#http.address().port;
    this.url = `http://127.0.0.1:${this.port}/`;
  }

  /** Publishes a release of `size` bytes: the feed names it from now on. */
  publish(version, { size = 256 * 1024 } = {}) {
    const bytes = payload(version, size);
    const sha512 = createHash("sha512").update(bytes).digest("base64");
    const file = `Tessary-${version}.AppImage`;
    const feed =
      `version: ${version}\nfiles:\n  - url: ${file}\n    sha512: ${sha512}\n    size: ${size}\n` +
      `path: ${file}\nsha512: ${sha512}\nreleaseDate: '2025-06-02T09:30:00.000Z'\n`;
    this.#release = { version, file, bytes, feed };
  }

  /** Stops answering: connections are refused from now on. */
  async close() {
    for (const socket of this.#sockets) socket.destroy();
    await new Promise((resolve) => this.#http.close(resolve));
  }

  #answer(request, response) {
    const path = new URL(request.url, this.url).pathname;
    this.requests.push(path);
    const release = this.#release;
    if (path === "/latest-linux.yml") return this.#answerFeed(response, release);
    if (release !== undefined && path === `/${release.file}`) return this.#sendFile(response, release.bytes);
    response.writeHead(404, { "content-type": "text/plain" }).end("Not Found");
  }

  #answerFeed(response, release) {
    if (this.feed === "server-error") return response.writeHead(500, { "content-type": "text/plain" }).end("oops");
    if (this.feed === "missing" || release === undefined) {
      return response.writeHead(404, { "content-type": "text/plain" }).end("Not Found");
    }
    const body = this.feed === "garbled" ? "version: [2.0.0\nfiles: {" : release.feed;
    response.writeHead(200, { "content-type": "text/yaml" }).end(body);
  }

  // Sends the file in chunks at the set pace, with its length (which the
  // library needs for its progress), dropping or spoiling it when told to.
  #sendFile(response, original) {
    const bytes = Buffer.from(original);
    if (this.corrupt) bytes[bytes.length >> 1] ^= 0xff;
    response.writeHead(200, { "content-type": "application/octet-stream", "content-length": bytes.length });
    const chunk = 16 * 1024;
    const pauseMs = Number.isFinite(this.bytesPerSecond) ? (chunk / this.bytesPerSecond) * 1000 : 0;
    const dropAfter = this.dropAfter;
    let sent = 0;
    const next = () => {
      if (response.destroyed) return;
      if (sent >= dropAfter) return response.socket?.destroy();
      if (sent >= bytes.length) return response.end();
      const end = Math.min(sent + chunk, bytes.length, dropAfter);
      response.write(bytes.subarray(sent, end));
      sent = end;
      if (pauseMs > 0) setTimeout(next, pauseMs);
      else setImmediate(next);
    };
    next();
  }
}
