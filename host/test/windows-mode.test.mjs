// The module's Windows way, selected on Linux with stand-in programs: the
// dialog's standard input is a pipe that carries the focus lines and whose
// end closes the dialog; no signal is ever sent and no watchdog runs; a
// rename into place refused as busy is tried again.
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { once } from "node:events";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { after, describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { openUpdateDialog } from "../index.mjs";
import { StatusFile } from "../lib/status-file.mjs";
import { waitFor } from "./support/desktop.mjs";
import { processEnded, standIns } from "./support/stand-ins.mjs";

const programs = standIns();
after(() => programs.remove());

const open = (executable, options = {}) =>
  openUpdateDialog({ executable, installed: "1.4.2", icon: "/nonexistent/icon.png", platform: "win32", ...options });

// A dialog as the Windows one treats its input: every line it reads is kept
// in a file, and the end of input ends it as "Close" does (exit 0, silent).
// The shell's default for SIGUSR1 ends it, so a signal would show. (Node
// makes a child's "pipe" a socket pair on Linux; Wine calls it a pipe.)
const lineKeeper = (file) =>
  programs.script(`[ -p /dev/stdin ] || [ -S /dev/stdin ] || { echo "standard input is not a pipe" >&2; exit 9; }
while IFS= read -r line; do printf '%s\\n' "$line" >> "${file}"; done
exit 0`);

describe("the focus request on Windows", () => {
  test("focus() writes one line per request at once, without waiting for the dialog", async () => {
    const lines = join(programs.folder, "focus-lines");
    const dialog = open(lineKeeper(lines));
    const sent = await Promise.all([dialog.focus(), dialog.focus(), dialog.focus()]);
    assert.deepEqual(sent, [true, true, true]);
    await dialog.close();
    assert.equal(await dialog.result, "closed");
    assert.equal(readFileSync(lines, "utf8"), "focus\nfocus\nfocus\n");
  });

  test("focus() after the dialog has ended sends nothing and says so", async () => {
    const dialog = open(programs.script("exit 0"));
    assert.equal(await dialog.result, "closed");
    assert.equal(await dialog.focus(), false);
  });
});

describe("close() on Windows", () => {
  test("ends standard input; the dialog ends by itself, closed", async () => {
    const lines = join(programs.folder, "close-lines");
    const dialog = open(lineKeeper(lines));
    await dialog.focus();
    const started = performance.now();
    await dialog.close();
    assert.equal(await dialog.result, "closed");
    assert.ok(performance.now() - started < 1500, "the dialog ended through its input, not after the grace");
  });

  const stubborn = [
    { name: "one that never reads its input", body: "exec sleep 30" },
    // Windows reports a process ended from outside as exit status 1, which
    // alone would read as an install request that could not be delivered.
    { name: "one that exits 1 when ended", body: "trap 'exit 1' TERM; while :; do sleep 0.05; done" },
  ];
  for (const { name, body } of stubborn) {
    test(`ends the process after a grace when the dialog stays: ${name}`, async () => {
      const dialog = open(programs.script(body));
      await sleep(100);
      await dialog.close();
      assert.equal(await dialog.result, "closed");
    });
  }

  test("an install confirmed as the input ends still counts", async () => {
    const dialog = open(programs.script(`read -r line; printf '{"action":"install"}\\n'`));
    await dialog.close();
    assert.equal(await dialog.result, "install");
  });
});

test("without a watchdog, the dialog ends with its host through the end of its input", async () => {
  const dialogProgram = programs.script("while IFS= read -r line; do :; done; exit 0");
  const host = spawn(
    process.execPath,
    [new URL("./support/windows-host-process.mjs", import.meta.url).pathname, dialogProgram],
    { stdio: ["ignore", "pipe", "ignore"] },
  );
  const [line] = await once(host.stdout, "data");
  const { pid } = JSON.parse(line);
  assert.equal(processEnded(pid), false, "the dialog runs");
  host.kill("SIGKILL");
  await once(host, "exit");
  await waitFor("the dialog to end", () => processEnded(pid), { timeoutMs: 5000 });
});

describe("a rename into place refused as busy", () => {
  const busy = (code) => Object.assign(new Error(`${code}: the file is in use`), { code });
  // A rename that fails with the given errors first, then succeeds.
  const renameFailing = (...errors) => {
    const calls = [];
    return {
      calls,
      rename: async (from, to) => {
        calls.push([from, to]);
        if (calls.length <= errors.length) throw errors[calls.length - 1];
      },
    };
  };
  const cases = [
    { name: "EPERM twice, then done", errors: [busy("EPERM"), busy("EPERM")], retry: true, attempts: 3 },
    { name: "EACCES, then done", errors: [busy("EACCES")], retry: true, attempts: 2 },
    { name: "EBUSY, then done", errors: [busy("EBUSY")], retry: true, attempts: 2 },
    { name: "busy every time: fails after the last pause", errors: Array(10).fill(busy("EBUSY")), retry: true, attempts: 4, fails: "EBUSY" },
    { name: "another error is not tried again", errors: [busy("ENOENT")], retry: true, attempts: 1, fails: "ENOENT" },
    { name: "off the Windows way, not tried again", errors: [busy("EPERM")], retry: false, attempts: 1, fails: "EPERM" },
  ];
  for (const { name, errors, retry, attempts, fails } of cases) {
    test(name, async () => {
      const { calls, rename } = renameFailing(...errors);
      const path = join(programs.folder, `status-${calls.length}-${Math.random()}.json`);
      const file = new StatusFile(path, { retryBusyRename: retry, rename, retryDelaysMs: [1, 1, 1] });
      const written = file.write({ state: "checking" });
      if (fails) {
        const error = await written.then(() => assert.fail("the write succeeded"), (failure) => failure);
        assert.equal(error.cause.code, fails);
      } else {
        await written;
      }
      assert.equal(calls.length, attempts);
    });
  }
});
