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

const [build, seconds = "30"] = process.argv.slice(2);
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
const folder = temporaryFolder();
const server = await startXvfb();
try {
  // In place every 100 ms.
  const inPlace = join(folder.path, "in-place.json");
  writeFileSync(inPlace, version(0));
  const [inPlaceWriter, inPlaceShown] = await Promise.all([
    run(process.execPath, [here("status_writers.mjs"), "in-place", inPlace, seconds, "100"]),
    watch(inPlace),
  ]);
  console.log(`in place every 100 ms: ${inPlaceWriter.written} versions written, ` +
    `${inPlaceShown.newLooks} shown in ${seconds} s (${inPlaceShown.newLooksPerSecond} a second; target at least 2)`);

  // Renamed into place every 0.5 s.
  const renamed = join(folder.path, "renamed.json");
  writeFileSync(renamed, version(0));
  const [renameWriter, renameShown] = await Promise.all([
    run(process.execPath, [here("status_writers.mjs"), "rename", renamed, seconds, "500"]),
    watch(renamed),
  ]);
  console.log(`renamed into place every 0.5 s: ${renameWriter.written} versions written, ` +
    `${renameShown.distinctLooks} distinct ones shown (target: every one)`);

  // Half a version at a time, in place, watched by the core and the real dialog.
  const torn = join(folder.path, "torn.json");
  writeFileSync(torn, versions[0]);
  const dialog = new RunningDialog(server.display, [torn, "2.3.1", "/nonexistent/icon.png", "0"]);
  await dialog.window();
  const tornWriter = run(process.execPath, [here("../update-dialog/e2e/lib/half_offer_writer.mjs"), torn, seconds]);
  const tornShown = watch(torn);
  let dialogOffers = 0;
  const end = Date.now() + Number(seconds) * 1000;
  while (Date.now() < end) {
    if ((await dialog.buttons()).length > 1) dialogOffers++;
    await sleep(100);
  }
  await tornWriter;
  const core = await tornShown;
  await dialog.clickButton(0);
  const result = await dialog.waitForExit();
  const requests = result.stdout.length > 0 ? 1 : 0;
  console.log(`half-written offers for ${seconds} s: the core accepted ${core.accepted} of ${core.passes} ` +
    `readings and showed ${core.offers} offers; the real dialog showed ${dialogOffers} and wrote ${requests} install requests (target: none)`);

  assert.ok(inPlaceShown.newLooksPerSecond >= 2, "fewer than 2 new versions a second from an in-place writer");
  assert.ok(renameShown.distinctLooks >= renameWriter.written, "a version renamed into place was never shown");
  assert.equal(core.offers + dialogOffers + requests, 0, "a half-written file was shown as an offer");
} finally {
  await server.stop();
  folder.remove();
}
