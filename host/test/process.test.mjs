// The dialog process as the host sees it, with stand-in programs: how its end
// becomes the result, the held focus signal, and the status file's life.
import assert from "node:assert/strict";
import { existsSync, mkdirSync, readFileSync } from "node:fs";
import { join } from "node:path";
import { after, describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { InstallRequestUndeliveredError, UpdateDialogError, openUpdateDialog } from "../index.mjs";
import { standIns } from "./support/stand-ins.mjs";

const programs = standIns();
after(() => programs.remove());

const open = (executable, options = {}) =>
  openUpdateDialog({ executable, installed: "1.4.2", icon: "/nonexistent/icon.png", ...options });

const rejection = (promise) =>
  promise.then(
    (value) => assert.fail(`resolved ${value}`),
    (error) => error,
  );

describe("how the dialog's end becomes its result", () => {
  const cases = [
    { name: "exit 0, no output", body: "exit 0", result: "closed" },
    { name: "exit 0 after the install request", body: `printf '{"action":"install"}\\n'`, result: "install" },
    { name: "the request without its line feed", body: `printf '{"action":"install"}'`, error: { exitCode: 0 } },
    { name: "the request twice", body: `printf '{"action":"install"}\\n{"action":"install"}\\n'`, error: { exitCode: 0 } },
    {
      name: "exit 1 with a complaint",
      body: "echo 'qt.qpa.xcb: could not connect to display' >&2; exit 1",
      error: { exitCode: 1, message: /exit status 1: qt\.qpa\.xcb: could not connect/, stderr: /could not connect/ },
    },
    {
      name: "exit 1 in silence: the request could not be delivered",
      body: "exit 1",
      error: { exitCode: 1, message: /confirmed the install.*could not deliver/, undelivered: true },
    },
  ];
  for (const { name, body, result, error } of cases) {
    test(name, async () => {
      const dialog = open(programs.script(body));
      if (result) return assert.equal(await dialog.result, result);
      const failure = await rejection(dialog.result);
      assert.ok(failure instanceof UpdateDialogError);
      assert.equal(failure instanceof InstallRequestUndeliveredError, error.undelivered === true);
      assert.equal(failure.exitCode, error.exitCode);
      if (error.message) assert.match(failure.message, error.message);
      if (error.stderr) assert.match(failure.stderr, error.stderr);
    });
  }
});

test("close() ends the dialog, and its result is closed", async () => {
  const dialog = open(programs.script("exec sleep 30"));
  await sleep(50);
  await dialog.close();
  assert.equal(await dialog.result, "closed");
  await dialog.close(); // a second time changes nothing
});

describe("focus", () => {
  // Like the dialog, this program can take SIGUSR1 only after a while of start-up.
  const slowStarter = () => programs.script("sleep 0.3; trap '' USR1; exec sleep 30");

  test("the signal is held until the dialog can take it, then sent once", async () => {
    const dialog = open(slowStarter());
    const startedAt = performance.now();
    assert.equal(await dialog.focus(), true);
    assert.ok(performance.now() - startedAt >= 250, "held during start-up");
    await sleep(50);
    assert.equal(dialog.ended, false);
    await dialog.close();
    assert.equal(await dialog.result, "closed");
  });

  test("a signal sent at once ends that same program: the hold is needed", async () => {
    const dialog = open(slowStarter());
    process.kill(dialog.pid, "SIGUSR1");
    assert.equal((await rejection(dialog.result)).signal, "SIGUSR1");
  });

  test("a request to a dialog that ends before it is ready sends nothing", async () => {
    const dialog = open(programs.script("sleep 0.1"));
    assert.equal(await dialog.focus(), false);
    assert.equal(await dialog.result, "closed");
  });
});

describe("the status file", () => {
  test("show() refuses a wrong value before writing anything, and writes a right one whole", async () => {
    const dialog = open(programs.script("exec sleep 30"));
    assert.throws(() => dialog.show({ state: "downloading", downloaded: "12" }), /status\.downloaded/);
    await dialog.flush();
    assert.equal(existsSync(dialog.statusPath), false);
    dialog.show({ state: "downloading", latest: "1.5.0", downloaded: 12, total: 100, progress: 12 });
    await dialog.flush();
    const written = JSON.parse(readFileSync(dialog.statusPath, "utf8"));
    assert.ok(written.checkedAt >= dialog.threshold);
    assert.deepEqual({ ...written, checkedAt: 0 }, {
      checkedAt: 0, state: "downloading", latest: "1.5.0", downloaded: 12, total: 100, progress: 12,
    });
    await dialog.close();
  });

  test("the private folder is gone once the result is known; later shows write nothing", async () => {
    // Ends once the first version is in place.
    const dialog = open(programs.script('until [ -e "$1" ]; do sleep 0.01; done'));
    dialog.show({ state: "checking" });
    await dialog.flush();
    assert.ok(existsSync(dialog.statusPath));
    await dialog.result;
    assert.equal(existsSync(join(dialog.statusPath, "..")), false);
    dialog.show({ state: "checking" });
    await dialog.flush();
    assert.equal(existsSync(join(dialog.statusPath, "..")), false);
  });

  test("a path that cannot be cleared starts nothing", async () => {
    const statusPath = join(programs.folder, "a-folder");
    mkdirSync(statusPath);
    const dialog = open(programs.script("exit 0"), { statusPath });
    assert.equal(dialog.pid, undefined);
    assert.match((await rejection(dialog.result)).message, /not started: cannot clear the status file/);
  });
});
