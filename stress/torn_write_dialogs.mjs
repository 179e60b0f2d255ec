// Torn writes against both dialogs at once: torn-writer rewrites one status file
// in place as fast as it can for the given seconds, while torn-reader (the
// dialog's core on the recording toolkit, polling every 0.25 s) checks every
// look it shows, and the real Tessary Update polls the same file on a virtual
// display. Afterwards the real dialog must still be running and answer Return
// (the last version written is "up-to-date": "Close" is the Return button).
// A pause (µs) keeps each complete version in place that long; beyond the
// dialog's settling time (75 ms) readings are accepted and the looks of many
// versions get checked.
//
// Usage: node torn_write_dialogs.mjs <stress build folder> [seconds] [pause µs]
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

import { RunningDialog } from "../update-dialog/e2e/lib/dialog.mjs";
import { temporaryFolder } from "../update-dialog/e2e/lib/status_file.mjs";
import { startXvfb } from "../update-dialog/e2e/lib/xserver.mjs";

const [build, seconds = "60", pause = "0"] = process.argv.slice(2);
process.env.TESSARY_UPDATE = join(build, "update-dialog/backends/qt/Tessary Update");
const minimumTime = "1765267200"; // the versions torn-writer writes are all fresh against it
const upToDate = "1"; // index of the version written last

function run(program, args) {
  const child = spawn(program, args, { stdio: ["ignore", "pipe", "inherit"] });
  let out = "";
  child.stdout.on("data", (chunk) => (out += chunk));
  return new Promise((resolve) => child.on("close", (status) => resolve({ status, out: out.trim() })));
}

const server = await startXvfb();
const folder = temporaryFolder();
try {
  const status = join(folder.path, "status.json");
  const writer = run(join(build, "stress/torn-writer"), [status, seconds, upToDate, pause]);
  const reader = run(join(build, "stress/torn-reader"), [status, seconds]);
  const dialog = new RunningDialog(server.display, [status, "2.3.1", "/nonexistent/icon.png", minimumTime]);
  await dialog.window();

  const [written, read] = await Promise.all([writer, reader]);
  console.log(written.out);
  console.log(read.out);
  assert.equal(written.status, 0, "torn-writer failed");
  assert.equal(read.status, 0, "the dialog's core showed a look of no complete version");

  await sleep(1000); // a few ticks on the last, complete version
  assert.ok(dialog.running, `Tessary Update ended during the torn writes: ${JSON.stringify(dialog.exitStatus)}`);
  await dialog.key("Return");
  const result = await dialog.waitForExit();
  assert.equal(result.status, 0);
  assert.equal(result.stdout.toString(), "");
  console.log(`Tessary Update: polled the torn file for ${seconds} s without a crash, then closed on Return`);
} finally {
  await server.stop();
  folder.remove();
}
