// A dialog never outlives its host, however the host ends.
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { once } from "node:events";
import { existsSync } from "node:fs";
import { dirname } from "node:path";
import { describe, test } from "node:test";

import { waitFor } from "./support/desktop.mjs";
import { skipWithoutDialog, useDisplay } from "./support/display.mjs";
import { processEnded } from "./support/stand-ins.mjs";

const skip = skipWithoutDialog;

describe("the dialog ends with its host", { skip }, () => {
  const desktop = useDisplay();
  const endings = [
    { how: "killed with SIGKILL", mode: "wait", end: (host) => host.kill("SIGKILL") },
    { how: "ended by SIGTERM", mode: "wait", end: (host) => host.kill("SIGTERM") },
    { how: "exiting by itself", mode: "exit" },
    { how: "failing with an uncaught error", mode: "throw" },
  ];
  for (const { how, mode, end } of endings) {
    test(`host ${how}`, async () => {
      const host = spawn(process.execPath, [new URL("./support/host-process.mjs", import.meta.url).pathname, mode], {
        env: desktop.env,
        stdio: ["ignore", "pipe", "ignore"],
      });
      const [line] = await once(host.stdout, "data");
      const { pid, statusPath } = JSON.parse(line);
      assert.equal(processEnded(pid), false, "the dialog runs");
      end?.(host);
      await once(host, "exit");
      await waitFor("the dialog to end", () => processEnded(pid), { timeoutMs: 5000 });
      await waitFor("its private folder removed", () => !existsSync(dirname(statusPath)), { timeoutMs: 5000 });
    });
  }
});
