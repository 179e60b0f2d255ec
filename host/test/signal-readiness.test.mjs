// Telling from the kernel's view of a process whether SIGUSR1 can still end it.
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { once } from "node:events";
import { test } from "node:test";

import {
  focusSignalIsSafe,
  procStatusShowsSignalSafe,
  psOutputShowsSignalSafe,
  waitUntilFocusSignalIsSafe,
} from "../lib/signal-readiness.mjs";

const linuxBit = 1n << 9n; // SIGUSR1 is 10 on Linux
const macBit = 1n << 29n; // and 30 on macOS

const procStatus = ({ blocked = "0000000000000000", ignored = "0000000000000000", caught = "0000000000000000" }) =>
  `Name:\tTessary Update\nState:\tS (sleeping)\nSigQ:\t0/95383\nSigPnd:\t0000000000000000\n` +
  `ShdPnd:\t0000000000000200\nSigBlk:\t${blocked}\nSigIgn:\t${ignored}\nSigCgt:\t${caught}\nCapInh:\t0000000000000000\n`;

test("/proc/<pid>/status: safe once SIGUSR1 is blocked, ignored or caught", () => {
  const cases = [
    [procStatus({}), false],
    [procStatus({ blocked: "0000000000000200" }), true],
    [procStatus({ ignored: "0000000000001000", caught: "0000000100000000" }), false], // other signals only
    [procStatus({ ignored: "0000000000000200" }), true],
    [procStatus({ caught: "0000000180000200" }), true],
  ];
  for (const [text, safe] of cases) assert.equal(procStatusShowsSignalSafe(text, linuxBit), safe, text);
});

test("ps -o ignored= -o caught= -o blocked=: macOS and procps output", () => {
  const cases = [
    // BSD ps (macOS): right-aligned hexadecimal without a prefix.
    ["       0        0        0\n", macBit, false],
    ["20000000        0        0\n", macBit, true],
    ["       0 20004000        0\n", macBit, true],
    [" 1000000  8004000        0\n", macBit, false],
    // procps (Linux): sixteen digits each.
    ["0000000000000000 0000000000000000 0000000000000200\n", linuxBit, true],
    ["0000000000000004 0000000043817cfb 0000000000010000\n", linuxBit, false],
    // No line: the process has gone; anything else is not trusted.
    ["", macBit, false],
    ["20000000 zz 0\n", macBit, false],
  ];
  for (const [output, bit, safe] of cases) assert.equal(psOutputShowsSignalSafe(output, bit), safe, output);
});

test("both ways of looking agree on live processes", async () => {
  const shells = [
    ["default action", "", false],
    ["ignored", "trap '' USR1", true],
    ["caught", "trap 'echo' USR1", true],
  ];
  for (const [name, trap, safe] of shells) {
    const shell = spawn("/bin/sh", ["-c", `${trap}\necho ready; sleep 5 & wait`], { stdio: ["ignore", "pipe", "ignore"] });
    await once(shell.stdout, "data"); // the trap is set
    try {
      assert.equal(await focusSignalIsSafe(shell.pid, "linux"), safe, `/proc, ${name}`);
      assert.equal(await focusSignalIsSafe(shell.pid, "darwin"), safe, `ps, ${name}`);
    } finally {
      shell.kill("SIGKILL");
    }
  }
  assert.equal(await focusSignalIsSafe(2 ** 22 + 1, "linux"), false, "no such process");
  assert.equal(await focusSignalIsSafe(2 ** 22 + 1, "darwin"), false, "no such process");
});

test("waiting ends when the process is ready, or when it has ended", async () => {
  let looks = 0;
  assert.equal(await waitUntilFocusSignalIsSafe(1, () => true, async () => ++looks >= 4), true);
  assert.equal(looks, 4);
  let running = true;
  setTimeout(() => (running = false), 30);
  assert.equal(await waitUntilFocusSignalIsSafe(1, () => running, async () => false), false);
});
