// What the status file's reading rule costs and what it prevents, against hosts
// writing the file while the dialog polls it:
//   - a host rewriting it in place every 100 ms: new versions shown per second
//     (target: at least 2);
//   - a host renaming a new version into place every 0.5 s: every version is
//     shown (target: all of them);
//   - a host rewriting it in place half a version at a time (two writes 2 ms
//     apart), where the half-written file reads as an offer: offers shown by the
//     dialog's core and by the real dialog on a virtual display, and install
//     requests (target: none).
// The dialog's core runs on the recording toolkit in real time (shown-versions).
//
// Usage: node reading_liveness.mjs <build folder> [seconds per host, default 30]
//        [hosts: in-place,rename,half-written (default all)]
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { writeFileSync } from "node:fs";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import { setTimeout as sleep } from "node:timers/promises";

import { RunningDialog } from "../update-dialog/e2e/lib/dialog.mjs";
import { versions } from "../update-dialog/e2e/lib/half_offer_writer.mjs";
import { temporaryFolder } from "../update-dialog/e2e/lib/status_file.mjs";
import { startXvfb } from "../update-dialog/e2e/lib/xserver.mjs";
import { version } from "./status_writers.mjs";

const [build, seconds = "30", only] = process.argv.slice(2);
const hosts = new Set(only ? only.split(",") : ["in-place", "rename", "half-written"]);
process.env.TESSARY_UPDATE = join(build, "update-dialog/backends/qt/Tessary Update");
const here = (file) => fileURLToPath(new URL(file, import.meta.url));

function run(program, args) {
  const child = spawn(program, args, { stdio: ["ignore", "pipe", "inherit"] });
  let out = "";
  child.stdout.on("data", (chunk) => (out += chunk));
  return new Promise((resolve, reject) =>
    child.on("close", (status) => {
      if (status !== 0) return reject(new Error(`${program} ${args.join(" ")} ended with ${status}`));
      const last = out.trim().split("\n").pop();
      resolve(last ? JSON.parse(last) : {});
    }),
  );
}

const watch = (status) => run(join(build, "stress/shown-versions"), [status, "0", seconds]);
const writer = (mode, status, period) => run(process.execPath, [here("status_writers.mjs"), mode, status, seconds, period]);

async function inPlaceEvery100Ms(folder) {
  const status = join(folder, "in-place.json");
  writeFileSync(status, version(0));
  const [written, shown] = await Promise.all([writer("in-place", status, "100"), watch(status)]);
  console.log(`in place every 100 ms: ${written.written} versions written, ${shown.newLooks} shown in ${seconds} s ` +
    `(${shown.newLooksPerSecond} a second; target at least 2)`);
  assert.ok(shown.newLooksPerSecond >= 2, "fewer than 2 new versions a second from an in-place writer");
}

async function renamedEveryHalfSecond(folder) {
  const status = join(folder, "renamed.json");
  writeFileSync(status, version(0));
  const [written, shown] = await Promise.all([writer("rename", status, "500"), watch(status)]);
  console.log(`renamed into place every 0.5 s: ${written.written} versions written, ` +
    `${shown.distinctLooks} distinct ones shown (target: every one)`);
  assert.ok(shown.distinctLooks >= written.written, "a version renamed into place was never shown");
}

// Half a version at a time, in place, watched by the core and by the real dialog.
async function halfWrittenOffers(folder, display) {
  const status = join(folder, "torn.json");
  writeFileSync(status, versions[0]);
  const dialog = new RunningDialog(display, [status, "2.3.1", "/nonexistent/icon.png", "0"]);
  await dialog.window();
  const written = run(process.execPath, [here("../update-dialog/e2e/lib/half_offer_writer.mjs"), status, seconds]);
  const shown = watch(status);
  let dialogOffers = 0;
  const end = Date.now() + Number(seconds) * 1000;
  while (Date.now() < end) {
    if ((await dialog.buttons()).length > 1) dialogOffers++;
    await sleep(100);
  }
  const { versions: count, slowestMs } = await written;
  const core = await shown;
  await dialog.clickButton(0);
  const requests = (await dialog.waitForExit()).stdout.length > 0 ? 1 : 0;
  console.log(`half-written offers for ${seconds} s (${count} versions written, the slowest in ${slowestMs} ms): ` +
    `the core accepted ${core.accepted} of ${core.passes} readings and showed ${core.offers} offers; ` +
    `the real dialog showed ${dialogOffers} and wrote ${requests} install requests (target: none)`);
  assert.equal(core.offers + dialogOffers + requests, 0, "a half-written file was shown as an offer");
}

const folder = temporaryFolder();
const server = await startXvfb();
try {
  if (hosts.has("in-place")) await inPlaceEvery100Ms(folder.path);
  if (hosts.has("rename")) await renamedEveryHalfSecond(folder.path);
  if (hosts.has("half-written")) await halfWrittenOffers(folder.path, server.display);
} finally {
  await server.stop();
  folder.remove();
}
