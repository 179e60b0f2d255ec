// Records what the real electron-updater emits in each situation the module
// must handle, into test/fixtures/electron-updater-events.json, on which the
// unit tests play the module. Run it again after a change of the pinned
// version: `node test/support/record-updater-events.mjs` in host/.
//
// Each situation is a list of [event, ...arguments], errors as plain data
// (support/plain-values.mjs). Ports, temporary folders, this checkout's path,
// the feed's cache-busting query and the server's date are replaced by fixed
// ones, so that a new recording differs from the old one only where the
// library (or a stack's line numbers) does.
import { writeFileSync } from "node:fs";
import { fileURLToPath } from "node:url";

import { libraryVersion } from "./electron-stand-ins.mjs";
import { runWithDiskFault } from "./disk-faults.mjs";
import { plain } from "./plain-values.mjs";
import { updaterBench } from "./updater-bench.mjs";

const output = fileURLToPath(new URL("../fixtures/electron-updater-events.json", import.meta.url));
const hostFolder = fileURLToPath(new URL("../..", import.meta.url)).replace(/\/$/, "");

// The events from index `from` on, as plain data with the machine's details replaced.
function recorded(bench, from = 0) {
  const events = bench.events.slice(from).map(({ name, args }) => [name, ...args.map(plain)]);
  return normalized(JSON.stringify(events), bench);
}

function normalized(text, bench) {
  let result = text
    .replaceAll(hostFolder, "/opt/tessary-host")
    .replace(/noCache=\w+/g, "noCache=1k9ehh000")
    .replace(/(\\"date\\": \\")[^\\]+/g, "$1Mon, 02 Jun 2025 09:30:00 GMT");
  if (bench !== undefined) {
    result = result.replaceAll(bench.folder, "/tmp/tessary-updater").replaceAll(`:${bench.server.port}`, ":8080");
  }
  return JSON.parse(result);
}

// One situation on a fresh bench: `play` drives it and returns the index of
// the first event to keep (0 by default).
async function situation(play, options) {
  const bench = await updaterBench(options);
  try {
    return recorded(bench, (await play(bench)) ?? 0);
  } finally {
    await bench.stop();
  }
}

async function downloaded(bench, size = 64 * 1024) {
  bench.server.publish("2.0.0", { size });
  await bench.check();
  return bench.events.length;
}

const situations = {
  // 1 MiB at 400 KiB/s: the library reports progress once a second, and at the end.
  update: (bench) => {
    bench.server.publish("2.0.0", { size: 1024 * 1024 });
    bench.server.bytesPerSecond = 400 * 1024;
    return bench.check().then(() => 0);
  },
  upToDate: (bench) => {
    bench.server.publish("1.4.2");
    return bench.check().then(() => 0);
  },
  recheckWhileOffered: async (bench) => {
    const from = await downloaded(bench);
    await bench.check();
    return from;
  },
  failedRecheckWhileOffered: async (bench) => {
    const from = await downloaded(bench);
    bench.server.feed = "missing";
    await bench.check();
    return from;
  },
  newerVersionLater: async (bench) => {
    const from = await downloaded(bench);
    bench.server.publish("2.1.0", { size: 64 * 1024 });
    await bench.check();
    return from;
  },
  cancelled: async (bench) => {
    bench.server.publish("2.0.0", { size: 1024 * 1024 });
    bench.server.bytesPerSecond = 400 * 1024;
    const check = await bench.updater.checkForUpdates();
    bench.updater.once("download-progress", () => check.cancellationToken.cancel());
    await check.downloadPromise.catch(() => {});
    return 0;
  },
  feedMissing: (bench) => bench.check().then(() => 0),
  serverError: (bench) => {
    bench.server.publish("2.0.0");
    bench.server.feed = "server-error";
    return bench.check().then(() => 0);
  },
  garbledFeed: (bench) => {
    bench.server.publish("2.0.0");
    bench.server.feed = "garbled";
    return bench.check().then(() => 0);
  },
  unreachable: async (bench) => {
    await bench.server.close();
    await bench.check();
    return 0;
  },
  interrupted: (bench) => {
    bench.server.publish("2.0.0", { size: 256 * 1024 });
    bench.server.dropAfter = 100 * 1024;
    return bench.check().then(() => 0);
  },
  damaged: (bench) => {
    bench.server.publish("2.0.0", { size: 256 * 1024 });
    bench.server.corrupt = true;
    return bench.check().then(() => 0);
  },
};

// Without autoDownload: the check, then the download the host asks for, recorded apart.
async function autoDownloadOff() {
  const bench = await updaterBench({ autoDownload: false });
  try {
    bench.server.publish("2.0.0", { size: 64 * 1024 });
    await bench.check();
    const checked = bench.events.length;
    await bench.updater.downloadUpdate();
    return {
      autoDownloadOffCheck: recorded(bench).slice(0, checked),
      autoDownloadOffDownload: recorded(bench, checked),
    };
  } finally {
    await bench.stop();
  }
}

const fixture = {
  recordedFrom: `electron-updater ${libraryVersion} (AppImageUpdater, generic feed on a loopback server)`,
  situations: {},
};
for (const [name, play] of Object.entries(situations)) fixture.situations[name] = await situation(play);
Object.assign(fixture.situations, await autoDownloadOff());
for (const [name, fault] of [
  ["noSpace", "no-space"],
  ["noPermission", "no-permission"],
]) {
  const run = runWithDiskFault(fault);
  if (run.unavailable) throw new Error(`${name}: ${run.unavailable}`);
  fixture.situations[name] = normalized(
    JSON.stringify(run.events).replace(/\/tmp\/tessary-[a-z-]+-\w{6}/g, "/tmp/tessary-cache"),
  );
}
writeFileSync(output, `${JSON.stringify(fixture, null, 2)}\n`);
console.log(`recorded ${Object.keys(fixture.situations).length} situations into ${output}`);
