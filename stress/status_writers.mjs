// Hosts that keep the status file up to date while a download runs, each
// writing a new version (a new byte count) every period:
//   in-place  rewrites the file where it is (truncate, write), as writeFile does
//   rename    writes a new file beside it and renames it over the old one
// Prints the number of versions written when done.
//
// Usage: node status_writers.mjs <in-place|rename> <status file> <seconds> <period ms>
import { renameSync, writeFileSync } from "node:fs";
import { setTimeout as sleep } from "node:timers/promises";

export const version = (index) =>
  JSON.stringify({
    checkedAt: 100,
    state: "downloading",
    latest: "2.4.0",
    downloaded: (index + 1) * 1_000_000,
    total: 1_000_000_000,
    progress: (index + 1) / 10,
  });

const writers = {
  "in-place": (path, text) => writeFileSync(path, text),
  rename: (path, text) => {
    writeFileSync(`${path}.next`, text);
    renameSync(`${path}.next`, path);
  },
};

if (process.argv[1] === new URL(import.meta.url).pathname) {
  const [mode, path, seconds, period] = process.argv.slice(2);
  const write = writers[mode];
  if (!write) throw new Error(`unknown writer ${mode}`);
  const start = Date.now();
  let written = 0;
  while (Date.now() - start < Number(seconds) * 1000) {
    write(path, version(written++));
    await sleep(start + written * Number(period) - Date.now());
  }
  console.log(JSON.stringify({ mode, period: Number(period), written }));
}
