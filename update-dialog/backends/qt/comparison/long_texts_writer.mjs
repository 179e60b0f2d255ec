// A host that writes long texts into the status file, for measure-long-texts.sh.
// Writes the first version at once, then a new one every `interval` ms (0: no
// more), each renamed into place, until it is ended.
//
//   node long_texts_writer.mjs <status file> <kind> <interval ms>
//
// Kinds: message-100k (a 100 KB stack trace whose first line counts the
// versions), marks (one letter carrying 50,000 combining marks, another letter
// each version), message-1m (almost 1 MiB of words), short (one short line).
import { renameSync, writeFileSync } from "node:fs";

const [path, kind, interval] = process.argv.slice(2);

function stackTrace(length, version) {
  const lines = [`Error #${version}: ENOSPC: no space left on device, write`];
  for (let frame = 0; lines.join("\n").length < length; frame++)
    lines.push(`    at stage${frame} (/opt/Tessary/resources/app.asar/updater/stage.js:${frame}:17)`);
  return lines.join("\n").slice(0, length);
}

const words = (length) => "lorem ipsum dolor sit amet ".repeat(Math.ceil(length / 27)).slice(0, length);

const messages = {
  "message-100k": (version) => stackTrace(100 * 1024, version),
  marks: (version) => "ae"[version % 2] + "\u0301".repeat(50000),
  // The file stays just under 1 MiB, the most a status file may hold.
  "message-1m": () => words(1024 * 1024 - 256),
  short: () => "Disk full",
};
const message = messages[kind];
if (!path || !message) throw new Error(`usage: long_texts_writer.mjs <status file> <${Object.keys(messages).join("|")}> <interval ms>`);

let version = 0;
function write() {
  const status = { checkedAt: Math.floor(Date.now() / 1000), state: "error", message: message(++version) };
  writeFileSync(`${path}.tmp`, JSON.stringify(status));
  renameSync(`${path}.tmp`, path);
}

write();
if (Number(interval) > 0) setInterval(write, Number(interval));
else process.exit(0);
