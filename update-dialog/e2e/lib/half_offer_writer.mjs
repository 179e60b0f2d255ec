// A careless host, as a process of its own: it rewrites the status file in
// place, without truncating, alternating two versions of the same length, each
// written as two writes 2 ms apart split at byte 26. Half way through, the file
// reads as an offer that neither version holds.
//
// The dialog's reading rule holds for hosts that finish each version within
// 50 ms; on a loaded machine this writer may be held up longer, so it reports
// its slowest version: one JSON line, {"versions": n, "slowestMs": t}.
//
// Usage: node half_offer_writer.mjs <status file> <seconds>
import { closeSync, openSync, writeSync } from "node:fs";

export const versions = [
  '{"checkedAt":100,"state":"verifying","k":"error"}',
  '{"checkedAt":100,"hint":"xavailable","k":"error"}',
].map((text) => Buffer.from(text));
export const split = 26;

const pause = (ms) => Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, ms);

if (process.argv[1] === new URL(import.meta.url).pathname) {
  const [path, seconds] = process.argv.slice(2);
  const file = openSync(path, "r+");
  const end = Date.now() + Number(seconds) * 1000;
  let written = 0;
  let slowest = 0;
  for (let next = 1; Date.now() < end; next = 1 - next) {
    const version = versions[next];
    const start = performance.now();
    writeSync(file, version, 0, split, 0);
    pause(2);
    writeSync(file, version, split, version.length - split, split);
    slowest = Math.max(slowest, performance.now() - start);
    written++;
    pause(2);
  }
  writeSync(file, versions[0], 0, versions[0].length, 0);
  closeSync(file);
  console.log(JSON.stringify({ versions: written, slowestMs: Math.round(slowest * 10) / 10 }));
}
