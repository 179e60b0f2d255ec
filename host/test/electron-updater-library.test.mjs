// The module against the real electron-updater (its AppImageUpdater, through
// the stand-ins for Electron's app and net) and a loopback update server with
// a real feed and checksum: what the dialog is shown in a whole update, on
// "Later", when up to date, on a cancel, on checks made while an update is
// offered, without autoDownload, and for each kind of failure.
import assert from "node:assert/strict";
import { existsSync } from "node:fs";
import { afterEach, describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { followElectronUpdater } from "../index.mjs";
import { failureSentences } from "../lib/update-errors.mjs";
import { runWithDiskFault } from "./support/disk-faults.mjs";
import { CancellationError } from "./support/electron-stand-ins.mjs";
import { recordingDialog, updaterBench } from "./support/updater-bench.mjs";

let bench;
afterEach(() => bench?.stop());

/** A bench with the module following its updater into a recording dialog. */
async function followed(options) {
  bench = await updaterBench(options);
  const dialog = recordingDialog();
  followElectronUpdater(bench.updater, dialog);
  return { ...bench, dialog };
}

const failure = (kind) => ({ state: "error", message: failureSentences[kind] });
const statuses = (dialog, from = 0) => dialog.shown.slice(from).map(({ status }) => status);

describe("a whole update", () => {
  for (const { answer, installs } of [
    { answer: "install", installs: 1 },
    { answer: "closed", installs: 0 },
  ]) {
    test(`with progress, then the dialog's "${answer}": quitAndInstall called ${installs} times`, async () => {
      const { server, updater, dialog, check } = await followed();
      // 1 MiB at 400 KiB/s: about 2.6 s, progress once a second and at the end.
      server.publish("2.0.0", { size: 1024 * 1024 });
      server.bytesPerSecond = 400 * 1024;
      const outcome = await check();
      assert.equal(outcome.download, undefined);
      const shown = statuses(dialog);
      assert.deepEqual(shown.slice(0, 2), [{ state: "checking" }, { state: "downloading", latest: "2.0.0" }]);
      const progress = shown.slice(2, -1);
      assert.ok(progress.length >= 2, `progress shown ${progress.length} times`);
      for (const [i, status] of progress.entries()) {
        assert.equal(status.state, "downloading");
        assert.equal(status.total, 1024 * 1024);
        assert.ok(status.downloaded > (progress[i - 1]?.downloaded ?? 0), "the bytes grow");
      }
      assert.deepEqual(progress.at(-1), {
        state: "downloading",
        latest: "2.0.0",
        downloaded: 1024 * 1024,
        total: 1024 * 1024,
        progress: 100,
      });
      assert.deepEqual(shown.at(-1), { state: "available", latest: "2.0.0" });
      dialog.end.resolve(answer);
      await sleep(10);
      assert.equal(updater.installs, installs);
    });
  }

  test("up to date", async () => {
    const { server, dialog, check } = await followed();
    server.publish("1.4.2");
    await check();
    assert.deepEqual(statuses(dialog), [{ state: "checking" }, { state: "up-to-date" }]);
  });

  test("a newer version found later is downloaded and offered once it is downloaded", async () => {
    const { server, dialog, check } = await followed();
    server.publish("2.0.0");
    await check();
    const before = dialog.shown.length;
    server.publish("2.1.0");
    await check();
    const shown = statuses(dialog, before);
    assert.deepEqual(shown[0], { state: "downloading", latest: "2.1.0" });
    assert.ok(shown.slice(0, -1).every(({ state, latest }) => state === "downloading" && latest === "2.1.0"));
    assert.deepEqual(shown.at(-1), { state: "available", latest: "2.1.0" });
  });
});

describe("no download shown that is not happening", () => {
  test("a cancelled download is replaced by a sentence, and nothing follows it", async () => {
    const { server, updater, dialog } = await followed();
    server.publish("2.0.0", { size: 1024 * 1024 });
    server.bytesPerSecond = 200 * 1024;
    const check = await updater.checkForUpdates();
    updater.once("download-progress", () => check.cancellationToken.cancel());
    const rejection = await check.downloadPromise.then(
      () => assert.fail("the download ended"),
      (error) => error,
    );
    assert.ok(rejection instanceof CancellationError, "the download promise rejects as cancelled");
    await sleep(1200); // longer than the library's progress interval
    assert.equal(dialog.shown.at(-2).status.state, "downloading");
    assert.deepEqual(dialog.shown.at(-1).status, failure("cancelled"));
  });

  test("without autoDownload, nothing is shown as downloading until the host downloads", async () => {
    const { server, updater, dialog, check } = await followed({ autoDownload: false });
    server.publish("2.0.0");
    const outcome = await check();
    assert.equal(outcome.result.downloadPromise, null, "the library starts no download");
    await sleep(300);
    assert.deepEqual(statuses(dialog), [{ state: "checking" }]);
    await updater.downloadUpdate();
    const shown = statuses(dialog, 1);
    assert.ok(shown.slice(0, -1).every(({ state }) => state === "downloading"));
    assert.deepEqual(shown.at(-1), { state: "available", latest: "2.0.0" });
  });
});

describe("an update that is downloaded stays offered", () => {
  test("twelve checks while it is offered: nothing but the offer, and the same offer", async () => {
    const { server, dialog, check, events } = await followed();
    server.publish("2.0.0");
    await check();
    const before = dialog.shown.length;
    const eventsBefore = events.length;
    for (let i = 0; i < 12; i++) {
      await check();
      await sleep(20);
    }
    // The library did check each time: checking, available, downloaded.
    assert.equal(events.slice(eventsBefore).filter(({ name }) => name === "checking-for-update").length, 12);
    const shown = statuses(dialog, before);
    assert.ok(shown.length > 0);
    for (const status of shown) assert.deepEqual(status, { state: "available", latest: "2.0.0" });
  });

  test("a failed check leaves the offer, and the update is still there to install", async () => {
    const { server, updater, dialog, check } = await followed();
    const reported = [];
    updater.on("error", (error) => reported.push(error));
    server.publish("2.0.0");
    await check();
    const before = dialog.shown.length;
    server.feed = "missing";
    const outcome = await check();
    assert.equal(outcome.check.code, "ERR_UPDATER_CHANNEL_FILE_NOT_FOUND", "checkForUpdates rejects");
    assert.equal(reported.length, 1, "the host still hears of the failure");
    assert.equal(dialog.shown.length, before, "nothing new shown");
    assert.equal(existsSync(updater.downloadedUpdateHelper.file), true, "the downloaded update is still there");
  });
});

describe("each failure as a sentence of its kind; the library's error to the host", () => {
  const cases = [
    { name: "no feed for this app", kind: "no-release", code: "ERR_UPDATER_CHANNEL_FILE_NOT_FOUND", set: () => {} },
    {
      name: "a server error",
      kind: "server-error",
      code: "HTTP_ERROR_500",
      set: (server) => (server.feed = "server-error"),
    },
    {
      name: "a feed that is not YAML",
      kind: "bad-release",
      code: "ERR_UPDATER_INVALID_UPDATE_INFO",
      set: (server) => (server.feed = "garbled"),
    },
    { name: "no server", kind: "unreachable", code: "ECONNREFUSED", set: (server) => server.close() },
    {
      name: "a dropped connection",
      kind: "interrupted",
      code: "ECONNRESET",
      set: (server) => (server.dropAfter = 100 * 1024),
    },
    {
      name: "a file that fails its checksum",
      kind: "damaged",
      code: "ERR_CHECKSUM_MISMATCH",
      set: (server) => (server.corrupt = true),
    },
  ];
  for (const { name, kind, code, set } of cases) {
    test(`${name}: "${failureSentences[kind]}"`, async () => {
      const { server, updater, dialog, check } = await followed();
      const reported = [];
      updater.on("error", (error) => reported.push(error));
      if (kind !== "no-release") server.publish("2.0.0", { size: 256 * 1024 });
      await set(server);
      const outcome = await check();
      assert.equal((outcome.check ?? outcome.download)?.code, code, "the promise rejects with the library's error");
      assert.deepEqual(
        reported.map((error) => error.code),
        [code],
        "the updater's error event carries it",
      );
      assert.deepEqual(dialog.shown.at(-1).status, failure(kind));
    });
  }

  for (const [fault, sentence] of [
    ["no-space", failureSentences["no-space"]],
    ["no-permission", failureSentences["no-permission"]],
  ]) {
    test(`a cache folder with ${fault}: "${sentence}"`, (t) => {
      const run = runWithDiskFault(fault);
      if (run.unavailable) return t.skip(run.unavailable);
      assert.deepEqual(run.shown, [
        { state: "checking" },
        { state: "downloading", latest: "2.0.0" },
        { state: "error", message: sentence },
      ]);
      assert.equal(run.download.error.code, fault === "no-space" ? "ENOSPC" : "EACCES");
    });
  }
});
