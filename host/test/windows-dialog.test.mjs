// The host module driving the real Tessary Update.exe under Wine the Windows
// way (the platform option): a whole update, focus lines, close(), and a
// dialog that ends with its host through the end of its input. Run by
// scripts/test-windows-e2e, which sets up Wine and names the programs.
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { once } from "node:events";
import { chmodSync, existsSync, writeFileSync } from "node:fs";
import { basename, dirname, join } from "node:path";
import { before, describe, test } from "node:test";

import { waitFor } from "../../update-dialog/e2e/lib/dialog.mjs";
import { dialogClass, lookOf } from "../../update-dialog/e2e-windows/lib/dialog.mjs";
import { useWineSession } from "../../update-dialog/e2e-windows/lib/session.mjs";
import { wine64 } from "../../update-dialog/e2e-windows/lib/wine.mjs";
import { openUpdateDialog } from "../index.mjs";
import { processEnded } from "./support/stand-ins.mjs";

const skip = process.env.TESSARY_UPDATE_EXE ? false : "TESSARY_UPDATE_EXE does not name Tessary Update.exe";

describe("the host module drives the Windows dialog under Wine", { skip }, () => {
  const session = useWineSession();
  let executable;
  before(() => {
    // wine64 runs the program in the same process, so the pid is the dialog's.
    executable = join(session.folder.path, "Tessary Update");
    writeFileSync(executable, `#!/bin/sh\nexec ${wine64} "${process.env.TESSARY_UPDATE_EXE}" "$@"\n`);
    chmodSync(executable, 0o755);
  });

  const open = () => {
    const dialog = openUpdateDialog({
      executable,
      installed: "1.4.2",
      icon: "/nonexistent/icon.png",
      env: { ...process.env, DISPLAY: session.display },
      platform: "win32",
    });
    // The private folder's name is in the dialog's command line, and nowhere else.
    const match = basename(dirname(dialog.statusPath));
    const window = async () => (await session.inspector.windows(match, dialogClass)).find((found) => found.visible);
    const look = (what, accept) =>
      waitFor(what, async () => {
        const found = await window();
        return found && accept(lookOf(found), found) && found;
      }, { timeoutMs: 15000, intervalMs: 100 });
    return { dialog, match, window, look };
  };

  test("a whole update, ending in Install & Relaunch", async () => {
    const { dialog, match, look } = open();
    dialog.show({ state: "checking" });
    await look("checking", (shown) => shown.headline === "Checking for updates…" && shown.bar?.marquee);
    for (const progress of [10, 50, 90]) {
      dialog.show({ state: "downloading", latest: "2.0.0", downloaded: progress * 10_000, total: 1_000_000, progress });
      await look(`downloading ${progress} %`, (shown) => shown.bar?.position === progress * 10 && shown.detail.includes(" of "));
    }
    dialog.show({ state: "verifying", message: "Checking the signature" });
    await look("verifying", (shown) => shown.headline === "Verifying the update…" && shown.detail === "Checking the signature");
    dialog.show({ state: "extracting" });
    await look("extracting", (shown) => shown.headline === "Preparing the update…");

    await session.inspector.minimize(match, dialogClass);
    await look("the dialog minimized", (_, found) => found.minimized);
    assert.equal(await dialog.focus(), true);
    await look("the dialog restored", (_, found) => !found.minimized);

    dialog.show({ state: "available", latest: "2.0.0" });
    await look("the offer", (shown) => shown.buttons.join() === "Install & Relaunch,Later");
    await session.inspector.press(match, 1000, dialogClass);
    assert.equal(await dialog.result, "install");
    assert.equal(existsSync(dirname(dialog.statusPath)), false, "the private folder is removed");
  });

  test("focus() at once and often never ends the dialog; close() ends it through its input", async () => {
    const { dialog, look } = open();
    const sent = await Promise.all(Array.from({ length: 20 }, () => dialog.focus()));
    assert.ok(sent.every(Boolean));
    dialog.show({ state: "available", latest: "2.0.0" });
    await look("the offer", (shown) => shown.buttons.length === 2);
    assert.equal(dialog.ended, false);
    await dialog.close();
    assert.equal(await dialog.result, "closed");
    assert.equal(await dialog.focus(), false);
  });

  test("Later answers closed", async () => {
    const { dialog, match, look } = open();
    dialog.show({ state: "waiting-for-agents", latest: "2.0.0" });
    await look("the offer", (shown) => shown.buttons.length === 2);
    await session.inspector.press(match, "Later", dialogClass);
    assert.equal(await dialog.result, "closed");
  });

  test("the dialog ends with its host, killed with SIGKILL, through the end of its input", async () => {
    const host = spawn(
      process.execPath,
      [new URL("./support/windows-host-process.mjs", import.meta.url).pathname, executable],
      { env: { ...process.env, DISPLAY: session.display }, stdio: ["ignore", "pipe", "ignore"] },
    );
    const [line] = await once(host.stdout, "data");
    const { pid, statusPath } = JSON.parse(line);
    const match = basename(dirname(statusPath));
    await waitFor("the dialog's window", async () => (await session.inspector.windows(match, dialogClass)).length > 0, {
      timeoutMs: 15000,
    });
    host.kill("SIGKILL");
    await once(host, "exit");
    await waitFor("the dialog to end", () => processEnded(pid), { timeoutMs: 10000 });
  });
});
